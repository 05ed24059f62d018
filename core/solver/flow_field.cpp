#include "core/solver/flow_field.h"

#include <cmath>
#include <limits>

#include "core/solver/work_sharing.h"

namespace vorta {

namespace {

using Complex = std::complex<double>;

const double Pi = 4 * std::atan(1.0);

// e^z, and e^z - 1 without losing the digits of a small z.
struct Exponential {
    Complex value, minusOne;
};

Exponential exponential(Complex z) {
    const double s = std::sin(z.imag() / 2), c = std::cos(z.imag() / 2);
    const double sinY = 2 * s * c, cosY = (c - s) * (c + s);
    const double e = std::exp(z.real());
    return {{e * cosY, e * sinY}, {std::expm1(z.real()) * cosY - 2 * s * s, e * sinY}};
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
void FlowField::measureFromNearerEnd(CirclePoint& p) const {
    p.nearNose = norm(p.zetaPlus1) < norm(p.zetaMinus1);
    const auto dot = [](Complex a, Complex b) { return a.real() * b.real() + a.imag() * b.imag(); };
    p.exterior = p.nearNose ? 2 * dot(p.zetaPlus1, s0_) + norm(p.zetaPlus1) - 4 * F_
                            : 2 * dot(p.zetaMinus1, s1_) + norm(p.zetaMinus1);
}

// The circle point of t = log q, where w = q^m and 1 - w are known to their own precision.
FlowField::CirclePoint FlowField::circlePoint(Complex t, Complex w, Complex oneMinusW) const {
    const Exponential q = exponential(t);
    CirclePoint p;
    p.t = t;
    p.q = q.value;
    p.oneMinusQ = -q.minusOne;
    p.w = w;
    p.oneMinusW = oneMinusW;
    p.zetaMinus1 = 2.0 * p.q / p.oneMinusQ;
    p.zetaPlus1 = 2.0 / p.oneMinusQ;
    measureFromNearerEnd(p);
    return p;
}

// Of the m-th roots q of w, the one outside the circle. The circle passes through zeta = 1,
// where q = 0, and q maps the outside of the circle into a disc that touches 0 from the side
// of the outward normal there, in direction -Beta: its points lie within Pi/2 of that
// direction. The roots lie 2 Pi/m >= Pi apart, so the one nearest to it is the only candidate;
// it lies outside the circle unless the point lies inside the section.
std::optional<FlowField::CirclePoint> FlowField::preimage(double x, double y) const {
    const Complex L = logW(x, y);
    const double turns = std::nearbyint((-m_ * Beta_ - L.imag()) / (2 * Pi));
    const Complex t = (L + Complex(0, 2 * Pi * turns)) / m_;
    const Complex b(x + nose_, y);
    const CirclePoint p = circlePoint(t, Complex(x - 1, y) / b, 2 * mA_ / b);
    if (!std::isfinite(p.exterior)) return std::nullopt;
    if (p.exterior >= 0) return p;
    // Inside the circle by R - |s| = -exterior/(|s| + R), which the mapping stretches by its scale.
    const double depth = -p.exterior / (std::sqrt(R2_ + p.exterior) + R_) * mappingScale(p);
    if (depth <= kSurfaceTolerance) return p;
    return std::nullopt;
}

// |dz/dzeta| = m^2 A |q|^(m-1) |1 - q|^2 / |1 - w|^2.
double FlowField::mappingScale(const CirclePoint& p) const {
    return m_ * m_ * A_ * std::exp((m_ - 1) * p.t.real()) * norm(p.oneMinusQ) / norm(p.oneMinusW);
}

// The circle flow dPhi/dzeta = A e^{-i Alfa} (s - s1)(s - s2)/s^2, s = zeta - centre, has its
// zeros at the two stagnation points, and s - s1 = zeta - 1 exactly; divided by dz/dzeta,
//   u - iv = e^{-i Alfa} 2 q^(2-m) (s - s2) (1 - w)^2 / (m^2 s^2 (1 - q)^3), with q^(2-m) = q^2/w.
// The stream function is Im Phi less its value on the circle:
//   psi = A Im(s e^{-i Alfa}) (|s|^2 - R^2)/|s|^2 + R A sin(Alfa + Beta) ln(|s|^2/R^2).
FieldValues FlowField::valuesAt(const CirclePoint& p) const {
    const Complex s = p.nearNose ? p.zetaPlus1 + s0_ : p.zetaMinus1 + s1_;
    const Complex sMinusS2 = p.nearNose ? p.zetaPlus1 + s0MinusS2_ : p.zetaMinus1 + s1MinusS2_;
    const Complex qPower = p.q * p.q / p.w;
    const Complex conjugateVelocity = freeStreamTurn_ * 2.0 * qPower * sMinusS2 * p.oneMinusW * p.oneMinusW /
                                      (m_ * m_ * s * s * p.oneMinusQ * p.oneMinusQ * p.oneMinusQ);
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
    // t = log q = log((zeta - 1)/(zeta + 1)); where |q| is near 1, far from the circle, its modulus
    // comes from |zeta - 1|^2 - |zeta + 1|^2 = -4 Re zeta.
    const double dNorm = norm(p.zetaMinus1), eNorm = norm(p.zetaPlus1);
    const double ratio = dNorm / eNorm;
    const double realZeta = -F_ + r * std::cos(angle);
    const double modulus = ratio > 0.5 && ratio < 2 ? 0.5 * std::log1p(-4 * realZeta / eNorm)
                                                    : 0.5 * (std::log(dNorm) - std::log(eNorm));
    p.t = {modulus, std::arg(p.zetaMinus1 * std::conj(p.zetaPlus1))};
    const Exponential q = exponential(p.t), w = exponential(m_ * p.t);
    p.q = q.value;
    p.oneMinusQ = -q.minusOne;
    p.w = w.value;
    p.oneMinusW = -w.minusOne;
    measureFromNearerEnd(p);
    p.exterior = (r - R_) * (r + R_);  // exact where r is
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
    Node node;
    if (norm(p.w) < 1) {
        const Complex fromTrailingEdge = 2 * mA_ * p.w / p.oneMinusW;
        node.x = 1 + fromTrailingEdge.real();
        node.y = fromTrailingEdge.imag();
    } else {
        const Complex fromNose = 2 * mA_ / p.oneMinusW;
        node.x = fromNose.real() - nose_;
        node.y = fromNose.imag();
    }
    node.values = valuesAt(p);
    return node;
}

}  // namespace vorta
