#include "core/solver/flow_field.h"

#include <cmath>
#include <limits>

#include "core/solver/work_sharing.h"

namespace vorta {

namespace {

using Complex = std::complex<double>;

const double Pi = 4 * std::atan(1.0);

// e^z - 1 without losing the digits of a small z.
Complex expm1(Complex z) {
    const double s = std::sin(z.imag() / 2);
    return {std::expm1(z.real()) * std::cos(z.imag()) - 2 * s * s, std::exp(z.real()) * std::sin(z.imag())};
}

double norm(Complex z) { return z.real() * z.real() + z.imag() * z.imag(); }

}  // namespace

FlowField::FlowField(double F, double G, double m, double AlfaD) : F_(F), G_(G), m_(m) {
    constexpr double Chord = 1;
    const double ratio = std::pow(F / (1 + F), m);
    A_ = (Chord / (2 * m)) * (1 - ratio);
    mA_ = m * A_;
    XShift_ = m * A_ - Chord;
    nose_ = -Chord * ratio;  // 2mA - Chord
    Beta_ = std::atan(G / (1 + F));
    R2_ = (1 + F) * (1 + F) + G * G;
    R_ = std::sqrt(R2_);
    Alfa_ = AlfaD * Pi / 180;
    sinAB_ = std::sin(Alfa_ + Beta_);
    s1_ = {1 + F, -G};
    s0_ = {F - 1, -G};
    // s1 - s2 = 2R e^{i Alfa} cos(Alfa + Beta), with R cos(Alfa + Beta) = (1 + F) cos Alfa - G sin Alfa;
    // s0 - s2 = s1 - s2 - 2 multiplied out, so that it keeps its digits when the front stagnation
    // point comes near zeta = -1.
    const double c = std::cos(Alfa_), s = std::sin(Alfa_);
    s1MinusS2_ = 2.0 * std::polar((1 + F) * c - G * s, Alfa_);
    s0MinusS2_ = 2.0 * Complex(F * c * c - s * s - G * s * c, (1 + F) * s * c - G * s * s);
    freeStreamTurn_ = std::polar(1.0, -Alfa_);
}

// The mapping sends zeta to z' = mA (1 + w)/(1 - w) with w = ((zeta - 1)/(zeta + 1))^m, and the
// plane's x is Re z' - XShift. So w = a/b with a = z' - mA = (x - 1) + iy and b = z' + mA =
// (x + nose) + iy, and log w is formed from |a|^2 - |b|^2 = -2mA (2x - 1 + nose) and
// Im(a conj b) = y (1 + nose), which cancel nothing.
FlowField::Complex FlowField::logW(double x, double y) const {
    const double aNorm = (x - 1) * (x - 1) + y * y;
    const double bNorm = (x + nose_) * (x + nose_) + y * y;
    // Where |w| is near 1 the difference of the squares keeps the digits that their ratio loses.
    const double ratio = aNorm / bNorm;
    const double modulus = ratio > 0.5 && ratio < 2 ? 0.5 * std::log1p(-2 * mA_ * (2 * x - 1 + nose_) / bNorm)
                                                    : 0.5 * (std::log(aNorm) - std::log(bNorm));
    const double angle = std::atan2(y * (1 + nose_), (x - 1) * (x + nose_) + y * y);
    return {modulus, angle};
}

// What vanishes on the circle, |zeta - c|^2 - R^2, and at the stagnation points, s - s2, is
// formed from the nearer of the two singular points, where it cancels nothing: zeta - c =
// (zeta - 1) + s1 with |s1|^2 = R^2, or (zeta + 1) + s0 with s0 = -1 - c and |s0|^2 = R^2 - 4F.
FlowField::CirclePoint FlowField::circlePoint(Complex t) const {
    CirclePoint p;
    p.t = t;
    p.zetaMinus1 = 2.0 / expm1(-t);  // 2q/(1 - q) with q = e^t
    p.zetaPlus1 = -2.0 / expm1(t);   // 2/(1 - q)
    p.nearNose = norm(p.zetaPlus1) < norm(p.zetaMinus1);
    const auto dot = [](Complex a, Complex b) { return a.real() * b.real() + a.imag() * b.imag(); };
    p.exterior = p.nearNose ? 2 * dot(p.zetaPlus1, s0_) + norm(p.zetaPlus1) - 4 * F_
                            : 2 * dot(p.zetaMinus1, s1_) + norm(p.zetaMinus1);
    return p;
}

// Of the m-th roots q of w, those on the principal branch of log q (whose angle lies within
// +-Pi): the mapping is one-to-one outside the circle, so at most one of them lies there.
std::optional<FlowField::CirclePoint> FlowField::preimage(double x, double y) const {
    const Complex L = logW(x, y);
    std::optional<CirclePoint> best;
    for (int k = -1; k <= 1; ++k) {
        const Complex t = (L + Complex(0, 2 * Pi * k)) / m_;
        if (!(t.imag() > -Pi && t.imag() <= Pi)) continue;
        const CirclePoint p = circlePoint(t);
        if (!best || p.exterior > best->exterior) best = p;
    }
    if (!best || !std::isfinite(best->exterior)) return std::nullopt;
    if (best->exterior >= 0) return best;
    // Inside the circle by R - |s| = -exterior/(|s| + R), which the mapping stretches by its scale.
    const double depth = -best->exterior / (std::sqrt(R2_ + best->exterior) + R_) * mappingScale(*best);
    if (depth <= kSurfaceTolerance) return best;
    return std::nullopt;
}

// |dz/dzeta| = m^2 A |q|^(m-1) |1 - q|^2 / |1 - w|^2.
double FlowField::mappingScale(const CirclePoint& p) const {
    const Complex oneMinusQ = -expm1(p.t);
    const Complex oneMinusW = -expm1(m_ * p.t);
    return m_ * m_ * A_ * std::exp((m_ - 1) * p.t.real()) * norm(oneMinusQ) / norm(oneMinusW);
}

// The circle flow dPhi/dzeta = A e^{-i Alfa} (s - s1)(s - s2)/s^2, s = zeta - centre, has its
// zeros at the two stagnation points, and s - s1 = zeta - 1 exactly; divided by dz/dzeta,
//   u - iv = e^{-i Alfa} 2 q^(2-m) (s - s2) (1 - w)^2 / (m^2 s^2 (1 - q)^3).
// The stream function is Im Phi less its value on the circle:
//   psi = A Im(s e^{-i Alfa}) (|s|^2 - R^2)/|s|^2 + R A sin(Alfa + Beta) ln(|s|^2/R^2).
FieldValues FlowField::valuesAt(const CirclePoint& p) const {
    const Complex oneMinusQ = -expm1(p.t);
    const Complex oneMinusW = -expm1(m_ * p.t);
    const Complex s = p.nearNose ? p.zetaPlus1 + s0_ : p.zetaMinus1 + s1_;
    const Complex sMinusS2 = p.nearNose ? p.zetaPlus1 + s0MinusS2_ : p.zetaMinus1 + s1MinusS2_;
    const Complex qPower = std::exp((2 - m_) * p.t);
    const Complex conjugateVelocity = freeStreamTurn_ * 2.0 * qPower * sMinusS2 * oneMinusW * oneMinusW /
                                      (m_ * m_ * s * s * oneMinusQ * oneMinusQ * oneMinusQ);
    FieldValues values;
    values.u = conjugateVelocity.real();
    values.v = -conjugateVelocity.imag();
    values.Cp = 1 - norm(conjugateVelocity);
    const double sNorm = norm(s);
    values.psi = A_ * (s * freeStreamTurn_).imag() * p.exterior / sNorm +
                 R_ * A_ * sinAB_ * std::log1p(p.exterior / R2_);
    return values;
}

// At the trailing edge q = 0: the Joukowsky section's cusp has a finite speed, along the
// limit of the formula above; any other trailing edge is a stagnation point.
FieldValues FlowField::trailingEdgeValues() const {
    FieldValues values;
    if (m_ == 2) {
        const Complex conjugateVelocity = freeStreamTurn_ * 2.0 * s1MinusS2_ / (4.0 * s1_ * s1_);
        values.u = conjugateVelocity.real();
        values.v = -conjugateVelocity.imag();
        values.Cp = 1 - norm(conjugateVelocity);
    } else {
        values.Cp = 1;
    }
    return values;
}

std::optional<FieldValues> FlowField::at(double x, double y) const {
    if (x == 1 && y == 0) return trailingEdgeValues();
    const std::optional<CirclePoint> p = preimage(x, y);
    if (!p) return std::nullopt;
    const FieldValues values = valuesAt(*p);
    if (!std::isfinite(values.u) || !std::isfinite(values.v) || !std::isfinite(values.psi))
        return std::nullopt;
    return values;
}

// The circle-plane point s = r e^{i angle} from the centre, by zeta - 1 = s - s1 and zeta + 1 =
// s - s0, each formed as a difference that vanishes by itself where the point meets s1 or s0:
// r e^{ia} - R e^{ib} = (r - R) e^{ia} + 2iR sin((a - b)/2) e^{i(a + b)/2}, and |s0| = R - 4F/(R + |s0|).
FlowField::CirclePoint FlowField::circlePointFromDirection(double r, double angle) const {
    // r e^{i angle} - R e^{i direction}
    const auto fromCirclePoint = [&](double direction) {
        const double half = (angle - direction) / 2;
        return (r - R_) * std::polar(1.0, angle) +
               Complex(0, 2 * R_ * std::sin(half)) * std::polar(1.0, angle - half);
    };
    const double s0Modulus = std::abs(s0_), s0Direction = std::arg(s0_);
    CirclePoint p;
    p.zetaMinus1 = fromCirclePoint(std::arg(s1_));
    p.zetaPlus1 = fromCirclePoint(s0Direction) + 4 * F_ / (R_ + s0Modulus) * std::polar(1.0, s0Direction);
    p.nearNose = norm(p.zetaPlus1) < norm(p.zetaMinus1);
    p.exterior = (r - R_) * (r + R_);
    // t = log q = log((zeta - 1)/(zeta + 1)); where |q| is near 1, far from the circle, its modulus
    // comes from |zeta - 1|^2 - |zeta + 1|^2 = -4 Re zeta.
    const double dNorm = norm(p.zetaMinus1), eNorm = norm(p.zetaPlus1);
    const double ratio = dNorm / eNorm;
    const double realZeta = -F_ + r * std::cos(angle);
    const double modulus = ratio > 0.5 && ratio < 2 ? 0.5 * std::log1p(-4 * realZeta / eNorm)
                                                    : 0.5 * (std::log(dNorm) - std::log(eNorm));
    p.t = {modulus, std::arg(p.zetaMinus1 * std::conj(p.zetaPlus1))};
    return p;
}

void FlowField::evaluate(std::size_t n, const double* x, const double* y, double* u, double* v, double* Cp,
                         double* psi) const {
    constexpr int kPointsPerChunk = 4096, kMinPointsPerThread = 8192;
    const double noValue = std::numeric_limits<double>::quiet_NaN();
    shareWork(static_cast<int>(n), kPointsPerChunk, kMinPointsPerThread, 0, [&](int first, int end) {
        for (int i = first; i < end; ++i) {
            const std::optional<FieldValues> values = at(x[i], y[i]);
            u[i] = values ? values->u : noValue;
            v[i] = values ? values->v : noValue;
            Cp[i] = values ? values->Cp : noValue;
            psi[i] = values ? values->psi : noValue;
        }
    });
}

FlowField::Node FlowField::atCirclePoint(double r, double angle) const {
    const CirclePoint p = circlePointFromDirection(r, angle);
    if (p.zetaMinus1 == Complex(0, 0)) return {1, 0, trailingEdgeValues()};
    // z' - mA = 2mA w/(1 - w) and z' + mA = 2mA/(1 - w): the one that is the smaller gives x
    // without cancelling, from the trailing edge's x = 1 or the nose's.
    const Complex w = std::exp(m_ * p.t);
    const Complex oneMinusW = -expm1(m_ * p.t);
    Node node;
    if (std::norm(w) < 1) {
        const Complex fromTrailingEdge = 2 * mA_ * w / oneMinusW;
        node.x = 1 + fromTrailingEdge.real();
        node.y = fromTrailingEdge.imag();
    } else {
        const Complex fromNose = 2 * mA_ / oneMinusW;
        node.x = fromNose.real() - nose_;
        node.y = fromNose.imag();
    }
    node.values = valuesAt(p);
    return node;
}

}  // namespace vorta
