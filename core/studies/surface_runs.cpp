#include "core/studies/surface_runs.h"

#include <algorithm>
#include <cmath>

namespace vorta {

namespace {

int direction(double a, double b) { return (b > a) - (b < a); }

bool allInBulge(const Run& run, const std::vector<bool>& inBulge) {
    for (std::size_t i = run.begin; i < run.end; ++i) {
        if (!inBulge[i]) return false;
    }
    return true;
}

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

std::vector<Run> monotoneRuns(const std::vector<double>& x, double jump) {
    std::vector<Run> runs;
    if (x.empty()) return runs;
    std::size_t begin = 0;
    int heading = 0;
    for (std::size_t i = 1; i < x.size(); ++i) {
        const int step = direction(x[i - 1], x[i]);
        const bool jumps = std::fabs(x[i] - x[i - 1]) > jump;
        if (jumps || (step != 0 && heading != 0 && step != heading)) {
            runs.push_back({begin, i});
            begin = i;
            heading = 0;
            continue;
        }
        if (step != 0) heading = step;
    }
    runs.push_back({begin, x.size()});
    return runs;
}

void groupRuns(std::vector<Run>& runs, const std::vector<double>& x, const std::vector<bool>& inBulge,
               double jump) {
    // Whether run meets its neighbour (before or after it) at the top of a bulge: the highest
    // points of both next to each other, with no jump between, and the neighbour reaching
    // beyond the bulge.
    const auto meetsAtTop = [&](const Run& run, const Run& neighbour, bool before) {
        const std::size_t mine = before ? run.begin : run.end - 1,
                          theirs = before ? neighbour.end - 1 : neighbour.begin;
        const std::size_t myOtherEnd = before ? run.end - 1 : run.begin;
        const std::size_t theirOtherEnd = before ? neighbour.begin : neighbour.end - 1;
        return !allInBulge(neighbour, inBulge) && x[mine] >= x[myOtherEnd] && x[theirs] >= x[theirOtherEnd] &&
               std::fabs(x[mine] - x[theirs]) <= jump;
    };
    for (std::size_t r = 0; r < runs.size(); ++r) runs[r].group = static_cast<int>(r);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (!allInBulge(runs[r], inBulge)) continue;
        if (r > 0 && meetsAtTop(runs[r], runs[r - 1], true)) {
            runs[r].group = runs[r - 1].group;
            runs[r].returning = true;
        } else if (r + 1 < runs.size() && meetsAtTop(runs[r], runs[r + 1], false)) {
            runs[r].group = runs[r + 1].group;
            runs[r].returning = true;
        }
    }
}

bool sameCp(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

RunDecision weighRun(const std::vector<WeighedPoint>& points, Surface eitherWay) {
    RunDecision decision;
    decision.points = points.size();
    std::vector<double> upper, lower;
    bool same = true;
    for (const WeighedPoint& p : points) {
        const double dUpper = std::fabs(p.CpFile - p.CpUpper), dLower = std::fabs(p.CpFile - p.CpLower);
        upper.push_back(dUpper);
        lower.push_back(dLower);
        same = same && sameCp(p.CpUpper, p.CpLower);
        if (2 * dUpper <= dLower && dUpper != dLower) ++decision.fitUpper;
        if (2 * dLower <= dUpper && dUpper != dLower) ++decision.fitLower;
    }
    if (points.empty()) return decision;
    decision.medianUpper = median(upper);
    decision.medianLower = median(lower);
    if (same) {
        decision.verdict = RunVerdict::SameOnBoth;
        decision.surface = eitherWay;
        return decision;
    }
    if (points.size() < kFewestToWeigh) {
        decision.verdict = RunVerdict::TooFew;
        return decision;
    }
    const bool upperCloser = 2 * decision.medianUpper <= decision.medianLower;
    const bool lowerCloser = 2 * decision.medianLower <= decision.medianUpper;
    if (upperCloser == lowerCloser) {
        decision.verdict = RunVerdict::Undecided;
        return decision;
    }
    decision.surface = upperCloser ? Surface::Upper : Surface::Lower;
    const std::size_t fit = upperCloser ? decision.fitUpper : decision.fitLower;
    const std::size_t against = upperCloser ? decision.fitLower : decision.fitUpper;
    decision.verdict = 10 * against <= fit ? RunVerdict::Fits : RunVerdict::Mixed;
    return decision;
}

}  // namespace vorta
