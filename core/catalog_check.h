#pragma once
// Every problem of a catalog at once, for people who write catalogs by hand or by program.

#include <string>
#include <vector>

#include "core/catalog.h"

namespace vorta {

struct CatalogProblem {
    int entry = 0;  // 0 for a line that no entry came from
    int line = 0;
    std::string what;
};

// The problems of each entry in entry order, then a line the catalog could not take. An
// entry's results are tried at N1 points and AlfaD degrees.
std::vector<CatalogProblem> checkCatalog(const Catalog& catalog, int N1, double AlfaD);

}  // namespace vorta
