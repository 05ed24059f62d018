#include "core/solver/flow_field.h"

#include <cmath>
#include <complex>

#include "core/solver/field_sweep.h"
#include "core/solver/math_scalar.h"

namespace vorta {

namespace {

using Complex = std::complex<double>;
using Scalar = solver::ScalarMath;

const double Pi = 4 * std::atan(1.0);

void set(double (&to)[2], Complex value) {
    to[0] = value.real();
    to[1] = value.imag();
}

Complex complexOf(const double (&c)[2]) { return {c[0], c[1]}; }

FieldValues valuesOf(const solver::FlowValues<Scalar>& v) { return {v.u, v.v, v.Cp, v.psi}; }

}  // namespace

FlowField::FlowField(double F, double G, double m, double AlfaD) {
    constexpr double Chord = 1;
    solver::FieldConstants& c = constants_;
    const double ratio = std::pow(F / (1 + F), m);
    c.F = F;
    c.m = m;
    c.A = (Chord / (2 * m)) * (1 - ratio);
    c.mA = m * c.A;
    c.nose = -Chord * ratio;  // XShift + mA = 2mA - Chord, without cancelling
    const double Beta = std::atan(G / (1 + F));
    c.R2 = (1 + F) * (1 + F) + G * G;
    c.R = std::sqrt(c.R2);
    c.minusMBeta = -m * Beta;
    const double Alfa = AlfaD * Pi / 180;
    c.RAsinAB = c.R * c.A * std::sin(Alfa + Beta);
    set(c.s1, {1 + F, -G});
    set(c.s0, {F - 1, -G});
    // s1 - s2 = 2R e^{i Alfa} cos(Alfa + Beta), with R cos(Alfa + Beta) = (1 + F) cos Alfa - G sin Alfa;
    // s0 - s2 = s1 - s2 - 2 multiplied out, so that it keeps its digits when the front stagnation
    // point comes near zeta = -1.
    const double cosA = std::cos(Alfa), sinA = std::sin(Alfa);
    set(c.s1MinusS2, 2.0 * std::polar((1 + F) * cosA - G * sinA, Alfa));
    set(c.s0MinusS2, 2.0 * Complex(F * cosA * cosA - sinA * sinA - G * sinA * cosA,
                                   (1 + F) * sinA * cosA - G * sinA * sinA));
    set(c.turn, std::polar(1.0, -Alfa));
    c.tolerance = kSurfaceTolerance;
}

double FlowField::trailingEdgeAngle() const { return std::arg(complexOf(constants_.s1)); }

// At the trailing edge q = 0: the Joukowsky section's cusp has a finite speed, along the
// limit of the field's formula; any other trailing edge is a stagnation point.
FieldValues FlowField::trailingEdgeValues() const {
    const solver::FieldConstants& c = constants_;
    FieldValues values;
    if (c.m == 2) {
        const Complex s1 = complexOf(c.s1);
        const Complex velocity = complexOf(c.turn) * 2.0 * complexOf(c.s1MinusS2) / (4.0 * s1 * s1);
        values.u = velocity.real();
        values.v = -velocity.imag();
        values.Cp = 1 - std::norm(velocity);
    } else {
        values.Cp = 1;
    }
    return values;
}

std::optional<FieldValues> FlowField::at(double x, double y) const {
    if (x == 1 && y == 0) return trailingEdgeValues();
    const FieldValues values = valuesOf(solver::fieldAt<Scalar>(constants_, x, y));
    if (std::isnan(values.u)) return std::nullopt;
    return values;
}

void FlowField::evaluate(std::size_t n, const double* x, const double* y, double* u, double* v, double* Cp,
                         double* psi) const {
    evaluate(n, x, y, u, v, Cp, psi, widestPath(), 0);
}

void FlowField::evaluate(std::size_t n, const double* x, const double* y, double* u, double* v, double* Cp,
                         double* psi, SweepPath path, int threads) const {
    const FieldValues edge = trailingEdgeValues();
    solver::fieldPoints({&constants_, 0, n, x, y, u, v, Cp, psi, {edge.u, edge.v, edge.Cp, edge.psi}}, path,
                        threads);
}

// The circle-plane point s = r e^{i angle} from the centre, by zeta - 1 = s - s1 and zeta + 1 =
// s - s0, each formed as a difference that vanishes by itself where the point meets s1 or s0:
// r e^{ia} - R e^{ib} = (r - R) e^{ia} + 2iR sin((a - b)/2) e^{i(a + b)/2}, and |s0| = R - 4F/(R + |s0|).
FlowField::Node FlowField::atCirclePoint(double r, double angle) const {
    const solver::FieldConstants& c = constants_;
    const auto fromCirclePoint = [&](double direction) {
        const double half = (angle - direction) / 2;
        return (r - c.R) * std::polar(1.0, angle) +
               Complex(0, 2 * c.R * std::sin(half)) * std::polar(1.0, angle - half);
    };
    const Complex s0 = complexOf(c.s0);
    const Complex zetaMinus1 = fromCirclePoint(trailingEdgeAngle());
    const Complex zetaPlus1 =
        fromCirclePoint(std::arg(s0)) + 4 * c.F / (c.R + std::abs(s0)) * std::polar(1.0, std::arg(s0));
    if (zetaMinus1 == Complex(0, 0)) return {1, 0, trailingEdgeValues()};

    // t = log q = log((zeta - 1)/(zeta + 1)); where |q| is near 1, far from the circle, its
    // modulus comes from |zeta - 1|^2 - |zeta + 1|^2 = -4 Re zeta.
    const double ratio = std::norm(zetaMinus1) / std::norm(zetaPlus1);
    const double realZeta = -c.F + r * std::cos(angle);
    const double modulus = ratio > 0.5 && ratio < 2 ? 0.5 * std::log1p(-4 * realZeta / std::norm(zetaPlus1))
                                                    : 0.5 * std::log(ratio);
    const solver::Cx<Scalar> t = {modulus, std::arg(zetaMinus1 * std::conj(zetaPlus1))};
    const auto q = solver::exponential<Scalar>(t);
    const auto w = solver::exponential<Scalar>({c.m * t.re, c.m * t.im});
    solver::CirclePoint<Scalar> p;
    p.tRe = t.re;
    p.q = q.value;
    p.oneMinusQ = {-q.minusOne.re, -q.minusOne.im};
    p.w = w.value;
    p.oneMinusW = {-w.minusOne.re, -w.minusOne.im};
    p.zetaMinus1 = {zetaMinus1.real(), zetaMinus1.imag()};
    p.zetaPlus1 = {zetaPlus1.real(), zetaPlus1.imag()};
    solver::measureFromNearerEnd<Scalar>(c, p);
    p.exterior = (r - c.R) * (r + c.R);  // exact where r is

    // z' - mA = 2mA w/(1 - w) and z' + mA = 2mA/(1 - w): the smaller gives x without cancelling,
    // from the trailing edge's x = 1 or the nose's.
    const Complex oneMinusW(p.oneMinusW.re, p.oneMinusW.im), wValue(p.w.re, p.w.im);
    Node node;
    if (std::norm(wValue) < 1) {
        const Complex fromTrailingEdge = 2 * c.mA * wValue / oneMinusW;
        node.x = 1 + fromTrailingEdge.real();
        node.y = fromTrailingEdge.imag();
    } else {
        const Complex fromNose = 2 * c.mA / oneMinusW;
        node.x = fromNose.real() - c.nose;
        node.y = fromNose.imag();
    }
    node.values = valuesOf(solver::flowAt<Scalar>(c, p));
    return node;
}

}  // namespace vorta
