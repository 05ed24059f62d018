#pragma once
// A grid that carries the flow as a CGNS file, written with the CGNS library: one base of cell
// and physical dimension 2, one structured zone of NI x NJ vertices with GridCoordinates
// CoordinateX and CoordinateY, and a vertex FlowSolution of VelocityX, VelocityY, CoefPressure
// and StreamFunction. Lengths are in chords and speeds per unit free-stream speed, data of the
// class NormalizedByUnknownDimensional, with a reference state that says so; the pressure
// coefficient is a NondimensionalParameter.

#include <optional>
#include <string>

#include "core/output/flow_grid.h"

namespace vorta {

// The library writes the file at path itself. Returns no value, or why the file could not be
// written (then a part of it may be there).
std::optional<std::string> writeCgnsGrid(const FlowGrid& grid, const std::string& path);

}  // namespace vorta
