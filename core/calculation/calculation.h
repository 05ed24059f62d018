#pragma once
// A checked calculation: inputs are refused with a message before the solver runs, and a
// result is handed out only when every number of it is finite.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/catalog/catalog.h"
#include "core/solver/solver.h"

namespace vorta {

inline constexpr int kMinPoints = 2;
inline constexpr int kMaxPoints = 1000000;
inline constexpr double kLargestAngle = 5e307;  // degrees
inline constexpr const char* kChooseAirfoilMessage = "Choose an airfoil";
inline constexpr const char* kResultsCannotBeShown =
    "its values F, G and m give results too large to show and plot; choose an entry with m near 2 and F "
    "from 0 to about 1.";

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

// How refusals name the two inputs: by the window's labels unless a caller has its own names.
struct InputNames {
    std::string points = "Number of Points NP";
    std::string angle = "Angle of attack";
};

std::variant<int, Refusal> checkPointCount(std::string_view text, const InputNames& names = {});
std::variant<double, Refusal> checkAngle(std::string_view text, const InputNames& names = {});
// The same checks of numbers a program hands over rather than texts.
std::variant<int, Refusal> checkPointCount(double N1, const InputNames& names);
std::variant<double, Refusal> checkAngle(double AlfaD, const InputNames& names);

// Why entry k cannot be calculated, whatever the inputs, or no value when it can be tried.
std::optional<std::string> entryProblem(const Catalog& catalog, int k);
// Why a section of this F and m cannot be calculated (F below 0, m not above 0 or above 2).
std::optional<std::string> sectionProblem(double F, double m);
std::optional<Refusal> checkEntry(const Catalog& catalog, int k);

// What is wrong with the layout of a line, and how a line is written.
std::string describeLineFault(const LineShape& fault, int entryLine, const std::string& fileName);

// Checks entry k and solves it at checked inputs; refuses results that cannot be shown.
std::variant<Solution, Refusal> solveEntry(const Catalog& catalog, int k, int N1, double AlfaD);

// Checks entry k and computes its coefficients alone, without the contour and so without
// the contour's limits; refuses coefficients that cannot be shown.
std::variant<Coefficients, Refusal> coefficientsOfEntry(const Catalog& catalog, int k, double AlfaD);

// How a section given by its numbers is named in messages: "F=0.1 G=0.05 m=2", each the shortest
// text that reads back as the same double.
std::string sectionNumbers(double F, double G, double m);

// A section given by its F, G and m rather than by a catalog entry, as a program hands it
// over: refused, naming its numbers, where F, G or m is not finite or sectionProblem objects.
std::optional<Refusal> checkSection(double F, double G, double m);
// Checks the section and solves it at checked inputs; refuses results that cannot be shown.
std::variant<Solution, Refusal> solveSection(double F, double G, double m, int N1, double AlfaD);
// Checks the section and computes its coefficients alone; refuses those that cannot be shown.
std::variant<Coefficients, Refusal> coefficientsOfSection(double F, double G, double m, double AlfaD);

// The catalog at path, or why it cannot be read, in a message that names path. Only a regular
// file is read: a FIFO or a device would wait for a writer, and the catalog is read twice.
std::variant<Catalog, Refusal> openCatalog(const std::string& path);

// Reads the two input texts by the input-field rule, checks them and the entry, and solves.
std::variant<Calculation, Refusal> calculate(const Catalog& catalog, std::optional<int> selectedIndex,
                                             std::string_view pointsText, std::string_view angleText,
                                             const InputNames& names = {});

}  // namespace vorta
