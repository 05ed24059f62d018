#pragma once
// The closed-form steps of the solver carried out in quad precision (GCC's __float128): the
// reference the double solver is held to. The steps form Theta = -(i-1)*dTheta and Alfa as
// doubles; those same doubles go in here, and everything after them is quad.
//
// One liberty, which leaves every value the same number: 1 + r^2 +- 2r*CosT is evaluated as
// (r*CosT +- 1)^2 + (r*SinT)^2. Next to a singular point (the nose when F is 1e-12) the
// literal form cancels more digits than even quad precision has.
//
// Needs g++ and libquadmath.

#include <quadmath.h>

#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

namespace vorta::test {

using quad = __float128;

inline const quad PiQ = 4 * atanq(1);

struct QuadSection {
    quad F, G, m, Chord;
    quad A, mA, XShift, Beta, R2, CenterRatio, CenterAngle;
    quad Alfa;  // from the double the steps form
};

// atan(G/F), and at F = 0 its limit as F -> 0+: +-Pi/2 with the sign of G (0 when G is 0
// too, where it makes no difference).
inline quad quadCenterAngle(quad F, quad G) {
    if (F > 0) return atanq(G / F);
    if (F == 0 && G != 0) return G > 0 ? PiQ / 2 : -PiQ / 2;
    return 0;
}

inline QuadSection makeQuadSection(double F, double G, double m, double Chord, double AlfaD) {
    const double Pi = 4 * std::atan(1.0);
    QuadSection s{};
    s.F = F;
    s.G = G;
    s.m = m;
    s.Chord = Chord;
    s.A = (s.Chord / (2 * s.m)) * (1 - powq(s.F / (1 + s.F), s.m));
    s.mA = s.m * s.A;
    s.XShift = s.m * s.A - s.Chord;
    s.Beta = atanq(s.G / (1 + s.F));
    s.R2 = (1 + s.F) * (1 + s.F) + s.G * s.G;
    s.CenterRatio = sqrtq((s.F * s.F + s.G * s.G) / s.R2);
    s.CenterAngle = quadCenterAngle(s.F, s.G);
    s.Alfa = AlfaD * Pi / 180;
    return s;
}

struct QuadPoint {
    quad x, y, Cu;
};

inline quad squareQ(quad v) { return v * v; }

// The angle Phi of (zeta - 1)/(zeta + 1), on the branch that follows the point's half-plane
// inside the unit circle.
inline quad quadPhi(quad r, quad SinT) {
    if (r == 1) return SinT < 0 ? -PiQ / 2 : PiQ / 2;
    const quad angle = atanq(2 * SinT / (r - 1 / r));
    if (r > 1) return angle;
    return SinT <= 0 ? angle - PiQ : angle + PiQ;
}

inline QuadPoint quadPoint(const QuadSection& s, double ThetaDouble) {
    const quad Theta = ThetaDouble;
    const quad SinT = sinq(Theta), CosT = cosq(Theta);
    const quad P = -s.F * CosT + s.G * SinT;
    const quad r = P + sqrtq(1 + 2 * s.F + P * P);
    const quad Dp = sqrtq(squareQ(r * CosT + 1) + squareQ(r * SinT));
    const quad Dm = sqrtq(squareQ(r * CosT - 1) + squareQ(r * SinT));
    const quad Rho = Dm / Dp;
    const quad Phi = quadPhi(r, SinT);
    const quad Rho2M = powq(Rho, 2 * s.m), RhoM = powq(Rho, s.m);
    const quad Den = 1 + Rho2M - 2 * RhoM * cosq(s.m * Phi);
    const quad Xm = s.mA * (1 - Rho2M) / Den;
    const quad Ym = 2 * s.mA * RhoM * sinq(s.m * Phi) / Den;
    const quad S = s.CenterRatio * sinq(Theta + s.CenterAngle);
    const quad Omega = asinq(S);
    const quad Psi = (Theta - s.Alfa) - Omega;
    const quad Dz = squareQ(2 * s.m / Dp) * powq(Rho, s.m - 1) / Den;
    const quad V = 2 * (sinq(s.Alfa + s.Beta) + sinq(Psi)) / Dz;
    return {Xm - s.XShift, Ym, V * V};
}

// The polar angle Theta, as the double the steps form, whose point ends up in slot k
// (2 <= k <= N1 - 1); none for a slot the sweep does not reach (the singular nose point
// of F = 0 and an odd N1). Pair i writes slot i at -(i-1)dTheta and then slot N1 + 1 - i at
// +(i-1)dTheta, for i = 2 while i <= iEnd; for odd N1 both reach the nose slot, and the
// second is kept.
inline std::optional<double> sweepTheta(int N1, double F, int k) {
    const double Pi = 4 * std::atan(1.0);
    const int NM1 = N1 - 1;
    const double iEnd = F == 0 && N1 % 2 == 1 ? NM1 / 2.0 : NM1 / 2.0 + 1;
    const double dTheta = 2 * Pi / NM1;
    const int mirrorPair = N1 + 1 - k;
    if (mirrorPair >= 2 && mirrorPair <= iEnd) return (mirrorPair - 1) * dTheta;
    if (k >= 2 && k <= iEnd) return -(k - 1) * dTheta;
    return std::nullopt;
}

// The exact value of slot k (0 to N1) of the solution: the ends, the swept points, and 0
// in the slots the sweep does not reach.
inline QuadPoint quadSlot(const QuadSection& s, int N1, int k) {
    if (k == 1 || k == N1) {
        const quad CosAB = cosq(s.Alfa + s.Beta);
        return {s.Chord, 0, s.m == 2 ? CosAB * CosAB / s.R2 : 0};
    }
    if (k < 2 || k >= N1) return {0, 0, 0};
    const std::optional<double> Theta = sweepTheta(N1, static_cast<double>(s.F), k);
    return Theta ? quadPoint(s, *Theta) : QuadPoint{0, 0, 0};
}

// The error measure of the accuracy tests: |value - exact| / max(1, |exact|); a NaN on
// either side counts as an infinite error, so that it cannot hide in a comparison.
inline double relativeError(double value, quad exact) {
    const quad scale = fabsq(exact) > 1 ? fabsq(exact) : 1;
    const double error = static_cast<double>(fabsq(static_cast<quad>(value) - exact) / scale);
    return std::isnan(error) ? HUGE_VAL : error;
}

}  // namespace vorta::test
