#include "core/studies/exact_contour.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/solver/solver.h"

namespace vorta {

namespace {

constexpr int kSamples = 8192;
// A point this close to the left of the leading edge is taken to be on it.
constexpr double kNoseTolerance = 1e-12;
// How many samples from where x is met a point's y is looked for.
constexpr int kNearby = 4;

double thetaOf(double s) { return s <= Pi ? s : s - 2 * Pi; }
double sampleS(int j) { return 2 * Pi * j / kSamples; }
std::size_t index(int j) { return static_cast<std::size_t>(j); }

// The sign of the step from a to b, 0 for none.
int direction(double a, double b) { return (b > a) - (b < a); }

}  // namespace

ExactContour::ExactContour(ExactAtTheta exact, double trailingEdgeCp)
    : exact_(std::move(exact)), trailingEdgeCp_(trailingEdgeCp) {
    sample();
    refineExtremes();
    splitIntoPieces();
}

ExactPoint ExactContour::at(double s) const {
    const double Theta = thetaOf(s);
    return Theta == 0 ? ExactPoint{1, 0, trailingEdgeCp_} : exact_(Theta);
}

void ExactContour::sample() {
    samples_.resize(kSamples + 1);
    for (int j = 0; j <= kSamples; ++j) samples_[index(j)] = {sampleS(j), at(sampleS(j))};
}

// Each turn of x between the samples, the leading edge among them, is found to the double by
// golden-section search and joins the samples, so that the pieces meet where x truly turns.
void ExactContour::refineExtremes() {
    std::vector<ContourPoint> turns;
    for (int j = 1; j < kSamples; ++j) {
        const double before = samples_[index(j - 1)].point.x, here = samples_[index(j)].point.x;
        const double after = samples_[index(j + 1)].point.x;
        const bool lowest = here < before && here <= after, highest = here > before && here >= after;
        if (!lowest && !highest) continue;
        const double sign = lowest ? 1 : -1;  // the search looks for the smallest sign * x
        double low = sampleS(j - 1), high = sampleS(j + 1);
        const double ratio = (std::sqrt(5.0) - 1) / 2;
        for (int step = 0; step < 100 && high - low > 0; ++step) {
            const double left = high - ratio * (high - low), right = low + ratio * (high - low);
            if (sign * at(left).x < sign * at(right).x) {
                high = right;
            } else {
                low = left;
            }
        }
        const double s = low + (high - low) / 2;
        const ExactPoint turn = at(s);
        if (sign * turn.x < sign * here && s != sampleS(j)) turns.push_back({s, turn});
    }
    samples_.insert(samples_.end(), turns.begin(), turns.end());
    std::sort(samples_.begin(), samples_.end(),
              [](const ContourPoint& a, const ContourPoint& b) { return a.s < b.s; });
    const auto leftmost =
        std::min_element(samples_.begin() + 1, samples_.end() - 1,
                         [](const ContourPoint& a, const ContourPoint& b) { return a.point.x < b.point.x; });
    leadingIndex_ = static_cast<int>(leftmost - samples_.begin());
    leadingEdge_ = *leftmost;
}

// Walks each surface from the leading edge to the trailing edge and starts a new piece
// wherever x turns.
void ExactContour::splitIntoPieces() {
    const int last = static_cast<int>(samples_.size()) - 1;
    for (Surface surface : {Surface::Upper, Surface::Lower}) {
        const int step = surface == Surface::Upper ? -1 : 1;
        const int end = surface == Surface::Upper ? 0 : last;
        std::vector<Piece>& out = surface == Surface::Upper ? upper_ : lower_;
        int start = leadingIndex_, heading = 0;
        for (int j = leadingIndex_; j != end; j += step) {
            const int d = direction(samples_[index(j)].point.x, samples_[index(j + step)].point.x);
            if (d != 0 && heading != 0 && d != heading) {
                out.push_back({std::min(start, j), std::max(start, j)});
                start = j;
            }
            if (d != 0) heading = d;
        }
        out.push_back({std::min(start, end), std::max(start, end)});
        for (Piece& piece : out) {
            const double a = samples_[index(piece.first)].point.x, b = samples_[index(piece.last)].point.x;
            piece.xLow = std::min(a, b);
            piece.xHigh = std::max(a, b);
            xSpan_ = std::max(xSpan_, piece.xHigh - leadingEdge_.point.x);
        }
        (surface == Surface::Upper ? upperHints_ : lowerHints_).assign(out.size(), 0);
    }
    for (const ContourPoint& sample : samples_) sampleX_.push_back(sample.point.x);
}

bool ExactContour::reaches(Surface surface, int piece, double x) const {
    const Piece& p = pieces(surface)[static_cast<std::size_t>(piece)];
    const double tolerance = piece == 0 ? kNoseTolerance : 0;
    return x >= p.xLow - tolerance && x <= p.xHigh;
}

// The sample interval of the piece whose ends' x enclose x: the one the last search ended in
// or its neighbour when x lies there, else by binary search.
int ExactContour::bracket(Surface surface, int piece, double x) const {
    const Piece& p = pieces(surface)[static_cast<std::size_t>(piece)];
    int& hint = (surface == Surface::Upper ? upperHints_ : lowerHints_)[static_cast<std::size_t>(piece)];
    const auto encloses = [&](int j) {
        const double a = sampleX_[index(j)], b = sampleX_[index(j + 1)];
        return (a <= x && x <= b) || (b <= x && x <= a);
    };
    for (int j : {hint, hint - 1, hint + 1}) {
        if (j >= p.first && j < p.last && encloses(j)) return hint = j;
    }
    const bool rising = sampleX_[index(p.last)] >= sampleX_[index(p.first)];
    int low = p.first, high = p.last;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        if ((sampleX_[index(middle)] <= x) == rising) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return hint = low;
}

// s at x from the samples: the polynomial through six of them around interval j (fewer at
// the piece's ends), which away from the turns of x is exact to about the double, or the
// straight line where that leaves the interval.
double ExactContour::guess(const Piece& piece, int j, double x) const {
    constexpr int kOrder = 6;
    const ContourPoint& a = samples_[index(j)];
    const ContourPoint& b = samples_[index(j + 1)];
    const double line = a.s + (x - a.point.x) / (b.point.x - a.point.x) * (b.s - a.s);
    const int first = std::max(piece.first, std::min(j - kOrder / 2 + 1, piece.last - kOrder + 1));
    const int last = std::min(piece.last, first + kOrder - 1);
    double polynomial = 0;
    for (int k = first; k <= last; ++k) {
        double numerator = samples_[index(k)].s, denominator = 1;
        for (int other = first; other <= last; ++other) {
            if (other == k) continue;
            numerator *= x - sampleX_[index(other)];
            denominator *= sampleX_[index(k)] - sampleX_[index(other)];
        }
        polynomial += numerator / denominator;
    }
    if (polynomial > a.s && polynomial < b.s) return polynomial;
    return line > a.s && line < b.s ? line : a.s + (b.s - a.s) / 2;
}

// The root of side(point) in sample interval j: secant steps from the guess, kept inside a
// shrinking bracket and halving it where they make too little headway, until side is within
// `settled` of 0 (the rounding of the coordinate solved for) or s cannot move.
template <class Side>
ContourPoint ExactContour::solve(int j, double s, double settled, Side side) const {
    const ContourPoint& low = samples_[index(j)];
    const ContourPoint& high = samples_[index(j + 1)];
    double a = low.s, b = high.s, fa = side(low.point), fb = side(high.point);
    if (!(fa * fb < 0)) return std::fabs(fa) <= std::fabs(fb) ? low : high;
    ContourPoint best = std::fabs(fa) <= std::fabs(fb) ? low : high;
    double bestSide = std::min(std::fabs(fa), std::fabs(fb));
    double previousS = s - a < b - s ? a : b, previousSide = s - a < b - s ? fa : fb;
    double width = b - a;
    for (int step = 1; step <= 100; ++step) {
        if (!(s > a && s < b) || (step % 3 == 0 && b - a > width / 2)) s = a + (b - a) / 2;
        if (step % 3 == 0) width = b - a;
        if (!(s > a && s < b)) break;  // the bracket is down to neighbouring doubles
        const ExactPoint p = at(s);
        const double f = side(p);
        if (!std::isfinite(f)) break;
        if (std::fabs(f) < bestSide) {
            best = {s, p};
            bestSide = std::fabs(f);
        }
        if (std::fabs(f) <= settled) break;
        if ((f < 0) == (fa < 0)) {
            a = s;
            fa = f;
        } else {
            b = s;
        }
        const double next = s - f * (s - previousS) / (f - previousSide);
        if (std::fabs(next - s) <= std::numeric_limits<double>::epsilon() * std::fabs(s)) break;
        previousS = s;
        previousSide = f;
        s = next;
    }
    return best;
}

ExactContour::Estimate ExactContour::estimateY(Surface surface, int piece, double x) const {
    const Piece& p = pieces(surface)[static_cast<std::size_t>(piece)];
    const int j = bracket(surface, piece, std::clamp(x, p.xLow, p.xHigh));
    const ExactPoint& a = samples_[index(j)].point;
    const ExactPoint& b = samples_[index(j + 1)].point;
    const double t = b.x == a.x ? 0.5 : std::clamp((x - a.x) / (b.x - a.x), 0.0, 1.0);
    // Between two samples y stays within their span, and a curve bends away from its chord
    // by less than the second differences around it.
    double bend = 0;
    for (int k = std::max(1, j); k <= std::min(j + 1, static_cast<int>(samples_.size()) - 2); ++k) {
        bend = std::max(bend, std::fabs(samples_[index(k - 1)].point.y - 2 * samples_[index(k)].point.y +
                                        samples_[index(k + 1)].point.y));
    }
    return {a.y + t * (b.y - a.y), std::fabs(b.y - a.y) + bend + 1e-15};
}

std::optional<ContourPoint> ExactContour::findByHeight(const Piece& piece, int j, double y) const {
    std::optional<int> best;
    for (int k = std::max(piece.first, j - kNearby); k < std::min(piece.last, j + kNearby + 1); ++k) {
        const double a = samples_[index(k)].point.y - y, b = samples_[index(k + 1)].point.y - y;
        if (!(a == 0 || b == 0 || a * b < 0)) continue;
        if (!best || std::abs(k - j) < std::abs(*best - j)) best = k;
    }
    if (!best) return std::nullopt;
    const ContourPoint& a = samples_[index(*best)];
    const ContourPoint& b = samples_[index(*best + 1)];
    const double line = a.s + (y - a.point.y) / (b.point.y - a.point.y) * (b.s - a.s);
    const double settled = std::numeric_limits<double>::epsilon() * std::fabs(y);
    return solve(*best, line, settled, [y](const ExactPoint& p) { return p.y - y; });
}

ContourPoint ExactContour::find(Surface surface, int piece, double x, std::optional<double> y) const {
    const Piece& p = pieces(surface)[static_cast<std::size_t>(piece)];
    if (piece == 0 && x <= leadingEdge_.point.x) return leadingEdge_;
    x = std::clamp(x, p.xLow, p.xHigh);
    const int j = bracket(surface, piece, x);
    const ExactPoint& a = samples_[index(j)].point;
    const ExactPoint& b = samples_[index(j + 1)].point;
    if (y && std::fabs(b.y - a.y) > std::fabs(b.x - a.x)) {
        if (auto byHeight = findByHeight(p, j, *y)) return *byHeight;
    }
    // x comes from a difference of numbers near 1 and is rounded to about a unit in their last place.
    const double settled = std::numeric_limits<double>::epsilon() * std::max(1.0, std::fabs(x));
    return solve(j, guess(p, j, x), settled, [x](const ExactPoint& q) { return q.x - x; });
}

}  // namespace vorta
