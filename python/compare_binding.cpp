// vorta.compare: another code's pressure distribution against the exact one.
#include <pybind11/stl.h>

#include <string>

#include "core/studies/pressure_compare.h"
#include "python/binding_support.h"

namespace vorta::python {

namespace {

struct ComparisonArrays {
    py::array_t<py::ssize_t> index;
    py::array_t<double> x;
    py::array surface;
    py::array_t<double> CpFile, CpExact, dCp;
    std::vector<py::tuple> skipped;
    std::vector<std::string> notes;
};

// The array as one dimension of doubles, with the name it is refused by.
DoubleArray pointValues(const py::object& values, const char* name) {
    const auto array = DoubleArray::ensure(values);
    if (!array || array.ndim() != 1)
        throw py::value_error(std::string(name) + " must be a sequence of numbers");
    return array;
}

ComparisonArrays rowsOf(const Comparison& comparison) {
    const auto count = static_cast<py::ssize_t>(comparison.rows.size());
    ComparisonArrays out{
        py::array_t<py::ssize_t>(count), py::array_t<double>(count), py::array(), py::array_t<double>(count),
        py::array_t<double>(count),      py::array_t<double>(count), {},          {}};
    py::list surfaces;
    for (py::ssize_t i = 0; i < count; ++i) {
        const ComparedPoint& row = comparison.rows[static_cast<std::size_t>(i)];
        out.index.mutable_at(i) = row.line;
        out.x.mutable_at(i) = row.x;
        surfaces.append(surfaceName(row.surface));
        out.CpFile.mutable_at(i) = row.CpFile;
        out.CpExact.mutable_at(i) = row.CpExact;
        out.dCp.mutable_at(i) = row.dCp();
    }
    out.surface = py::module_::import("numpy").attr("array")(surfaces, "U5");
    for (const SkippedPoint& s : comparison.skipped)
        out.skipped.push_back(py::make_tuple(s.line, s.x, s.why));
    for (const RunDecision& run : comparison.runs) out.notes.push_back(runNote(run, kArrayPoints, "."));
    return out;
}

ComparisonArrays compare(const Section& s, double alpha, const py::object& xIn, const py::object& CpIn,
                         const py::object& yIn) {
    const double AlfaD = valueOrRaise(checkAngle(alpha, kArgumentNames));
    const DoubleArray x = pointValues(xIn, "x"), Cp = pointValues(CpIn, "Cp");
    const bool withY = !yIn.is_none();
    const DoubleArray y = withY ? pointValues(yIn, "y") : DoubleArray();
    if (Cp.size() != x.size() || (withY && y.size() != x.size())) {
        throw py::value_error("x, Cp and y must hold as many values each");
    }
    const auto points = valueOrRaise(
        pointsOfArrays(static_cast<std::size_t>(x.size()), x.data(), withY ? y.data() : nullptr, Cp.data()));
    Comparison comparison;
    {
        py::gil_scoped_release release;
        comparison = comparePressure(points, s.F, s.G, s.m, AlfaD);
    }
    raiseIfRefused(undecidedRefusal(comparison, kArrayPoints, "."));
    raiseIfRefused(emptyComparisonRefusal(comparison, kArrayPoints));
    return rowsOf(comparison);
}

}  // namespace

void bindCompare(py::module_& module) {
    py::class_<ComparisonArrays>(
        module, "Comparison",
        "Another code's Cp against the exact one, a row a point compared (vorta.compare).")
        .def_readonly("index", &ComparisonArrays::index, "Each row's index in the arrays given.")
        .def_readonly("x", &ComparisonArrays::x, "x of each point, chords.")
        .def_readonly("surface", &ComparisonArrays::surface,
                      "The surface each point lies on: 'upper' or 'lower'.")
        .def_readonly("Cp_file", &ComparisonArrays::CpFile, "The Cp given.")
        .def_readonly("Cp_exact", &ComparisonArrays::CpExact, "The exact Cp at the point's x on its surface.")
        .def_readonly("dCp", &ComparisonArrays::dCp, "Cp_file - Cp_exact.")
        .def_readonly("skipped", &ComparisonArrays::skipped,
                      "The points not compared, as (index, x, why) tuples: off the section, or where the "
                      "exact solution is singular.")
        .def_readonly("notes", &ComparisonArrays::notes,
                      "How the Cp of each run of points without y decided its surface, as vorta-run "
                      "--compare says it.");

    module.def("compare", &compare, py::arg("section"), py::arg("alpha"), py::arg("x"), py::arg("Cp"),
               py::arg("y") = py::none(),
               "Another code's pressure coefficients against the exact solution, as vorta-run --compare "
               "matches them: each point at its x on its surface, which y tells, or else the run of "
               "points it belongs to.\n\n"
               "section: the Section.\n"
               "alpha: the angle of attack, degrees.\n"
               "x, Cp: the points' x, chords, and their pressure coefficients, sequences of numbers.\n"
               "y: the points' y, chords, or None.\n"
               "Raises ValueError, in vorta-run's words, where it refuses.");
}

}  // namespace vorta::python
