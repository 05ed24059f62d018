#pragma once
// Polars: the coefficients of a section over a range of angles of attack.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/output/byte_sink.h"
#include "core/calculation/calculation.h"

namespace vorta {

inline constexpr int kMaxPolarAngles = 10001;

// "FROM:TO:STEP" in degrees, each a decimal number with a point; the step must lead from FROM
// to TO. The angles are FROM + i·STEP as decimals, so -4:12:0.1 gives -3.7, not
// -3.6999999999999997, and 1e-1:5e-1:1e-1 the same as 0.1:0.5:0.1; none passes TO.
std::variant<std::vector<double>, Refusal> anglesOfRange(std::string_view range, const std::string& name);

struct PolarRow {
    int entry = 0;
    double AlfaD = 0;
    Coefficients coefficients;
};

// The rows of entry k at the given angles, from the coefficients alone: the entry and each
// angle's coefficients pass the checks of a single calculation, the contour's do not apply.
// The first refusal ends the polar.
std::variant<std::vector<PolarRow>, Refusal> polarOf(const Catalog& catalog, int k,
                                                     const std::vector<double>& angles);

// The rows of the section of F, G and m (as entry 0) at the given angles, each angle checked
// as a single calculation's and named in its refusal by angleName and its index: alphas[3].
// The first refusal ends the polar.
std::variant<std::vector<PolarRow>, Refusal> polarOfSection(double F, double G, double m,
                                                            const std::vector<double>& angles,
                                                            const std::string& angleName);

// Text for people (aligned columns, the regional separator), CSV or JSON (exact numbers).
enum class PolarFormat { Text, Csv, Json };
int writePolar(PolarFormat format, const std::vector<PolarRow>& rows, std::string_view separator,
               const ByteSink& sink);

}  // namespace vorta
