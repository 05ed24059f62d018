#include "core/studies/polar.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>

#include "core/output/block_writer.h"
#include "core/numbers/number_text.h"

namespace vorta {

namespace {

// A decimal number as digits·10^power, with at most 15 significant digits: "-0.25" is -25
// and -2, "1e-1" is 1 and -1, "2500" is 25 and 2.
struct Decimal {
    std::int64_t digits = 0;
    int power = 0;
};

constexpr int kExactDigits = 15;  // below 2^53: a double holds them exactly

// The text is a number readCatalogNumber accepted: blanks, a sign, digits with at most one
// point, an exponent E.
std::optional<Decimal> decimalOf(std::string_view text) {
    std::string significant;  // the mantissa's digits without the point and leading zeros
    bool negative = false, afterPoint = false;
    long long power = 0;
    std::size_t i = text.find_first_not_of(" \t");
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        const char c = text[i];
        if (c == '-') negative = true;
        if (c == '.') afterPoint = true;
        if (c < '0' || c > '9') continue;
        if (afterPoint) --power;
        if (c != '0' || !significant.empty()) significant += c;
    }
    if (i < text.size()) {
        long long exponent = 0;
        const std::string_view rest = text.substr(i + 1);
        const std::size_t sign = rest.find_first_of("+-") == 0 ? 1 : 0;
        const auto read = std::from_chars(rest.data() + sign, rest.data() + rest.size(), exponent);
        if (read.ec != std::errc() || exponent > 1000) return std::nullopt;
        power += rest[0] == '-' ? -exponent : exponent;
    }
    while (!significant.empty() && significant.back() == '0') {
        significant.pop_back();
        ++power;
    }
    if (significant.size() > kExactDigits || power < -1000 || power > 1000) return std::nullopt;
    Decimal d;
    for (char c : significant) d.digits = d.digits * 10 + (c - '0');
    if (negative) d.digits = -d.digits;
    d.power = significant.empty() ? 0 : static_cast<int>(power);
    return d;
}

double powerOfTen(int n) {
    double p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// FROM, TO and STEP as whole numbers of one unit 10^-decimals. Each below 2^53 is a double
// exactly, as is their unit up to 10^22, so that whole/10^decimals is the double nearest
// the decimal.
struct ScaledRange {
    std::int64_t from = 0, to = 0, step = 0;
    int decimals = 0;
};

std::optional<ScaledRange> scaledRange(const std::string_view (&texts)[3]) {
    std::optional<Decimal> numbers[3];
    int finest = 0;
    for (int i = 0; i < 3; ++i) {
        numbers[i] = decimalOf(texts[i]);
        if (!numbers[i]) return std::nullopt;
        finest = std::min(finest, numbers[i]->power);
    }
    if (-finest > 22) return std::nullopt;
    constexpr std::int64_t kExactWhole = std::int64_t{1} << 53;
    std::int64_t wholes[3];
    for (int i = 0; i < 3; ++i) {
        std::int64_t whole = numbers[i]->digits;
        for (int shift = numbers[i]->power - finest; shift > 0; --shift) {
            if (std::llabs(whole) >= kExactWhole / 10) return std::nullopt;
            whole *= 10;
        }
        wholes[i] = whole;
    }
    return ScaledRange{wholes[0], wholes[1], wholes[2], -finest};
}

// The angles FROM + i·STEP that do not pass TO: counted and formed on whole numbers when the
// three are decimals that allow it, so that 0.1:0.5:0.1 gives 0.3 and 0:2.9999999999:1 ends
// at 2; otherwise as doubles, with those beyond TO left out. No value means too many angles.
std::optional<std::vector<double>> stepAngles(const std::string_view (&texts)[3], double from, double to,
                                              double step) {
    std::vector<double> angles;
    if (const auto scaled = scaledRange(texts)) {
        const std::int64_t steps = (scaled->to - scaled->from) / scaled->step;
        if (steps >= kMaxPolarAngles) return std::nullopt;
        const double unit = powerOfTen(scaled->decimals);
        for (std::int64_t i = 0; i <= steps; ++i) {
            angles.push_back(static_cast<double>(scaled->from + i * scaled->step) / unit);
        }
        return angles;
    }
    const double steps = std::floor((to - from) / step);
    if (!(steps < kMaxPolarAngles)) return std::nullopt;
    for (int i = 0; i <= static_cast<int>(steps); ++i) {
        const double angle = from + i * step;
        if ((angle - to) * step > 0) break;
        angles.push_back(angle);
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
    auto angles = stepAngles(texts, from, to, step);
    if (!angles) {
        return rangeRefusal(name, "that makes more than " + std::to_string(kMaxPolarAngles) + " angles.");
    }
    return *std::move(angles);
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

std::variant<std::vector<PolarRow>, Refusal> polarOfSection(double F, double G, double m,
                                                            const std::vector<double>& angles,
                                                            const std::string& angleName) {
    if (auto refusal = checkSection(F, G, m)) return *refusal;
    std::vector<PolarRow> rows;
    rows.reserve(angles.size());
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const double AlfaD = angles[i];
        if (std::holds_alternative<Refusal>(checkAngle(AlfaD, InputNames{"", angleName}))) {
            return std::get<Refusal>(
                checkAngle(AlfaD, InputNames{"", angleName + "[" + std::to_string(i) + "]"}));
        }
        auto coefficients = coefficientsOfSection(F, G, m, AlfaD);
        if (auto* refusal = std::get_if<Refusal>(&coefficients)) return *refusal;
        rows.push_back({0, AlfaD, std::get<Coefficients>(coefficients)});
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
