#pragma once
// The airfoil catalog read from VORTA_Input.txt: two leading one-field lines,
// then one record of seven comma-separated numbers per line.

#include <array>
#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorta {

inline constexpr int kCatalogCapacity = 50;
inline constexpr int kFieldsPerRecord = 7;
// A field longer than this, counting the blanks around it, ends the record list.
inline constexpr std::size_t kFieldLengthLimit = 4096;

inline constexpr const char* kCatalogFileName = "VORTA_Input.txt";
inline constexpr const char* kMissingCatalogMessage =
    "No existing VORTA_Input.txt, Please use program VortaDesign to create this file";

// What one line of the file holds, split by the field rules on its own.
struct LineShape {
    int line = 0;        // numbered from 1
    int fieldCount = 0;  // an empty line holds one empty field
    bool unclosedQuote = false;
    bool leading = false;  // one of the two leading lines, which hold one field each
};

// True when the line is laid out as its place in the file asks: one field on a leading
// line, seven on a record line, and no quote left open.
bool isWellFormed(const LineShape& shape);

struct CatalogEntry;

// A record field: its name and where an entry keeps it, in file order.
struct CatalogField {
    const char* name;
    double CatalogEntry::*value;
};

struct CatalogEntry {
    std::string displayText;  // the record's line exactly as the file holds it, without its line end
    std::string shownText;    // displayText as valid UTF-8, as the list shows it
    int line = 0;             // the file line of displayText
    double Delta = 0, Gama = 0, xDltC = 0, Tau = 0, F = 0, G = 0, m = 0;
    // The first field whose text is not a number; such an entry is listed but cannot be calculated.
    const CatalogField* unreadableField = nullptr;
    // Set when the seven numbers are not exactly those of the entry's own line: the first
    // line, from the top of the file down to this entry's, whose layout is at fault.
    std::optional<LineShape> lineFault;
};

extern const std::array<CatalogField, kFieldsPerRecord> kCatalogFields;

// Where reading ended before the end of the file, and why: the lines from there on are not read.
struct ReadingStop {
    int line = 0;
    std::string why;  // "a field there holds more than 4096 characters"
};

struct Catalog {
    // False when the file is missing, cannot be opened, or ends before its two leading lines.
    bool fileRead = false;
    std::string fileName = kCatalogFileName;  // as messages name it
    std::vector<CatalogEntry> entries;        // entry k (numbered from 1) is entries[k - 1]
    std::optional<ReadingStop> readingStop;

    int AirfoilCount() const { return static_cast<int>(entries.size()); }
    const CatalogEntry& entry(int k) const { return entries.at(static_cast<std::size_t>(k - 1)); }
};

// Reads a catalog from a seekable stream. It reads fields for the records and then,
// from the start again, whole lines for the display texts; an entry is kept only when
// both its record and its line exist. Reads no more than 50 records and their lines need.
Catalog loadCatalog(std::istream& in);
// A path that is no regular file (missing, a directory, a FIFO or a device, which could not
// be read twice or would wait for a writer) gives a catalog whose file was not read.
Catalog loadCatalogFile(const std::string& path);

// Why the catalog at path cannot be read, in words that follow its name in a message ("does
// not exist", "is a directory, not a file"), or no value when it is a regular file that opens.
std::optional<std::string> catalogFileProblem(const std::string& path);

// Calls see with the number and text of each line of a catalog file, from the first up to
// lastLine, as loading counts lines: a line ends with CR LF, LF alone or CR alone, and a
// UTF-8 byte order mark at the start is skipped. A line longer than a record line can be is
// handed out cut at that length, and ends the walk, as it ends loading. The walk also ends
// when see returns false.
void forEachCatalogLine(std::istream& in, int lastLine,
                        const std::function<bool(int, std::string_view)>& see);

// What one line holds, split into its fields by the field rules: each field's text (blanks
// around it dropped, quotes taken off), and whether a quote is left open.
struct LineFields {
    std::vector<std::string> fields;
    bool unclosedQuote = false;
};
LineFields fieldsOfLine(std::string_view text);

// The number of the last entry whose shown text equals text exactly, if any.
std::optional<int> findEntryByText(const Catalog& catalog, std::string_view text);

// The display text as valid UTF-8: kept as it is when it already is UTF-8, otherwise read
// as Windows-1252, the encoding of the desktop that writes these files.
std::string displayTextAsUtf8(std::string_view raw);

}  // namespace vorta
