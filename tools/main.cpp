// vorta-run: the window program's calculation without a window, for batch work, the exact
// solution in the formats other tools read: contours, tables, polars and comparisons, and the
// catalog lines of sections described, designed or fitted to a contour.

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>

#include "core/catalog/catalog.h"
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
    const std::string& input = line.options.input;
    // Only a regular file is opened: a FIFO or a device would wait for a writer, and the
    // catalog is read twice.
    if (const auto problem = vorta::catalogFileProblem(input)) {
        std::cerr << "The catalog " << input << ' ' << *problem << ".\n";
        return kRefused;
    }
    const vorta::Catalog catalog = vorta::loadCatalogFile(input);
    if (!catalog.fileRead) {
        std::cerr
            << "The catalog " << input
            << " ends before its two leading lines; a catalog starts with two lines of one field each.\n";
        return kRefused;
    }
    return runTask(catalog, line);
}

}  // namespace

int main(int argc, char** argv) {
    takeOverStandardOutput();
    const int status = run(argc, argv);
    // Whatever a task wrote there must have arrived: a full disk is a failure, not a success.
    if (!standardOutputArrived()) return std::max(status, kRefused);
    return status;
}
