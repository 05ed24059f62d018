// The flow field tasks of vorta-run, run as a user would on real files.
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "vorta_run_fixture.h"

namespace {

std::vector<std::string> rowsOf(const std::string& csv) {
    std::vector<std::string> rows;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    return rows;
}

// A mesh's node file, with a header and a column the task does not read; each point keeps its
// row in the order given, a point inside the section keeps x and y alone.
TEST_F(VortaRun, FieldGivesTheFlowAtEachPointInOrder) {
    writeFile(dir_.file("nodes.csv"),
              "# nodes of my mesh\r\nid,x,y,tag\r\n1,0.5,0.3,far\r\n2,0.5,0.0,inside\r\n3,-0.5,0,ahead\r\n"
              "4,1e6,-1e6,far\r\n");
    const Outcome r = run("--entry 2 --alpha 4 --field nodes.csv", "LANG=de_DE.UTF-8");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        r.err,
        "1 point lies inside the section, or at a sharp leading edge, where the flow has no values; its row "
        "holds x and y alone.\n");
    const std::vector<std::string> rows = rowsOf(r.out);
    ASSERT_EQ(rows.size(), 5u) << r.out;
    EXPECT_EQ(rows[0], "x,y,u,v,Cp,psi\r");
    EXPECT_EQ(rows[1].rfind("0.5,0.3,", 0), 0u);
    EXPECT_EQ(rows[2], "0.5,0,,,,\r");
    EXPECT_EQ(rows[3].rfind("-0.5,0,", 0), 0u);
    // Far away, the free stream at 4 degrees.
    std::istringstream far(rows[4]);
    std::vector<double> values;
    for (std::string field; std::getline(far, field, ',');)
        values.push_back(std::strtod(field.c_str(), nullptr));
    ASSERT_EQ(values.size(), 6u);
    EXPECT_NEAR(values[2], std::cos(4 * M_PI / 180), 1e-6);
    EXPECT_NEAR(values[3], std::sin(4 * M_PI / 180), 1e-6);

    // From standard input, and to a file replaced whole.
    const Outcome piped =
        run("--entry 2 --alpha 4 --field - --output exact.csv", "LANG=C", "printf '0.5 0.3\\n'");
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(rowsOf(readFile(dir_.file("exact.csv")))[1], rows[1]);
}

TEST_F(VortaRun, FieldRefusesWhatIsNoPointFileOrNoTask) {
    writeFile(dir_.file("german.txt"), "0,5 0,3\n");
    const struct {
        const char* arguments;
        int status;
        const char* message;
    } cases[] = {
        {"--entry 1 --field absent.txt", 1, "Cannot read the points of absent.txt: it does not exist.\n"},
        {"--entry 1 --field german.txt", 1,
         "Cannot read the points of german.txt: line 1 holds 4 numbers; without a header line naming columns "
         "x "
         "and y, a line holds x y. The decimal separator is the point: write 0.5, not 0,5.\n"},
        {"--entry 1 --field german.txt --points 51", 2,
         "vorta-run: --field goes with --entry, --alpha, --output"},
        {"--entry 1 --field german.txt --format dat", 2, "vorta-run: --field goes with"},
        {"--list --field german.txt", 2, "vorta-run: --list and --check take --input"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << c.arguments << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.arguments;
    }
}

}  // namespace
