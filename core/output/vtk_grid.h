#pragma once
// A grid that carries the flow as a legacy VTK file in ASCII, which ParaView, VisIt and meshio
// read: a structured grid of points x y 0 with the point data Cp, psi and the vector velocity
// (u, v, 0). Numbers are in the shortest form that reads back as the same double.

#include "core/output/byte_sink.h"
#include "core/output/flow_grid.h"

namespace vorta {

// Returns 0 or the first error the sink gave.
int writeVtkGrid(const FlowGrid& grid, const ByteSink& sink);

}  // namespace vorta
