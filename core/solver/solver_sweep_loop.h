#pragma once
// The sweep loop for one math backend M (see core/solver/solver_kernel.h): M::width pairs at a time,
// one sincos of Theta/2 serving a point and its mirror point. Template code only, for the
// reason given in core/solver/solver_kernel.h.

#include "core/solver/solver_kernel.h"
#include "core/solver/solver_sweep.h"

namespace vorta::solver {

template <class M>
void storeLanes(double* slots, int first, int step, int count, typename M::Vec values) {
    alignas(64) double lanes[M::width];
    M::store(lanes, values);
    for (int lane = 0; lane < count; ++lane) slots[first + step * lane] = lanes[lane];
}

// Writes pair i's first `count` lanes: pass 1 to slots i, i+1, ... and pass 2 to slots
// N1+1-i, N1-i, ... Pass 2 comes last, so it keeps the nose slot that both reach for odd N1.
template <class M>
void storePairs(const SweepJob& job, int i, int count, const SurfaceValues<M>& pass1,
                const SurfaceValues<M>& pass2) {
    const int mirror = job.N1 + 1 - i;
    if (count == M::width) {
        const int mirrorLowest = mirror - (M::width - 1);
        M::store(job.x + i, pass1.x);
        M::store(job.y + i, pass1.y);
        M::store(job.Cu + i, pass1.Cu);
        M::store(job.x + mirrorLowest, M::reversed(pass2.x));
        M::store(job.y + mirrorLowest, M::reversed(pass2.y));
        M::store(job.Cu + mirrorLowest, M::reversed(pass2.Cu));
        return;
    }
    storeLanes<M>(job.x, i, 1, count, pass1.x);
    storeLanes<M>(job.y, i, 1, count, pass1.y);
    storeLanes<M>(job.Cu, i, 1, count, pass1.Cu);
    storeLanes<M>(job.x, mirror, -1, count, pass2.x);
    storeLanes<M>(job.y, mirror, -1, count, pass2.y);
    storeLanes<M>(job.Cu, mirror, -1, count, pass2.Cu);
}

template <class M>
void sweepPairs(const SweepJob& job) {
    using V = typename M::Vec;
    constexpr int width = M::width;
    alignas(64) double laneNumbers[width];
    for (int lane = 0; lane < width; ++lane) laneNumbers[lane] = lane;
    const V laneOffsets = M::load(laneNumbers);

    for (int i = job.firstPair; i <= job.lastPair; i += width) {
        // Theta = -(i-1)*dTheta rounded as the steps round it (i-1 and the lane add exactly);
        // halving it is exact. Lanes past lastPair are computed and not stored.
        const V Theta = -((laneOffsets + static_cast<double>(i - 1)) * job.dTheta);
        const SinCos<M> half = M::sincos(0.5 * Theta);
        const SurfaceValues<M> pass1 = surfacePoint<M>(*job.constants, -1, half);
        const SurfaceValues<M> pass2 = surfacePoint<M>(*job.constants, +1, {-half.sin, half.cos});
        const int remaining = job.lastPair - i + 1;
        storePairs<M>(job, i, remaining < width ? remaining : width, pass1, pass2);
    }
}

}  // namespace vorta::solver
