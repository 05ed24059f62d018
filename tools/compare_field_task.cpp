// Error norms of another code's flow field against the exact one, over meshes refined in turn.
#include <algorithm>
#include <iostream>
#include <variant>
#include <vector>

#include "core/studies/field_comparison.h"
#include "locale/decimal_separator.h"
#include "tools/task_input.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

// Points inside the section are said one a line, up to this many a file.
constexpr std::size_t kInsideLinesSaid = 20;

std::variant<FieldTable, Refusal> readFieldFile(const std::string& path) {
    auto input = openTableInput(path);
    if (const auto* why = std::get_if<std::string>(&input))
        return Refusal{"Cannot read the points of " + path + ": " + *why};
    const TableInput& table = std::get<TableInput>(input);
    auto read = readFieldTable(*table.stream, table.name);
    const auto* points = std::get_if<FieldTable>(&read);
    if (points &&
        std::all_of(points->values.begin(), points->values.end(), [](const auto& v) { return v.empty(); })) {
        return Refusal{"Cannot compare the field of " + table.name +
                       ": its header names none of u, v, Cp and psi. Name the columns in a line such as "
                       "x,y,u,v,Cp,psi."};
    }
    return read;
}

void sayInsidePoints(const FieldComparison& c) {
    for (std::size_t i = 0; i < std::min(c.insideLines.size(), kInsideLinesSaid); ++i) {
        std::cerr << c.name << ':' << c.insideLines[i] << ": the point lies inside the section; skipped\n";
    }
    if (c.insideLines.size() > kInsideLinesSaid) {
        std::cerr << c.name << ": " << c.insideLines.size() - kInsideLinesSaid
                  << " more points inside the section skipped\n";
    }
}

}  // namespace

int compareFields(const Catalog& catalog, int k, const Options& o) {
    const auto angle = checkAngle(o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return refuse(refusal->message);
    if (auto refusal = checkEntry(catalog, k)) return refuse(refusal->message);
    const CatalogEntry& entry = catalog.entry(k);
    const FlowField field(entry.F, entry.G, entry.m, std::get<double>(angle));

    std::vector<FieldComparison> comparisons;
    for (const std::string& path : o.compareField) {
        auto read = readFieldFile(path);
        if (const auto* refusal = std::get_if<Refusal>(&read)) return refuse(refusal->message);
        const std::string name = path == "-" ? "standard input" : path;
        comparisons.push_back(compareField(std::get<FieldTable>(read), field, name));
        sayInsidePoints(comparisons.back());
        if (auto refusal = nothingComparedRefusal(comparisons.back())) return refuse(refusal->message);
    }
    const auto format = o.format == Format::Csv ? FieldComparisonFormat::Csv : FieldComparisonFormat::Text;
    const std::string separator = regionalDecimalSeparator();
    return writeOutput(o.output.value_or("-"), [&](const ByteSink& sink) {
        return writeFieldComparisons(format, comparisons, separator, sink);
    });
}

}  // namespace vorta::run
