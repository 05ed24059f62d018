#pragma once
// The AVX2 math backend of the kernels, four lanes. For translation units compiled with -mavx2
// -mfma; see core/solver/solver_kernel.h.

#include <immintrin.h>
#include <sleef.h>

#include "core/solver/solver_kernel.h"

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
    static Vec exp(Vec v) { return Sleef_expd4_u10avx2(v); }
    static Vec expm1(Vec v) { return Sleef_expm1d4_u10avx2(v); }
    static Vec log(Vec v) { return Sleef_logd4_u10avx2(v); }
    static Vec log1p(Vec v) { return Sleef_log1pd4_u10avx2(v); }
};

}  // namespace

}  // namespace vorta::solver
