#include "core/studies/section_fit.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <optional>
#include <string>
#include <unsupported/Eigen/NonLinearOptimization>
#include <utility>

#include "core/numbers/number_text.h"
#include "core/solver/solver.h"
#include "core/studies/fit_start.h"
#include "core/studies/line_search.h"

namespace vorta {

namespace {

using Complex = std::complex<double>;

// Enough samples of the contour that the nearest of them lies next to a point's foot.
constexpr int kContourSamples = 256;
// Where the contour's points are placed along it, on top of what the search resolves.
constexpr double kFootTolerance = 1e-12;
// The step along the contour that gives its tangent, and how close to the trailing edge a foot
// is taken to be the edge itself.
constexpr double kTangentStep = 1e-6;
constexpr double kCornerWidth = 1e-6;
// The step of the central differences for the Jacobian, in the points' own frame.
constexpr double kDifferenceStep = 1e-7;
// The distance given to every point where the parameters describe no section (m at or below 1,
// or far past 2; no scale): far larger than any true one, so that Levenberg-Marquardt steps back.
constexpr double kNoSection = 1e3;
constexpr double kLargestTriedM = 3;

// The parameters: u with F = u^2 (F >= 0 whatever u is), G, m unless it is held, and the
// complex a and b that move a point q of the section to a q + b among the points.
struct Model {
    double F = 0, G = 0, m = 2;
    Complex a = 1, b = 0;
};

Model modelOf(const Eigen::VectorXd& p, std::optional<double> heldM) {
    const Eigen::Index k = heldM ? 2 : 3;
    return {p[0] * p[0], p[1], heldM ? *heldM : p[2], {p[k], p[k + 1]}, {p[k + 2], p[k + 3]}};
}

Eigen::VectorXd parametersOf(const Model& model, std::optional<double> heldM) {
    Eigen::VectorXd p(heldM ? 6 : 7);
    Eigen::Index k = 0;
    p[k++] = std::sqrt(model.F);
    p[k++] = model.G;
    if (!heldM) p[k++] = model.m;
    p[k++] = model.a.real();
    p[k++] = model.a.imag();
    p[k++] = model.b.real();
    p[k] = model.b.imag();
    return p;
}

bool describesSection(const Model& model) {
    return model.m > 1 && model.m <= kLargestTriedM && std::abs(model.a) > 0 && std::isfinite(model.F) &&
           std::isfinite(model.G) && std::isfinite(std::abs(model.a)) && std::isfinite(std::abs(model.b));
}

// The contour by its arc parameter s: from the trailing edge (s = 0) over the upper surface to
// the nose (s = Pi) and along the lower one back, counterclockwise, taken modulo 2 Pi.
class Contour {
  public:
    explicit Contour(const Model& model) : surface_(model.F, model.G, model.m, 1, 0) {}
    Complex at(double s) const {
        s -= 2 * Pi * std::floor(s / (2 * Pi));
        const SurfacePoint p = surface_.at(s <= Pi ? s : s - 2 * Pi);
        return {p.x, p.y};
    }

  private:
    SectionSurface surface_;
};

// Where along the contour a point's foot is looked for: on its own surface, and past the nose
// by a quarter turn, since the points' leading edge need not be the section's nose. Near a
// thin trailing edge the other surface lies closer than the points' own distance from theirs.
struct Reach {
    int first, last;  // samples
};
constexpr int kQuarterTurn = kContourSamples / 4;
constexpr Reach kUpperReach{0, kContourSamples / 2 + kQuarterTurn};
constexpr Reach kLowerReach{kContourSamples / 2 - kQuarterTurn, kContourSamples};

// The distance from point p, in the section's frame, to the contour: positive outside it,
// negative inside. Its foot is refined about the nearest sample, and the distance taken along
// the normal there, which errs only by the square of how far the foot is off. A point whose
// foot is the trailing edge lies beyond its corner, outside.
double signedDistance(const Contour& contour, const std::vector<Complex>& samples, Complex p, Reach reach) {
    int nearest = reach.first;
    for (int j = reach.first + 1; j <= reach.last; ++j) {
        if (std::norm(samples[static_cast<std::size_t>(j)] - p) <
            std::norm(samples[static_cast<std::size_t>(nearest)] - p))
            nearest = j;
    }
    const double step = 2 * Pi / kContourSamples;
    const double low = step * std::max(nearest - 1, reach.first),
                 high = step * std::min(nearest + 1, reach.last);
    const double s =
        findLeast([&](double t) { return std::norm(contour.at(t) - p); }, low, high, kFootTolerance).x;
    const Complex foot = contour.at(s), away = p - foot;
    if (std::fabs(std::remainder(s, 2 * Pi)) < kCornerWidth) return std::abs(away);
    const Complex tangent = contour.at(s + kTangentStep) - contour.at(s - kTangentStep);
    // The contour runs counterclockwise: the outward normal is the tangent turned clockwise.
    const Complex outward = Complex(tangent.imag(), -tangent.real()) / std::abs(tangent);
    return outward.real() * away.real() + outward.imag() * away.imag();
}

// The signed distances from the points to the moved contour, in the points' own units, or
// none where the parameters describe no section.
std::optional<Eigen::VectorXd> distancesTo(const Model& model, const std::vector<Complex>& points,
                                           const std::vector<Reach>& reaches) {
    if (!describesSection(model)) return std::nullopt;
    const Contour contour(model);
    std::vector<Complex> samples(kContourSamples + 1);
    for (int j = 0; j <= kContourSamples; ++j) {
        samples[static_cast<std::size_t>(j)] = contour.at(2 * Pi * j / kContourSamples);
    }
    Eigen::VectorXd distances(static_cast<Eigen::Index>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Complex p = (points[i] - model.b) / model.a;
        distances[static_cast<Eigen::Index>(i)] =
            std::abs(model.a) * signedDistance(contour, samples, p, reaches[i]);
    }
    if (!distances.allFinite()) return std::nullopt;
    return distances;
}

// What Levenberg-Marquardt makes least: the signed distances, except that the first and the
// last point, the points' trailing edge, are held to the section's trailing edge by their
// offset from it in x and in y. Their distance to the contour would have a corner where it
// vanishes, at the trailing edge, which a fit to points on the contour reaches. Central
// differences give the Jacobian.
struct Residuals {
    using Scalar = double;
    enum { InputsAtCompileTime = Eigen::Dynamic, ValuesAtCompileTime = Eigen::Dynamic };
    using InputType = Eigen::VectorXd;
    using ValueType = Eigen::VectorXd;
    using JacobianType = Eigen::MatrixXd;

    const std::vector<Complex>& points;
    const std::vector<Reach>& reaches;
    std::optional<double> heldM;

    int inputs() const { return heldM ? 6 : 7; }
    int values() const { return static_cast<int>(points.size()) + 2; }

    int operator()(const Eigen::VectorXd& parameters, Eigen::VectorXd& residuals) const {
        const Model model = modelOf(parameters, heldM);
        const std::optional<Eigen::VectorXd> distances = distancesTo(model, points, reaches);
        if (!distances) {
            residuals.setConstant(values(), kNoSection);
            return 0;
        }
        const Eigen::Index n = distances->size();
        residuals.resize(values());
        residuals.head(n) = *distances;
        const Complex first = model.a + model.b - points.front(), last = model.a + model.b - points.back();
        residuals[0] = first.real();
        residuals[n - 1] = last.real();
        residuals[n] = first.imag();
        residuals[n + 1] = last.imag();
        return 0;
    }

    int df(const Eigen::VectorXd& p, Eigen::MatrixXd& jacobian) const {
        Eigen::VectorXd ahead(values()), behind(values());
        for (Eigen::Index j = 0; j < p.size(); ++j) {
            Eigen::VectorXd moved = p;
            moved[j] = p[j] + kDifferenceStep;
            (*this)(moved, ahead);
            moved[j] = p[j] - kDifferenceStep;
            (*this)(moved, behind);
            jacobian.col(j) = (ahead - behind) / (2 * kDifferenceStep);
        }
        return 0;
    }
};

Model leastSquares(const std::vector<Complex>& points, const std::vector<Reach>& reaches, const Model& start,
                   std::optional<double> heldM) {
    Residuals residuals{points, reaches, heldM};
    Eigen::VectorXd p = parametersOf(start, heldM);
    Eigen::LevenbergMarquardt<Residuals> solver(residuals);
    solver.parameters.ftol = 1e-15;
    solver.parameters.xtol = 1e-15;
    solver.parameters.maxfev = 300;
    solver.minimize(p);
    return modelOf(p, heldM);
}

// The power of two that brings the largest coordinate between 1/2 and 1: points scaled by it,
// exactly, keep their squared distances within the range of numbers, however large or small.
int scaleExponent(const std::vector<PlanePoint>& points) {
    double largest = 0;
    for (const PlanePoint& p : points) largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
    int exponent = 0;
    std::frexp(largest, &exponent);
    return exponent;
}

}  // namespace

std::variant<SectionFit, Refusal> fitSection(const std::vector<PlanePoint>& givenPoints) {
    if (givenPoints.size() < kFewestContourPoints) {
        return Refusal{"a fit needs at least " + std::to_string(kFewestContourPoints) + " points."};
    }
    for (const PlanePoint& p : givenPoints) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return Refusal{"a point is beyond the range of numbers."};
    }
    const int exponent = scaleExponent(givenPoints);
    std::vector<PlanePoint> filePoints;
    for (const PlanePoint& p : givenPoints)
        filePoints.push_back({std::ldexp(p.x, -exponent), std::ldexp(p.y, -exponent)});
    const std::optional<FitStart> start = fitStart(filePoints);
    if (!start)
        return Refusal{"the points do not outline a section: its leading and trailing edges coincide."};
    std::vector<Complex> points;
    std::vector<Reach> reaches;
    for (const PlanePoint& p : filePoints) {
        const bool first = points.size() <= start->leadingEdge;
        reaches.push_back(first == start->upperFirst ? kUpperReach : kLowerReach);
        points.push_back((Complex(p.x, p.y) - start->origin) / start->chord);
    }

    Model model{start->F, start->G, start->m, 1, 0};
    model = leastSquares(points, reaches, model, std::nullopt);
    if (model.m > 2) model = leastSquares(points, reaches, {model.F, model.G, 2, model.a, model.b}, 2.0);
    const std::optional<SectionMeasures> measures = measureSection(model.F, model.G, model.m);
    if (!describesSection(model) || !measures) return Refusal{"no section fits the points."};

    const std::optional<Eigen::VectorXd> distances = distancesTo(model, points, reaches);
    if (!distances) return Refusal{"no section fits the points."};
    const double scale = std::abs(model.a);
    SectionFit fit;
    fit.section = {model.F, model.G, model.m, *measures};
    fit.largestDistance = distances->cwiseAbs().maxCoeff() / scale;
    fit.rmsDistance = std::sqrt(distances->squaredNorm() / static_cast<double>(points.size())) / scale;
    const Complex a = std::ldexp(1.0, exponent) * start->chord * model.a;
    const Complex b = std::ldexp(1.0, exponent) * (start->chord * model.b + start->origin);
    fit.transform = {std::abs(a), std::arg(a) * 180 / Pi, b.real(), b.imag()};
    return fit;
}

std::variant<SectionFit, Refusal> fitSectionToArrays(std::size_t n, const double* x, const double* y) {
    const std::string refused = "Cannot fit the arrays: ";
    if (n < kFewestContourPoints) {
        return Refusal{refused + "they hold " + std::to_string(n) + " points; a fit needs at least " +
                       std::to_string(kFewestContourPoints) + "."};
    }
    if (n > kMostContourPoints)
        return Refusal{refused + "they hold more than " + std::to_string(kMostContourPoints) + " points."};
    std::vector<PlanePoint> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (const auto& [name, values] : {std::pair{"x", x}, std::pair{"y", y}}) {
            if (!std::isfinite(values[i])) {
                return Refusal{refused + name + "[" + std::to_string(i) + "] is " + shortestText(values[i]) +
                               "; the points must be finite numbers."};
            }
        }
        points[i] = {x[i], y[i]};
    }
    auto fit = fitSection(points);
    if (auto* refusal = std::get_if<Refusal>(&fit)) refusal->message.insert(0, refused);
    return fit;
}

}  // namespace vorta
