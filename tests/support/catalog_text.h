#pragma once
// Catalogs and texts of the tests' own making.

#include <sstream>
#include <string>
#include <vector>

#include "core/catalog/catalog.h"

// The catalog of these record lines, behind the two leading lines.
inline vorta::Catalog catalogOf(const std::string& records) {
    std::istringstream in("1\r\n0\r\n" + records);
    return vorta::loadCatalog(in);
}

// The pieces of text between the ends, the last one without an end of its own included.
inline std::vector<std::string> linesOf(const std::string& text, const char* end) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t stop = text.find(end, start);
        lines.push_back(text.substr(start, stop - start));
        start = stop == std::string::npos ? text.size() : stop + std::string(end).size();
    }
    return lines;
}
