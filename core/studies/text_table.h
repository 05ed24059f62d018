#pragma once
// Reading tables of numbers that other programs write: lines read in large blocks within a
// limit of line length and of bytes, split at blanks, tabs and commas, and each field told apart
// as a number, NaN or infinity, or text.

#include <cstddef>
#include <istream>
#include <memory>
#include <string_view>
#include <vector>

namespace vorta {

// Hands out the lines of a stream, without their line end, read in large blocks: at most
// maxLineLength characters a line and maxBytes in all.
class LineSource {
  public:
    enum class Status { Line, End, TooLong, TooLarge, Failed };

    LineSource(std::istream& in, std::size_t maxLineLength, std::size_t maxBytes);
    Status next(std::string_view& line);

  private:
    bool fill();

    std::istream& in_;
    std::size_t maxLineLength_, maxBytes_, capacity_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0, end_ = 0, total_ = 0;
    bool atEnd_ = false;
};

// The fields of a line: blanks, tabs, commas and the CR of a CR LF line end part them.
void splitTokens(std::string_view line, std::vector<std::string_view>& tokens);

// A column name, compared without regard to case.
bool sameName(std::string_view token, std::string_view name);

enum class TokenKind { Number, NotFinite, Text };
struct Token {
    TokenKind kind = TokenKind::Text;
    double value = 0;
};

// A number as programs write them, read straight by from_chars where it can be. NaN and
// infinity in any usual spelling (C's nan and inf, Fortran's Infinity, Windows' 1.#INF), and
// numbers beyond the range of a double, are told apart from text.
Token readToken(std::string_view text);

// Digits with the signs, points and exponent letters of a number: a column that is not read
// need only look like one.
bool looksLikeNumber(std::string_view token);

// A comment line starts with #, after blanks; it may still name columns.
bool isComment(std::string_view line);
std::string_view withoutCommentMark(std::string_view line);

}  // namespace vorta
