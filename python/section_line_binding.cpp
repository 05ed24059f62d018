// vorta.describe, vorta.design and vorta.fit: a section's catalog line from its numbers, from
// what it should measure, or from a contour's points.
#include <utility>

#include "core/studies/section_fit.h"
#include "python/binding_support.h"

namespace vorta::python {

namespace {

// A section with what it measures and the catalog line that gives it.
struct Description {
    Section section;
    SectionMeasures measures;
    std::string line;
};

struct Fit : Description {
    double largestDistance = 0, rmsDistance = 0;
    SimilarityTransform transform;
};

Description descriptionOf(const vorta::Section& found) {
    return {{found.F, found.G, found.m}, found.measures, catalogLine(found)};
}

Description describe(const Section& s) {
    std::variant<vorta::Section, Refusal> described;
    {
        py::gil_scoped_release release;
        described = describeSection(s.F, s.G, s.m);
    }
    return descriptionOf(valueOrRaise(std::move(described)));
}

Description design(double thickness, double camber, double trailingEdgeAngle) {
    std::variant<vorta::Section, Refusal> designed;
    {
        py::gil_scoped_release release;
        designed = designSection(thickness, camber, trailingEdgeAngle);
    }
    return descriptionOf(valueOrRaise(std::move(designed)));
}

Fit fit(const py::object& xIn, const py::object& yIn) {
    const auto x = DoubleArray::ensure(xIn), y = DoubleArray::ensure(yIn);
    if (!x || !y || x.ndim() != 1 || y.ndim() != 1)
        throw py::value_error("x and y must be sequences of numbers");
    if (x.size() != y.size()) throw py::value_error("x and y must hold as many values each");
    std::variant<SectionFit, Refusal> fitted;
    {
        py::gil_scoped_release release;
        fitted = fitSectionToArrays(static_cast<std::size_t>(x.size()), x.data(), y.data());
    }
    const SectionFit found = valueOrRaise(std::move(fitted));
    return {descriptionOf(found.section), found.largestDistance, found.rmsDistance, found.transform};
}

std::string descriptionRepr(const Description& d) { return "<vorta.Description " + d.line + ">"; }

}  // namespace

void bindSectionLines(py::module_& module) {
    py::class_<Description>(module, "Description",
                            "A section with what it measures, as a line of a catalog file gives both "
                            "(vorta.describe, vorta.design).")
        .def_readonly("section", &Description::section, "The Section.")
        .def_property_readonly(
            "Delta", [](const Description& d) { return d.measures.Delta; },
            "The largest thickness, chords: the largest distance between the surfaces at one x.")
        .def_property_readonly(
            "Gama", [](const Description& d) { return d.measures.Gama; },
            "The camber, chords: the height of the mean line of largest magnitude, with its sign.")
        .def_property_readonly(
            "xDltC", [](const Description& d) { return d.measures.xDltC; },
            "Where the thickness is largest, chords from the nose.")
        .def_property_readonly(
            "Tau", [](const Description& d) { return d.measures.Tau; },
            "The trailing-edge angle, degrees: 180 (2 - m).")
        .def_readonly("line", &Description::line,
                      "The catalog line Delta,Gama,xDltC,Tau,F,G,m as vorta-run prints it: Delta, Gama "
                      "and xDltC with four decimals, Tau to four without trailing zeros, F, G and m as the "
                      "shortest texts that read back as the same numbers.")
        .def("__repr__", &descriptionRepr);

    py::class_<SimilarityTransform>(
        module, "Transform",
        "How a fitted section is moved onto the points: a point (x, y) of the section lies at "
        "scale * R(turn) (x, y) + (shift_x, shift_y), R(turn) turning counterclockwise.")
        .def_readonly("scale", &SimilarityTransform::scale, "The scale, the points' units per chord.")
        .def_readonly("turn", &SimilarityTransform::turn, "The turn, degrees, counterclockwise.")
        .def_readonly("shift_x", &SimilarityTransform::shiftX, "The shift along x, the points' units.")
        .def_readonly("shift_y", &SimilarityTransform::shiftY, "The shift along y, the points' units.")
        .def("__repr__", [](const SimilarityTransform& t) {
            return py::str("Transform(scale={!r}, turn={!r}, shift_x={!r}, shift_y={!r})")
                .format(t.scale, t.turn, t.shiftX, t.shiftY);
        });

    py::class_<Fit, Description>(module, "Fit",
                                 "The section nearest a contour's points, with how near it lies and how it "
                                 "is moved onto them (vorta.fit).")
        .def_readonly("largest_distance", &Fit::largestDistance,
                      "The largest distance from a point to the moved section, chords of the section.")
        .def_readonly("rms_distance", &Fit::rmsDistance,
                      "The root mean square of the points' distances to the moved section, chords.")
        .def_readonly("transform", &Fit::transform, "The Transform that moves the section onto the points.")
        .def("__repr__", [](const Fit& f) { return "<vorta.Fit " + f.line + ">"; });

    module.def("describe", &describe, py::arg("section"),
               "What the section measures and its catalog line, as vorta-run --describe F,G,m prints it.\n\n"
               "section: the Section.\n"
               "Raises ValueError, in vorta-run's words, for a contour that cannot be measured.");
    module.def("design", &design, py::arg("thickness"), py::arg("camber"), py::arg("te_angle"),
               "The section of a largest thickness, a camber and a trailing-edge angle, as vorta-run "
               "--design T,C,TAU finds it: m = 2 - te_angle/180, F and G meeting thickness and camber to "
               "1e-10.\n\n"
               "thickness: the largest thickness, chords, 0 or more.\n"
               "camber: the camber, chords, with its sign.\n"
               "te_angle: the trailing-edge angle, degrees, 0 or more and below 180.\n"
               "Raises ValueError, in vorta-run's words, for targets no section meets.");
    module.def("fit", &fit, py::arg("x"), py::arg("y"),
               "The section nearest a contour's points, as vorta-run --fit FILE finds it: the F >= 0, G "
               "and 1 < m <= 2 whose contour, after the best similarity transform, lies closest to the "
               "points in least squares.\n\n"
               "x, y: the points, in XFOIL's order (from the trailing edge over the upper surface to the "
               "leading edge and back along the lower one), 41 to 5000 of them, in any unit.\n"
               "Raises ValueError, in vorta-run's words, where it refuses.");
}

}  // namespace vorta::python
