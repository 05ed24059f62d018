#pragma once
// The scalar math backend of the kernels (see core/solver/solver_kernel.h): one lane, the C
// library's elementary functions.

#include <cmath>

#include "core/solver/solver_kernel.h"

namespace vorta::solver {

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
    static double exp(double v) { return std::exp(v); }
    static double expm1(double v) { return std::expm1(v); }
    static double log(double v) { return std::log(v); }
    static double log1p(double v) { return std::log1p(v); }
};

}  // namespace

}  // namespace vorta::solver
