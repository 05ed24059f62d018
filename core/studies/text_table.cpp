#include "core/studies/text_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/numbers/number_text.h"

namespace vorta {

namespace {

// Blanks, tabs, commas and the CR of a CR LF line end part the fields of a line.
struct Separators {
    bool of[256] = {};
    constexpr Separators() {
        for (unsigned char c : {' ', '\t', ',', '\r'}) of[c] = true;
    }
};
constexpr Separators kSeparators;
bool isSeparator(char c) { return kSeparators.of[static_cast<unsigned char>(c)]; }

bool containsName(std::string_view token, std::string_view name) {
    for (std::size_t i = 0; i + name.size() <= token.size(); ++i) {
        if (sameName(token.substr(i, name.size()), name)) return true;
    }
    return false;
}

}  // namespace

LineSource::LineSource(std::istream& in, std::size_t maxLineLength, std::size_t maxBytes)
    : in_(in),
      maxLineLength_(maxLineLength),
      maxBytes_(maxBytes),
      capacity_(std::max<std::size_t>(std::size_t{1} << 16, 2 * (maxLineLength + 1))),
      buffer_(std::make_unique<char[]>(capacity_)) {}

LineSource::Status LineSource::next(std::string_view& line) {
    for (;;) {
        const char* start = buffer_.get() + begin_;
        const std::size_t pending = end_ - begin_;
        if (const auto* feed = static_cast<const char*>(std::memchr(start, '\n', pending))) {
            const auto length = static_cast<std::size_t>(feed - start);
            if (length > maxLineLength_) return Status::TooLong;
            line = std::string_view(start, length);
            begin_ += length + 1;
            return Status::Line;
        }
        if (pending > maxLineLength_) return Status::TooLong;
        if (atEnd_) {
            if (in_.bad()) return Status::Failed;
            if (pending == 0) return Status::End;
            line = std::string_view(start, pending);
            begin_ = end_;
            return Status::Line;
        }
        if (!fill()) return Status::TooLarge;
    }
}

// Moves what is left of the buffer to its front and reads on behind it; false once more than
// maxBytes have come.
bool LineSource::fill() {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    const std::size_t wanted = std::min(capacity_ - end_, maxBytes_ + 1 - total_);
    in_.read(buffer_.get() + end_, static_cast<std::streamsize>(wanted));
    const auto got = static_cast<std::size_t>(in_.gcount());
    end_ += got;
    total_ += got;
    if (got < wanted) atEnd_ = true;
    return total_ <= maxBytes_;
}

void splitTokens(std::string_view line, std::vector<std::string_view>& tokens) {
    tokens.clear();
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end) {
        while (p < end && isSeparator(*p)) ++p;
        const char* start = p;
        while (p < end && !isSeparator(*p)) ++p;
        if (p > start) tokens.emplace_back(start, static_cast<std::size_t>(p - start));
    }
}

bool sameName(std::string_view token, std::string_view name) {
    return token.size() == name.size() &&
           std::equal(token.begin(), token.end(), name.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(b);
           });
}

Token readToken(std::string_view text) {
    std::string_view digits = text;
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) {
        return {std::isfinite(value) ? TokenKind::Number : TokenKind::NotFinite, value};
    }
    if (const auto number = readCatalogNumber(text)) {
        return {std::isfinite(*number) ? TokenKind::Number : TokenKind::NotFinite, *number};
    }
    for (std::string_view windows : {"#INF", "#IND", "#QNAN", "#SNAN"}) {
        if (containsName(text, windows)) return {TokenKind::NotFinite, 0};
    }
    return {};
}

bool looksLikeNumber(std::string_view token) {
    bool digit = false;
    for (char c : token) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E') {
            return false;
        }
    }
    return digit;
}

bool isComment(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos && line[start] == '#';
}

std::string_view withoutCommentMark(std::string_view line) {
    return isComment(line) ? line.substr(line.find('#') + 1) : line;
}

}  // namespace vorta
