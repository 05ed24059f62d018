#pragma once
// What every file of the Python module shares: refusals raised as ValueError, arrays handed
// to numpy without a copy, and the section a Python Section stands for.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "core/calculation/calculation.h"

namespace vorta::python {

namespace py = pybind11;

// How refusals name the inputs: by the names of the Python arguments.
inline const InputNames kArgumentNames{"points", "alpha"};

// The value, or the core's refusal raised as ValueError with its message.
template <class T>
T valueOrRaise(std::variant<T, Refusal> result) {
    if (const auto* refusal = std::get_if<Refusal>(&result)) throw py::value_error(refusal->message);
    return std::get<T>(std::move(result));
}

inline void raiseIfRefused(const std::optional<Refusal>& refusal) {
    if (refusal) throw py::value_error(refusal->message);
}

// Moves owner onto the heap, into a capsule that deletes it when the last array made on its
// memory goes; and where it now lies.
template <class Owner>
struct Kept {
    const Owner* owner;
    py::capsule capsule;
};
template <class Owner>
Kept<Owner> keepInCapsule(Owner owner) {
    auto* kept = new Owner(std::move(owner));
    return {kept, py::capsule(kept, [](void* p) { delete static_cast<Owner*>(p); })};
}

// An array of count doubles at data, which owner's capsule keeps alive: no copy is made.
inline py::array_t<double> arrayOn(const double* data, std::size_t count, const py::capsule& owner) {
    return py::array_t<double>({static_cast<py::ssize_t>(count)}, data, owner);
}

// An array of the given shape on the doubles at data, in C order, which owner's capsule keeps alive.
inline py::array_t<double> arrayOn(const double* data, const std::vector<py::ssize_t>& shape,
                                   const py::capsule& owner) {
    return py::array_t<double>(shape, data, owner);
}

// Any sequence of numbers as contiguous doubles, converted only where it is not already.
using DoubleArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The section of a Python Section, checked when it was made.
struct Section {
    double F = 0, G = 0, m = 0;
};

void bindSection(py::module_& module);
void bindCatalog(py::module_& module);
void bindCompare(py::module_& module);
void bindGrid(py::module_& module);
void bindSectionLines(py::module_& module);

}  // namespace vorta::python
