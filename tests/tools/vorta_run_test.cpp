// Runs the vorta-run program as a user would, in a directory of its own.
#include <gtest/gtest.h>
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

namespace {

const char* kCatalog =
    "1\r\n0\r\n"
    "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"
    "0.1, 0.05, 0.3, 0, 0.1, 0.05, 2\r\n";

struct Outcome {
    int status;
    std::string out, err;
};

class VortaRun : public testing::Test {
protected:
    VortaRun() { writeFile(dir_.file("VORTA_Input.txt"), kCatalog); }

    // Runs the tool in the test's directory with the given arguments and environment prefix,
    // and the output of a command, if one is given, as its standard input.
    Outcome run(const std::string& arguments, const std::string& environment = "LANG=C",
                const std::string& input = "") const {
        const std::string command = "cd '" + dir_.path().string() + "' && " +
                                    (input.empty() ? "" : input + " | ") + "env -u LC_ALL -u LC_NUMERIC " +
                                    environment + " '" VORTA_RUN_PATH "' " + arguments +
                                    " >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        Outcome r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir_.file("stdout.txt")),
              readFile(dir_.file("stderr.txt"))};
        std::filesystem::remove(dir_.file("stdout.txt"));
        std::filesystem::remove(dir_.file("stderr.txt"));
        return r;
    }
    bool resultExists() const { return std::filesystem::exists(dir_.file("VORTA_result.txt")); }

    TempDir dir_;
};

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
    EXPECT_EQ(run("--entry 1 --alpha 5", "LANG=de_DE.UTF-8").out, "CL = 1,279\nCMc/4 = -0,166\nAlfa0 = -5,19\n");
    EXPECT_EQ(run("--entry 1 --alpha 5", "LANG=de_DE.UTF-8 LC_NUMERIC=en_US.UTF-8").out.substr(0, 9), "CL = 1.27");
    EXPECT_NE(run("--entry 1 --layout 2 --output -", "LC_ALL=fr_FR.UTF-8").out.find("  1  1,00000  0,00000  0,00000"),
              std::string::npos);
}

TEST_F(VortaRun, ReadsTheFieldsLikeTheWindow) {
    EXPECT_EQ(run("--entry 1 --points 51abc --alpha '2,x' --output -").out,
              run("--entry 1 --points 51 --alpha 2 --output -").out);
}

TEST_F(VortaRun, ADecimalCommaIsRefusedNamingTheOption) {
    const Outcome angle = run("--entry 1 --alpha '4,5'");
    EXPECT_EQ(angle.status, 1);
    EXPECT_EQ(angle.err, "--alpha: the decimal separator here is the point. Write 4.5, not 4,5.\n");
    EXPECT_EQ(run("--entry 1 --points '2,5'").err,
              "--points: the decimal separator here is the point. Write 2.5, not 2,5.\n");
    EXPECT_FALSE(resultExists());
}

TEST_F(VortaRun, AnEntryShiftedByAFaultyLineIsRefused) {
    writeFile(dir_.file("shifted.txt"), std::string(kCatalog) + "# my own sections\r\n0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"
                                                                 "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n");
    EXPECT_EQ(run("--entry 2 --input shifted.txt --output -").status, 0);
    const Outcome r = run("--entry 4 --input shifted.txt --output -");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Airfoil entry 4 cannot be calculated: line 5 of shifted.txt holds 1 field, which shifts"),
              std::string::npos)
        << r.err;
}

TEST_F(VortaRun, CheckListsEveryProblemOfTheCatalog) {
    const Outcome sound = run("--check");
    EXPECT_EQ(sound.status, 0);
    EXPECT_EQ(sound.out, "");
    writeFile(dir_.file("hand.txt"),
              "1\r\n0\r\n"
              "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"        // entry 1, line 3: sound
              "0.1,0.1,0.3,18,-0.1,0.1,1.9\r\n"       // entry 2, line 4: F < 0
              "0.1,0.1,0.3,18,0.1,0.1,0\r\n"          // entry 3, line 5: m = 0
              "0.1,0.1,x,18,0.1,0.1,1.9\r\n"          // entry 4, line 6: not a number
              "0.1,0.1,0.3,9,0,-1,100\r\n"            // entry 5, line 7: results too large to show
              "Profil \xE9,0.1,0.3,18,0.1,0.1,1.9\r\n"  // entry 6, line 8: not UTF-8, not a number
              "0.1,0.1,0.3,18,0.1,0.1\r\n"            // entry 7, line 9: six fields
              "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"        // entry 8, line 10: shifted by line 9
              "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n");      // line 11: too few fields left for a record
    const Outcome r = run("--check --input hand.txt");
    EXPECT_EQ(r.status, 1);
    std::istringstream lines(r.out);
    std::vector<std::string> problems;
    for (std::string line; std::getline(lines, line);) problems.push_back(line);
    ASSERT_EQ(problems.size(), 9u) << r.out;
    EXPECT_EQ(problems[0], "hand.txt:4: entry 2: F must be 0 or more.");
    EXPECT_EQ(problems[1], "hand.txt:5: entry 3: m must be greater than 0.");
    EXPECT_EQ(problems[2], "hand.txt:6: entry 4: its field xDltC does not read as a number.");
    EXPECT_EQ(problems[3].rfind("hand.txt:7: entry 5: its values F, G and m give results too large", 0), 0u);
    EXPECT_EQ(problems[4], "hand.txt:8: entry 6: its field Delta does not read as a number.");
    EXPECT_EQ(problems[5].rfind("hand.txt:8: entry 6: its text is not UTF-8", 0), 0u);
    EXPECT_EQ(problems[6].rfind("hand.txt:9: entry 7: line 9 of hand.txt holds 6 fields. Write each", 0), 0u);
    EXPECT_EQ(problems[7].rfind("hand.txt:10: entry 8: line 9 of hand.txt holds 6 fields, which shifts", 0), 0u);
    EXPECT_EQ(problems[8].rfind("hand.txt:11: this line is not read as an airfoil: line 9 of hand.txt holds 6", 0),
              0u);
    EXPECT_EQ(run("--check --input hand.txt --alpha 4,5").status, 1);
    EXPECT_EQ(run("--check --input absent.txt").status, 1);
}

TEST_F(VortaRun, RefusedInputWritesNothingAndExitsWithOne) {
    writeFile(dir_.file("VORTA_result.txt"), "earlier");
    for (const char* arguments : {"--entry 1 --points 51.7", "--entry 1 --points ''", "--entry 1 --alpha 1E400",
                                  "--entry 3", "--entry 0"}) {
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

TEST_F(VortaRun, AMissingCatalogIsReported) {
    const Outcome r = run("--list --input absent.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No existing VORTA_Input.txt, Please use program VortaDesign to create this file\n");
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
    for (const char* group : {"Catalog:", "Calculate an entry:", "Polars:", "Compare a pressure distribution:",
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
    EXPECT_NE(text.out.find("    1           1    0,779978   -0,153237     -5,1944\n"), std::string::npos) << text.out;
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
