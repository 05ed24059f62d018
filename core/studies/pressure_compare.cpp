#include "core/studies/pressure_compare.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

#include "core/solver/solver.h"
#include "core/studies/point_placement.h"
#include "core/studies/surface_runs.h"

namespace vorta {

namespace {

const char* const kSingular =
    "the exact solution is singular here (|Cp| beyond 1e6 at a sharp leading edge); skipped";
const char* const kUntold =
    "its run does not tell its surface at this end, and its Cp fits no exact point at its x twice as "
    "closely; skipped";

bool singular(const ExactPoint& p) { return !(std::fabs(p.Cp) <= kLargestPressureCoefficient); }

struct Candidate {
    Surface surface = Surface::Upper;
    ContourPoint at;
};

// The exact points at a point's x, by surface and by the reaching piece (first, last).
struct FoundPoints {
    std::array<ContourPoint, 4> at;
    unsigned mask = 0;
};

class Matcher {
public:
    Matcher(const std::vector<MeasuredPoint>& points, const ExactContour& contour)
        : points_(points), contour_(contour), states_(placeByOwnEvidence(points, contour)) {}

    Comparison compare() {
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
            cache.at[k] = findOn(contour_, points_[i], state, surface, second);
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

    // Whether the surface reaches the point with an exact Cp that is no singular value.
    bool usable(std::size_t i, Surface surface) {
        return states_[i].reach[slot(surface)].any() && !singular(byRole(i, surface).point);
    }

    void decideByCp(std::size_t begin, std::size_t end) {
        std::vector<WeighedPoint> weighed;
        for (std::size_t k = begin; k < end; ++k) {
            const std::size_t i = sequence_[k];
            if (!usable(i, Surface::Upper) || !usable(i, Surface::Lower)) continue;
            weighed.push_back(
                {points_[i].Cp, byRole(i, Surface::Upper).point.Cp, byRole(i, Surface::Lower).point.Cp});
        }
        if (weighed.empty()) return placeByReach(begin, end);
        RunDecision decision = weighRun(weighed, eitherWay_);
        decision.firstLine = points_[sequence_[begin]].line;
        decision.lastLine = points_[sequence_[end - 1]].line;
        decision.firstX = points_[sequence_[begin]].x;
        decision.lastX = points_[sequence_[end - 1]].x;
        decisions_.push_back(decision);
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

    // A run with nothing to weigh: each point lies on the one surface that reaches it with a
    // usable exact Cp, or is skipped as singular.
    void placeByReach(std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            const std::size_t i = sequence_[k];
            const bool upper = usable(i, Surface::Upper), lower = usable(i, Surface::Lower);
            states_[i].evidence = Evidence::Run;
            states_[i].surface = upper ? Surface::Upper : Surface::Lower;
            if (upper == lower) states_[i].skip = kSingular;
        }
    }

    // The end of a run may lie across the leading edge, or across the top of a bulge, from
    // where its run puts it: of the exact points at its x, it takes the one its Cp fits at
    // least twice as closely as any other; where none does, it is skipped.
    void checkEnd(std::size_t i) {
        PointState& state = states_[i];
        if (ownEvidence(i) || state.undecided || state.skip || !state.reach[slot(state.surface)].any())
            return;
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
        out.rows.reserve(points_.size());
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
    std::deque<FoundPoints> found_;  // a deque: what byRole and found hand out stays in place
    Surface eitherWay_ = Surface::Upper;
};

}  // namespace

Comparison comparePressure(const std::vector<MeasuredPoint>& points, const ExactAtTheta& exact,
                           double trailingEdgeCp) {
    const ExactContour contour(exact, trailingEdgeCp);
    return Matcher(points, contour).compare();
}

Comparison comparePressure(const std::vector<MeasuredPoint>& points, const CatalogEntry& entry, double AlfaD) {
    return comparePressure(points, entry.F, entry.G, entry.m, AlfaD);
}

Comparison comparePressure(const std::vector<MeasuredPoint>& points, double F, double G, double m,
                           double AlfaD) {
    const SectionSurface surface(F, G, m, 1, AlfaD);
    const ExactAtTheta exact = [&surface](double Theta) {
        const SurfacePoint p = surface.at(Theta);
        return ExactPoint{p.x, p.y, 1 - p.Cu};
    };
    return comparePressure(points, exact, 1 - surface.at(0).Cu);
}

}  // namespace vorta
