#include "core/output/data_formats.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <ostream>
#include <streambuf>

#include "core/numbers/number_text.h"
#include "core/output/block_writer.h"

namespace vorta {

namespace {

void appendShortest(BlockWriter& out, double value) {
    value = unsignedZero(value);
    char* start = out.room(32);
    out.wrote(std::to_chars(start, start + 32, value).ptr);
}

// Consecutive equal points (the trailing edge of N1 = 2 is one) would make a panel of no length
// in the tools that read the file; the first of them stays.
bool repeatsPrevious(const Solution& s, std::size_t k, std::size_t previous) {
    return previous != 0 && s.x[k] == s.x[previous] && s.y[k] == s.y[previous];
}

// The points run from the trailing edge along the lower surface to the nose and back along
// the upper surface; the coordinate file wants the upper surface first, so it goes backwards.
void writeDat(BlockWriter& out, const CatalogEntry& entry, const Calculation& c) {
    out.append("Vorta F=" + shortestText(entry.F) + " G=" + shortestText(entry.G) +
               " m=" + shortestText(entry.m) + "\n");
    std::size_t previous = 0;
    for (std::size_t k = static_cast<std::size_t>(c.N1); k >= 1; --k) {
        if (repeatsPrevious(c.solution, k, previous)) continue;
        appendShortest(out, c.solution.x[k]);
        out.append(" ");
        appendShortest(out, c.solution.y[k]);
        out.append("\n");
        previous = k;
    }
}

void writeCsv(BlockWriter& out, const Calculation& c) {
    out.append("i,x,y,Cu,Cp\r\n");
    const Solution& s = c.solution;
    for (std::size_t k = 1; k <= static_cast<std::size_t>(c.N1); ++k) {
        char* start = out.room(24);
        out.wrote(std::to_chars(start, start + 24, k).ptr);
        for (double value : {s.x[k], s.y[k], s.Cu[k], 1 - s.Cu[k]}) {
            out.append(",");
            appendShortest(out, value);
        }
        out.append("\r\n");
    }
}

// Lets the JSON library serialise straight into the block writer.
class BlockStreamBuffer : public std::streambuf {
  public:
    explicit BlockStreamBuffer(BlockWriter& out) : out_(out) {}

  protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            const char byte = traits_type::to_char_type(c);
            out_.append(std::string_view(&byte, 1));
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize n) override {
        out_.append(std::string_view(text, static_cast<std::size_t>(n)));
        return n;
    }

  private:
    BlockWriter& out_;
};

// Points 1 to N1 of values, each as value(v) gives it.
template <class Value>
nlohmann::ordered_json pointArray(const PointArray& values, int N1, Value value) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    array.get_ref<nlohmann::ordered_json::array_t&>().reserve(static_cast<std::size_t>(N1));
    for (std::size_t k = 1; k <= static_cast<std::size_t>(N1); ++k)
        array.push_back(unsignedZero(value(values[k])));
    return array;
}

void writeJson(BlockWriter& out, const CatalogEntry& entry, const Calculation& c) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (const CatalogField& field : kCatalogFields) fields[field.name] = entry.*field.value;
    nlohmann::ordered_json document = {
        {"entry", {{"number", c.SelectedIndex}, {"text", entry.shownText}, {"fields", fields}}},
        {"N1", c.N1},
        {"AlfaD", unsignedZero(c.AlfaD)},
        {"CL", unsignedZero(c.solution.coefficients.CL)},
        {"CMc/4", unsignedZero(c.solution.coefficients.CMc4)},
        {"Alfa0", unsignedZero(c.solution.coefficients.Alfa0)},
    };
    const auto asItIs = [](double v) { return v; };
    document["x"] = pointArray(c.solution.x, c.N1, asItIs);
    document["y"] = pointArray(c.solution.y, c.N1, asItIs);
    document["Cu"] = pointArray(c.solution.Cu, c.N1, asItIs);
    document["Cp"] = pointArray(c.solution.Cu, c.N1, [](double Cu) { return 1 - Cu; });
    BlockStreamBuffer buffer(out);
    std::ostream stream(&buffer);
    stream << document << '\n';
}

}  // namespace

int writeContour(DataFormat format, const Catalog& catalog, const Calculation& calculation,
                 const ByteSink& sink) {
    const CatalogEntry& entry = catalog.entry(calculation.SelectedIndex);
    BlockWriter out(sink);
    switch (format) {
        case DataFormat::Dat:
            writeDat(out, entry, calculation);
            break;
        case DataFormat::Csv:
            writeCsv(out, calculation);
            break;
        case DataFormat::Json:
            writeJson(out, entry, calculation);
            break;
    }
    return out.finish();
}

}  // namespace vorta
