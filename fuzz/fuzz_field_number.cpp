// Any text typed into a field or found in a catalog field reads as a number or as nothing,
// never as NaN, and writes back without fault. A decimal comma found in a field names the
// number as typed, and the number it suggests reads as that number with a point.
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "core/numbers/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double field = vorta::readFieldNumber(text);
    if (std::isnan(field)) std::abort();
    const std::optional<double> catalogValue = vorta::readCatalogNumber(text);
    if (catalogValue && std::isnan(*catalogValue)) std::abort();
    if (const auto comma = vorta::findDecimalComma(text)) {
        if (comma->written.find(',') == std::string::npos) std::abort();
        if (comma->meant && comma->meant->find(',') != std::string::npos) std::abort();
        if (comma->meant && vorta::readFieldNumber(comma->written) != field) std::abort();
    }
    if (std::isfinite(field)) {
        for (int decimals : {vorta::kAllDigits, 0, 2, 3, 4}) {
            const std::string rounded = vorta::formatRounded(field, decimals, ",");
            if (rounded.empty() || rounded.find_first_of("ni") != std::string::npos) std::abort();
        }
        vorta::formatPattern(field, vorta::Pattern::Exactly5Decimals, ".");
        vorta::formatPattern(field, vorta::Pattern::UpTo2Decimals, ".");
    }
    return 0;
}
