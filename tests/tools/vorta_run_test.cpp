// Runs the vorta-run program as a user would, in a directory of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "vorta_run_fixture.h"

namespace {

TEST_F(VortaRun, CalculatesAnEntryAndWritesTheResultFile) {
    const Outcome r = run("--entry 1 --alpha 5");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CL = 1.279\nCMc/4 = -0.166\nAlfa0 = -5.19\n");
    const std::string file = readFile(dir_.file("VORTA_result.txt"));
    EXPECT_EQ(file.substr(0, file.find("\r\n  1 ")),
              " Delta=0.1  Gama=0.1  xDltC=0.3  Tau=18.  Karman-Trefftz airfoil\r\n 51 \r\n"
              "  AlfaD =  5 \r\n  CL    =  1.2794 \r\n  CMc/4 = -0.1663 \r\n  Alfa0 = -5.19 ");
}

TEST_F(VortaRun, WritesTheFileToStandardOutputAlone) {
    const Outcome r = run("--entry 2 --points 5 --layout 1 --output -");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("\r\n") + 2), " Delta=0.1  Gama=0.05  Joukowsky airfoil 5 \r\n");
    EXPECT_NE(r.out.find("\r\n  5  1.00000  0.00000\r\n"), std::string::npos);
    EXPECT_FALSE(resultExists());
}

TEST_F(VortaRun, ListsTheEntriesWithTheirDisplayTexts) {
    const Outcome r = run("--list");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1: 0.1,0.1,0.3,18,0.1,0.1,1.9\n2: 0.1, 0.05, 0.3, 0, 0.1, 0.05, 2\n");
}

TEST_F(VortaRun, FollowsTheRegionalDecimalSeparator) {
    EXPECT_EQ(run("--entry 1 --alpha 5", "LANG=de_DE.UTF-8").out,
              "CL = 1,279\nCMc/4 = -0,166\nAlfa0 = -5,19\n");
    EXPECT_EQ(run("--entry 1 --alpha 5", "LANG=de_DE.UTF-8 LC_NUMERIC=en_US.UTF-8").out.substr(0, 9),
              "CL = 1.27");
    EXPECT_NE(run("--entry 1 --layout 2 --output -", "LC_ALL=fr_FR.UTF-8")
                  .out.find("  1  1,00000  0,00000  0,00000"),
              std::string::npos);
}

// A script's typo stops the run: numbers on the command line are plain, and anything else is a
// usage error naming the option and the text; a number that reads but is refused is exit 1.
TEST_F(VortaRun, NumbersOnTheCommandLineAreReadStrictly) {
    const struct {
        const char* arguments;
        int status;
        const char* message;  // what stderr starts with
    } cases[] = {
        {"--entry 1 --alpha '4 5'", 2,
         "vorta-run: --alpha: \"4 5\" is not a plain decimal number (such as 4.5, -2 or 1e-3)"},
        {"--entry 1 --alpha abc", 2, "vorta-run: --alpha: \"abc\" is not a plain decimal number"},
        {"--entry 1 --alpha ''", 2, "vorta-run: --alpha: \"\" is not a plain decimal number"},
        {"--entry 1 --alpha nan", 2, "vorta-run: --alpha: \"nan\" is not"},
        {"--entry 1 --alpha ' 4'", 2, "vorta-run: --alpha: \" 4\" is not"},
        {"--entry 1 --alpha 4,5", 2,
         "vorta-run: --alpha: \"4,5\" is not a plain decimal number: the decimal separator is the point "
         "here; write 4.5"},
        {"--entry 1 --points '1 61'", 2,
         "vorta-run: --points: \"1 61\" is not a whole number (digits alone, such as 161)"},
        {"--entry 1 --points 51abc", 2, "vorta-run: --points: \"51abc\" is not a whole number"},
        {"--entry 1 --points 51.7", 2, "vorta-run: --points: \"51.7\" is not a whole number"},
        {"--entry 1 --points ''", 2, "vorta-run: --points: \"\" is not a whole number"},
        {"--entry 1 --points 2,5", 2,
         "vorta-run: --points: \"2,5\" is not a whole number: the decimal separator is"},
        {"--entry 1 --alpha-range 0:4,5:1", 2,
         "vorta-run: --alpha-range: \"4,5\" is not a plain decimal number: the"},
        {"--entry 1 --alpha-range '0: 4:1'", 2,
         "vorta-run: --alpha-range: \" 4\" is not a plain decimal number"},
        {"--entry 1 --alpha-range 0:4", 2, "vorta-run: --alpha-range: \"0:4\" is not FROM:TO:STEP"},
        {"--entry 1 --output ''", 2, "vorta-run: --output: an empty name names no file"},
        {"--entry 1 --output out/", 2, "vorta-run: --output: \"out/\" names a folder, not a file"},
        {"--entry 1 --points 1", 1, "--points must be a whole number from 2 to 1000000."},
        {"--entry 1 --alpha 1e400", 1, "--alpha must be a number of degrees from -5E307 to 5E307."},
        {"--entry 1 --alpha 1e308", 1, "--alpha must be a number of degrees from -5E307 to 5E307."},
        {"--entry 1 --points +51 --alpha -4.5 --output -", 0, ""},
        {"--entry 1 --alpha .5e1 --output -", 0, ""},
        {"--entry 1 --alpha 5. --output -", 0, ""},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments << ": " << r.err;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << c.arguments << ": " << r.err;
        if (c.status != 0) {
            EXPECT_EQ(r.out, "") << c.arguments;
        }
    }
    EXPECT_FALSE(resultExists());
    EXPECT_EQ(run("--entry 1 --alpha .5e1 --output -").out, run("--entry 1 --alpha 5 --output -").out);
}

TEST_F(VortaRun, AnEntryShiftedByAFaultyLineIsRefused) {
    writeFile(dir_.file("shifted.txt"), std::string(kCatalog) +
                                            "# my own sections\r\n0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"
                                            "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n");
    EXPECT_EQ(run("--entry 2 --input shifted.txt --output -").status, 0);
    const Outcome r = run("--entry 4 --input shifted.txt --output -");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(
        r.err.find("Airfoil entry 4 cannot be calculated: line 5 of shifted.txt holds 1 field, which shifts"),
        std::string::npos)
        << r.err;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::istringstream lines(text);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) all.push_back(line);
    return all;
}

// Each line's own problem, what no line shows of an entry, and where reading stops, in line order;
// descriptive fields that disagree with their section are warnings, which do not fail the check.
TEST_F(VortaRun, CheckListsEveryProblemOfTheCatalog) {
    const Outcome sound = run("--check");
    EXPECT_EQ(sound.status, 0);
    EXPECT_EQ(sound.out,
              "VORTA_Input.txt:3: entry 1: warning: Delta 0.1, but the section of F = 0.1, G = 0.1, m = 1.9 is "
              "0.1816 thick.\n"
              "VORTA_Input.txt:3: entry 1: warning: Gama 0.1, but the section of F = 0.1, G = 0.1, m = 1.9 has a "
              "camber of 0.0439.\n"
              "VORTA_Input.txt:4: entry 2: warning: Gama 0.05, but the section of F = 0.1, G = 0.05, m = 2 has a "
              "camber of 0.0227.\n");
    writeFile(dir_.file("measured.txt"), "1\r\n0\r\n0.1816,0.0439,0.3408,18,0.1,0.1,1.9\r\n");
    EXPECT_EQ(run("--check --input measured.txt").out, "");
    writeFile(dir_.file("hand.txt"),
              "1\r\n0\r\n"
              "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"          // line 3, entry 1: sound
              "0.1,0.1,0.3,18,-0.1,0.1,1.9\r\n"         // line 4, entry 2: F < 0
              "0.1,0.1,0.3,18,0.1,0.1,0\r\n"            // line 5, entry 3: m = 0
              "0.1,0.1,x,18,0.1,0.1,1.9\r\n"            // line 6, entry 4: not a number
              "0.1,0.1,0.3,9,1e200,0.1,2\r\n"           // line 7, entry 5: results too large to show
              "Profil \xE9,0.1,0.3,18,0.1,0.1,1.9\r\n"  // line 8, entry 6: not UTF-8, not a number
              "0.1,0.1,0.3,18,0.1,0.1,2.5\r\n"          // line 9, entry 7: m > 2
              "# my sections\r\n"                       // line 10, entry 8: one field
              "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"          // line 11, entry 9: shifted, sound itself
              "0,12,0.02,0.25,12,0.1,0.05,1.93\r\n"     // line 12, entry 10: a decimal comma
              "0.1,0.1,0.3,18,0.1,0.1\r\n"              // line 13, entry 11: six fields
              "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n");        // line 14: too few fields left for a record
    const Outcome r = run("--check --input hand.txt");
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> expected = {
        "hand.txt:3: entry 1: warning: Delta 0.1, but the section of F = 0.1, G = 0.1, m = 1.9 is 0.1816 thick.",
        "hand.txt:3: entry 1: warning: Gama 0.1, but the section of F = 0.1, G = 0.1, m = 1.9 has a camber of "
        "0.0439.",
        "hand.txt:4: entry 2: F must be 0 or more.",
        "hand.txt:5: entry 3: m must be greater than 0.",
        "hand.txt:6: entry 4: its field xDltC does not read as a number: \"x\".",
        "hand.txt:7: entry 5: " +
            std::string("its values F, G and m give results too large to show and plot; choose "
                        "an entry with m near 2 and F from 0 to about 1."),
        "hand.txt:8: entry 6: its field Delta does not read as a number.",
        "hand.txt:8: entry 6: its text is not UTF-8; it is shown as Windows-1252 text: Profil "
        "\xC3\xA9,0.1,0.3,18,0.1,"
        "0.1,1.9",
        "hand.txt:9: entry 7: m must not exceed 2: above 2 the surfaces cross at the trailing edge.",
        "hand.txt:10: entry 8: it holds 1 field where an airfoil has 7, which shifts the numbers of every "
        "line after it.",
        "hand.txt:12: entry 10: it holds 8 fields where an airfoil has 7, which shifts the numbers of every "
        "line after "
        "it; 0,12 looks like a decimal comma: write 0.12, with a point.",
        "hand.txt:13: entry 11: it holds 6 fields where an airfoil has 7.",
        "hand.txt:14: this line is not read as an airfoil: a faulty line above it shifts its numbers.",
    };
    EXPECT_EQ(linesOf(r.out), expected) << r.out;
    EXPECT_EQ(run("--check --input hand.txt --alpha 4,5").status, 2);
    EXPECT_EQ(run("--check --input absent.txt").status, 1);

    const Outcome list = run("--list --input hand.txt");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(linesOf(list.out).size(), 11u);
    EXPECT_EQ(list.err, "entries 2 to 4 and 6 to 11 cannot be calculated: vorta-run --check says why\n");
}

// Whatever ends the reading early is said, with the line, and fails the check.
TEST_F(VortaRun, CheckSaysWhereReadingStops) {
    // Lines 3 to 5, each its section's own measures.
    const std::string records =
        "1\r\n0\r\n0.1816,0.0439,0.3408,18,0.1,0.1,1.9\r\n0.1180,0.0227,0.2523,0,0.1,0.05,2\r\n"
        "0.1816,0.0439,0.3408,18,0.1,0.1,1.9\r\n";
    const struct {
        const char* what;
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"empty lines", records + std::string(5000, '\n') + "0.1,0.1,0.3,18,0.1,0.1,1.9\n",
         "c.txt:6: reading stops at line 6: more than 4096 blanks and empty lines follow one another there; "
         "the "
         "entries after it are not read.\n"},
        {"a long line", records + std::string(30000, '7') + "\r\n",
         "c.txt:6: reading stops at line 6: a field there holds more than 4096 characters; the entries after "
         "it are "
         "not read.\n"},
        {"NUL bytes", records + std::string(10 << 20, '\0'),
         "c.txt:6: reading stops at line 6: a field there holds more than 4096 characters; the entries after "
         "it are "
         "not read.\n"},
        {"UTF-16",
         std::string("\xFF\xFE"
                     "1\0\r\0\n\0",
                     8),
         "c.txt:1: the file is UTF-16 text, which is not read as a catalog; save it as UTF-8 or plain "
         "text.\n"},
    };
    for (const auto& c : cases) {
        writeFile(dir_.file("c.txt"), c.bytes);
        const Outcome r = run("--check --input c.txt");
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_EQ(r.out, c.expected) << c.what;
    }
}

TEST_F(VortaRun, RefusedInputWritesNothingAndExitsWithOne) {
    writeFile(dir_.file("VORTA_result.txt"), "earlier");
    writeFile(dir_.file("crossing.txt"), std::string(kCatalog) + "0.1,0.1,0.3,18,0.1,0.1,2.000001\r\n");
    for (const char* arguments : {"--entry 1 --points 1", "--entry 1 --alpha 1E400", "--entry 3", "--entry 0",
                                  "--entry 3 --input crossing.txt"}) {
        const Outcome r = run(arguments);
        EXPECT_EQ(r.status, 1) << arguments;
        EXPECT_FALSE(r.err.empty()) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
    }
    EXPECT_EQ(readFile(dir_.file("VORTA_result.txt")), "earlier");
    std::filesystem::remove(dir_.file("VORTA_result.txt"));
    std::filesystem::create_directory(dir_.file("VORTA_result.txt"));
    EXPECT_EQ(run("--entry 1").status, 1);
}

// A catalog that is no regular file is named with what it is, without waiting on it.
TEST_F(VortaRun, ACatalogThatCannotBeReadIsNamed) {
    std::filesystem::create_directory(dir_.file("folder"));
    ASSERT_EQ(mkfifo(dir_.file("fifo").c_str(), 0600), 0);
    writeFile(dir_.file("empty.txt"), "");
    const struct {
        const char* input;
        const char* message;
    } cases[] = {
        {"absent.txt", "The catalog absent.txt does not exist.\n"},
        {"folder", "The catalog folder is a directory, not a file.\n"},
        {"fifo", "The catalog fifo is not a regular file.\n"},
        {"/dev/zero", "The catalog /dev/zero is not a regular file.\n"},
        {"empty.txt",
         "The catalog empty.txt ends before its two leading lines; a catalog starts with two lines of one "
         "field "
         "each.\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(std::string("--list --input ") + c.input);
        EXPECT_EQ(r.status, 1) << c.input;
        EXPECT_EQ(r.err, c.message) << c.input;
    }
}

// Output that cannot be written is a failure with a message, whatever the task.
TEST_F(VortaRun, AFullStandardOutputFailsEveryTask) {
    writeFile(dir_.file("crossing.txt"), std::string(kCatalog) + "0.1,0.1,0.3,18,0.1,0.1,2.5\r\n");
    for (const char* arguments :
         {"--list", "--check --input crossing.txt", "--entry 1 --output -", "--entry 1 --format csv",
          "--entry 1 --alpha-range 0:2:1", "--help", "--version"}) {
        const std::string command = "cd '" + dir_.path().string() + "' && LANG=C '" VORTA_RUN_PATH "' " +
                                    arguments + " >/dev/full 2>stderr.txt";
        const int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << arguments;
        const std::string err = readFile(dir_.file("stderr.txt"));
        EXPECT_NE(err.find("Could not write to standard output: No space left on device.\n"),
                  std::string::npos)
            << arguments << ": " << err;
    }
}

// A usage error is one line on stderr and exit status 2, whatever is wrong.
TEST_F(VortaRun, UsageErrorsExitWithTwo) {
    for (const char* arguments :
         {"", "--entry", "--entry x", "--entry 1 --layout 5", "--bogus", "--list --entry 1", "--check --list",
          "--entry all", "--entry 1 --format xml", "--entry 1 --format csv --layout 2",
          "--entry 1 --alpha-range 0:1:1 --alpha 2", "--entry 1 --alpha-range 0:1:1 --format dat",
          "--entry 1 --compare x.txt --format json", "--list --format csv"}) {
        const Outcome r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.err.rfind("vorta-run: ", 0), 0u) << arguments << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << arguments << ": " << r.err;
        EXPECT_EQ(r.out, "") << arguments;
    }
    const Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* group :
         {"Catalog:", "Calculate an entry:", "Polars:", "Compare a pressure distribution:",
          "vorta-run --entry all --alpha-range -4:12:0.5 --format csv"}) {
        EXPECT_NE(help.out.find(group), std::string::npos) << group;
    }
    EXPECT_EQ(run("--version").out, "vorta-run 1.0\n");
}

// Each data format goes to standard output unless told otherwise, and to a file replaced whole.
TEST_F(VortaRun, DataFormatsGoWhereTheyAreSentWithTheSameRefusals) {
    const Outcome dat = run("--entry 1 --points 5 --format dat");
    EXPECT_EQ(dat.status, 0) << dat.err;
    EXPECT_EQ(dat.out.substr(0, dat.out.find('\n')), "Vorta F=0.1 G=0.1 m=1.9");
    EXPECT_FALSE(resultExists());
    EXPECT_EQ(run("--entry 1 --points 5 --format json --output contour.json").status, 0);
    EXPECT_EQ(readFile(dir_.file("contour.json")).rfind("{\"entry\":{\"number\":1,", 0), 0u);
    const Outcome refused = run("--entry 1 --points 1 --format csv --output contour.csv");
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("contour.csv")));
}

// A refused entry of a polar over every entry is said on stderr and skipped; the exit status says so.
TEST_F(VortaRun, APolarOfEveryEntrySkipsTheRefusedOnes) {
    writeFile(dir_.file("mixed.txt"), std::string(kCatalog) + "0.1,0.1,0.3,18,-0.1,0.1,1.9\r\n");
    const Outcome r = run("--input mixed.txt --entry all --alpha-range 0:2:1 --format csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Airfoil entry 3 cannot be calculated: F must be 0 or more.\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 2 * 3) << r.out;
    const Outcome text = run("--entry 1 --alpha-range 0:2:1", "LANG=de_DE.UTF-8");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("    1           1    0,779978   -0,153237     -5,1944\n"), std::string::npos)
        << text.out;
}

TEST_F(VortaRun, AComparisonRefusesAFileThatIsNoTable) {
    writeFile(dir_.file("junk.bin"), std::string("\x7f"
                                                 "ELF\0\x01\x02",
                                                 7));
    const Outcome junk = run("--entry 1 --compare junk.bin");
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.err.find("holds no lines of numbers"), std::string::npos) << junk.err;
    std::filesystem::create_directory(dir_.file("cp"));
    writeFile(dir_.file("nan.txt"), "0.5 -0.3\n0.6 -nan\n");
    const std::map<std::string, std::string> refusals = {
        {"absent.txt", "Cannot compare with absent.txt: it does not exist.\n"},
        {"cp", "Cannot compare with cp: it is a directory.\n"},
        {"nan.txt",
         "Cannot compare with nan.txt: line 2 holds -nan, which is NaN or infinity: a pressure file holds "
         "finite numbers only.\n"}};
    for (const auto& [file, message] : refusals) {
        const Outcome r = run("--entry 1 --compare " + file);
        EXPECT_EQ(r.status, 1) << file;
        EXPECT_EQ(r.err, message);
        EXPECT_EQ(r.out, "");
    }
    writeFile(dir_.file("beyond.txt"), "x,Cp,surface\n1.5,0.2,upper\n0.5,-0.3,Upper\n");
    const Outcome beyond = run("--entry 1 --compare beyond.txt");
    EXPECT_EQ(beyond.status, 0);
    EXPECT_EQ(beyond.err, "beyond.txt:2: x 1.5: x lies outside the section's chord; skipped\n");
    EXPECT_NE(beyond.out.find("1 points compared"), std::string::npos) << beyond.out;
}

// Standard input is read like a file, pipes included, and no more than 64 MiB of it.
TEST_F(VortaRun, AComparisonReadsStandardInputUpTo64MiB) {
    const Outcome endless = run("--entry 1 --compare -", "LANG=C", "yes '# a comment line'");
    EXPECT_EQ(endless.status, 1);
    EXPECT_EQ(endless.err,
              "Cannot compare with standard input: it is larger than 64 MiB (67108864 bytes), the most "
              "a pressure file may hold.\n");
    ASSERT_EQ(run("--entry 1 --points 81 --alpha 4 --format csv --output own.csv").status, 0);
    const Outcome piped =
        run("--entry 1 --alpha 4 --compare - --format csv --output rows.csv", "LANG=C", "cat own.csv");
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(std::count(piped.err.begin(), piped.err.end(), '\n'), 1) << piped.err;
    EXPECT_EQ(piped.err.rfind("81 points compared; largest |dCp| ", 0), 0u) << piped.err;
}

// Without y each run of the file is said on stderr; a file sorted by x is refused, saying what
// to add; the summary for people has six significant digits and the regional separator.
TEST_F(VortaRun, AComparisonSaysHowItTookEachRun) {
    ASSERT_EQ(run("--entry 1 --points 81 --alpha 4 --format csv --output own.csv").status, 0);
    std::istringstream csv(readFile(dir_.file("own.csv")));
    std::vector<std::pair<double, std::string>> rows;  // x and "x Cp"
    std::string line;
    std::getline(csv, line);
    while (std::getline(csv, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, ',');) fields.push_back(field);
        rows.push_back({std::stod(fields[1]), fields[1] + " " + fields[4]});
    }
    std::string xfoil, sorted;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) xfoil += row->second + "\n";
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& row : rows) sorted += row.second + "\n";
    writeFile(dir_.file("xfoil.txt"), xfoil);
    writeFile(dir_.file("sorted.txt"), sorted);

    const Outcome taken = run("--entry 1 --alpha 4 --compare xfoil.txt --output -", "LANG=de_DE.UTF-8");
    EXPECT_EQ(taken.status, 0) << taken.err;
    EXPECT_EQ(taken.err.rfind("xfoil.txt: lines 1 to 41 (x 1,00000 to ", 0), 0u) << taken.err;
    EXPECT_NE(
        taken.err.find("): taken as the upper surface, which its Cp fits at least twice as closely (median "
                       "|dCp| "),
        std::string::npos)
        << taken.err;
    EXPECT_NE(taken.err.find("\nxfoil.txt: lines 42 to 81 (x "), std::string::npos) << taken.err;
    EXPECT_NE(taken.err.find("): taken as the lower surface,"), std::string::npos) << taken.err;
    const std::string summary = taken.out.substr(taken.out.rfind("81 points compared"));
    EXPECT_TRUE(
        std::regex_match(summary, std::regex("81 points compared; largest \\|dCp\\| \\d,\\d{5}(e-\\d+)? at x "
                                             "[-\\d,e]+ \\((upper|lower)\\); rms dCp \\d,\\d{5}(e-\\d+)?\n")))
        << summary;

    const Outcome refused = run("--entry 1 --alpha 4 --compare sorted.txt");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err.rfind("Cannot compare with sorted.txt: the Cp of lines 1 to 81 (x ", 0), 0u)
        << refused.err;
    EXPECT_NE(refused.err.find(
                  "as when a file sorted by x holds both surfaces. Add y (lines of x y Cp), or a column "
                  "named surface that says upper or lower.\n"),
              std::string::npos)
        << refused.err;
}

}  // namespace
