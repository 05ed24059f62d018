#include "core/studies/fit_start.h"

#include <algorithm>
#include <cmath>

#include "core/solver/solver.h"
#include "core/studies/section_design.h"

namespace vorta {

namespace {

using Complex = std::complex<double>;

constexpr int kChordSamples = 200;
// Where the trailing-edge angle is read, between the surfaces' points there and the edge.
constexpr double kNearTrailingEdge = 0.98;
constexpr double kLargestStartAngle = 60;

// y where a run of points first crosses x, by the straight line between its points.
std::optional<double> yAt(const std::vector<Complex>& run, double x) {
    for (std::size_t i = 1; i < run.size(); ++i) {
        const Complex a = run[i - 1], b = run[i];
        if ((a.real() - x) * (b.real() - x) > 0 || a.real() == b.real()) continue;
        return a.imag() + (b.imag() - a.imag()) * (x - a.real()) / (b.real() - a.real());
    }
    return std::nullopt;
}

// The section's shape along the chord as two runs of points from the leading edge show it.
void measureRuns(const std::vector<Complex>& first, const std::vector<Complex>& second, FitStart& start) {
    double sumFirst = 0, sumSecond = 0;
    std::vector<double> upper, lower;
    for (int k = 1; k < kChordSamples; ++k) {
        const double x = static_cast<double>(k) / kChordSamples;
        const std::optional<double> a = yAt(first, x), b = yAt(second, x);
        if (!a || !b) continue;
        sumFirst += *a;
        sumSecond += *b;
        upper.push_back(std::max(*a, *b));
        lower.push_back(std::min(*a, *b));
    }
    start.upperFirst = sumFirst >= sumSecond;
    const auto& top = start.upperFirst ? first : second;
    const auto& bottom = start.upperFirst ? second : first;
    for (std::size_t k = 0; k < upper.size(); ++k) {
        start.T = std::max(start.T, upper[k] - lower[k]);
        const double camber = (upper[k] + lower[k]) / 2;
        if (std::fabs(camber) > std::fabs(start.C)) start.C = camber;
    }
    const std::optional<double> yTop = yAt(top, kNearTrailingEdge), yBottom = yAt(bottom, kNearTrailingEdge);
    if (yTop && yBottom) {
        const double run = 1 - kNearTrailingEdge;
        const double angle = (std::atan2(*yTop, run) - std::atan2(*yBottom, run)) * 180 / Pi;
        start.TAU = std::clamp(angle, 0.0, kLargestStartAngle);
    }
}

}  // namespace

std::optional<FitStart> fitStart(const std::vector<PlanePoint>& points) {
    std::vector<Complex> p;
    for (const PlanePoint& point : points) p.emplace_back(point.x, point.y);
    const Complex trailingEdge = (p.front() + p.back()) / 2.0;
    const auto farthest = std::max_element(p.begin(), p.end(), [&](Complex a, Complex b) {
        return std::norm(a - trailingEdge) < std::norm(b - trailingEdge);
    });
    FitStart start;
    start.origin = *farthest;
    start.chord = trailingEdge - start.origin;
    if (!(std::abs(start.chord) > 0) || !std::isfinite(std::abs(start.chord))) return std::nullopt;
    for (Complex& point : p) point = (point - start.origin) / start.chord;

    start.leadingEdge = static_cast<std::size_t>(farthest - p.begin());
    std::vector<Complex> first(p.begin(), farthest + 1);
    std::reverse(first.begin(), first.end());
    const std::vector<Complex> second(farthest, p.end());
    measureRuns(first, second, start);

    const auto designed = designSection(start.T, start.C, start.TAU);
    start.m = 2 - start.TAU / 180;
    if (const auto* section = std::get_if<Section>(&designed)) {
        start.F = section->F;
        start.G = section->G;
    } else {
        // As for a thin Joukowsky section: thickness about 1.3 F/(1 + F), camber about G/(2 (1 + F)).
        const double u = std::clamp(start.T / 1.3, 0.0, 0.9);
        start.F = u / (1 - u);
        start.G = 2 * start.C * (1 + start.F);
    }
    return start;
}

}  // namespace vorta
