#pragma once
// The airfoil catalog read from VORTA_Input.txt: two leading one-field lines,
// then one record of seven comma-separated numbers per line.

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorta {

inline constexpr int kCatalogCapacity = 50;
// A field longer than this, counting the blanks around it, ends the record list.
inline constexpr std::size_t kFieldLengthLimit = 4096;

inline constexpr const char* kCatalogFileName = "VORTA_Input.txt";
inline constexpr const char* kMissingCatalogMessage =
    "No existing VORTA_Input.txt, Please use program VortaDesign to create this file";

// The seven fields of a record, in file order.
enum class CatalogField { Delta, Gama, xDltC, Tau, F, G, m };
const char* fieldName(CatalogField field);

struct CatalogEntry {
    std::string displayText;  // the record's line exactly as the file holds it, without its line end
    double Delta = 0, Gama = 0, xDltC = 0, Tau = 0, F = 0, G = 0, m = 0;
    // The first field whose text is not a number; such an entry is listed but cannot be calculated.
    std::optional<CatalogField> unreadableField;
};

struct Catalog {
    // False when the file is missing, cannot be opened, or ends before its two leading lines.
    bool fileRead = false;
    std::vector<CatalogEntry> entries;  // entry k (numbered from 1) is entries[k - 1]

    int AirfoilCount() const { return static_cast<int>(entries.size()); }
    const CatalogEntry& entry(int k) const { return entries.at(static_cast<std::size_t>(k - 1)); }
};

// Reads a catalog from a seekable stream. It reads fields for the records and then,
// from the start again, whole lines for the display texts; an entry is kept only when
// both its record and its line exist. Reads no more than 50 records and their lines need.
Catalog loadCatalog(std::istream& in);
Catalog loadCatalogFile(const std::string& path);

// The number of the last entry whose display text equals text exactly, if any.
std::optional<int> findEntryByText(const Catalog& catalog, std::string_view text);

// The display text as valid UTF-8: kept as it is when it already is UTF-8, otherwise read
// as Windows-1252, the encoding of the desktop that writes these files.
std::string displayTextAsUtf8(std::string_view raw);

}  // namespace vorta
