#pragma once
// The flow field's formulas, written once for every math backend (see core/solver/solver_kernel.h
// for what a backend M supplies; the field also takes exp, expm1, log and log1p of it). Template
// code only, for the reason given there.
//
// A point z = (x, y) of the plane is carried back to the circle plane: the mapping sends zeta to
// z' = mA (1 + w)/(1 - w), w = q^m, q = (zeta - 1)/(zeta + 1), and x = Re z' - XShift. So
// w = a/b with a = (x - 1) + iy and b = (x + nose) + iy, nose = XShift + mA, and 1 - w = 2mA/b.
// Of the m-th roots q of w the one outside the circle is taken; the circle's flow with the Kutta
// circulation, divided by the mapping's derivative, is the velocity there. Every quantity that
// vanishes at a singular point or on the circle is formed from terms that vanish with it.

#include "core/solver/solver_kernel.h"

namespace vorta::solver {

// What the field needs of the section and the angle, computed once.
struct FieldConstants {
    double F, m, A, mA, nose;
    double R, R2;
    double minusMBeta;    // -m Beta: the direction, times m, in which the outside of the circle lies
    double RAsinAB;       // R A sin(Alfa + Beta): the circulation over 4 Pi
    double s1[2], s0[2];  // the circle points zeta = 1 and zeta = -1 seen from the centre
    // The front stagnation point s2 seen from those two: s1 - s2 and s0 - s2.
    double s1MinusS2[2], s0MinusS2[2];
    double turn[2];    // e^{-i Alfa}
    double tolerance;  // how far inside the section, in chords, a point still gets values
};

template <class M>
struct Cx {
    typename M::Vec re, im;
};

template <class M>
Cx<M> constant(const double (&c)[2]) {
    return {M::broadcast(c[0]), M::broadcast(c[1])};
}
template <class M>
Cx<M> add(Cx<M> a, Cx<M> b) {
    return {a.re + b.re, a.im + b.im};
}
template <class M>
Cx<M> mul(Cx<M> a, Cx<M> b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
template <class M>
typename M::Vec norm(Cx<M> a) {
    return a.re * a.re + a.im * a.im;
}
template <class M>
typename M::Vec dot(Cx<M> a, Cx<M> b) {
    return a.re * b.re + a.im * b.im;
}
template <class M>
Cx<M> div(Cx<M> a, Cx<M> b) {
    const typename M::Vec n = norm<M>(b);
    return {(a.re * b.re + a.im * b.im) / n, (a.im * b.re - a.re * b.im) / n};
}
template <class M>
Cx<M> selectCx(typename M::Mask mask, Cx<M> whenSet, Cx<M> otherwise) {
    return {M::select(mask, whenSet.re, otherwise.re), M::select(mask, whenSet.im, otherwise.im)};
}

// e^z, and e^z - 1 without losing the digits of a small z.
template <class M>
struct Exponential {
    Cx<M> value, minusOne;
};
template <class M>
Exponential<M> exponential(Cx<M> z) {
    using V = typename M::Vec;
    const SinCos<M> half = M::sincos(0.5 * z.im);
    const V sinY = 2 * half.sin * half.cos, cosY = (half.cos - half.sin) * (half.cos + half.sin);
    const V e = M::exp(z.re);
    return {{e * cosY, e * sinY}, {M::expm1(z.re) * cosY - 2 * half.sin * half.sin, e * sinY}};
}

// A point of the circle plane by t = log q, with what the flow there is made of.
template <class M>
struct CirclePoint {
    typename M::Vec tRe;
    Cx<M> q, oneMinusQ, w, oneMinusW;
    Cx<M> zetaMinus1, zetaPlus1;
    typename M::Mask nearNose;  // nearer zeta = -1 than zeta = 1
    typename M::Vec exterior;   // |zeta - centre|^2 - R^2: positive outside the circle
};

// |zeta - c|^2 - R^2, from the nearer of the two singular points, where it cancels nothing:
// zeta - c = (zeta - 1) + s1 with |s1|^2 = R^2, or (zeta + 1) + s0 with |s0|^2 = R^2 - 4F.
template <class M>
void measureFromNearerEnd(const FieldConstants& c, CirclePoint<M>& p) {
    p.nearNose = M::isNegative(norm<M>(p.zetaPlus1) - norm<M>(p.zetaMinus1));
    p.exterior =
        M::select(p.nearNose, 2 * dot<M>(p.zetaPlus1, constant<M>(c.s0)) + norm<M>(p.zetaPlus1) - 4 * c.F,
                  2 * dot<M>(p.zetaMinus1, constant<M>(c.s1)) + norm<M>(p.zetaMinus1));
}

// The circle point of t = log q, where w = q^m and 1 - w are known to their own precision.
template <class M>
CirclePoint<M> circlePoint(const FieldConstants& c, Cx<M> t, Cx<M> w, Cx<M> oneMinusW) {
    const Exponential<M> q = exponential<M>(t);
    CirclePoint<M> p;
    p.tRe = t.re;
    p.q = q.value;
    p.oneMinusQ = {-q.minusOne.re, -q.minusOne.im};
    p.w = w;
    p.oneMinusW = oneMinusW;
    const Cx<M> two = {M::broadcast(2), M::broadcast(0)};
    p.zetaMinus1 = div<M>(mul<M>(two, p.q), p.oneMinusQ);
    p.zetaPlus1 = div<M>(two, p.oneMinusQ);
    measureFromNearerEnd<M>(c, p);
    return p;
}

template <class M>
struct FlowValues {
    typename M::Vec u, v, Cp, psi;
};

// The circle flow dPhi/dzeta = A e^{-i Alfa} (s - s1)(s - s2)/s^2, s = zeta - centre, has its
// zeros at the two stagnation points, and s - s1 = zeta - 1 exactly; divided by dz/dzeta,
//   u - iv = e^{-i Alfa} 2 q^(2-m) (s - s2) (1 - w)^2 / (m^2 s^2 (1 - q)^3), q^(2-m) = q^2/w.
// The stream function is Im Phi less its value on the circle:
//   psi = A Im(s e^{-i Alfa}) (|s|^2 - R^2)/|s|^2 + R A sin(Alfa + Beta) ln(|s|^2/R^2).
template <class M>
FlowValues<M> flowAt(const FieldConstants& c, const CirclePoint<M>& p) {
    using V = typename M::Vec;
    const Cx<M> s = selectCx<M>(p.nearNose, add<M>(p.zetaPlus1, constant<M>(c.s0)),
                                add<M>(p.zetaMinus1, constant<M>(c.s1)));
    const Cx<M> sMinusS2 = selectCx<M>(p.nearNose, add<M>(p.zetaPlus1, constant<M>(c.s0MinusS2)),
                                       add<M>(p.zetaMinus1, constant<M>(c.s1MinusS2)));
    const Cx<M> qPower = div<M>(mul<M>(p.q, p.q), p.w);
    const Cx<M> numerator =
        mul<M>(mul<M>(constant<M>(c.turn), qPower), mul<M>(sMinusS2, mul<M>(p.oneMinusW, p.oneMinusW)));
    const Cx<M> denominator = mul<M>(mul<M>(s, s), mul<M>(p.oneMinusQ, mul<M>(p.oneMinusQ, p.oneMinusQ)));
    const Cx<M> velocity = div<M>(numerator, denominator);
    const double factor = 2 / (c.m * c.m);
    FlowValues<M> values;
    values.u = factor * velocity.re;
    values.v = -factor * velocity.im;
    values.Cp = 1 - (values.u * values.u + values.v * values.v);
    const V sTurnedIm = s.im * c.turn[0] + s.re * c.turn[1];
    values.psi = c.A * sTurnedIm * p.exterior / norm<M>(s) + c.RAsinAB * M::log1p(p.exterior / c.R2);
    return values;
}

// |dz/dzeta| = m^2 A |q|^(m-1) |1 - q|^2 / |1 - w|^2.
template <class M>
typename M::Vec mappingScale(const FieldConstants& c, const CirclePoint<M>& p) {
    return c.m * c.m * c.A * M::exp((c.m - 1) * p.tRe) * norm<M>(p.oneMinusQ) / norm<M>(p.oneMinusW);
}

// The flow at (x, y), NaN where the point lies inside the section by more than the tolerance or
// the flow has no finite value there (the circular arc's sharp leading edge). The trailing
// edge itself, where q = 0, is the caller's to set apart.
template <class M>
FlowValues<M> fieldAt(const FieldConstants& c, typename M::Vec x, typename M::Vec y) {
    using V = typename M::Vec;
    const double Pi = 3.14159265358979323846;
    const Cx<M> a = {x - 1, y}, b = {x + c.nose, y};
    // log w: where |w| is near 1, far from the section, the difference of the squares
    // |a|^2 - |b|^2 = -2mA (2x - 1 + nose) keeps the digits that their ratio loses.
    const V bNorm = norm<M>(b), ratio = norm<M>(a) / bNorm;
    const auto nearOne = M::isNegative((ratio - 0.5) * (ratio - 2));
    const V modulus =
        0.5 * M::select(nearOne, M::log1p(-2 * c.mA * (2 * x - 1 + c.nose) / bNorm), M::log(ratio));
    const V angle = M::atan2(y * (1 + c.nose), a.re * b.re + y * y);
    // The outside of the circle maps into a disc of q that touches 0 from the direction -Beta
    // and lies within Pi/2 of it; the roots lie 2 Pi/m >= Pi apart, so the one nearest to that
    // direction is the only candidate.
    const V turns = (c.minusMBeta - angle) / (2 * Pi);
    const V k =
        M::select(M::isNegative(turns - 0.5),
                  M::select(M::isNegative(turns + 0.5), M::broadcast(-1), M::broadcast(0)), M::broadcast(1));
    const Cx<M> t = {modulus / c.m, (angle + 2 * Pi * k) / c.m};
    const CirclePoint<M> p =
        circlePoint<M>(c, t, div<M>(a, b), div<M>({M::broadcast(2 * c.mA), M::broadcast(0)}, b));
    FlowValues<M> values = flowAt<M>(c, p);
    // Inside the circle by R - |s| = -exterior/(|s| + R), which the mapping stretches by its scale.
    // Deeper than R^2, the root is far inside: the square root's argument is kept from going below 0.
    const V sSquared = c.R2 + p.exterior;
    const V depth = -p.exterior /
                    (M::sqrt(M::select(M::isNegative(sSquared), M::broadcast(0), sSquared)) + c.R) *
                    mappingScale<M>(c, p);
    const V noValue = M::broadcast(__builtin_nan(""));
    const auto tooDeep = M::isNegative(c.tolerance - depth);
    for (V* value : {&values.u, &values.v, &values.Cp, &values.psi}) {
        *value = M::select(tooDeep, noValue, *value);
        // |value| < infinity is false for an infinity and for NaN.
        const V magnitude = M::select(M::isNegative(*value), -*value, *value);
        *value = M::select(M::isNegative(magnitude - __builtin_huge_val()), *value, noValue);
    }
    return values;
}

}  // namespace vorta::solver
