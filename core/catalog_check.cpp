#include "core/catalog_check.h"

#include <variant>

#include "core/calculation.h"

namespace vorta {

namespace {

std::string unreadLineProblem(const Catalog& catalog, const UnreadLine& unread) {
    if (unread.fault) {
        return "this line is not read as an airfoil: " + describeLineFault(*unread.fault, unread.line, catalog.fileName);
    }
    if (catalog.AirfoilCount() == kCatalogCapacity) {
        return "the catalog holds at most " + std::to_string(kCatalogCapacity) +
               " airfoils; this line and the lines after it are not read.";
    }
    return "this line and the lines after it are not read: the file ends within its record, or a field holds "
           "more than " +
           std::to_string(kFieldLengthLimit) + " characters.";
}

}  // namespace

std::vector<CatalogProblem> checkCatalog(const Catalog& catalog, int N1, double AlfaD) {
    std::vector<CatalogProblem> problems;
    for (int k = 1; k <= catalog.AirfoilCount(); ++k) {
        const CatalogEntry& entry = catalog.entry(k);
        if (auto problem = entryProblem(catalog, k)) {
            problems.push_back({k, entry.line, *problem});
        } else if (std::holds_alternative<Refusal>(solveEntry(catalog, k, N1, AlfaD))) {
            problems.push_back({k, entry.line, kResultsCannotBeShown});
        }
        if (entry.shownText != entry.displayText) {
            problems.push_back({k, entry.line, "its text is not UTF-8; it is shown as Windows-1252 text: " +
                                                   entry.shownText});
        }
    }
    if (catalog.firstUnreadLine) {
        problems.push_back({0, catalog.firstUnreadLine->line, unreadLineProblem(catalog, *catalog.firstUnreadLine)});
    }
    return problems;
}

}  // namespace vorta
