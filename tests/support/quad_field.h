#pragma once
// The flow about a section anywhere in the plane, in quad precision (GCC's __float128): the
// reference the double field is held to. The point (x, y) and the angle Alfa enter as the
// doubles the program uses; everything after them is quad, in the plainest form of the closed
// form, but for one liberty that leaves every value the same number: zeta + 1 and z' + mA are
// taken as 2/(1 - q) and x + (XShift + mA) with XShift + mA = -(F/(1 + F))^m, since next to the
// nose of a section of F = 1e-12 the literal forms cancel more digits than quad has.
//
// Needs g++ and libquadmath.

#include <quadmath.h>

#include <cmath>
#include <optional>

namespace vorta::test {

using quad = __float128;
using complexQuad = __complex128;

struct QuadFieldValues {
    quad u, v, Cp, psi;
};

inline complexQuad makeComplex(quad re, quad im) {
    complexQuad z;
    __real__ z = re;
    __imag__ z = im;
    return z;
}

// The flow at (x, y) about the section F, G, m (chord 1) at the angle Alfa in radians; no value
// inside the section, where no root lies outside the circle. tolerance admits points inside
// by that much of |zeta - centre|^2 - R^2.
inline std::optional<QuadFieldValues> quadFieldAt(double Fd, double Gd, double md, double Alfad, double xd,
                                                  double yd, quad tolerance = 0) {
    const quad F = Fd, G = Gd, m = md, Alfa = Alfad, x = xd, y = yd;
    const quad PiQ = 4 * atanq(1);
    const quad ratio = powq(F / (1 + F), m);
    const quad A = (1 - ratio) / (2 * m), mA = m * A, XShift = mA - 1, nose = -ratio;
    const quad R2 = (1 + F) * (1 + F) + G * G, R = sqrtq(R2);
    const quad Beta = atanq(G / (1 + F));
    const quad Gamma = 4 * PiQ * R * A * sinq(Alfa + Beta);
    const complexQuad c = makeComplex(-F, G);
    const complexQuad zPrime = makeComplex(x + XShift, y);
    const complexQuad w = (zPrime - mA) / makeComplex(x + nose, y);
    const quad wModulus = cabsq(w), wAngle = cargq(w);

    std::optional<complexQuad> best;
    quad bestExterior = 0;
    for (int k = -1; k <= 1; ++k) {
        const quad angle = (wAngle + 2 * PiQ * k) / m;
        if (!(angle > -PiQ && angle <= PiQ)) continue;
        const complexQuad q = powq(wModulus, 1 / m) * cexpq(makeComplex(0, angle));
        const complexQuad zeta = (1 + q) / (1 - q);
        const quad exterior = cabsq(zeta - c) * cabsq(zeta - c) - R2;
        if (!best || exterior > bestExterior) {
            best = q;
            bestExterior = exterior;
        }
    }
    if (!best || bestExterior < -tolerance) return std::nullopt;
    const complexQuad q = *best;
    const complexQuad zeta = (1 + q) / (1 - q);
    const complexQuad zetaPlus1 = 2 / (1 - q);
    const complexQuad s = zeta - c;
    const complexQuad turn = cexpq(makeComplex(0, -Alfa)), turnBack = cexpq(makeComplex(0, Alfa));
    const complexQuad dPhi = A * (turn - R2 * turnBack / (s * s)) + makeComplex(0, Gamma / (2 * PiQ)) / s;
    const complexQuad qPower = cpowq(q, makeComplex(m - 1, 0));
    const complexQuad dz = 4 * m * m * A * qPower / (zetaPlus1 * zetaPlus1 * (1 - w) * (1 - w));
    const complexQuad conjugateVelocity = dPhi / dz;
    const complexQuad Phi = A * (turn * s + R2 * turnBack / s) + makeComplex(0, Gamma / (2 * PiQ)) * clogq(s);
    QuadFieldValues values;
    values.u = __real__ conjugateVelocity;
    values.v = -__imag__ conjugateVelocity;
    values.Cp = 1 - values.u * values.u - values.v * values.v;
    values.psi = __imag__ Phi - Gamma / (2 * PiQ) * logq(R);
    return values;
}

}  // namespace vorta::test
