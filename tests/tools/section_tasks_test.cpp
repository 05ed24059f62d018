// vorta-run's catalog lines, run as a user would in a directory of its own: a section described,
// designed and fitted to a contour file, the line added to a catalog that --list and --check
// read back, and each refusal with its message.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "vorta_run_fixture.h"

namespace {

class SectionTasks : public testing::Test {
  protected:
    Outcome run(const std::string& arguments, const std::string& environment = "LANG=C") const {
        return runVortaRun(dir_, arguments, environment);
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_.file(name), std::ios::binary) << bytes;
    }

    TempDir dir_;
};

std::vector<std::string> fieldsOf(std::string line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    return fields;
}

TEST_F(SectionTasks, DescribesASectionByItsCatalogLine) {
    const Outcome r = run("--describe 0.1,0.05,2");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0.1180,0.0227,0.2523,0,0.1,0.05,2\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(run("--describe 6e-2,0,1.95").out, "0.1049,0.0000,0.3293,9,6e-2,0,1.95\n");
}

// The designed section, described again, is the line the design printed.
TEST_F(SectionTasks, DesignsTheSectionThatMeetsTheTargets) {
    const Outcome r = run("--design 0.12,0.02,10");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> fields = fieldsOf(r.out);
    ASSERT_EQ(fields.size(), 7u) << r.out;
    EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.begin() + 4),
              (std::vector<std::string>{"0.1200", "0.0200", "0.3261", "10"}));
    EXPECT_EQ(run("--describe " + fields[4] + "," + fields[5] + "," + fields[6]).out, r.out);
}

TEST_F(SectionTasks, FitsTheSectionOfAContourFile) {
    write("VORTA_Input.txt", "1\r\n0\r\n0.1180,0.0227,0.2523,0,0.1,0.05,2\r\n");
    ASSERT_EQ(run("--entry 1 --points 61 --format dat --output s.dat").status, 0);
    const Outcome r = run("--fit s.dat");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> fields = fieldsOf(r.out);
    ASSERT_EQ(fields.size(), 7u) << r.out;
    EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.begin() + 4),
              (std::vector<std::string>{"0.1180", "0.0227", "0.2523", "0"}));
    EXPECT_NEAR(std::stod(fields[4]), 0.1, 1e-9);
    EXPECT_NEAR(std::stod(fields[5]), 0.05, 1e-9);
    EXPECT_NEAR(std::stod(fields[6]), 2, 1e-9);
    const std::string number = "(-?[0-9.]+(e[-+][0-9]+)?)";
    EXPECT_TRUE(std::regex_match(
        r.err,
        std::regex("largest distance " + number + ", rms distance " + number +
                   " \\(chords\\); the section lies on the points when scaled by " + number + ", turned by " +
                   number + " degrees and shifted by " + number + " in x and " + number + " in y\n")))
        << r.err;
    EXPECT_NE(run("--fit s.dat", "LANG=de_DE.UTF-8").err.find("when scaled by 1,00000, turned by"),
              std::string::npos);
}

// The line goes to a catalog that is made when missing, and the catalog reads it back.
TEST_F(SectionTasks, AddsTheLineToACatalog) {
    const Outcome designed = run("--design 0.12,0.02,10 --add-to my.txt");
    EXPECT_EQ(designed.status, 0) << designed.err;
    EXPECT_EQ(designed.err, "Added to my.txt as entry 1.\n");
    const Outcome described = run("--describe 0.1,0.05,2 --add-to my.txt");
    EXPECT_EQ(described.err, "Added to my.txt as entry 2.\n");
    const std::string line = designed.out.substr(0, designed.out.size() - 1);
    EXPECT_EQ(readFile(dir_.file("my.txt")),
              "1\r\n0\r\n" + line + "\r\n0.1180,0.0227,0.2523,0,0.1,0.05,2\r\n");
    EXPECT_EQ(run("--list --input my.txt").out, "1: " + line + "\n2: 0.1180,0.0227,0.2523,0,0.1,0.05,2\n");
    const Outcome check = run("--check --input my.txt");
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "");
}

TEST_F(SectionTasks, RefusesWithAMessageAndWritesNothing) {
    write("faulty.txt", "1\r\n0\r\n0.1,0,0.3,0,-0.1,0,2\r\n");
    write("three.dat", "1 0\n0 0\n1 0\n");
    std::filesystem::create_directory(dir_.file("folder"));
    const struct {
        const char* arguments;
        int status;
        const char* message;
    } cases[] = {
        {"--design -0.1,0,0", 1, "Thickness -0.1: a thickness cannot be negative.\n"},
        {"--design 0.1,0,200", 1, "Trailing-edge angle 200: it must lie from 0 to 180 degrees.\n"},
        {"--describe -0.1,0,2", 1,
         "The section of F = -0.1, G = 0, m = 2 cannot be described: F must be 0 or more.\n"},
        {"--describe 1e400,0,2", 1, "--describe: 1e400 is beyond the range of numbers.\n"},
        {"--fit absent.dat", 1, "Cannot fit absent.dat: it does not exist.\n"},
        {"--fit folder", 1, "Cannot fit folder: it is a directory.\n"},
        {"--fit three.dat", 1, "three.dat holds 3 points; a fit needs at least 41.\n"},
        {"--describe 0.1,0.05,2 --add-to faulty.txt", 1,
         "Cannot add the line to faulty.txt: line 3, entry 1: F must be 0 or more. vorta-run --check --input "
         "faulty.txt lists every problem.\n"},
        {"--describe 0.1,0.05,2 --add-to folder", 1,
         "Cannot add the line to folder: it is a directory, not a file.\n"},
        {"--describe 0.1,0.05", 2,
         "vorta-run: --describe: \"0.1,0.05\" is not F,G,m, numbers with a point separated by commas "
         "(vorta-run "
         "--help lists the options)\n"},
        {"--design 0.12,0.02,1O", 2,
         "vorta-run: --design: \"1O\" is not a plain decimal number (such as 4.5, -2 or 1e-3) (vorta-run "
         "--help "
         "lists the options)\n"},
        {"--describe 0.1,0,2 --points 5", 2,
         "vorta-run: --describe, --design and --fit take --add-to only (vorta-run --help lists the "
         "options)\n"},
        {"--describe 0.1,0,2 --design 0.1,0,0", 2,
         "vorta-run: give one of --entry K, --list, --check, --describe, --design and --fit (vorta-run "
         "--help lists "
         "the options)\n"},
        {"--list --add-to my.txt", 2,
         "vorta-run: --add-to goes with --describe, --design and --fit (vorta-run --help lists the "
         "options)\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_EQ(r.err, c.message) << c.arguments;
        EXPECT_EQ(r.out, "") << c.arguments;
    }
    EXPECT_EQ(readFile(dir_.file("faulty.txt")), "1\r\n0\r\n0.1,0,0.3,0,-0.1,0,2\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir_.file("my.txt")));
}

}  // namespace
