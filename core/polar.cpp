#include "core/polar.h"

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>

#include "core/block_writer.h"
#include "core/number_text.h"

namespace vorta {

namespace {

// A decimal as a whole number and a power of ten, when it has at most 15 significant digits
// and no exponent: "-0.25" is -25 and 2.
struct ScaledDecimal {
    std::int64_t digits = 0;
    int decimals = 0;
};

std::optional<ScaledDecimal> scaledDecimal(std::string_view text) {
    if (text.find_first_of("eE") != std::string_view::npos) return std::nullopt;
    ScaledDecimal d;
    bool negative = false, afterPoint = false;
    int significant = 0;
    for (char c : text) {
        if (c == '-' || c == '+') {
            negative = c == '-';
        } else if (c == '.') {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (d.digits != 0 || c != '0') ++significant;
            if (significant > 15) return std::nullopt;
            d.digits = d.digits * 10 + (c - '0');
            if (afterPoint) ++d.decimals;
        }
    }
    if (negative) d.digits = -d.digits;
    return d;
}

double powerOfTen(int n) {
    double p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// FROM + i·STEP computed on whole numbers and divided once, so the angle is the double
// nearest the decimal; numbers with more digits are added as doubles.
std::vector<double> decimalSteps(std::string_view fromText, std::string_view stepText, double from, double step,
                                 int count) {
    const auto a = scaledDecimal(fromText), b = scaledDecimal(stepText);
    const int decimals = a && b ? std::max(a->decimals, b->decimals) : 0;
    const bool scaled = a && b && decimals <= 15;
    const double scale = powerOfTen(decimals);
    const double first = scaled ? static_cast<double>(a->digits) * powerOfTen(decimals - a->decimals) : 0;
    const double stepScaled = scaled ? static_cast<double>(b->digits) * powerOfTen(decimals - b->decimals) : 0;
    std::vector<double> angles;
    for (int i = 0; i < count; ++i) {
        const double whole = first + i * stepScaled;
        // Whole numbers below 2^53 add exactly.
        const bool exact = scaled && std::fabs(first) < 9e15 && std::fabs(i * stepScaled) < 9e15 &&
                           std::fabs(whole) < 9e15;
        angles.push_back(exact ? whole / scale : from + i * step);
    }
    return angles;
}

Refusal rangeRefusal(const std::string& name, const std::string& why) {
    return Refusal{name + " takes FROM:TO:STEP in degrees, such as -4:12:0.5: " + why};
}

}  // namespace

std::variant<std::vector<double>, Refusal> anglesOfRange(std::string_view range, const std::string& name) {
    const std::size_t first = range.find(':');
    const std::size_t second = first == std::string_view::npos ? first : range.find(':', first + 1);
    if (second == std::string_view::npos || range.find(':', second + 1) != std::string_view::npos) {
        return rangeRefusal(name, "three numbers separated by colons.");
    }
    const std::string_view texts[] = {range.substr(0, first), range.substr(first + 1, second - first - 1),
                                      range.substr(second + 1)};
    double values[3];
    for (int i = 0; i < 3; ++i) {
        const auto value = readCatalogNumber(texts[i]);
        if (!value || texts[i].find_first_not_of(" \t") == std::string_view::npos || !std::isfinite(*value)) {
            return rangeRefusal(name, "\"" + std::string(texts[i]) + "\" is not a number with a point for decimals.");
        }
        values[i] = *value;
    }
    const double from = values[0], to = values[1], step = values[2];
    if (step == 0 || (to - from) * step < 0) return rangeRefusal(name, "the step must lead from FROM to TO.");
    // A hair of tolerance, so that 0:1:0.1 ends at 1 although ten tenths add up to a little less.
    const double steps = std::floor((to - from) / step * (1 + 1e-12) + 1e-9);
    if (!(steps < kMaxPolarAngles)) {
        return rangeRefusal(name, "that makes more than " + std::to_string(kMaxPolarAngles) + " angles.");
    }
    return decimalSteps(texts[0], texts[2], from, step, static_cast<int>(steps) + 1);
}

std::variant<std::vector<PolarRow>, Refusal> polarOf(const Catalog& catalog, int k,
                                                     const std::vector<double>& angles) {
    std::vector<PolarRow> rows;
    rows.reserve(angles.size());
    for (double AlfaD : angles) {
        auto coefficients = coefficientsOfEntry(catalog, k, AlfaD);
        if (auto* refusal = std::get_if<Refusal>(&coefficients)) return *refusal;
        rows.push_back({k, AlfaD, std::get<Coefficients>(coefficients)});
    }
    return rows;
}

namespace {

void writeText(BlockWriter& out, const std::vector<PolarRow>& rows, std::string_view separator) {
    const auto column = [&](const std::string& text, std::size_t width) {
        if (text.size() < width) out.append(std::string(width - text.size(), ' '));
        out.append(text);
    };
    column("entry", 5);
    column("AlfaD", 12);
    column("CL", 12);
    column("CMc/4", 12);
    column("Alfa0", 12);
    out.append("\n");
    for (const PolarRow& row : rows) {
        column(std::to_string(row.entry), 5);
        column(formatRounded(row.AlfaD, kAllDigits, separator), 12);
        column(formatRounded(row.coefficients.CL, 6, separator), 12);
        column(formatRounded(row.coefficients.CMc4, 6, separator), 12);
        column(formatRounded(row.coefficients.Alfa0, 4, separator), 12);
        out.append("\n");
    }
}

void writeCsv(BlockWriter& out, const std::vector<PolarRow>& rows) {
    out.append("entry,AlfaD,CL,CMc/4,Alfa0\r\n");
    for (const PolarRow& row : rows) {
        out.append(std::to_string(row.entry));
        for (double value : {row.AlfaD, row.coefficients.CL, row.coefficients.CMc4, row.coefficients.Alfa0}) {
            out.append(",");
            out.append(shortestText(value));
        }
        out.append("\r\n");
    }
}

// {"polar":[ROW,ROW,...]} as a compact dump of the whole would write it, a row at a time
// into one object whose numbers change, rather than all rows built in memory first.
void writeJson(BlockWriter& out, const std::vector<PolarRow>& rows) {
    nlohmann::ordered_json object = {
        {"entry", 0}, {"AlfaD", 0.0}, {"CL", 0.0}, {"CMc/4", 0.0}, {"Alfa0", 0.0}};
    out.append("{\"polar\":[");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PolarRow& row = rows[i];
        object["entry"] = row.entry;
        object["AlfaD"] = unsignedZero(row.AlfaD);
        object["CL"] = unsignedZero(row.coefficients.CL);
        object["CMc/4"] = unsignedZero(row.coefficients.CMc4);
        object["Alfa0"] = unsignedZero(row.coefficients.Alfa0);
        if (i > 0) out.append(",");
        out.append(object.dump());
    }
    out.append("]}\n");
}

}  // namespace

int writePolar(PolarFormat format, const std::vector<PolarRow>& rows, std::string_view separator,
               const ByteSink& sink) {
    BlockWriter out(sink);
    switch (format) {
        case PolarFormat::Text: writeText(out, rows, separator); break;
        case PolarFormat::Csv: writeCsv(out, rows); break;
        case PolarFormat::Json: writeJson(out, rows); break;
    }
    return out.finish();
}

}  // namespace vorta
