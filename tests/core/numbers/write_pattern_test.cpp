// writePattern and its shortcuts held to formatPattern, the rule, byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/numbers/number_text.h"

using namespace vorta;

namespace {

const Pattern kPatterns[] = {Pattern::UpTo2Decimals, Pattern::UpTo5Decimals, Pattern::Exactly5Decimals,
                             Pattern::WholeNumber};
const char* const kSeparators[] = {".", ",", "\u066B"};  // the last is the Arabic decimal separator

// Written into a buffer of exactly the room writePattern may use, so that writing past it
// shows under the address sanitizer.
std::string written(double value, Pattern pattern, std::string_view separator) {
    std::vector<char> room(kLongestPatternText + separator.size());
    char* end = writePattern(room.data(), value, pattern, separator);
    return std::string(room.data(), end);
}

std::string shortcut(double value, std::string_view separator) {
    std::vector<char> room(kLongestPatternText + separator.size());
    char* end = writeExactly5DecimalsShortcut(room.data(), value, separator);
    return end != nullptr ? std::string(room.data(), end) : "(declined)";
}

bool shortcutTaken(double value) { return shortcut(value, ".") != "(declined)"; }

void expectAsFormatPattern(double value) {
    for (Pattern pattern : kPatterns) {
        for (const char* separator : kSeparators) {
            ASSERT_EQ(written(value, pattern, separator), formatPattern(value, pattern, separator))
                << std::hexfloat << value << " pattern " << static_cast<int>(pattern);
        }
    }
}

// Random values between 1E-12 and 1E20 of either sign, a few of each decade.
std::vector<double> valuesOfManyMagnitudes(int perDecade) {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> mantissa(1, 10);
    std::vector<double> values;
    for (int exponent = -12; exponent <= 20; ++exponent) {
        for (int i = 0; i < perDecade; ++i) {
            const double value = mantissa(random) * std::pow(10.0, exponent);
            values.push_back(i % 2 == 0 ? value : -value);
        }
    }
    return values;
}

// The doubles nearest the halves between two five-decimal results, (k + 1/2) x 1E-5, at
// several magnitudes, and their neighbours a few dozen ulps either way: far enough to
// cross the band where the 15-digit form still shows the half.
std::vector<double> valuesAroundHalves() {
    std::mt19937_64 random(7);
    std::vector<double> values;
    for (long long scale : {1LL, 10LL, 1000LL, 100000LL, 10000000LL, 1000000000LL, 100000000000LL, 10000000000000LL}) {
        std::uniform_int_distribution<long long> units(0, scale);
        for (int i = 0; i < 20; ++i) {
            const long long k = units(random);
            const double half = std::strtod((std::to_string(k) + "5e-6").c_str(), nullptr);  // (k + 0.5)e-5
            for (double sign : {1.0, -1.0}) {
                double value = sign * half;
                for (int step = 0; step < 40; ++step) value = std::nextafter(value, 0.0);
                for (int step = 0; step < 80; ++step) {
                    values.push_back(value);
                    value = std::nextafter(value, sign * 1e300);
                }
            }
        }
    }
    return values;
}

TEST(WritePattern, WritesWhatFormatPatternWritesForValuesOfEveryMagnitude) {
    for (double value : valuesOfManyMagnitudes(40)) expectAsFormatPattern(value);
}

TEST(WritePattern, WritesWhatFormatPatternWritesAroundRoundingHalves) {
    for (double value : valuesAroundHalves()) {
        ASSERT_EQ(written(value, Pattern::Exactly5Decimals, "."), formatPattern(value, Pattern::Exactly5Decimals, "."))
            << std::hexfloat << value;
    }
}

TEST(WritePattern, WritesWhatFormatPatternWritesAtTheEdges) {
    const double edges[] = {0, -0.0, 5e-6, -5e-6, 4.999999e-6, -4.999999e-6, 5.000001e-6, -5.000001e-6, 1e-6,
                            -1e-6, 9.999995, -9.999995, 99999.999995, 99999.9999949, 0.99999499999999,
                            std::numeric_limits<double>::min(), -std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
                            0x1p45 / 1e5, std::nextafter(0x1p45 / 1e5, 0.0), 1e15, 1e15 - 1, -1e15 + 1,
                            std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
    for (double value : edges) expectAsFormatPattern(value);
}

TEST(WritePattern, RoundsTheFifteenDigitFormAsFormatPatternDoes) {
    // Each is stored a hair below the half that its 15 digits show, and rounds up.
    EXPECT_EQ(written(1.234565, Pattern::Exactly5Decimals, "."), "1.23457");
    EXPECT_EQ(written(0.123455, Pattern::Exactly5Decimals, "."), "0.12346");
    EXPECT_EQ(written(1.000005, Pattern::Exactly5Decimals, ","), "1,00001");
    EXPECT_EQ(written(9.999995, Pattern::Exactly5Decimals, "."), "10.00000");
    EXPECT_EQ(written(-99999.999995, Pattern::Exactly5Decimals, "."), "-100000.00000");
    // A negative value that rounds to zero loses its sign; one that rounds away keeps it.
    EXPECT_EQ(written(-0.000004, Pattern::Exactly5Decimals, "."), "0.00000");
    EXPECT_EQ(written(-0.000005, Pattern::Exactly5Decimals, "."), "-0.00001");
    EXPECT_EQ(written(-0.0000051, Pattern::Exactly5Decimals, "\u066B"), "-0\u066B00001");
    EXPECT_EQ(written(-1e-300, Pattern::Exactly5Decimals, "."), "0.00000");
}

TEST(WritePattern, WritesRowNumbersOfAnySizeAsFormatPatternDoes) {
    for (int number : {0, 1, 9, 10, 99, 100, 500000, 999999, 1000000, 1000001, std::numeric_limits<int>::max(),
                       -1, std::numeric_limits<int>::min()}) {
        EXPECT_EQ(written(number, Pattern::WholeNumber, "."), std::to_string(number));
        EXPECT_EQ(written(number, Pattern::WholeNumber, "."), formatPattern(number, Pattern::WholeNumber, "."));
    }
    for (double value : {999999999999999.0, 1e15, 123456789012345.0, 2.5, -2.5, 0.5, -0.4}) {
        EXPECT_EQ(written(value, Pattern::WholeNumber, "."), formatPattern(value, Pattern::WholeNumber, "."))
            << value;
    }
}

TEST(WritePattern, TheLongestTextFillsItsRoomExactly) {
    for (const char* separator : kSeparators) {
        EXPECT_EQ(formatPattern(std::numeric_limits<double>::lowest(), Pattern::Exactly5Decimals, separator).size(),
                  kLongestPatternText + std::string_view(separator).size());
        EXPECT_EQ(written(std::numeric_limits<double>::lowest(), Pattern::Exactly5Decimals, separator),
                  formatPattern(std::numeric_limits<double>::lowest(), Pattern::Exactly5Decimals, separator));
    }
}

// The shortcut itself: it must be taken for the values a table holds, or it is no shortcut,
// and declined wherever it could not be sure.
TEST(Exactly5DecimalsShortcut, IsTakenForNearlyAllTableValuesAndWritesFormatPatternsText) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> tableValue(-10, 10);
    int taken = 0;
    const int count = 100000;
    for (int i = 0; i < count; ++i) {
        const double value = tableValue(random);
        const std::string text = shortcut(value, ",");
        if (text == "(declined)") continue;
        ++taken;
        ASSERT_EQ(text, formatPattern(value, Pattern::Exactly5Decimals, ",")) << std::hexfloat << value;
    }
    EXPECT_GE(taken, count - 10);
}

TEST(Exactly5DecimalsShortcut, IsDeclinedAtHalvesAndForValuesTooLargeOrNotFinite) {
    for (const char* half : {"0.000005", "-0.000005", "1.234565", "2.000015", "12345.678905", "-0.123455"}) {
        EXPECT_FALSE(shortcutTaken(std::strtod(half, nullptr))) << half;
    }
    for (double value : {1e9, -1e12, 0x1p45 / 1e5, std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(shortcutTaken(value)) << value;
    }
    EXPECT_TRUE(shortcutTaken(0));
    EXPECT_TRUE(shortcutTaken(-0.0));
    EXPECT_TRUE(shortcutTaken(1e8 + 0.25e-5));
}

}  // namespace
