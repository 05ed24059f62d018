// The exact flow at another code's points: a row of x, y, u, v, Cp and psi a point.
#include <iostream>
#include <variant>
#include <vector>

#include "core/output/field_csv.h"
#include "core/solver/flow_field.h"
#include "core/studies/field_table.h"
#include "tools/task_input.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

std::variant<FieldTable, Refusal> readPoints(const std::string& path) {
    auto input = openTableInput(path);
    if (const auto* why = std::get_if<std::string>(&input))
        return Refusal{"Cannot read the points of " + path + ": " + *why};
    const TableInput& table = std::get<TableInput>(input);
    return readFieldTable(*table.stream, table.name);
}

}  // namespace

int writeField(const Catalog& catalog, int k, const Options& o) {
    const auto angle = checkAngle(o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&angle)) return refuse(refusal->message);
    if (auto refusal = checkEntry(catalog, k)) return refuse(refusal->message);
    auto read = readPoints(*o.field);
    if (const auto* refusal = std::get_if<Refusal>(&read)) return refuse(refusal->message);
    const FieldTable& points = std::get<FieldTable>(read);

    const CatalogEntry& entry = catalog.entry(k);
    const std::size_t n = points.size();
    std::vector<double> u(n), v(n), Cp(n), psi(n);
    FlowField(entry.F, entry.G, entry.m, std::get<double>(angle))
        .evaluate(n, points.x.data(), points.y.data(), u.data(), v.data(), Cp.data(), psi.data());
    const FieldColumns columns{n,        points.x.data(), points.y.data(), u.data(),
                               v.data(), Cp.data(),       psi.data()};
    const int status = writeOutput(o.output.value_or("-"),
                                   [&](const ByteSink& sink) { return writeFieldCsv(columns, sink); });

    std::size_t inside = 0;
    for (double value : u) inside += value != value;
    if (inside > 0) {
        std::cerr << inside << (inside == 1 ? " point lies" : " points lie")
                  << " inside the section, or at a sharp leading edge, where the flow has no values; "
                  << (inside == 1 ? "its row holds" : "their rows hold") << " x and y alone.\n";
    }
    return status;
}

}  // namespace vorta::run
