#pragma once
// A body-fitted O-grid that carries the exact flow: the polar grid of the circle plane about the
// circle's centre, carried onto the section's plane by the conformal mapping. The mapping keeps
// the polar grid's right angles, and its cells are square where the rings' ratio of radii matches
// the angle between the spokes: ln(r_outer / R) / (NJ - 1) = 2 Pi / (NI - 1).

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "core/calculation/calculation.h"
#include "core/output/flow_grid.h"

namespace vorta {

inline constexpr int kMinGridNI = 3;  // the trailing edge, the node across from it, the trailing edge again
inline constexpr int kMinGridNJ = 2;  // the surface and the outer ring
inline constexpr std::int64_t kMaxGridNodes = 10'000'000;
// Chords from the section to the nearest point of the outer ring.
inline constexpr double kDefaultGridDistance = 100;
inline constexpr double kMinGridDistance = 1e-3;
inline constexpr double kMaxGridDistance = 1e6;

struct GridSize {
    int NI = 0, NJ = 0;
    double distance = kDefaultGridDistance;
};

// The grid of the section F, G, m (chord 1) at AlfaD degrees, of a size within the limits above:
// NI nodes around each ring at equal angles about the circle's centre, starting at the trailing
// edge and going round as the contour does (lower surface, nose, upper surface), node NI - 1
// repeating node 0; ring 0 the section's surface, ring NJ - 1 the one whose nearest point lies
// size.distance chords from the section (within 1%), radii in geometric progression between.
// Or why there is none: a node on the sharp leading edge of the circular arc, where the speed
// has no finite value, or a flow beyond the range of numbers.
std::variant<FlowGrid, std::string> conformalGrid(double F, double G, double m, double AlfaD,
                                                  const GridSize& size);

// The size of NI x NJ nodes whose outer ring lies distance chords from the section, or why it is
// outside the limits above. option prefixes the refusal's NI:NJ where it comes from a command
// line ("--grid NI:NJ must have ..."); empty, the message names NI:NJ alone.
std::variant<GridSize, Refusal> checkGridSize(long long NI, long long NJ, double distance,
                                              std::string_view option);

// The grid of a section given by its F, G and m, as a program hands it over: refused, naming
// its numbers, where checkSection refuses the section or conformalGrid finds no grid.
std::variant<FlowGrid, Refusal> gridOfSection(double F, double G, double m, double AlfaD,
                                              const GridSize& size);

// The NJ that makes the cells of a grid with NI nodes around and that outer ratio square, at least 2.
int squareCellRings(int NI, double outerRatio);

}  // namespace vorta
