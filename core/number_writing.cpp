#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/number_text.h"

namespace vorta {

namespace {

// A finite value as decimal digits: value = 0.d1d2d3... x 10^exponent. Digits carry no
// leading or trailing zeros; zero has no digits.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool isZero() const { return digits.empty(); }
};

// Every text is decided on the value's 15-significant-digit form, so 2.675 (stored a hair
// below) still rounds as 2.675 and the rounding matches what the number looks like.
Decimal toDecimal15(double value) {
    Decimal d;
    if (value == 0 || !std::isfinite(value)) return d;
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, 14).ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));  // d.dddddddddddddde+XX
    const std::size_t e = text.find('e');
    d.negative = value < 0;
    d.digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
    d.exponent = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

enum class Ties { AwayFromZero, ToEven };

void dropTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.isZero()) d = Decimal{};  // a value that rounds to zero carries no minus sign
}

Decimal roundDecimal(Decimal d, int decimals, Ties ties) {
    const long keep = static_cast<long>(d.exponent) + decimals;  // digits that stay
    if (d.isZero() || keep >= static_cast<long>(d.digits.size())) return d;
    if (keep < 0) return Decimal{};

    const std::size_t k = static_cast<std::size_t>(keep);
    const char next = d.digits[k];
    const bool tie = next == '5' && k + 1 == d.digits.size();
    const bool lastKeptOdd = k > 0 && (d.digits[k - 1] - '0') % 2 == 1;
    bool up = next > '5';
    if (next == '5') up = !tie || ties == Ties::AwayFromZero || lastKeptOdd;

    d.digits.resize(k);
    if (up) {
        std::size_t i = k;
        while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[i - 1];
        }
    }
    dropTrailingZeros(d);
    return d;
}

// The digits before and after the separator, the latter padded with zeros to minDecimals.
std::string integerPart(const Decimal& d) {
    if (d.exponent <= 0) return "0";
    std::string part = d.digits.substr(0, static_cast<std::size_t>(d.exponent));
    part.resize(static_cast<std::size_t>(d.exponent), '0');
    return part;
}

std::string fractionPart(const Decimal& d, int minDecimals) {
    std::string part;
    if (!d.isZero()) {
        if (d.exponent < 0) part.assign(static_cast<std::size_t>(-d.exponent), '0');
        const std::size_t from = d.exponent > 0 ? static_cast<std::size_t>(d.exponent) : 0;
        if (from < d.digits.size()) part += d.digits.substr(from);
    }
    if (part.size() < static_cast<std::size_t>(minDecimals)) part.resize(static_cast<std::size_t>(minDecimals), '0');
    return part;
}

// Values from 1E15 on and below 1E-15 are written with an exponent, as "1E+20", so that
// an absurd input cannot fill a line with hundreds of digits.
constexpr int kLargestPlainExponent = 15;
bool needsExponent(const Decimal& d) {
    return !d.isZero() && (d.exponent > kLargestPlainExponent || d.exponent < -kLargestPlainExponent + 1);
}

std::string scientificText(const Decimal& d, std::string_view separator) {
    std::string text = d.negative ? "-" : "";
    text += d.digits[0];
    if (d.digits.size() > 1) text.append(separator).append(d.digits.substr(1));
    const int exponent = d.exponent - 1;
    text += (exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(exponent));
    return text;
}

std::string plainText(const Decimal& d, int minDecimals, bool separatorAlways, std::string_view separator) {
    std::string text = d.negative ? "-" : "";
    text += integerPart(d);
    const std::string fraction = fractionPart(d, minDecimals);
    if (!fraction.empty() || separatorAlways) text.append(separator).append(fraction);
    return text;
}

}  // namespace

std::string formatPattern(double value, Pattern pattern, std::string_view separator) {
    const Decimal d = toDecimal15(value);
    switch (pattern) {
        case Pattern::UpTo2Decimals:
            return plainText(roundDecimal(d, 2, Ties::AwayFromZero), 0, true, separator);
        case Pattern::UpTo5Decimals:
            return plainText(roundDecimal(d, 5, Ties::AwayFromZero), 0, true, separator);
        case Pattern::Exactly5Decimals:
            return plainText(roundDecimal(d, 5, Ties::AwayFromZero), 5, true, separator);
        case Pattern::WholeNumber:
            return plainText(roundDecimal(d, 0, Ties::AwayFromZero), 0, false, separator);
    }
    return {};
}

std::string formatRounded(double value, int decimals, std::string_view separator) {
    Decimal d = toDecimal15(value);
    if (decimals != kAllDigits) d = roundDecimal(d, decimals, Ties::ToEven);
    if (needsExponent(d)) return scientificText(d, separator);
    return plainText(d, 0, false, separator);
}

std::string formatBare(double value, int decimals, std::string_view separator) {
    const std::string text = formatRounded(value, decimals, separator);
    return (text.front() == '-' ? text : " " + text) + " ";
}

}  // namespace vorta
