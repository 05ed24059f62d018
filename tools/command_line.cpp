#include "tools/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "core/numbers/number_text.h"
#include "tools/plot_options.h"

namespace vorta::run {

namespace {

const char* kDescription =
    "vorta-run calculates Karman-Trefftz sections of the catalog VORTA_Input.txt in closed form, as\n"
    "the window does, and writes the exact solution for people and for other programs. Numbers on the\n"
    "command line are plain: --points takes digits alone, --alpha and --alpha-range decimal numbers\n"
    "with a point (4.5, -2, 1e-3), nothing else; numbers for people carry the regional decimal\n"
    "separator, data formats (dat, csv, json, vtk) a point. Exit status: 0 done, 1 refused input or failed\n"
    "writing, 2 a usage error.";

const char* kExamples =
    "Examples, one per task:\n"
    "  the result file of entry 3 at 5 degrees, as the window saves it:\n"
    "    vorta-run --entry 3 --alpha 5\n"
    "  a contour for XFOIL:\n"
    "    vorta-run --entry 3 --points 161 --format dat --output section.dat\n"
    "  a table for Python or a spreadsheet:\n"
    "    vorta-run --entry 3 --alpha 4 --format csv --output section.csv\n"
    "  a polar of every entry:\n"
    "    vorta-run --entry all --alpha-range -4:12:0.5 --format csv\n"
    "  a panel code's Cp against the exact one:\n"
    "    vorta-run --entry 3 --alpha 4 --compare cp.txt\n"
    "  the exact flow at the nodes of a mesh:\n"
    "    vorta-run --entry 3 --alpha 4 --field nodes.csv --output exact.csv\n"
    "  a CFD code's field on three meshes against the exact one:\n"
    "    vorta-run --entry 3 --alpha 4 --compare-field coarse.csv medium.csv fine.csv\n"
    "  a figure for a report:\n"
    "    vorta-run --entry 3 --alpha 4 --plot cp --output cp.svg\n"
    "  a grid that carries the exact flow, for ParaView or a CFD code:\n"
    "    vorta-run --entry 3 --alpha 4 --grid 257:242 --format cgns --output grid.cgns\n"
    "  the catalog:\n"
    "    vorta-run --list\n"
    "    vorta-run --check --input my_sections.txt\n"
    "  a new catalog line, of a section 12 % thick with 2 % camber and a 10 degree trailing edge:\n"
    "    vorta-run --design 0.12,0.02,10 --add-to VORTA_Input.txt\n";

// A typo in a script must stop the run, so numbers here are read strictly, not by the window's
// forgiving field rule. A decimal comma gets the hint that the point is the separator.
std::string plainNumberProblem(const std::string& text, bool wholeNumber) {
    if (wholeNumber ? isPlainWholeNumber(text) : isPlainDecimal(text)) return "";
    std::string problem =
        "\"" + text + "\" is not " + (wholeNumber ? "a whole number" : "a plain decimal number");
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return problem + (wholeNumber ? " (digits alone, such as 161)" : " (such as 4.5, -2 or 1e-3)");
    }
    problem += ": the decimal separator is the point here";
    std::string withPoint = text;
    withPoint[comma] = '.';
    return isPlainDecimal(withPoint) ? problem + "; write " + withPoint : problem;
}

CLI::Validator plainNumber(bool wholeNumber) {
    return CLI::Validator([wholeNumber](std::string& text) { return plainNumberProblem(text, wholeNumber); },
                          "");
}

// The parts of text between colons.
std::vector<std::string> colonParts(const std::string& text) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == ':')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// FROM:TO:STEP, each a plain decimal number.
CLI::Validator angleRange() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const std::vector<std::string> parts = colonParts(text);
            if (parts.size() != 3)
                return "\"" + text + "\" is not FROM:TO:STEP, three numbers separated by colons";
            for (const std::string& part : parts) {
                if (std::string problem = plainNumberProblem(part, false); !problem.empty()) return problem;
            }
            return "";
        },
        "");
}

// NAMES, one plain decimal number each, separated by commas: "0.1,0.05,2" for F,G,m.
CLI::Validator numberList(const std::string& names) {
    return CLI::Validator(
        [names](std::string& text) -> std::string {
            std::vector<std::string> parts(1);
            for (char c : text) {
                if (c == ',')
                    parts.emplace_back();
                else
                    parts.back() += c;
            }
            if (parts.size() != static_cast<std::size_t>(std::count(names.begin(), names.end(), ',') + 1))
                return "\"" + text + "\" is not " + names + ", numbers with a point separated by commas";
            for (const std::string& part : parts) {
                if (std::string problem = plainNumberProblem(part, false); !problem.empty()) return problem;
            }
            return "";
        },
        "");
}

// NI:NJ or NI:NJ:R, two whole numbers and a plain decimal number.
CLI::Validator gridSize() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const std::vector<std::string> parts = colonParts(text);
            if (parts.size() != 2 && parts.size() != 3)
                return "\"" + text + "\" is not NI:NJ or NI:NJ:R, numbers separated by colons";
            for (std::size_t k = 0; k < parts.size(); ++k) {
                if (std::string problem = plainNumberProblem(parts[k], k < 2); !problem.empty())
                    return problem;
            }
            return "";
        },
        "");
}

// A file to write: a name, not nothing and not a folder.
CLI::Validator fileName() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (text.empty()) return "an empty name names no file";
            if (text.back() == '/') return "\"" + text + "\" names a folder, not a file";
            return "";
        },
        "");
}

const std::map<std::string, Format> kFormats = {{"legacy", Format::Legacy}, {"dat", Format::Dat},
                                                {"csv", Format::Csv},       {"json", Format::Json},
                                                {"vtk", Format::Vtk},       {"cgns", Format::Cgns}};

void defineOptions(CLI::App& app, Options& o, CommandLine& task) {
    app.set_version_flag("--version", "vorta-run " VORTA_VERSION);
    app.footer(kExamples);
    app.get_formatter()->column_width(28);

    const std::string catalog = "Catalog";
    app.add_option("--input", o.input, "the catalog (default VORTA_Input.txt)")
        ->type_name("FILE")
        ->group(catalog);
    app.add_flag("--list", task.list, "list the entries, numbered from 1")->group(catalog);
    app.add_flag("--check", task.check, "one line per problem of the catalog, tried at --points and --alpha")
        ->group(catalog);

    const std::string one = "Calculate an entry";
    app.add_option("--entry", o.entry, "entry K (from 1); all with --alpha-range")
        ->type_name("K|all")
        ->group(one);
    app.add_option("--points", o.points, "number of points NP, digits alone (default 51; a polar needs none)")
        ->check(plainNumber(true))
        ->type_name("NP")
        ->group(one);
    app.add_option("--alpha", o.alpha, "angle of attack in degrees, such as 4.5 or -2 (default 0)")
        ->check(plainNumber(false))
        ->type_name("DEGREES")
        ->group(one);
    app.add_option("--format", task.format,
                   "legacy: VORTA_result.txt (default); dat: XFOIL coordinates; csv: i,x,y,Cu,Cp; json; "
                   "vtk (default) or cgns for --grid")
        ->check(CLI::IsMember({"legacy", "dat", "csv", "json", "vtk", "cgns"}).description(""))
        ->type_name("legacy|dat|csv|json|vtk|cgns")
        ->group(one);
    app.add_option("--layout", o.layout,
                   "legacy layout 1 to 4 as the window's options, 0 the header (default 4)")
        ->check(CLI::Range(0, 4).description(""))
        ->type_name("0-4")
        ->group(one);
    app.add_option("--output", o.output,
                   "a file, replaced whole, or - for standard output (default: "
                   "VORTA_result.txt for legacy, else standard output)")
        ->check(fileName())
        ->type_name("FILE|-")
        ->group(one);

    app.add_option("--alpha-range", o.alphaRange,
                   "a polar: CL, CMc/4 and Alfa0 from FROM to TO by STEP degrees")
        ->check(angleRange())
        ->type_name("FROM:TO:STEP")
        ->group("Polars");
    app.add_option(
           "--compare", o.compare,
           "compare FILE's Cp (x Cp, x y Cp or columns named x, y, Cp, surface; - for standard input) "
           "with the exact one")
        ->type_name("FILE|-")
        ->group("Compare a pressure distribution");
    app.add_option("--field", o.field,
                   "the exact u, v, Cp and psi at FILE's points (x y, or columns named by a header; - for "
                   "standard input), as CSV")
        ->type_name("FILE|-")
        ->group("The flow field");
    app.add_option("--compare-field", o.compareField,
                   "error norms of each FILE's u, v, Cp, psi (columns named by a header) against the exact ones, "
                   "and the observed order over FILEs refined in turn")
        ->type_name("FILE...")
        ->group("The flow field");

    const std::string make = "Make a catalog line";
    app.add_option("--describe", o.describe, "the line of the section F,G,m")
        ->check(numberList("F,G,m"))
        ->type_name("F,G,m")
        ->group(make);
    app.add_option("--design", o.design, "the section T thick with camber C and a TAU degree trailing edge")
        ->check(numberList("T,C,TAU"))
        ->type_name("T,C,TAU")
        ->group(make);
    app.add_option("--fit", o.fit,
                   "the section nearest a contour file's points (XFOIL's or Lednicer's order)")
        ->type_name("FILE")
        ->group(make);
    app.add_option("--add-to", o.addTo, "add the line to CATALOG, made when missing")
        ->check(fileName())
        ->type_name("CATALOG")
        ->group(make);
    addPlotOptions(app, o);
    app.add_option("--grid", o.grid,
                   "an O-grid of NI nodes around and NJ rings out to R chords (default 100) that carries the "
                   "exact flow, as --format vtk or cgns")
        ->check(gridSize())
        ->type_name("NI:NJ[:R]")
        ->group("A grid for a CFD code");
}

// The combinations the options do not allow, said in one line; none when the line is sound.
std::optional<std::string> misuse(const CLI::App& app, const Options& o, const CommandLine& task) {
    const auto given = [&](const char* name) { return app.count(name) > 0; };
    const int lineTasks = int(given("--describe")) + int(given("--design")) + int(given("--fit"));
    if (int(task.list) + int(task.check) + int(given("--entry")) + lineTasks != 1)
        return "give one of --entry K, --list, --check, --describe, --design and --fit";
    std::size_t optionsGiven = 0;
    for (const CLI::Option* option : app.get_options()) optionsGiven += option->count();
    if (lineTasks > 0 && optionsGiven != 1 + app.count("--add-to"))
        return "--describe, --design and --fit take --add-to only";
    if (given("--add-to") && lineTasks == 0) return "--add-to goes with --describe, --design and --fit";
    if (given("--entry") && o.entry != "all" &&
        (o.entry.empty() || o.entry.size() > 9 ||
         o.entry.find_first_not_of("0123456789") != std::string::npos)) {
        return "--entry takes a whole number, or all with --alpha-range";
    }
    if (o.entry == "all" && !o.alphaRange) return "--entry all needs --alpha-range";
    const bool gridFormat = o.format == Format::Vtk || o.format == Format::Cgns;
    if (o.grid && (!gridFormat || o.alphaRange || o.compare || given("--points") || given("--layout")))
        return "--grid goes with --entry, --alpha, --format vtk|cgns and --output only";
    if (gridFormat && !o.grid && !task.list && !task.check)
        return "--format vtk and --format cgns write a grid: give --grid NI:NJ";
    if (o.grid && o.format == Format::Cgns && o.output.value_or("-") == "-")
        return "--format cgns writes a file: give --output FILE, since CGNS cannot go to standard output";
    if (o.alphaRange && (given("--alpha") || o.compare || given("--layout") || o.format == Format::Dat)) {
        return "--alpha-range goes with --entry, --points, --format legacy|csv|json and --output only";
    }
    if (o.compare && (given("--layout") || o.format == Format::Dat || o.format == Format::Json)) {
        return "--compare writes text, or CSV with --format csv";
    }
    if (o.field && (o.alphaRange || o.compare || given("--layout") || given("--points") ||
                    (given("--format") && o.format != Format::Csv))) {
        return "--field goes with --entry, --alpha, --output and --format csv only";
    }
    if (!o.compareField.empty() && (o.alphaRange || o.compare || o.field || given("--layout") ||
                                    given("--points") || (given("--format") && o.format != Format::Csv))) {
        return "--compare-field goes with --entry, --alpha, --output and --format csv only";
    }
    if (given("--layout") && o.format != Format::Legacy) return "--layout goes with --format legacy only";
    if ((task.list || task.check) &&
        (o.alphaRange || o.compare || o.field || !o.compareField.empty() || o.grid || given("--format") ||
         given("--output"))) {
        return "--list and --check take --input, and --check also --points and --alpha";
    }
    return plotMisuse(app, o, task.list || task.check);
}

int usageError(const std::string& message) {
    std::cerr << "vorta-run: " << message << " (vorta-run --help lists the options)\n";
    return kUsageError;
}

}  // namespace

std::variant<CommandLine, int> parseCommandLine(int argc, char** argv) {
    CLI::App app(kDescription, "vorta-run");
    CommandLine line;
    defineOptions(app, line.options, line);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kSuccess;
    } catch (const CLI::CallForVersion& version) {
        std::cout << version.what() << '\n';
        return kSuccess;
    } catch (const CLI::ParseError& error) {
        return usageError(error.what());
    }
    // A grid is written as VTK unless --format says otherwise.
    if (line.options.grid && app.count("--format") == 0) line.format = "vtk";
    line.options.format = kFormats.at(line.format);
    if (const auto message = misuse(app, line.options, line)) return usageError(*message);
    return line;
}

}  // namespace vorta::run
