#include "core/result_file.h"

#include <cmath>
#include <vector>

#include "core/file_replace.h"
#include "core/number_text.h"

namespace vorta {

namespace {

constexpr const char* kLineEnd = "\r\n";

class ResultWriter {
public:
    explicit ResultWriter(std::string_view separator) : separator_(separator) {}

    void text(std::string_view s) { out_.append(s); }
    void pattern(double value, Pattern p) { out_ += formatPattern(value, p, separator_); }
    void bare(double value, int decimals) { out_ += formatBare(value, decimals, separator_); }
    void endLine() { out_ += kLineEnd; }
    std::string take() { return std::move(out_); }

private:
    std::string separator_;
    std::string out_;
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

double slot(const PointArray& values, double pointNumber) {
    const auto k = static_cast<std::size_t>(std::nearbyint(pointNumber));  // ties to even
    return k < values.size() ? values[k] : 0;
}

void writeRow(ResultWriter& w, int i, const std::vector<double>& columns) {
    w.text("  ");
    w.pattern(i, Pattern::WholeNumber);
    for (double value : columns) {
        w.text("  ");
        w.pattern(value, Pattern::Exactly5Decimals);
    }
    w.endLine();
}

void writeTable(ResultWriter& w, const Calculation& calc, Layout layout) {
    const Solution& s = calc.solution;
    if (layout == Layout::XY || layout == Layout::XYCu) {
        for (int i = 1; i <= calc.N1; ++i) {
            std::vector<double> columns = {slot(s.x, i), slot(s.y, i)};
            if (layout == Layout::XYCu) columns.push_back(slot(s.Cu, i));
            writeRow(w, i, columns);
        }
        return;
    }
    // The folded layouts pair the upper surface, from the nose point M up to point N1, with
    // the lower surface, from M down to point 1. For an even N1, M lies between two points.
    const double M = (calc.N1 + 1) / 2.0;
    for (int i = 1; i <= M; ++i) {
        const double U = M + i - 1, L = M + 1 - i;
        std::vector<double> columns = {slot(s.x, U), slot(s.y, U)};
        if (layout == Layout::FoldedXYCu) columns.push_back(slot(s.Cu, U));
        columns.push_back(slot(s.x, L));
        columns.push_back(slot(s.y, L));
        if (layout == Layout::FoldedXYCu) columns.push_back(slot(s.Cu, L));
        writeRow(w, i, columns);
    }
}

}  // namespace

std::string formatResultFile(const CatalogEntry& entry, const Calculation& calculation, Layout layout,
                             std::string_view separator) {
    ResultWriter w(separator);
    writeHeader(w, entry, calculation.N1);
    if (layout == Layout::None) return w.take();
    if (layout == Layout::XYCu || layout == Layout::FoldedXYCu) {
        writeCoefficients(w, calculation.AlfaD, calculation.solution.coefficients);
    }
    writeTable(w, calculation, layout);
    return w.take();
}

std::optional<std::string> saveResultFile(const Catalog& catalog, const std::optional<Calculation>& last,
                                          Layout layout, std::string_view separator, const std::string& path) {
    if (!last || last->SelectedIndex < 1 || last->SelectedIndex > catalog.AirfoilCount()) {
        return std::string(kNothingToSaveMessage);
    }
    const CatalogEntry& entry = catalog.entry(last->SelectedIndex);
    return replaceFileAtomically(path, formatResultFile(entry, *last, layout, separator));
}

}  // namespace vorta
