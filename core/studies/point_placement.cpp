#include "core/studies/point_placement.h"

#include <cmath>
#include <limits>
#include <system_error>
#include <thread>

namespace vorta {

const char* const kOutsideTheChord = "x lies outside the section's chord; skipped";
const char* const kNoPressureCoefficient =
    "its Cp, beyond 1e6 in size, is refused as no pressure coefficient; skipped";

const char* outsideOf(Surface surface) {
    return surface == Surface::Upper ? "x lies outside the upper surface; skipped"
                                     : "x lies outside the lower surface; skipped";
}

ContourPoint findOn(const ExactContour& contour, const MeasuredPoint& point, const PointState& state,
                    Surface surface, bool last) {
    const Reach& r = state.reach[slot(surface)];
    return contour.find(surface, last ? r.last : r.first, point.x, point.y);
}

namespace {

// Files this long and longer are placed on two threads.
constexpr std::size_t kPointsForTwoThreads = 20000;

class Placer {
public:
    explicit Placer(const ExactContour& contour) : contour_(contour) {}

    void place(const MeasuredPoint& point, PointState& state) const {
        for (Surface s : {Surface::Upper, Surface::Lower}) state.reach[slot(s)] = reachOf(s, point.x);
        if (!(std::fabs(point.Cp) <= kLargestPressureCoefficient)) {
            state.skip = kNoPressureCoefficient;
        } else if (!state.reach[0].any() && !state.reach[1].any()) {
            state.skip = kOutsideTheChord;
        } else if (point.surface) {
            state.evidence = Evidence::Column;
            state.surface = *point.surface;
            if (!state.reach[slot(state.surface)].any()) {
                state.skip = outsideOf(state.surface);
            } else if (point.y) {
                state.fixed = nearestInHeight(point, state, state.surface).first;
            }
        } else if (point.y) {
            placeByHeight(point, state);
        }
    }

private:
    Reach reachOf(Surface surface, double x) const {
        Reach r;
        for (int k = 0; k < contour_.pieceCount(surface); ++k) {
            if (!contour_.reaches(surface, k, x)) continue;
            if (r.first < 0) r.first = static_cast<std::int16_t>(k);
            r.last = static_cast<std::int16_t>(k);
        }
        return r;
    }

    // The exact point of the surface nearest in y to the point's y, and how far that is.
    std::pair<ContourPoint, double> nearestInHeight(const MeasuredPoint& point, const PointState& state,
                                                    Surface surface) const {
        const ContourPoint first = findOn(contour_, point, state, surface, false);
        const double a = std::fabs(first.point.y - *point.y);
        const Reach& r = state.reach[slot(surface)];
        if (r.first == r.last) return {first, a};
        const ContourPoint last = findOn(contour_, point, state, surface, true);
        const double b = std::fabs(last.point.y - *point.y);
        return a <= b ? std::make_pair(first, a) : std::make_pair(last, b);
    }

    // Whether y, dNear from the surface at yNear and dFar from the other one at yFar, lies at
    // least twice as close to the first, where the two are apart by more than their error
    // and more than the rounding of y (the arc's surfaces are not).
    static bool nearer(double dNear, double dFar, double yNear, double yFar, double error) {
        if (std::isinf(dFar)) return true;
        const bool apart =
            std::fabs(yNear - yFar) - error > 1e-9 * std::max(std::fabs(yNear), std::fabs(yFar));
        return apart && 2 * dNear <= dFar;
    }

    // y decides, from the samples alone where they are clear enough, else from the exact points.
    void placeByHeight(const MeasuredPoint& point, PointState& state) const {
        const double y = *point.y;
        std::array<ExactContour::Estimate, 2> near{};
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            near[slot(s)] = {0, std::numeric_limits<double>::infinity()};
            const Reach& r = state.reach[slot(s)];
            for (int k = r.first; r.any() && k <= r.last; ++k) {
                const ExactContour::Estimate e = contour_.estimateY(s, k, point.x);
                if (std::isinf(near[slot(s)].error) || std::fabs(e.y - y) < std::fabs(near[slot(s)].y - y)) {
                    near[slot(s)] = e;
                }
            }
        }
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            const ExactContour::Estimate& a = near[slot(s)];
            const ExactContour::Estimate& b = near[slot(other(s))];
            const double dFar = state.reach[slot(other(s))].any() ? std::fabs(b.y - y) - b.error : INFINITY;
            if (state.reach[slot(s)].any() &&
                nearer(std::fabs(a.y - y) + a.error, dFar, a.y, b.y, a.error + b.error)) {
                return known(state, s, nearestInHeight(point, state, s).first);
            }
        }
        std::array<std::pair<ContourPoint, double>, 2> exact;
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            exact[slot(s)] = state.reach[slot(s)].any() ? nearestInHeight(point, state, s)
                                                        : std::make_pair(ContourPoint{}, double(INFINITY));
        }
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            const auto& a = exact[slot(s)];
            const auto& b = exact[slot(other(s))];
            if (!std::isinf(a.second) && nearer(a.second, b.second, a.first.point.y, b.first.point.y, 0)) {
                return known(state, s, a.first);
            }
        }
    }

    static void known(PointState& state, Surface surface, const ContourPoint& at) {
        state.evidence = Evidence::Height;
        state.surface = surface;
        state.fixed = at;
    }

    const ExactContour& contour_;
};

// The second half on a thread of its own, with a copy of the contour: its searches remember
// where they ended.
bool placeOnTwoThreads(const std::vector<MeasuredPoint>& points, const ExactContour& contour,
                       std::vector<PointState>& states) {
    static const unsigned cores = std::thread::hardware_concurrency();
    if (points.size() < kPointsForTwoThreads || cores < 2) return false;
    const std::size_t half = points.size() / 2;
    const ExactContour copy = contour;
    std::thread helper;
    try {
        helper = std::thread([&] {
            const Placer placer(copy);
            for (std::size_t i = half; i < points.size(); ++i) placer.place(points[i], states[i]);
        });
    } catch (const std::system_error&) {
        return false;
    }
    const Placer placer(contour);
    for (std::size_t i = 0; i < half; ++i) placer.place(points[i], states[i]);
    helper.join();
    return true;
}

}  // namespace

std::vector<PointState> placeByOwnEvidence(const std::vector<MeasuredPoint>& points,
                                           const ExactContour& contour) {
    std::vector<PointState> states(points.size());
    if (placeOnTwoThreads(points, contour, states)) return states;
    const Placer placer(contour);
    for (std::size_t i = 0; i < points.size(); ++i) placer.place(points[i], states[i]);
    return states;
}

}  // namespace vorta
