#include "core/studies/catalog_append.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/catalog/catalog.h"
#include "core/output/file_replace.h"
#include "core/studies/catalog_check.h"

namespace vorta {

namespace {

constexpr const char* kLeadingLines = "1\r\n0\r\n";
// Far more than a catalog of 50 lines can hold with its blank lines, and little to read.
constexpr std::uintmax_t kLargestCatalog = 64 << 20;
// The inputs a catalog is checked at before a line is added: vorta-run's defaults.
constexpr int kCheckedPoints = 51;
constexpr double kCheckedAngle = 0;

Refusal cannotAdd(const std::string& path, const std::string& why) {
    return {"Cannot add the line to " + path + ": " + why};
}

// The first problem that keeps a line from being added, said with where it is.
std::optional<std::string> firstProblem(const Catalog& catalog, const std::string& bytes) {
    std::istringstream file(bytes);
    for (const CatalogProblem& p : checkCatalog(catalog, file, kCheckedPoints, kCheckedAngle)) {
        if (p.warning) continue;
        return "line " + std::to_string(p.line) + (p.entry > 0 ? ", entry " + std::to_string(p.entry) : "") +
               ": " + p.what;
    }
    return std::nullopt;
}

}  // namespace

std::variant<int, Refusal> addToCatalog(const std::string& path, const std::string& line) {
    std::string bytes;
    std::error_code error;
    const bool exists = std::filesystem::status(path, error).type() != std::filesystem::file_type::not_found;
    if (exists) {
        if (const auto problem = catalogFileProblem(path)) return cannotAdd(path, "it " + *problem + ".");
        if (std::filesystem::file_size(path, error) > kLargestCatalog) {
            return cannotAdd(path, "it is larger than 64 MiB, far more than a catalog holds.");
        }
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    int entry = 1;
    if (bytes.empty()) {
        bytes = kLeadingLines;
    } else {
        std::istringstream in(bytes);
        const Catalog catalog = loadCatalog(in);
        if (!catalog.fileRead) {
            return cannotAdd(path,
                             "it ends before its two leading lines; a catalog starts with two lines of one "
                             "field each.");
        }
        if (catalog.AirfoilCount() >= kCatalogCapacity) {
            return cannotAdd(path, "it holds " + std::to_string(kCatalogCapacity) +
                                       " airfoils already, as many as a catalog can.");
        }
        if (const auto problem = firstProblem(catalog, bytes)) {
            return cannotAdd(path, *problem + " vorta-run --check --input " + path + " lists every problem.");
        }
        if (bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
        entry = catalog.AirfoilCount() + 1;
    }
    if (const auto failed = replaceFileAtomically(path, bytes + line + "\r\n")) return Refusal{*failed};
    return entry;
}

}  // namespace vorta
