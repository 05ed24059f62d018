#include "core/pressure_compare.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "core/surface_runs.h"

namespace vorta {

namespace {

const char* kOutside = "x lies outside the section's chord; skipped";
const char* kSingular =
    "the exact solution is singular here (|Cp| beyond 1e6 at a sharp leading edge); skipped";
const char* kNoPressure = "its Cp, beyond 1e6 in size, is refused as no pressure coefficient; skipped";
const char* kUntold =
    "x alone does not tell its surface at this end of its run, and its Cp fits neither surface twice as "
    "closely; "
    "skipped";

const char* outsideOf(Surface surface) {
    return surface == Surface::Upper ? "x lies outside the upper surface; skipped"
                                     : "x lies outside the lower surface; skipped";
}

bool singular(const ExactPoint& p) { return !(std::fabs(p.Cp) <= kLargestPressureCoefficient); }

std::size_t slot(Surface surface) { return surface == Surface::Upper ? 0 : 1; }
Surface other(Surface surface) { return surface == Surface::Upper ? Surface::Lower : Surface::Upper; }

// The pieces of a surface that reach an x: the one nearest the leading edge and the one
// nearest the trailing edge, the same one but where the contour bulges past its trailing edge.
struct Reach {
    int first = -1, last = -1;
    bool any() const { return first >= 0; }
};

struct Candidate {
    Surface surface = Surface::Upper;
    ContourPoint at;
};

// How a point's surface became known.
enum class Evidence { None, Column, Height, Neighbour, Run };

struct PointState {
    std::array<Reach, 2> reach;
    Evidence evidence = Evidence::None;
    Surface surface = Surface::Upper;
    std::optional<ContourPoint> fixed;  // placed by its y
    bool returning = false;
    bool undecided = false;
    const char* skip = nullptr;  // why it is skipped
    int found = -1;              // its exact points found so far, where it has any
};

// The exact points at a point's x, by surface and by the reaching piece (first, last).
struct FoundPoints {
    std::array<ContourPoint, 4> at;
    unsigned mask = 0;
};

class Matcher {
  public:
    Matcher(const std::vector<MeasuredPoint>& points, const ExactContour& contour)
        : points_(points), contour_(contour), states_(points.size()) {}

    Comparison compare() {
        for (std::size_t i = 0; i < points_.size(); ++i) placeByOwnEvidence(i);
        buildRuns();
        for (std::size_t first = 0; first < runs_.size();) {
            std::size_t last = first;
            while (last + 1 < runs_.size() && runs_[last + 1].group == runs_[first].group) ++last;
            decideGroup(first, last);
            first = last + 1;
        }
        for (const Run& run : runs_) {
            checkEnd(sequence_[run.begin]);
            if (run.end - run.begin > 1) checkEnd(sequence_[run.end - 1]);
        }
        return collect();
    }

  private:
    Reach reachOf(Surface surface, double x) const {
        Reach r;
        for (int k = 0; k < contour_.pieceCount(surface); ++k) {
            if (!contour_.reaches(surface, k, x)) continue;
            if (r.first < 0) r.first = k;
            r.last = k;
        }
        return r;
    }

    ContourPoint find(std::size_t i, Surface surface, bool last) const {
        const Reach& r = states_[i].reach[slot(surface)];
        return contour_.find(surface, last ? r.last : r.first, points_[i].x, points_[i].y);
    }

    // As find, each exact point found once: points whose surface their runs decide need them
    // again and again.
    const ContourPoint& found(std::size_t i, Surface surface, bool last) {
        PointState& state = states_[i];
        const Reach& r = state.reach[slot(surface)];
        const bool second = last && r.last != r.first;
        const std::size_t k = 2 * slot(surface) + (second ? 1 : 0);
        if (state.found < 0) {
            state.found = static_cast<int>(found_.size());
            found_.emplace_back();
        }
        FoundPoints& cache = found_[static_cast<std::size_t>(state.found)];
        if (!(cache.mask & (1u << k))) {
            cache.at[k] = find(i, surface, second);
            cache.mask |= 1u << k;
        }
        return cache.at[k];
    }

    // The exact point on the surface; where two pieces of it reach x, the one nearer in y, or
    // without y the one its run leads to.
    const ContourPoint& byRole(std::size_t i, Surface surface) {
        const Reach& r = states_[i].reach[slot(surface)];
        if (r.first == r.last || !points_[i].y) return found(i, surface, states_[i].returning);
        const ContourPoint& first = found(i, surface, false);
        const ContourPoint& last = found(i, surface, true);
        const double y = *points_[i].y;
        return std::fabs(first.point.y - y) <= std::fabs(last.point.y - y) ? first : last;
    }

    // The exact point of the surface nearest in y to the point's y, and how far that is.
    std::pair<ContourPoint, double> nearestInHeight(std::size_t i, Surface surface) const {
        const double y = *points_[i].y;
        const ContourPoint first = find(i, surface, false);
        const double a = std::fabs(first.point.y - y);
        const Reach& r = states_[i].reach[slot(surface)];
        if (r.first == r.last) return {first, a};
        const ContourPoint last = find(i, surface, true);
        const double b = std::fabs(last.point.y - y);
        return a <= b ? std::make_pair(first, a) : std::make_pair(last, b);
    }

    void placeByOwnEvidence(std::size_t i) {
        const MeasuredPoint& point = points_[i];
        PointState& state = states_[i];
        for (Surface s : {Surface::Upper, Surface::Lower}) state.reach[slot(s)] = reachOf(s, point.x);
        if (!(std::fabs(point.Cp) <= kLargestPressureCoefficient)) {
            state.skip = kNoPressure;
            return;
        }
        if (!state.reach[0].any() && !state.reach[1].any()) {
            state.skip = kOutside;
            return;
        }
        if (point.surface) {
            state.evidence = Evidence::Column;
            state.surface = *point.surface;
            if (!state.reach[slot(state.surface)].any()) {
                state.skip = outsideOf(state.surface);
            } else if (point.y) {
                state.fixed = nearestInHeight(i, state.surface).first;
            }
            return;
        }
        if (point.y) placeByHeight(i);
    }

    // The surface y is at least twice as close to, where the surfaces are apart at x: first
    // from the samples alone, and where they leave it open from the exact points.
    void placeByHeight(std::size_t i) {
        PointState& state = states_[i];
        const double y = *points_[i].y, x = points_[i].x;
        std::array<ExactContour::Estimate, 2> near{};
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            near[slot(s)] = {0, std::numeric_limits<double>::infinity()};
            const Reach& r = state.reach[slot(s)];
            for (int k = r.first; r.any() && k <= r.last; ++k) {
                const ExactContour::Estimate e = contour_.estimateY(s, k, x);
                if (std::fabs(e.y - y) < std::fabs(near[slot(s)].y - y) || std::isinf(near[slot(s)].error))
                    near[slot(s)] = e;
            }
        }
        const auto decide = [&](Surface s, double dNear, double dFar, double yNear, double yFar,
                                double error) {
            const bool apart =
                std::fabs(yNear - yFar) - error > 1e-9 * std::max(std::fabs(yNear), std::fabs(yFar));
            return 2 * dNear <= dFar && (std::isinf(dFar) || apart) ? std::optional<Surface>(s)
                                                                    : std::nullopt;
        };
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            const ExactContour::Estimate& a = near[slot(s)];
            const ExactContour::Estimate& b = near[slot(other(s))];
            if (!state.reach[slot(s)].any()) continue;
            const double dFar = state.reach[slot(other(s))].any() ? std::fabs(b.y - y) - b.error : INFINITY;
            if (decide(s, std::fabs(a.y - y) + a.error, dFar, a.y, b.y, a.error + b.error)) {
                known(i, s, nearestInHeight(i, s).first);
                return;
            }
        }
        std::array<std::pair<ContourPoint, double>, 2> exact;
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            exact[slot(s)] = state.reach[slot(s)].any() ? nearestInHeight(i, s)
                                                        : std::make_pair(ContourPoint{}, double(INFINITY));
        }
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            const auto& a = exact[slot(s)];
            const auto& b = exact[slot(other(s))];
            if (std::isinf(a.second)) continue;
            if (decide(s, a.second, b.second, a.first.point.y, b.first.point.y, 0)) {
                known(i, s, a.first);
                return;
            }
        }
    }

    void known(std::size_t i, Surface surface, const ContourPoint& at) {
        states_[i].evidence = Evidence::Height;
        states_[i].surface = surface;
        states_[i].fixed = at;
    }

    void buildRuns() {
        std::vector<double> x;
        std::vector<bool> inBulge;
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const PointState& state = states_[i];
            if (state.skip) continue;
            sequence_.push_back(i);
            x.push_back(points_[i].x);
            inBulge.push_back(state.reach[0].first != state.reach[0].last ||
                              state.reach[1].first != state.reach[1].last);
        }
        const double jump = contour_.xSpan() / 2;
        runs_ = monotoneRuns(x, jump);
        groupRuns(runs_, x, inBulge, jump);
        for (const Run& run : runs_) {
            for (std::size_t k = run.begin; k < run.end; ++k) states_[sequence_[k]].returning = run.returning;
        }
    }

    bool ownEvidence(std::size_t i) const {
        return states_[i].evidence == Evidence::Column || states_[i].evidence == Evidence::Height;
    }

    // Runs first..last form one group. Points it holds whose surface is not known take that of
    // the nearest point that knows it; where none does, the Cp of them all decides.
    void decideGroup(std::size_t first, std::size_t last) {
        const std::size_t begin = runs_[first].begin, end = runs_[last].end;
        std::vector<std::size_t> knowing;
        for (std::size_t k = begin; k < end; ++k) {
            if (ownEvidence(sequence_[k])) knowing.push_back(k);
        }
        if (knowing.size() == end - begin) return;
        if (!knowing.empty()) {
            for (std::size_t k = begin; k < end; ++k) {
                const std::size_t i = sequence_[k];
                if (ownEvidence(i)) continue;
                // The nearest point before or after that knows its surface; the one before on a tie.
                const auto after = std::lower_bound(knowing.begin(), knowing.end(), k);
                const bool takeAfter =
                    after == knowing.begin() || (after != knowing.end() && *after - k < k - *(after - 1));
                states_[i].evidence = Evidence::Neighbour;
                states_[i].surface = states_[sequence_[takeAfter ? *after : *(after - 1)]].surface;
            }
            return;
        }
        decideByCp(begin, end);
    }

    void decideByCp(std::size_t begin, std::size_t end) {
        std::vector<WeighedPoint> weighed;
        for (std::size_t k = begin; k < end; ++k) {
            const std::size_t i = sequence_[k];
            if (!states_[i].reach[0].any() || !states_[i].reach[1].any()) continue;
            const ExactPoint& upper = byRole(i, Surface::Upper).point;
            const ExactPoint& lower = byRole(i, Surface::Lower).point;
            if (singular(upper) || singular(lower)) continue;
            weighed.push_back({points_[i].Cp, upper.Cp, lower.Cp});
        }
        RunDecision decision = weighRun(weighed, eitherWay_);
        decision.firstLine = points_[sequence_[begin]].line;
        decision.lastLine = points_[sequence_[end - 1]].line;
        decision.firstX = points_[sequence_[begin]].x;
        decision.lastX = points_[sequence_[end - 1]].x;
        if (weighed.empty()) {
            // Nothing to weigh: points that one surface alone reaches, or singular ones.
            decision.surface = states_[sequence_[begin]].reach[0].any() ? Surface::Upper : Surface::Lower;
        } else {
            decisions_.push_back(decision);
        }
        if (decision.verdict == RunVerdict::SameOnBoth) eitherWay_ = other(eitherWay_);
        const bool decided =
            decision.verdict == RunVerdict::Fits || decision.verdict == RunVerdict::SameOnBoth;
        for (std::size_t k = begin; k < end; ++k) {
            PointState& state = states_[sequence_[k]];
            state.evidence = Evidence::Run;
            state.surface = decision.surface;
            state.undecided = !decided;
        }
    }

    // The end of a run may lie across the leading edge, or across the top of a bulge, from
    // where its run puts it: of the exact points at its x, it takes the one its Cp fits at
    // least twice as closely as any other; where none does, it is skipped.
    void checkEnd(std::size_t i) {
        PointState& state = states_[i];
        if (ownEvidence(i) || state.undecided || !state.reach[slot(state.surface)].any()) return;
        const ExactPoint& own = byRole(i, state.surface).point;
        if (singular(own)) return;
        std::vector<Candidate> candidates;
        bool differ = false;
        for (Surface s : {Surface::Upper, Surface::Lower}) {
            if (!state.reach[slot(s)].any()) continue;
            for (bool last : {false, true}) {
                const ContourPoint& at = found(i, s, last);
                if (singular(at.point)) continue;
                candidates.push_back({s, at});
                differ = differ || !sameCp(at.point.Cp, own.Cp);
            }
        }
        if (!differ) return;
        const double Cp = points_[i].Cp;
        const auto distance = [&](const Candidate& c) { return std::fabs(c.at.point.Cp - Cp); };
        const Candidate* best = &candidates.front();
        for (const Candidate& c : candidates) {
            if (distance(c) < distance(*best)) best = &c;
        }
        for (const Candidate& c : candidates) {
            if (!sameCp(c.at.point.Cp, best->at.point.Cp) && distance(c) < 2 * distance(*best)) {
                state.skip = kUntold;
                return;
            }
        }
        state.surface = best->surface;
        state.fixed = best->at;
    }

    Comparison collect() {
        Comparison out;
        out.runs = std::move(decisions_);
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const MeasuredPoint& point = points_[i];
            PointState& state = states_[i];
            if (state.undecided) {
                ++out.undecidedPoints;
                continue;
            }
            if (!state.skip && !state.reach[slot(state.surface)].any()) state.skip = outsideOf(state.surface);
            if (state.skip) {
                out.skipped.push_back({point.line, point.x, state.skip});
                continue;
            }
            const ExactPoint exact = state.fixed ? state.fixed->point : byRole(i, state.surface).point;
            if (singular(exact)) {
                out.skipped.push_back({point.line, point.x, kSingular});
                continue;
            }
            out.rows.push_back({point.line, point.x, state.surface, point.Cp, exact.Cp});
        }
        return out;
    }

    const std::vector<MeasuredPoint>& points_;
    const ExactContour& contour_;
    std::vector<PointState> states_;
    std::vector<std::size_t> sequence_;  // the points that lie on the section, in the file's order
    std::vector<Run> runs_;
    std::vector<RunDecision> decisions_;
    std::vector<FoundPoints> found_;
    Surface eitherWay_ = Surface::Upper;
};

}  // namespace

Comparison comparePressure(const std::vector<MeasuredPoint>& points, const ExactAtTheta& exact,
                           double trailingEdgeCp) {
    const ExactContour contour(exact, trailingEdgeCp);
    return Matcher(points, contour).compare();
}

}  // namespace vorta
