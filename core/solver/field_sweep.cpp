#include "core/solver/field_sweep.h"

#include "core/solver/field_sweep_loop.h"
#include "core/solver/math_scalar.h"
#include "core/solver/work_sharing.h"

namespace vorta::solver {

namespace {

// Below this many points per thread, starting a thread costs more than it saves.
constexpr int kMinPointsPerThread = 8192;
constexpr int kPointsPerChunk = 4096;

void fieldPointsScalar(const FieldJob& job) { fieldLoop<ScalarMath>(job); }

using FieldFunction = void (*)(const FieldJob&);

FieldFunction fieldFunction(SweepPath path) {
    switch (path) {
#if VORTA_X86_SWEEPS
        case SweepPath::Sse2:
            return fieldPointsSse2;
        case SweepPath::Avx2:
            return fieldPointsAvx2;
        case SweepPath::Avx512:
            return fieldPointsAvx512;
#endif
        default:
            return fieldPointsScalar;
    }
}

}  // namespace

void fieldPoints(const FieldJob& job, SweepPath path, int threads) {
    const FieldFunction run = fieldFunction(path);
    const int count = static_cast<int>(job.end - job.first);
    shareWork(count, kPointsPerChunk, kMinPointsPerThread, threads, [&](int first, int end) {
        FieldJob part = job;
        part.first = job.first + static_cast<std::size_t>(first);
        part.end = job.first + static_cast<std::size_t>(end);
        run(part);
    });
}

}  // namespace vorta::solver
