// vorta.load_catalog and vorta.check: the entries of a catalog file and its problems.
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <filesystem>
#include <string>

#include "core/studies/catalog_check.h"
#include "python/binding_support.h"

namespace vorta::python {

namespace {

struct Entry {
    int number = 0;
    CatalogEntry entry;
    std::optional<std::string> problem;  // the refusal a pick gives
};

// What each field of an entry is, in the order of kCatalogFields.
const char* const kFieldDocs[kFieldsPerRecord] = {
    "The largest thickness, chords (descriptive).",
    "The largest camber, chords (descriptive).",
    "Where the thickness is largest, chords from the nose (descriptive).",
    "The trailing-edge angle, degrees (descriptive).",
    "Thickness: the circle's centre lies F left of the mapping plane's origin.",
    "Camber: the height of the circle's centre.",
    "The mapping's exponent; 2 is the Joukowsky section.",
};

std::vector<Entry> loadCatalog(const std::filesystem::path& path) {
    const Catalog catalog = valueOrRaise(openCatalog(path.string()));
    std::vector<Entry> entries;
    for (int k = 1; k <= catalog.AirfoilCount(); ++k) {
        const std::optional<Refusal> refusal = checkEntry(catalog, k);
        entries.push_back({k, catalog.entry(k), refusal ? std::optional(refusal->message) : std::nullopt});
    }
    return entries;
}

// (line, entry or None, what is wrong), as vorta-run --check prints FILE:LINE: entry K: what.
std::vector<py::tuple> check(const std::filesystem::path& path, long long points, double alpha) {
    const Catalog catalog = valueOrRaise(openCatalog(path.string()));
    const int N1 = valueOrRaise(checkPointCount(static_cast<double>(points), kArgumentNames));
    const double AlfaD = valueOrRaise(checkAngle(alpha, kArgumentNames));
    std::vector<CatalogProblem> problems;
    {
        py::gil_scoped_release release;
        problems = checkCatalogFile(catalog, path.string(), N1, AlfaD);
    }
    std::vector<py::tuple> lines;
    for (const CatalogProblem& p : problems) {
        lines.push_back(
            py::make_tuple(p.line, p.entry > 0 ? py::object(py::int_(p.entry)) : py::none(), problemText(p)));
    }
    return lines;
}

Section sectionOf(const Entry& e) {
    if (e.problem) throw py::value_error(*e.problem);
    return {e.entry.F, e.entry.G, e.entry.m};
}

}  // namespace

void bindCatalog(py::module_& module) {
    py::class_<Entry> entry(module, "Entry", "One airfoil of a catalog file (vorta.load_catalog).");
    entry.def_readonly("number", &Entry::number, "The entry's number, from 1, as vorta-run --entry takes it.")
        .def_property_readonly(
            "line", [](const Entry& e) { return e.entry.line; }, "The file line its text stands on, from 1.")
        .def_property_readonly(
            "text", [](const Entry& e) { return e.entry.shownText; },
            "Its line as vorta-run --list shows it.")
        .def_readonly("problem", &Entry::problem,
                      "None, or the refusal picking the entry gives: why it cannot be calculated.")
        .def("section", &sectionOf, "Its Section; raises ValueError with `problem` where it has one.")
        .def("__repr__", [](const Entry& e) {
            return py::str("<vorta.Entry {}: {}>").format(e.number, e.entry.shownText);
        });
    for (std::size_t i = 0; i < kCatalogFields.size(); ++i) {
        const auto value = kCatalogFields[i].value;
        entry.def_property_readonly(
            kCatalogFields[i].name, [value](const Entry& e) { return e.entry.*value; }, kFieldDocs[i]);
    }

    module.def("load_catalog", &loadCatalog, py::arg("path"),
               "The entries of the catalog file at path (VORTA_Input.txt and its kind), in order. Raises "
               "ValueError, as vorta-run refuses it, for a file that is missing, no regular file, or ends "
               "before its two leading lines.");
    module.def("check", &check, py::arg("path"), py::arg("points") = 51, py::arg("alpha") = 0.0,
               "Every problem of the catalog file at path, in line order: the lines vorta-run --check "
               "prints, as (line, entry, what) tuples, entry None for a line no entry comes from.\n\n"
               "points: the number of points N1 each entry is tried at, 2 to 1000000.\n"
               "alpha: the angle of attack each entry is tried at, degrees.");
}

}  // namespace vorta::python
