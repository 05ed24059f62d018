// vorta-run: the calculation and the result file of the window program, without a window,
// for batch work and for checking numbers.

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/calculation.h"
#include "core/catalog.h"
#include "core/catalog_check.h"
#include "core/number_text.h"
#include "core/result_file.h"
#include "locale/decimal_separator.h"

namespace {

constexpr int kSuccess = 0;
constexpr int kRefused = 1;
constexpr int kUsageError = 2;

const char* kUsage =
    "usage: vorta-run --entry K [--input FILE] [--points TEXT] [--alpha TEXT] [--layout 0|1|2|3|4]"
    " [--output FILE|-]\n"
    "       vorta-run --list [--input FILE]\n"
    "       vorta-run --check [--input FILE] [--points TEXT] [--alpha TEXT]\n"
    "       vorta-run --help\n"
    "\n"
    "Calculates catalog entry K (numbered from 1) and writes the result file, by default\n"
    "VORTA_result.txt in the working directory; '-' writes it to standard output.\n"
    "--points and --alpha are read like the window's fields (defaults 51 and 0); --layout 1 to 4\n"
    "are the window's output format options, 0 the header and point count only (default 4).\n"
    "--check prints one line per problem of the catalog (FILE:LINE: entry K: what is wrong),\n"
    "trying each entry at --points and --alpha; exit status 0 when the catalog is sound.\n";

struct Options {
    bool help = false;
    bool list = false;
    bool check = false;
    std::optional<std::string> entry;
    std::string input = vorta::kCatalogFileName;
    std::string points = "51";
    std::string alpha = "0";
    std::string layout = "4";
    std::string output = vorta::kResultFileName;
};

// Returns no value, after saying why on stderr, when the arguments are not understood.
std::optional<Options> parseArguments(int argc, char** argv) {
    Options o;
    const std::map<std::string, std::string*> valued = {{"--input", &o.input},   {"--points", &o.points},
                                                        {"--alpha", &o.alpha},   {"--layout", &o.layout},
                                                        {"--output", &o.output}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--list") {
            o.list = true;
        } else if (arg == "--check") {
            o.check = true;
        } else if (arg == "--entry" && i + 1 < argc) {
            o.entry = argv[++i];
        } else if (auto it = valued.find(arg); it != valued.end() && i + 1 < argc) {
            *it->second = argv[++i];
        } else {
            std::cerr << "vorta-run: unexpected argument '" << arg << "'\n" << kUsage;
            return std::nullopt;
        }
    }
    if (!o.help && int(o.list) + int(o.check) + int(o.entry.has_value()) != 1) {
        std::cerr << "vorta-run: give one of --entry K, --list and --check\n" << kUsage;
        return std::nullopt;
    }
    if (o.layout.size() != 1 || o.layout[0] < '0' || o.layout[0] > '4') {
        std::cerr << "vorta-run: --layout takes 0, 1, 2, 3 or 4\n" << kUsage;
        return std::nullopt;
    }
    return o;
}

std::optional<int> parseEntryNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

// Refusals name the inputs by the options that carry them.
const vorta::InputNames kInputNames{"--points", "--alpha"};

int listEntries(const vorta::Catalog& catalog) {
    for (int k = 1; k <= catalog.AirfoilCount(); ++k) {
        std::cout << k << ": " << catalog.entry(k).shownText << '\n';
    }
    return kSuccess;
}

int calculateEntry(const vorta::Catalog& catalog, const Options& o) {
    const std::optional<int> k = parseEntryNumber(*o.entry);
    if (!k) {
        std::cerr << "vorta-run: --entry takes a whole number\n" << kUsage;
        return kUsageError;
    }
    if (*k < 1 || *k > catalog.AirfoilCount()) {
        std::cerr << "There is no entry " << *o.entry << ": the catalog has entries 1 to " << catalog.AirfoilCount()
                  << ".\n";
        return kRefused;
    }
    auto result = vorta::calculate(catalog, k, o.points, o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<vorta::Refusal>(&result)) {
        std::cerr << refusal->message << '\n';
        return kRefused;
    }
    const auto& calculation = std::get<vorta::Calculation>(result);
    const std::string separator = vorta::regionalDecimalSeparator();
    const auto layout = static_cast<vorta::Layout>(o.layout[0] - '0');

    if (o.output == "-") {
        const auto toStandardOutput = [](std::string_view bytes) {
            std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            return std::cout ? 0 : EIO;
        };
        vorta::writeResultFile(catalog.entry(*k), calculation, layout, separator, toStandardOutput);
        return std::cout.flush() ? kSuccess : kRefused;
    }
    if (auto error = vorta::saveResultFile(catalog, calculation, layout, separator, o.output)) {
        std::cerr << *error << '\n';
        return kRefused;
    }
    const vorta::Coefficients& c = calculation.solution.coefficients;
    std::cout << "CL = " << vorta::formatRounded(c.CL, 3, separator) << '\n'
              << "CMc/4 = " << vorta::formatRounded(c.CMc4, 3, separator) << '\n'
              << "Alfa0 = " << vorta::formatRounded(c.Alfa0, 2, separator) << '\n';
    return kSuccess;
}

// Checks the inputs the entries are tried at before anything of the catalog is reported.
int checkCatalog(const vorta::Catalog& catalog, const Options& o) {
    const auto points = vorta::checkPointCount(o.points, kInputNames);
    const auto angle = vorta::checkAngle(o.alpha, kInputNames);
    for (const auto* refusal : {std::get_if<vorta::Refusal>(&points), std::get_if<vorta::Refusal>(&angle)}) {
        if (refusal != nullptr) {
            std::cerr << refusal->message << '\n';
            return kRefused;
        }
    }
    const auto problems = vorta::checkCatalog(catalog, std::get<int>(points), std::get<double>(angle));
    for (const vorta::CatalogProblem& p : problems) {
        std::cout << o.input << ':' << p.line << ": ";
        if (p.entry > 0) std::cout << "entry " << p.entry << ": ";
        std::cout << p.what << '\n';
    }
    return problems.empty() ? kSuccess : kRefused;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseArguments(argc, argv);
    if (!options) return kUsageError;
    if (options->help) {
        std::cout << kUsage;
        return kSuccess;
    }
    const vorta::Catalog catalog = vorta::loadCatalogFile(options->input);
    if (!catalog.fileRead) {
        std::cerr << vorta::kMissingCatalogMessage << '\n';
        return kRefused;
    }
    if (options->list) return listEntries(catalog);
    if (options->check) return checkCatalog(catalog, *options);
    return calculateEntry(catalog, *options);
}
