// Any bytes as another code's point file: reading ends with a table or a refusal, every point
// keeps its line, and the flow at the points is a number or no value, never an infinity.
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/solver/flow_field.h"
#include "core/studies/field_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const auto read = vorta::readFieldTable(in, "p.txt");
    if (const auto* refusal = std::get_if<vorta::Refusal>(&read)) {
        if (refusal->message.empty()) std::abort();
        return 0;
    }
    const vorta::FieldTable& table = std::get<vorta::FieldTable>(read);
    const std::size_t n = table.size();
    if (n == 0 || table.y.size() != n || table.lines.size() != n) std::abort();
    for (const auto& values : table.values) {
        if (!values.empty() && values.size() != n) std::abort();
    }
    static const vorta::FlowField field(0.1, 0.1, 1.9, 5);
    static const vorta::FlowField arc(0, 0.1, 2, -3);
    std::vector<double> u(n), v(n), Cp(n), psi(n);
    for (const vorta::FlowField* f : {&field, &arc}) {
        f->evaluate(n, table.x.data(), table.y.data(), u.data(), v.data(), Cp.data(), psi.data());
        for (std::size_t i = 0; i < n; ++i) {
            if (!std::isfinite(table.x[i]) || !std::isfinite(table.y[i])) std::abort();
            for (double value : {u[i], v[i], Cp[i], psi[i]}) {
                if (std::isinf(value)) std::abort();
            }
        }
    }
    return 0;
}
