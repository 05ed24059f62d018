#include "core/studies/catalog_check.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <variant>

#include "core/calculation/calculation.h"
#include "core/numbers/number_text.h"
#include "core/studies/descriptor_check.h"

namespace vorta {

namespace {

constexpr const char* kShifts = ", which shifts the numbers of every line after it";

std::string fieldsWord(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " field" : " fields");
}

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A whole number followed by a field of digits alone, as "0,12" splits: the first such pair.
std::string decimalCommaHint(const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        std::string_view whole = fields[i];
        if (!whole.empty() && (whole.front() == '-' || whole.front() == '+')) whole.remove_prefix(1);
        if (isDigits(whole) && isDigits(fields[i + 1])) {
            return "; " + fields[i] + "," + fields[i + 1] + " looks like a decimal comma: write " +
                   fields[i] + "." + fields[i + 1] + ", with a point";
        }
    }
    return "";
}

// A field's text as a message can quote it: printable and short, else not at all.
std::string quoted(std::string_view text) {
    const bool printable =
        std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c != 0x7f; });
    if (!printable || text.size() > 40) return "";
    return ": \"" + std::string(text) + "\"";
}

// UTF-16 text starts with its byte order mark, or has a NUL byte beside each ASCII character.
bool looksLikeUtf16(std::string_view firstLine) {
    if (firstLine.rfind("\xFF\xFE", 0) == 0 || firstLine.rfind("\xFE\xFF", 0) == 0) return true;
    return firstLine.size() >= 2 && (firstLine[0] == '\0') != (firstLine[1] == '\0');
}

// What is wrong with the layout of a line that follows the two leading ones; entriesFollow
// when a fault there moves the numbers of later entries.
std::optional<std::string> recordLayoutProblem(const LineFields& line, bool entriesFollow) {
    const std::string shifts = entriesFollow ? kShifts : "";
    if (line.unclosedQuote) return "it opens a double quote that is not closed on this line" + shifts + ".";
    if (line.fields.size() == kFieldsPerRecord) return std::nullopt;
    return "it holds " + fieldsWord(line.fields.size()) + " where an airfoil has " +
           std::to_string(kFieldsPerRecord) + shifts + decimalCommaHint(line.fields) + ".";
}

// What is wrong with the numbers of a record line of seven fields: fields that do not read as
// numbers or lie beyond their range, else a section that cannot be calculated.
std::vector<std::string> numberProblems(const LineFields& line) {
    std::vector<std::string> problems;
    CatalogEntry numbers;
    for (std::size_t i = 0; i < kCatalogFields.size(); ++i) {
        const std::optional<double> value = readCatalogNumber(line.fields[i]);
        const std::string name = kCatalogFields[i].name;
        if (!value)
            problems.push_back("its field " + name + " does not read as a number" + quoted(line.fields[i]) +
                               ".");
        else if (!std::isfinite(*value))
            problems.push_back("its field " + name + " is beyond the range of numbers.");
        else
            numbers.*kCatalogFields[i].value = *value;
    }
    if (problems.empty()) {
        if (auto problem = sectionProblem(numbers.F, numbers.m)) problems.push_back(*problem);
    }
    return problems;
}

// Walks the lines up to where the reading stops, and reports each line's own problems.
class LineCheck {
  public:
    LineCheck(const Catalog& catalog, std::vector<CatalogProblem>& problems)
        : catalog_(catalog),
          problems_(problems),
          stopLine_(catalog.readingStop ? catalog.readingStop->line : INT_MAX) {}

    int lastLine() const { return stopLine_; }
    // True when the file's encoding keeps it from being read at all.
    bool unreadable() const { return unreadable_; }

    bool see(int number, std::string_view text) {
        if (number == 1 && looksLikeUtf16(text)) {
            add(0, 1,
                "the file is UTF-16 text, which is not read as a catalog; save it as UTF-8 or plain text.");
            unreadable_ = true;
            return false;
        }
        if (number == stopLine_) return false;  // the reading stop speaks for its line
        const LineFields line = fieldsOfLine(text);
        if (number <= 2) {
            seeLeading(number, line);
        } else if (text.find_first_not_of(" \t") != std::string_view::npos) {
            seeRecord(number, line);
        }
        return true;
    }

  private:
    void add(int entry, int line, std::string what) { problems_.push_back({entry, line, std::move(what)}); }

    void seeLeading(int number, const LineFields& line) {
        if (line.unclosedQuote) {
            add(0, number,
                std::string("it opens a double quote that is not closed on this line") + kShifts + ".");
        } else if (line.fields.size() != 1) {
            add(0, number,
                "it holds " + fieldsWord(line.fields.size()) + " where the first two lines hold one each" +
                    kShifts + ".");
        } else {
            return;
        }
        faultAbove_ = true;
    }

    void seeRecord(int number, const LineFields& line) {
        ++records_;
        const bool isEntry = records_ <= catalog_.AirfoilCount() && catalog_.entry(records_).line == number;
        const int entry = isEntry ? records_ : 0;
        const std::string notRead = isEntry ? "" : "this line is not read as an airfoil: ";
        if (const auto layout = recordLayoutProblem(line, records_ < catalog_.AirfoilCount())) {
            add(entry, number, notRead + *layout);
            faultAbove_ = true;
            return;
        }
        for (std::string& problem : numberProblems(line)) add(entry, number, notRead + problem);
        if (!isEntry && faultAbove_) add(0, number, notRead + "a faulty line above it shifts its numbers.");
    }

    const Catalog& catalog_;
    std::vector<CatalogProblem>& problems_;
    int stopLine_;
    int records_ = 0;
    bool faultAbove_ = false;
    bool unreadable_ = false;
};

// What the lines do not show of the entries: results too large to show at N1 points and
// AlfaD degrees, a text shown otherwise than it is written, and descriptive fields that
// disagree with the section.
void checkEntries(const Catalog& catalog, int N1, double AlfaD, std::vector<CatalogProblem>& problems) {
    for (int k = 1; k <= catalog.AirfoilCount(); ++k) {
        const CatalogEntry& entry = catalog.entry(k);
        // An entry refused whatever the inputs has its problem reported with its line, or above it.
        if (!entryProblem(catalog, k)) {
            if (std::holds_alternative<Refusal>(solveEntry(catalog, k, N1, AlfaD))) {
                problems.push_back({k, entry.line, kResultsCannotBeShown});
            }
            for (std::string& warning : descriptorDisagreements(entry)) {
                problems.push_back({k, entry.line, std::move(warning), true});
            }
        }
        if (entry.shownText != entry.displayText) {
            problems.push_back(
                {k, entry.line,
                 "its text is not UTF-8; it is shown as Windows-1252 text: " + entry.shownText});
        }
    }
}

}  // namespace

std::vector<CatalogProblem> checkCatalog(const Catalog& catalog, std::istream& file, int N1, double AlfaD) {
    std::vector<CatalogProblem> problems;
    LineCheck lines(catalog, problems);
    forEachCatalogLine(file, lines.lastLine(),
                       [&](int number, std::string_view text) { return lines.see(number, text); });
    if (lines.unreadable()) return problems;
    checkEntries(catalog, N1, AlfaD, problems);
    if (const auto& stop = catalog.readingStop) {
        problems.push_back({0, stop->line,
                            "reading stops at line " + std::to_string(stop->line) + ": " + stop->why +
                                "; the entries after it are not read."});
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const CatalogProblem& a, const CatalogProblem& b) { return a.line < b.line; });
    return problems;
}

std::vector<CatalogProblem> checkCatalogFile(const Catalog& catalog, const std::string& path, int N1,
                                             double AlfaD) {
    std::ifstream file(path, std::ios::binary);
    return checkCatalog(catalog, file, N1, AlfaD);
}

std::string problemText(const CatalogProblem& problem) {
    return (problem.warning ? "warning: " : "") + problem.what;
}

std::vector<int> entriesThatCannotBeCalculated(const Catalog& catalog) {
    std::vector<int> entries;
    for (int k = 1; k <= catalog.AirfoilCount(); ++k) {
        if (entryProblem(catalog, k)) entries.push_back(k);
    }
    return entries;
}

}  // namespace vorta
