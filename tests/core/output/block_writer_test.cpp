#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "core/output/block_writer.h"

using namespace vorta;

namespace {

// Keeps every block it is handed; can fail from a given block on.
struct RecordingSink {
    std::vector<std::string> blocks;
    std::size_t failFrom = static_cast<std::size_t>(-1);

    ByteSink sink() {
        return [this](std::string_view bytes) {
            blocks.emplace_back(bytes);
            return blocks.size() > failFrom ? ENOSPC : 0;
        };
    }
    std::string all() const {
        std::string text;
        for (const std::string& block : blocks) text += block;
        return text;
    }
};

void writeNumbered(BlockWriter& w, int count) {
    for (int i = 0; i < count; ++i) {
        char* out = w.room(12);
        const std::string text = std::to_string(i) + ";";
        std::memcpy(out, text.data(), text.size());
        w.wrote(out + text.size());
    }
}

std::string numbered(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::to_string(i) + ";";
    return text;
}

TEST(BlockWriter, HandsOverFullBlocksAndTheRestAtTheEnd) {
    RecordingSink recorded;
    BlockWriter w(recorded.sink(), 64);
    writeNumbered(w, 1000);
    EXPECT_EQ(w.finish(), 0);
    EXPECT_EQ(recorded.all(), numbered(1000));
    ASSERT_GT(recorded.blocks.size(), 10u);
    for (std::size_t i = 0; i + 1 < recorded.blocks.size(); ++i) {
        EXPECT_LE(recorded.blocks[i].size(), 64u);
        EXPECT_GT(recorded.blocks[i].size(), 64u - 12u);  // a block goes when the next piece no longer fits
    }
    EXPECT_LE(recorded.blocks.back().size(), 64u);
}

TEST(BlockWriter, SplitsTextLongerThanABlockAndGrowsForALongerPiece) {
    RecordingSink recorded;
    BlockWriter w(recorded.sink(), 16);
    const std::string text(100, 'a');
    w.append(text);
    char* out = w.room(40);  // more than a block holds: one text that cannot be split
    std::memset(out, 'b', 40);
    w.wrote(out + 40);
    w.append("end");
    EXPECT_EQ(w.finish(), 0);
    EXPECT_EQ(recorded.all(), text + std::string(40, 'b') + "end");
    EXPECT_EQ(recorded.blocks[0], std::string(16, 'a'));
}

TEST(BlockWriter, NothingWrittenHandsOverNothing) {
    RecordingSink recorded;
    BlockWriter w(recorded.sink());
    EXPECT_EQ(w.finish(), 0);
    EXPECT_TRUE(recorded.blocks.empty());
}

TEST(BlockWriter, StopsHandingOverAtTheFirstErrorAndReportsIt) {
    RecordingSink recorded;
    recorded.failFrom = 2;
    BlockWriter w(recorded.sink(), 64);
    writeNumbered(w, 1000);
    EXPECT_TRUE(w.failed());
    EXPECT_EQ(w.finish(), ENOSPC);
    EXPECT_EQ(recorded.blocks.size(), 3u);
    EXPECT_EQ(numbered(1000).rfind(recorded.all(), 0), 0u);  // what went out is the start of the text
}

}  // namespace
