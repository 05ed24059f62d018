#include "core/calculation/calculation.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "core/numbers/number_text.h"
#include "core/solver/work_sharing.h"

namespace vorta {

namespace {

// Results are per chord; the program always works with a chord of one.
constexpr double Chord = 1;

constexpr const char* kHowALineIsWritten =
    "Write each airfoil as one line of seven numbers separated by commas, with a point for decimals, "
    "for example 0.12,0.02,0.25,12,0.1,0.05,1.93.";

// Every number within single precision, in which the window shows and plots them: a larger
// value would become an infinity there. The comparison is false for NaN too.
constexpr double kLargestShown = std::numeric_limits<float>::max();

bool areShowable(const Coefficients& c) {
    return std::fabs(c.CL) <= kLargestShown && std::fabs(c.CMc4) <= kLargestShown &&
           std::fabs(c.Alfa0) <= kLargestShown;
}

// One pass over the arrays, which hold up to three million values: long ones on two threads
// where there are two cores.
bool isShowable(const Solution& solution) {
    if (!areShowable(solution.coefficients)) return false;
    constexpr int kPointsPerChunk = 1 << 16, kMinPointsPerThread = 1 << 18;
    std::atomic<bool> showable{true};
    shareWork(static_cast<int>(solution.x.size()), kPointsPerChunk, kMinPointsPerThread, 0,
              [&](int first, int end) {
                  for (const auto* values : {&solution.x, &solution.y, &solution.Cu}) {
                      for (int k = first; k < end; ++k) {
                          if (!(std::fabs((*values)[k]) <= kLargestShown)) {
                              showable = false;
                              return;
                          }
                      }
                  }
              });
    return showable;
}

Refusal entryRefusal(int k, const std::string& reason) {
    return {"Airfoil entry " + std::to_string(k) + " cannot be calculated: " + reason};
}

// "4,5" would read as 4: the comma must be refused before the number is used.
std::optional<Refusal> refuseDecimalComma(std::string_view text, const std::string& name) {
    const std::optional<DecimalComma> comma = findDecimalComma(text);
    if (!comma) return std::nullopt;
    std::string message = name + ": the decimal separator here is the point. ";
    if (comma->meant) return Refusal{message + "Write " + *comma->meant + ", not " + comma->written + "."};
    return Refusal{message + "Write the number without the comma in " + comma->written + "."};
}

Refusal sectionRefusal(double F, double G, double m, const std::string& reason) {
    return {"The section " + sectionNumbers(F, G, m) + " cannot be calculated: " + reason};
}

std::string fieldCount(int count) { return std::to_string(count) + (count == 1 ? " field" : " fields"); }

}  // namespace

std::variant<int, Refusal> checkPointCount(std::string_view text, const InputNames& names) {
    if (auto refusal = refuseDecimalComma(text, names.points)) return *refusal;
    return checkPointCount(readFieldNumber(text), names);
}

std::variant<int, Refusal> checkPointCount(double N1, const InputNames& names) {
    if (std::isfinite(N1) && N1 == std::floor(N1) && N1 >= kMinPoints && N1 <= kMaxPoints) {
        return static_cast<int>(N1);
    }
    return Refusal{names.points + " must be a whole number from " + std::to_string(kMinPoints) + " to " +
                   std::to_string(kMaxPoints) + "."};
}

std::variant<double, Refusal> checkAngle(std::string_view text, const InputNames& names) {
    if (auto refusal = refuseDecimalComma(text, names.angle)) return *refusal;
    return checkAngle(readFieldNumber(text), names);
}

std::variant<double, Refusal> checkAngle(double AlfaD, const InputNames& names) {
    // Within this bound AlfaD·Pi stays finite, so the angle in radians does.
    if (std::fabs(AlfaD) <= kLargestAngle) return AlfaD;
    return Refusal{names.angle + " must be a number of degrees from -5E307 to 5E307."};
}

std::string describeLineFault(const LineShape& fault, int entryLine, const std::string& fileName) {
    std::string what = "line " + std::to_string(fault.line) + " of " + fileName;
    what += fault.unclosedQuote ? " opens a double quote that is not closed on that line"
                                : " holds " + fieldCount(fault.fieldCount);
    if (fault.line != entryLine) what += ", which shifts the numbers of every line after it";
    what += ". ";
    if (fault.leading) what += "The first two lines hold one field each. ";
    return what + kHowALineIsWritten;
}

std::optional<std::string> entryProblem(const Catalog& catalog, int k) {
    const CatalogEntry& entry = catalog.entry(k);
    if (entry.lineFault) return describeLineFault(*entry.lineFault, entry.line, catalog.fileName);
    if (entry.unreadableField) {
        return std::string("its field ") + entry.unreadableField->name + " does not read as a number.";
    }
    for (const CatalogField& field : kCatalogFields) {
        if (!std::isfinite(entry.*field.value)) {
            return std::string("its field ") + field.name + " is beyond the range of numbers.";
        }
    }
    return sectionProblem(entry.F, entry.m);
}

std::optional<std::string> sectionProblem(double F, double m) {
    if (F < 0) return std::string("F must be 0 or more.");
    if (m <= 0) return std::string("m must be greater than 0.");
    if (m > 2) return std::string("m must not exceed 2: above 2 the surfaces cross at the trailing edge.");
    return std::nullopt;
}

std::optional<Refusal> checkEntry(const Catalog& catalog, int k) {
    if (auto problem = entryProblem(catalog, k)) return entryRefusal(k, *problem);
    return std::nullopt;
}

std::variant<Solution, Refusal> solveEntry(const Catalog& catalog, int k, int N1, double AlfaD) {
    if (auto refusal = checkEntry(catalog, k)) return *refusal;
    const CatalogEntry& entry = catalog.entry(k);
    Solution solution = VORTA(N1, entry.F, entry.G, entry.m, Chord, AlfaD);
    if (!isShowable(solution)) return entryRefusal(k, kResultsCannotBeShown);
    return solution;
}

std::variant<Coefficients, Refusal> coefficientsOfEntry(const Catalog& catalog, int k, double AlfaD) {
    if (auto refusal = checkEntry(catalog, k)) return *refusal;
    const CatalogEntry& entry = catalog.entry(k);
    const Coefficients coefficients = sectionCoefficients(entry.F, entry.G, entry.m, Chord, AlfaD);
    if (!areShowable(coefficients)) return entryRefusal(k, kResultsCannotBeShown);
    return coefficients;
}

std::string sectionNumbers(double F, double G, double m) {
    return "F=" + shortestText(F) + " G=" + shortestText(G) + " m=" + shortestText(m);
}

std::optional<Refusal> checkSection(double F, double G, double m) {
    for (const auto& [name, value] : {std::pair{"F", F}, std::pair{"G", G}, std::pair{"m", m}}) {
        if (!std::isfinite(value)) {
            return sectionRefusal(F, G, m, std::string(name) + " must be a finite number.");
        }
    }
    if (auto problem = sectionProblem(F, m)) return sectionRefusal(F, G, m, *problem);
    return std::nullopt;
}

std::variant<Solution, Refusal> solveSection(double F, double G, double m, int N1, double AlfaD) {
    if (auto refusal = checkSection(F, G, m)) return *refusal;
    Solution solution = VORTA(N1, F, G, m, Chord, AlfaD);
    if (!isShowable(solution)) return sectionRefusal(F, G, m, kResultsCannotBeShown);
    return solution;
}

std::variant<Coefficients, Refusal> coefficientsOfSection(double F, double G, double m, double AlfaD) {
    if (auto refusal = checkSection(F, G, m)) return *refusal;
    const Coefficients coefficients = sectionCoefficients(F, G, m, Chord, AlfaD);
    if (!areShowable(coefficients)) return sectionRefusal(F, G, m, kResultsCannotBeShown);
    return coefficients;
}

std::variant<Catalog, Refusal> openCatalog(const std::string& path) {
    if (const auto problem = catalogFileProblem(path)) {
        return Refusal{"The catalog " + path + ' ' + *problem + "."};
    }
    Catalog catalog = loadCatalogFile(path);
    if (!catalog.fileRead) {
        return Refusal{
            "The catalog " + path +
            " ends before its two leading lines; a catalog starts with two lines of one field each."};
    }
    return catalog;
}

std::variant<Calculation, Refusal> calculate(const Catalog& catalog, std::optional<int> selectedIndex,
                                             std::string_view pointsText, std::string_view angleText,
                                             const InputNames& names) {
    if (!selectedIndex || *selectedIndex < 1 || *selectedIndex > catalog.AirfoilCount()) {
        return Refusal{kChooseAirfoilMessage};
    }
    const int k = *selectedIndex;
    const auto points = checkPointCount(pointsText, names);
    if (const auto* refusal = std::get_if<Refusal>(&points)) return *refusal;
    const auto angle = checkAngle(angleText, names);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return *refusal;

    auto solution = solveEntry(catalog, k, std::get<int>(points), std::get<double>(angle));
    if (const auto* refusal = std::get_if<Refusal>(&solution)) return *refusal;
    return Calculation{k, std::get<int>(points), std::get<double>(angle),
                       std::get<Solution>(std::move(solution))};
}

}  // namespace vorta
