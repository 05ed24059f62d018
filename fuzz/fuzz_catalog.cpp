// Any bytes as VORTA_Input.txt: loading ends, keeps at most 50 entries, every display text
// is one line, and an entry that is not refused for its layout holds the numbers of its
// own line and no others.
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/catalog/catalog.h"

namespace {

vorta::Catalog load(const std::string& bytes) {
    std::istringstream in(bytes);
    return vorta::loadCatalog(in);
}

// The entry's line read as a catalog of its own gives the same seven numbers.
bool holdsItsOwnLine(const vorta::CatalogEntry& entry) {
    const vorta::Catalog alone = load("1\n0\n" + entry.displayText + "\n");
    if (alone.AirfoilCount() != 1 || alone.entry(1).lineFault) return false;
    const vorta::CatalogEntry& same = alone.entry(1);
    if ((same.unreadableField == nullptr) != (entry.unreadableField == nullptr)) return false;
    for (const vorta::CatalogField& field : vorta::kCatalogFields) {
        if (same.*field.value != entry.*field.value) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vorta::Catalog catalog = load(std::string(reinterpret_cast<const char*>(data), size));
    if (catalog.AirfoilCount() > vorta::kCatalogCapacity) std::abort();
    if (!catalog.fileRead && catalog.AirfoilCount() != 0) std::abort();
    for (const vorta::CatalogEntry& entry : catalog.entries) {
        if (entry.displayText.find_first_of("\r\n") != std::string::npos) std::abort();
        if (vorta::findEntryByText(catalog, entry.shownText).value_or(0) < 1) std::abort();
        if (entry.shownText != vorta::displayTextAsUtf8(entry.displayText)) std::abort();
        if (entry.lineFault && vorta::isWellFormed(*entry.lineFault)) std::abort();  // a fault names a faulty line
        if (!entry.lineFault && !holdsItsOwnLine(entry)) std::abort();
    }
    return 0;
}
