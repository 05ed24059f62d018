// The conformal O-grid against independent references: its surface ring against the solver's
// surface, its nodes against the field at their points, its cells against the polar grid of the
// circle plane, and its outer ring against a far denser distance to the solver's surface.
#include "core/studies/grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "core/solver/flow_field.h"
#include "core/solver/solver.h"

using namespace vorta;

namespace {

struct Section {
    double F, G, m;
};

// A Joukowsky section, Karman-Trefftz ones with thin and thick trailing edges, a thin symmetric
// one, and a circular arc.
const Section kSections[] = {{0.1, 0.05, 2}, {0.1, 0.1, 1.9}, {0.3, 0.2, 1.5}, {0.02, 0, 2}, {0, 0.1, 2}};

std::string nameOf(const Section& s) {
    return "F " + std::to_string(s.F) + " G " + std::to_string(s.G) + " m " + std::to_string(s.m);
}

FlowGrid gridOf(const Section& s, double AlfaD, GridSize size) {
    auto grid = conformalGrid(s.F, s.G, s.m, AlfaD, size);
    if (const auto* reason = std::get_if<std::string>(&grid)) ADD_FAILURE() << *reason;
    return std::get<FlowGrid>(std::move(grid));
}

double relativeGap(double value, double reference) {
    return std::abs(value - reference) / std::max(1.0, std::abs(reference));
}

// Ring 0 is the solver's own surface: each node is the surface point at the polar angle (about
// the origin of the circle plane) of its circle point, and psi is 0 there exactly.
TEST(ConformalGrid, RingZeroIsTheSolversSurfaceWithPsiZero) {
    constexpr int NI = 41;
    for (const Section& s : kSections) {
        for (double AlfaD : {-3.0, 4.0}) {
            SCOPED_TRACE(nameOf(s) + " at " + std::to_string(AlfaD));
            const FlowGrid grid = gridOf(s, AlfaD, {NI, 3, 10});
            const SectionSurface surface(s.F, s.G, s.m, 1, AlfaD);
            const double R = std::hypot(1 + s.F, s.G), trailingEdge = std::atan2(-s.G, 1 + s.F);
            EXPECT_EQ(grid.x[0], 1);
            EXPECT_EQ(grid.y[0], 0);
            for (int i = 1; i < NI - 1; ++i) {
                const double angle = trailingEdge - 2 * Pi * i / (NI - 1);
                const double Theta = std::atan2(s.G + R * std::sin(angle), -s.F + R * std::cos(angle));
                const SurfacePoint point = surface.at(Theta);
                EXPECT_NEAR(grid.x[i], point.x, 1e-13) << "node " << i;
                EXPECT_NEAR(grid.y[i], point.y, 1e-13) << "node " << i;
                EXPECT_LE(relativeGap(grid.Cp[i], 1 - point.Cu), 1e-12) << "node " << i;
                EXPECT_EQ(grid.psi[i], 0) << "node " << i;
            }
        }
    }
}

// Away from the surface every node carries the field at its own point, the last node of each
// ring repeats the first bit for bit, and the rings run clockwise from the trailing edge over the
// lower surface.
TEST(ConformalGrid, NodesCarryTheFieldAtTheirPointsAndEachRingClosesClockwise) {
    constexpr int NI = 25, NJ = 6;
    for (const Section& s : kSections) {
        SCOPED_TRACE(nameOf(s));
        const FlowGrid grid = gridOf(s, 4, {NI, NJ, 10});
        const FlowField field(s.F, s.G, s.m, 4);
        for (int j = 0; j < NJ; ++j) {
            const std::size_t first = static_cast<std::size_t>(j) * NI, last = first + NI - 1;
            for (const PointArray* values : {&grid.x, &grid.y, &grid.u, &grid.v, &grid.Cp, &grid.psi})
                EXPECT_EQ(std::memcmp(&(*values)[first], &(*values)[last], sizeof(double)), 0)
                    << "ring " << j;
            double twiceArea = 0;
            for (std::size_t k = first; k < last; ++k)
                twiceArea += grid.x[k] * grid.y[k + 1] - grid.x[k + 1] * grid.y[k];
            if (s.F > 0 || j > 0) {
                EXPECT_LT(twiceArea, 0) << "ring " << j;
            }
            if (j == 0) continue;
            for (std::size_t k = first; k < last; ++k) {
                const auto values = field.at(grid.x[k], grid.y[k]);
                ASSERT_TRUE(values) << "node " << k;
                EXPECT_LE(relativeGap(grid.u[k], values->u), 1e-12) << "node " << k;
                EXPECT_LE(relativeGap(grid.v[k], values->v), 1e-12) << "node " << k;
                EXPECT_LE(relativeGap(grid.Cp[k], values->Cp), 1e-12) << "node " << k;
                EXPECT_LE(relativeGap(grid.psi[k], values->psi), 1e-11) << "node " << k;
            }
        }
        EXPECT_LT(grid.y[NI + 1], grid.y[2 * NI - 2]);  // ring 1 starts below the section
    }
}

// The worst cell more than 0.05 chords from the trailing edge, against the polar cell it comes
// from: the angle between its mid-lines, 90 degrees in the circle plane, and the ratio of their
// lengths, tanh(dr/2)/tan(dTheta/2) there with dr the step of ln r.
struct CellShape {
    double angleDegrees = 0, aspect = 0;
};

CellShape worstCell(const FlowGrid& grid) {
    const int NI = grid.NI, NJ = grid.NJ;
    const double circleAspect = std::tanh(std::log(grid.outerRatio) / (NJ - 1) / 2) / std::tan(Pi / (NI - 1));
    CellShape worst;
    for (int j = 0; j + 1 < NJ; ++j) {
        for (int i = 0; i + 1 < NI; ++i) {
            const std::size_t k00 = static_cast<std::size_t>(j) * NI + i, k10 = k00 + 1, k01 = k00 + NI,
                              k11 = k01 + 1;
            const double ax = grid.x[k10] + grid.x[k11] - grid.x[k00] - grid.x[k01];
            const double ay = grid.y[k10] + grid.y[k11] - grid.y[k00] - grid.y[k01];
            const double bx = grid.x[k01] + grid.x[k11] - grid.x[k00] - grid.x[k10];
            const double by = grid.y[k01] + grid.y[k11] - grid.y[k00] - grid.y[k10];
            const double centreX = (grid.x[k00] + grid.x[k10] + grid.x[k01] + grid.x[k11]) / 4;
            const double centreY = (grid.y[k00] + grid.y[k10] + grid.y[k01] + grid.y[k11]) / 4;
            if (std::hypot(centreX - 1, centreY) <= 0.05) continue;
            const double angle = std::atan2(std::abs(ax * by - ay * bx), ax * bx + ay * by) * 180 / Pi;
            worst.angleDegrees = std::max(worst.angleDegrees, std::abs(angle - 90));
            worst.aspect =
                std::max(worst.aspect, std::abs(std::hypot(bx, by) / std::hypot(ax, ay) / circleAspect - 1));
        }
    }
    return worst;
}

// A conformal mapping keeps the polar cells' shape up to the mapping's curvature across a cell:
// at NI = 129 within 0.1 degrees and 0.25%, and less than half of that at twice the NI.
TEST(ConformalGrid, CellsAwayFromTheTrailingEdgeKeepTheShapeOfThePolarCells) {
    for (const Section& s : kSections) {
        if (s.F == 0) continue;  // the sharp leading edge of the arc is singular too
        SCOPED_TRACE(nameOf(s));
        const double outerRatio = gridOf(s, 4, {65, 2, 100}).outerRatio;
        CellShape shapes[2];
        for (int n : {0, 1}) {
            const int NI = n == 0 ? 65 : 129;
            const int NJ = squareCellRings(NI, outerRatio);
            EXPECT_NEAR(std::log(outerRatio) / (NJ - 1), 2 * Pi / (NI - 1), Pi / (NI - 1) / (NJ - 1));
            shapes[n] = worstCell(gridOf(s, 4, {NI, NJ, 100}));
        }
        EXPECT_LT(shapes[1].angleDegrees, 0.1);
        EXPECT_LT(shapes[1].aspect, 0.0025);
        EXPECT_LT(shapes[1].angleDegrees, 0.5 * shapes[0].angleDegrees);
        EXPECT_LT(shapes[1].aspect, 0.5 * shapes[0].aspect);
    }
}

struct Point {
    double x, y;
};

// The least distance between two polygons that do not cross, which is that of a corner of one
// of them to a side of the other.
double polygonDistance(const std::vector<Point>& a, const std::vector<Point>& b) {
    const auto fromCorners = [](const std::vector<Point>& corners, const std::vector<Point>& sides) {
        double nearest = INFINITY;
        for (const Point& p : corners) {
            for (std::size_t k = 1; k < sides.size(); ++k) {
                const Point s = sides[k - 1], e = sides[k];
                const double dx = e.x - s.x, dy = e.y - s.y;
                const double t =
                    std::clamp(((p.x - s.x) * dx + (p.y - s.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                const double ex = p.x - s.x - t * dx, ey = p.y - s.y - t * dy;
                nearest = std::min(nearest, ex * ex + ey * ey);
            }
        }
        return std::sqrt(nearest);
    };
    return std::min(fromCorners(a, b), fromCorners(b, a));
}

// The outer ring's nearest point lies R chords from the solver's surface, taken at 512 points.
TEST(ConformalGrid, TheOuterRingsNearestPointLiesRChordsFromTheSection) {
    constexpr int NI = 512;
    for (const Section& s : kSections) {
        const SectionSurface surface(s.F, s.G, s.m, 1, 0);
        std::vector<Point> section(NI + 1);
        for (int k = 0; k <= NI; ++k) {
            const SurfacePoint p = surface.at(-Pi + 2 * Pi * k / NI);
            section[k] = {p.x, p.y};
        }
        for (double R : {0.01, 1.0, 1e6}) {
            SCOPED_TRACE(nameOf(s) + " R " + std::to_string(R));
            const FlowGrid grid = gridOf(s, 0, {NI, 2, R});
            std::vector<Point> outer(NI);
            for (int i = 0; i < NI; ++i) outer[i] = {grid.x[NI + i], grid.y[NI + i]};
            EXPECT_NEAR(polygonDistance(outer, section), R, 0.01 * R);
        }
    }
}

TEST(ConformalGrid, ANodeOnTheArcsSharpLeadingEdgeIsRefusedWithAnNIThatAvoidsIt) {
    const struct {
        double G;
        int NI;
        const char* other;
    } cases[] = {{0, 5, "6"}, {0, 101, "102"}, {1, 9, "10"}, {1, 17, "18"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.NI);
        const auto grid = conformalGrid(0, c.G, 2, 4, {c.NI, 3, 10});
        ASSERT_TRUE(std::holds_alternative<std::string>(grid));
        EXPECT_EQ(
            std::get<std::string>(grid),
            "with NI = " + std::to_string(c.NI) +
                " a node of the surface falls on the sharp leading edge of the circular arc, where the speed "
                "has no finite value; NI = " +
                c.other + " puts none there.");
    }
    for (int NI : {4, 6, 100})
        EXPECT_TRUE(std::holds_alternative<FlowGrid>(conformalGrid(0, 0, 2, 4, {NI, 3, 10})));
    EXPECT_TRUE(std::holds_alternative<FlowGrid>(conformalGrid(0, 0.1, 2, 4, {5, 3, 10})));
}

TEST(ConformalGrid, TheSmallestGridHasFiniteValues) {
    const FlowGrid grid = gridOf({0.1, 0.05, 2}, 4, {kMinGridNI, kMinGridNJ, kMinGridDistance});
    EXPECT_EQ(grid.nodeCount(), 6u);
    for (const PointArray* values : {&grid.x, &grid.y, &grid.u, &grid.v, &grid.Cp, &grid.psi})
        EXPECT_TRUE(std::all_of(values->begin(), values->end(), [](double v) { return std::isfinite(v); }));
    EXPECT_EQ(squareCellRings(3, 1.0001), 2);
    EXPECT_EQ(squareCellRings(257, std::exp(2 * Pi)), 257);
}

}  // namespace
