#pragma once
// Whether the four descriptive fields of a catalog entry, Delta, Gama, xDltC and Tau, belong to
// its F, G and m: each measured on the section (section_measure.h) and held to the precision
// with which the field is written.

#include <string>
#include <vector>

#include "core/catalog/catalog.h"

namespace vorta {

// One line per field that disagrees with the section beyond half a unit of its last written
// decimal, in field order: "Delta 0.2000, but the section of F = 0.1, G = 0.05, m = 2 is
// 0.1180 thick." None for an entry whose line is not its own seven numbers or whose section
// cannot be measured, and no xDltC for a section too thin to place its largest thickness (an arc).
std::vector<std::string> descriptorDisagreements(const CatalogEntry& entry);

}  // namespace vorta
