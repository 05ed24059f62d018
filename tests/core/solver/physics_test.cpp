// The closed-form coefficients must equal the force and moment of the surface pressure.
#include <gtest/gtest.h>

#include <cmath>

#include "core/solver/solver.h"

using namespace vorta;

namespace {

struct Loads {
    double lift, drag, quarterChordMoment;
};

// Integrates Cp = 1 - Cu over the contour with the trapezoid rule. The points run clockwise
// (trailing edge, lower surface, nose, upper surface), so (-dy, dx) is the outward normal
// of a segment and the pressure force on it is -Cp (-dy, dx).
Loads integratePressure(const Solution& s, int N1, double AlfaD) {
    double fx = 0, fy = 0, moment = 0;
    for (int k = 1; k < N1; ++k) {
        const double cp = 1 - (s.Cu[k] + s.Cu[k + 1]) / 2;
        const double dx = s.x[k + 1] - s.x[k], dy = s.y[k + 1] - s.y[k];
        const double xm = (s.x[k] + s.x[k + 1]) / 2, ym = (s.y[k] + s.y[k + 1]) / 2;
        const double segmentFx = cp * dy, segmentFy = -cp * dx;
        fx += segmentFx;
        fy += segmentFy;
        moment -= (xm - 0.25) * segmentFy - ym * segmentFx;  // nose-up positive
    }
    const double a = AlfaD * Pi / 180;
    return {fy * std::cos(a) - fx * std::sin(a), fx * std::cos(a) + fy * std::sin(a), moment};
}

TEST(Physics, CoefficientsEqualTheIntegratedSurfacePressure) {
    const int N1 = 20001;
    const struct { double F, G, m; } sections[] = {
        {0.1, 0.1, 1.9}, {0.05, 0.08, 1.95}, {0.2, 0.04, 1.85}, {0.1, 0.05, 2}, {0.15, 0, 1.9}};
    for (const auto& section : sections) {
        for (double AlfaD : {-6.0, 0.0, 5.0, 12.0}) {
            const Solution s = VORTA(N1, section.F, section.G, section.m, 1, AlfaD);
            const Loads loads = integratePressure(s, N1, AlfaD);
            SCOPED_TRACE(testing::Message() << "F=" << section.F << " G=" << section.G << " m=" << section.m
                                            << " AlfaD=" << AlfaD);
            EXPECT_NEAR(loads.lift, s.coefficients.CL, 1e-5);
            EXPECT_NEAR(loads.quarterChordMoment, s.coefficients.CMc4, 1e-5);
            EXPECT_NEAR(loads.drag, 0, 1e-5);  // potential flow: no drag
        }
    }
}

// The circular arc at zero incidence, where the flow meets its sharp leading edge head on and
// leaves its trailing edge smoothly: its speeds everywhere are finite and carry its lift. An
// even N1 keeps off the singular nose point.
TEST(Physics, TheCircularArcsPressureCarriesItsLift) {
    const int N1 = 20000;
    for (double G : {0.1, -0.05}) {
        for (double m : {2.0, 1.9}) {
            const Solution s = VORTA(N1, 0, G, m, 1, 0);
            const Loads loads = integratePressure(s, N1, 0);
            SCOPED_TRACE(testing::Message() << "G=" << G << " m=" << m);
            EXPECT_NEAR(loads.lift, s.coefficients.CL, 1e-6);
            EXPECT_NEAR(loads.quarterChordMoment, s.coefficients.CMc4, 1e-6);
            EXPECT_NEAR(loads.drag, 0, 1e-6);
        }
    }
}

TEST(Physics, LiftVanishesAtTheZeroLiftAngle) {
    const Solution s = VORTA(51, 0.1, 0.1, 1.9, 1, 0);
    const Solution atZeroLift = VORTA(51, 0.1, 0.1, 1.9, 1, s.coefficients.Alfa0);
    EXPECT_NEAR(atZeroLift.coefficients.CL, 0, 1e-14);
}

}  // namespace
