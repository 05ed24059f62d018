#pragma once
// The runs of a pressure file: its points, in the file's order, split where x turns or jumps,
// and how the Cp of a run's points decides which surface the run lies on.

#include <cstddef>
#include <vector>

#include "core/studies/pressure_compare.h"

namespace vorta {

struct Run {
    std::size_t begin = 0, end = 0;  // positions in the sequence of x, end not included
    int group = 0;                   // runs of one group lie on one surface
    bool returning = false;          // the way back from where the contour bulges past the trailing edge
};

// Splits x into runs along which it moves one way. A turning point ends the run that reaches
// it; a step longer than `jump` ends a run as well.
std::vector<Run> monotoneRuns(const std::vector<double>& x, double jump);

// A run all of whose points lie where the contour bulges past its trailing edge, and which
// meets a neighbouring run at the top of that bulge, is the way back from it: it joins that
// run's group. Every other run is a group of its own.
void groupRuns(std::vector<Run>& runs, const std::vector<double>& x, const std::vector<bool>& inBulge,
               double jump);

// One point of a run, with the exact Cp on either surface at its x.
struct WeighedPoint {
    double CpFile = 0, CpUpper = 0, CpLower = 0;
};

// Whether two exact values of Cp are the same but for rounding.
bool sameCp(double a, double b);

// The verdict on a run from the median |dCp| against each surface: the surface at least
// twice as close, unless more than one in ten of the points that by themselves fit one surface
// at least twice as closely fit the other one; `eitherWay` where the exact Cp is the same on
// both. A run of fewer than kFewestToWeigh points is too short for a median to mean much.
inline constexpr std::size_t kFewestToWeigh = 3;
RunDecision weighRun(const std::vector<WeighedPoint>& points, Surface eitherWay);

}  // namespace vorta
