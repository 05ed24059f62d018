#pragma once
// Reading a section's contour as other tools export it: XFOIL's (Selig's) order, from the
// trailing edge over the upper surface to the leading edge and back along the lower one, or
// Lednicer's, a line with the two surfaces' point counts and then each surface from the
// leading edge to the trailing edge. Either may start with a title line.

#include <istream>
#include <string>
#include <variant>
#include <vector>

#include "core/calculation/calculation.h"

namespace vorta {

struct PlanePoint {
    double x = 0, y = 0;
};

inline constexpr std::size_t kFewestContourPoints = 41;
inline constexpr std::size_t kMostContourPoints = 5000;
inline constexpr std::size_t kLongestContourLine = 4096;

// The points in XFOIL's order, or why the file is not a contour: a line that holds no point,
// a number beyond the range of numbers, fewer than 41 points or more than 5000, a line
// longer than 4096 characters. name names the file in messages.
std::variant<std::vector<PlanePoint>, Refusal> readContourFile(std::istream& in, const std::string& name);

}  // namespace vorta
