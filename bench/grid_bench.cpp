// The parts of writing a grid of 10^6 nodes (NI 1001, NJ 1000, entry 3 of the sample catalog at
// 4 degrees), each on its own: making the grid (the nodes shared among the cores, and the search
// for the outer ring), formatting it as VTK into a sink that drops the text, and writing the
// CGNS file. Whole processes, with the file reaching the disk, are timed by
// bench/grid_whole_process.sh.
//   bin/grid_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <variant>

#include "core/output/cgns_grid.h"
#include "core/output/vtk_grid.h"
#include "core/studies/grid.h"

namespace {

namespace fs = std::filesystem;

const vorta::GridSize kSize{1001, 1000, 100};

vorta::FlowGrid makeGrid() { return std::get<vorta::FlowGrid>(vorta::conformalGrid(0.1, 0.05, 2, 4, kSize)); }

const vorta::FlowGrid& grid() {
    static const vorta::FlowGrid made = makeGrid();
    return made;
}

void MakeGrid(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(makeGrid());
}
BENCHMARK(MakeGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

void FormatVtk(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        vorta::writeVtkGrid(grid(), [&bytes](std::string_view text) {
            bytes += text.size();
            return 0;
        });
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(FormatVtk)->Unit(benchmark::kMillisecond)->UseRealTime();

void WriteCgns(benchmark::State& state) {
    const std::string path = (fs::temp_directory_path() / "vorta-grid-bench.cgns").string();
    for (auto _ : state) benchmark::DoNotOptimize(vorta::writeCgnsGrid(grid(), path));
    state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
    fs::remove(path);
}
BENCHMARK(WriteCgns)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
