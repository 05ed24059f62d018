#pragma once
// Every problem of a catalog at once, for people who write catalogs by hand or by program.

#include <istream>
#include <string>
#include <vector>

#include "core/catalog/catalog.h"

namespace vorta {

struct CatalogProblem {
    int entry = 0;  // 0 for a line that no entry came from
    int line = 0;
    std::string what;
    // A warning does not keep the entry from being calculated: a descriptive field that
    // disagrees with the entry's section, which another program may measure otherwise.
    bool warning = false;
};

// The problems of the catalog read from file, in line order: each line's own (its number of
// fields, a decimal comma, a quote left open, a field that is no number, an encoding that is
// not read), why an entry whose line is sound cannot be calculated at N1 points and AlfaD
// degrees, and where the reading stops before the end of the file; and, as warnings, the
// descriptive fields that disagree with their entry's section (descriptor_check.h). file holds
// the bytes catalog was loaded from, from their start.
std::vector<CatalogProblem> checkCatalog(const Catalog& catalog, std::istream& file, int N1, double AlfaD);

// The same of the catalog loaded from the file at path, whose lines are read again from there.
std::vector<CatalogProblem> checkCatalogFile(const Catalog& catalog, const std::string& path, int N1,
                                             double AlfaD);

// What --check says of a problem after its place: the text, a warning marked as such.
std::string problemText(const CatalogProblem& problem);

// The entries a pick refuses whatever the inputs, in order.
std::vector<int> entriesThatCannotBeCalculated(const Catalog& catalog);

}  // namespace vorta
