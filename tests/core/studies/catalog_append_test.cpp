// Adding a line to a catalog file: made when missing, appended with CR LF line ends, refused
// for a full or faulty catalog and for what is no catalog, which are left as they were.
#include "core/studies/catalog_append.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>

#include "support/temp_dir.h"

namespace {

const std::string kLine = "0.1180,0.0227,0.2523,0,0.1,0.05,2";

void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(CatalogAppend, MakesAMissingOrEmptyCatalogAndAddsAtItsEnd) {
    TempDir dir;
    const struct {
        const char* before;  // none: no file
        const char* after;
        int entry;
    } cases[] = {
        {nullptr, "1\r\n0\r\n", 1},
        {"", "1\r\n0\r\n", 1},
        {"1\r\n0\r\n", "1\r\n0\r\n", 1},
        {"1\n0\n0.1,0,0.3,0,0.1,0,2", "1\n0\n0.1,0,0.3,0,0.1,0,2\r\n", 2},
        {"\xEF\xBB\xBF"
         "1\r\n0\r\n0.1,0,0.3,0,0.1,0,2\r\n\r\n",
         "\xEF\xBB\xBF"
         "1\r\n0\r\n0.1,0,0.3,0,0.1,0,2\r\n\r\n",
         2},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file("c.txt");
        std::filesystem::remove(path);
        if (c.before) write(path, c.before);
        const auto added = vorta::addToCatalog(path, kLine);
        ASSERT_TRUE(std::holds_alternative<int>(added)) << std::get<vorta::Refusal>(added).message;
        EXPECT_EQ(std::get<int>(added), c.entry);
        EXPECT_EQ(readFile(path), c.after + kLine + "\r\n");
    }
}

TEST(CatalogAppend, RefusesAFullOrFaultyCatalogAndLeavesItAsItWas) {
    TempDir dir;
    std::string full = "1\r\n0\r\n";
    for (int k = 0; k < 50; ++k) full += kLine + "\r\n";
    std::filesystem::create_directory(dir.file("folder"));
    const struct {
        const char* name;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"full.txt", full, "it holds 50 airfoils already, as many as a catalog can."},
        {"faulty.txt", "1\r\n0\r\n" + kLine + "\r\n0.1,0,0.3,0,-0.1,0,2\r\n",
         "line 4, entry 2: F must be 0 or more. vorta-run --check --input PATH lists every problem."},
        {"short.txt", "1\r\n",
         "it ends before its two leading lines; a catalog starts with two lines of one field "
         "each."},
        {"folder", "", "it is a directory, not a file."},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(c.name);
        if (!c.bytes.empty()) write(path, c.bytes);
        const auto added = vorta::addToCatalog(path, kLine);
        ASSERT_TRUE(std::holds_alternative<vorta::Refusal>(added)) << c.name;
        std::string message = c.message;
        if (message.find("PATH") != std::string::npos) message.replace(message.find("PATH"), 4, path);
        EXPECT_EQ(std::get<vorta::Refusal>(added).message, "Cannot add the line to " + path + ": " + message);
        if (!c.bytes.empty()) {
            EXPECT_EQ(readFile(path), c.bytes) << c.name;
        }
    }
}

// A descriptive field that disagrees with its section is a warning, and a line is added all the same.
TEST(CatalogAppend, AddsToACatalogWithWarningsAlone) {
    TempDir dir;
    write(dir.file("c.txt"), "1\r\n0\r\n0.2,0.0227,0.2523,0,0.1,0.05,2\r\n");
    EXPECT_EQ(std::get<int>(vorta::addToCatalog(dir.file("c.txt"), kLine)), 2);
}

}  // namespace
