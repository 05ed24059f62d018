// vorta-run --grid as a user runs it, in a directory of its own: where the grid goes, what it
// refuses, and that a refused or failed grid leaves every file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "vorta_run_fixture.h"

namespace {

namespace fs = std::filesystem;

// A Joukowsky section, a Karman-Trefftz one, and the flat plate, whose sharp leading edge lies
// opposite its trailing edge.
const char* kCatalog =
    "1\r\n0\r\n"
    "0.1,0.05,0.3,0,0.1,0.05,2\r\n"
    "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"
    "0,0,0,0,0,0,2\r\n";

class GridRun : public testing::Test {
  protected:
    GridRun() { writeFile(dir_.file("VORTA_Input.txt"), kCatalog); }

    Outcome run(const std::string& arguments, const std::string& environment = "LANG=C") const {
        return runVortaRun(dir_, arguments, environment);
    }

    TempDir dir_;
};

TEST_F(GridRun, AVtkGridGoesToStandardOutputUnlessAFileIsNamed) {
    const Outcome out = run("--entry 1 --alpha 4 --grid 9:3");
    EXPECT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.err, "");
    EXPECT_EQ(out.out.rfind("# vtk DataFile Version 3.0\nVorta F=0.1 G=0.05 m=2 AlfaD=4: ", 0), 0u);
    EXPECT_NE(out.out.find("\nDIMENSIONS 9 3 1\nPOINTS 27 double\n1 0 0\n"), std::string::npos);

    const Outcome file = run("--entry 1 --alpha 4 --grid 9:3 --format vtk --output grid.vtk");
    EXPECT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(
        file.out,
        "NJ = 9 makes the cells square with NI = 9 (the outer ring's radius 368.2 times the circle's).\n");
    EXPECT_EQ(readFile(dir_.file("grid.vtk")), out.out);
    EXPECT_EQ(
        run("--entry 1 --alpha 4 --grid 9:3 --output grid.vtk", "LANG=de_DE.UTF-8").out,
        "NJ = 9 makes the cells square with NI = 9 (the outer ring's radius 368,2 times the circle's).\n");
    EXPECT_EQ(readFile(dir_.file("grid.vtk")), out.out);
}

TEST_F(GridRun, ACgnsGridReplacesItsFileWholeAndKeepsItsMode) {
    writeFile(dir_.file("grid.cgns"), "earlier");
    fs::permissions(dir_.file("grid.cgns"), fs::perms(0640));
    const Outcome r = run("--entry 2 --alpha -2 --grid 17:5:10 --format cgns --output grid.cgns");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(dir_.file("grid.cgns")).substr(0, 4), "\x89HDF");
    EXPECT_EQ(fs::status(dir_.file("grid.cgns")).permissions(), fs::perms(0640));
    EXPECT_EQ(dir_.entryCount(), 2u);  // the catalog and the grid
}

TEST_F(GridRun, MisusedGridOptionsAreUsageErrors) {
    const struct {
        const char* arguments;
        const char* message;  // what stderr starts with
    } cases[] = {
        {"--entry 1 --grid 9",
         "vorta-run: --grid: \"9\" is not NI:NJ or NI:NJ:R, numbers separated by colons"},
        {"--entry 1 --grid 9:3:1:1", "vorta-run: --grid: \"9:3:1:1\" is not NI:NJ or NI:NJ:R"},
        {"--entry 1 --grid 9:3.5",
         "vorta-run: --grid: \"3.5\" is not a whole number (digits alone, such as 161)"},
        {"--entry 1 --grid 9:3:1,5",
         "vorta-run: --grid: \"1,5\" is not a plain decimal number: the decimal separator is the point here; "
         "write 1.5"},
        {"--entry 1 --grid 9:3 --format csv",
         "vorta-run: --grid goes with --entry, --alpha, --format vtk|cgns and "
         "--output only"},
        {"--entry 1 --grid 9:3 --points 51", "vorta-run: --grid goes with"},
        {"--entry 1 --grid 9:3 --alpha-range 0:4:1", "vorta-run: --grid goes with"},
        {"--entry 1 --grid 9:3 --compare cp.txt", "vorta-run: --grid goes with"},
        {"--entry 1 --format vtk",
         "vorta-run: --format vtk and --format cgns write a grid: give --grid NI:NJ"},
        {"--entry 1 --grid 9:3 --format cgns",
         "vorta-run: --format cgns writes a file: give --output FILE, since CGNS cannot go to standard "
         "output"},
        {"--entry 1 --grid 9:3 --format cgns --output -", "vorta-run: --format cgns writes a file"},
        {"--list --grid 9:3", "vorta-run: --list and --check take --input"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << c.arguments << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.arguments;
    }
}

// Refused or failed, a grid leaves the earlier file as it was and writes nothing else.
TEST_F(GridRun, RefusalsSayWhyAndLeaveTheEarlierFile) {
    const std::string size =
        "--grid NI:NJ must have NI of at least 3, NJ of at least 2 and NI x NJ of at most "
        "10000000 nodes.\n";
    const std::string distance = "--grid NI:NJ:R must have R from 0.001 to 1000000 chords.\n";
    const struct {
        const char* arguments;
        std::string message;
    } cases[] = {
        {"--entry 1 --grid 2:3", size},
        {"--entry 1 --grid 3:1", size},
        {"--entry 1 --grid 4000:2501", size},
        {"--entry 1 --grid 99999999999999999999:2", size},
        {"--entry 1 --grid 9:3:0.0009", distance},
        {"--entry 1 --grid 9:3:1e7", distance},
        {"--entry 1 --grid 9:3:1e999", distance},
        {"--entry 1 --grid 9:3 --alpha 1e308", "--alpha must be a number of degrees from -5E307 to 5E307.\n"},
        {"--entry 4 --grid 9:3", "There is no entry 4: the catalog has entries 1 to 3.\n"},
        {"--entry 3 --grid 9:3",
         "No grid for airfoil entry 3: with NI = 9 a node of the surface falls on the sharp leading edge of "
         "the "
         "circular arc, where the speed has no finite value; NI = 10 puts none there.\n"},
    };
    for (const char* format : {"vtk", "cgns"}) {
        writeFile(dir_.file("grid.out"), "earlier");
        for (const auto& c : cases) {
            const Outcome r = run(std::string(c.arguments) + " --format " + format + " --output grid.out");
            EXPECT_EQ(r.status, 1) << c.arguments;
            EXPECT_EQ(r.err, c.message) << c.arguments;
            EXPECT_EQ(r.out, "") << c.arguments;
        }
        const Outcome missing =
            run(std::string("--entry 1 --grid 9:3 --format ") + format + " --output no/grid.out");
        EXPECT_EQ(missing.status, 1);
        EXPECT_EQ(missing.err, "Could not save grid.out: No such file or directory.\n");
        EXPECT_EQ(readFile(dir_.file("grid.out")), "earlier");
        EXPECT_EQ(dir_.entryCount(), 2u);
    }
    EXPECT_EQ(run("--entry 3 --grid 10:3 --output grid.out").status, 0);
}

}  // namespace
