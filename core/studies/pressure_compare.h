#pragma once
// Comparing another code's pressure distribution with the exact one: each point of the other
// code is matched to the exact solution at the same x on its own surface.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/output/byte_sink.h"
#include "core/calculation/calculation.h"
#include "core/studies/exact_contour.h"
#include "core/studies/pressure_table.h"

namespace vorta {

struct ComparedPoint {
    int line = 0;
    double x = 0;
    Surface surface = Surface::Upper;
    double CpFile = 0, CpExact = 0;

    double dCp() const { return CpFile - CpExact; }
};

struct SkippedPoint {
    int line = 0;
    double x = 0;
    std::string why;
};

// How the Cp of a run of points decided its surface, where neither a surface column nor y did.
enum class RunVerdict {
    Fits,        // at least twice as close to one surface as to the other
    SameOnBoth,  // the exact Cp is the same on both surfaces there: either way is right
    Undecided,   // neither surface twice as close as the other
    Mixed,       // as close as that, but many of its points fit the other surface better
    TooFew,      // too few points to weigh
};

struct RunDecision {
    int firstLine = 0, lastLine = 0;
    double firstX = 0, lastX = 0;
    RunVerdict verdict = RunVerdict::Fits;
    Surface surface = Surface::Upper;
    double medianUpper = 0, medianLower = 0;  // the median |dCp| against each surface
    // The points weighed, and those that by themselves fit one surface at least twice as closely.
    std::size_t points = 0, fitUpper = 0, fitLower = 0;
};

struct Comparison {
    std::vector<ComparedPoint> rows;
    std::vector<SkippedPoint> skipped;
    std::vector<RunDecision> runs;    // in the order of the file
    std::size_t undecidedPoints = 0;  // the points of runs whose surface could not be told
};

// A point's surface comes from its surface column; else from y, where the point lies at
// least twice as close to one surface as to the other and the surfaces are apart there; else
// from the run in x it belongs to (see RunDecision). A point is compared at its x on that
// surface, near the nose at its y. Points outside the section, or where the exact solution is
// singular, are skipped.
Comparison comparePressure(const std::vector<MeasuredPoint>& points, const ExactAtTheta& exact,
                           double trailingEdgeCp);
// The same against the section of F, G and m, or of a catalog entry, at AlfaD degrees.
Comparison comparePressure(const std::vector<MeasuredPoint>& points, double F, double G, double m,
                           double AlfaD);
Comparison comparePressure(const std::vector<MeasuredPoint>& points, const CatalogEntry& entry, double AlfaD);

// How messages name the points compared: a file by its name and its lines, or arrays by
// their indices; and what tells the surfaces apart where the Cp does not.
struct PointsSource {
    std::string name;  // "cp.txt", "standard input"
    std::string line = "line", lines = "lines";
    std::string whatTellsSurfaces =
        "Add y (lines of x y Cp), or a column named surface that says upper or lower.";
};
// Points handed over as arrays, whose indices count from 0.
inline const PointsSource kArrayPoints{"the arrays", "point", "points",
                                       "Give y as well: the height of a point tells its surface."};

enum class ComparisonFormat { Text, Csv };
// The rows, then (in text) a summary line: the number of points, the largest |dCp| with its x
// and surface, and the root-mean-square dCp, to six significant digits.
int writeComparison(ComparisonFormat format, const Comparison& comparison, std::string_view separator,
                    const ByteSink& sink);
std::string comparisonSummary(const Comparison& comparison, std::string_view separator);

// What stderr says of a run whose Cp decided its surface; the refusal where one could not.
std::string runNote(const RunDecision& run, const PointsSource& source, std::string_view separator);
// What stderr says of a point that was skipped: "NAME:LINE: x X: why".
std::string skippedNote(const SkippedPoint& skipped, const std::string& name, std::string_view separator);
std::optional<Refusal> undecidedRefusal(const Comparison& comparison, const PointsSource& source,
                                        std::string_view separator);
// The refusal of a comparison that holds no row: no point lies on the section.
std::optional<Refusal> emptyComparisonRefusal(const Comparison& comparison, const PointsSource& source);


}  // namespace vorta
