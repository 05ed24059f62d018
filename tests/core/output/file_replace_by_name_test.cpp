// Replacing a file that a library writes itself, by name: the file is made under a temporary
// name beside the target and renamed over it once whole, or nothing changes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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

// Writes text at the path it is given, as a library would, and notes the path.
struct Writer {
    std::string text = "new";
    std::optional<std::string> reason;
    std::vector<std::string> paths;

    FileWriter operator()() {
        return [this](const std::string& path) {
            paths.push_back(path);
            // A library makes the file afresh over the name it is given.
            fs::remove(path);
            writeFile(path, text);
            return reason;
        };
    }
};

const std::vector<Step> kSteps{Step::OpenDirectory, Step::CreateTemporary, Step::Close,
                               Step::OpenExisting,  Step::SetMode,         Step::Sync,
                               Step::Close,         Step::Rename,          Step::SyncDirectory};

TEST(ReplaceFileByName, TheLibrarysFileTakesTheLinkedFilesPlaceAndMode) {
    TempDir dir;
    fs::create_directory(dir.file("sub"));
    const std::string link = dir.file("grid.cgns");
    fs::create_symlink("sub/real.cgns", link);
    writeFile(dir.file("sub/real.cgns"), "earlier");
    fs::permissions(dir.file("sub/real.cgns"), fs::perms(0604));
    FailingReplacer steps;
    Writer writer;
    ASSERT_FALSE(replaceFileByName(link, writer(), steps));
    EXPECT_EQ(steps.steps, kSteps);
    ASSERT_EQ(writer.paths.size(), 1u);
    EXPECT_TRUE(fs::equivalent(fs::path(writer.paths[0]).parent_path(), dir.file("sub")));
    EXPECT_EQ(fs::path(writer.paths[0]).filename().string().substr(0, 7), ".vorta-");
    EXPECT_EQ(steps.renamedTo, "real.cgns");
    EXPECT_EQ(readFile(link), "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(dir.file("sub/real.cgns")).permissions(), fs::perms(0604));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("sub")), {}), 1);
}

TEST(ReplaceFileByName, ANewFileInTheWorkingDirectoryIsMadeThere) {
    TempDir dir;
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    Writer writer;
    const auto error = replaceFileByName("grid.cgns", writer());
    fs::current_path(before);
    EXPECT_FALSE(error);
    EXPECT_EQ(readFile(dir.file("grid.cgns")), "new");
    EXPECT_EQ(dir.entryCount(), 1u);
}

// A directory that cannot be synced does not undo a save; any other step that fails does.
TEST(ReplaceFileByName, AFailureAtAnyStepKeepsTheEarlierFileAndLeavesNoOtherEntry) {
    const std::string reason = "Could not save grid.cgns: No space left on device.";
    for (Step step : kSteps) {
        if (step == Step::SyncDirectory) continue;
        for (bool earlier : {true, false}) {
            if (step == Step::SetMode && !earlier) continue;  // a new file keeps the mode it is made with
            SCOPED_TRACE(std::string(name(step)) + (earlier ? " over a file" : " afresh"));
            TempDir dir;
            const std::string path = dir.file("grid.cgns");
            if (earlier) writeFile(path, "earlier");
            FailingReplacer steps(step);
            Writer writer;
            const auto error = replaceFileByName(path, writer(), steps);
            ASSERT_TRUE(error);
            EXPECT_EQ(*error, earlier ? reason + " An earlier grid.cgns is left as it was." : reason);
            EXPECT_EQ(dir.entryCount(), earlier ? 1u : 0u);
            if (earlier) {
                EXPECT_EQ(readFile(path), "earlier");
            }
        }
    }
}

TEST(ReplaceFileByName, TheLibrarysOwnFailureIsSaidAndItsPartialFileRemoved) {
    TempDir dir;
    const std::string path = dir.file("grid.cgns");
    writeFile(path, "earlier");
    Writer writer;
    writer.reason = "the library says: disk full";
    EXPECT_EQ(
        replaceFileByName(path, writer()),
        "Could not save grid.cgns: the library says: disk full. An earlier grid.cgns is left as it was.");
    EXPECT_EQ(readFile(path), "earlier");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(ReplaceFileByName, AWriterThatThrowsKeepsTheEarlierFileAndLeavesNoOtherEntry) {
    TempDir dir;
    const std::string path = dir.file("grid.cgns");
    writeFile(path, "earlier");
    const FileWriter throwing = [](const std::string& temporary) -> std::optional<std::string> {
        writeFile(temporary, "half");
        throw std::bad_alloc();
    };
    EXPECT_THROW(replaceFileByName(path, throwing), std::bad_alloc);
    EXPECT_EQ(readFile(path), "earlier");
    EXPECT_EQ(dir.entryCount(), 1u);
}

// Only a regular file can be renamed over: a directory or a FIFO is said and left alone.
TEST(ReplaceFileByName, WhatIsNoRegularFileIsRefusedUntouched) {
    TempDir dir;
    fs::create_directory(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0) << std::strerror(errno);
    Writer writer;
    EXPECT_EQ(replaceFileByName(dir.file("folder"), writer()),
              "Could not save folder: " + std::string(std::strerror(EISDIR)) + ".");
    EXPECT_EQ(replaceFileByName(dir.file("pipe"), writer()),
              "Could not save pipe: it is a device, FIFO or socket, and this file can only be written as a "
              "regular one.");
    EXPECT_TRUE(writer.paths.empty());
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
    EXPECT_EQ(dir.entryCount(), 2u);
}

TEST(ReplaceFileByName, AReadOnlyFileIsLeftAsItWas) {
    if (::geteuid() == 0) GTEST_SKIP() << "every file is writable for root";
    TempDir dir;
    const std::string path = dir.file("grid.cgns");
    writeFile(path, "earlier");
    fs::permissions(path, fs::perms(0444));
    Writer writer;
    EXPECT_EQ(replaceFileByName(path, writer()),
              "Could not save grid.cgns: " + std::string(std::strerror(EACCES)) +
                  ". An earlier grid.cgns is left as it was.");
    EXPECT_EQ(readFile(path), "earlier");
    EXPECT_TRUE(writer.paths.empty());
}

}  // namespace
