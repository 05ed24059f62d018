#pragma once
// The characters of a catalog file as both of its reading passes take them: blanks, line ends
// (CR LF, LF alone or CR alone) and the limits that bound a line. Within the catalog library.

#include <istream>
#include <string>

#include "core/catalog/catalog.h"

namespace vorta::catalog_text {

// A record line holds seven fields and their separators; a display line longer than
// this cannot belong to a record the field pass accepted.
inline constexpr std::size_t kLineLengthLimit = kFieldsPerRecord * (kFieldLengthLimit + 2);

inline bool isBlank(int c) { return c == ' ' || c == '\t'; }
inline bool isLineEnd(int c) { return c == '\r' || c == '\n'; }

// Skips a UTF-8 byte order mark at the start; a stream without one is left at its start.
inline void skipByteOrderMark(std::istream& in) {
    static const std::string bom = "\xEF\xBB\xBF";
    std::string start;
    for (std::size_t i = 0; i < bom.size() && in.peek() != EOF; ++i) start += static_cast<char>(in.get());
    if (start == bom) return;
    in.clear();
    in.seekg(0);
}

// Hands out the characters of a stream and counts its lines. A line ends with CR LF,
// LF alone or CR alone.
class LineCountingInput {
  public:
    explicit LineCountingInput(std::istream& in) : in_(in) {}

    int peek() { return in_.peek(); }
    int line() const { return line_; }

    int get() {
        const int c = in_.get();
        if (c == '\r' || (c == '\n' && previous_ != '\r')) ++line_;
        previous_ = c;
        return c;
    }

    void consumeLineEnd() {
        if (get() == '\r' && peek() == '\n') get();
    }

  private:
    std::istream& in_;
    int line_ = 1;
    int previous_ = EOF;
};

}  // namespace vorta::catalog_text
