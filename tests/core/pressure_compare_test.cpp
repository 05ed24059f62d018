// Reading another code's pressure distribution, and matching it to the exact solution.
// What Python makes of a comparison, and a hand-computed Joukowsky distribution, are tested
// in tests/tools.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "core/data_formats.h"
#include "core/pressure_compare.h"
#include "core/solver.h"

using namespace vorta;

namespace {

std::variant<std::vector<MeasuredPoint>, Refusal> read(const std::string& text) {
    std::istringstream in(text);
    return readPressureTable(in, "cp.txt");
}

std::vector<MeasuredPoint> points(const std::string& text) {
    const auto result = read(text);
    if (const auto* refusal = std::get_if<Refusal>(&result)) ADD_FAILURE() << refusal->message;
    const auto* table = std::get_if<std::vector<MeasuredPoint>>(&result);
    return table ? *table : std::vector<MeasuredPoint>{};
}

std::string refusal(const std::string& text) {
    const auto result = read(text);
    const auto* refused = std::get_if<Refusal>(&result);
    return refused ? refused->message : "";
}

TEST(PressureTable, ReadsTwoOrThreeColumnsAndNamedColumns) {
    const auto xfoil = points("#    x          Cp  \n     1.00000    0.41449\n     0.99168    0.23071\n");
    ASSERT_EQ(xfoil.size(), 2u);
    EXPECT_EQ(xfoil[1].line, 3);
    EXPECT_EQ(xfoil[1].x, 0.99168);
    EXPECT_EQ(xfoil[1].Cp, 0.23071);
    EXPECT_FALSE(xfoil[1].y);

    const auto three = points("# my code\r\n\r\n1 0 0.5\r\n0.5\t0.06\t-0.3\r\n");
    ASSERT_EQ(three.size(), 2u);
    EXPECT_EQ(*three[1].y, 0.06);
    EXPECT_EQ(three[1].Cp, -0.3);

    // Vorta's own CSV: the header picks x, y and Cp out of five columns.
    const auto csv = points("i,x,y,Cu,Cp\r\n1,1,0,0,1\r\n2,0.99,-0.001,0.6,0.4\r\n");
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_EQ(csv[1].x, 0.99);
    EXPECT_EQ(*csv[1].y, -0.001);
    EXPECT_EQ(csv[1].Cp, 0.4);
}

TEST(PressureTable, RefusesWhatIsNoSuchTable) {
    EXPECT_EQ(refusal(""), "Cannot compare with cp.txt: it holds no lines of numbers. A pressure file holds lines of "
                           "x Cp or x y Cp.");
    EXPECT_NE(refusal(std::string("\x7f" "ELF\x02\x01\x01\0\0\0\0", 12) + "junk\n").find("no lines of numbers"),
              std::string::npos);
    EXPECT_EQ(refusal("1 2\n1 2 3 4\n"), "Cannot compare with cp.txt: line 2 holds 4 numbers; a line holds x Cp or x y Cp.");
    EXPECT_EQ(refusal("1 2\n1 2 3\n"), "Cannot compare with cp.txt: line 2 holds 3 numbers where the lines above hold 2.");
    EXPECT_EQ(refusal("1 2 abc\n"), "Cannot compare with cp.txt: line 1 holds text among its numbers.");
    EXPECT_NE(refusal(std::string(5000, '1')).find("line 1 is longer than 4096 characters"), std::string::npos);
    std::string many;
    for (std::size_t i = 0; i <= kMaxPressurePoints; ++i) many += "0.5 0.1\n";
    EXPECT_NE(refusal(many).find("at most 100000 points"), std::string::npos);
}

// A million lines that hold no numbers are read through, in bounded memory, and refused.
TEST(PressureTable, AMillionLinesOfNothingAreReadThrough) {
    std::stringstream in;
    for (int i = 0; i < 1000000; ++i) in << "no numbers here\n";
    const auto result = readPressureTable(in, "big.txt");
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
}

TEST(SectionSurface, GivesThePointsTheSolverGives) {
    const int N1 = 101;
    const Solution s = VORTA(N1, 0.1, 0.1, 1.9, 1, 5);
    const SectionSurface surface(0.1, 0.1, 1.9, 1, 5);
    const double dTheta = 2 * Pi / (N1 - 1);
    for (int i = 1; i <= N1; ++i) {
        const double Theta = i <= (N1 + 1) / 2 ? -(i - 1) * dTheta : (N1 - i) * dTheta;
        const SurfacePoint p = surface.at(Theta);
        EXPECT_NEAR(p.x, s.x[i], 1e-14) << i;
        EXPECT_NEAR(p.y, s.y[i], 1e-14) << i;
        EXPECT_NEAR(p.Cu, s.Cu[i], 1e-13) << i;
    }
}

struct Case {
    double F, G, m, AlfaD;
};

Comparison compareWithSolution(const Case& c, const Solution& s, int N1, bool withHeights, bool reversed) {
    std::vector<MeasuredPoint> measured;
    for (int i = 1; i <= N1; ++i) {
        MeasuredPoint p;
        p.line = i;
        p.x = s.x[i];
        if (withHeights) p.y = s.y[i];
        p.Cp = 1 - s.Cu[i];
        measured.push_back(p);
    }
    if (reversed) std::reverse(measured.begin(), measured.end());
    const SectionSurface surface(c.F, c.G, c.m, 1, c.AlfaD);
    return comparePressure(
        measured,
        [&](double Theta) {
            const SurfacePoint p = surface.at(Theta);
            return ExactPoint{p.x, p.y, 1 - p.Cu};
        },
        1 - surface.at(0).Cu);
}

// The solver's own points, fed back in either direction, with and without y, match the exact
// solution at their own x on their own surface.
TEST(ComparePressure, TheSolversOwnPointsMatchThemselves) {
    for (const Case& c : {Case{0.1, 0.1, 1.9, 5}, Case{0.15, 0, 2, 4}, Case{0.1, -0.05, 1.92, -3}}) {
        const int N1 = 81;
        const Solution s = VORTA(N1, c.F, c.G, c.m, 1, c.AlfaD);
        for (bool withHeights : {true, false}) {
            for (bool reversed : {false, true}) {
                const Comparison result = compareWithSolution(c, s, N1, withHeights, reversed);
                EXPECT_TRUE(result.skipped.empty()) << c.G << withHeights << reversed;
                ASSERT_EQ(result.rows.size(), static_cast<std::size_t>(N1));
                for (const ComparedPoint& row : result.rows) {
                    const int i = row.line;
                    // Without y the nose point is found by its x alone, where x turns and so
                    // settles its angle only to about the square root of a double's precision.
                    const double bound = !withHeights && i == (N1 + 1) / 2 ? 1e-7 : 1e-9;
                    EXPECT_NEAR(row.CpExact, row.CpFile, bound) << i << ' ' << c.G << withHeights << reversed;
                    if (i > 1 && i < (N1 + 1) / 2) {
                        EXPECT_EQ(row.surface, Surface::Lower) << i;
                    }
                    if (i > (N1 + 1) / 2 && i < N1) {
                        EXPECT_EQ(row.surface, Surface::Upper) << i;
                    }
                }
            }
        }
    }
}

TEST(ComparePressure, APointBeyondTheChordIsSkippedNotGuessed) {
    const std::vector<MeasuredPoint> measured = {{1, 1.2, 0.0, 0.1}, {2, 0.5, 0.05, -0.5}, {3, -0.3, 0.0, 0.2}};
    const SectionSurface surface(0.1, 0.1, 1.9, 1, 5);
    const Comparison result = comparePressure(
        measured,
        [&](double Theta) {
            const SurfacePoint p = surface.at(Theta);
            return ExactPoint{p.x, p.y, 1 - p.Cu};
        },
        1);
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0].line, 2);
    ASSERT_EQ(result.skipped.size(), 2u);
    EXPECT_EQ(result.skipped[0].line, 1);
    EXPECT_EQ(result.skipped[1].line, 3);
}

TEST(ComparePressure, WritesRowsAndASummary) {
    Comparison comparison;
    comparison.rows = {{2, 0.5, Surface::Upper, -0.5, -0.52}, {3, 0.25, Surface::Lower, 0.1, 0.1}};
    std::string text;
    const ByteSink collect = [&](std::string_view block) {
        text.append(block);
        return 0;
    };
    writeComparison(ComparisonFormat::Csv, comparison, ",", collect);
    EXPECT_EQ(text, "x,surface,Cp_file,Cp_exact,dCp\r\n0.5,upper,-0.5,-0.52,0.020000000000000018\r\n"
                    "0.25,lower,0.1,0.1,0\r\n");
    EXPECT_EQ(comparisonSummary(comparison, ","),
              "2 points compared; largest |dCp| 0,020000000000000018 at x 0,5 (upper); rms dCp 0,014142135623730963");
}

}  // namespace
