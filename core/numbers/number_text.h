#pragma once
// Numbers as text, independent of the C library's locale: reading with the point as the
// only decimal separator, and writing with a separator chosen by the caller.

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace vorta {

// A catalog field: the whole (trimmed) text must be a decimal number, with an optional
// sign, at most one point and an optional exponent E. An empty field is 0. Returns no
// value when the text is not a number; a number beyond the range of a double gives an infinity.
std::optional<double> readCatalogNumber(std::string_view field);

// An input field: blanks, tabs and line ends are ignored; the number at the start of
// what remains is read (exponent letter E or D; &H hexadecimal, &O octal) and the rest is
// ignored; a text with no number at its start is 0. Overflow gives an infinity.
double readFieldNumber(std::string_view text);

// A number as a command line takes it: the whole text, with no blanks around it, is an
// optional sign, digits with at most one point, and an optional exponent E with digits.
bool isPlainDecimal(std::string_view text);
// Digits alone, after an optional plus sign.
bool isPlainWholeNumber(std::string_view text);

// An input field's text with a regional decimal comma taken as the point: where the text,
// its blanks dropped, is an optional sign, digits or none, one comma, digits, and an
// optional exponent (E or D, sign, digits), that text with a point; any other text as it is.
// "4, 5" gives "4.5"; "4,5,6" stays "4,5,6".
std::string withDecimalCommaAsPoint(std::string_view text);

// A comma and a digit right after the number an input field starts with: the user most
// likely wrote a decimal comma, which the field rule would silently cut off.
struct DecimalComma {
    std::string written;               // the number with its comma and the digits after it: "4,5"
    std::optional<std::string> meant;  // the same with a point, where that is plain: "4.5"
};
std::optional<DecimalComma> findDecimalComma(std::string_view text);

// The four number patterns of the result file; rounding is halves away from zero.
enum class Pattern {
    UpTo2Decimals,     // "0.##"    : 10 gives "10."
    UpTo5Decimals,     // "0.#####" : 2 gives "2."
    Exactly5Decimals,  // "#0.####0": 1 gives "1.00000"
    WholeNumber,       // "###"     : 51 gives "51"
};
std::string formatPattern(double value, Pattern pattern, std::string_view separator);

// The longest text of a pattern, less its separator: a sign, the 309 digits of the largest
// double and five decimals.
inline constexpr std::size_t kLongestPatternText = 1 + (std::numeric_limits<double>::max_exponent10 + 1) + 5;

// Writes formatPattern's text at out, which has room for kLongestPatternText plus the
// separator, and returns its end. Whole numbers and five decimals mostly take a shortcut.
char* writePattern(char* out, double value, Pattern pattern, std::string_view separator);

// The shortcut for Exactly5Decimals: formatPattern's text at out and its end, or nullptr
// where value lies too near a rounding tie (or is too large) for the shortcut to be sure.
char* writeExactly5DecimalsShortcut(char* out, double value, std::string_view separator);

// No rounding beyond the 15 significant digits every text starts from.
inline constexpr int kAllDigits = -1;

// Rounded to the given decimals, ties to even, in the plainest form: no trailing zeros,
// no separator for a whole number, "-" for negatives. 1.2793713 at 3 gives "1.279".
std::string formatRounded(double value, int decimals, std::string_view separator);

// A zero's sign, as -Beta gives a symmetric section's Alfa0, means nothing to a reader.
inline double unsignedZero(double value) { return value == 0 ? 0.0 : value; }

// The shortest text that reads back as exactly this double: 0.1, 1e-05, -2.5; for people the
// point can be the regional separator.
std::string shortestText(double value, std::string_view separator = ".");

// value to six significant digits for people, trailing zeros kept: 0.364180, 1.00000e-10.
std::string sixDigits(double value, std::string_view separator);

// The bare-number form: a blank or "-", the plain rounded value, a blank. 51 gives " 51 ".
std::string formatBare(double value, int decimals, std::string_view separator);

}  // namespace vorta
