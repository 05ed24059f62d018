// The sweep on AVX2 with FMA, four lanes. Compiled with -mavx2 -mfma; run only where the
// processor has both. See core/solver/solver_kernel.h.
#include <immintrin.h>
#include <sleef.h>

#include "core/solver/solver_sweep_loop.h"

namespace vorta::solver {

namespace {

struct Avx2Math {
    using Mask = __m256d;
    using Vec = __m256d;
    static constexpr int width = 4;
    static Vec broadcast(double v) { return _mm256_set1_pd(v); }
    static Mask isNegative(Vec v) { return _mm256_cmp_pd(v, _mm256_setzero_pd(), _CMP_LT_OQ); }
    static Vec select(Mask mask, Vec whenSet, Vec otherwise) {
        return _mm256_blendv_pd(otherwise, whenSet, mask);
    }
    static Vec load(const double* p) { return _mm256_loadu_pd(p); }
    static void store(double* p, Vec v) { _mm256_storeu_pd(p, v); }
    static Vec reversed(Vec v) { return _mm256_permute4x64_pd(v, 0x1B); }
    static Vec sqrt(Vec v) { return _mm256_sqrt_pd(v); }
    static Vec pow(Vec x, double y) { return Sleef_powd4_u10avx2(x, _mm256_set1_pd(y)); }
    static Vec atan2(Vec y, Vec x) { return Sleef_atan2d4_u10avx2(y, x); }
    static SinCos<Avx2Math> sincos(Vec v) {
        const Sleef___m256d_2 r = Sleef_sincosd4_u10avx2(v);
        return {r.x, r.y};
    }
};

}  // namespace

void sweepAvx2(const SweepJob& job) { sweepPairs<Avx2Math>(job); }

}  // namespace vorta::solver
