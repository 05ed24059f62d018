#include "core/catalog.h"

#include <array>
#include <fstream>

#include "core/number_text.h"

namespace vorta {

namespace {

constexpr int kFieldsPerRecord = 7;
// A record line holds seven fields and their separators; a display line longer than
// this cannot belong to a record the field pass accepted.
constexpr std::size_t kLineLengthLimit = kFieldsPerRecord * (kFieldLengthLimit + 2);

bool isBlank(int c) { return c == ' ' || c == '\t'; }
bool isLineEnd(int c) { return c == '\r' || c == '\n'; }

void skipByteOrderMark(std::istream& in) {
    static const std::string bom = "\xEF\xBB\xBF";
    std::string start;
    for (std::size_t i = 0; i < bom.size() && in.peek() != EOF; ++i) start += static_cast<char>(in.get());
    if (start == bom) return;
    in.clear();
    in.seekg(0);
}

// Consumes a line end: CR LF, LF alone or CR alone.
void consumeLineEnd(std::istream& in) {
    if (in.get() == '\r' && in.peek() == '\n') in.get();
}

// Reads comma- and line-separated fields, the way the catalog is laid out. Every field,
// with the blanks before it, is bounded by kFieldLengthLimit.
class FieldReader {
public:
    enum class Status { Read, EndOfData, TooLong };

    explicit FieldReader(std::istream& in) : in_(in) {}

    // Skips lines that hold nothing but blanks, so that empty lines between or after the
    // records are no records; the display-line pass skips the same lines.
    Status skipBlankLines() {
        std::size_t skipped = 0;
        while (isBlank(in_.peek()) || isLineEnd(in_.peek())) {
            if (++skipped > kFieldLengthLimit) return Status::TooLong;
            if (isLineEnd(in_.peek())) consumeLineEnd(in_);
            else in_.get();
        }
        return in_.peek() == EOF ? Status::EndOfData : Status::Read;
    }

    Status read(std::string& field) {
        field.clear();
        std::size_t length = 0;
        while (isBlank(in_.peek())) {
            in_.get();
            if (++length > kFieldLengthLimit) return Status::TooLong;
        }
        if (in_.peek() == EOF) return Status::EndOfData;
        if (in_.peek() == '"') return readQuoted(field, length);
        while (in_.peek() != EOF && in_.peek() != ',' && !isLineEnd(in_.peek())) {
            if (++length > kFieldLengthLimit) return Status::TooLong;
            field += static_cast<char>(in_.get());
        }
        while (!field.empty() && isBlank(field.back())) field.pop_back();
        consumeSeparator();
        return Status::Read;
    }

private:
    // A quoted field runs to the next double quote; what follows it up to the separator is dropped.
    Status readQuoted(std::string& field, std::size_t length) {
        in_.get();
        while (in_.peek() != EOF && in_.peek() != '"') {
            if (++length > kFieldLengthLimit) return Status::TooLong;
            field += static_cast<char>(in_.get());
        }
        in_.get();
        while (in_.peek() != EOF && in_.peek() != ',' && !isLineEnd(in_.peek())) {
            if (++length > kFieldLengthLimit) return Status::TooLong;
            in_.get();
        }
        consumeSeparator();
        return Status::Read;
    }

    void consumeSeparator() {
        if (in_.peek() == ',') in_.get();
        else if (isLineEnd(in_.peek())) consumeLineEnd(in_);
    }

    std::istream& in_;
};

const std::array<CatalogField, kFieldsPerRecord> kFieldOrder = {
    CatalogField::Delta, CatalogField::Gama, CatalogField::xDltC, CatalogField::Tau,
    CatalogField::F,     CatalogField::G,    CatalogField::m};

double& fieldSlot(CatalogEntry& entry, CatalogField field) {
    switch (field) {
        case CatalogField::Delta: return entry.Delta;
        case CatalogField::Gama: return entry.Gama;
        case CatalogField::xDltC: return entry.xDltC;
        case CatalogField::Tau: return entry.Tau;
        case CatalogField::F: return entry.F;
        case CatalogField::G: return entry.G;
        case CatalogField::m: return entry.m;
    }
    return entry.m;
}

bool readRecord(FieldReader& reader, CatalogEntry& entry) {
    if (reader.skipBlankLines() != FieldReader::Status::Read) return false;
    std::string text;
    for (CatalogField field : kFieldOrder) {
        if (reader.read(text) != FieldReader::Status::Read) return false;
        const std::optional<double> value = readCatalogNumber(text);
        if (value) fieldSlot(entry, field) = *value;
        else if (!entry.unreadableField) entry.unreadableField = field;
    }
    return true;
}

// The first pass: the two leading fields, then up to 50 complete records.
std::vector<CatalogEntry> readRecords(std::istream& in, bool& leadingLinesRead) {
    std::vector<CatalogEntry> records;
    FieldReader reader(in);
    std::string leading;
    FieldReader::Status status = reader.read(leading);
    if (status == FieldReader::Status::Read) status = reader.read(leading);
    leadingLinesRead = status != FieldReader::Status::EndOfData;
    if (status != FieldReader::Status::Read) return records;

    while (records.size() < static_cast<std::size_t>(kCatalogCapacity)) {
        CatalogEntry entry;
        if (!readRecord(reader, entry)) break;
        records.push_back(std::move(entry));
    }
    return records;
}

// Reads one line without its line end; false at the end of the data or past the limit.
bool readLine(std::istream& in, std::string& line) {
    line.clear();
    if (in.peek() == EOF) return false;
    while (in.peek() != EOF && !isLineEnd(in.peek())) {
        if (line.size() >= kLineLengthLimit) return false;
        line += static_cast<char>(in.get());
    }
    if (in.peek() != EOF) consumeLineEnd(in);
    return true;
}

bool isBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// The second pass: the display texts, one line per record after the two leading lines.
void readDisplayTexts(std::istream& in, std::vector<CatalogEntry>& records) {
    std::string line;
    std::size_t withText = 0;
    if (readLine(in, line) && readLine(in, line)) {
        for (CatalogEntry& entry : records) {
            std::size_t blankLines = 0;
            bool found = false;
            while (readLine(in, line)) {
                if (!isBlankLine(line)) {
                    found = true;
                    break;
                }
                if (++blankLines > kFieldLengthLimit) break;
            }
            if (!found) break;
            entry.displayText = line;
            ++withText;
        }
    }
    records.resize(withText);  // an entry without its own line is not listed
}

}  // namespace

const char* fieldName(CatalogField field) {
    switch (field) {
        case CatalogField::Delta: return "Delta";
        case CatalogField::Gama: return "Gama";
        case CatalogField::xDltC: return "xDltC";
        case CatalogField::Tau: return "Tau";
        case CatalogField::F: return "F";
        case CatalogField::G: return "G";
        case CatalogField::m: return "m";
    }
    return "";
}

Catalog loadCatalog(std::istream& in) {
    Catalog catalog;
    if (!in) return catalog;
    skipByteOrderMark(in);
    catalog.entries = readRecords(in, catalog.fileRead);
    if (!catalog.fileRead) {
        catalog.entries.clear();
        return catalog;
    }
    in.clear();
    in.seekg(0);
    skipByteOrderMark(in);
    readDisplayTexts(in, catalog.entries);
    return catalog;
}

Catalog loadCatalogFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return Catalog{};
    return loadCatalog(in);
}

std::optional<int> findEntryByText(const Catalog& catalog, std::string_view text) {
    std::optional<int> found;
    for (int k = 1; k <= catalog.AirfoilCount(); ++k) {
        if (catalog.entry(k).displayText == text) found = k;
    }
    return found;
}

}  // namespace vorta
