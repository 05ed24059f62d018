#pragma once
// The flow field at many points: the points of a job, on a chosen path, shared among threads.

#include <cstddef>

#include "core/solver/field_kernel.h"
#include "core/solver/solver_path.h"

namespace vorta::solver {

struct FieldJob {
    const FieldConstants* constants;
    std::size_t first, end;  // the points first to end - 1
    const double* x;
    const double* y;
    double* u;
    double* v;
    double* Cp;
    double* psi;
    // The values at the trailing edge (1, 0), where the formulas meet q = 0: u, v, Cp, psi.
    double trailingEdge[4];
};

void fieldPoints(const FieldJob& job, SweepPath path, int threads);

// The vector paths, one translation unit each, compiled for their instruction set.
void fieldPointsSse2(const FieldJob& job);
void fieldPointsAvx2(const FieldJob& job);
void fieldPointsAvx512(const FieldJob& job);

}  // namespace vorta::solver
