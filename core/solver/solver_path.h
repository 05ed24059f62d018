#pragma once
// The ways the solver can sweep the circle: the scalar evaluation, and vector code for each
// x86-64 instruction set it is compiled for. All evaluate the same formulas
// (core/solver/solver_kernel.h); the solver picks the widest one the processor runs.

#include <vector>

namespace vorta {

enum class SweepPath { Scalar, Sse2, Avx2, Avx512 };

// The paths this processor can run, narrowest first; Scalar is always among them.
std::vector<SweepPath> availablePaths();
SweepPath widestPath();
const char* pathName(SweepPath path);

}  // namespace vorta
