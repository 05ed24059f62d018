#include "tools/plot_options.h"

#include <CLI/CLI.hpp>
#include <QString>

#include "plots/figure_file.h"

namespace vorta::run {

namespace {

std::optional<int> readSide(std::string_view digits) {
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int side = std::stoi(std::string(digits));
    if (side < kLeastImageSide || side > kLargestImageSide) return std::nullopt;
    return side;
}

CLI::Validator imageSize() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (readImageSize(text)) return "";
            return "\"" + text + "\" is not WxH, two whole numbers of pixels from " +
                   std::to_string(kLeastImageSide) + " to " + std::to_string(kLargestImageSide) +
                   " such as 1200x800";
        },
        "");
}

}  // namespace

std::optional<ImageSize> readImageSize(std::string_view text) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    const auto width = readSide(text.substr(0, x)), height = readSide(text.substr(x + 1));
    if (!width || !height) return std::nullopt;
    return ImageSize{*width, *height};
}

void addPlotOptions(CLI::App& app, Options& o) {
    const std::string group = "Pictures";
    app.add_option("--plot", o.plot,
                   "a figure of the contour (equal scale), of 1-Cp along the chord, or of a polar "
                   "(--alpha-range), into --output FILE.png, FILE.svg or FILE.pdf")
        ->check(CLI::IsMember({"contour", "cp", "polar"}).description(""))
        ->type_name("contour|cp|polar")
        ->group(group);
    app.add_option("--size", o.size,
                   "the figure's size in pixels (default 1200x800; a PDF page at 96 per inch)")
        ->check(imageSize())
        ->type_name("WxH")
        ->group(group);
}

std::optional<std::string> plotMisuse(const CLI::App& app, const Options& o, bool listOrCheck) {
    const auto given = [&](const char* name) { return app.count(name) > 0; };
    if (!o.plot) {
        if (given("--size")) return "--size goes with --plot only";
        return std::nullopt;
    }
    if (listOrCheck || o.entry == "all") return "--plot draws one entry: give --entry K";
    if (given("--format") || given("--layout") || o.compare || o.field || !o.compareField.empty() || o.grid)
        return "--plot writes a picture, without --format, --layout, --compare, --field, --compare-field or --grid";
    if (!o.output || !plots::imageFormatOfName(QString::fromStdString(*o.output)))
        return "--plot needs --output FILE.png, FILE.svg or FILE.pdf; the name's ending picks the format";
    if (*o.plot == "polar" && !o.alphaRange) return "--plot polar needs --alpha-range FROM:TO:STEP";
    if (*o.plot != "polar" && o.alphaRange)
        return "--plot contour and --plot cp take --alpha, not --alpha-range";
    return std::nullopt;
}

}  // namespace vorta::run
