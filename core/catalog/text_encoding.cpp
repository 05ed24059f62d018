#include <cstdint>
#include <string>
#include <string_view>

#include "core/catalog/catalog.h"

namespace vorta {

namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when there is none.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t min = 0;
    std::uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) length = 2, min = 0x80, code = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0) length = 3, min = 0x800, code = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0) length = 4, min = 0x10000, code = lead & 0x07;
    else return 0;
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 0 : length;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; its five unassigned bytes
// there keep their Latin-1 meaning.
std::uint32_t windows1252CodePoint(unsigned char byte) {
    static const std::uint16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte <= 0x9F ? high[byte - 0x80] : byte;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string displayTextAsUtf8(std::string_view raw) {
    if (isUtf8(raw)) return std::string(raw);
    std::string out;
    for (char c : raw) appendUtf8(out, windows1252CodePoint(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace vorta
