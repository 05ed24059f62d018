// The result file of any accepted calculation, in every layout and with either decimal
// separator, has CR LF lines and parses back to the numbers it was written from, and each
// number of its table is the text formatPattern gives. The input's bytes read as doubles,
// and the rounding halves next to them, are written by writePattern as by formatPattern.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/numbers/number_text.h"
#include "core/output/result_file.h"
#include "fuzz_input.h"

namespace {

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) std::abort();  // every line ends with CR LF
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The numbers of a table row: the row number and the columns.
std::vector<double> rowNumbers(std::string row, char separator) {
    for (char& c : row) {
        if (c == separator) c = '.';
    }
    std::vector<double> numbers;
    const char* p = row.data();
    const char* end = p + row.size();
    while (p < end) {
        while (p < end && *p == ' ') ++p;
        if (p == end) break;
        double value = 0;
        const auto parsed = std::from_chars(p, end, value);
        if (parsed.ec != std::errc()) std::abort();
        numbers.push_back(value);
        p = parsed.ptr;
    }
    return numbers;
}

void expectRounded(double written, double value, double halfStep) {
    if (std::fabs(written - value) > halfStep + 1e-12 * std::fabs(value)) std::abort();
}

void checkPlainTable(const std::vector<std::string>& lines, std::size_t first, const vorta::Calculation& c,
                     char separator) {
    if (lines.size() != first + static_cast<std::size_t>(c.N1)) std::abort();
    for (int i = 1; i <= c.N1; ++i) {
        const std::vector<double> row = rowNumbers(lines[first + i - 1], separator);
        if (row.size() != 4 || row[0] != i) std::abort();
        expectRounded(row[1], c.solution.x[i], 5e-6);
        expectRounded(row[2], c.solution.y[i], 5e-6);
        expectRounded(row[3], c.solution.Cu[i], 5e-6);
    }
}

// The rows of the plain layout with pressure, one number at a time by the rule.
void checkRowTexts(const std::vector<std::string>& lines, std::size_t first, const vorta::Calculation& c,
                   const char* separator) {
    const vorta::Solution& s = c.solution;
    for (int i = 1; i <= c.N1; ++i) {
        std::string row = "  " + vorta::formatPattern(i, vorta::Pattern::WholeNumber, separator);
        for (double value : {s.x[i], s.y[i], s.Cu[i]}) {
            row += "  " + vorta::formatPattern(value, vorta::Pattern::Exactly5Decimals, separator);
        }
        if (lines[first + i - 1] != row) std::abort();
    }
}

bool writesAsFormatPattern(double value, vorta::Pattern pattern, const char* separator) {
    std::vector<char> room(vorta::kLongestPatternText + std::strlen(separator));
    char* end = vorta::writePattern(room.data(), value, pattern, separator);
    return std::string(room.data(), end) == vorta::formatPattern(value, pattern, separator);
}

// The first doubles of the input in every pattern; then, for five decimals, the doubles
// around the half between the two results nearest each, where the shortcut must give way.
void checkWritePatternOn(const uint8_t* data, size_t size) {
    constexpr size_t kLargestCount = 16;
    for (size_t at = 0; at + sizeof(double) <= size && at < kLargestCount * sizeof(double); at += sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data + at, sizeof value);
        for (const char* separator : {".", "\u066B"}) {
            for (vorta::Pattern pattern : {vorta::Pattern::UpTo2Decimals, vorta::Pattern::UpTo5Decimals,
                                           vorta::Pattern::Exactly5Decimals, vorta::Pattern::WholeNumber}) {
                if (!writesAsFormatPattern(value, pattern, separator)) std::abort();
            }
        }
        if (!std::isfinite(value) || std::fabs(value) > 1e12) continue;
        double below = (std::floor(value * 1e5) + 0.5) / 1e5;
        double above = std::nextafter(below, INFINITY);
        for (int step = 0; step < 30; ++step) {
            if (!writesAsFormatPattern(below, vorta::Pattern::Exactly5Decimals, ".")) std::abort();
            if (!writesAsFormatPattern(above, vorta::Pattern::Exactly5Decimals, ".")) std::abort();
            below = std::nextafter(below, -INFINITY);
            above = std::nextafter(above, INFINITY);
        }
    }
}

// Ten files are written per input; short tables keep the runs many.
constexpr double kLargestTable = 40;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkWritePatternOn(data, size);
    vorta::Catalog catalog;
    const auto result = fuzz::calculateFrom(data, size, catalog, kLargestTable);
    if (!result || !std::holds_alternative<vorta::Calculation>(*result)) return 0;
    const vorta::Calculation& c = std::get<vorta::Calculation>(*result);
    for (const char* separator : {".", ","}) {
        for (int layout = 0; layout <= 4; ++layout) {
            const std::string text =
                vorta::formatResultFile(catalog.entry(1), c, static_cast<vorta::Layout>(layout), separator);
            const std::vector<std::string> lines = splitLines(text);
            if (lines.empty() || lines[0].rfind(" Delta=", 0) != 0) std::abort();
            if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) std::abort();
            if (layout != 2) continue;
            const bool joukowsky = catalog.entry(1).m == 2;
            const std::size_t block = joukowsky ? 1 : 2;
            if (lines.size() < block + 4) std::abort();
            expectRounded(rowNumbers(lines[block + 1].substr(10), *separator)[0], c.solution.coefficients.CL, 5e-5);
            expectRounded(rowNumbers(lines[block + 2].substr(10), *separator)[0], c.solution.coefficients.CMc4, 5e-5);
            checkPlainTable(lines, block + 4, c, *separator);
            checkRowTexts(lines, block + 4, c, separator);
        }
    }
    return 0;
}
