#include "core/catalog/catalog.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/catalog/catalog_text.h"
#include "core/numbers/number_text.h"

namespace vorta {

const std::array<CatalogField, kFieldsPerRecord> kCatalogFields = {{
    {"Delta", &CatalogEntry::Delta},
    {"Gama", &CatalogEntry::Gama},
    {"xDltC", &CatalogEntry::xDltC},
    {"Tau", &CatalogEntry::Tau},
    {"F", &CatalogEntry::F},
    {"G", &CatalogEntry::G},
    {"m", &CatalogEntry::m},
}};

namespace {

using namespace catalog_text;

// Where a field lies: the lines on which it starts and ends (they differ only for a quoted
// field that runs over a line end), and whether it is the first or the last field of a line.
struct FieldLines {
    int first = 0, last = 0;
    bool startsLine = false, endsLine = false;
};

// Reads comma- and line-separated fields, the way the catalog is laid out. Every field,
// with the blanks before it, is bounded by kFieldLengthLimit.
class FieldReader {
  public:
    enum class Status { Read, EndOfData, TooLong, TooManyBlanks };

    explicit FieldReader(std::istream& in) : in_(in) {}

    // The line on which the last field or run of blank lines began.
    int startLine() const { return startLine_; }
    int line() const { return in_.line(); }

    // Skips lines that hold nothing but blanks, so that empty lines between or after the
    // records are no records; the display-line pass skips the same lines.
    Status skipBlankLines() {
        std::size_t skipped = 0;
        startLine_ = in_.line();
        while (isBlank(in_.peek()) || isLineEnd(in_.peek())) {
            if (++skipped > kFieldLengthLimit) return Status::TooManyBlanks;
            if (isLineEnd(in_.peek())) {
                in_.consumeLineEnd();
                atLineStart_ = true;
            } else {
                in_.get();
            }
        }
        return in_.peek() == EOF ? Status::EndOfData : Status::Read;
    }

    Status read(std::string& field, FieldLines& lines) {
        field.clear();
        std::size_t length = 0;
        startLine_ = in_.line();
        while (isBlank(in_.peek())) {
            in_.get();
            if (++length > kFieldLengthLimit) return Status::TooLong;
        }
        if (in_.peek() == EOF) return Status::EndOfData;
        lines.first = in_.line();
        lines.startsLine = atLineStart_;
        if (in_.peek() == '"') return readQuoted(field, length, lines);
        while (in_.peek() != EOF && in_.peek() != ',' && !isLineEnd(in_.peek())) {
            if (++length > kFieldLengthLimit) return Status::TooLong;
            field += static_cast<char>(in_.get());
        }
        while (!field.empty() && isBlank(field.back())) field.pop_back();
        lines.last = in_.line();
        lines.endsLine = consumeSeparator();
        return Status::Read;
    }

  private:
    // A quoted field runs to the next double quote; what follows it up to the separator is dropped.
    Status readQuoted(std::string& field, std::size_t length, FieldLines& lines) {
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
        lines.last = in_.line();
        lines.endsLine = consumeSeparator();
        return Status::Read;
    }

    // Returns whether the field ended its line: a line end or the end of the data.
    bool consumeSeparator() {
        atLineStart_ = in_.peek() != ',';
        if (in_.peek() == ',')
            in_.get();
        else if (isLineEnd(in_.peek()))
            in_.consumeLineEnd();
        return atLineStart_;
    }

    LineCountingInput in_;
    bool atLineStart_ = true;
    int startLine_ = 1;
};

// A record as the field pass reads it: the entry's numbers and the line whose fields are
// exactly its seven, or 0 when its fields are not a whole line of their own.
struct Record {
    CatalogEntry entry;
    int line = 0;
};

FieldReader::Status readRecord(FieldReader& reader, Record& record) {
    if (const auto status = reader.skipBlankLines(); status != FieldReader::Status::Read) return status;
    std::string text;
    FieldLines lines;
    int line = 0;
    bool wholeLine = true;
    for (const CatalogField& field : kCatalogFields) {
        if (const auto status = reader.read(text, lines); status != FieldReader::Status::Read) return status;
        if (line == 0) {
            line = lines.first;
            wholeLine = lines.startsLine;
        }
        wholeLine = wholeLine && lines.first == line && lines.last == line;
        const std::optional<double> value = readCatalogNumber(text);
        if (value)
            record.entry.*field.value = *value;
        else if (!record.entry.unreadableField)
            record.entry.unreadableField = &field;
    }
    record.line = wholeLine && lines.endsLine ? line : 0;
    return FieldReader::Status::Read;
}

const std::string kTooManyBlanks =
    "more than " + std::to_string(kFieldLengthLimit) + " blanks and empty lines follow one another there";

// Why a pass stopped reading before the end of the data, or no value when it reached it.
std::optional<ReadingStop> stopOf(FieldReader::Status status, int line) {
    switch (status) {
        case FieldReader::Status::TooLong:
            return ReadingStop{
                line, "a field there holds more than " + std::to_string(kFieldLengthLimit) + " characters"};
        case FieldReader::Status::TooManyBlanks:
            return ReadingStop{line, kTooManyBlanks};
        default:
            return std::nullopt;
    }
}

// The first pass: the two leading fields, then up to 50 complete records.
struct FieldPass {
    std::vector<Record> records;
    bool leadingLinesRead = false;
    std::optional<ReadingStop> stop;
};

FieldPass readRecords(std::istream& in) {
    FieldPass pass;
    FieldReader reader(in);
    std::string leading;
    FieldLines lines;
    FieldReader::Status status = reader.read(leading, lines);
    if (status == FieldReader::Status::Read) status = reader.read(leading, lines);
    pass.leadingLinesRead = status != FieldReader::Status::EndOfData;
    if (status != FieldReader::Status::Read) {
        pass.stop = stopOf(status, reader.startLine());
        return pass;
    }
    while (pass.records.size() < static_cast<std::size_t>(kCatalogCapacity)) {
        Record record;
        status = readRecord(reader, record);
        if (status != FieldReader::Status::Read) {
            pass.stop = stopOf(status, reader.startLine());
            return pass;
        }
        pass.records.push_back(std::move(record));
    }
    status = reader.skipBlankLines();
    if (status == FieldReader::Status::Read) {
        pass.stop = ReadingStop{
            reader.line(), "the catalog holds at most " + std::to_string(kCatalogCapacity) + " airfoils"};
    } else {
        pass.stop = stopOf(status, reader.startLine());
    }
    return pass;
}

LineShape shapeOfLine(std::string_view text, int line, bool leading) {
    const LineFields fields = fieldsOfLine(text);
    return {line, static_cast<int>(fields.fields.size()), fields.unclosedQuote, leading};
}

bool isBlankLine(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// The second pass: whole lines, numbered, each seen with the shape its fields give it.
class LineReader {
  public:
    explicit LineReader(std::istream& in) : in_(in) {}

    // Reads one line without its line end; false at the end of the data or past the limit.
    bool read(std::string& line) {
        line.clear();
        if (in_.peek() == EOF) return false;
        while (in_.peek() != EOF && !isLineEnd(in_.peek())) {
            if (line.size() >= kLineLengthLimit) {
                stop_ = ReadingStop{number_ + 1, "the line holds more than " +
                                                     std::to_string(kLineLengthLimit) + " characters"};
                return false;
            }
            line += static_cast<char>(in_.get());
        }
        if (in_.peek() != EOF) in_.consumeLineEnd();
        ++number_;
        return true;
    }

    // Reads up to the next line that holds more than blanks.
    bool readNonBlank(std::string& line) {
        for (std::size_t blankLines = 0; read(line); ++blankLines) {
            if (!isBlankLine(line)) return true;
            if (blankLines >= kFieldLengthLimit) {
                stop_ = ReadingStop{number_ - static_cast<int>(blankLines), kTooManyBlanks};
                return false;
            }
        }
        return false;
    }

    int number() const { return number_; }
    // Why reading stopped before the end of the data, if it did.
    const std::optional<ReadingStop>& stop() const { return stop_; }

  private:
    LineCountingInput in_;
    int number_ = 0;
    std::optional<ReadingStop> stop_;
};

// Gives each record its display line, and each entry whose numbers are not exactly those
// of its own line the first faulty line at or above it. Returns why the lines ran out before
// the records did, if they did.
std::optional<ReadingStop> readDisplayTexts(std::istream& in, std::vector<Record>& records,
                                            Catalog& catalog) {
    LineReader lines(in);
    std::string line;
    std::optional<LineShape> firstFault;
    const auto see = [&](const LineShape& shape) {
        if (!firstFault && !isWellFormed(shape)) firstFault = shape;
    };
    for (int leading = 0; leading < 2; ++leading) {
        if (!lines.read(line)) return lines.stop();
        see(shapeOfLine(line, lines.number(), true));
    }
    for (Record& record : records) {
        if (!lines.readNonBlank(line)) break;
        const LineShape shape = shapeOfLine(line, lines.number(), false);
        see(shape);
        CatalogEntry& entry = record.entry;
        entry.displayText = line;
        entry.shownText = displayTextAsUtf8(line);
        entry.line = shape.line;
        if (record.line != shape.line || !isWellFormed(shape)) entry.lineFault = firstFault.value_or(shape);
        catalog.entries.push_back(std::move(entry));  // an entry without its own line is not listed
    }
    return lines.stop();
}

const std::optional<ReadingStop>& earlier(const std::optional<ReadingStop>& a,
                                          const std::optional<ReadingStop>& b) {
    if (!a) return b;
    return b && b->line < a->line ? b : a;
}

}  // namespace

bool isWellFormed(const LineShape& shape) {
    return !shape.unclosedQuote && shape.fieldCount == (shape.leading ? 1 : kFieldsPerRecord);
}

Catalog loadCatalog(std::istream& in) {
    Catalog catalog;
    if (!in) return catalog;
    skipByteOrderMark(in);
    FieldPass fields = readRecords(in);
    catalog.fileRead = fields.leadingLinesRead;
    if (!catalog.fileRead) return catalog;
    in.clear();
    in.seekg(0);
    skipByteOrderMark(in);
    const std::optional<ReadingStop> linesStop = readDisplayTexts(in, fields.records, catalog);
    catalog.readingStop = earlier(fields.stop, linesStop);
    return catalog;
}

std::optional<std::string> catalogFileProblem(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return std::string("does not exist");
    if (error) return error.message();
    if (status.type() == std::filesystem::file_type::directory)
        return std::string("is a directory, not a file");
    if (status.type() != std::filesystem::file_type::regular) return std::string("is not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return "cannot be opened: " + std::string(std::strerror(errno));
    return std::nullopt;
}

Catalog loadCatalogFile(const std::string& path) {
    // A FIFO would hang the opening until something writes to it, and could not be read twice.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return Catalog{};
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return Catalog{};
    Catalog catalog = loadCatalog(in);
    catalog.fileName = std::filesystem::path(path).filename().string();
    return catalog;
}

std::optional<int> findEntryByText(const Catalog& catalog, std::string_view text) {
    std::optional<int> found;
    for (int k = 1; k <= catalog.AirfoilCount(); ++k) {
        if (catalog.entry(k).shownText == text) found = k;
    }
    return found;
}

}  // namespace vorta
