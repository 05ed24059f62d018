// Matching another code's pressure distribution to the exact solution on the surface each
// point truly lies on, and writing the comparison. Reading the file is tested in
// pressure_table_test.cpp; what Python makes of a comparison, and a hand-computed Joukowsky
// distribution, in tests/tools.
#include "core/studies/pressure_compare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "core/solver/solver.h"
#include "core/studies/surface_runs.h"

using namespace vorta;

namespace {

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

struct Section {
    const char* name;
    double F, G, m, AlfaD;
};

// The sample catalog's kinds and the sections that are hard to place.
const Section kSections[] = {
    {"symmetric Joukowsky", 0.1, 0, 2, 4},        {"cambered Joukowsky", 0.1, 0.05, 2, 4},
    {"Karman-Trefftz", 0.1, 0.1, 1.9, 5},         {"symmetric Karman-Trefftz", 0.06, 0, 1.95, 3},
    {"circular arc F = 0", 0, 0.1, 2, 3},         {"F = 1e-6", 1e-6, 0.1, 2, 3},
    {"m near 1, past x = 1", 0.3, 0.2, 1.01, 5},  {"G < 0", 0.1, -0.1, 1.9, -4},
    {"symmetric at 0 degrees", 0.06, 0, 1.95, 0},
};

// Where the exact Cp is the same on both surfaces, and either is right.
bool sameOnBoth(const Section& section) { return section.G == 0 && section.AlfaD == 0; }

// A point of the solver's own contour, with its arc parameter s (0 to 2 Pi from the trailing
// edge over the upper surface) and the surface it lies on.
struct OwnPoint {
    double s;
    MeasuredPoint point;
};

class OwnContour {
public:
    OwnContour(const Section& section, int N1) : surface_(section.F, section.G, section.m, 1, section.AlfaD) {
        for (int i = 0; i < N1; ++i) {
            const double s = 2 * Pi * i / (N1 - 1);
            const SurfacePoint p = surface_.at(s <= Pi ? s : s - 2 * Pi);
            points_.push_back({s, {0, p.x, p.y, 1 - p.Cu, std::nullopt}});
        }
        findLeadingEdge();
    }

    // The true surface, by the leftmost point of the contour found here by a search of its own;
    // no value at the trailing edge and the nose, which lie on both.
    std::optional<Surface> surfaceOf(double s) const {
        if (s == 0 || s == 2 * Pi || std::fabs(s - leadingS_) < 1e-6) return std::nullopt;
        return s < leadingS_ ? Surface::Upper : Surface::Lower;
    }

    std::vector<OwnPoint> upperFromNose() const {
        std::vector<OwnPoint> upper;
        for (auto p = points_.rbegin(); p != points_.rend(); ++p) {
            if (p->s <= leadingS_) upper.push_back(*p);
        }
        return upper;
    }
    std::vector<OwnPoint> lowerFromNose() const {
        std::vector<OwnPoint> lower;
        for (const OwnPoint& p : points_) {
            if (p.s > leadingS_) lower.push_back(p);
        }
        return lower;
    }
    const std::vector<OwnPoint>& all() const { return points_; }

    Comparison compare(std::vector<OwnPoint>& file, bool withHeights) const {
        std::vector<MeasuredPoint> measured;
        for (std::size_t k = 0; k < file.size(); ++k) {
            file[k].point.line = static_cast<int>(k + 1);
            measured.push_back(file[k].point);
            if (!withHeights) measured.back().y.reset();
        }
        const auto exact = [this](double Theta) {
            const SurfacePoint p = surface_.at(Theta);
            return ExactPoint{p.x, p.y, 1 - p.Cu};
        };
        return comparePressure(measured, exact, 1 - surface_.at(0).Cu);
    }

private:
    void findLeadingEdge() {
        const int n = 20000;
        int best = 1;
        const auto x = [&](double s) { return surface_.at(s <= Pi ? s : s - 2 * Pi).x; };
        for (int j = 1; j < n; ++j) {
            if (x(2 * Pi * j / n) < x(2 * Pi * best / n)) best = j;
        }
        double low = 2 * Pi * (best - 1) / n, high = 2 * Pi * (best + 1) / n;
        for (int step = 0; step < 200 && high - low > 1e-15; ++step) {
            const double a = low + (high - low) / 3, b = high - (high - low) / 3;
            if (x(a) < x(b)) {
                high = b;
            } else {
                low = a;
            }
        }
        leadingS_ = (low + high) / 2;
    }

    SectionSurface surface_;
    std::vector<OwnPoint> points_;
    double leadingS_ = Pi;
};

enum class Order { Own, Xfoil, UpperThenLower, LowerThenUpper, UpperAlone, LowerAlone };
const char* kOrderNames[] = {"own",         "XFOIL",      "upper then lower", "lower then upper",
                             "upper alone", "lower alone"};

std::vector<OwnPoint> inOrder(const OwnContour& contour, Order order) {
    std::vector<OwnPoint> upper = contour.upperFromNose(), lower = contour.lowerFromNose(), file;
    const auto append = [&](std::vector<OwnPoint> part, bool reversed) {
        if (reversed) std::reverse(part.begin(), part.end());
        file.insert(file.end(), part.begin(), part.end());
    };
    switch (order) {
        case Order::Own:
            append(contour.all(), true);
            break;
        case Order::Xfoil:
            append(contour.all(), false);
            break;
        case Order::UpperThenLower:
            append(upper, false), append(lower, false);
            break;
        case Order::LowerThenUpper:
            append(lower, false), append(upper, false);
            break;
        case Order::UpperAlone:
            append(upper, false);
            break;
        case Order::LowerAlone:
            append(lower, true);
            break;
    }
    return file;
}

// Every point is compared on the surface it came from, at its own Cp; only points whose Cp is
// beyond 1e6 (the noses of F = 0 and F = 1e-6) are skipped. Runs are said only without y, or
// where y does not part the surfaces (the arc).
TEST(ComparePressure, EveryPointLandsOnItsTrueSurfaceInEveryOrder) {
    for (const Section& section : kSections) {
        const OwnContour contour(section, 161);
        for (int o = 0; o <= static_cast<int>(Order::LowerAlone); ++o) {
            for (bool withHeights : {false, true}) {
                std::vector<OwnPoint> file = inOrder(contour, static_cast<Order>(o));
                const Comparison result = contour.compare(file, withHeights);
                const std::string where =
                    std::string(section.name) + ", " + kOrderNames[o] + (withHeights ? ", y" : "");
                EXPECT_EQ(result.undecidedPoints, 0u) << where;
                EXPECT_EQ(result.rows.size() + result.skipped.size(), file.size()) << where;
                for (const SkippedPoint& skipped : result.skipped) {
                    EXPECT_GT(std::fabs(file[static_cast<std::size_t>(skipped.line - 1)].point.Cp), 1e6)
                        << where;
                }
                for (const ComparedPoint& row : result.rows) {
                    const OwnPoint& own = file[static_cast<std::size_t>(row.line - 1)];
                    EXPECT_NEAR(row.CpExact, row.CpFile, 1e-9) << where << ", line " << row.line;
                    const auto truth = contour.surfaceOf(own.s);
                    if (truth && !sameOnBoth(section)) {
                        EXPECT_EQ(row.surface, *truth) << where << ", line " << row.line;
                    }
                }
                for (const RunDecision& run : result.runs) {
                    EXPECT_EQ(run.verdict, sameOnBoth(section) ? RunVerdict::SameOnBoth : RunVerdict::Fits)
                        << where;
                }
                EXPECT_EQ(result.runs.empty(), withHeights && section.F != 0) << where;
            }
        }
    }
}

// A file long enough to be placed on two threads, with and without y, in two orders.
TEST(ComparePressure, ALongFileLandsOnItsTrueSurfacesToo) {
    const OwnContour contour(kSections[2], 40001);
    for (Order order : {Order::Own, Order::UpperThenLower}) {
        for (bool withHeights : {false, true}) {
            std::vector<OwnPoint> file = inOrder(contour, order);
            const Comparison result = contour.compare(file, withHeights);
            ASSERT_EQ(result.rows.size(), file.size());
            std::size_t wrong = 0;
            for (const ComparedPoint& row : result.rows) {
                const auto truth = contour.surfaceOf(file[static_cast<std::size_t>(row.line - 1)].s);
                if ((truth && row.surface != *truth) || !(std::fabs(row.CpExact - row.CpFile) < 1e-9))
                    ++wrong;
            }
            EXPECT_EQ(wrong, 0u) << withHeights;
        }
    }
}

std::vector<OwnPoint> sortedByX(const OwnContour& contour) {
    std::vector<OwnPoint> file = contour.all();
    std::stable_sort(file.begin(), file.end(),
                     [](const OwnPoint& a, const OwnPoint& b) { return a.point.x < b.point.x; });
    return file;
}

// Sorted by x, both surfaces form one run: without y (or on the arc, where y does not part
// them) it is refused, unless the surfaces have the same Cp; with y each point finds its own.
TEST(ComparePressure, AFileSortedByXHoldingBothSurfacesIsRefusedWithoutY) {
    for (const Section& section : kSections) {
        const OwnContour contour(section, 81);
        for (bool withHeights : {false, true}) {
            std::vector<OwnPoint> file = sortedByX(contour);
            const Comparison result = contour.compare(file, withHeights);
            const bool refused = !sameOnBoth(section) && (!withHeights || section.F == 0);
            EXPECT_EQ(undecidedRefusal(result, {"cp.txt"}, ".").has_value(), refused)
                << section.name << withHeights;
            if (sameOnBoth(section) && !withHeights) {
                ASSERT_EQ(result.runs.size(), 1u);
                EXPECT_EQ(result.runs[0].verdict, RunVerdict::SameOnBoth);
            }
        }
    }
}

// One wild point, or an error all along, does not swing a run; a surface column decides
// wherever it is given, even against the Cp.
TEST(ComparePressure, ARunIsDecidedByAllOfItsPointsAndAColumnByItself) {
    const OwnContour contour(kSections[2], 161);
    std::vector<OwnPoint> file = inOrder(contour, Order::Xfoil);
    for (std::size_t k = 0; k < file.size(); ++k)
        file[k].point.Cp += 0.02 * std::sin(0.7 * static_cast<double>(k));
    file[5].point.Cp = 3;
    file[100].point.Cp = -4;
    Comparison result = contour.compare(file, false);
    ASSERT_EQ(result.runs.size(), 2u);
    EXPECT_EQ(result.runs[0].surface, Surface::Upper);
    EXPECT_EQ(result.runs[1].surface, Surface::Lower);

    file = sortedByX(contour);
    for (OwnPoint& p : file) p.point.surface = contour.surfaceOf(p.s).value_or(Surface::Upper);
    file[40].point.surface = file[40].point.surface == Surface::Upper ? Surface::Lower : Surface::Upper;
    result = contour.compare(file, false);
    EXPECT_TRUE(result.runs.empty());
    ASSERT_EQ(result.rows.size(), file.size());
    for (const ComparedPoint& row : result.rows) EXPECT_EQ(row.surface, file[row.line - 1].point.surface);
}

// A run whose Cp is not twice as close to one surface is refused, saying what to add.
TEST(ComparePressure, ARunThatFitsNeitherSurfaceClearlyIsRefused) {
    const OwnContour contour({"nearly symmetric", 0.1, 0, 2, 0.3}, 41);
    std::vector<OwnPoint> file = contour.upperFromNose();
    for (std::size_t k = 0; k < file.size(); ++k) file[k].point.Cp += k % 2 ? 0.05 : -0.05;
    const Comparison result = contour.compare(file, false);
    ASSERT_EQ(result.runs.size(), 1u);
    EXPECT_EQ(result.runs[0].verdict, RunVerdict::Undecided);
    EXPECT_EQ(result.undecidedPoints, file.size());
    const std::string message = undecidedRefusal(result, {"cp.txt"}, ",")->message;
    EXPECT_EQ(message.rfind("Cannot compare with cp.txt: the Cp of lines 1 to 21 (x ", 0), 0u) << message;
    EXPECT_NE(message.find(" does not tell which surface it lies on: median |dCp| 0,0"), std::string::npos)
        << message;
    EXPECT_NE(
        message.find(", neither twice as close as the other. Add y (lines of x y Cp), or a column named "
                     "surface that says upper or lower."),
        std::string::npos)
        << message;

    std::vector<OwnPoint> two(file.begin() + 5, file.begin() + 7);
    const Comparison few = contour.compare(two, false);
    ASSERT_EQ(few.runs.size(), 1u);
    EXPECT_EQ(few.runs[0].verdict, RunVerdict::TooFew);
    EXPECT_NE(undecidedRefusal(few, {"cp.txt"}, ".")->message.find(": 2 points are too few to tell. Add y"),
              std::string::npos);
}

TEST(SurfaceRuns, SplitWhereXTurnsOrJumps) {
    const auto ends = [](const std::vector<double>& x) {
        std::vector<std::size_t> out;
        for (const vorta::Run& run : monotoneRuns(x, 0.5)) out.push_back(run.end);
        return out;
    };
    using Ends = std::vector<std::size_t>;
    EXPECT_EQ(ends({1, 0.5, 0, 0.5, 1}), (Ends{3, 5}));     // XFOIL: the nose ends the first run
    EXPECT_EQ(ends({0, 0.5, 1, 0, 0.5, 1}), (Ends{3, 6}));  // upper, then lower, from the nose
    EXPECT_EQ(ends({0, 0.3, 0.7, 1.004, 1.002, 1, 0, 0.3}), (Ends{4, 6, 8}));  // back from a bulge, a jump
    EXPECT_EQ(ends({0.2, 0.2, 0.3}), (Ends{3}));
    std::vector<double> x = {1, 1.003, 1.004, 1.002, 0.6, 0.2, 0, 0.5, 1};
    std::vector<vorta::Run> runs = monotoneRuns(x, 0.5);
    groupRuns(runs, x, {true, true, true, true, false, false, false, false, true}, 0.5);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_TRUE(runs[0].returning);
    EXPECT_EQ(runs[0].group, runs[1].group);
    EXPECT_NE(runs[1].group, runs[2].group);
}

TEST(ComparePressure, SkipsPointsOffTheSectionAndSingularOnes) {
    const OwnContour arc(kSections[4], 11);
    std::vector<OwnPoint> file = {{0, {0, 1.2, 0.0, 0.1, Surface::Upper}},
                                  {0, {0, 0, 0, 0.3, Surface::Upper}},
                                  {0, {0, 0.5, 0.05, -2e6, Surface::Lower}},
                                  {0, {0, 0.5, 0.05, -0.5, Surface::Lower}}};
    const Comparison result = arc.compare(file, true);
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0].line, 4);
    ASSERT_EQ(result.skipped.size(), 3u);
    EXPECT_EQ(result.skipped[0].why, "x lies outside the section's chord; skipped");
    EXPECT_EQ(result.skipped[1].why,
              "the exact solution is singular here (|Cp| beyond 1e6 at a sharp leading edge); skipped");
    EXPECT_EQ(result.skipped[2].why,
              "its Cp, beyond 1e6 in size, is refused as no pressure coefficient; skipped");
}

TEST(ComparePressure, WritesRowsInFullAndASummaryToSixDigits) {
    Comparison comparison;
    comparison.rows = {{2, 0.5, Surface::Upper, -0.5, -0.86418}, {3, 0.25, Surface::Lower, 0.1, 0.1}};
    std::string text;
    const ByteSink collect = [&](std::string_view block) {
        text.append(block);
        return 0;
    };
    writeComparison(ComparisonFormat::Csv, comparison, ",", collect);
    EXPECT_EQ(text,
              "x,surface,Cp_file,Cp_exact,dCp\r\n0.5,upper,-0.5,-0.86418,0.36417999999999995\r\n"
              "0.25,lower,0.1,0.1,0\r\n");
    EXPECT_EQ(comparisonSummary(comparison, ","),
              "2 points compared; largest |dCp| 0,364180 at x 0,500000 (upper); rms dCp 0,257514");

    RunDecision run{2, 81, 1, 0.0001, RunVerdict::Fits, Surface::Lower, 1.5, 0.0125, 80, 0, 79};
    EXPECT_EQ(
        runNote(run, {"cp.txt"}, "."),
        "cp.txt: lines 2 to 81 (x 1.00000 to 0.000100000): taken as the lower surface, which its Cp fits at "
        "least twice as closely (median |dCp| 1.50000 against the upper surface, 0.0125000 against the "
        "lower).");
    run.verdict = RunVerdict::SameOnBoth;
    EXPECT_EQ(
        runNote(run, {"cp.txt"}, "."),
        "cp.txt: lines 2 to 81 (x 1.00000 to 0.000100000): taken as the lower surface; the exact Cp is the "
        "same on both surfaces there (a symmetric section at zero incidence), so either way is right.");
}

}  // namespace
