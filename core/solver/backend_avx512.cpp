// The sweep and the field on AVX-512F, eight lanes. Compiled with -mavx512f; run only where
// the processor has it. See core/solver/solver_kernel.h.

#include "core/solver/math_avx512.h"
#include "core/solver/field_sweep_loop.h"
#include "core/solver/solver_sweep_loop.h"

namespace vorta::solver {

void sweepAvx512(const SweepJob& job) { sweepPairs<Avx512Math>(job); }

void fieldPointsAvx512(const FieldJob& job) { fieldLoop<Avx512Math>(job); }

}  // namespace vorta::solver
