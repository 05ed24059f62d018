#include <gtest/gtest.h>

#include <filesystem>

#include "core/result_file.h"
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

TEST(ResultFile, FoldedLayoutsWithAnEvenPointCountRoundThePointNumbersToEven) {
    Calculation c = workedCalculation();
    c.N1 = 6;
    c.solution.x = {0, 1, 2, 3, 4, 5, 6};  // x(k) = k shows which point each column holds
    c.solution.y = c.solution.Cu = PointArray(7, 0.0);
    EXPECT_EQ(formatResultFile(workedEntry(1.9), c, Layout::FoldedXY, "."),
              lines({" Delta=0.1  Gama=0.05  xDltC=0.0123  Tau=10.  Karman-Trefftz airfoil", " 6 ",
                     "  1  4.00000  0.00000  4.00000  0.00000", "  2  4.00000  0.00000  2.00000  0.00000",
                     "  3  6.00000  0.00000  2.00000  0.00000"}));
    c.N1 = 1;
    const std::string one = formatResultFile(workedEntry(1.9), c, Layout::FoldedXY, ".");
    EXPECT_NE(one.find(" 1 \r\n  1  1.00000  0.00000  1.00000  0.00000\r\n"), std::string::npos);
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

}  // namespace
