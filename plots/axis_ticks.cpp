#include "plots/axis_ticks.h"

#include <algorithm>
#include <cmath>

#include "core/numbers/number_text.h"

namespace vorta::plots {

double tickStep(double span, int maxCount) {
    if (!(span > 0) || !std::isfinite(span)) return 0;
    const double least = span / std::max(1, maxCount);
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        // A hair of tolerance, so that 0.3 / 3 still takes the step 0.1.
        if (multiple * power >= least * (1 - 1e-9)) return multiple * power;
    }
    return 10 * power;
}

std::vector<Tick> ticksOfStep(double from, double to, double step, std::string_view separator) {
    std::vector<Tick> ticks;
    if (!(step > 0) || !std::isfinite(from) || !std::isfinite(to)) return ticks;
    // The decimals that show every multiple of step exactly: 0.2 needs one, 5 none.
    const int decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
    const double first = std::ceil(from / step - 1e-9), last = std::floor(to / step + 1e-9);
    // A step far too small for the range would give no axis anyone can read.
    if (!(last - first < kMostTicks)) return ticks;
    for (double i = first; i <= last; ++i) {
        const double value = unsignedZero(i * step);
        ticks.push_back({value, formatRounded(value, decimals, separator)});
    }
    return ticks;
}

std::vector<Tick> axisTicks(double from, double to, int maxCount, std::string_view separator) {
    return ticksOfStep(from, to, tickStep(to - from, maxCount), separator);
}

}  // namespace vorta::plots
