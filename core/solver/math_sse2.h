#pragma once
// The SSE2 math backend of the kernels, two lanes: the x86-64 baseline. For translation units
// compiled for SSE2 only; see core/solver/solver_kernel.h.

#include <emmintrin.h>
#include <sleef.h>

#include "core/solver/solver_kernel.h"

namespace vorta::solver {

namespace {

struct Sse2Math {
    using Mask = __m128d;
    using Vec = __m128d;
    static constexpr int width = 2;
    static Vec broadcast(double v) { return _mm_set1_pd(v); }
    static Mask isNegative(Vec v) { return _mm_cmplt_pd(v, _mm_setzero_pd()); }
    static Vec select(Mask mask, Vec whenSet, Vec otherwise) {
        return _mm_or_pd(_mm_and_pd(mask, whenSet), _mm_andnot_pd(mask, otherwise));
    }
    static Vec load(const double* p) { return _mm_loadu_pd(p); }
    static void store(double* p, Vec v) { _mm_storeu_pd(p, v); }
    static Vec reversed(Vec v) { return _mm_shuffle_pd(v, v, 1); }
    static Vec sqrt(Vec v) { return _mm_sqrt_pd(v); }
    static Vec pow(Vec x, double y) { return Sleef_powd2_u10sse2(x, _mm_set1_pd(y)); }
    static Vec atan2(Vec y, Vec x) { return Sleef_atan2d2_u10sse2(y, x); }
    static SinCos<Sse2Math> sincos(Vec v) {
        const Sleef___m128d_2 r = Sleef_sincosd2_u10sse2(v);
        return {r.x, r.y};
    }
    static Vec exp(Vec v) { return Sleef_expd2_u10sse2(v); }
    static Vec expm1(Vec v) { return Sleef_expm1d2_u10sse2(v); }
    static Vec log(Vec v) { return Sleef_logd2_u10sse2(v); }
    static Vec log1p(Vec v) { return Sleef_log1pd2_u10sse2(v); }
};

}  // namespace

}  // namespace vorta::solver
