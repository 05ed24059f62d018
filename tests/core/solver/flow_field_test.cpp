// The flow field against a quad-precision evaluation of the same closed form, and against the
// physics it must obey: the surface solution on the surface, the free stream far away, a stream
// function constant along the surface, and neither divergence nor curl.
#include "core/solver/flow_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "core/solver/solver.h"
#include "support/quad_field.h"
#include "support/quad_solver.h"

using namespace vorta;
using vorta::test::quadFieldAt;
using vorta::test::relativeError;

namespace {

struct Section {
    double F, G, m;
};

const Section kSections[] = {
    {0.1, 0.1, 1.9},    {0.1, 0.05, 2},    {0, 0.1, 2},      {0, 0.1, 1.9}, {1e-6, 0.05, 2},
    {1e-12, 0.05, 1.9}, {0.1, -0.05, 1.9}, {0.3, 0.05, 1.5}, {0.15, 0, 2},  {0.05, 0.2, 1.98},
};
const double kAngles[] = {0, 5, -12};

// Points at the edges of the field: next to the surface and the trailing edge, on y = 0 ahead
// of the nose and behind the trailing edge, far away, and spread about the section.
std::vector<std::pair<double, double>> samplePoints(const Section& s, double AlfaD) {
    std::vector<std::pair<double, double>> points = {
        {-0.5, 0},  {-1e-3, 0}, {-1e-8, 0},  {1 + 1e-9, 0}, {1 + 1e-6, 1e-9}, {1.5, 0},      {1.5, -1e-12},
        {1e6, 1e6}, {-1e6, 3},  {2e5, -7e5}, {0.5, 0.3},    {0.5, -0.3},      {1.001, 1e-3}, {-0.01, 0.02},
    };
    const SectionSurface surface(s.F, s.G, s.m, 1, AlfaD);
    for (double Theta : {0.01, 0.5, 1.5, 3.0, 3.14, -0.01, -0.5, -1.5, -3.0, -3.14}) {
        const SurfacePoint p = surface.at(Theta);
        for (double offset : {1e-6, 1e-3, 0.1}) {
            points.emplace_back(p.x * (1 + offset) - offset * 0.3,
                                p.y * (1 + 3 * offset) + (p.y >= 0 ? offset : -offset));
        }
    }
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> x(-2, 3), y(-2, 2);
    for (int i = 0; i < 200; ++i) points.emplace_back(x(random), y(random));
    return points;
}

// The scalar evaluation and the widest vector path, each against quad precision.
TEST(FlowField, AgreesWithQuadPrecisionEverywhereOutsideTheSection) {
    double worst = 0;
    for (const Section& s : kSections) {
        for (double AlfaD : kAngles) {
            const FlowField field(s.F, s.G, s.m, AlfaD);
            const double Alfa = AlfaD * Pi / 180;
            const auto points = samplePoints(s, AlfaD);
            const std::size_t n = points.size();
            std::vector<double> x(n), y(n), u(n), v(n), Cp(n), psi(n);
            for (std::size_t i = 0; i < n; ++i) std::tie(x[i], y[i]) = points[i];
            field.evaluate(n, x.data(), y.data(), u.data(), v.data(), Cp.data(), psi.data());
            for (std::size_t i = 0; i < n; ++i) {
                const auto value = field.at(x[i], y[i]);
                const auto exact = quadFieldAt(s.F, s.G, s.m, Alfa, x[i], y[i], 1e-20);
                if (!exact) {
                    // Well inside, no value; within the tolerance of the surface, either.
                    if (!quadFieldAt(s.F, s.G, s.m, Alfa, x[i], y[i], 1e-6)) {
                        EXPECT_FALSE(value) << x[i] << ' ' << y[i];
                        EXPECT_TRUE(std::isnan(u[i])) << x[i] << ' ' << y[i];
                    }
                    continue;
                }
                ASSERT_TRUE(value) << s.F << ' ' << s.G << ' ' << s.m << " at " << x[i] << ' ' << y[i];
                const double errors[] = {
                    relativeError(value->u, exact->u),   relativeError(value->v, exact->v),
                    relativeError(value->Cp, exact->Cp), relativeError(value->psi, exact->psi),
                    relativeError(u[i], exact->u),       relativeError(v[i], exact->v),
                    relativeError(Cp[i], exact->Cp),     relativeError(psi[i], exact->psi)};
                for (double error : errors) {
                    EXPECT_LE(error, 1e-13) << "F " << s.F << " G " << s.G << " m " << s.m << " AlfaD "
                                            << AlfaD << " at " << x[i] << ' ' << y[i];
                    worst = std::max(worst, error);
                }
            }
        }
    }
    std::printf("largest error against quad precision: %.3g\n", worst);
}

// On the surface the field is the surface solution, and psi vanishes there; the circle-plane
// nodes of the surface say the same.
TEST(FlowField, OnTheSurfaceIsTheSurfaceSolution) {
    for (const Section& s : kSections) {
        for (double AlfaD : kAngles) {
            const FlowField field(s.F, s.G, s.m, AlfaD);
            const SectionSurface surface(s.F, s.G, s.m, 1, AlfaD);
            for (int i = 1; i < 64; ++i) {
                const double Theta = -Pi + 2 * Pi * i / 64;
                const SurfacePoint p = surface.at(Theta);
                const auto value = field.at(p.x, p.y);
                ASSERT_TRUE(value) << s.F << ' ' << s.G << ' ' << s.m << " Theta " << Theta;
                EXPECT_NEAR(value->psi, 0, 1e-12) << s.F << ' ' << s.m << ' ' << Theta;
                if (s.F == 0) continue;  // a point of the arc lies on both its sides, of either speed
                EXPECT_NEAR(value->Cp, 1 - p.Cu, 1e-9 * std::max(1.0, p.Cu))
                    << s.F << ' ' << s.m << ' ' << Theta;

                const FlowField::Node node =
                    field.atCirclePoint(field.circleRadius(), field.trailingEdgeAngle() - Theta);
                EXPECT_EQ(node.values.psi, 0);
                const auto there = field.at(node.x, node.y);
                ASSERT_TRUE(there) << node.x << ' ' << node.y;
                EXPECT_NEAR(there->Cp, node.values.Cp, 1e-9 * std::max(1.0, std::fabs(node.values.Cp)))
                    << s.F << " " << s.G << " " << s.m << " " << AlfaD << " at " << node.x << " " << node.y;
            }
        }
    }
}

// Far away the flow is the free stream; everywhere it is free of divergence and curl, and psi
// is its stream function.
TEST(FlowField, IsAPotentialFlowWithTheFreeStreamFarAway) {
    const double h = 1e-5;
    for (const Section& s : kSections) {
        for (double AlfaD : kAngles) {
            const FlowField field(s.F, s.G, s.m, AlfaD);
            const double Alfa = AlfaD * Pi / 180;
            for (double angle = 0; angle < 2 * Pi; angle += 0.7) {
                const auto far = field.at(1e6 * std::cos(angle), 1e6 * std::sin(angle));
                ASSERT_TRUE(far);
                EXPECT_NEAR(far->u, std::cos(Alfa), 1e-5);
                EXPECT_NEAR(far->v, std::sin(Alfa), 1e-5);
            }
            for (const auto& [x, y] : std::vector<std::pair<double, double>>{
                     {-0.3, 0.1}, {0.5, 0.4}, {0.5, -0.4}, {1.3, 0.05}, {1.2, -0.2}, {-1, -1}, {3, 2}}) {
                const auto at = [&](double dx, double dy) { return *field.at(x + dx, y + dy); };
                const double divergence = (at(h, 0).u - at(-h, 0).u + at(0, h).v - at(0, -h).v) / (2 * h);
                const double curl = (at(h, 0).v - at(-h, 0).v - at(0, h).u + at(0, -h).u) / (2 * h);
                EXPECT_NEAR(divergence, 0, 1e-6) << x << ' ' << y;
                EXPECT_NEAR(curl, 0, 1e-6) << x << ' ' << y;
                EXPECT_NEAR(at(0, 0).u, (at(0, h).psi - at(0, -h).psi) / (2 * h), 1e-7) << x << ' ' << y;
                EXPECT_NEAR(at(0, 0).v, -(at(h, 0).psi - at(-h, 0).psi) / (2 * h), 1e-7) << x << ' ' << y;
            }
        }
    }
}

// Inside the section there is no flow, but within the tolerance of its surface there is; the
// circular arc's two sides are told by the side of the point.
TEST(FlowField, InsideTheSectionHasNoValuesBeyondTheTolerance) {
    const FlowField thick(0.1, 0.05, 2, 4);
    const SectionSurface surface(0.1, 0.05, 2, 1, 4);
    const SurfacePoint upper = surface.at(Pi / 2), lower = surface.at(-Pi / 2);
    const double middle = (upper.y + lower.y) / 2;
    EXPECT_FALSE(thick.at(upper.x, middle));
    EXPECT_FALSE(thick.at(upper.x, upper.y - 1e-6));
    EXPECT_TRUE(thick.at(upper.x, upper.y - 1e-11));
    EXPECT_TRUE(thick.at(upper.x, upper.y + 1e-11));

    const FlowField arc(0, 0.1, 2, 4);
    const SectionSurface arcSurface(0, 0.1, 2, 1, 4);
    const SurfacePoint top = arcSurface.at(Pi / 3), bottom = arcSurface.at(-Pi / 3);
    ASSERT_NEAR(top.x, bottom.x, 0.1);
    const auto above = arc.at(top.x, top.y + 1e-12);
    ASSERT_TRUE(above);
    EXPECT_NEAR(above->Cp, 1 - top.Cu, 1e-6);
    const auto below = arc.at(bottom.x, bottom.y - 1e-12);
    ASSERT_TRUE(below);
    EXPECT_NEAR(below->Cp, 1 - bottom.Cu, 1e-6);
    EXPECT_FALSE(arc.at(0, 0));  // the arc's sharp leading edge
}

// Every vector path, on one thread or shared among two, gives each point what the scalar at()
// gives it, to a few units of the last place, and no value exactly where it has none.
TEST(FlowField, EveryPathAgreesWithTheScalarEvaluation) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> spread(-1, 2);
    const std::size_t n = 20011;  // not a multiple of any vector width
    std::vector<double> x(n), y(n), u(n), v(n), Cp(n), psi(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = spread(random);
        y[i] = spread(random) / 4;
    }
    x[5] = 1, y[5] = 0;  // the trailing edge
    for (const Section& s : {kSections[0], kSections[1], kSections[2], kSections[5]}) {
        const FlowField field(s.F, s.G, s.m, 5);
        for (SweepPath path : availablePaths()) {
            for (int threads : {1, 2}) {
                field.evaluate(n, x.data(), y.data(), u.data(), v.data(), Cp.data(), psi.data(), path,
                               threads);
                std::size_t inside = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    const auto one = field.at(x[i], y[i]);
                    if (!one) {
                        ++inside;
                        ASSERT_TRUE(std::isnan(u[i]) && std::isnan(v[i]) && std::isnan(Cp[i]) &&
                                    std::isnan(psi[i]))
                            << pathName(path) << " at " << x[i] << ' ' << y[i];
                        continue;
                    }
                    const double got[] = {u[i], v[i], Cp[i], psi[i]};
                    const double want[] = {one->u, one->v, one->Cp, one->psi};
                    for (int k = 0; k < 4; ++k) {
                        ASSERT_NEAR(got[k], want[k], 1e-13 * std::max(1.0, std::fabs(want[k])))
                            << pathName(path) << " F " << s.F << " at " << x[i] << ' ' << y[i];
                    }
                }
                if (s.F >= 0.1) {
                    EXPECT_GT(inside, 0u);  // thick enough for random points to fall inside
                }
            }
        }
    }
}

}  // namespace
