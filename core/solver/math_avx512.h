#pragma once
// The AVX-512F math backend of the kernels, eight lanes. For translation units compiled with
// -mavx512f; see core/solver/solver_kernel.h.

#include <immintrin.h>
#include <sleef.h>

#include "core/solver/solver_kernel.h"

namespace vorta::solver {

namespace {

struct Avx512Math {
    using Mask = __mmask8;
    using Vec = __m512d;
    static constexpr int width = 8;
    static Vec broadcast(double v) { return _mm512_set1_pd(v); }
    static Mask isNegative(Vec v) { return _mm512_cmp_pd_mask(v, _mm512_setzero_pd(), _CMP_LT_OQ); }
    static Vec select(Mask mask, Vec whenSet, Vec otherwise) {
        return _mm512_mask_blend_pd(mask, otherwise, whenSet);
    }
    static Vec load(const double* p) { return _mm512_loadu_pd(p); }
    static void store(double* p, Vec v) { _mm512_storeu_pd(p, v); }
    // The zero-masked forms: GCC 12 warns that the plain ones read an uninitialised value.
    static Vec reversed(Vec v) {
        return _mm512_maskz_permutexvar_pd(0xFF, _mm512_set_epi64(0, 1, 2, 3, 4, 5, 6, 7), v);
    }
    static Vec sqrt(Vec v) { return _mm512_maskz_sqrt_pd(0xFF, v); }
    static Vec pow(Vec x, double y) { return Sleef_powd8_u10avx512f(x, _mm512_set1_pd(y)); }
    static Vec atan2(Vec y, Vec x) { return Sleef_atan2d8_u10avx512f(y, x); }
    static SinCos<Avx512Math> sincos(Vec v) {
        const Sleef___m512d_2 r = Sleef_sincosd8_u10avx512f(v);
        return {r.x, r.y};
    }
    static Vec exp(Vec v) { return Sleef_expd8_u10avx512f(v); }
    static Vec expm1(Vec v) { return Sleef_expm1d8_u10avx512f(v); }
    static Vec log(Vec v) { return Sleef_logd8_u10avx512f(v); }
    static Vec log1p(Vec v) { return Sleef_log1pd8_u10avx512f(v); }
};

}  // namespace

}  // namespace vorta::solver
