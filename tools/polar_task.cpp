// A polar: the coefficients of an entry, or of every entry, over a range of angles.
#include <variant>
#include <vector>

#include "core/studies/polar.h"
#include "locale/decimal_separator.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

// Every entry of the range, or entry k; an entry that is refused is said on stderr and skipped.
int writePolars(const Catalog& catalog, const std::optional<int>& k, const Options& o) {
    const auto angles = anglesOfRange(*o.alphaRange, "--alpha-range");
    if (const auto* refusal = std::get_if<Refusal>(&angles)) return refuse(refusal->message);

    std::vector<PolarRow> rows;
    int status = kSuccess;
    const int first = k.value_or(1), last = k.value_or(catalog.AirfoilCount());
    for (int entry = first; entry <= last; ++entry) {
        auto polar = polarOf(catalog, entry, std::get<std::vector<double>>(angles));
        if (const auto* refusal = std::get_if<Refusal>(&polar)) {
            status = refuse(refusal->message);
            continue;
        }
        const auto& entryRows = std::get<std::vector<PolarRow>>(polar);
        rows.insert(rows.end(), entryRows.begin(), entryRows.end());
    }
    if (rows.empty()) return status;
    const PolarFormat format = o.format == Format::Csv    ? PolarFormat::Csv
                               : o.format == Format::Json ? PolarFormat::Json
                                                          : PolarFormat::Text;
    const std::string separator = regionalDecimalSeparator();
    const int written = writeOutput(o.output.value_or("-"), [&](const ByteSink& sink) {
        return writePolar(format, rows, separator, sink);
    });
    return written != kSuccess ? written : status;
}

}  // namespace vorta::run
