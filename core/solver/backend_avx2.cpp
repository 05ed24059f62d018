// The sweep and the field on AVX2 with FMA, four lanes. Compiled with -mavx2 -mfma; run only
// where the processor has both. See core/solver/solver_kernel.h.

#include "core/solver/math_avx2.h"
#include "core/solver/field_sweep_loop.h"
#include "core/solver/solver_sweep_loop.h"

namespace vorta::solver {

void sweepAvx2(const SweepJob& job) { sweepPairs<Avx2Math>(job); }

void fieldPointsAvx2(const FieldJob& job) { fieldLoop<Avx2Math>(job); }

}  // namespace vorta::solver
