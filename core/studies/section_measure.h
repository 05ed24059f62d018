#pragma once
// The four fields of a catalog line that describe a section, measured on the section's exact
// contour in its own frame (chord 1, nose at (0, 0), trailing edge at (1, 0)):
//   Delta  the largest distance between the upper and the lower surface at the same x;
//   Gama   the height of the mean line (yu + yl)/2 of largest magnitude, with its sign;
//   xDltC  the x where the thickness is largest;
//   Tau    the trailing-edge angle in degrees, 180 (2 - m).
// The surfaces part at the contour's leftmost point. The point of a surface at a given x is
// found by root finding on the circle's polar angle, not read off sample points.

#include <optional>
#include <string>
#include <variant>

#include "core/calculation/calculation.h"

namespace vorta {

struct SectionMeasures {
    double Delta = 0, Gama = 0, xDltC = 0, Tau = 0;
};

// Below this thickness, in chords, the place of the largest is lost in the rounding of the
// surfaces' heights: such a section, a circular arc (F = 0, m = 2) above all, has xDltC 0.
inline constexpr double kThinnestPlaced = 1e-9;

// The measures of the section of F, G and m, or none where its contour cannot be measured:
// a section sectionProblem refuses, a contour with points beyond the range of numbers, or one
// with no extent in x.
std::optional<SectionMeasures> measureSection(double F, double G, double m);

// A section with what it measures.
struct Section {
    double F = 0, G = 0, m = 0;
    SectionMeasures measures;
};

// The section of F, G and m with its measures, or why it cannot be described: a section
// sectionProblem refuses, or a contour measureSection cannot measure. The refusal names the
// section as name says, or by its numbers: "The section F=0.1 G=0 m=2.5 cannot be described: ...".
std::variant<Section, Refusal> describeSection(double F, double G, double m,
                                               const std::optional<std::string>& name = std::nullopt);

// A catalog line, Delta,Gama,xDltC,Tau,F,G,m: Delta, Gama and xDltC with four decimals
// (0.1180), Tau rounded to four decimals without trailing zeros (9, 7.2), and F, G and m as
// the texts given.
std::string catalogLine(const SectionMeasures& measures, const std::string& F, const std::string& G,
                        const std::string& m);

// The catalog line of a section found by its numbers, F, G and m written as the shortest texts
// that read back as the same doubles, so that the line is exactly that section.
std::string catalogLine(const Section& section);

// A measure with exactly this many decimals (at least one), with a point: 0.1180, never -0.0000.
std::string withDecimals(double value, int decimals);

}  // namespace vorta
