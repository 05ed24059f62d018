#pragma once
// Where the fit of a section to a contour's points starts: the frame the points show (their
// leading edge at 0, their trailing edge at 1) and the section designed for the thickness,
// camber and trailing-edge angle they show in it. Within the studies library.

#include <complex>
#include <optional>
#include <vector>

#include "core/studies/contour_file.h"

namespace vorta {

struct FitStart {
    // A point p of the file lies at origin + chord * q, q in the frame the points show.
    std::complex<double> origin, chord;
    double T = 0, C = 0, TAU = 0;  // as the points show them
    double F = 0, G = 0, m = 2;    // the section the fit starts from
    // The points up to the leading edge's form one surface, the rest the other; the upper one
    // lies above the other.
    std::size_t leadingEdge = 0;
    bool upperFirst = true;
};

// None where the points' leading and trailing edges coincide. The trailing edge is the middle
// of the first and the last point, the leading edge the point farthest from it; the points up
// to it form one surface, the rest the other.
std::optional<FitStart> fitStart(const std::vector<PlanePoint>& points);

}  // namespace vorta
