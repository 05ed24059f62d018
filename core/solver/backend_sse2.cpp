// The sweep and the field on SSE2, two lanes: the x86-64 baseline. See
// core/solver/solver_kernel.h.

#include "core/solver/math_sse2.h"
#include "core/solver/field_sweep_loop.h"
#include "core/solver/solver_sweep_loop.h"

namespace vorta::solver {

void sweepSse2(const SweepJob& job) { sweepPairs<Sse2Math>(job); }

void fieldPointsSse2(const FieldJob& job) { fieldLoop<Sse2Math>(job); }

}  // namespace vorta::solver
