// The solver beside the closed-form steps transcribed line for line, at N1 = 51, 1001 and
// 1000000, for a Karman-Trefftz and a Joukowsky section; the checked calculation with Cp that
// the Python module runs; and each sweep path on one thread.
//   solver_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <variant>
#include <vector>

#include "core/calculation/calculation.h"
#include "core/solver/solver.h"
#include "support/transcribed_steps.h"

namespace {

struct Section {
    double F, G, m, AlfaD;
};

constexpr Section kKarmanTrefftz = {0.1, 0.1, 1.9, 5};
constexpr Section kJoukowsky = {0.1, 0.05, 2, 5};

void Solver(benchmark::State& state, Section s) {
    const int N1 = static_cast<int>(state.range(0));
    for (auto _ : state) {
        vorta::Solution solution = vorta::VORTA(N1, s.F, s.G, s.m, 1, s.AlfaD);
        benchmark::DoNotOptimize(solution.Cu.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * N1);
}

// What the Python module asks of the core for s.solve: the checked calculation of a section
// given by its numbers, and Cp beside Cu.
void CheckedSectionWithCp(benchmark::State& state, Section s) {
    const int N1 = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto result = vorta::solveSection(s.F, s.G, s.m, N1, s.AlfaD);
        vorta::PointArray Cp = vorta::pressureCoefficients(std::get<vorta::Solution>(result).Cu);
        benchmark::DoNotOptimize(Cp.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * N1);
}

// With its arrays allocated in each iteration, as the solver allocates its own.
void Transcription(benchmark::State& state, Section s) {
    const int N1 = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<double> x(N1 + 1), y(N1 + 1), Cu(N1 + 1);
        transcribedSteps(N1, s.F, s.G, s.m, 1, s.AlfaD, x.data(), y.data(), Cu.data());
        benchmark::DoNotOptimize(Cu.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * N1);
}

void SolverOnPath(benchmark::State& state, vorta::SweepPath path) {
    const int N1 = static_cast<int>(state.range(0));
    const Section s = kKarmanTrefftz;
    for (auto _ : state) {
        vorta::Solution solution = vorta::VORTA(N1, s.F, s.G, s.m, 1, s.AlfaD, path, 1);
        benchmark::DoNotOptimize(solution.Cu.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * N1);
    state.SetLabel(vorta::pathName(path));
}

void registerAll() {
    for (const auto& [name, section] :
         {std::pair{"KarmanTrefftz", kKarmanTrefftz}, std::pair{"Joukowsky", kJoukowsky}}) {
        const std::string suffix = std::string("/") + name;
        benchmark::RegisterBenchmark(("Solver" + suffix).c_str(), Solver, section)
            ->Arg(51)
            ->Arg(1001)
            ->Arg(1000000)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("CheckedSectionWithCp" + suffix).c_str(), CheckedSectionWithCp, section)
            ->Arg(1000000)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Transcription" + suffix).c_str(), Transcription, section)
            ->Arg(51)
            ->Arg(1001)
            ->Arg(1000000)
            ->Unit(benchmark::kMicrosecond);
    }
    for (vorta::SweepPath path : vorta::availablePaths()) {
        benchmark::RegisterBenchmark((std::string("OneThread/") + vorta::pathName(path)).c_str(),
                                     SolverOnPath, path)
            ->Arg(1001)
            ->Arg(1000000)
            ->Unit(benchmark::kMicrosecond);
    }
}

const bool kRegistered = (registerAll(), true);

}  // namespace
