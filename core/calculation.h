#pragma once
// A checked calculation: inputs are refused with a message before the solver runs, and a
// result is handed out only when every number of it is finite.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/catalog.h"
#include "core/solver.h"

namespace vorta {

inline constexpr int kMinPoints = 2;
inline constexpr int kMaxPoints = 1000000;
inline constexpr const char* kChooseAirfoilMessage = "Choose an airfoil";

struct Refusal {
    std::string message;
};

// Everything one successful run produced, kept together so that a save or a plot always
// describes a single calculation.
struct Calculation {
    int SelectedIndex = 0;
    int N1 = 0;
    double AlfaD = 0;
    Solution solution;
};

std::variant<int, Refusal> checkPointCount(std::string_view text);
std::variant<double, Refusal> checkAngle(std::string_view text);
std::optional<Refusal> checkEntry(const CatalogEntry& entry, int k);

// Reads the two input texts by the input-field rule, checks them and the entry, and solves.
std::variant<Calculation, Refusal> calculate(const Catalog& catalog, std::optional<int> selectedIndex,
                                             std::string_view pointsText, std::string_view angleText);

}  // namespace vorta
