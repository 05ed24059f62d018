#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <vector>

#include "core/output/block_writer.h"
#include "core/numbers/number_text.h"
#include "core/output/result_file.h"
#include "support/temp_dir.h"

using namespace vorta;

namespace {

CatalogEntry workedEntry(double m) {
    CatalogEntry e;
    e.Delta = 0.1;
    e.Gama = 0.05;
    e.xDltC = 0.0123;
    e.Tau = 10;
    e.m = m;
    return e;
}

Calculation workedCalculation() {
    Calculation c;
    c.SelectedIndex = 1;
    c.N1 = 5;
    c.AlfaD = 4;
    c.solution.coefficients = {0.812345, -0.203149, -3.4567};
    c.solution.x = {0, 1, 0.5, 0, 0.5, 1};
    c.solution.y = {0, 0, -0.04, 0, 0.06, 0};
    c.solution.Cu = {0, 0, 1.1, 0, 1.3, 0};
    return c;
}

std::string lines(std::initializer_list<const char*> texts) {
    std::string out;
    for (const char* t : texts) out += std::string(t) + "\r\n";
    return out;
}

TEST(ResultFile, WorkedExampleInTheFoldedLayoutWithPressure) {
    EXPECT_EQ(formatResultFile(workedEntry(1.9), workedCalculation(), Layout::FoldedXYCu, "."),
              lines({" Delta=0.1  Gama=0.05  xDltC=0.0123  Tau=10.  Karman-Trefftz airfoil",
                     " 5 ",
                     "  AlfaD =  4 ",
                     "  CL    =  0.8123 ",
                     "  CMc/4 = -0.2031 ",
                     "  Alfa0 = -3.46 ",
                     "  1  0.00000  0.00000  0.00000  0.00000  0.00000  0.00000",
                     "  2  0.50000  0.06000  1.30000  0.50000  -0.04000  1.10000",
                     "  3  1.00000  0.00000  0.00000  1.00000  0.00000  0.00000"}));
}

TEST(ResultFile, PlainLayoutsListEveryPointInOrder) {
    const std::string xy = formatResultFile(workedEntry(1.9), workedCalculation(), Layout::XY, ".");
    EXPECT_EQ(xy, lines({" Delta=0.1  Gama=0.05  xDltC=0.0123  Tau=10.  Karman-Trefftz airfoil", " 5 ",
                         "  1  1.00000  0.00000", "  2  0.50000  -0.04000", "  3  0.00000  0.00000",
                         "  4  0.50000  0.06000", "  5  1.00000  0.00000"}));
    const std::string xyCu = formatResultFile(workedEntry(1.9), workedCalculation(), Layout::XYCu, ".");
    EXPECT_NE(xyCu.find("\r\n  AlfaD =  4 \r\n"), std::string::npos);
    EXPECT_NE(xyCu.find("\r\n  2  0.50000  -0.04000  1.10000\r\n"), std::string::npos);
    const std::string folded = formatResultFile(workedEntry(1.9), workedCalculation(), Layout::FoldedXY, ".");
    EXPECT_EQ(folded.find("AlfaD"), std::string::npos);
    EXPECT_NE(folded.find("\r\n  2  0.50000  0.06000  0.50000  -0.04000\r\n"), std::string::npos);
}

TEST(ResultFile, JoukowskyHeaderEndsWithThePointCount) {
    const std::string text = formatResultFile(workedEntry(2), workedCalculation(), Layout::XYCu, ".");
    EXPECT_EQ(text.substr(0, text.find("  AlfaD")), " Delta=0.1  Gama=0.05  Joukowsky airfoil 5 \r\n");
}

TEST(ResultFile, NoLayoutWritesOnlyTheHeaderAndThePointCount) {
    EXPECT_EQ(formatResultFile(workedEntry(1.9), workedCalculation(), Layout::None, "."),
              lines({" Delta=0.1  Gama=0.05  xDltC=0.0123  Tau=10.  Karman-Trefftz airfoil", " 5 "}));
}

// An even N1 has no nose point: its N1/2 rows pair the points beside the nose first.
TEST(ResultFile, FoldedLayoutsWithAnEvenPointCountWriteEveryPointOnce) {
    Calculation c = workedCalculation();
    c.N1 = 6;
    c.solution.x = {0, 1, 2, 3, 4, 5, 6};  // x(k) = k shows which point each column holds
    c.solution.y = c.solution.Cu = PointArray(7, 0.0);
    EXPECT_EQ(formatResultFile(workedEntry(1.9), c, Layout::FoldedXY, "."),
              lines({" Delta=0.1  Gama=0.05  xDltC=0.0123  Tau=10.  Karman-Trefftz airfoil", " 6 ",
                     "  1  4.00000  0.00000  3.00000  0.00000", "  2  5.00000  0.00000  2.00000  0.00000",
                     "  3  6.00000  0.00000  1.00000  0.00000"}));
    c.N1 = 2;
    const std::string two = formatResultFile(workedEntry(1.9), c, Layout::FoldedXY, ".");
    EXPECT_EQ(two.substr(two.find("\r\n") + 2), lines({" 2 ", "  1  2.00000  0.00000  1.00000  0.00000"}));
    c.N1 = 1;
    const std::string one = formatResultFile(workedEntry(1.9), c, Layout::FoldedXY, ".");
    EXPECT_NE(one.find(" 1 \r\n  1  1.00000  0.00000  1.00000  0.00000\r\n"), std::string::npos);
}

// Every point of the plain layout is written exactly once in the folded one, the upper
// surface (from the nose up to point N1) on the left and the lower one (from the nose down
// to point 1) on the right, for every N1.
TEST(ResultFile, FoldedLayoutsHoldThePointsOfThePlainOne) {
    for (int N1 = 2; N1 <= 41; ++N1) {
        Calculation c = workedCalculation();
        c.N1 = N1;
        c.solution.x = c.solution.y = c.solution.Cu = PointArray(static_cast<std::size_t>(N1) + 1, 0.0);
        for (int k = 1; k <= N1; ++k) c.solution.x[k] = k;
        const std::string text = formatResultFile(workedEntry(1.9), c, Layout::FoldedXY, ".");
        std::istringstream rows(text.substr(text.find("\r\n", text.find("\r\n") + 2) + 2));
        std::vector<int> written(static_cast<std::size_t>(N1) + 1, 0);
        int row = 0, previousUpper = 0, previousLower = N1 + 1;
        double i, upper, y1, lower, y2;
        while (rows >> i >> upper >> y1 >> lower >> y2) {
            EXPECT_EQ(i, ++row);
            EXPECT_GT(upper, previousUpper) << "N1=" << N1 << " row " << row;
            EXPECT_LT(lower, previousLower) << "N1=" << N1 << " row " << row;
            previousUpper = static_cast<int>(upper);
            previousLower = static_cast<int>(lower);
            ++written[previousUpper];
            if (lower != upper) ++written[previousLower];
        }
        EXPECT_EQ(previousUpper, N1);
        EXPECT_EQ(previousLower, 1);
        for (int k = 1; k <= N1; ++k) EXPECT_EQ(written[k], 1) << "N1=" << N1 << " point " << k;
    }
}

TEST(ResultFile, CoefficientsRoundTiesToEvenAndZeroHasNoSign) {
    Calculation c = workedCalculation();
    c.AlfaD = 2.5;
    EXPECT_NE(formatResultFile(workedEntry(1.9), c, Layout::XYCu, ".").find("  AlfaD =  2 \r\n"), std::string::npos);
    c.AlfaD = 3.5;
    EXPECT_NE(formatResultFile(workedEntry(1.9), c, Layout::XYCu, ".").find("  AlfaD =  4 \r\n"), std::string::npos);
    c.AlfaD = -0.4;
    c.solution.coefficients = {-0.00004, 0, -0.004};
    c.solution.y[2] = -0.000001;
    const std::string text = formatResultFile(workedEntry(1.9), c, Layout::XYCu, ".");
    EXPECT_NE(text.find("  AlfaD =  0 \r\n  CL    =  0 \r\n  CMc/4 =  0 \r\n  Alfa0 =  0 \r\n"), std::string::npos);
    EXPECT_NE(text.find("  2  0.50000  0.00000  1.10000"), std::string::npos);
}

TEST(ResultFile, DecimalCommaChangesEveryNumberButNoLabel) {
    CatalogEntry e = workedEntry(1.9);
    e.Delta = 0;
    const std::string text = formatResultFile(e, workedCalculation(), Layout::XYCu, ",");
    EXPECT_EQ(text.substr(0, text.find("\r\n")), " Delta=0,  Gama=0,05  xDltC=0,0123  Tau=10,  Karman-Trefftz airfoil");
    EXPECT_NE(text.find("  CL    =  0,8123 \r\n"), std::string::npos);
    EXPECT_NE(text.find("  1  1,00000  0,00000  0,00000\r\n"), std::string::npos);
}

TEST(ResultFile, RowNumbersWidenFromTen) {
    Calculation c = workedCalculation();
    c.N1 = 10;
    c.solution.x = c.solution.y = c.solution.Cu = PointArray(11, 0.0);
    const std::string text = formatResultFile(workedEntry(1.9), c, Layout::XY, ".");
    EXPECT_NE(text.find("\r\n  9  0.00000  0.00000\r\n  10  0.00000  0.00000\r\n"), std::string::npos);
}

// --- Long tables, written block by block ---------------------------------------------------

// N1 points whose values mix ordinary numbers, the doubles next to rounding halves and small
// negatives that round to zero.
Calculation longCalculation(int N1) {
    Calculation c = workedCalculation();
    c.N1 = N1;
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> ordinary(-2, 2);
    std::uniform_int_distribution<int> units(0, 200000);
    const auto value = [&](int k) {
        switch (k % 4) {
            case 0: return ordinary(random);
            case 1: return std::strtod((std::to_string(units(random)) + "5e-6").c_str(), nullptr);
            case 2: return std::nextafter(std::strtod((std::to_string(units(random)) + "5e-6").c_str(), nullptr), 0.0);
            default: return -ordinary(random) * 2.5e-6 * (k % 3);
        }
    };
    for (PointArray* values : {&c.solution.x, &c.solution.y, &c.solution.Cu}) {
        values->resize(static_cast<std::size_t>(N1) + 1);
        for (int k = 0; k <= N1; ++k) (*values)[static_cast<std::size_t>(k)] = value(k);
    }
    return c;
}

// A table row as the rule writes it, one number at a time.
std::string expectedRow(int i, const std::vector<double>& columns, const std::string& separator) {
    std::string row = "  " + formatPattern(i, Pattern::WholeNumber, separator);
    for (double value : columns) row += "  " + formatPattern(value, Pattern::Exactly5Decimals, separator);
    return row + "\r\n";
}

// The rows of the layouts with pressure, for an odd N1, where every column holds a point.
std::string expectedTable(const Calculation& c, Layout layout, const std::string& separator) {
    const Solution& s = c.solution;
    std::string table;
    if (layout == Layout::XYCu) {
        for (int i = 1; i <= c.N1; ++i) table += expectedRow(i, {s.x[i], s.y[i], s.Cu[i]}, separator);
        return table;
    }
    const int M = (c.N1 + 1) / 2;
    for (int i = 1; i <= M; ++i) {
        const int U = M + i - 1, L = M + 1 - i;
        table += expectedRow(i, {s.x[U], s.y[U], s.Cu[U], s.x[L], s.y[L], s.Cu[L]}, separator);
    }
    return table;
}

TEST(WriteResultFile, EveryNumberOfALongTableIsWrittenAsTheRuleWritesIt) {
    const Calculation c = longCalculation(4001);
    for (Layout layout : {Layout::XYCu, Layout::FoldedXYCu}) {
        for (const std::string separator : {".", ",", "\u066B"}) {
            const std::string text = formatResultFile(workedEntry(1.9), c, layout, separator);
            const std::size_t tableStart = text.find("\r\n", text.find("Alfa0")) + 2;
            EXPECT_TRUE(text.substr(tableStart) == expectedTable(c, layout, separator))
                << "layout " << static_cast<int>(layout) << " separator " << separator;
        }
    }
}

// Keeps the blocks a sink is handed; fails from a given block on.
struct RecordingSink {
    std::vector<std::string> blocks;
    std::size_t failFrom = static_cast<std::size_t>(-1);

    ByteSink sink() {
        return [this](std::string_view bytes) {
            blocks.emplace_back(bytes);
            return blocks.size() > failFrom ? ENOSPC : 0;
        };
    }
};

TEST(WriteResultFile, HandsALongTableToTheSinkInBlocks) {
    const Calculation c = longCalculation(60001);
    RecordingSink recorded;
    ASSERT_EQ(writeResultFile(workedEntry(1.9), c, Layout::FoldedXYCu, ".", recorded.sink()), 0);
    ASSERT_GE(recorded.blocks.size(), 2u);
    std::string text;
    for (const std::string& block : recorded.blocks) {
        EXPECT_LE(block.size(), BlockWriter::kBlockSize);
        text += block;
    }
    EXPECT_TRUE(text == formatResultFile(workedEntry(1.9), c, Layout::FoldedXYCu, "."));
    EXPECT_TRUE(text.substr(text.find("\r\n", text.find("Alfa0")) + 2) == expectedTable(c, Layout::FoldedXYCu, "."));
}

TEST(WriteResultFile, StopsAtTheFirstErrorOfTheSinkAndReportsIt) {
    const Calculation c = longCalculation(60001);
    RecordingSink recorded;
    recorded.failFrom = 0;
    EXPECT_EQ(writeResultFile(workedEntry(1.9), c, Layout::XYCu, ".", recorded.sink()), ENOSPC);
    EXPECT_EQ(recorded.blocks.size(), 1u);
}

class SaveResultFile : public testing::Test {
protected:
    SaveResultFile() {
        catalog_.fileRead = true;
        catalog_.entries.push_back(workedEntry(1.9));
    }
    std::string path() const { return dir_.file(kResultFileName); }

    TempDir dir_;
    Catalog catalog_;
};

TEST_F(SaveResultFile, RefusesBeforeAnyCalculationAndWritesNothing) {
    EXPECT_EQ(saveResultFile(catalog_, std::nullopt, Layout::FoldedXYCu, ".", path()), kNothingToSaveMessage);
    EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(SaveResultFile, TwoSavesLeaveOneFileWithTheSecondContent) {
    Calculation c = workedCalculation();
    ASSERT_FALSE(saveResultFile(catalog_, c, Layout::FoldedXYCu, ".", path()));
    ASSERT_FALSE(saveResultFile(catalog_, c, Layout::XY, ".", path()));
    EXPECT_EQ(readFile(path()), formatResultFile(catalog_.entry(1), c, Layout::XY, "."));
    EXPECT_EQ(dir_.entryCount(), 1u);
}

TEST_F(SaveResultFile, ACalculationWhoseEntryIsGoneIsRefused) {
    Calculation c = workedCalculation();
    c.SelectedIndex = 2;
    EXPECT_EQ(saveResultFile(catalog_, c, Layout::XY, ".", path()), kNothingToSaveMessage);
    EXPECT_EQ(saveResultFile(catalog_, std::optional<Calculation>(c), Layout::XY, ".", path()), kNothingToSaveMessage);
    EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(SaveResultFile, ALongTableIsSavedWholeOverTheEarlierFile) {
    const Calculation c = longCalculation(60001);
    writeFile(path(), "earlier");
    ASSERT_FALSE(saveResultFile(catalog_, std::optional<Calculation>(c), Layout::FoldedXYCu, "\u066B", path()));
    EXPECT_TRUE(readFile(path()) == formatResultFile(catalog_.entry(1), c, Layout::FoldedXYCu, "\u066B"));
    EXPECT_EQ(dir_.entryCount(), 1u);
}

TEST_F(SaveResultFile, AFailedWriteIsReported) {
    // Through a link to a device that takes nothing, the save writes in place and fails at once.
    std::filesystem::create_symlink("/dev/full", path());
    const auto error = saveResultFile(catalog_, longCalculation(60001), Layout::FoldedXYCu, ".", path());
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("No space left on device"), std::string::npos) << *error;
    EXPECT_TRUE(std::filesystem::is_symlink(path()));
}

}  // namespace
