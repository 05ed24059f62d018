// Each step of a replacement failing in turn, on both ways of making the temporary file: without
// a name, and, where the file system refuses that, under a name of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/output/file_replace.h"
#include "support/failing_replacer.h"
#include "support/temp_dir.h"

using namespace vorta;

namespace {

namespace fs = std::filesystem;

// How the temporary file is made: 0 without a name, else the refusal that makes it named.
struct Way {
    const char* name;
    int unnamedRefusal;
    std::vector<Step> steps;  // of a save that succeeds, from a producer of three blocks
};

const std::vector<Way>& ways() {
    static const std::vector<Way> all{
        {"unnamed",
         0,
         {Step::OpenDirectory, Step::CreateUnnamed, Step::SetMode, Step::Write, Step::Write, Step::Write,
          Step::Sync, Step::GiveName, Step::Close, Step::Rename, Step::SyncDirectory}},
        {"named",
         EOPNOTSUPP,
         {Step::OpenDirectory, Step::CreateUnnamed, Step::CreateTemporary, Step::SetMode, Step::Write,
          Step::Write, Step::Write, Step::Sync, Step::Close, Step::Rename, Step::SyncDirectory}},
    };
    return all;
}

// Each step once, in the order they first come.
std::vector<Step> distinct(const std::vector<Step>& steps) {
    std::vector<Step> once;
    for (Step step : steps) {
        if (std::find(once.begin(), once.end(), step) == once.end()) once.push_back(step);
    }
    return once;
}

fs::perms modeOf(const std::string& path) { return fs::status(path).permissions(); }

TEST(ReplaceFileAtomicallyStepByStep, EachWayTakesItsStepsInOrderThroughALink) {
    for (const Way& way : ways()) {
        SCOPED_TRACE(way.name);
        TempDir dir;
        fs::create_directory(dir.file("sub"));
        const std::string link = dir.file("VORTA_result.txt");
        fs::create_symlink("sub/real.txt", link);
        writeFile(dir.file("sub/real.txt"), "earlier");
        fs::permissions(dir.file("sub/real.txt"), fs::perms(0604));
        FailingReplacer steps(std::nullopt, way.unnamedRefusal);
        ASSERT_FALSE(replaceFileAtomically(link, producing({"one\r\n", "two\r\n", "three\r\n"}), steps));
        EXPECT_EQ(steps.steps, way.steps);
        EXPECT_TRUE(fs::equivalent(steps.directoryOpened, dir.file("sub")));
        EXPECT_EQ(steps.renamedTo, "real.txt");
        EXPECT_EQ(readFile(link), "one\r\ntwo\r\nthree\r\n");
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(modeOf(dir.file("sub/real.txt")), fs::perms(0604));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("sub")), {}), 1);
    }
}

// A directory that cannot be synced does not undo a save; any other step that fails does.
TEST(ReplaceFileAtomicallyStepByStep, AFailureAtAnyStepKeepsTheEarlierFileAndLeavesNoOtherEntry) {
    const std::string reason = "Could not save VORTA_result.txt: No space left on device.";
    for (const Way& way : ways()) {
        for (Step step : distinct(way.steps)) {
            if (step == Step::SyncDirectory) continue;
            for (bool earlier : {true, false}) {
                if (step == Step::SetMode && !earlier) continue;  // a new file keeps the mode it is made with
                SCOPED_TRACE(std::string(way.name) + " " + name(step) +
                             (earlier ? " over a file" : " afresh"));
                TempDir dir;
                const std::string path = dir.file("VORTA_result.txt");
                if (earlier) {
                    writeFile(path, "earlier\r\n");
                    fs::permissions(path, fs::perms(0640));
                }
                FailingReplacer steps(step, way.unnamedRefusal);
                const auto error = replaceFileAtomically(path, producing({"one", "two", "three"}), steps);
                ASSERT_TRUE(error);
                EXPECT_EQ(*error,
                          earlier ? reason + " An earlier VORTA_result.txt is left as it was." : reason);
                EXPECT_EQ(dir.entryCount(), earlier ? 1u : 0u);
                if (earlier) {
                    EXPECT_EQ(readFile(path), "earlier\r\n");
                    EXPECT_EQ(modeOf(path), fs::perms(0640));
                }
                // The steps stop at the failure; a failed write is the last write.
                const auto failed = std::find(steps.steps.begin(), steps.steps.end(), step);
                EXPECT_EQ(std::count(steps.steps.begin(), steps.steps.end(), step), 1);
                EXPECT_EQ(std::count(failed, steps.steps.end(), Step::Rename), step == Step::Rename ? 1 : 0);
            }
        }
    }
}

TEST(ReplaceFileAtomicallyStepByStep, ADirectoryThatCannotBeSyncedStillLeavesTheNewFileSaved) {
    for (const Way& way : ways()) {
        SCOPED_TRACE(way.name);
        TempDir dir;
        const std::string path = dir.file("VORTA_result.txt");
        writeFile(path, "earlier");
        FailingReplacer steps(Step::SyncDirectory, way.unnamedRefusal);
        EXPECT_FALSE(replaceFileAtomically(path, "new", steps));
        EXPECT_EQ(readFile(path), "new");
        EXPECT_EQ(dir.entryCount(), 1u);
    }
}

// A file system or kernel that cannot make a file without a name says so in one of three ways;
// any other failure is the save's.
TEST(ReplaceFileAtomicallyStepByStep, ANamedFileIsMadeOnlyWhenOneWithoutANameCannotBe) {
    for (int refusal : {EOPNOTSUPP, EISDIR, EINVAL, EACCES, EROFS}) {
        SCOPED_TRACE(refusal);
        TempDir dir;
        const std::string path = dir.file("VORTA_result.txt");
        writeFile(path, "earlier");
        FailingReplacer steps(std::nullopt, refusal);
        const auto error = replaceFileAtomically(path, "new", steps);
        const bool fallsBack = refusal == EOPNOTSUPP || refusal == EISDIR || refusal == EINVAL;
        EXPECT_EQ(!error, fallsBack);
        EXPECT_EQ(std::count(steps.steps.begin(), steps.steps.end(), Step::CreateTemporary),
                  fallsBack ? 1 : 0);
        EXPECT_EQ(readFile(path), fallsBack ? "new" : "earlier");
        EXPECT_EQ(dir.entryCount(), 1u);
    }
}

TEST(ReplaceFileAtomicallyStepByStep, AFailedWriteFailsTheSaveEvenWhenTheProducerCarriesOn) {
    TempDir dir;
    const std::string path = dir.file("VORTA_result.txt");
    writeFile(path, "earlier");
    FailingReplacer steps(Step::Write);
    const ByteProducer heedless = [](const ByteSink& sink) {
        sink("one");
        sink("two");
        return 0;
    };
    EXPECT_TRUE(replaceFileAtomically(path, heedless, steps));
    EXPECT_EQ(std::count(steps.steps.begin(), steps.steps.end(), Step::Write), 1);
    EXPECT_EQ(readFile(path), "earlier");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(ReplaceFileAtomicallyStepByStep, AProducerThatThrowsKeepsTheEarlierFileAndLeavesNoOtherEntry) {
    const ByteProducer throwing = [](const ByteSink& sink) -> int {
        sink("half of it");
        throw std::bad_alloc();
    };
    for (const Way& way : ways()) {
        SCOPED_TRACE(way.name);
        TempDir dir;
        const std::string path = dir.file("VORTA_result.txt");
        writeFile(path, "earlier");
        FailingReplacer steps(std::nullopt, way.unnamedRefusal);
        EXPECT_THROW(replaceFileAtomically(path, throwing, steps), std::bad_alloc);
        EXPECT_EQ(readFile(path), "earlier");
        EXPECT_EQ(dir.entryCount(), 1u);
    }
}

}  // namespace
