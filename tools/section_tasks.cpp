// Making a section's catalog line: describing the section of F, G and m, designing one from its
// thickness, camber and trailing-edge angle, or fitting one to a contour file; and adding the
// line to a catalog.
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <variant>

#include "core/numbers/number_text.h"
#include "core/studies/catalog_append.h"
#include "core/studies/pressure_compare.h"
#include "core/studies/section_fit.h"
#include "locale/decimal_separator.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

// The numbers of a list the command line has checked: plain decimals separated by commas.
std::vector<std::string> partsOf(const std::string& list) {
    std::vector<std::string> parts(1);
    for (char c : list) {
        if (c == ',')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::variant<std::vector<double>, Refusal> numbersOf(const std::vector<std::string>& parts,
                                                     const std::string& option) {
    std::vector<double> numbers;
    for (const std::string& part : parts) {
        numbers.push_back(readCatalogNumber(part).value_or(HUGE_VAL));
        if (!std::isfinite(numbers.back()))
            return Refusal{option + ": " + part + " is beyond the range of numbers."};
    }
    return numbers;
}

// The line of the section of F, G and m, which are written as they are given.
std::variant<std::string, Refusal> describedLine(const std::string& list) {
    const std::vector<std::string> texts = partsOf(list);
    const auto numbers = numbersOf(texts, "--describe");
    if (const auto* refusal = std::get_if<Refusal>(&numbers)) return *refusal;
    const std::vector<double>& v = std::get<std::vector<double>>(numbers);
    const std::string section = "The section of F = " + texts[0] + ", G = " + texts[1] + ", m = " + texts[2];
    const auto described = describeSection(v[0], v[1], v[2], section);
    if (const auto* refusal = std::get_if<Refusal>(&described)) return *refusal;
    return catalogLine(std::get<Section>(described).measures, texts[0], texts[1], texts[2]);
}

std::variant<std::string, Refusal> designedLine(const std::string& list) {
    const auto numbers = numbersOf(partsOf(list), "--design");
    if (const auto* refusal = std::get_if<Refusal>(&numbers)) return *refusal;
    const std::vector<double>& v = std::get<std::vector<double>>(numbers);
    const auto designed = designSection(v[0], v[1], v[2]);
    if (const auto* refusal = std::get_if<Refusal>(&designed)) return *refusal;
    return catalogLine(std::get<Section>(designed));
}

std::variant<std::vector<PlanePoint>, Refusal> readContour(const std::string& name) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return Refusal{"Cannot fit " + name + ": it does not exist."};
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return Refusal{"Cannot fit " + name + ": it is a directory."};
    }
    std::ifstream in(name, std::ios::binary);
    if (!in.is_open()) {
        return Refusal{"Cannot fit " + name + ": it cannot be opened (" + std::strerror(errno) + ")."};
    }
    return readContourFile(in, name);
}

// How close the section lies to the points, and where, said for people on stderr.
std::string residualNote(const SectionFit& fit) {
    const std::string separator = regionalDecimalSeparator();
    const SimilarityTransform& t = fit.transform;
    return "largest distance " + sixDigits(fit.largestDistance, separator) + ", rms distance " +
           sixDigits(fit.rmsDistance, separator) +
           " (chords); the section lies on the points when scaled by " + sixDigits(t.scale, separator) +
           ", turned by " + sixDigits(t.turn, separator) + " degrees and shifted by " +
           sixDigits(t.shiftX, separator) + " in x and " + sixDigits(t.shiftY, separator) + " in y";
}

std::variant<std::string, Refusal> fittedLine(const std::string& name) {
    const auto points = readContour(name);
    if (const auto* refusal = std::get_if<Refusal>(&points)) return *refusal;
    const auto fitted = fitSection(std::get<std::vector<PlanePoint>>(points));
    if (const auto* refusal = std::get_if<Refusal>(&fitted))
        return Refusal{"Cannot fit " + name + ": " + refusal->message};
    const SectionFit& fit = std::get<SectionFit>(fitted);
    std::cerr << residualNote(fit) << '\n';
    return catalogLine(fit.section);
}

}  // namespace

int makeSectionLine(const Options& o) {
    const auto line = o.describe ? describedLine(*o.describe)
                      : o.design ? designedLine(*o.design)
                                 : fittedLine(*o.fit);
    if (const auto* refusal = std::get_if<Refusal>(&line)) return refuse(refusal->message);
    if (o.addTo) {
        const auto added = addToCatalog(*o.addTo, std::get<std::string>(line));
        if (const auto* refusal = std::get_if<Refusal>(&added)) return refuse(refusal->message);
        std::cerr << "Added to " << *o.addTo << " as entry " << std::get<int>(added) << ".\n";
    }
    std::cout << std::get<std::string>(line) << '\n';
    return kSuccess;
}

}  // namespace vorta::run
