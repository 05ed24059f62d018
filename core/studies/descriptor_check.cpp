#include "core/studies/descriptor_check.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "core/numbers/number_text.h"
#include "core/studies/section_measure.h"

namespace vorta {

namespace {

// More decimals than a double holds tell nothing more; fewer than this many leave no digit of it.
constexpr long kMostDecimals = 350;
constexpr int kMostShownDecimals = 17;

// The decimals a number is written with, its exponent counted: 0.1179 has 4, 18 none, 1.5E-3 4.
int writtenDecimals(const std::string& text) {
    const std::size_t exponent = std::min(text.find_first_of("eE"), text.size());
    const std::size_t point = text.find('.');
    long decimals =
        point < exponent ? static_cast<long>(std::min<std::size_t>(exponent - point - 1, kMostDecimals)) : 0;
    if (exponent < text.size())
        decimals -=
            std::clamp(std::strtol(text.c_str() + exponent + 1, nullptr, 10), -kMostDecimals, kMostDecimals);
    return static_cast<int>(std::clamp(decimals, -kMostDecimals, kMostDecimals));
}

// Further than half a unit of the last written decimal, and a little more for the binary
// rounding of the written number.
bool disagrees(const std::string& written, double value, double measured) {
    const double halfUnit = 0.5 * std::pow(10.0, -writtenDecimals(written));
    return std::fabs(value - measured) > halfUnit * (1 + 1e-9) + 1e-12;
}

}  // namespace

std::vector<std::string> descriptorDisagreements(const CatalogEntry& entry) {
    const LineFields line = fieldsOfLine(entry.displayText);
    if (entry.lineFault || entry.unreadableField || line.fields.size() != kCatalogFields.size()) return {};
    const std::optional<SectionMeasures> measured = measureSection(entry.F, entry.G, entry.m);
    if (!measured) return {};
    const std::vector<std::string>& text = line.fields;
    const std::string section = "the section of F = " + text[4] + ", G = " + text[5] + ", m = " + text[6];
    // The measure shown with as many decimals as the field has, and at least four.
    const auto shown = [&](std::size_t field, double value) {
        return withDecimals(value, std::clamp(writtenDecimals(text[field]), 4, kMostShownDecimals));
    };
    std::vector<std::string> lines;
    const auto check = [&](std::size_t field, double value, double measure, const std::string& saying) {
        if (disagrees(text[field], value, measure)) {
            lines.push_back(std::string(kCatalogFields[field].name) + " " + text[field] + ", but " + section +
                            saying + ".");
        }
    };
    check(0, entry.Delta, measured->Delta, " is " + shown(0, measured->Delta) + " thick");
    check(1, entry.Gama, measured->Gama, " has a camber of " + shown(1, measured->Gama));
    if (measured->Delta >= kThinnestPlaced)
        check(2, entry.xDltC, measured->xDltC, " is thickest at x = " + shown(2, measured->xDltC));
    const int tauDecimals = std::clamp(writtenDecimals(text[3]), 4, kMostShownDecimals);
    check(3, entry.Tau, measured->Tau,
          " has a trailing-edge angle of " + formatRounded(measured->Tau, tauDecimals, ".") + " degrees");
    return lines;
}

}  // namespace vorta
