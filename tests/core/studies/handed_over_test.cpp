// The studies of what a program hands over rather than files: a section by its numbers,
// points as arrays, a catalog file by its path.
#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <limits>
#include <sstream>

#include "core/studies/catalog_check.h"
#include "core/studies/polar.h"
#include "core/studies/pressure_compare.h"
#include "support/temp_dir.h"

using namespace vorta;

namespace {

template <class T>
std::string refusalOf(const std::variant<T, Refusal>& result) {
    const auto* refusal = std::get_if<Refusal>(&result);
    return refusal ? refusal->message : "";
}

const char* const kCatalog = "1\r\n0\r\n0.1,0.1,0.3,18,0.1,0.1,1.9\r\n0.1,0.1,0.3,18,0.1,0.1,2.5\r\n";

Catalog catalogOf(const std::string& bytes) {
    std::istringstream in(bytes);
    return loadCatalog(in);
}

TEST(PolarOfSection, GivesTheRowsOfItsEntry) {
    const std::vector<double> angles = {-4, -3.7, 0, 5, 12.25};
    const auto ofEntry = polarOf(catalogOf(kCatalog), 1, angles);
    const auto ofSection = polarOfSection(0.1, 0.1, 1.9, angles, "alphas");
    ASSERT_EQ(refusalOf(ofSection), "");
    const auto& rows = std::get<std::vector<PolarRow>>(ofSection);
    const auto& entryRows = std::get<std::vector<PolarRow>>(ofEntry);
    ASSERT_EQ(rows.size(), angles.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].AlfaD, angles[i]);
        EXPECT_EQ(rows[i].coefficients.CL, entryRows[i].coefficients.CL);
        EXPECT_EQ(rows[i].coefficients.CMc4, entryRows[i].coefficients.CMc4);
        EXPECT_EQ(rows[i].coefficients.Alfa0, entryRows[i].coefficients.Alfa0);
    }
}

TEST(PolarOfSection, RefusesTheSectionOrTheFirstAngleOutOfRangeByItsIndex) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(refusalOf(polarOfSection(0.1, 0.1, 1.9, {0, 1, 6e307, nan}, "alphas")),
              "alphas[2] must be a number of degrees from -5E307 to 5E307.");
    EXPECT_EQ(refusalOf(polarOfSection(0.1, 0.1, 2.5, {}, "alphas")),
              "The section F=0.1 G=0.1 m=2.5 cannot be calculated: m must not exceed 2: above 2 the surfaces "
              "cross at the trailing edge.");
    EXPECT_NE(refusalOf(polarOfSection(1e200, 0, 2, {0}, "alphas")).find("too large to show"),
              std::string::npos);
}

TEST(CheckCatalogFile, ChecksTheLinesOfTheFileAtThePath) {
    TempDir dir;
    writeFile(dir.file("mine.txt"), kCatalog);
    const Catalog catalog = catalogOf(kCatalog);
    std::istringstream bytes(kCatalog);
    const auto fromStream = checkCatalog(catalog, bytes, 51, 0);
    const auto fromFile = checkCatalogFile(catalog, dir.file("mine.txt"), 51, 0);
    ASSERT_EQ(fromFile.size(), fromStream.size());
    ASSERT_FALSE(fromFile.empty());
    for (std::size_t i = 0; i < fromFile.size(); ++i) {
        EXPECT_EQ(fromFile[i].line, fromStream[i].line);
        EXPECT_EQ(fromFile[i].what, fromStream[i].what);
    }
    const auto problem = std::find_if(fromFile.begin(), fromFile.end(), [](const auto& p) { return !p.warning; });
    ASSERT_NE(problem, fromFile.end());
    EXPECT_EQ(problem->line, 4);
    EXPECT_EQ(problem->entry, 2);
}

TEST(PointsOfArrays, NumbersEachPointByItsIndexAndRefusesWhatAFileMayNotHold) {
    const double x[] = {1, 0.5, 0}, y[] = {0, 0.05, 0}, Cp[] = {0.2, -0.5, 1};
    const auto points = std::get<std::vector<MeasuredPoint>>(pointsOfArrays(3, x, y, Cp));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].line, 1);
    EXPECT_EQ(points[1].x, 0.5);
    EXPECT_EQ(points[1].y, 0.05);
    EXPECT_EQ(points[1].Cp, -0.5);
    EXPECT_FALSE(points[1].surface);
    EXPECT_FALSE(std::get<std::vector<MeasuredPoint>>(pointsOfArrays(3, x, nullptr, Cp))[2].y);

    const double inf = std::numeric_limits<double>::infinity(),
                 nan = std::numeric_limits<double>::quiet_NaN();
    const double badX[] = {1, -inf, 0}, badCp[] = {0.2, -0.5, nan};
    EXPECT_EQ(refusalOf(pointsOfArrays(3, badX, y, badCp)),
              "Cannot compare with the arrays: x[1] is -inf; the points must be finite numbers.");
    EXPECT_EQ(refusalOf(pointsOfArrays(3, x, nullptr, badCp)),
              "Cannot compare with the arrays: Cp[2] is nan; the points must be finite numbers.");
    EXPECT_EQ(refusalOf(pointsOfArrays(0, x, y, Cp)), "Cannot compare with the arrays: they hold no points.");
}

// A section's points fed back without y: the runs are named by index, and a comparison with
// no row is refused; by its numbers or by its entry, the section compares alike.
TEST(CompareArrays, NamesThePointsByIndex) {
    const Solution s = VORTA(41, 0.1, 0.1, 1.9, 1, 5);
    std::vector<double> x(s.x.begin() + 1, s.x.end()), Cp;
    for (std::size_t k = 1; k < s.Cu.size(); ++k) Cp.push_back(1 - s.Cu[k]);
    const auto points =
        std::get<std::vector<MeasuredPoint>>(pointsOfArrays(x.size(), x.data(), nullptr, Cp.data()));
    const Comparison byNumbers = comparePressure(points, 0.1, 0.1, 1.9, 5);
    const Comparison byEntry = comparePressure(points, catalogOf(kCatalog).entry(1), 5);
    ASSERT_EQ(byNumbers.rows.size(), byEntry.rows.size());
    for (std::size_t i = 0; i < byNumbers.rows.size(); ++i) {
        EXPECT_EQ(byNumbers.rows[i].CpExact, byEntry.rows[i].CpExact);
        EXPECT_EQ(byNumbers.rows[i].dCp(), byNumbers.rows[i].CpFile - byNumbers.rows[i].CpExact);
    }
    ASSERT_EQ(byNumbers.runs.size(), 2u);
    EXPECT_EQ(
        runNote(byNumbers.runs[0], kArrayPoints, ".").rfind("the arrays: points 0 to 20 (x 1.00000 to ", 0),
        0u);
    EXPECT_FALSE(emptyComparisonRefusal(byNumbers, kArrayPoints));

    const std::vector<MeasuredPoint> off = {{0, 1.5, std::nullopt, 0, std::nullopt}};
    const Comparison none = comparePressure(off, 0.1, 0.1, 1.9, 5);
    EXPECT_EQ(emptyComparisonRefusal(none, kArrayPoints)->message,
              "No point of the arrays lies on the section.");
    EXPECT_EQ(emptyComparisonRefusal(none, {"cp.txt"})->message, "No point of cp.txt lies on the section.");

    RunDecision run{3, 3, 0.5, 0.5, RunVerdict::TooFew, Surface::Upper, 0, 0, 1, 0, 0};
    Comparison undecided;
    undecided.runs.push_back(run);
    EXPECT_EQ(
        undecidedRefusal(undecided, kArrayPoints, ".")->message,
        "Cannot compare with the arrays: the Cp of point 3 (x 0.500000) does not tell which surface it lies "
        "on: 1 point is too few to tell. Give y as well: the height of a point tells its surface.");
}

}  // namespace
