#pragma once
// What vorta-run does once its command line is understood: list or check the catalog,
// calculate an entry and write it in a format, write a polar, or compare a pressure file.

#include <optional>
#include <string>

#include "core/catalog.h"

namespace vorta::run {

inline constexpr int kSuccess = 0;
inline constexpr int kRefused = 1;
inline constexpr int kUsageError = 2;

enum class Format { Legacy, Dat, Csv, Json };

struct Options {
    std::string entry;  // a number, or "all" for a polar
    std::string input = kCatalogFileName;
    std::string points = "51";
    std::string alpha = "0";
    std::optional<std::string> alphaRange;
    std::optional<std::string> compare;
    int layout = 4;
    Format format = Format::Legacy;
    std::optional<std::string> output;  // "-" is standard output
};

// Flushes standard output; false, said on stderr, when what a task wrote there did not all arrive.
bool standardOutputArrived();

int listEntries(const Catalog& catalog);
int checkCatalog(const Catalog& catalog, const Options& options);
int calculateEntry(const Catalog& catalog, int k, const Options& options);
int writePolars(const Catalog& catalog, const std::optional<int>& k, const Options& options);
int comparePressureFile(const Catalog& catalog, int k, const Options& options);

}  // namespace vorta::run
