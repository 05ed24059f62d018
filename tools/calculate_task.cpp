// Calculating an entry and writing it as the window's result file or in a data format.
#include <iostream>
#include <variant>

#include "core/numbers/number_text.h"
#include "core/output/data_formats.h"
#include "core/output/result_file.h"
#include "locale/decimal_separator.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

std::string defaultOutput(const Options& o) {
    if (o.output) return *o.output;
    return o.format == Format::Legacy ? kResultFileName : "-";
}

DataFormat dataFormat(Format format) {
    switch (format) {
        case Format::Dat:
            return DataFormat::Dat;
        case Format::Csv:
            return DataFormat::Csv;
        default:
            return DataFormat::Json;
    }
}

}  // namespace

int calculateEntry(const Catalog& catalog, int k, const Options& o) {
    auto result = calculate(catalog, k, o.points, o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&result)) return refuse(refusal->message);
    const Calculation& calculation = std::get<Calculation>(result);
    const std::string separator = regionalDecimalSeparator();
    const std::string output = defaultOutput(o);
    const int status = writeOutput(output, [&](const ByteSink& sink) {
        if (o.format == Format::Legacy) {
            return writeResultFile(catalog.entry(k), calculation, static_cast<Layout>(o.layout), separator,
                                   sink);
        }
        return writeContour(dataFormat(o.format), catalog, calculation, sink);
    });
    if (status != kSuccess || output == "-") return status;
    const Coefficients& c = calculation.solution.coefficients;
    std::cout << "CL = " << formatRounded(c.CL, 3, separator) << '\n'
              << "CMc/4 = " << formatRounded(c.CMc4, 3, separator) << '\n'
              << "Alfa0 = " << formatRounded(c.Alfa0, 2, separator) << '\n';
    return kSuccess;
}

}  // namespace vorta::run
