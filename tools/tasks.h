#pragma once
// What vorta-run does once its command line is understood, one task a file: list or check the
// catalog (catalog_tasks.cpp), calculate an entry and write it in a format (calculate_task.cpp),
// write a polar (polar_task.cpp), compare a pressure file (compare_task.cpp), give the flow at
// another code's points (field_task.cpp) or compare it with another code's field
// (compare_field_task.cpp), write a grid that carries the exact flow (grid_task.cpp), make a
// section's catalog line and add it to a catalog (section_tasks.cpp), or draw a figure
// (plot_task.cpp).

#include <optional>
#include <string>
#include <vector>

#include "core/calculation/calculation.h"
#include "core/catalog/catalog.h"

namespace vorta::run {

inline constexpr int kSuccess = 0;
inline constexpr int kRefused = 1;
inline constexpr int kUsageError = 2;

// Refusals name the inputs by the options that carry them.
inline const InputNames kInputNames{"--points", "--alpha"};

enum class Format { Legacy, Dat, Csv, Json, Vtk, Cgns };

struct Options {
    std::string entry;  // a number, or "all" for a polar
    std::string input = kCatalogFileName;
    std::string points = "51";
    std::string alpha = "0";
    std::optional<std::string> alphaRange;
    std::optional<std::string> compare;
    std::optional<std::string> field;
    std::vector<std::string> compareField;
    std::optional<std::string> grid;  // NI:NJ[:R]
    int layout = 4;
    Format format = Format::Legacy;
    std::optional<std::string> output;  // "-" is standard output
    // A section's catalog line from F,G,m, from targets T,C,TAU or fitted to a contour file,
    // and the catalog it is added to.
    std::optional<std::string> describe, design, fit, addTo;
    std::optional<std::string> plot;    // contour, cp or polar
    std::string size = "1200x800";      // of a figure, in pixels
};

int listEntries(const Catalog& catalog);
int checkCatalog(const Catalog& catalog, const Options& options);
int calculateEntry(const Catalog& catalog, int k, const Options& options);
int writePolars(const Catalog& catalog, const std::optional<int>& k, const Options& options);
int comparePressureFile(const Catalog& catalog, int k, const Options& options);
int writeField(const Catalog& catalog, int k, const Options& options);
int compareFields(const Catalog& catalog, int k, const Options& options);
// --describe, --design or --fit, which need no catalog to read.
int makeSectionLine(const Options& options);
int writePlot(const Catalog& catalog, int k, const Options& options);
int writeGrid(const Catalog& catalog, int k, const Options& options);

}  // namespace vorta::run
