// The ticks of a figure's axes: their step, their values and their labels.
#include "plots/axis_ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using vorta::plots::axisTicks;
using vorta::plots::ticksOfStep;
using vorta::plots::tickStep;

TEST(AxisTicks, StepIsOneTwoOrFiveTimesAPowerOfTen) {
    const struct {
        double span;
        int maxCount;
        double step;
    } cases[] = {
        {1.2, 12, 0.1}, {1.2, 5, 0.5},   {1.2, 3, 0.5},    {0.3, 3, 0.1}, {2.6, 10, 0.5}, {16, 8, 2},
        {16, 9, 2},     {0.04, 4, 0.01}, {7e-5, 7, 1e-5},  {1e6, 4, 5e5}, {1, 1, 1},      {1, 0, 1},
        {0.0, 5, 0},    {-1, 5, 0},      {INFINITY, 5, 0}, {NAN, 5, 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(tickStep(c.span, c.maxCount), c.step, c.step * 1e-12) << c.span << " in " << c.maxCount;
    }
}

// Against the definition: the least of 1, 2, 5 times a power of ten that takes at most
// maxCount steps, so never more than two and a half times the least step.
TEST(AxisTicks, StepIsTheLeastNiceStepThatFits) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> exponent(-8, 8);
    std::uniform_int_distribution<int> count(2, 30);
    for (int i = 0; i < 10000; ++i) {
        const double span = std::pow(10.0, exponent(random));
        const int maxCount = count(random);
        const double step = tickStep(span, maxCount);
        const double least = span / maxCount;
        ASSERT_GE(step, least * (1 - 1e-9)) << span << " in " << maxCount;
        ASSERT_LE(step, 2.5 * least * (1 + 1e-9)) << span << " in " << maxCount;
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-12));
        ASSERT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << step;
    }
}

TEST(AxisTicks, LabelsShowEachMultipleWithTheSeparator) {
    std::vector<std::string> labels;
    for (const auto& tick : ticksOfStep(-0.1, 1.1, 0.1, ",")) labels.push_back(tick.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"-0,1", "0", "0,1", "0,2", "0,3", "0,4", "0,5", "0,6", "0,7",
                                                "0,8", "0,9", "1", "1,1"}));

    labels.clear();
    for (const auto& tick : ticksOfStep(-0.19, 0.61, 0.2, ".")) labels.push_back(tick.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "0.2", "0.4", "0.6"}));

    labels.clear();
    for (const auto& tick : axisTicks(-0.175, -0.135, 4, ".")) labels.push_back(tick.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"-0.17", "-0.16", "-0.15", "-0.14"}));
}

TEST(AxisTicks, ZeroHasNoSignAndValuesAreTheMultiples) {
    const auto ticks = ticksOfStep(-3e-7, 3e-7, 1e-7, ".");
    ASSERT_EQ(ticks.size(), 7u);
    EXPECT_EQ(ticks[3].label, "0");
    EXPECT_FALSE(std::signbit(ticks[3].value));
    EXPECT_EQ(ticks[0].label, "-0.0000003");
    for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_DOUBLE_EQ(ticks[i].value, (double(i) - 3) * 1e-7);
}

TEST(AxisTicks, NoAxisForAStepTooSmallOrNotANumber) {
    EXPECT_TRUE(ticksOfStep(0, 1, 1e-6, ".").empty());
    EXPECT_TRUE(ticksOfStep(0, 1, 0, ".").empty());
    EXPECT_TRUE(ticksOfStep(0, NAN, 0.1, ".").empty());
    EXPECT_TRUE(ticksOfStep(0, 1, NAN, ".").empty());
    EXPECT_EQ(ticksOfStep(0, 999, 1, ".").size(), 1000u);
}

}  // namespace
