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

// The tool's own field, fed back with a known error, gives that error's norms and order.
TEST_F(VortaRun, CompareFieldGivesNormsAndTheObservedOrder) {
    // Points outside the section: x beyond the trailing edge, on meshes of 4, 16 and 64 points.
    std::vector<std::string> files;
    for (int n : {4, 16, 64}) {
        std::string points = "x y\n";
        for (int i = 0; i < n; ++i)
            points += std::to_string(1.5 + i * 0.01) + " " + std::to_string(0.2 + i * 0.003) + "\n";
        writeFile(dir_.file("p.txt"), points);
        const Outcome exact = run("--entry 2 --alpha 4 --field p.txt");
        ASSERT_EQ(exact.status, 0) << exact.err;
        // u off by h^2 = 1/n at every point, psi by a constant.
        std::istringstream rows(exact.out);
        std::string row, text = "x,y,u,psi\n";
        std::getline(rows, row);
        while (std::getline(rows, row)) {
            std::vector<double> v;
            std::istringstream fields(row);
            for (std::string f; std::getline(fields, f, ',');) v.push_back(std::strtod(f.c_str(), nullptr));
            char line[200];
            std::snprintf(line, sizeof line, "%.17g,%.17g,%.17g,%.17g\n", v[0], v[1], v[2] + 1.0 / n,
                          v[5] + 3);
            text += line;
        }
        files.push_back("mesh" + std::to_string(n) + ".csv");
        writeFile(dir_.file(files.back()), text);
    }
    const Outcome r =
        run("--entry 2 --alpha 4 --compare-field mesh4.csv mesh16.csv mesh64.csv", "LANG=de_DE.UTF-8");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("mesh4.csv: 4 points compared\n  column            L1            L2          Linf\n"
                          "       u      0,250000      0,250000      0,250000\n",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("observed order from L2, mesh4.csv to mesh16.csv: u 2 psi none\n"),
              std::string::npos)
        << r.out;

    const Outcome csv = run("--entry 2 --alpha 4 --compare-field mesh4.csv mesh16.csv --format csv");
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")), "file,points,column,L1,L2,Linf,order");
    EXPECT_NE(csv.out.find("\r\nmesh16.csv,16,u,0.06249999"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(",2.0000000000000004\r\n"), std::string::npos) << csv.out;

    writeFile(dir_.file("plain.txt"), "1.5 0.2\n");
    const Outcome unnamed = run("--entry 2 --compare-field plain.txt");
    EXPECT_EQ(unnamed.status, 1);
    EXPECT_EQ(unnamed.err.rfind(
                  "Cannot compare the field of plain.txt: its header names none of u, v, Cp and psi.", 0),
              0u)
        << unnamed.err;
}

}  // namespace
