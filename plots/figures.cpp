#include "plots/figures.h"

#include <algorithm>

#include "core/numbers/number_text.h"

namespace vorta::plots {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

// "Entry 3: 0.1180,0.0227,0.2523,0,0.1,0.05,2", the entry's line as the list shows it.
QString entryTitle(const Catalog& catalog, int k) {
    return QString("Entry %1: %2").arg(k).arg(text(catalog.entry(k).shownText));
}

// The smallest and the largest of count values.
std::pair<double, double> rangeOf(const double* values, std::size_t count) {
    const auto [least, most] = std::minmax_element(values, values + count);
    return {*least, *most};
}

// The window's frame widened to hold the whole contour with a margin, for an equal scale.
Corners contourCorners(const Corners& window, const CurveView& contour) {
    constexpr double kMargin = 0.05;
    const auto [xLeast, xMost] = rangeOf(contour.x, contour.count);
    const auto [yLeast, yMost] = rangeOf(contour.y, contour.count);
    return {std::min(window.left, xLeast - kMargin), std::max(window.top, yMost + kMargin),
            std::max(window.right, xMost + kMargin), std::min(window.bottom, yLeast - kMargin)};
}

// From a tenth of the span below the least value to a tenth above the largest, the zero
// lines where they cross the range.
Plot polarPlot(const std::vector<double>& AlfaD, const std::vector<double>& values) {
    const auto padded = [](std::pair<double, double> range) {
        const double span = range.second - range.first;
        const double pad = span > 0 ? span / 10 : std::max(0.1, std::abs(range.first) / 10);
        return std::pair{range.first - pad, range.second + pad};
    };
    const auto [left, right] = padded(rangeOf(AlfaD.data(), AlfaD.size()));
    const auto [bottom, top] = padded(rangeOf(values.data(), values.size()));
    Plot plot{{left, top, right, bottom}, {}, {AlfaD.data(), values.data(), AlfaD.size()}};
    if (bottom < 0 && top > 0) plot.axes.emplace_back(left, 0, right, 0);
    if (left < 0 && right > 0) plot.axes.emplace_back(0, bottom, 0, top);
    return plot;
}

}  // namespace

Figure calculationFigure(FigureKind kind, const Catalog& catalog, const Calculation& c,
                         const std::string& separator) {
    const Solution& s = c.solution;
    const auto N1 = static_cast<std::size_t>(c.N1);
    const QString title =
        entryTitle(catalog, c.SelectedIndex) + QString("     AlfaD = %1     CL = %2")
                                                   .arg(text(shortestText(c.AlfaD, separator)))
                                                   .arg(text(formatRounded(s.coefficients.CL, 3, separator)));
    if (kind == FigureKind::Pressure)
        return {title, {{pressurePlot(&s.x[1], &s.Cu[1], N1), "x/c", "1-Cp"}}, separator};
    Plot contour = contourPlot(&s.x[1], &s.y[1], N1);
    contour.corners = contourCorners(contour.corners, contour.curve);
    return {title, {{contour, "x/c", "y/c", true}}, separator};
}

PolarColumns polarColumns(const std::vector<PolarRow>& rows) {
    PolarColumns columns;
    for (const PolarRow& row : rows) {
        columns.AlfaD.push_back(row.AlfaD);
        columns.CL.push_back(row.coefficients.CL);
        columns.CMc4.push_back(row.coefficients.CMc4);
    }
    return columns;
}

Figure polarFigure(const Catalog& catalog, int k, const PolarColumns& columns, const std::string& separator) {
    return {entryTitle(catalog, k) + "     CL and CMc/4 over AlfaD",
            {{polarPlot(columns.AlfaD, columns.CL), "AlfaD", "CL"},
             {polarPlot(columns.AlfaD, columns.CMc4), "AlfaD", "CMc/4"}},
            separator};
}

}  // namespace vorta::plots
