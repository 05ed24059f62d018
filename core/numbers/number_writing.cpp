#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/numbers/number_text.h"

namespace vorta {

namespace {

// A number's text with the given decimal separator for its point.
std::string withSeparator(std::string text, std::string_view separator) {
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, separator);
    return text;
}

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

char* copyText(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

char* writeSeparator(char* out, std::string_view separator) {
    if (separator.size() != 1) return copyText(out, separator);
    *out = separator[0];
    return out + 1;
}

// "00" to "99", so that two digits take one step.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// A number below 100000 as five digits, leading zeros included.
char* writeFiveDigits(char* out, unsigned value) {
    const unsigned lastFour = value % 10000;
    out[0] = static_cast<char>('0' + value / 10000);
    std::memcpy(out + 1, &kDigitPairs[2 * (lastFour / 100)], 2);
    std::memcpy(out + 3, &kDigitPairs[2 * (lastFour % 100)], 2);
    return out + 5;
}

// A whole number below 1E15 has at most 15 digits, so its 15-digit form is the number
// itself and rounding to a whole number leaves it as it is.
char* writeWholeNumberShortcut(char* out, double value) {
    if (!(std::fabs(value) < 1e15)) return nullptr;
    const auto whole = static_cast<long long>(value);
    if (static_cast<double>(whole) != value) return nullptr;
    return std::to_chars(out, out + 16, whole).ptr;
}

}  // namespace

// Why the shortcut writes formatPattern's text: formatPattern rounds, half away from zero, the
// 15-significant-digit form of value, which lies within 5E-15 x |value| of it. The product
// |value| x 1E5 computed in double lies within 2^-53 of itself from the exact product (or
// is too small to be anywhere near a half). Where the computed product is farther than 2^-46
// of itself (about 1.4E-14) from the nearest half, the exact product and the 15-digit form
// times 1E5 lie on the same side of that half as the computed product, so all three round
// to the same whole number of hundred-thousandths. Near a half, and from 2^45 on, where the
// margin is half a unit or more, formatPattern decides.
char* writeExactly5DecimalsShortcut(char* out, double value, std::string_view separator) {
    constexpr double kTieMargin = 0x1p-46;
    const double scaled = std::fabs(value) * 1e5;
    if (!(scaled < 0x1p45)) return nullptr;  // NaN and infinities too
    const auto whole = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);  // exact
    if (std::fabs(fraction - 0.5) <= scaled * kTieMargin) return nullptr;
    const std::uint64_t units = whole + (fraction > 0.5 ? 1 : 0);  // hundred-thousandths
    if (value < 0 && units != 0) *out++ = '-';                      // zero carries no sign
    out = std::to_chars(out, out + 16, units / 100000).ptr;
    out = writeSeparator(out, separator);
    return writeFiveDigits(out, static_cast<unsigned>(units % 100000));
}

char* writePattern(char* out, double value, Pattern pattern, std::string_view separator) {
    char* end = nullptr;
    if (pattern == Pattern::Exactly5Decimals) end = writeExactly5DecimalsShortcut(out, value, separator);
    if (pattern == Pattern::WholeNumber) end = writeWholeNumberShortcut(out, value);
    return end != nullptr ? end : copyText(out, formatPattern(value, pattern, separator));
}

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

std::string shortestText(double value, std::string_view separator) {
    char text[32];
    return withSeparator(std::string(text, std::to_chars(text, text + sizeof text, unsignedZero(value)).ptr),
                         separator);
}

std::string sixDigits(double value, std::string_view separator) {
    char text[64];
    value = unsignedZero(value);
    auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 5);
    const std::string scientific(text, static_cast<std::size_t>(written.ptr - text));
    const std::size_t letter = scientific.find('e');
    if (letter == std::string::npos) return scientific;  // inf or nan, which no comparison holds
    const int exponent = std::atoi(scientific.c_str() + letter + 1);
    if (exponent < -4 || exponent >= 6) return withSeparator(scientific, separator);
    written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 5 - exponent);
    return withSeparator(std::string(text, static_cast<std::size_t>(written.ptr - text)), separator);
}

}  // namespace vorta
