#pragma once
// Splits a fuzzer's bytes into the texts of a catalog entry and the two input fields.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/calculation/calculation.h"
#include "core/numbers/number_text.h"

namespace fuzz {

// Keeps each run short: the solver's loop and the table rows are the same for any count.
constexpr double kLargestPointCount = 300;

// The next line of the input, or the rest when there is no line feed.
inline std::string_view nextLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

// Lines: F, G, m (catalog fields), then the point count and the angle (input fields).
// Returns no value for point counts above largestPointCount.
inline std::optional<std::variant<vorta::Calculation, vorta::Refusal>> calculateFrom(
    const uint8_t* data, std::size_t size, vorta::Catalog& catalog, double largestPointCount = kLargestPointCount) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    vorta::CatalogEntry entry;
    for (const char* name : {"F", "G", "m"}) {
        const vorta::CatalogField* field = nullptr;
        for (const vorta::CatalogField& f : vorta::kCatalogFields) {
            if (std::string_view(f.name) == name) field = &f;
        }
        const std::optional<double> value = vorta::readCatalogNumber(nextLine(rest));
        if (value) entry.*field->value = *value;
        else if (!entry.unreadableField) entry.unreadableField = field;
    }
    const std::string_view points = nextLine(rest);
    const std::string_view angle = nextLine(rest);
    if (vorta::readFieldNumber(points) > largestPointCount) return std::nullopt;
    catalog.fileRead = true;
    catalog.entries = {entry};
    return vorta::calculate(catalog, 1, points, angle);
}

}  // namespace fuzz
