#pragma once
// A structured grid of NI x NJ nodes that carries the flow at each node, as the grid writers take
// it: node (i, j) at j NI + i, i running fastest.

#include <cstddef>

#include "core/solver/point_array.h"

namespace vorta {

struct FlowGrid {
    // The section and angle of attack the flow is of, for the file's description.
    double F = 0, G = 0, m = 0, AlfaD = 0;
    int NI = 0, NJ = 0;
    // The outer ring's radius over the circle's, in the circle plane the grid is mapped from; the
    // rings' radii grow in geometric progression between.
    double outerRatio = 1;
    // Coordinates in chords; u, v, Cp and psi per unit free-stream speed and chord.
    PointArray x, y, u, v, Cp, psi;

    std::size_t nodeCount() const { return static_cast<std::size_t>(NI) * static_cast<std::size_t>(NJ); }
};

}  // namespace vorta
