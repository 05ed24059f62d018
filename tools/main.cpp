// vorta-run: the window program's calculation without a window, for batch work, the exact
// solution in the formats other tools read: contours, tables, polars and comparisons, and the
// catalog lines of sections described, designed or fitted to a contour.

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <variant>

#include "core/calculation/calculation.h"
#include "tools/command_line.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace {

using namespace vorta::run;

int runTask(const vorta::Catalog& catalog, const CommandLine& line) {
    const Options& o = line.options;
    if (line.list) return listEntries(catalog);
    if (line.check) return checkCatalog(catalog, o);
    if (o.entry == "all") return writePolars(catalog, std::nullopt, o);
    const int k = std::stoi(o.entry);
    if (k < 1 || k > catalog.AirfoilCount()) {
        std::cerr << "There is no entry " << o.entry << ": the catalog has entries 1 to "
                  << catalog.AirfoilCount() << ".\n";
        return kRefused;
    }
    if (o.plot) return writePlot(catalog, k, o);
    if (o.alphaRange) return writePolars(catalog, k, o);
    if (o.compare) return comparePressureFile(catalog, k, o);
    if (o.field) return writeField(catalog, k, o);
    if (!o.compareField.empty()) return compareFields(catalog, k, o);
    if (o.grid) return writeGrid(catalog, k, o);
    return calculateEntry(catalog, k, o);
}

// Reads the command line and the catalog, and runs the task.
int run(int argc, char** argv) {
    const auto parsed = parseCommandLine(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const CommandLine& line = std::get<CommandLine>(parsed);
    if (line.options.describe || line.options.design || line.options.fit)
        return makeSectionLine(line.options);
    const auto catalog = vorta::openCatalog(line.options.input);
    if (const auto* refusal = std::get_if<vorta::Refusal>(&catalog)) return refuse(refusal->message);
    return runTask(std::get<vorta::Catalog>(catalog), line);
}

}  // namespace

int main(int argc, char** argv) {
    takeOverStandardOutput();
    const int status = run(argc, argv);
    // Whatever a task wrote there must have arrived: a full disk is a failure, not a success.
    if (!standardOutputArrived()) return std::max(status, kRefused);
    return status;
}
