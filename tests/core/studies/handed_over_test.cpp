// The studies of what a program hands over rather than files: a section by its numbers,
// points as arrays, a catalog file by its path, a grid's size by its numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

#include "core/studies/catalog_check.h"
#include "core/studies/field_comparison.h"
#include "core/studies/grid.h"
#include "core/studies/polar.h"
#include "core/studies/pressure_compare.h"
#include "core/studies/section_fit.h"
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

// Sizes at and beyond each limit; the command line's option leads its refusals.
TEST(CheckGridSize, RefusesSizesBeyondTheLimitsNamingTheOptionWhereThereIsOne) {
    const std::string counts =
                          "NI:NJ must have NI of at least 3, NJ of at least 2 and NI x NJ of at most "
                          "10000000 nodes.",
                      distance = "NI:NJ:R must have R from 0.001 to 1000000 chords.";
    const struct {
        long long NI, NJ;
        double R;
        std::string refusal;
    } cases[] = {{3, 2, 0.001, ""},
                 {5000, 2000, 1e6, ""},
                 {2, 5, 100, counts},
                 {5, 1, 100, counts},
                 {5001, 2000, 100, counts},
                 {-1, 5, 100, counts},
                 {1LL << 40, 1LL << 40, 100, counts},
                 {3, 2, 0.000999, distance},
                 {3, 2, 1.000001e6, distance},
                 {3, 2, NAN, distance}};
    for (const auto& c : cases) {
        const auto size = checkGridSize(c.NI, c.NJ, c.R, "");
        EXPECT_EQ(refusalOf(size), c.refusal) << c.NI << ":" << c.NJ << ":" << c.R;
        if (c.refusal.empty()) {
            EXPECT_EQ(std::get<GridSize>(size).NI * std::get<GridSize>(size).NJ, c.NI * c.NJ);
            EXPECT_EQ(std::get<GridSize>(size).distance, c.R);
        } else {
            EXPECT_EQ(refusalOf(checkGridSize(c.NI, c.NJ, c.R, "--grid")), "--grid " + c.refusal);
        }
    }
}

TEST(GridOfSection, IsTheConformalGridOrSaysWhyNotNamingTheSectionByItsNumbers) {
    const GridSize size{9, 4, 10};
    const FlowGrid grid = std::get<FlowGrid>(gridOfSection(0.1, 0.05, 1.95, 4, size));
    const FlowGrid same = std::get<FlowGrid>(conformalGrid(0.1, 0.05, 1.95, 4, size));
    EXPECT_EQ(grid.outerRatio, same.outerRatio);
    EXPECT_TRUE(std::equal(grid.psi.begin(), grid.psi.end(), same.psi.begin()));
    EXPECT_EQ(
        refusalOf(gridOfSection(0, 0, 2, 0, {5, 3, 100})),
        "No grid for the section F=0 G=0 m=2: with NI = 5 a node of the surface falls on the sharp leading "
        "edge of the circular arc, where the speed has no finite value; NI = 6 puts none there.");
    EXPECT_EQ(refusalOf(gridOfSection(0.1, 0, 2.5, 0, size))
                  .rfind("The section F=0.1 G=0 m=2.5 cannot be calculated: ", 0),
              0u);
}

TEST(DescribeSection, MeasuresTheSectionOrSaysWhyNotByItsNumbersOrTheNameGiven) {
    const Section section = std::get<Section>(describeSection(0.1, 0.05, 2));
    EXPECT_EQ(section.measures.Delta, measureSection(0.1, 0.05, 2)->Delta);
    EXPECT_EQ(catalogLine(section), "0.1180,0.0227,0.2523,0,0.1,0.05,2");
    const std::string unmeasured =
        " cannot be described: its contour, as the solution gives it, has no extent in x or points beyond "
        "the "
        "range of numbers.";
    EXPECT_EQ(refusalOf(describeSection(1e200, 0, 2)), "The section F=1e+200 G=0 m=2" + unmeasured);
    EXPECT_EQ(refusalOf(describeSection(0.1, 0, 1e-10, "Mine")), "Mine" + unmeasured);
    EXPECT_EQ(refusalOf(describeSection(-0.1, 0, 2)),
              "The section F=-0.1 G=0 m=2 cannot be described: F must be 0 or more.");
}

// The fit of the solver's own points, and the arrays' refusals by index.
TEST(FitSectionToArrays, FitsThePointsAsTheyAreOrSaysWhichIsNoNumber) {
    const Solution s = VORTA(81, 0.1, 0.1, 1.9, 1, 0);
    std::vector<double> x(s.x.begin() + 1, s.x.end()), y(s.y.begin() + 1, s.y.end());
    std::vector<PlanePoint> points;
    for (std::size_t i = 0; i < x.size(); ++i) points.push_back({x[i], y[i]});
    const auto fromArrays = std::get<SectionFit>(fitSectionToArrays(x.size(), x.data(), y.data()));
    const auto fromPoints = std::get<SectionFit>(fitSection(points));
    EXPECT_EQ(fromArrays.section.F, fromPoints.section.F);
    EXPECT_EQ(fromArrays.rmsDistance, fromPoints.rmsDistance);
    EXPECT_NEAR(fromArrays.section.m, 1.9, 1e-9);

    EXPECT_EQ(refusalOf(fitSectionToArrays(40, x.data(), y.data())),
              "Cannot fit the arrays: they hold 40 points; a fit needs at least 41.");
    EXPECT_EQ(refusalOf(fitSectionToArrays(5001, x.data(), y.data())),
              "Cannot fit the arrays: they hold more than 5000 points.");
    const std::vector<double> same(41, 0.5);
    EXPECT_EQ(refusalOf(fitSectionToArrays(41, same.data(), same.data())),
              "Cannot fit the arrays: the points do not outline a section: its leading and trailing edges "
              "coincide.");
    y[7] = -INFINITY;
    EXPECT_EQ(refusalOf(fitSectionToArrays(x.size(), x.data(), y.data())),
              "Cannot fit the arrays: y[7] is -inf; the points must be finite numbers.");
}

// The arrays compare as the same numbers written in a file do, points named by index.
TEST(CompareFieldArrays, ComparesAsTheFileOfTheSameNumbers) {
    const FlowField field(0.1, 0.05, 2, 4);
    const std::vector<double> x = {0.5, 2, -0.4, 0.5, 1.2}, y = {0.3, 0.1, -0.2, 0.0, 0.5},
                              Cp = {0.1, 0.02, -0.3, 0, 0.07}, psi = {0.3, 0.1, -0.2, 5, 0.5};
    std::istringstream file(
        "x,y,Cp,psi\n0.5,0.3,0.1,0.3\n2,0.1,0.02,0.1\n-0.4,-0.2,-0.3,-0.2\n0.5,0,0,5\n"
        "1.2,0.5,0.07,0.5\n");
    const FieldComparison fromFile =
        compareField(std::get<FieldTable>(readFieldTable(file, "f.csv")), field, "f.csv");
    const auto compared =
        compareFieldArrays(5, x.data(), y.data(), {nullptr, nullptr, Cp.data(), psi.data()}, field);
    const FieldComparison& fromArrays = std::get<FieldComparison>(compared);
    EXPECT_EQ(fromArrays.name, "the arrays");
    EXPECT_EQ(fromArrays.points, 4u);
    EXPECT_EQ(fromArrays.insideLines, std::vector<int>{3});
    EXPECT_FALSE(fromArrays.norms[0]);
    for (std::size_t c : {2, 3}) {
        EXPECT_EQ(fromArrays.norms[c]->L1, fromFile.norms[c]->L1);
        EXPECT_EQ(fromArrays.norms[c]->L2, fromFile.norms[c]->L2);
        EXPECT_EQ(fromArrays.norms[c]->Linf, fromFile.norms[c]->Linf);
    }

    const std::string refused = "Cannot compare the field of the arrays: ";
    const std::array<const double*, 4> onlyCp = {nullptr, nullptr, Cp.data(), nullptr};
    EXPECT_EQ(refusalOf(compareFieldArrays(5, x.data(), y.data(), {}, field)),
              refused + "give one or more of u, v, Cp and psi.");
    EXPECT_EQ(refusalOf(compareFieldArrays(0, x.data(), y.data(), onlyCp, field)),
              refused + "they hold no points.");
    EXPECT_EQ(refusalOf(compareFieldArrays(kMaxFieldPoints + 1, x.data(), y.data(), onlyCp, field)),
              refused + "they hold more than 10000000 points.");
    const std::vector<double> badPsi = {0, 0, NAN, 0, 0};
    EXPECT_EQ(refusalOf(compareFieldArrays(5, x.data(), y.data(),
                                           {nullptr, nullptr, Cp.data(), badPsi.data()}, field)),
              refused + "psi[2] is nan; the points must be finite numbers.");
    EXPECT_EQ(refusalOf(compareFieldArrays(1, x.data() + 3, y.data() + 3, onlyCp, field)),
              "No point of the arrays lies outside the section.");
}

}  // namespace
