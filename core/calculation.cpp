#include "core/calculation.h"

#include <cmath>
#include <limits>
#include <string>

#include "core/number_text.h"

namespace vorta {

namespace {

// Results are per chord; the program always works with a chord of one.
constexpr double Chord = 1;

// The plots draw in single precision; a larger value would become an infinity there.
bool isPlottable(const Solution& solution) {
    const double largest = std::numeric_limits<float>::max();
    for (const auto* values : {&solution.x, &solution.y, &solution.Cu}) {
        for (double v : *values) {
            if (std::fabs(v) > largest) return false;
        }
    }
    return true;
}

Refusal entryRefusal(int k, const std::string& reason) {
    return {"Airfoil entry " + std::to_string(k) + " cannot be calculated: " + reason};
}

}  // namespace

std::variant<int, Refusal> checkPointCount(std::string_view text) {
    const double N1 = readFieldNumber(text);
    if (std::isfinite(N1) && N1 == std::floor(N1) && N1 >= kMinPoints && N1 <= kMaxPoints) {
        return static_cast<int>(N1);
    }
    return Refusal{"Number of Points NP must be a whole number from " + std::to_string(kMinPoints) + " to " +
                   std::to_string(kMaxPoints) + "."};
}

std::variant<double, Refusal> checkAngle(std::string_view text) {
    const double AlfaD = readFieldNumber(text);
    if (std::isfinite(AlfaD)) return AlfaD;
    return Refusal{"Angle of attack must be a finite number of degrees."};
}

std::optional<Refusal> checkEntry(const CatalogEntry& entry, int k) {
    if (entry.unreadableField) {
        return entryRefusal(k, std::string("its field ") + fieldName(*entry.unreadableField) +
                                   " does not read as a number.");
    }
    const std::pair<CatalogField, double> fields[] = {
        {CatalogField::Delta, entry.Delta}, {CatalogField::Gama, entry.Gama}, {CatalogField::xDltC, entry.xDltC},
        {CatalogField::Tau, entry.Tau},     {CatalogField::F, entry.F},       {CatalogField::G, entry.G},
        {CatalogField::m, entry.m}};
    for (const auto& [field, value] : fields) {
        if (!std::isfinite(value)) {
            return entryRefusal(k, std::string("its field ") + fieldName(field) + " is beyond the range of numbers.");
        }
    }
    if (entry.F < 0) return entryRefusal(k, "F must be 0 or more.");
    if (entry.m <= 0) return entryRefusal(k, "m must be greater than 0.");
    return std::nullopt;
}

std::variant<Calculation, Refusal> calculate(const Catalog& catalog, std::optional<int> selectedIndex,
                                             std::string_view pointsText, std::string_view angleText) {
    if (!selectedIndex || *selectedIndex < 1 || *selectedIndex > catalog.AirfoilCount()) {
        return Refusal{kChooseAirfoilMessage};
    }
    const int k = *selectedIndex;
    const auto points = checkPointCount(pointsText);
    if (const auto* refusal = std::get_if<Refusal>(&points)) return *refusal;
    const auto angle = checkAngle(angleText);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return *refusal;
    const CatalogEntry& entry = catalog.entry(k);
    if (auto refusal = checkEntry(entry, k)) return *refusal;

    Calculation calculation;
    calculation.SelectedIndex = k;
    calculation.N1 = std::get<int>(points);
    calculation.AlfaD = std::get<double>(angle);
    calculation.solution = VORTA(calculation.N1, entry.F, entry.G, entry.m, Chord, calculation.AlfaD);
    if (!isFinite(calculation.solution) || !isPlottable(calculation.solution)) {
        return entryRefusal(k, "its values F, G and m give results too large to show and plot; choose an entry "
                               "with m near 2 and F from 0 to about 1.");
    }
    return calculation;
}

}  // namespace vorta
