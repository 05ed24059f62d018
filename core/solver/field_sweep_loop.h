#pragma once
// The field's loop for one math backend M: M::width points at a time, the last ones padded.
// Template code only, for the reason given in core/solver/solver_kernel.h.

#include "core/solver/field_kernel.h"
#include "core/solver/field_sweep.h"

namespace vorta::solver {

template <class M>
void storeValues(const FieldJob& job, std::size_t i, const FlowValues<M>& values) {
    M::store(job.u + i, values.u);
    M::store(job.v + i, values.v);
    M::store(job.Cp + i, values.Cp);
    M::store(job.psi + i, values.psi);
}

template <class M>
void fieldLoop(const FieldJob& job) {
    constexpr std::size_t width = M::width;
    std::size_t i = job.first;
    for (; i + width <= job.end; i += width) {
        storeValues<M>(job, i, fieldAt<M>(*job.constants, M::load(job.x + i), M::load(job.y + i)));
    }
    if (i < job.end) {
        // The last points padded with a point far outside the section, whose values are dropped.
        alignas(64) double x[width], y[width], values[4][width];
        for (std::size_t lane = 0; lane < width; ++lane) {
            x[lane] = i + lane < job.end ? job.x[i + lane] : 2;
            y[lane] = i + lane < job.end ? job.y[i + lane] : 2;
        }
        const FlowValues<M> padded = fieldAt<M>(*job.constants, M::load(x), M::load(y));
        M::store(values[0], padded.u);
        M::store(values[1], padded.v);
        M::store(values[2], padded.Cp);
        M::store(values[3], padded.psi);
        for (std::size_t lane = 0; i + lane < job.end; ++lane) {
            job.u[i + lane] = values[0][lane];
            job.v[i + lane] = values[1][lane];
            job.Cp[i + lane] = values[2][lane];
            job.psi[i + lane] = values[3][lane];
        }
    }
    for (std::size_t k = job.first; k < job.end; ++k) {
        if (job.x[k] == 1 && job.y[k] == 0) {
            job.u[k] = job.trailingEdge[0];
            job.v[k] = job.trailingEdge[1];
            job.Cp[k] = job.trailingEdge[2];
            job.psi[k] = job.trailingEdge[3];
        }
    }
}

}  // namespace vorta::solver
