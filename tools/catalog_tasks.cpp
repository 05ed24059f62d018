// Listing and checking the catalog.
#include <iostream>
#include <variant>

#include "core/studies/catalog_check.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

// "3 to 7", "2, 4 and 6 to 9": entry numbers in order, runs of them joined.
std::string numberRuns(const std::vector<int>& numbers) {
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
        runs.push_back(std::to_string(numbers[i]) + (j > i ? " to " + std::to_string(numbers[j]) : ""));
        i = j + 1;
    }
    std::string text;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (r > 0) text += r + 1 == runs.size() ? " and " : ", ";
        text += runs[r];
    }
    return text;
}

}  // namespace

int listEntries(const Catalog& catalog) {
    for (int k = 1; k <= catalog.AirfoilCount(); ++k)
        std::cout << k << ": " << catalog.entry(k).shownText << '\n';
    const std::vector<int> refused = entriesThatCannotBeCalculated(catalog);
    if (!refused.empty()) {
        const bool one = refused.size() == 1;
        std::cerr << (one ? "entry " : "entries ") << numberRuns(refused) << " cannot"
                  << " be calculated: vorta-run --check says why\n";
    }
    return kSuccess;
}

// Checks the inputs the entries are tried at before anything of the catalog is reported. A
// warning alone leaves the exit status at success.
int checkCatalog(const Catalog& catalog, const Options& o) {
    const auto points = checkPointCount(o.points, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&points)) return refuse(refusal->message);
    const auto angle = checkAngle(o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return refuse(refusal->message);
    const auto problems = checkCatalogFile(catalog, o.input, std::get<int>(points), std::get<double>(angle));
    bool faulty = false;
    for (const CatalogProblem& p : problems) {
        std::cout << o.input << ':' << p.line << ": ";
        if (p.entry > 0) std::cout << "entry " << p.entry << ": ";
        std::cout << problemText(p) << '\n';
        faulty = faulty || !p.warning;
    }
    return faulty ? kRefused : kSuccess;
}

}  // namespace vorta::run
