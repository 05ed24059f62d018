// A conformal O-grid of an entry that carries the exact flow, as VTK or CGNS.
#include <charconv>
#include <cmath>
#include <iostream>
#include <string>
#include <variant>

#include "core/numbers/number_text.h"
#include "core/output/cgns_grid.h"
#include "core/output/vtk_grid.h"
#include "core/studies/grid.h"
#include "locale/decimal_separator.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

// A whole number of the command line, digits after an optional plus; beyond the range of
// numbers, -1, which fails every limit.
long long wholeNumber(const std::string& text) {
    const std::size_t start = text.empty() || text[0] != '+' ? 0 : 1;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : -1;
}

// NI:NJ[:R] as the command line checked its form, within the grid's limits.
std::variant<GridSize, Refusal> readGridSize(const std::string& text) {
    const std::size_t first = text.find(':'), second = text.find(':', first + 1);
    const long long NI = wholeNumber(text.substr(0, first));
    const long long NJ =
        wholeNumber(text.substr(first + 1, second == std::string::npos ? second : second - first - 1));
    const double distance = second == std::string::npos
                                ? kDefaultGridDistance
                                : readCatalogNumber(text.substr(second + 1)).value_or(HUGE_VAL);
    return checkGridSize(NI, NJ, distance, "--grid");
}

// The CGNS library writes the file itself, by name; it is renamed into place once whole.
int writeCgns(const std::string& output, const FlowGrid& grid) {
    const auto error =
        replaceFileByName(output, [&grid](const std::string& path) { return writeCgnsGrid(grid, path); });
    return error ? refuse(*error) : kSuccess;
}

}  // namespace

int writeGrid(const Catalog& catalog, int k, const Options& o) {
    const auto angle = checkAngle(o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return refuse(refusal->message);
    const auto size = readGridSize(*o.grid);
    if (const auto* refusal = std::get_if<Refusal>(&size)) return refuse(refusal->message);
    if (auto refusal = checkEntry(catalog, k)) return refuse(refusal->message);

    const CatalogEntry& entry = catalog.entry(k);
    const auto made =
        conformalGrid(entry.F, entry.G, entry.m, std::get<double>(angle), std::get<GridSize>(size));
    if (const auto* reason = std::get_if<std::string>(&made))
        return refuse("No grid for airfoil entry " + std::to_string(k) + ": " + *reason);
    const FlowGrid& grid = std::get<FlowGrid>(made);
    const std::string output = o.output.value_or("-");
    const int status =
        o.format == Format::Vtk
            ? writeOutput(output, [&grid](const ByteSink& sink) { return writeVtkGrid(grid, sink); })
            : writeCgns(output, grid);
    if (status != kSuccess || output == "-") return status;
    std::cout << "NJ = " << squareCellRings(grid.NI, grid.outerRatio)
              << " makes the cells square with NI = " << grid.NI << " (the outer ring's radius "
              << formatRounded(grid.outerRatio, 1, regionalDecimalSeparator()) << " times the circle's).\n";
    return kSuccess;
}

}  // namespace vorta::run
