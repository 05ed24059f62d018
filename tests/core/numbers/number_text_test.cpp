#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "core/numbers/number_text.h"

using namespace vorta;

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct ReadCase {
    const char* text;
    double value;
};

TEST(ReadFieldNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
    const ReadCase cases[] = {
        {"51", 51},      {"51abc", 51},   {"5 1", 51},      {"", 0},         {"abc", 0},     {"51.7", 51.7},
        {"2,5", 2},      {"-4", -4},      {"1E1", 10},      {"1e1", 10},     {"1D2", 100},   {"+.5", 0.5},
        {"1.2.3", 1.2},  {"&H10", 16},    {"&hff", 255},    {"&O17", 15},    {"&H", 0},      {"1E", 1},
        {"1E+", 1},      {"-", 0},        {".", 0},         {" \t-4\n", -4}, {"1E-400", 0},  {"E5", 0},
        {"0012", 12},    {"1.5E-2", 0.015}};
    for (const ReadCase& c : cases) {
        EXPECT_DOUBLE_EQ(readFieldNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ReadFieldNumber, NumbersBeyondTheRangeOfADoubleReadAsInfinite) {
    EXPECT_EQ(readFieldNumber("1E400"), kInfinity);
    EXPECT_EQ(readFieldNumber("-1D400"), -kInfinity);
    EXPECT_EQ(readFieldNumber("1E99999999999999999999999"), kInfinity);
    EXPECT_EQ(readFieldNumber("0.0000000001E-99999999999999999999999"), 0);
    // Exponents at the very end of a 64-bit integer, found by fuzzing.
    EXPECT_EQ(readFieldNumber("1E00000000000000000000000000000009223372036854775807-0000"), kInfinity);
    EXPECT_EQ(readFieldNumber("5" + std::string(400, '0') + "E9223372036854775807"), kInfinity);
    EXPECT_EQ(readFieldNumber("0.5E-9223372036854775808"), 0);
}

TEST(ReadCatalogNumber, TheWholeTrimmedFieldMustBeANumber) {
    EXPECT_EQ(readCatalogNumber("1.5E-2"), 0.015);
    EXPECT_EQ(readCatalogNumber("  0.12  "), 0.12);
    EXPECT_EQ(readCatalogNumber(""), 0.0);
    EXPECT_EQ(readCatalogNumber("   "), 0.0);
    EXPECT_EQ(readCatalogNumber("-0.5"), -0.5);
    EXPECT_EQ(readCatalogNumber("+2"), 2.0);
    EXPECT_EQ(readCatalogNumber("1E400"), kInfinity);
    for (const char* text : {"abc", "12abc", "1.2.3", ".", "1D2", "&H10", "1 2", "--1", "0,5"}) {
        EXPECT_FALSE(readCatalogNumber(text).has_value()) << text;
    }
}

// The strict forms a command line takes, and the regional comma the window reads.
TEST(PlainNumbers, OnlyTheWholeTextAsANumber) {
    for (const char* text : {"4.5", "-2", "+1e-3", ".5", "5.", "1E400", "0012"}) EXPECT_TRUE(isPlainDecimal(text)) << text;
    for (const char* text : {"", " 4", "4 ", "4 5", "4,5", "abc", "nan", "inf", "1e", "1D2", "&H10", "--1", "."}) {
        EXPECT_FALSE(isPlainDecimal(text)) << text;
    }
    for (const char* text : {"161", "+51", "007"}) EXPECT_TRUE(isPlainWholeNumber(text)) << text;
    for (const char* text : {"", "+", "-5", "1 61", "51abc", "51.0", "1e3"}) EXPECT_FALSE(isPlainWholeNumber(text)) << text;
}

TEST(DecimalCommaAsPoint, ReadsACommaDecimalAndLeavesAnyOtherText) {
    const struct {
        const char* text;
        const char* result;
    } cases[] = {{"4,5", "4.5"},       {"4, 5", "4.5"},       {",5", ".5"},          {"-4,5E1", "-4.5E1"},
                 {"+4,5d-1", "+4.5d-1"}, {"4,5,6", "4,5,6"},   {"1.234,5", "1.234,5"}, {"4,5abc", "4,5abc"},
                 {"4,", "4,"},         {"4,5E", "4,5E"},      {"4.5", "4.5"},        {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(withDecimalCommaAsPoint(c.text), c.result) << c.text;
}

TEST(ShortestText, ReadsBackAsTheSameDouble) {
    EXPECT_EQ(shortestText(0.1), "0.1");
    EXPECT_EQ(shortestText(-2.5), "-2.5");
    EXPECT_EQ(shortestText(1e-5), "1e-05");
    EXPECT_EQ(shortestText(0), "0");
    EXPECT_EQ(shortestText(-0.0), "0");
    EXPECT_EQ(shortestText(-2.5, ","), "-2,5");
    for (double value : {0.1 + 0.2, 1 / 3.0, -1e-300, 123456.789e10, 4.9e-324}) {
        EXPECT_EQ(std::strtod(shortestText(value).c_str(), nullptr), value);
    }
}

// Selig order: from the trailing edge over the upper surface (points N1 down to the nose) to
// the leading edge and back along the lower surface, every double exact.
TEST(SixDigits, ForPeopleWithTrailingZerosKept) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "0.00000"},          {1e-10, "1.00000e-10"},      {0.0001, "0.000100000"},
                 {-0.36417999999999995, "-0.364180"}, {123456.7, "123457"}, {999999.7, "1.00000e+06"}};
    for (const auto& c : cases) EXPECT_EQ(sixDigits(c.value, "."), c.text) << c.value;
    EXPECT_EQ(sixDigits(0.5, ","), "0,500000");
}

struct PatternCase {
    double value;
    Pattern pattern;
    const char* text;
};

TEST(FormatPattern, WritesTheFourPatternsRoundingHalvesAwayFromZero) {
    const PatternCase cases[] = {
        {0.1, Pattern::UpTo2Decimals, "0.1"},
        {0.256, Pattern::UpTo2Decimals, "0.26"},
        {0.05, Pattern::UpTo2Decimals, "0.05"},
        {10, Pattern::UpTo2Decimals, "10."},
        {0, Pattern::UpTo2Decimals, "0."},
        {2.675, Pattern::UpTo2Decimals, "2.68"},  // decided on 2.675, not the binary 2.67499...
        {0.125, Pattern::UpTo2Decimals, "0.13"},
        {-0.125, Pattern::UpTo2Decimals, "-0.13"},
        {0.999, Pattern::UpTo2Decimals, "1."},
        {-0.001, Pattern::UpTo2Decimals, "0."},
        {0.0123, Pattern::UpTo5Decimals, "0.0123"},
        {0.1234567, Pattern::UpTo5Decimals, "0.12346"},
        {2, Pattern::UpTo5Decimals, "2."},
        {1, Pattern::Exactly5Decimals, "1.00000"},
        {0.5, Pattern::Exactly5Decimals, "0.50000"},
        {-0.04, Pattern::Exactly5Decimals, "-0.04000"},
        {12.3456789, Pattern::Exactly5Decimals, "12.34568"},
        {0.000005, Pattern::Exactly5Decimals, "0.00001"},
        {-0.000001, Pattern::Exactly5Decimals, "0.00000"},
        {1e-300, Pattern::Exactly5Decimals, "0.00000"},
        {99.999999, Pattern::Exactly5Decimals, "100.00000"},
        {1, Pattern::WholeNumber, "1"},
        {51, Pattern::WholeNumber, "51"},
        {1234, Pattern::WholeNumber, "1234"},
        {2.5, Pattern::WholeNumber, "3"},
        {0, Pattern::WholeNumber, "0"},
    };
    for (const PatternCase& c : cases) {
        EXPECT_EQ(formatPattern(c.value, c.pattern, "."), c.text) << c.value;
    }
}

TEST(FormatPattern, UsesTheGivenSeparatorAndNoGrouping) {
    EXPECT_EQ(formatPattern(0.1, Pattern::UpTo2Decimals, ","), "0,1");
    EXPECT_EQ(formatPattern(10, Pattern::UpTo2Decimals, ","), "10,");
    EXPECT_EQ(formatPattern(1, Pattern::Exactly5Decimals, ","), "1,00000");
    EXPECT_EQ(formatPattern(1234567.5, Pattern::Exactly5Decimals, ","), "1234567,50000");
}

struct RoundedCase {
    double value;
    int decimals;
    const char* text;
};

TEST(FormatRounded, RoundsTiesToEvenAndWritesThePlainestForm) {
    const RoundedCase cases[] = {
        {1.2793713, 3, "1.279"}, {-5.1944289, 2, "-5.19"}, {-0.0711, 3, "-0.071"}, {0, 3, "0"},
        {-0.166311, 3, "-0.166"}, {2.5, 0, "2"},           {3.5, 0, "4"},          {-2.5, 0, "-2"},
        {1.0005, 3, "1"},        {1.0015, 3, "1.002"},     {0.125, 2, "0.12"},     {0.1251, 2, "0.13"},
        {-0.0004, 3, "0"},       {-0.4, 0, "0"},           {9.9996, 3, "10"},      {0.5, 0, "0"},
        {-2.6025, 2, "-2.6"},    {1e20, 3, "1E+20"},       {-1.5e300, 0, "-1.5E+300"},
        {51, kAllDigits, "51"},  {0.8123, kAllDigits, "0.8123"}, {0.1 + 0.2, kAllDigits, "0.3"},
        {1e-20, kAllDigits, "1E-20"},
    };
    for (const RoundedCase& c : cases) {
        EXPECT_EQ(formatRounded(c.value, c.decimals, "."), c.text) << c.value << " at " << c.decimals;
    }
    EXPECT_EQ(formatRounded(1.2793713, 3, ","), "1,279");
}

TEST(FormatBare, PutsABlankOrAMinusBeforeAndABlankAfter) {
    EXPECT_EQ(formatBare(51, kAllDigits, "."), " 51 ");
    EXPECT_EQ(formatBare(0.8123, 4, "."), " 0.8123 ");
    EXPECT_EQ(formatBare(-3.4567, 2, "."), "-3.46 ");
    EXPECT_EQ(formatBare(-0.4, 0, "."), " 0 ");
    EXPECT_EQ(formatBare(0.5, 4, ","), " 0,5 ");
}

}  // namespace
