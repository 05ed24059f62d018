#pragma once
// The section of a largest thickness T, a camber C and a trailing-edge angle TAU in degrees,
// all measured as the catalog's Delta, Gama and Tau are (section_measure.h).

#include <variant>

#include "core/calculation/calculation.h"
#include "core/studies/section_measure.h"

namespace vorta {

// How closely a designed section meets T and C.
inline constexpr double kDesignTolerance = 1e-10;

// m = 2 - TAU/180, and F and G by a two-dimensional root finding that meets T and C to within
// kDesignTolerance. Refuses, saying which target and why, a target that is NaN or infinite, a
// negative T, a TAU outside 0 to 180 (at 180 every section is a circle), a thickness no F
// reaches at that m, and targets no F and G meet together.
std::variant<Section, Refusal> designSection(double T, double C, double TAU);

}  // namespace vorta
