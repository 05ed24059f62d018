// The Python module vorta: the same core as the window and vorta-run, its results as numpy
// arrays and its refusals as ValueError.
#include "python/binding_support.h"

PYBIND11_MODULE(vorta, module) {
    module.doc() =
        "Karman-Trefftz and Joukowsky sections in closed form, exact to the bit of vorta-run.\n\n"
        "    s = vorta.Section(F, G, m)\n"
        "    r = s.solve(alpha, points=51)   # r.x, r.y, r.Cu, r.Cp; r.CL, r.CMc4, r.Alfa0\n"
        "    p = s.polar(alphas)             # p.AlfaD, p.CL, p.CMc4, p.Alfa0\n"
        "    f = s.field(x, y, alpha)        # f.u, f.v, f.Cp, f.psi; NaN inside the section\n"
        "    entries = vorta.load_catalog(path)\n"
        "    vorta.check(path)\n"
        "    vorta.compare(s, alpha, x, Cp, y=None)\n"
        "    g = s.grid(NI, NJ, R=100, alpha=0)  # g.x, g.y, g.u, g.v, g.Cp, g.psi shaped (NJ, NI)\n"
        "    vorta.compare_field(s, alpha, x, y, u=..., v=..., Cp=..., psi=...)\n"
        "    vorta.describe(s), vorta.design(thickness, camber, te_angle), vorta.fit(x, y)\n\n"
        "Lengths are in chords and angles in degrees. Inputs vorta-run refuses raise ValueError with "
        "its message, less its option names.";
    vorta::python::bindSection(module);
    vorta::python::bindCatalog(module);
    vorta::python::bindCompare(module);
    vorta::python::bindGrid(module);
    vorta::python::bindSectionLines(module);
}
