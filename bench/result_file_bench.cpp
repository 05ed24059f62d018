// Saving the result file of a million points in the folded layout with pressure, beside the
// plainest way to write the same numbers: std::to_chars with five decimals into one buffer,
// then one write to a file in the same directory. Compare the medians of one run:
//   bin/result_file_bench --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/output/result_file.h"
#include "core/solver/solver.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPoints = 1000000;

fs::path benchDirectory() { return fs::temp_directory_path() / "vorta-result-file-bench"; }

void removeBenchDirectory() {
    std::error_code ignored;
    fs::remove_all(benchDirectory(), ignored);
}

// The calculation is kept in an optional, as the window keeps its last one.
struct Saved {
    vorta::Catalog catalog;
    std::optional<vorta::Calculation> calculation;
    fs::path directory;
};

// The entry behind VORTA(1000000, 0.1, 0.1, 1.9, 1, 5), solved once for every benchmark.
const Saved& saved() {
    static const Saved s = [] {
        Saved made;
        vorta::CatalogEntry entry;
        entry.Delta = 0.1;
        entry.Gama = 0.1;
        entry.xDltC = 0.3;
        entry.Tau = 18;
        entry.F = 0.1;
        entry.G = 0.1;
        entry.m = 1.9;
        made.catalog.fileRead = true;
        made.catalog.entries = {entry};
        made.calculation.emplace();
        made.calculation->SelectedIndex = 1;
        made.calculation->N1 = kPoints;
        made.calculation->AlfaD = 5;
        made.calculation->solution = vorta::VORTA(kPoints, 0.1, 0.1, 1.9, 1, 5);
        made.directory = benchDirectory();
        fs::create_directories(made.directory);
        std::atexit(removeBenchDirectory);
        return made;
    }();
    return s;
}

std::string pathIn(const Saved& s, const char* name) { return (s.directory / name).string(); }

void BM_SaveResultFile(benchmark::State& state) {
    const Saved& s = saved();
    const std::string path = pathIn(s, vorta::kResultFileName);
    for (auto _ : state) {
        if (vorta::saveResultFile(s.catalog, s.calculation, vorta::Layout::FoldedXYCu, ".", path)) {
            state.SkipWithError("the save failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
}

void BM_FormatResultFile(benchmark::State& state) {
    const Saved& s = saved();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            vorta::formatResultFile(s.catalog.entry(1), *s.calculation, vorta::Layout::FoldedXYCu, "."));
    }
}

// The six numbers of each folded row in the order the file has them, picked before timing.
std::vector<double> foldedRows(const vorta::Calculation& c) {
    const vorta::Solution& s = c.solution;
    const auto slot = [](const vorta::PointArray& values, double pointNumber) {
        return values[static_cast<std::size_t>(std::nearbyint(pointNumber))];
    };
    std::vector<double> numbers;
    const double M = (c.N1 + 1) / 2.0;
    for (int i = 1; i <= M; ++i) {
        const double U = M + i - 1, L = M + 1 - i;
        for (double value : {slot(s.x, U), slot(s.y, U), slot(s.Cu, U), slot(s.x, L), slot(s.y, L), slot(s.Cu, L)}) {
            numbers.push_back(value);
        }
    }
    return numbers;
}

bool writeAll(const std::string& path, const char* data, std::size_t size) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) return false;
    while (size > 0) {
        const ssize_t written = ::write(file, data, size);
        if (written <= 0) break;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return ::close(file) == 0 && size == 0;
}

void BM_ToCharsBaseline(benchmark::State& state) {
    const Saved& s = saved();
    const std::vector<double> numbers = foldedRows(*s.calculation);
    const std::string path = pathIn(s, "to_chars.txt");
    std::vector<char> buffer(numbers.size() * 32);
    std::size_t size = 0;
    for (auto _ : state) {
        char* out = buffer.data();
        char* const end = buffer.data() + buffer.size();
        for (std::size_t k = 0; k < numbers.size(); k += 6) {
            for (std::size_t column = 0; column < 6; ++column) {
                *out++ = ' ';
                out = std::to_chars(out, end, numbers[k + column], std::chars_format::fixed, 5).ptr;
            }
            *out++ = '\r';
            *out++ = '\n';
        }
        size = static_cast<std::size_t>(out - buffer.data());
        if (!writeAll(path, buffer.data(), size)) state.SkipWithError("the write failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}

BENCHMARK(BM_SaveResultFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ToCharsBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FormatResultFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
