// Comparing another code's pressure distribution with the exact one.
#include <iostream>
#include <variant>

#include "core/studies/pressure_compare.h"
#include "locale/decimal_separator.h"
#include "tools/task_input.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

std::variant<std::vector<MeasuredPoint>, Refusal> readCompareFile(const std::string& path) {
    auto input = openTableInput(path);
    if (const auto* why = std::get_if<std::string>(&input)) return Refusal{"Cannot compare with " + path + ": " + *why};
    const TableInput& table = std::get<TableInput>(input);
    return readPressureTable(*table.stream, table.name);
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
