// A checked calculation either refuses with a message or yields only finite numbers, a
// closed contour and the point count asked for.
#include <cmath>
#include <cstdlib>

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vorta::Catalog catalog;
    const auto result = fuzz::calculateFrom(data, size, catalog);
    if (!result) return 0;
    if (const auto* refusal = std::get_if<vorta::Refusal>(&*result)) {
        if (refusal->message.empty()) std::abort();
        return 0;
    }
    const vorta::Calculation& c = std::get<vorta::Calculation>(*result);
    const vorta::Solution& s = c.solution;
    const std::size_t slots = static_cast<std::size_t>(c.N1) + 1;
    if (c.N1 < vorta::kMinPoints || s.x.size() != slots || s.y.size() != slots || s.Cu.size() != slots) std::abort();
    if (!vorta::isFinite(s)) std::abort();
    if (s.x[1] != s.x[c.N1] || s.y[1] != s.y[c.N1] || s.Cu[1] != s.Cu[c.N1]) std::abort();
    for (double cu : s.Cu) {
        if (cu < 0) std::abort();
    }
    for (const auto* values : {&s.x, &s.y, &s.Cu}) {
        for (double v : *values) {
            if (std::fabs(v) > 3.4e38) std::abort();  // the plots draw in single precision
        }
    }
    return 0;
}
