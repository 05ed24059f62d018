// Polars: the angles of a range, stepped as decimals, and the coefficients at each.
#include "core/studies/polar.h"
#include "support/catalog_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <variant>

using namespace vorta;

namespace {

const Catalog kCatalog = catalogOf("0.1,0.1,0.3,18,0.1,0.1,1.9\r\n0,0.1,0,0,0,0.05,2\r\n");

Calculation calculated(int k, const char* points, const char* angle) {
    return std::get<Calculation>(calculate(kCatalog, k, points, angle));
}

std::vector<double> anglesOf(const char* range) {
    const auto result = anglesOfRange(range, "--alpha-range");
    if (const auto* refusal = std::get_if<Refusal>(&result)) ADD_FAILURE() << refusal->message;
    const auto* angles = std::get_if<std::vector<double>>(&result);
    return angles ? *angles : std::vector<double>{};
}

std::string refusalOf(const char* range) {
    const auto result = anglesOfRange(range, "--alpha-range");
    const auto* refusal = std::get_if<Refusal>(&result);
    return refusal ? refusal->message : "";
}

TEST(AngleRange, StepsByDecimalsFromFromToTo) {
    EXPECT_EQ(anglesOf("-4:12:0.5").size(), 33u);
    EXPECT_EQ(anglesOf("-4:12:0.5").back(), 12);
    const std::vector<double> tenths = anglesOf("-4:-3:0.1");
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(tenths[3], -3.7);  // not -3.6999999999999997
    EXPECT_EQ(tenths.back(), -3);
    EXPECT_EQ(anglesOf("10:0:-2.5"), (std::vector<double>{10, 7.5, 5, 2.5, 0}));
    EXPECT_EQ(anglesOf("3:3:1"), std::vector<double>{3});
    EXPECT_EQ(anglesOf("0:1:0.3"), (std::vector<double>{0, 0.3, 0.6, 0.9}));
    EXPECT_EQ(anglesOf("-10:10:0.002").size(), 10001u);
}

TEST(AngleRange, StepsByDecimalsWrittenWithAnExponentToo) {
    EXPECT_EQ(anglesOf("0.1:0.5:0.1"), (std::vector<double>{0.1, 0.2, 0.3, 0.4, 0.5}));
    EXPECT_EQ(anglesOf("1e-1:5e-1:1e-1"), anglesOf("0.1:0.5:0.1"));
    EXPECT_EQ(anglesOf("25E-1:1e1:.25e+1"), (std::vector<double>{2.5, 5, 7.5, 10}));
    EXPECT_EQ(anglesOf("-1.5e1:-0.5e1:5000e-3"), (std::vector<double>{-15, -10, -5}));
    EXPECT_EQ(anglesOf("0.300:0.9:0.30000"), (std::vector<double>{0.3, 0.6, 0.9}));
}

TEST(AngleRange, NoAngleLiesBeyondTo) {
    EXPECT_EQ(anglesOf("0:2.9999999999:1"), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(anglesOf("0:-2.9999999999:-1"), (std::vector<double>{0, -1, -2}));
    EXPECT_EQ(anglesOf("0:0.99999999999999:0.1").back(), 0.9);
    EXPECT_EQ(anglesOf("0:1:0.1").back(), 1);
    // More digits than a double holds: the angles are added as doubles, and none passes TO.
    for (const char* range : {"0:1:0.1000000000000000001", "0:0.3000000000000000001:0.1000000000000000001",
                              "1e-30:1e-29:1e-30", "-1e300:1e300:1e297"}) {
        const std::vector<double> angles = anglesOf(range);
        ASSERT_FALSE(angles.empty()) << range;
        const std::string text(range);
        const double to = std::stod(text.substr(text.find(':') + 1));
        EXPECT_LE(angles.back(), to) << range;
    }
}

// The decimal FROM + i·STEP written out and read by strtod is the reference each angle must
// equal, over ranges of up to five decimals each, written plainly or with an exponent.
TEST(AngleRange, EachAngleIsTheDoubleNearestItsDecimal) {
    std::mt19937_64 random(11);
    const auto uniform = [&](long long low, long long high) {
        return std::uniform_int_distribution<long long>(low, high)(random);
    };
    // value·10^-decimals as text, "-1.25" or "-125e-2".
    const auto decimalText = [&](long long value, int decimals, bool exponent) {
        if (exponent) return std::to_string(value) + "e-" + std::to_string(decimals);
        std::string digits = std::to_string(std::llabs(value));
        const std::size_t wanted = static_cast<std::size_t>(decimals) + 1;
        if (digits.size() < wanted) digits.insert(0, wanted - digits.size(), '0');
        digits.insert(digits.size() - decimals, ".");
        return (value < 0 ? "-" : "") + digits;
    };
    for (int trial = 0; trial < 1000; ++trial) {
        const int dFrom = static_cast<int>(uniform(0, 5)), dTo = static_cast<int>(uniform(0, 5));
        const int dStep = static_cast<int>(uniform(0, 5));
        const int finest = std::max({dFrom, dTo, dStep});
        const auto scaled = [&](long long value, int decimals) {
            for (int d = decimals; d < finest; ++d) value *= 10;
            return value;
        };
        const long long from = uniform(-99999, 99999), to = uniform(-99999, 99999);
        const long long step = uniform(1, 9999) * (uniform(0, 1) ? 1 : -1);
        const long long F = scaled(from, dFrom), T = scaled(to, dTo), S = scaled(step, dStep);
        if ((T - F < 0) != (S < 0) || (T - F) / S >= kMaxPolarAngles) continue;
        const std::string range = decimalText(from, dFrom, uniform(0, 1)) + ":" +
                                  decimalText(to, dTo, uniform(0, 1)) + ":" +
                                  decimalText(step, dStep, uniform(0, 1));
        const std::vector<double> angles = anglesOf(range.c_str());
        ASSERT_EQ(angles.size(), static_cast<std::size_t>((T - F) / S + 1)) << range;
        for (std::size_t i = 0; i < angles.size(); ++i) {
            const std::string exact = decimalText(F + static_cast<long long>(i) * S, finest, false);
            ASSERT_EQ(angles[i], std::strtod(exact.c_str(), nullptr)) << range << " angle " << i;
        }
    }
}

TEST(AngleRange, RefusesWhatIsNoRange) {
    for (const char* range : {"", "1:2", "1:2:3:4", "a:2:1", "1::1", "1,5:2:1", "1:2:1E400", "1:2:0"}) {
        EXPECT_NE(refusalOf(range).find("--alpha-range takes FROM:TO:STEP"), std::string::npos) << range;
    }
    EXPECT_NE(refusalOf("0:10:-1").find("the step must lead from FROM to TO"), std::string::npos);
    EXPECT_NE(refusalOf("-10:10:0.001").find("more than 10001 angles"), std::string::npos);
}

// The polar's coefficients are those of single calculations at the same angles.
TEST(Polar, GivesTheCoefficientsOfEachAngle) {
    const auto result = polarOf(kCatalog, 1, {-2, 0, 5});
    ASSERT_TRUE(std::holds_alternative<std::vector<PolarRow>>(result));
    const auto& rows = std::get<std::vector<PolarRow>>(result);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].entry, 1);
    EXPECT_EQ(rows[2].AlfaD, 5);
    EXPECT_EQ(rows[2].coefficients.CL, calculated(1, "51", "5").solution.coefficients.CL);
    EXPECT_NEAR(rows[2].coefficients.CL, 1.279371, 5e-7);

    std::string text;
    const ByteSink collect = [&](std::string_view block) {
        text.append(block);
        return 0;
    };
    writePolar(PolarFormat::Text, rows, ",", collect);
    EXPECT_EQ(linesOf(text, "\n")[3], "    1           5    1,279371   -0,166311     -5,1944");
    text.clear();
    writePolar(PolarFormat::Csv, rows, ",", collect);
    EXPECT_EQ(linesOf(text, "\r\n")[0], "entry,AlfaD,CL,CMc/4,Alfa0");
    EXPECT_EQ(linesOf(text, "\r\n")[3].rfind("1,5,1.27937", 0), 0u);
}

// The coefficients alone, whatever the point count a contour would have.
TEST(Polar, NeedsNoContour) {
    const auto rows = std::get<std::vector<PolarRow>>(polarOf(kCatalog, 2, {-3, 4.5}));
    for (const PolarRow& row : rows) {
        for (int N1 : {2, 50, 51, 1001}) {
            const Coefficients c = VORTA(N1, 0, 0.05, 2, 1, row.AlfaD).coefficients;
            EXPECT_EQ(row.coefficients.CL, c.CL) << N1;
            EXPECT_EQ(row.coefficients.CMc4, c.CMc4) << N1;
            EXPECT_EQ(row.coefficients.Alfa0, c.Alfa0) << N1;
        }
    }
    // A contour too large to show does not keep its coefficients from a polar.
    const Catalog huge = catalogOf("0,0,0,0,0,1e20,2\r\n");
    ASSERT_TRUE(std::holds_alternative<Refusal>(calculate(huge, 1, "51", "0")));
    const auto polar = polarOf(huge, 1, {0});
    ASSERT_TRUE(std::holds_alternative<std::vector<PolarRow>>(polar));
    EXPECT_NEAR(std::get<std::vector<PolarRow>>(polar)[0].coefficients.CL, 2 * Pi * 1e20, 1e6);
}

TEST(Polar, ACoefficientThatCannotBeShownRefusesThePolar) {
    const std::string refusal = std::string("Airfoil entry 1 cannot be calculated: ") + kResultsCannotBeShown;
    for (const char* record : {"0,0,0,0,0,1e20,2\r\n", "0,0,0,0,0.1,1e300,1.9\r\n"}) {
        const auto result = polarOf(catalogOf(record), 1, {0, 10});
        ASSERT_TRUE(std::holds_alternative<Refusal>(result)) << record;
        EXPECT_EQ(std::get<Refusal>(result).message, refusal) << record;
    }
}

TEST(Polar, AnAngleThatCannotBeCalculatedRefusesThePolar) {
    const Catalog bad = catalogOf("0.1,0.1,0.3,18,-0.1,0.1,1.9\r\n");
    const auto result = polarOf(bad, 1, {0, 1});
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
    EXPECT_EQ(std::get<Refusal>(result).message,
              "Airfoil entry 1 cannot be calculated: F must be 0 or more.");
}

}  // namespace
