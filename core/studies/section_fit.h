#pragma once
// The section that lies closest to a given contour: the F >= 0, G and 1 < m <= 2 whose exact
// contour, moved onto the points by the best similarity transform (scale, rotation, shift),
// leaves the least sum of squared distances from the points to it. The least squares are
// Eigen's Levenberg-Marquardt; the start comes from the points' own thickness, camber and
// trailing-edge angle, so that the same points always give the same section.

#include <cstddef>
#include <variant>
#include <vector>

#include "core/calculation/calculation.h"
#include "core/studies/contour_file.h"
#include "core/studies/section_design.h"

namespace vorta {

// A point (x, y) of the section lies at scale * R(turn) (x, y) + (shiftX, shiftY) among the
// file's points, R(turn) turning counterclockwise by turn degrees.
struct SimilarityTransform {
    double scale = 1, turn = 0, shiftX = 0, shiftY = 0;
};

struct SectionFit {
    Section section;
    SimilarityTransform transform;
    // From the points to the moved contour, in chords of the section.
    double largestDistance = 0, rmsDistance = 0;
};

// Refuses fewer than 41 points, a point beyond the range of numbers, points that do not span a
// contour, and a fit that finds no section.
std::variant<SectionFit, Refusal> fitSection(const std::vector<PlanePoint>& points);

// The fit to n points a program hands over as arrays, (x[i], y[i]) in XFOIL's order, refused as
// a contour file is, naming the arrays: "Cannot fit the arrays: x[3] is nan; the points must be
// finite numbers.", fewer than kFewestContourPoints or more than kMostContourPoints, and what
// fitSection refuses.
std::variant<SectionFit, Refusal> fitSectionToArrays(std::size_t n, const double* x, const double* y);

}  // namespace vorta
