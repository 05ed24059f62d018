#pragma once
// Reading another code's pressure distribution: lines of x Cp or x y Cp, or named columns.

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/calculation/calculation.h"

namespace vorta {

// The most points, the longest line and the most bytes a pressure file may have; larger
// files are refused. Reading stops at the byte limit, so a file of endless comment lines
// costs no more than that.
inline constexpr std::size_t kMaxPressurePoints = 100000;
inline constexpr std::size_t kMaxPressureLineLength = 4096;
inline constexpr std::size_t kMaxPressureBytes = std::size_t{64} << 20;
// A pressure coefficient larger than this in size, in a file or in the exact solution, is
// not compared: it is no measured or computed Cp, or lies at a singular point.
inline constexpr double kLargestPressureCoefficient = 1e6;

enum class Surface { Upper, Lower };
const char* surfaceName(Surface surface);

struct MeasuredPoint {
    int line = 0;
    double x = 0;
    std::optional<double> y;
    double Cp = 0;
    std::optional<Surface> surface;  // from a column named surface: upper or lower
};

// Lines of "x Cp" or "x y Cp", separated by blanks, tabs or commas. Lines that start with #
// or hold no numbers are skipped; a line that names its columns (x, y, Cp and surface, as a
// CSV header or a panel code's "# x Cp" does) picks them out of longer rows. NaN, infinity
// and |Cp| beyond kLargestPressureCoefficient are refused, naming the line.
std::variant<std::vector<MeasuredPoint>, Refusal> readPressureTable(std::istream& in,
                                                                    const std::string& name);

// The points of the arrays x and Cp, and y unless it is null, n values each; a point's line is
// its index, from 0. Refused, as a file is, when they hold no points, or NaN or an infinity.
std::variant<std::vector<MeasuredPoint>, Refusal> pointsOfArrays(std::size_t n, const double* x,
                                                                 const double* y, const double* Cp);

}  // namespace vorta
