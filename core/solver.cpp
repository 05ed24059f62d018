#include "core/solver.h"

#include <cmath>

namespace vorta {

namespace {

// The circle in the mapping plane: centre (-F, G), through the singular point (1, 0).
struct Mapping {
    double F, G, m, Chord;
    double A, mA, XShift, Beta, R2, CenterRatio, CenterAngle;
};

Mapping makeMapping(double F, double G, double m, double Chord) {
    Mapping s{F, G, m, Chord, 0, 0, 0, 0, 0, 0, 0};
    s.A = (Chord / (2 * m)) * (1 - std::pow(F / (1 + F), m));
    s.mA = m * s.A;
    s.XShift = m * s.A - Chord;
    s.Beta = std::atan(G / (1 + F));
    s.R2 = (1 + F) * (1 + F) + G * G;
    s.CenterRatio = std::sqrt((F * F + G * G) / s.R2);
    s.CenterAngle = F > 0 ? std::atan(G / F) : 0;
    return s;
}

Coefficients coefficientsOf(const Mapping& s, double Alfa) {
    const double R = std::sqrt(s.R2);
    const double ChordRatio = s.Chord / s.A;
    const double Circ = 4 * Pi * R * s.A * std::sin(Alfa + s.Beta);
    Coefficients c;
    c.CL = 2 * Circ / s.Chord;
    const double CN = std::cos(Alfa) * c.CL;
    const double CM1 = ((4 * (s.m * s.m - 1) / 3) / (ChordRatio * ChordRatio)) * Pi * std::sin(2 * Alfa);
    const double CM2 = (8 * Pi * R / (ChordRatio * ChordRatio)) * (s.F * std::cos(Alfa) - s.G * std::sin(Alfa)) *
                       std::sin(Alfa + s.Beta);
    const double CM0 = CM1 + CM2;
    c.CMc4 = CM0 - CN * (std::fabs(s.XShift) / s.Chord - 0.25);
    c.Alfa0 = -s.Beta * 180 / Pi;
    return c;
}

// The angle of (zeta - 1)/(zeta + 1) for the circle point zeta = r e^(i Theta). Inside the
// unit circle the quotient has a negative real part, so its angle lies beyond +-Pi/2 on
// the side of the point's own half-plane; on the unit circle it is +-Pi/2.
double quotientAngle(double r, double SinT) {
    if (r == 1) return SinT < 0 ? -Pi / 2 : Pi / 2;
    const double angle = std::atan(2 * SinT / (r - 1 / r));
    if (r > 1) return angle;
    return SinT <= 0 ? angle - Pi : angle + Pi;
}

struct SurfacePoint {
    double x, y, Cu;
};

SurfacePoint surfacePoint(const Mapping& s, double Alfa, double Theta) {
    const double SinT = std::sin(Theta), CosT = std::cos(Theta);
    const double P = -s.F * CosT + s.G * SinT;
    const double r = P + std::sqrt(1 + 2 * s.F + P * P);
    const double Dp = std::sqrt(1 + r * r + 2 * r * CosT);
    const double Dm = std::sqrt(1 + r * r - 2 * r * CosT);
    const double Rho = Dm / Dp;
    const double Phi = quotientAngle(r, SinT);
    const double RhoM = std::pow(Rho, s.m);
    const double Rho2M = std::pow(Rho, 2 * s.m);
    const double Den = 1 + Rho2M - 2 * RhoM * std::cos(s.m * Phi);
    const double Xm = s.mA * (1 - Rho2M) / Den;
    const double Ym = 2 * s.mA * RhoM * std::sin(s.m * Phi) / Den;
    const double S = s.CenterRatio * std::sin(Theta + s.CenterAngle);
    const double Omega = std::atan(S / std::sqrt(1 - S * S));
    const double Psi = (Theta - Alfa) - Omega;
    const double DpFactor = 2 * s.m / Dp;
    const double Dz = DpFactor * DpFactor * std::pow(Rho, s.m - 1) / Den;
    const double V = 2 * (std::sin(Alfa + s.Beta) + std::sin(Psi)) / Dz;
    return {Xm - s.XShift, Ym, V * V};
}

}  // namespace

Solution VORTA(int N1, double F, double G, double m, double Chord, double AlfaD) {
    Solution solution;
    solution.x.assign(static_cast<std::size_t>(N1) + 1, 0.0);
    solution.y.assign(static_cast<std::size_t>(N1) + 1, 0.0);
    solution.Cu.assign(static_cast<std::size_t>(N1) + 1, 0.0);

    const Mapping s = makeMapping(F, G, m, Chord);
    const double Alfa = AlfaD * Pi / 180;
    solution.coefficients = coefficientsOf(s, Alfa);

    // Points k and N1 + 1 - k are the circle points at polar angles -(k-1)dTheta and +(k-1)dTheta.
    // With F = 0 the circle passes through (-1, 0), where the mapping is singular; the sweep
    // stops one step short of it.
    const int NM1 = N1 - 1;
    const double iEnd = F == 0 ? NM1 / 2.0 : NM1 / 2.0 + 1;
    const double dTheta = 2 * Pi / NM1;
    for (int i = 2; i <= iEnd; ++i) {
        double Theta = -(i - 1) * dTheta;
        for (int pass = 1; pass <= 2; ++pass) {
            const SurfacePoint p = surfacePoint(s, Alfa, Theta);
            const std::size_t k = static_cast<std::size_t>(pass == 1 ? i : NM1 - i + 2);
            solution.x[k] = p.x;
            solution.y[k] = p.y;
            solution.Cu[k] = p.Cu;
            Theta = -Theta;
        }
    }

    const std::size_t first = 1, last = static_cast<std::size_t>(N1);
    solution.x[first] = solution.x[last] = Chord;
    solution.y[first] = solution.y[last] = 0;
    // The Joukowsky section's cusp has a finite speed; any other trailing edge is a stagnation point.
    const double CosAB = std::cos(Alfa + s.Beta);
    solution.Cu[first] = solution.Cu[last] = m == 2 ? CosAB * CosAB / s.R2 : 0;
    return solution;
}

bool isFinite(const Solution& solution) {
    const Coefficients& c = solution.coefficients;
    if (!std::isfinite(c.CL) || !std::isfinite(c.CMc4) || !std::isfinite(c.Alfa0)) return false;
    for (const auto* values : {&solution.x, &solution.y, &solution.Cu}) {
        for (double v : *values) {
            if (!std::isfinite(v)) return false;
        }
    }
    return true;
}

}  // namespace vorta
