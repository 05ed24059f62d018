#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "core/numbers/number_text.h"

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

int radixDigitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

std::size_t radixDigitCount(std::string_view text, int radix) {
    std::size_t count = 0;
    while (count < text.size() && radixDigitValue(text[count]) < radix) ++count;
    return count;
}

double readRadixInteger(std::string_view digits, int radix) {
    double value = 0;
    for (char c : digits) value = value * radix + radixDigitValue(c);
    return value;
}

// The number an input field starts with: the field's text without blanks, and how much of
// it the number takes.
struct LeadingNumber {
    std::string packed;
    std::size_t length = 0;
    int radix = 10;
};

LeadingNumber leadingNumber(std::string_view text) {
    LeadingNumber number;
    for (char c : text) {
        if (!isBlank(c) && c != '\n' && c != '\r') number.packed += c;
    }
    const std::string_view rest(number.packed);
    if (rest.size() >= 2 && rest[0] == '&') {
        if (rest[1] == 'H' || rest[1] == 'h') number.radix = 16;
        if (rest[1] == 'O' || rest[1] == 'o') number.radix = 8;
    }
    if (number.radix != 10) {
        number.length = 2 + radixDigitCount(rest.substr(2), number.radix);
    } else {
        number.length = decimalNumberLength(rest, "eEdD");
    }
    return number;
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
    const LeadingNumber number = leadingNumber(text);
    const std::string_view digits = std::string_view(number.packed).substr(0, number.length);
    if (number.radix != 10) return readRadixInteger(digits.substr(2), number.radix);
    if (number.length == 0) return 0.0;
    return convertDecimal(digits);
}

bool isPlainDecimal(std::string_view text) {
    return !text.empty() && decimalNumberLength(text, "eE") == text.size();
}

bool isPlainWholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

std::string withDecimalCommaAsPoint(std::string_view text) {
    std::string packed = leadingNumber(text).packed;
    std::string_view rest(packed);
    const auto skipSign = [&rest] {
        if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) rest.remove_prefix(1);
    };
    // Takes the digits at the start of rest; false when there are none.
    const auto takeDigits = [&rest] {
        const std::size_t count = std::min(rest.find_first_not_of("0123456789"), rest.size());
        rest.remove_prefix(count);
        return count > 0;
    };
    skipSign();
    takeDigits();
    if (rest.empty() || rest.front() != ',') return std::string(text);
    const std::size_t comma = packed.size() - rest.size();
    rest.remove_prefix(1);
    if (!takeDigits()) return std::string(text);
    if (!rest.empty() && std::string_view("eEdD").find(rest.front()) != std::string_view::npos) {
        rest.remove_prefix(1);
        skipSign();
        if (!takeDigits()) return std::string(text);
    }
    if (!rest.empty()) return std::string(text);
    packed[comma] = '.';
    return packed;
}

std::optional<DecimalComma> findDecimalComma(std::string_view text) {
    const LeadingNumber number = leadingNumber(text);
    const std::string_view packed(number.packed);
    const std::size_t comma = number.length;
    const bool hasDigits = number.radix == 10 ? number.length > 0 : number.length > 2;
    if (!hasDigits || comma + 1 >= packed.size() || packed[comma] != ',' || !isDigit(packed[comma + 1])) {
        return std::nullopt;
    }
    std::size_t end = comma + 1;
    while (end < packed.size() && isDigit(packed[end])) ++end;
    DecimalComma found;
    found.written = std::string(packed.substr(0, end));
    const std::string_view whole = packed.substr(0, comma);
    if (number.radix == 10 && whole.find_first_of(".eEdD") == std::string_view::npos) {
        found.meant = std::string(whole) + "." + std::string(packed.substr(comma + 1, end - comma - 1));
    }
    return found;
}

}  // namespace vorta
