#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vorta {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The length of the decimal number at the start of text (sign, digits with at most one
// point, exponent with one of the given letters), or 0 when no digit is there.
std::size_t decimalNumberLength(std::string_view text, std::string_view exponentLetters) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && exponentLetters.find(text[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

// The power of ten just above the first non-zero digit of a mantissa: 3 for "123.4",
// -1 for "0.05". Only its sign matters, to tell an overflow from an underflow.
long long mantissaOrder(std::string_view mantissa) {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    return first < point ? static_cast<long long>(point - first) : -static_cast<long long>(first - point - 1);
}

// An exponent, saturated far beyond any double's range so that adding a mantissa's order
// to it cannot overflow.
long long readExponent(std::string_view digits) {
    constexpr long long kSaturated = 1'000'000'000'000'000;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
    long long exponent = 0;
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    if (parsed.ec != std::errc() || exponent > kSaturated) exponent = kSaturated;
    return negative ? -exponent : exponent;
}

// Converts a text that decimalNumberLength accepted whole; the exponent letter may be D.
double convertDecimal(std::string_view number) {
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-') number.remove_prefix(1);
    const std::size_t letter = std::min(number.find_first_of("eEdD"), number.size());
    const std::string_view mantissa = number.substr(0, letter);
    const std::string_view exponentText = letter < number.size() ? number.substr(letter + 1) : "";

    std::string text(mantissa);
    if (!exponentText.empty()) text.append("e").append(exponentText);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool overflow = mantissaOrder(mantissa) + readExponent(exponentText) > 0;
        value = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

double readRadixInteger(std::string_view digits, int radix) {
    double value = 0;
    for (char c : digits) {
        int d = -1;
        if (isDigit(c)) d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (d < 0 || d >= radix) break;
        value = value * radix + d;
    }
    return value;
}

}  // namespace

std::optional<double> readCatalogNumber(std::string_view field) {
    while (!field.empty() && isBlank(field.front())) field.remove_prefix(1);
    while (!field.empty() && isBlank(field.back())) field.remove_suffix(1);
    if (field.empty()) return 0.0;
    if (decimalNumberLength(field, "eE") != field.size()) return std::nullopt;
    return convertDecimal(field);
}

double readFieldNumber(std::string_view text) {
    std::string packed;
    for (char c : text) {
        if (!isBlank(c) && c != '\n' && c != '\r') packed += c;
    }
    std::string_view rest(packed);
    if (rest.size() >= 2 && rest[0] == '&') {
        if (rest[1] == 'H' || rest[1] == 'h') return readRadixInteger(rest.substr(2), 16);
        if (rest[1] == 'O' || rest[1] == 'o') return readRadixInteger(rest.substr(2), 8);
    }
    const std::size_t length = decimalNumberLength(rest, "eEdD");
    if (length == 0) return 0.0;
    return convertDecimal(rest.substr(0, length));
}

}  // namespace vorta
