#include <gtest/gtest.h>

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

}  // namespace
