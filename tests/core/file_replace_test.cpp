#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/file_replace.h"
#include "support/temp_dir.h"

using namespace vorta;

namespace {

TEST(ReplaceFileAtomically, WritesTheBytesAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("VORTA_result.txt");
    writeFile(path, "earlier");
    EXPECT_FALSE(replaceFileAtomically(path, "new\r\ncontent\r\n"));
    EXPECT_EQ(readFile(path), "new\r\ncontent\r\n");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(ReplaceFileAtomically, ADirectoryInTheWayIsReportedAndLeftAlone) {
    TempDir dir;
    const std::string path = dir.file("VORTA_result.txt");
    std::filesystem::create_directory(path);
    writeFile(path + "/inside.txt", "kept");
    const auto error = replaceFileAtomically(path, "new");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Could not save VORTA_result.txt"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(readFile(path + "/inside.txt"), "kept");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(ReplaceFileAtomically, AMissingDirectoryIsReported) {
    TempDir dir;
    const auto error = replaceFileAtomically(dir.file("gone/VORTA_result.txt"), "new");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("No such file or directory"), std::string::npos);
    EXPECT_EQ(dir.entryCount(), 0u);
}

enum class Step { Create, Write, Flush, Close, Rename };

// Does the real work but for one step, which fails as a full disk would.
class FailingReplacer : public FileReplacer {
public:
    explicit FailingReplacer(Step failing) : failing_(failing) {}
    int createNew(const std::string& path) override {
        return failing_ == Step::Create ? ENOSPC : FileReplacer::createNew(path);
    }
    int write(std::string_view bytes) override { return fail(Step::Write, FileReplacer::write(bytes)); }
    int flush() override { return fail(Step::Flush, FileReplacer::flush()); }
    int close() override { return fail(Step::Close, FileReplacer::close()); }
    int rename(const std::string& from, const std::string& to) override {
        return failing_ == Step::Rename ? ENOSPC : FileReplacer::rename(from, to);
    }

private:
    int fail(Step step, int result) const { return step == failing_ ? ENOSPC : result; }
    Step failing_;
};

TEST(ReplaceFileAtomically, AFailureAtAnyStepKeepsTheEarlierFileAndLeavesNoTemporary) {
    for (Step step : {Step::Create, Step::Write, Step::Flush, Step::Close, Step::Rename}) {
        TempDir dir;
        const std::string path = dir.file("VORTA_result.txt");
        writeFile(path, "earlier\r\n");
        FailingReplacer steps(step);
        const auto error = replaceFileAtomically(path, "new", steps);
        ASSERT_TRUE(error) << static_cast<int>(step);
        EXPECT_NE(error->find("No space left on device"), std::string::npos) << *error;
        EXPECT_EQ(readFile(path), "earlier\r\n");
        EXPECT_EQ(dir.entryCount(), 1u) << static_cast<int>(step);
    }
}

TEST(ReplaceFileAtomically, AWorkingDirectoryRemovedAfterStartIsReported) {
    const auto start = std::filesystem::current_path();
    {
        TempDir dir;
        std::filesystem::current_path(dir.path());
        std::filesystem::remove(dir.path());
        EXPECT_TRUE(replaceFileAtomically("VORTA_result.txt", "new"));
    }
    std::filesystem::current_path(start);
}

}  // namespace
