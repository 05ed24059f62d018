#include "core/output/result_file.h"

#include <array>
#include <cmath>

#include "core/output/block_writer.h"
#include "core/output/file_replace.h"
#include "core/numbers/number_text.h"

namespace vorta {

namespace {

constexpr const char* kLineEnd = "\r\n";

// Formats straight into the blocks that go to the sink.
class ResultWriter {
public:
    ResultWriter(const ByteSink& sink, std::string_view separator)
        : out_(sink), separator_(separator), numberRoom_(kLongestPatternText + separator.size()) {}

    void text(std::string_view s) { out_.append(s); }
    void pattern(double value, Pattern p) {
        out_.wrote(writePattern(out_.room(numberRoom_), value, p, separator_));
    }
    void bare(double value, int decimals) { out_.append(formatBare(value, decimals, separator_)); }
    void endLine() { out_.append(kLineEnd); }
    bool failed() const { return out_.failed(); }
    int finish() { return out_.finish(); }

private:
    BlockWriter out_;
    std::string_view separator_;
    std::size_t numberRoom_;
};

// The header names the entry; a Joukowsky section (m = 2) keeps its point count on the same line.
void writeHeader(ResultWriter& w, const CatalogEntry& entry, int N1) {
    w.text(" Delta=");
    w.pattern(entry.Delta, Pattern::UpTo2Decimals);
    w.text("  Gama=");
    w.pattern(entry.Gama, Pattern::UpTo2Decimals);
    if (entry.m == 2) {
        w.text("  Joukowsky airfoil");
    } else {
        w.text("  xDltC=");
        w.pattern(entry.xDltC, Pattern::UpTo5Decimals);
        w.text("  Tau=");
        w.pattern(entry.Tau, Pattern::UpTo2Decimals);
        w.text("  Karman-Trefftz airfoil");
        w.endLine();
    }
    w.bare(N1, kAllDigits);
    w.endLine();
}

void writeCoefficients(ResultWriter& w, double AlfaD, const Coefficients& c) {
    w.text("  AlfaD = ");
    w.bare(AlfaD, 0);
    w.endLine();
    w.text("  CL    = ");
    w.bare(c.CL, 4);
    w.endLine();
    w.text("  CMc/4 = ");
    w.bare(c.CMc4, 4);
    w.endLine();
    w.text("  Alfa0 = ");
    w.bare(c.Alfa0, 2);
    w.endLine();
}

double slot(const PointArray& values, int pointNumber) {
    const auto k = static_cast<std::size_t>(pointNumber);
    return k < values.size() ? values[k] : 0;
}

// The values of one table row: up to six in the folded layout with pressure.
class Columns {
public:
    void add(double value) { values_[count_++] = value; }
    const double* begin() const { return values_.data(); }
    const double* end() const { return values_.data() + count_; }

private:
    std::array<double, 6> values_{};
    std::size_t count_ = 0;
};

void writeRow(ResultWriter& w, int i, const Columns& columns) {
    w.text("  ");
    w.pattern(i, Pattern::WholeNumber);
    for (double value : columns) {
        w.text("  ");
        w.pattern(value, Pattern::Exactly5Decimals);
    }
    w.endLine();
}

// Stops at the first row after the sink failed.
void writeTable(ResultWriter& w, const Calculation& calc, Layout layout) {
    const Solution& s = calc.solution;
    if (layout == Layout::XY || layout == Layout::XYCu) {
        for (int i = 1; i <= calc.N1 && !w.failed(); ++i) {
            Columns columns;
            columns.add(slot(s.x, i));
            columns.add(slot(s.y, i));
            if (layout == Layout::XYCu) columns.add(slot(s.Cu, i));
            writeRow(w, i, columns);
        }
        return;
    }
    // The folded layouts pair the upper surface, from the nose up to point N1, with the lower
    // surface, from the nose down to point 1. An odd N1 has a nose point M, which the first
    // row pairs with itself; an even N1 has two points beside the nose and N1/2 rows.
    const bool odd = calc.N1 % 2 == 1;
    const int rows = odd ? (calc.N1 + 1) / 2 : calc.N1 / 2;
    const int firstUpper = odd ? rows : rows + 1;
    for (int i = 1; i <= rows && !w.failed(); ++i) {
        const int U = firstUpper + i - 1, L = rows + 1 - i;
        Columns columns;
        columns.add(slot(s.x, U));
        columns.add(slot(s.y, U));
        if (layout == Layout::FoldedXYCu) columns.add(slot(s.Cu, U));
        columns.add(slot(s.x, L));
        columns.add(slot(s.y, L));
        if (layout == Layout::FoldedXYCu) columns.add(slot(s.Cu, L));
        writeRow(w, i, columns);
    }
}

}  // namespace

int writeResultFile(const CatalogEntry& entry, const Calculation& calculation, Layout layout,
                    std::string_view separator, const ByteSink& sink) {
    ResultWriter w(sink, separator);
    writeHeader(w, entry, calculation.N1);
    if (layout == Layout::XYCu || layout == Layout::FoldedXYCu) {
        writeCoefficients(w, calculation.AlfaD, calculation.solution.coefficients);
    }
    if (layout != Layout::None) writeTable(w, calculation, layout);
    return w.finish();
}

std::string formatResultFile(const CatalogEntry& entry, const Calculation& calculation, Layout layout,
                             std::string_view separator) {
    std::string text;
    writeResultFile(entry, calculation, layout, separator, [&text](std::string_view bytes) {
        text.append(bytes);
        return 0;
    });
    return text;
}

std::optional<std::string> saveResultFile(const Catalog& catalog, const std::optional<Calculation>& last,
                                          Layout layout, std::string_view separator, const std::string& path) {
    if (!last) return std::string(kNothingToSaveMessage);
    return saveResultFile(catalog, *last, layout, separator, path);
}

std::optional<std::string> saveResultFile(const Catalog& catalog, const Calculation& calculation, Layout layout,
                                          std::string_view separator, const std::string& path) {
    if (calculation.SelectedIndex < 1 || calculation.SelectedIndex > catalog.AirfoilCount()) {
        return std::string(kNothingToSaveMessage);
    }
    const CatalogEntry& entry = catalog.entry(calculation.SelectedIndex);
    return replaceFileAtomically(path, [&](const ByteSink& sink) {
        return writeResultFile(entry, calculation, layout, separator, sink);
    });
}

}  // namespace vorta
