#include "core/studies/section_measure.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/calculation/calculation.h"
#include "core/numbers/number_text.h"
#include "core/solver/solver.h"
#include "core/studies/line_search.h"

namespace vorta {

namespace {

// Enough samples of the contour to see where x turns; the points between them are found exactly.
constexpr int kContourSamples = 512;
// Where along the chord thickness and camber are first tried, before their extremes are refined.
constexpr int kChordSamples = 48;
// How closely the extremes are placed in x, on top of what the search can resolve.
constexpr double kPlaceTolerance = 1e-12;

struct Sample {
    double s = 0, x = 0, y = 0;
};

// The exact contour by its arc parameter s, the circle's polar angle counted from the trailing
// edge (s = 0) over the upper surface (Theta = s up to Pi) and on along the lower surface
// (Theta = s - 2 Pi) back to the trailing edge (s = 2 Pi), cut at its leftmost point into the
// upper and the lower surface. Each surface is followed from there as long as x grows: up to
// the trailing edge, or up to where the contour bulges past it and turns back.
class Surfaces {
  public:
    Surfaces(double F, double G, double m) : surface_(F, G, m, 1, 0) {}

    // False where a point is beyond the range of numbers or the contour has no extent in x.
    bool sample() {
        samples_.resize(kContourSamples + 1);
        for (int j = 0; j <= kContourSamples; ++j) {
            samples_[index(j)] = at(2 * Pi * j / kContourSamples);
            if (!std::isfinite(samples_[index(j)].x) || !std::isfinite(samples_[index(j)].y)) return false;
        }
        const int nose = leftmostSample();
        leadingEdge_ = refine(nose, 1);
        upper_ = follow(nose, -1);
        lower_ = follow(nose, +1);
        return xHigh() > xLow();
    }

    double xLow() const { return leadingEdge_.x; }
    double xHigh() const { return std::min(upper_.back().x, lower_.back().x); }
    double upperY(double x) const { return yAt(upper_, x); }
    double lowerY(double x) const { return yAt(lower_, x); }

  private:
    static std::size_t index(int j) { return static_cast<std::size_t>(j); }

    Sample at(double s) const {
        const SurfacePoint p = surface_.at(s <= Pi ? s : s - 2 * Pi);
        return {s, p.x, p.y};
    }

    int leftmostSample() const {
        const auto first = samples_.begin() + 1, last = samples_.end() - 1;
        const auto leftmost =
            std::min_element(first, last, [](const Sample& a, const Sample& b) { return a.x < b.x; });
        return static_cast<int>(leftmost - samples_.begin());
    }

    // The extreme of sign * x between the samples either side of sample j: its least for +1.
    Sample refine(int j, double sign) const {
        const double step = 2 * Pi / kContourSamples;
        const double s = samples_[index(j)].s;
        const LeastValue least =
            findLeast([&](double t) { return sign * at(t).x; }, s - step, s + step, kPlaceTolerance);
        const Sample found = at(least.x);
        return sign * found.x < sign * samples_[index(j)].x ? found : samples_[index(j)];
    }

    // The samples from the leading edge in the direction step along which x grows, the
    // turning point at the end refined.
    std::vector<Sample> follow(int nose, int step) const {
        std::vector<Sample> piece{leadingEdge_};
        int j = nose + step;
        for (; j >= 0 && j <= kContourSamples && samples_[index(j)].x > piece.back().x; j += step) {
            piece.push_back(samples_[index(j)]);
        }
        const int last = j - step;
        if (last > 0 && last < kContourSamples && piece.size() > 1) piece.back() = refine(last, -1);
        return piece;
    }

    // y where the piece, along which x grows, reaches x.
    double yAt(const std::vector<Sample>& piece, double x) const {
        auto above = std::upper_bound(piece.begin(), piece.end(), x,
                                      [](double value, const Sample& p) { return value < p.x; });
        if (above == piece.begin()) return piece.front().y;
        if (above == piece.end()) return piece.back().y;
        const Sample& below = *(above - 1);
        if (below.x == x) return below.y;
        const double s =
            findRoot([&](double t) { return at(t).x - x; }, below.s, above->s, below.x - x, above->x - x);
        return at(s).y;
    }

    SectionSurface surface_;
    std::vector<Sample> samples_;
    Sample leadingEdge_;
    std::vector<Sample> upper_, lower_;
};

// A quantity along the chord: its value at x, tried at chord samples and refined about the
// largest of them.
struct AlongChord {
    double x, value;
};
AlongChord largest(const std::vector<double>& xs, const std::vector<double>& values,
                   const Function1& valueAt) {
    const std::size_t best =
        static_cast<std::size_t>(std::max_element(values.begin(), values.end()) - values.begin());
    const double low = xs[best == 0 ? 0 : best - 1], high = xs[std::min(best + 1, xs.size() - 1)];
    const LeastValue least = findLeast([&](double x) { return -valueAt(x); }, low, high, kPlaceTolerance);
    if (-least.value < values[best]) return {xs[best], values[best]};
    return {least.x, -least.value};
}

bool allFinite(const SectionMeasures& m) {
    return std::isfinite(m.Delta) && std::isfinite(m.Gama) && std::isfinite(m.xDltC) && std::isfinite(m.Tau);
}

}  // namespace

std::optional<SectionMeasures> measureSection(double F, double G, double m) {
    if (!std::isfinite(F) || !std::isfinite(G) || !std::isfinite(m) || sectionProblem(F, m))
        return std::nullopt;
    Surfaces surfaces(F, G, m);
    if (!surfaces.sample()) return std::nullopt;

    const double low = surfaces.xLow(), high = surfaces.xHigh();
    const auto thickness = [&](double x) { return surfaces.upperY(x) - surfaces.lowerY(x); };
    const auto camber = [&](double x) { return (surfaces.upperY(x) + surfaces.lowerY(x)) / 2; };
    std::vector<double> xs, thicknesses, cambers, negativeCambers;
    for (int k = 0; k <= kChordSamples; ++k) {
        const double x = low + (high - low) * (1 - std::cos(Pi * k / kChordSamples)) / 2;
        const double upper = surfaces.upperY(x), lower = surfaces.lowerY(x);
        xs.push_back(x);
        thicknesses.push_back(upper - lower);
        cambers.push_back((upper + lower) / 2);
        negativeCambers.push_back(-cambers.back());
    }

    SectionMeasures measures;
    measures.Tau = 180 * (2 - m);
    const AlongChord thickest = largest(xs, thicknesses, thickness);
    measures.Delta = std::max(thickest.value, 0.0);
    if (thickest.value >= kThinnestPlaced) measures.xDltC = thickest.x;
    const AlongChord highest = largest(xs, cambers, camber);
    const AlongChord lowest = largest(xs, negativeCambers, [&](double x) { return -camber(x); });
    measures.Gama = highest.value >= lowest.value ? highest.value : -lowest.value;
    if (!allFinite(measures)) return std::nullopt;
    return measures;
}

std::variant<Section, Refusal> describeSection(double F, double G, double m,
                                               const std::optional<std::string>& name) {
    const std::string refused =
        name.value_or("The section " + sectionNumbers(F, G, m)) + " cannot be described: ";
    if (const auto problem = sectionProblem(F, m)) return Refusal{refused + *problem};
    const std::optional<SectionMeasures> measures = measureSection(F, G, m);
    if (!measures) {
        return Refusal{refused +
                       "its contour, as the solution gives it, has no extent in x or points beyond the range "
                       "of numbers."};
    }
    return Section{F, G, m, *measures};
}

std::string withDecimals(double value, int decimals) {
    std::string text = formatRounded(value, decimals, ".");
    if (text.find_first_of("123456789") == std::string::npos) text = "0";  // no "-0"
    if (text.find('e') != std::string::npos) return text;
    std::size_t point = text.find('.');
    if (point == std::string::npos) {
        point = text.size();
        text += '.';
    }
    text.append(static_cast<std::size_t>(decimals) - (text.size() - point - 1), '0');
    return text;
}

std::string catalogLine(const SectionMeasures& measures, const std::string& F, const std::string& G,
                        const std::string& m) {
    std::string Tau = formatRounded(measures.Tau, 4, ".");
    if (Tau.find_first_of("123456789") == std::string::npos) Tau = "0";
    return withDecimals(measures.Delta, 4) + "," + withDecimals(measures.Gama, 4) + "," +
           withDecimals(measures.xDltC, 4) + "," + Tau + "," + F + "," + G + "," + m;
}

std::string catalogLine(const Section& section) {
    return catalogLine(section.measures, shortestText(section.F), shortestText(section.G),
                       shortestText(section.m));
}

}  // namespace vorta
