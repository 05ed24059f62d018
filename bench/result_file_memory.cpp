// The peak memory of saving a million-point result file in the folded layout with pressure,
// in a process that does nothing else: the three result arrays, and what the save needs
// beyond them. Prints the figures in bytes and leaves no file behind.
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "core/output/result_file.h"
#include "core/solver/solver.h"

namespace {

constexpr int kPoints = 1000000;

long long peakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    vorta::CatalogEntry entry;
    entry.Delta = 0.1;
    entry.Gama = 0.1;
    entry.xDltC = 0.3;
    entry.Tau = 18;
    entry.F = 0.1;
    entry.G = 0.1;
    entry.m = 1.9;
    vorta::Catalog catalog;
    catalog.fileRead = true;
    catalog.entries = {entry};
    std::optional<vorta::Calculation> calculation(std::in_place);  // kept as the window keeps it
    calculation->SelectedIndex = 1;
    calculation->N1 = kPoints;
    calculation->AlfaD = 5;
    calculation->solution = vorta::VORTA(kPoints, 0.1, 0.1, 1.9, 1, 5);
    const long long afterSolving = peakResidentBytes();

    const fs::path directory = fs::temp_directory_path() / "vorta-result-file-memory";
    fs::create_directories(directory);
    const auto error = vorta::saveResultFile(catalog, calculation, vorta::Layout::FoldedXYCu, ".",
                                             (directory / vorta::kResultFileName).string());
    const long long afterSaving = peakResidentBytes();
    fs::remove_all(directory);
    if (error) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return 1;
    }

    const long long arrays = 3LL * 8 * (kPoints + 1);
    std::printf("arrays 3 x 8 x (N1 + 1):     %11lld bytes\n", arrays);
    std::printf("peak after solving:          %11lld bytes\n", afterSolving);
    std::printf("peak after saving:           %11lld bytes\n", afterSaving);
    std::printf("save's peak beyond arrays:   %11lld bytes (%.1f MB)\n", afterSaving - arrays,
                (afterSaving - arrays) / 1e6);
    return 0;
}
