// Comparing another code's pressure distribution with the exact one.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <variant>

#include "core/studies/pressure_compare.h"
#include "locale/decimal_separator.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

// The pressure file's points, from the file or, for "-", from standard input. Pipes are read
// like files.
std::variant<std::vector<MeasuredPoint>, Refusal> readCompareFile(const std::string& name) {
    if (name == "-") return readPressureTable(std::cin, "standard input");
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return Refusal{"Cannot compare with " + name + ": it does not exist."};
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return Refusal{"Cannot compare with " + name + ": it is a directory."};
    }
    std::ifstream in(name, std::ios::binary);
    if (!in.is_open()) {
        return Refusal{"Cannot compare with " + name + ": it cannot be opened (" + std::strerror(errno) +
                       ")."};
    }
    return readPressureTable(in, name);
}

}  // namespace

int comparePressureFile(const Catalog& catalog, int k, const Options& o) {
    const auto angle = checkAngle(o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return refuse(refusal->message);
    if (auto refusal = checkEntry(catalog, k)) return refuse(refusal->message);
    auto table = readCompareFile(*o.compare);
    if (const auto* refusal = std::get_if<Refusal>(&table)) return refuse(refusal->message);

    const Comparison comparison = comparePressure(std::get<std::vector<MeasuredPoint>>(table),
                                                  catalog.entry(k), std::get<double>(angle));
    const PointsSource source{*o.compare == "-" ? "standard input" : *o.compare};
    const std::string separator = regionalDecimalSeparator();
    if (auto refusal = undecidedRefusal(comparison, source, separator)) return refuse(refusal->message);
    for (const RunDecision& run : comparison.runs) std::cerr << runNote(run, source, separator) << '\n';
    for (const SkippedPoint& skipped : comparison.skipped)
        std::cerr << skippedNote(skipped, source.name, separator) << '\n';
    const bool csv = o.format == Format::Csv;
    const int status = writeOutput(o.output.value_or("-"), [&](const ByteSink& sink) {
        return writeComparison(csv ? ComparisonFormat::Csv : ComparisonFormat::Text, comparison, separator,
                               sink);
    });
    // The CSV holds the rows alone; its summary goes where people read.
    if (csv && status == kSuccess) std::cerr << comparisonSummary(comparison, separator) << '\n';
    if (status != kSuccess) return status;
    if (auto refusal = emptyComparisonRefusal(comparison, source)) return refuse(refusal->message);
    return kSuccess;
}

}  // namespace vorta::run
