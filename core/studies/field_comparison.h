#pragma once
// Error norms of another code's flow field against the exact one, and the observed order of
// accuracy over meshes refined in turn.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/output/byte_sink.h"
#include "core/solver/flow_field.h"
#include "core/studies/field_table.h"

namespace vorta {

// The norms of the difference d between a column and the exact values: L1 = mean |d|,
// L2 = sqrt(mean d^2), Linf = max |d|.
struct Norms {
    double L1 = 0, L2 = 0, Linf = 0;
};

struct FieldComparison {
    std::string name;
    std::size_t points = 0;  // compared: those with exact values
    // For each column of kFieldValueNames the file holds; psi after the mean of d is taken off,
    // since a code's stream function carries an arbitrary constant.
    std::array<std::optional<Norms>, kFieldValueNames.size()> norms;
    std::vector<int> insideLines;  // the file lines of points inside the section, not compared
};

// Compares the file's columns with the exact flow at its points.
FieldComparison compareField(const FieldTable& table, const FlowField& field, const std::string& name);

// "No point of NAME lies outside the section." where the comparison compared no point.
std::optional<Refusal> nothingComparedRefusal(const FieldComparison& comparison);

// The comparison of n points a program hands over as arrays, x[i] and y[i], with the values of
// each column of kFieldValueNames whose array is not null; the points' lines are their indices,
// from 0, and the arrays are named "the arrays". Refused as a file is, "Cannot compare the field
// of the arrays: ...", where they hold no points or more than kMaxFieldPoints, NaN or an
// infinity, or no column; and where no point lies outside the section.
std::variant<FieldComparison, Refusal> compareFieldArrays(
    std::size_t n, const double* x, const double* y,
    const std::array<const double*, kFieldValueNames.size()>& values, const FlowField& field);

// p = ln(e1/e2)/ln(h1/h2) from the L2 norms of a coarser and a finer mesh, h = 1/sqrt(points);
// no value where a norm is zero or the meshes have as many points.
std::optional<double> observedOrder(const FieldComparison& coarser, const FieldComparison& finer,
                                    std::size_t column);

enum class FieldComparisonFormat { Text, Csv };
// Text for people: a block a file with its norms to six digits, then the observed orders from
// each file to the next. CSV: file,points,column,L1,L2,Linf,order, the order from the file
// above, exact numbers.
int writeFieldComparisons(FieldComparisonFormat format, const std::vector<FieldComparison>& comparisons,
                          std::string_view separator, const ByteSink& sink);

}  // namespace vorta
