#pragma once
// The sweep around the circle: the surface points of the pairs i = firstPair..lastPair, point
// i at Theta = -(i-1)*dTheta and its mirror point N1 + 1 - i at -Theta, written into x, y and Cu.

#include "core/solver/solver_kernel.h"
#include "core/solver/solver_path.h"

namespace vorta::solver {

struct SweepJob {
    const SurfaceConstants* constants;
    int N1;
    double dTheta;
    int firstPair, lastPair;
    double* x;
    double* y;
    double* Cu;
};

// Runs the job on `path`, split over `threads` threads (0: as many as the work and the
// processor warrant). Each chunk of pairs is written, and so first touched, by the thread
// that computes it.
void sweep(const SweepJob& job, SweepPath path, int threads);

// One point at any polar angle -Pi <= Theta <= Pi, on the scalar path; the trailing edge
// (Theta = 0), whose speed the steps set apart, gives no usable Cu.
struct PointValues {
    double x, y, Cu;
};
PointValues pointAt(const SurfaceConstants& constants, double Theta);

// The vector paths, one translation unit each, compiled for their instruction set.
void sweepSse2(const SweepJob& job);
void sweepAvx2(const SweepJob& job);
void sweepAvx512(const SweepJob& job);

}  // namespace vorta::solver
