// Section.grid: the conformal O-grid that carries the exact flow, its arrays shaped (NJ, NI).
#include <utility>

#include "core/studies/grid.h"
#include "python/binding_support.h"

namespace vorta::python {

namespace {

struct GridArrays {
    int NI = 0, NJ = 0;
    double R = 0, AlfaD = 0, outerRatio = 1;
    py::array_t<double> x, y, u, v, Cp, psi;
};

GridArrays grid(const Section& s, long long NI, long long NJ, double R, double alpha) {
    const double AlfaD = valueOrRaise(checkAngle(alpha, kArgumentNames));
    const GridSize size = valueOrRaise(checkGridSize(NI, NJ, R, ""));
    std::variant<FlowGrid, Refusal> made;
    {
        py::gil_scoped_release release;
        made = gridOfSection(s.F, s.G, s.m, AlfaD, size);
    }
    const auto kept = keepInCapsule(valueOrRaise(std::move(made)));
    const FlowGrid& g = *kept.owner;
    // Node (i, j) lies at j NI + i: row j of a C-ordered (NJ, NI) array.
    const std::vector<py::ssize_t> shape = {g.NJ, g.NI};
    const auto on = [&](const PointArray& values) { return arrayOn(values.data(), shape, kept.capsule); };
    return {g.NI,    g.NJ,    size.distance, AlfaD,    g.outerRatio, on(g.x),
            on(g.y), on(g.u), on(g.v),       on(g.Cp), on(g.psi)};
}

std::string gridRepr(const GridArrays& g) {
    return py::str("<vorta.Grid NI={} NJ={} R={!r} AlfaD={!r}>").format(g.NI, g.NJ, g.R, g.AlfaD);
}

}  // namespace

void bindGrid(py::module_& module) {
    py::class_<GridArrays>(
        module, "Grid",
        "A body-fitted O-grid with the exact flow at its nodes (Section.grid), arrays of shape (NJ, NI) "
        "that hold the grid's own memory.\n\n"
        "Row j is ring j: ring 0 the section's surface, ring NJ - 1 the outer ring. Column i runs around "
        "each ring from the trailing edge along the lower surface, the nose and the upper surface; column "
        "NI - 1 repeats column 0 bit for bit, so that the seam closes.")
        .def_readonly("NI", &GridArrays::NI, "The number of nodes around each ring.")
        .def_readonly("NJ", &GridArrays::NJ, "The number of rings.")
        .def_readonly("R", &GridArrays::R,
                      "How far the outer ring's nearest point lies from the section, chords.")
        .def_readonly("AlfaD", &GridArrays::AlfaD, "The angle of attack, degrees.")
        .def_readonly("outer_ratio", &GridArrays::outerRatio,
                      "The outer ring's radius over the circle's, in the circle plane the grid is mapped "
                      "from; the rings' radii grow in geometric progression between.")
        .def_property_readonly(
            "square_NJ", [](const GridArrays& g) { return squareCellRings(g.NI, g.outerRatio); },
            "The NJ that makes the cells square with this NI and R, as vorta-run --grid says it.")
        .def_readonly("x", &GridArrays::x, "x of each node, chords (float64, shape (NJ, NI)).")
        .def_readonly("y", &GridArrays::y, "y of each node, chords.")
        .def_readonly("u", &GridArrays::u, "The velocity along x per unit free-stream speed.")
        .def_readonly("v", &GridArrays::v, "The velocity along y per unit free-stream speed.")
        .def_readonly("Cp", &GridArrays::Cp, "The pressure coefficient, 1 - u^2 - v^2.")
        .def_readonly("psi", &GridArrays::psi,
                      "The stream function per unit free-stream speed and chord, 0 on ring 0.")
        .def("__repr__", &gridRepr);

    py::reinterpret_borrow<py::class_<Section>>(module.attr("Section"))
        .def("grid", &grid, py::arg("NI"), py::arg("NJ"), py::arg("R") = kDefaultGridDistance,
             py::arg("alpha") = 0.0,
             "The conformal O-grid of the section, as vorta-run --grid NI:NJ:R writes it: the polar grid of "
             "the circle plane about the circle's centre carried onto the section by the mapping, with the "
             "exact flow at its nodes.\n\n"
             "NI: the nodes around each ring, at equal angles about the circle's centre, 3 or more.\n"
             "NJ: the rings, 2 or more; NI x NJ at most 10000000.\n"
             "R: how far the outer ring's nearest point lies from the section, 0.001 to 1000000 chords.\n"
             "alpha: the angle of attack, degrees.\n"
             "Raises ValueError, in vorta-run's words, where it refuses: a size beyond those limits, or "
             "a node on the sharp leading edge of a circular arc (naming an NI that puts none there).");
}

}  // namespace vorta::python
