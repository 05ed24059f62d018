// Any bytes as another code's pressure file: reading ends with a table or a refusal, and a
// comparison accounts for every point (compared, skipped, or in a run whose surface could not
// be told, which refuses it), with finite numbers only, against a Karman-Trefftz section, the
// circular arc and a section that bulges past x = 1 in turn.
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/studies/pressure_compare.h"
#include "core/solver/solver.h"

namespace {

const vorta::SectionSurface& sectionFor(std::size_t size) {
    static const vorta::SectionSurface sections[] = {
        {0.1, 0.1, 1.9, 1, 5}, {0, 0.1, 2, 1, 3}, {0.3, 0.2, 1.01, 1, 5}};
    return sections[size % 3];
}

bool finiteText(const std::string& text) {
    return text.find("inf") == std::string::npos && text.find("nan") == std::string::npos;
}

}  // namespace

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
    const vorta::SectionSurface& surface = sectionFor(size);
    const vorta::Comparison comparison = vorta::comparePressure(
        points,
        [&](double Theta) {
            const vorta::SurfacePoint p = surface.at(Theta);
            return vorta::ExactPoint{p.x, p.y, 1 - p.Cu};
        },
        1 - surface.at(0).Cu);
    if (comparison.rows.size() + comparison.skipped.size() + comparison.undecidedPoints != points.size()) {
        std::abort();
    }
    for (const vorta::ComparedPoint& row : comparison.rows) {
        if (!std::isfinite(row.CpExact) || !std::isfinite(row.CpFile) || !std::isfinite(row.x)) std::abort();
    }
    const auto refusal = vorta::undecidedRefusal(comparison, {"cp.txt"}, ".");
    if (refusal.has_value() != (comparison.undecidedPoints > 0)) std::abort();
    if (refusal && !finiteText(refusal->message)) std::abort();
    for (const vorta::RunDecision& run : comparison.runs) {
        if (!finiteText(vorta::runNote(run, {"cp.txt"}, "."))) std::abort();
    }
    if (!finiteText(vorta::comparisonSummary(comparison, "."))) std::abort();
    std::string csv;
    vorta::writeComparison(vorta::ComparisonFormat::Csv, comparison, ".", [&](std::string_view bytes) {
        csv.append(bytes);
        return 0;
    });
    if (!finiteText(csv)) std::abort();
    return 0;
}
