// Any bytes as another code's pressure file: reading ends with a table or a refusal, and a
// comparison accounts for every point, with finite numbers only.
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/pressure_compare.h"
#include "core/solver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const auto table = vorta::readPressureTable(in, "cp.txt");
    if (const auto* refusal = std::get_if<vorta::Refusal>(&table)) {
        if (refusal->message.empty()) std::abort();
        return 0;
    }
    const auto& points = std::get<std::vector<vorta::MeasuredPoint>>(table);
    if (points.empty()) std::abort();
    if (points.size() > 200) return 0;  // each run short: the matching is the same for any count
    static const vorta::SectionSurface surface(0.1, 0.1, 1.9, 1, 5);
    const vorta::Comparison comparison = vorta::comparePressure(
        points,
        [](double Theta) {
            const vorta::SurfacePoint p = surface.at(Theta);
            return vorta::ExactPoint{p.x, p.y, 1 - p.Cu};
        },
        1);
    if (comparison.rows.size() + comparison.skipped.size() != points.size()) std::abort();
    for (const vorta::ComparedPoint& row : comparison.rows) {
        if (!std::isfinite(row.CpExact) || !std::isfinite(row.x)) std::abort();
    }
    return 0;
}
