#include "core/solver/solver.h"

#include <cmath>

#include "core/solver/solver_sweep.h"
#include "core/solver/work_sharing.h"

namespace vorta {

namespace {

// The circle in the mapping plane: centre (-F, G), through the singular point (1, 0).
struct Mapping {
    double F, G, m, Chord;
    double A, mA, XShift, Beta, R2;
};

Mapping makeMapping(double F, double G, double m, double Chord) {
    Mapping s{F, G, m, Chord, 0, 0, 0, 0, 0};
    s.A = (Chord / (2 * m)) * (1 - std::pow(F / (1 + F), m));
    s.mA = m * s.A;
    s.XShift = m * s.A - Chord;
    s.Beta = std::atan(G / (1 + F));
    s.R2 = (1 + F) * (1 + F) + G * G;
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

solver::SurfaceConstants surfaceConstants(const Mapping& s, double Alfa) {
    const double R = std::sqrt(s.R2);
    solver::SurfaceConstants c{};
    c.F = s.F;
    c.G = s.G;
    c.m = s.m;
    c.onePlus2F = 1 + 2 * s.F;
    c.halfM = s.m / 2;
    c.mSquared = s.m * s.m;
    c.mA = s.mA;
    c.XShift = s.XShift;
    // a and b are CenterRatio = sqrt((F^2 + G^2)/R2) times the cosine and sine of CenterAngle
    // = atan(G/F), F/R and G/R, taken without forming the angle: near Pi/2 (F << G) its
    // rounding would spoil its cosine. At F = 0 they give the angle's limit, +-Pi/2 with the
    // sign of G. The trailing edge sits at Omega0 = asin(G/R) = Beta, where the flow leaves
    // it smoothly.
    c.a = s.F / R;
    c.b = s.G / R;
    c.cosOmega0 = (1 + s.F) / R;
    c.sinAlfa = std::sin(Alfa);
    c.cosAlfa = std::cos(Alfa);
    c.sinAB = std::sin(Alfa + s.Beta);
    c.cosAB = std::cos(Alfa + s.Beta);
    return c;
}

// The Joukowsky section's cusp has a finite speed; any other trailing edge is a stagnation point.
double trailingEdgeCu(const Mapping& s, double Alfa) {
    const double CosAB = std::cos(Alfa + s.Beta);
    return s.m == 2 ? CosAB * CosAB / s.R2 : 0;
}

void zeroSlots(Solution& solution, std::size_t first, std::size_t last) {
    for (std::size_t k = first; k <= last; ++k) solution.x[k] = solution.y[k] = solution.Cu[k] = 0;
}

}  // namespace

Coefficients sectionCoefficients(double F, double G, double m, double Chord, double AlfaD) {
    return coefficientsOf(makeMapping(F, G, m, Chord), AlfaD * Pi / 180);
}

Solution VORTA(int N1, double F, double G, double m, double Chord, double AlfaD) {
    return VORTA(N1, F, G, m, Chord, AlfaD, widestPath(), 0);
}

Solution VORTA(int N1, double F, double G, double m, double Chord, double AlfaD, SweepPath path,
               int threads) {
    Solution solution;
    const std::size_t slots = static_cast<std::size_t>(N1) + 1;
    solution.x.resize(slots);  // not zero filled: every slot is written below
    solution.y.resize(slots);
    solution.Cu.resize(slots);

    const Mapping s = makeMapping(F, G, m, Chord);
    const double Alfa = AlfaD * Pi / 180;
    solution.coefficients = coefficientsOf(s, Alfa);

    // Pair i is point i at Theta = -(i-1)dTheta and point N1 + 1 - i at +(i-1)dTheta. With
    // F = 0 the circle passes through (-1, 0), where the mapping is singular: the arc's sharp
    // leading edge, with no finite speed. Only an odd N1 has a point there (Theta = +-Pi, the
    // last pair); the sweep stops short of it, and its slot holds 0.
    const int NM1 = N1 - 1;
    const int lastPair = F == 0 && N1 % 2 == 1 ? NM1 / 2 : NM1 / 2 + 1;
    const solver::SurfaceConstants constants = surfaceConstants(s, Alfa);
    solver::sweep(
        {&constants, N1, 2 * Pi / NM1, 2, lastPair, solution.x.data(), solution.y.data(), solution.Cu.data()},
        path, threads);
    zeroSlots(solution, 0, 0);
    zeroSlots(solution, static_cast<std::size_t>(lastPair) + 1, static_cast<std::size_t>(N1 - lastPair));

    const std::size_t first = 1, last = static_cast<std::size_t>(N1);
    solution.x[first] = solution.x[last] = Chord;
    solution.y[first] = solution.y[last] = 0;
    solution.Cu[first] = solution.Cu[last] = trailingEdgeCu(s, Alfa);
    return solution;
}

struct SectionSurface::Constants {
    solver::SurfaceConstants values;
};

SectionSurface::SectionSurface(double F, double G, double m, double Chord, double AlfaD)
    : constants_(std::make_unique<Constants>()), Chord_(Chord) {
    const Mapping s = makeMapping(F, G, m, Chord);
    const double Alfa = AlfaD * Pi / 180;
    constants_->values = surfaceConstants(s, Alfa);
    trailingEdgeCu_ = trailingEdgeCu(s, Alfa);
}

SectionSurface::~SectionSurface() = default;

SurfacePoint SectionSurface::at(double Theta) const {
    if (Theta == 0) return {Chord_, 0, trailingEdgeCu_};
    const solver::PointValues p = solver::pointAt(constants_->values, Theta);
    return {p.x, p.y, p.Cu};
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

PointArray pressureCoefficients(const PointArray& Cu) {
    // Long arrays on two threads where there are two cores: each first touches its own chunks,
    // as the sweep does.
    constexpr int kPointsPerChunk = 1 << 16, kMinPointsPerThread = 1 << 18;
    PointArray Cp(Cu.size());
    shareWork(static_cast<int>(Cu.size()), kPointsPerChunk, kMinPointsPerThread, 0, [&](int first, int end) {
        for (int k = first; k < end; ++k) Cp[k] = 1 - Cu[k];
    });
    return Cp;
}

}  // namespace vorta
