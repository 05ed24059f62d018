#pragma once
// Where an axis of a figure gets its ticks, and what their labels say.

#include <string>
#include <string_view>
#include <vector>

namespace vorta::plots {

struct Tick {
    double value;
    std::string label;  // with the given decimal separator, as many decimals as the step has
};

// The step of 1, 2 or 5 times a power of ten that divides span into at most maxCount steps,
// and no more steps than that takes; 0 for a span that is not positive and finite.
double tickStep(double span, int maxCount);

inline constexpr int kMostTicks = 1000;

// The multiples of step from from to to, both ends included; none where they would be more
// than kMostTicks.
std::vector<Tick> ticksOfStep(double from, double to, double step, std::string_view separator);

// The ticks of [from, to] (from < to) at tickStep(to - from, maxCount).
std::vector<Tick> axisTicks(double from, double to, int maxCount, std::string_view separator);

}  // namespace vorta::plots
