#pragma once
// Reading the points of another code's mesh or field: lines of x y, or columns that a header
// line names, x and y among them and any of u, v, Cp and psi beside.

#include <array>
#include <cstddef>
#include <istream>
#include <string>
#include <variant>
#include <vector>

#include "core/calculation/calculation.h"

namespace vorta {

// The most points, bytes and characters a line a point file may have; larger files are refused.
inline constexpr std::size_t kMaxFieldPoints = 10'000'000;
inline constexpr std::size_t kMaxFieldBytes = std::size_t{1} << 30;
inline constexpr std::size_t kMaxFieldLineLength = 4096;

// The values a file may hold at its points, as its header names them.
inline constexpr std::array<const char*, 4> kFieldValueNames = {"u", "v", "Cp", "psi"};

struct FieldTable {
    std::vector<double> x, y;
    std::vector<int> lines;  // the file line of each point
    // The values of each column of kFieldValueNames the header names, one a point; empty when
    // the file has no such column.
    std::array<std::vector<double>, kFieldValueNames.size()> values;

    std::size_t size() const { return x.size(); }
};

// Blanks, tabs or commas part the numbers of a line; lines that start with # and blank lines are
// skipped, and so are lines that hold no numbers, unless they name the columns: such a header
// line picks x, y and the values out of longer rows, whose other columns are not read. Without
// a header a line holds x y and nothing more, so that decimal commas cannot pass for two numbers.
// NaN and infinity are refused, naming the line.
std::variant<FieldTable, Refusal> readFieldTable(std::istream& in, const std::string& name);

}  // namespace vorta
