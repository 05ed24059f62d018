// vorta.compare and vorta.compare_field: another code's pressure distribution and flow field
// against the exact ones.
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <string>

#include "core/studies/field_comparison.h"
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

struct FieldNorms {
    std::size_t points = 0;
    py::array_t<py::ssize_t> inside;
    py::dict norms;  // by column name, in the order of kFieldValueNames
};

// The named column's place in kFieldValueNames; an unknown name is a wrong call.
std::size_t columnIndex(const std::string& name) {
    const auto* at = std::find_if(kFieldValueNames.begin(), kFieldValueNames.end(),
                                  [&](const char* known) { return name == known; });
    if (at == kFieldValueNames.end())
        throw py::type_error("compare_field() takes the columns u, v, Cp and psi, not " + name);
    return static_cast<std::size_t>(at - kFieldValueNames.begin());
}

// The array, which must have the shape of x.
DoubleArray sameShape(const py::object& values, const DoubleArray& x, const std::string& name) {
    const auto array = DoubleArray::ensure(values);
    if (!array) throw py::type_error(name + " must be numbers or an array of numbers");
    if (!std::equal(x.shape(), x.shape() + x.ndim(), array.shape(), array.shape() + array.ndim()))
        throw py::value_error("x, y and the columns must have one shape");
    return array;
}

FieldNorms compareField(const Section& s, double alpha, const py::object& xIn, const py::object& yIn,
                        const py::kwargs& columns) {
    const double AlfaD = valueOrRaise(checkAngle(alpha, kArgumentNames));
    const auto x = DoubleArray::ensure(xIn);
    if (!x) throw py::type_error("x must be numbers or an array of numbers");
    const DoubleArray y = sameShape(yIn, x, "y");
    std::array<DoubleArray, kFieldValueNames.size()> kept;
    std::array<const double*, kFieldValueNames.size()> values{};
    for (const auto& [key, column] : columns) {
        const std::size_t c = columnIndex(py::str(key));
        if (column.is_none()) continue;
        kept[c] = sameShape(py::reinterpret_borrow<py::object>(column), x, kFieldValueNames[c]);
        values[c] = kept[c].data();
    }
    std::variant<FieldComparison, Refusal> compared;
    {
        py::gil_scoped_release release;
        compared = compareFieldArrays(static_cast<std::size_t>(x.size()), x.data(), y.data(), values,
                                      FlowField(s.F, s.G, s.m, AlfaD));
    }
    const FieldComparison comparison = valueOrRaise(std::move(compared));
    FieldNorms out{comparison.points, py::array_t<py::ssize_t>(comparison.insideLines.size()), {}};
    std::copy(comparison.insideLines.begin(), comparison.insideLines.end(), out.inside.mutable_data());
    for (std::size_t c = 0; c < kFieldValueNames.size(); ++c) {
        if (comparison.norms[c]) out.norms[kFieldValueNames[c]] = py::cast(*comparison.norms[c]);
    }
    return out;
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

    py::class_<Norms>(module, "Norms",
                      "The norms of the difference d between a column and the exact values "
                      "(vorta.compare_field).")
        .def_readonly("L1", &Norms::L1, "mean |d|")
        .def_readonly("L2", &Norms::L2, "sqrt(mean d^2)")
        .def_readonly("Linf", &Norms::Linf, "max |d|")
        .def("__repr__", [](const Norms& n) {
            return py::str("Norms(L1={!r}, L2={!r}, Linf={!r})").format(n.L1, n.L2, n.Linf);
        });

    py::class_<FieldNorms>(module, "FieldComparison",
                           "Another code's flow field against the exact one (vorta.compare_field).")
        .def_readonly("points", &FieldNorms::points,
                      "The number of points compared: those outside the section.")
        .def_readonly("inside", &FieldNorms::inside,
                      "The indices of the points inside the section, not compared, into the arrays read "
                      "flat (numpy.unravel_index gives them for the arrays' shape).")
        .def_readonly("norms", &FieldNorms::norms,
                      "The Norms of each column given, by its name: u, v, Cp, psi. psi's are taken after "
                      "the mean of d is taken off, since a code's stream function carries an arbitrary "
                      "constant.");

    module.def("compare_field", &compareField, py::arg("section"), py::arg("alpha"), py::arg("x"),
               py::arg("y"),
               "Another code's flow field against the exact one, as vorta-run --compare-field compares a "
               "file: for each column given, the norms of the difference d to the exact values, L1 = mean "
               "|d|, L2 = sqrt(mean d^2), Linf = max |d|, over the points outside the section.\n\n"
               "section: the Section.\n"
               "alpha: the angle of attack, degrees.\n"
               "x, y: the points, chords, arrays of one shape.\n"
               "u, v, Cp, psi: the code's values at the points, by keyword, arrays of that shape; give one "
               "or more (None is as not given). u and v are per unit free-stream speed, psi per unit speed "
               "and chord.\n"
               "Raises ValueError, in vorta-run's words, where it refuses.");
}

}  // namespace vorta::python
