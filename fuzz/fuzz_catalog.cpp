// Any bytes as VORTA_Input.txt: loading ends, keeps at most 50 entries, and every display
// text is one line.
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/catalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const vorta::Catalog catalog = vorta::loadCatalog(in);
    if (catalog.AirfoilCount() > vorta::kCatalogCapacity) std::abort();
    if (!catalog.fileRead && catalog.AirfoilCount() != 0) std::abort();
    for (const vorta::CatalogEntry& entry : catalog.entries) {
        if (entry.displayText.find_first_of("\r\n") != std::string::npos) std::abort();
        if (vorta::findEntryByText(catalog, entry.displayText).value_or(0) < 1) std::abort();
        vorta::displayTextAsUtf8(entry.displayText);
    }
    return 0;
}
