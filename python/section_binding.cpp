// vorta.Section: a section of F, G and m, its solution at an angle, its polar and its flow field.
#include <string>

#include "core/solver/flow_field.h"
#include "core/studies/polar.h"
#include "python/binding_support.h"

namespace vorta::python {

namespace {

struct SolutionArrays {
    int N1 = 0;
    double AlfaD = 0;
    Coefficients coefficients;
    py::array_t<double> x, y, Cu, Cp;
};

struct PolarArrays {
    py::array_t<double> AlfaD, CL, CMc4, Alfa0;
};

struct FieldArrays {
    double AlfaD = 0;
    py::array_t<double> u, v, Cp, psi;
};

SolutionArrays solve(const Section& s, double alpha, long long points) {
    const int N1 = valueOrRaise(checkPointCount(static_cast<double>(points), kArgumentNames));
    const double AlfaD = valueOrRaise(checkAngle(alpha, kArgumentNames));
    std::variant<Solution, Refusal> result;
    PointArray Cp;
    {
        py::gil_scoped_release release;
        result = solveSection(s.F, s.G, s.m, N1, AlfaD);
        if (const auto* solution = std::get_if<Solution>(&result)) Cp = pressureCoefficients(solution->Cu);
    }
    // Slot 0 of the solver's arrays holds no point: the arrays start at slot 1.
    const auto count = static_cast<std::size_t>(N1);
    const auto solution = keepInCapsule(valueOrRaise(std::move(result)));
    const auto pressure = keepInCapsule(std::move(Cp));
    const Solution& kept = *solution.owner;
    return {N1,
            AlfaD,
            kept.coefficients,
            arrayOn(kept.x.data() + 1, count, solution.capsule),
            arrayOn(kept.y.data() + 1, count, solution.capsule),
            arrayOn(kept.Cu.data() + 1, count, solution.capsule),
            arrayOn(pressure.owner->data() + 1, count, pressure.capsule)};
}

PolarArrays polar(const Section& s, const DoubleArray& alphas) {
    if (alphas.ndim() != 1) throw py::value_error("alphas must be a sequence of angles in degrees");
    const std::vector<double> angles(alphas.data(), alphas.data() + alphas.size());
    std::variant<std::vector<PolarRow>, Refusal> result;
    {
        py::gil_scoped_release release;
        result = polarOfSection(s.F, s.G, s.m, angles, "alphas");
    }
    const std::vector<PolarRow> rows = valueOrRaise(std::move(result));
    const auto count = static_cast<py::ssize_t>(rows.size());
    PolarArrays out{py::array_t<double>(count), py::array_t<double>(count), py::array_t<double>(count),
                    py::array_t<double>(count)};
    double *AlfaD = out.AlfaD.mutable_data(), *CL = out.CL.mutable_data(), *CMc4 = out.CMc4.mutable_data(),
           *Alfa0 = out.Alfa0.mutable_data();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        AlfaD[i] = rows[i].AlfaD;
        CL[i] = rows[i].coefficients.CL;
        CMc4[i] = rows[i].coefficients.CMc4;
        Alfa0[i] = rows[i].coefficients.Alfa0;
    }
    return out;
}

FieldArrays field(const Section& s, const py::object& xIn, const py::object& yIn, double alpha) {
    const double AlfaD = valueOrRaise(checkAngle(alpha, kArgumentNames));
    const py::tuple both = py::module_::import("numpy").attr("broadcast_arrays")(xIn, yIn);
    const auto x = DoubleArray::ensure(both[0]), y = DoubleArray::ensure(both[1]);
    if (!x || !y) throw py::type_error("x and y must be numbers or arrays of numbers");
    const std::vector<py::ssize_t> shape(x.shape(), x.shape() + x.ndim());
    FieldArrays out{AlfaD, py::array_t<double>(shape), py::array_t<double>(shape), py::array_t<double>(shape),
                    py::array_t<double>(shape)};
    const FlowField flow(s.F, s.G, s.m, AlfaD);
    double *u = out.u.mutable_data(), *v = out.v.mutable_data(), *Cp = out.Cp.mutable_data(),
           *psi = out.psi.mutable_data();
    {
        py::gil_scoped_release release;
        flow.evaluate(static_cast<std::size_t>(x.size()), x.data(), y.data(), u, v, Cp, psi);
    }
    return out;
}

std::string sectionRepr(const Section& s) {
    return py::str("Section(F={!r}, G={!r}, m={!r})").format(s.F, s.G, s.m);
}

std::string solutionRepr(const SolutionArrays& r) {
    const Coefficients& c = r.coefficients;
    return py::str("<vorta.Solution N1={} AlfaD={!r} CL={!r} CMc4={!r} Alfa0={!r}>")
        .format(r.N1, r.AlfaD, c.CL, c.CMc4, c.Alfa0);
}

void bindResults(py::module_& module) {
    py::class_<SolutionArrays>(module, "Solution",
                               "The exact solution of a section at one angle of attack (Section.solve).\n\n"
                               "The points run from the trailing edge along the lower surface to the nose "
                               "and back along the upper surface; the last point repeats the first.")
        .def_readonly("N1", &SolutionArrays::N1, "The number of points.")
        .def_readonly("AlfaD", &SolutionArrays::AlfaD, "The angle of attack, degrees.")
        .def_property_readonly(
            "CL", [](const SolutionArrays& r) { return r.coefficients.CL; }, "The lift coefficient.")
        .def_property_readonly(
            "CMc4", [](const SolutionArrays& r) { return r.coefficients.CMc4; },
            "The moment coefficient about the quarter-chord point, positive nose-up.")
        .def_property_readonly(
            "Alfa0", [](const SolutionArrays& r) { return r.coefficients.Alfa0; },
            "The zero-lift angle, degrees.")
        .def_readonly("x", &SolutionArrays::x, "x of each point, chords from the nose (float64 array of N1).")
        .def_readonly("y", &SolutionArrays::y, "y of each point, chords (float64 array of N1).")
        .def_readonly("Cu", &SolutionArrays::Cu,
                      "1 - Cp at each point, the squared ratio of the surface speed to the free stream's.")
        .def_readonly("Cp", &SolutionArrays::Cp, "The pressure coefficient at each point.")
        .def("__repr__", &solutionRepr);

    py::class_<PolarArrays>(module, "Polar",
                            "The coefficients of a section over angles of attack (Section.polar).")
        .def_readonly("AlfaD", &PolarArrays::AlfaD, "The angles of attack, degrees.")
        .def_readonly("CL", &PolarArrays::CL, "The lift coefficient at each angle.")
        .def_readonly("CMc4", &PolarArrays::CMc4,
                      "The quarter-chord moment coefficient at each angle, nose-up.")
        .def_readonly("Alfa0", &PolarArrays::Alfa0, "The zero-lift angle, degrees, at each angle.");

    py::class_<FieldArrays>(module, "Field",
                            "The potential flow about a section at points of the plane (Section.field), per "
                            "unit free-stream speed and chord; NaN where a point has no value (inside the "
                            "section, or at the sharp leading edge of a circular arc).")
        .def_readonly("AlfaD", &FieldArrays::AlfaD, "The angle of attack, degrees.")
        .def_readonly("u", &FieldArrays::u,
                      "The velocity along x; the free stream is (cos alpha, sin alpha).")
        .def_readonly("v", &FieldArrays::v, "The velocity along y.")
        .def_readonly("Cp", &FieldArrays::Cp, "The pressure coefficient, 1 - u^2 - v^2.")
        .def_readonly("psi", &FieldArrays::psi,
                      "The stream function (u = dpsi/dy, v = -dpsi/dx), zero on the section's surface.");
}

}  // namespace

void bindSection(py::module_& module) {
    bindResults(module);
    py::class_<Section>(module, "Section",
                        "A Karman-Trefftz section (the Joukowsky section at m = 2), in chords.\n\n"
                        "Section(F, G, m) raises ValueError, with the message vorta-run gives, for a "
                        "section that cannot be calculated.")
        .def(py::init([](double F, double G, double m) {
                 raiseIfRefused(checkSection(F, G, m));
                 return Section{F, G, m};
             }),
             py::arg("F"), py::arg("G"), py::arg("m"),
             "F: thickness, how far left of the mapping plane's origin the circle's centre lies (0 or "
             "more).\nG: camber, the height of the circle's centre.\nm: the mapping's exponent, above 0 and "
             "at most 2 (2 is the Joukowsky section, with a cusped trailing edge).")
        .def_readonly("F", &Section::F, "Thickness: the circle's centre lies F left of the origin.")
        .def_readonly("G", &Section::G, "Camber: the height of the circle's centre.")
        .def_readonly("m", &Section::m, "The mapping's exponent; 2 is the Joukowsky section.")
        .def("solve", &solve, py::arg("alpha"), py::arg("points") = 51,
             "The exact solution as numpy arrays that hold the solver's own memory.\n\n"
             "alpha: the angle of attack, degrees.\n"
             "points: the number of points N1 around the contour, 2 to 1000000.\n"
             "Raises ValueError, with vorta-run's message, for what vorta-run refuses.")
        .def("polar", &polar, py::arg("alphas"),
             "CL, CMc/4 and Alfa0 at each angle, from the coefficients alone.\n\n"
             "alphas: the angles of attack, degrees, a sequence of numbers.")
        .def("field", &field, py::arg("x"), py::arg("y"), py::arg("alpha"),
             "The flow at the points (x, y): u, v, Cp and psi as arrays of the shape x and y broadcast "
             "to, NaN inside the section.\n\n"
             "x, y: the points, chords, numbers or arrays of them.\n"
             "alpha: the angle of attack, degrees.")
        .def("__repr__", &sectionRepr);
}

}  // namespace vorta::python
