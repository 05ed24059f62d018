#include "core/solver/solver_sweep.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#include "core/solver/solver_sweep_loop.h"

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

int threadCountFor(int pairs) {
    const int wanted = pairs / kMinPairsPerThread;
    if (wanted < 2) return 1;
    // Asked once: the answer reads a system file each time.
    static const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::min(wanted, cores);
}

SweepJob chunk(const SweepJob& job, int c) {
    SweepJob part = job;
    part.firstPair = job.firstPair + c * kPairsPerChunk;
    part.lastPair = std::min(job.lastPair, part.firstPair + kPairsPerChunk - 1);
    return part;
}

}  // namespace

// The threads take chunks of pairs as they come free rather than fixed shares, so that one
// the shared processor starts late or runs slowly leaves the rest of its work to the others.
void sweep(const SweepJob& job, SweepPath path, int threads) {
    const int pairs = job.lastPair - job.firstPair + 1;
    if (pairs <= 0) return;
    const SweepFunction run = sweepFunction(path);
    const int chunks = (pairs + kPairsPerChunk - 1) / kPairsPerChunk;
    const int workers = std::min(threads > 0 ? threads : threadCountFor(pairs), chunks);
    if (workers == 1) {
        run(job);
        return;
    }
    std::atomic<int> nextChunk{0};
    const auto work = [&] {
        for (int c = nextChunk++; c < chunks; c = nextChunk++) run(chunk(job, c));
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < workers; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: those running take all the chunks
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace solver

}  // namespace vorta
