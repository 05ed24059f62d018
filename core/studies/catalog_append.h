#pragma once
// Adding a section's line to a catalog file: the file is replaced whole with the line added at
// its end, with the CR LF line ends of the catalog's format, so that a reader sees the old
// catalog or the new one, never a part.

#include <string>
#include <variant>

#include "core/calculation/calculation.h"

namespace vorta {

// Adds line to the catalog at path and returns the number of its entry. A missing or empty file
// is made with its two leading lines (1 and 0); a last line without its line end gets one
// first. Refuses, leaving the file as it was, a path that is no regular file, a file that is
// not a catalog, a catalog that holds 50 entries already, and one whose check finds a problem
// (warnings do not count).
std::variant<int, Refusal> addToCatalog(const std::string& path, const std::string& line);

}  // namespace vorta
