#include "core/solver_sweep.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#include "core/solver_sweep_loop.h"

namespace vorta {

namespace {

// Below this many pairs per thread, starting a thread costs more than it saves.
constexpr int kMinPairsPerThread = 4096;

}  // namespace

std::vector<SweepPath> availablePaths() {
    std::vector<SweepPath> paths = {SweepPath::Scalar};
#if VORTA_X86_SWEEPS
    paths.push_back(SweepPath::Sse2);
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) paths.push_back(SweepPath::Avx2);
    if (__builtin_cpu_supports("avx512f")) paths.push_back(SweepPath::Avx512);
#endif
    return paths;
}

SweepPath widestPath() {
    static const SweepPath widest = availablePaths().back();
    return widest;
}

const char* pathName(SweepPath path) {
    switch (path) {
        case SweepPath::Scalar:
            return "scalar";
        case SweepPath::Sse2:
            return "SSE2";
        case SweepPath::Avx2:
            return "AVX2";
        case SweepPath::Avx512:
            return "AVX-512";
    }
    return "?";
}

namespace solver {

namespace {

struct ScalarMath {
    using Mask = bool;
    using Vec = double;
    static constexpr int width = 1;
    static double broadcast(double v) { return v; }
    static Mask isNegative(double v) { return v < 0; }
    static double select(Mask mask, double whenSet, double otherwise) { return mask ? whenSet : otherwise; }
    static double load(const double* p) { return *p; }
    static void store(double* p, double v) { *p = v; }
    static double reversed(double v) { return v; }
    static double sqrt(double v) { return std::sqrt(v); }
    static double pow(double x, double y) { return std::pow(x, y); }
    static double atan2(double y, double x) { return std::atan2(y, x); }
    static SinCos<ScalarMath> sincos(double v) { return {std::sin(v), std::cos(v)}; }
};

void sweepScalar(const SweepJob& job) { sweepPairs<ScalarMath>(job); }

using SweepFunction = void (*)(const SweepJob&);

SweepFunction sweepFunction(SweepPath path) {
    switch (path) {
#if VORTA_X86_SWEEPS
        case SweepPath::Sse2:
            return sweepSse2;
        case SweepPath::Avx2:
            return sweepAvx2;
        case SweepPath::Avx512:
            return sweepAvx512;
#endif
        default:
            return sweepScalar;
    }
}

int threadCountFor(int pairs) {
    const int wanted = pairs / kMinPairsPerThread;
    if (wanted < 2) return 1;
    // Asked once: the answer reads a system file each time.
    static const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::min(wanted, cores);
}

// Slice t of `slices`, in whole multiples of 8 pairs so that only the last slice has a
// vector tail.
SweepJob slice(const SweepJob& job, int t, int slices) {
    const int pairs = job.lastPair - job.firstPair + 1;
    const int perSlice = (pairs / slices + 7) / 8 * 8;
    SweepJob part = job;
    part.firstPair = job.firstPair + t * perSlice;
    part.lastPair = t == slices - 1 ? job.lastPair : std::min(job.lastPair, part.firstPair + perSlice - 1);
    return part;
}

}  // namespace

void sweep(const SweepJob& job, SweepPath path, int threads) {
    const int pairs = job.lastPair - job.firstPair + 1;
    if (pairs <= 0) return;
    const SweepFunction run = sweepFunction(path);
    const int slices = threads > 0 ? std::min(threads, pairs) : threadCountFor(pairs);
    std::vector<std::thread> helpers;
    for (int t = 1; t < slices; ++t) {
        const SweepJob part = slice(job, t, slices);
        try {
            helpers.emplace_back(run, part);
        } catch (const std::system_error&) {
            run(part);  // no thread to be had: do its share here
        }
    }
    run(slice(job, 0, slices));
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace solver

}  // namespace vorta
