#pragma once
// The surface point formulas of the sweep, written once for every math backend. A backend M
// supplies M::Vec (a double, or a vector of doubles), broadcast, the elementary functions
// sqrt, pow, atan2 and sincos, and M::Mask with isNegative and select to pick per lane.
// Arithmetic uses the operators, which GCC and clang give vector types too, with a double
// operand standing for all lanes.
//
// Each SIMD backend lives in an anonymous namespace of a translation unit compiled for its
// instruction set, so every instantiation of these templates stays inside that unit. Keep
// this header free of non-template functions: one compiled with AVX-512 could otherwise be
// the copy the linker keeps for all.
//
// The closed-form steps form 1 + r^2 - 2r*CosT, r - 1 and sin(Alfa + Beta) + sin Psi as
// differences of numbers that cancel at the trailing edge, and 1 + r^2 + 2r*CosT cancels
// next to the singular point at the nose when F is small. Here every such quantity comes
// from terms that vanish by themselves, so that each keeps nearly full relative precision.

namespace vorta::solver {

// What the sweep needs of the section and the angle of attack, computed once per solution.
struct SurfaceConstants {
    double F, G, m;
    double onePlus2F;  // 1 + 2F
    double halfM;      // m/2, for Rho^m = (Rho^2)^(m/2)
    double mSquared;
    double mA, XShift;
    // S = CenterRatio sin(Theta + CenterAngle) = a SinT + b CosT, and S0 = b at Theta = 0.
    double a, b;
    double cosOmega0;  // sqrt(1 - b^2)
    double sinAlfa, cosAlfa;
    double sinAB, cosAB;  // of Alfa + Beta
};

// Templates on the backend, not on M::Vec: the vector types carry attributes that a
// template argument would drop.
template <class M>
struct SinCos {
    typename M::Vec sin, cos;
};

template <class M>
struct SurfaceValues {
    typename M::Vec x, y, Cu;
};

// sin(p - q) and cos(p - q).
template <class M>
SinCos<M> angleDifference(SinCos<M> p, SinCos<M> q) {
    return {p.sin * q.cos - p.cos * q.sin, p.cos * q.cos + p.sin * q.sin};
}

// sin(base + p - q) and cos(base + p - q).
template <class M>
SinCos<M> angleSum(SinCos<M> base, SinCos<M> p, SinCos<M> q) {
    const SinCos<M> d = angleDifference<M>(p, q);
    return {base.sin * d.cos + base.cos * d.sin, base.cos * d.cos - base.sin * d.sin};
}

template <class M>
SinCos<M> selectSinCos(typename M::Mask mask, SinCos<M> whenSet, SinCos<M> otherwise) {
    return {M::select(mask, whenSet.sin, otherwise.sin), M::select(mask, whenSet.cos, otherwise.cos)};
}

// The circle point zeta = r e^(i Theta) and its image under the Karman-Trefftz mapping.
template <class M>
struct MappedPoint {
    typename M::Vec x, y;
    typename M::Vec Dp2, Rho2, RhoM, Den;  // for the speed
};

// The circle point at Theta from half of it, mapped. Theta < 0 on pass 1, > 0 on pass 2.
template <class M>
MappedPoint<M> mappedPoint(const SurfaceConstants& c, SinCos<M> half, typename M::Vec SinT,
                           typename M::Vec CosT) {
    using V = typename M::Vec;
    const V P = c.G * SinT - c.F * CosT;
    const V root = M::sqrt(c.onePlus2F + P * P);
    // r - 1 = P + root - 1 cancels at the trailing edge. Multiplied out it is
    // 2(F + P)/(root + 1 - P), and F + P = 2F sin^2(Theta/2) + G SinT vanishes with Theta.
    const V sinHalf2 = half.sin * half.sin, cosHalf2 = half.cos * half.cos;
    const V rMinus1 = 2 * (2 * c.F * sinHalf2 + c.G * SinT) / (root + (1 - P));
    const V r = 1 + rMinus1;
    // Dm^2 = 1 + r^2 - 2r CosT and Dp^2 = 1 + r^2 + 2r CosT as sums of positive terms: the
    // first vanishes at the trailing edge, the second at the nose when F is 0 or small.
    const V rMinus1Squared = rMinus1 * rMinus1;
    const V Dm2 = rMinus1Squared + 4 * r * sinHalf2;
    const V Dp2 = rMinus1Squared + 4 * r * cosHalf2;
    const V Rho2 = Dm2 / Dp2;
    const V RhoM = M::pow(Rho2, c.halfM);
    const V Rho2M = RhoM * RhoM;
    // atan(2 SinT/(r - 1/r)) on the branch the steps take: beyond +-Pi/2, on the side of the
    // point's own half-plane, when r < 1. r - 1/r = (r - 1)(r + 1)/r, and r > 0.
    const V Phi = M::atan2(2 * r * SinT, rMinus1 * (r + 1));
    const SinCos<M> mPhi = M::sincos(c.m * Phi);
    const V Den = 1 + Rho2M - 2 * RhoM * mPhi.cos;
    const V mAOverDen = c.mA / Den;
    const V Xm = (1 - Rho2M) * mAOverDen;
    const V Ym = 2 * RhoM * mPhi.sin * mAOverDen;
    return {Xm - c.XShift, Ym, Dp2, Rho2, RhoM, Den};
}

// sin(Alfa + Beta) + sin Psi = 2 sin u cos(Alfa + Beta - u) both for u = (Alfa + Beta + Psi)/2
// and, as sin Psi = sin(+-Pi - Psi), for u = (Alfa + Beta - Psi +- Pi)/2. The sum vanishes at
// the two stagnation points, and each u is formed from terms that vanish with it at one
// (Omega0 = Beta is Omega at the trailing edge, Theta = 0):
//   rear half (CosT >= 0):  u = Theta/2 - (Omega - Omega0)/2,
//   front half:             u = Alfa + (Omega + Omega0)/2 - (Theta - Pi)/2   for Theta > 0,
//                                                         - (Theta + Pi)/2   for Theta < 0.
// The front form matters at the nose, where a small F makes the speed so large a multiple of
// the sum that it needs the sum's relative precision, not just its absolute one.
// Omega -+ Omega0 = asin S -+ asin S0 comes, without subtracting arcsines, from S -+ S0, which
// vanish with Theta and with Theta -+ Pi:
//   S - S0 = 2 sin(Theta/2) (a cos(Theta/2) - b sin(Theta/2)),
//   S + S0 = 2 cos(Theta/2) (a sin(Theta/2) + b cos(Theta/2)),
//   sin(Omega -+ Omega0) = (S -+ S0) (cos Omega0 +- S0 (S +- S0)/(cos Omega0 + cos Omega)),
//   cos(Omega -+ Omega0) = cos Omega cos Omega0 +- S S0,
// and its half angle from these by cos(A/2) = sqrt((1 + cos A)/2), sin(A/2) = sin A/(2 cos(A/2)).
template <class M>
SinCos<M> speedAngle(const SurfaceConstants& c, double thetaSign, SinCos<M> half, typename M::Vec SinT,
                     typename M::Vec CosT) {
    using V = typename M::Vec;
    const auto front = M::isNegative(CosT);
    const V S = c.a * SinT + c.b * CosT;
    const V SMinusS0 = 2 * half.sin * (c.a * half.cos - c.b * half.sin);
    const V SPlusS0 = 2 * half.cos * (c.a * half.sin + c.b * half.cos);
    const V cosOmega = M::sqrt(1 - S * S);
    const V signedS0 = M::select(front, M::broadcast(-c.b), M::broadcast(c.b));
    const V nearS = M::select(front, SPlusS0, SMinusS0);
    const V farS = M::select(front, SMinusS0, SPlusS0);
    const V sinShift = nearS * (c.cosOmega0 + signedS0 * farS / (c.cosOmega0 + cosOmega));
    const V cosShift = cosOmega * c.cosOmega0 + S * signedS0;
    const V cosHalfShift = M::sqrt(0.5 + 0.5 * cosShift);
    const SinCos<M> halfShift = {sinShift / (2 * cosHalfShift), cosHalfShift};
    // Theta/2 -+ Pi/2, its sine and cosine from those of Theta/2.
    const SinCos<M> halfFromNose = {-thetaSign * half.cos, thetaSign * half.sin};
    const SinCos<M> rear = angleDifference<M>(half, halfShift);
    const SinCos<M> atFront =
        angleSum<M>({M::broadcast(c.sinAlfa), M::broadcast(c.cosAlfa)}, halfShift, halfFromNose);
    return selectSinCos<M>(front, atFront, rear);
}

// The point of the section at the circle's polar angle Theta, from the sine and cosine of
// Theta/2; thetaSign is -1 on pass 1 (Theta < 0) and +1 on pass 2.
template <class M>
SurfaceValues<M> surfacePoint(const SurfaceConstants& c, double thetaSign, SinCos<M> half) {
    using V = typename M::Vec;
    const V SinT = 2 * half.sin * half.cos;
    const V CosT = (half.cos - half.sin) * (half.cos + half.sin);
    const MappedPoint<M> z = mappedPoint<M>(c, half, SinT, CosT);
    const SinCos<M> u = speedAngle<M>(c, thetaSign, half, SinT, CosT);
    const V cosABMinusU = c.cosAB * u.cos + c.sinAB * u.sin;
    // V = 2 (sin(Alfa + Beta) + sin Psi)/Dz with Dz = (2m/Dp)^2 Rho^(m-1)/Den, and Cu = V^2.
    const V speedOverRho = u.sin * cosABMinusU * z.Dp2 * z.Den / (c.mSquared * z.RhoM);
    return {z.x, z.y, speedOverRho * speedOverRho * z.Rho2};
}

}  // namespace vorta::solver
