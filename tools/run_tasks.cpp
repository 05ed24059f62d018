#include "tools/run_tasks.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <variant>

#include "core/calculation.h"
#include "core/catalog_check.h"
#include "core/data_formats.h"
#include "core/file_replace.h"
#include "core/number_text.h"
#include "core/polar.h"
#include "core/pressure_compare.h"
#include "core/result_file.h"
#include "locale/decimal_separator.h"

namespace vorta::run {

namespace {

// Refusals name the inputs by the options that carry them.
const InputNames kInputNames{"--points", "--alpha"};

int refuse(const std::string& message) {
    std::cerr << message << '\n';
    return kRefused;
}

// Why standard output failed, as the failing write said; it is reported as the program ends.
int standardOutputError = 0;

bool flushStandardOutput() {
    errno = 0;
    if (std::cout.flush()) return true;
    if (standardOutputError == 0) standardOutputError = errno != 0 ? errno : EIO;
    return false;
}

// Sends what a producer writes to standard output in blocks, or replaces the file whole.
int writeOutput(const std::string& output, const ByteProducer& produce) {
    if (output == "-") {
        const ByteSink toStandardOutput = [](std::string_view bytes) {
            errno = 0;
            if (std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return 0;
            standardOutputError = errno != 0 ? errno : EIO;
            return standardOutputError;
        };
        const int error = produce(toStandardOutput);
        return error == 0 && flushStandardOutput() ? kSuccess : kRefused;
    }
    if (auto error = replaceFileAtomically(output, produce)) return refuse(*error);
    return kSuccess;
}

std::string defaultOutput(const Options& o) {
    if (o.output) return *o.output;
    return o.format == Format::Legacy ? kResultFileName : "-";
}

DataFormat dataFormat(Format format) {
    switch (format) {
        case Format::Dat:
            return DataFormat::Dat;
        case Format::Csv:
            return DataFormat::Csv;
        default:
            return DataFormat::Json;
    }
}

std::variant<int, Refusal> checkedPoints(const Options& o) { return checkPointCount(o.points, kInputNames); }

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

bool standardOutputArrived() {
    if (flushStandardOutput()) return true;
    std::cerr << "Could not write to standard output: " << std::strerror(standardOutputError) << ".\n";
    return false;
}

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

// Checks the inputs the entries are tried at before anything of the catalog is reported.
int checkCatalog(const Catalog& catalog, const Options& o) {
    const auto points = checkedPoints(o);
    if (const auto* refusal = std::get_if<Refusal>(&points)) return refuse(refusal->message);
    const auto angle = checkAngle(o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return refuse(refusal->message);
    std::ifstream file(o.input, std::ios::binary);
    const auto problems = vorta::checkCatalog(catalog, file, std::get<int>(points), std::get<double>(angle));
    for (const CatalogProblem& p : problems) {
        std::cout << o.input << ':' << p.line << ": ";
        if (p.entry > 0) std::cout << "entry " << p.entry << ": ";
        std::cout << p.what << '\n';
    }
    return problems.empty() ? kSuccess : kRefused;
}

int calculateEntry(const Catalog& catalog, int k, const Options& o) {
    auto result = calculate(catalog, k, o.points, o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&result)) return refuse(refusal->message);
    const Calculation& calculation = std::get<Calculation>(result);
    const std::string separator = regionalDecimalSeparator();
    const std::string output = defaultOutput(o);
    const int status = writeOutput(output, [&](const ByteSink& sink) {
        if (o.format == Format::Legacy) {
            return writeResultFile(catalog.entry(k), calculation, static_cast<Layout>(o.layout), separator,
                                   sink);
        }
        return writeContour(dataFormat(o.format), catalog, calculation, sink);
    });
    if (status != kSuccess || output == "-") return status;
    const Coefficients& c = calculation.solution.coefficients;
    std::cout << "CL = " << formatRounded(c.CL, 3, separator) << '\n'
              << "CMc/4 = " << formatRounded(c.CMc4, 3, separator) << '\n'
              << "Alfa0 = " << formatRounded(c.Alfa0, 2, separator) << '\n';
    return kSuccess;
}

// Every entry of the range, or entry k; an entry that is refused is said on stderr and skipped.
int writePolars(const Catalog& catalog, const std::optional<int>& k, const Options& o) {
    const auto angles = anglesOfRange(*o.alphaRange, "--alpha-range");
    if (const auto* refusal = std::get_if<Refusal>(&angles)) return refuse(refusal->message);

    std::vector<PolarRow> rows;
    int status = kSuccess;
    const int first = k.value_or(1), last = k.value_or(catalog.AirfoilCount());
    for (int entry = first; entry <= last; ++entry) {
        auto polar = polarOf(catalog, entry, std::get<std::vector<double>>(angles));
        if (const auto* refusal = std::get_if<Refusal>(&polar)) {
            status = refuse(refusal->message);
            continue;
        }
        const auto& entryRows = std::get<std::vector<PolarRow>>(polar);
        rows.insert(rows.end(), entryRows.begin(), entryRows.end());
    }
    if (rows.empty()) return status;
    const PolarFormat format = o.format == Format::Csv    ? PolarFormat::Csv
                               : o.format == Format::Json ? PolarFormat::Json
                                                          : PolarFormat::Text;
    const std::string separator = regionalDecimalSeparator();
    const int written = writeOutput(o.output.value_or("-"), [&](const ByteSink& sink) {
        return writePolar(format, rows, separator, sink);
    });
    return written != kSuccess ? written : status;
}

namespace {

// The pressure file's points, from the file or, for "-", from standard input. Pipes are read
// like files.
std::variant<std::vector<MeasuredPoint>, Refusal> readCompareFile(const std::string& name) {
    if (name == "-") return readPressureTable(std::cin, "standard input");
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return Refusal{"Cannot compare with " + name + ": it does not exist."};
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return Refusal{"Cannot compare with " + name + ": it is a directory."};
    }
    std::ifstream in(name, std::ios::binary);
    if (!in.is_open()) {
        return Refusal{"Cannot compare with " + name + ": it cannot be opened (" + std::strerror(errno) +
                       ")."};
    }
    return readPressureTable(in, name);
}

}  // namespace

int comparePressureFile(const Catalog& catalog, int k, const Options& o) {
    const auto angle = checkAngle(o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return refuse(refusal->message);
    if (auto refusal = checkEntry(catalog, k)) return refuse(refusal->message);
    auto table = readCompareFile(*o.compare);
    if (const auto* refusal = std::get_if<Refusal>(&table)) return refuse(refusal->message);

    const CatalogEntry& entry = catalog.entry(k);
    const SectionSurface surface(entry.F, entry.G, entry.m, 1, std::get<double>(angle));
    const Comparison comparison = comparePressure(
        std::get<std::vector<MeasuredPoint>>(table),
        [&](double Theta) {
            const SurfacePoint p = surface.at(Theta);
            return ExactPoint{p.x, p.y, 1 - p.Cu};
        },
        1 - surface.at(0).Cu);
    const std::string name = *o.compare == "-" ? "standard input" : *o.compare;
    const std::string separator = regionalDecimalSeparator();
    if (auto refusal = undecidedRefusal(comparison, name, separator)) return refuse(refusal->message);
    for (const RunDecision& run : comparison.runs) std::cerr << runNote(run, name, separator) << '\n';
    for (const SkippedPoint& skipped : comparison.skipped) {
        std::cerr << name << ':' << skipped.line << ": x " << shortestText(skipped.x, separator) << ": "
                  << skipped.why << '\n';
    }
    const bool csv = o.format == Format::Csv;
    const int status = writeOutput(o.output.value_or("-"), [&](const ByteSink& sink) {
        return writeComparison(csv ? ComparisonFormat::Csv : ComparisonFormat::Text, comparison, separator,
                               sink);
    });
    // The CSV holds the rows alone; its summary goes where people read.
    if (csv && status == kSuccess) std::cerr << comparisonSummary(comparison, separator) << '\n';
    if (status != kSuccess) return status;
    return comparison.rows.empty() ? refuse("No point of " + name + " lies on the section.") : kSuccess;
}

}  // namespace vorta::run
