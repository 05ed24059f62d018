#pragma once
// Comparing another code's pressure distribution with the exact one: each point of the other
// code is matched to the exact solution at the same x on the same surface.

#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/byte_sink.h"
#include "core/calculation.h"

namespace vorta {

// The most points and the longest line a pressure file may have; larger files are refused.
inline constexpr std::size_t kMaxPressurePoints = 100000;
inline constexpr std::size_t kMaxPressureLineLength = 4096;
inline constexpr std::size_t kMaxPressureLines = 2000000;

struct MeasuredPoint {
    int line = 0;
    double x = 0;
    std::optional<double> y;
    double Cp = 0;
};

// Lines of "x Cp" or "x y Cp", separated by blanks, tabs or commas. Lines that start with #
// or hold no numbers are skipped; a line that names its columns (x, y, Cp, as a CSV header or
// a panel code's "# x Cp" does) picks them out of longer rows.
std::variant<std::vector<MeasuredPoint>, Refusal> readPressureTable(std::istream& in, const std::string& name);

enum class Surface { Upper, Lower };
const char* surfaceName(Surface surface);

// The exact solution at the circle's polar angle Theta: the point of the section and its Cp.
struct ExactPoint {
    double x = 0, y = 0, Cp = 0;
};
using ExactAtTheta = std::function<ExactPoint(double Theta)>;

struct ComparedPoint {
    int line = 0;
    double x = 0;
    Surface surface = Surface::Upper;
    double CpFile = 0, CpExact = 0;
};

struct SkippedPoint {
    int line = 0;
    double x = 0;
    std::string why;
};

struct Comparison {
    std::vector<ComparedPoint> rows;
    std::vector<SkippedPoint> skipped;
};

// The upper surface runs over polar angles 0 to Pi, the lower one over 0 to -Pi; the trailing
// edge (Theta = 0) has the given Cp. A point with y goes to the surface whose exact y at its
// x is nearer; without y, the points before and after the smallest x form the two surfaces,
// the way round that fits the exact solution better.
Comparison comparePressure(const std::vector<MeasuredPoint>& points, const ExactAtTheta& exact,
                           double trailingEdgeCp);

enum class ComparisonFormat { Text, Csv };
// The rows, then (in text) a summary line: the number of points, the largest |dCp| with its x
// and surface, and the root-mean-square dCp.
int writeComparison(ComparisonFormat format, const Comparison& comparison, std::string_view separator,
                    const ByteSink& sink);
std::string comparisonSummary(const Comparison& comparison, std::string_view separator);

}  // namespace vorta
