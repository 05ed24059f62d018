#include "core/studies/field_comparison.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/numbers/number_text.h"
#include "core/output/block_writer.h"

namespace vorta {

namespace {

constexpr std::size_t kValueCount = kFieldValueNames.size();
constexpr std::size_t kPsi = 3;

// Linf first, so that the squares are summed scaled by it and no sum overflows.
Norms normsOf(const std::vector<double>& d) {
    Norms norms;
    if (d.empty()) return norms;
    for (double value : d) norms.Linf = std::max(norms.Linf, std::fabs(value));
    if (norms.Linf == 0) return norms;
    double absolute = 0, squares = 0;
    for (double value : d) {
        absolute += std::fabs(value) / norms.Linf;
        squares += (value / norms.Linf) * (value / norms.Linf);
    }
    const auto n = static_cast<double>(d.size());
    norms.L1 = norms.Linf * (absolute / n);
    norms.L2 = norms.Linf * std::sqrt(squares / n);
    return norms;
}

// The mean taken off in two steps, so that a large common constant leaves the small differences.
void removeMean(std::vector<double>& d) {
    if (d.empty()) return;
    double mean = 0;
    for (double value : d) mean += value / static_cast<double>(d.size());
    for (double& value : d) value -= mean;
}

}  // namespace

FieldComparison compareField(const FieldTable& table, const FlowField& field, const std::string& name) {
    const std::size_t n = table.size();
    std::array<std::vector<double>, kValueCount> exact;
    for (auto& column : exact) column.resize(n);
    field.evaluate(n, table.x.data(), table.y.data(), exact[0].data(), exact[1].data(), exact[2].data(),
                   exact[3].data());
    FieldComparison comparison;
    comparison.name = name;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(exact[0][i])) comparison.insideLines.push_back(table.lines[i]);
    }
    comparison.points = n - comparison.insideLines.size();
    for (std::size_t c = 0; c < kValueCount; ++c) {
        if (table.values[c].empty()) continue;
        std::vector<double> d;
        d.reserve(comparison.points);
        for (std::size_t i = 0; i < n; ++i) {
            if (!std::isnan(exact[c][i])) d.push_back(table.values[c][i] - exact[c][i]);
        }
        if (c == kPsi) removeMean(d);
        comparison.norms[c] = normsOf(d);
    }
    return comparison;
}

std::optional<Refusal> nothingComparedRefusal(const FieldComparison& comparison) {
    if (comparison.points > 0) return std::nullopt;
    return Refusal{"No point of " + comparison.name + " lies outside the section."};
}

namespace {

// The arrays as the table of a file whose lines are the points' indices.
std::variant<FieldTable, Refusal> tableOfArrays(std::size_t n, const double* x, const double* y,
                                                const std::array<const double*, kValueCount>& values) {
    const std::string refused = "Cannot compare the field of the arrays: ";
    if (n == 0) return Refusal{refused + "they hold no points."};
    if (n > kMaxFieldPoints) {
        return Refusal{refused + "they hold more than " + std::to_string(kMaxFieldPoints) + " points."};
    }
    if (std::all_of(values.begin(), values.end(), [](const double* v) { return v == nullptr; }))
        return Refusal{refused + "give one or more of u, v, Cp and psi."};
    std::vector<std::pair<std::string, const double*>> columns = {{"x", x}, {"y", y}};
    for (std::size_t c = 0; c < kValueCount; ++c) {
        if (values[c]) columns.emplace_back(kFieldValueNames[c], values[c]);
    }
    for (const auto& [name, column] : columns) {
        const auto* bad = std::find_if(column, column + n, [](double v) { return !std::isfinite(v); });
        if (bad != column + n) {
            return Refusal{refused + name + "[" + std::to_string(bad - column) + "] is " +
                           shortestText(*bad) + "; the points must be finite numbers."};
        }
    }
    FieldTable table;
    table.x.assign(x, x + n);
    table.y.assign(y, y + n);
    table.lines.resize(n);
    for (std::size_t i = 0; i < n; ++i) table.lines[i] = static_cast<int>(i);
    for (std::size_t c = 0; c < kValueCount; ++c) {
        if (values[c]) table.values[c].assign(values[c], values[c] + n);
    }
    return table;
}

}  // namespace

std::variant<FieldComparison, Refusal> compareFieldArrays(
    std::size_t n, const double* x, const double* y, const std::array<const double*, kValueCount>& values,
    const FlowField& field) {
    const auto table = tableOfArrays(n, x, y, values);
    if (const auto* refusal = std::get_if<Refusal>(&table)) return *refusal;
    FieldComparison comparison = compareField(std::get<FieldTable>(table), field, "the arrays");
    if (auto refusal = nothingComparedRefusal(comparison)) return *refusal;
    return comparison;
}

std::optional<double> observedOrder(const FieldComparison& coarser, const FieldComparison& finer,
                                    std::size_t column) {
    const auto& e1 = coarser.norms[column];
    const auto& e2 = finer.norms[column];
    if (!e1 || !e2 || !(e1->L2 > 0) || !(e2->L2 > 0) || coarser.points == finer.points ||
        coarser.points == 0 || finer.points == 0) {
        return std::nullopt;
    }
    // h = 1/sqrt(N), so ln(h1/h2) = ln(N2/N1)/2.
    const double logH =
        0.5 * std::log(static_cast<double>(finer.points) / static_cast<double>(coarser.points));
    return std::log(e1->L2 / e2->L2) / logH;
}

namespace {

void writeText(BlockWriter& out, const std::vector<FieldComparison>& comparisons,
               std::string_view separator) {
    const auto column = [&](const std::string& text, std::size_t width) {
        out.append(std::string(text.size() < width ? width - text.size() : 1, ' '));
        out.append(text);
    };
    for (const FieldComparison& c : comparisons) {
        out.append(c.name + ": " + std::to_string(c.points) + (c.points == 1 ? " point" : " points") +
                   " compared");
        if (!c.insideLines.empty()) {
            out.append(", " + std::to_string(c.insideLines.size()) + " inside the section skipped");
        }
        out.append("\n");
        column("column", 8);
        for (const char* name : {"L1", "L2", "Linf"}) column(name, 14);
        out.append("\n");
        for (std::size_t v = 0; v < kValueCount; ++v) {
            if (!c.norms[v]) continue;
            column(kFieldValueNames[v], 8);
            for (double norm : {c.norms[v]->L1, c.norms[v]->L2, c.norms[v]->Linf})
                column(sixDigits(norm, separator), 14);
            out.append("\n");
        }
    }
    for (std::size_t f = 1; f < comparisons.size(); ++f) {
        out.append("observed order from L2, " + comparisons[f - 1].name + " to " + comparisons[f].name + ":");
        for (std::size_t v = 0; v < kValueCount; ++v) {
            if (!comparisons[f].norms[v]) continue;
            const auto order = observedOrder(comparisons[f - 1], comparisons[f], v);
            out.append(std::string(" ") + kFieldValueNames[v] + " " +
                       (order ? formatRounded(*order, 2, separator) : std::string("none")));
        }
        out.append("\n");
    }
}

// A file name as one CSV field: quoted where it holds a comma, a quote or a line end.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void writeCsv(BlockWriter& out, const std::vector<FieldComparison>& comparisons) {
    out.append("file,points,column,L1,L2,Linf,order\r\n");
    for (std::size_t f = 0; f < comparisons.size(); ++f) {
        const FieldComparison& c = comparisons[f];
        for (std::size_t v = 0; v < kValueCount; ++v) {
            if (!c.norms[v]) continue;
            const auto order = f > 0 ? observedOrder(comparisons[f - 1], c, v) : std::nullopt;
            out.append(csvField(c.name) + "," + std::to_string(c.points) + "," + kFieldValueNames[v] + "," +
                       shortestText(c.norms[v]->L1) + "," + shortestText(c.norms[v]->L2) + "," +
                       shortestText(c.norms[v]->Linf) + "," + (order ? shortestText(*order) : "") + "\r\n");
        }
    }
}

}  // namespace

int writeFieldComparisons(FieldComparisonFormat format, const std::vector<FieldComparison>& comparisons,
                          std::string_view separator, const ByteSink& sink) {
    BlockWriter out(sink);
    if (format == FieldComparisonFormat::Csv) {
        writeCsv(out, comparisons);
    } else {
        writeText(out, comparisons, separator);
    }
    return out.finish();
}

}  // namespace vorta
