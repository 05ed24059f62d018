#include <algorithm>
#include <string>

#include "core/catalog/catalog.h"
#include "core/catalog/catalog_text.h"

namespace vorta {

using namespace catalog_text;

void forEachCatalogLine(std::istream& in, int lastLine,
                        const std::function<bool(int, std::string_view)>& see) {
    skipByteOrderMark(in);
    LineCountingInput input(in);
    std::string line;
    for (int number = 1; number <= lastLine && input.peek() != EOF; ++number) {
        line.clear();
        while (input.peek() != EOF && !isLineEnd(input.peek())) {
            if (line.size() == kLineLengthLimit) {
                see(number, line);  // the rest of the line is not read: no reading gets past it
                return;
            }
            line += static_cast<char>(input.get());
        }
        if (input.peek() != EOF) input.consumeLineEnd();
        if (!see(number, line)) return;
    }
}

LineFields fieldsOfLine(std::string_view text) {
    LineFields line;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && isBlank(text[i])) ++i;
        std::size_t rest = i;  // where the field's separator is looked for
        if (i < text.size() && text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) {
                line.fields.emplace_back(text.substr(i + 1));
                line.unclosedQuote = true;
                return line;
            }
            line.fields.emplace_back(text.substr(i + 1, close - i - 1));
            rest = close + 1;
        }
        const std::size_t comma = std::min(text.find(',', rest), text.size());
        if (rest == i) {
            std::string_view field = text.substr(i, comma - i);
            while (!field.empty() && isBlank(field.back())) field.remove_suffix(1);
            line.fields.emplace_back(field);
        }
        if (comma == text.size()) return line;
        i = comma + 1;
    }
}

}  // namespace vorta
