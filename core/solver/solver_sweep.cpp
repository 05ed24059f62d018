#include "core/solver/solver_sweep.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/solver/math_scalar.h"
#include "core/solver/solver_sweep_loop.h"
#include "core/solver/work_sharing.h"

namespace vorta {

namespace {

// Below this many pairs per thread, starting a thread costs more than it saves.
constexpr int kMinPairsPerThread = 4096;
// The threads take the pairs in chunks of this many (a multiple of every vector width).
constexpr int kPairsPerChunk = 2048;

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

void sweepScalar(const SweepJob& job) { sweepPairs<ScalarMath>(job); }

}  // namespace

PointValues pointAt(const SurfaceConstants& constants, double Theta) {
    const SinCos<ScalarMath> half = ScalarMath::sincos(0.5 * Theta);
    const SurfaceValues<ScalarMath> p = surfacePoint<ScalarMath>(constants, Theta <= 0 ? -1 : +1, half);
    return {p.x, p.y, p.Cu};
}

namespace {

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

}  // namespace

void sweep(const SweepJob& job, SweepPath path, int threads) {
    const SweepFunction run = sweepFunction(path);
    shareWork(job.lastPair - job.firstPair + 1, kPairsPerChunk, kMinPairsPerThread, threads, [&](int first, int end) {
        SweepJob part = job;
        part.firstPair = job.firstPair + first;
        part.lastPair = job.firstPair + end - 1;
        run(part);
    });
}

}  // namespace solver

}  // namespace vorta
