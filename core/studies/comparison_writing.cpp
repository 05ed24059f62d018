// A comparison as rows for programs and people, and what is said of the runs whose Cp
// decided their surface.
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/numbers/number_text.h"
#include "core/output/block_writer.h"
#include "core/studies/pressure_compare.h"

namespace vorta {

namespace {

void appendShortest(BlockWriter& out, double value) {
    char* start = out.room(32);
    out.wrote(std::to_chars(start, start + 32, unsignedZero(value)).ptr);
}

// "lines 2 to 80 (x 1.00000 to 0.000385000)", or "line 7 (x 0.500000)".
std::string linesOf(const RunDecision& run, const PointsSource& source, std::string_view separator) {
    if (run.firstLine == run.lastLine) {
        return source.line + " " + std::to_string(run.firstLine) + " (x " + sixDigits(run.firstX, separator) +
               ")";
    }
    return source.lines + " " + std::to_string(run.firstLine) + " to " + std::to_string(run.lastLine) +
           " (x " + sixDigits(run.firstX, separator) + " to " + sixDigits(run.lastX, separator) + ")";
}

std::string mediansOf(const RunDecision& run, std::string_view separator) {
    return "median |dCp| " + sixDigits(run.medianUpper, separator) + " against the upper surface, " +
           sixDigits(run.medianLower, separator) + " against the lower";
}

}  // namespace


std::string comparisonSummary(const Comparison& comparison, std::string_view separator) {
    const auto& rows = comparison.rows;
    if (rows.empty()) return "0 points compared";
    const ComparedPoint* largest = &rows.front();
    double squares = 0;
    for (const ComparedPoint& row : rows) {
        const double d = row.dCp();
        squares += d * d;  // |dCp| stays below 2e6: both Cp are refused or skipped beyond 1e6
        if (std::fabs(d) > std::fabs(largest->dCp())) largest = &row;
    }
    return std::to_string(rows.size()) + " points compared; largest |dCp| " +
           sixDigits(std::fabs(largest->dCp()), separator) + " at x " + sixDigits(largest->x, separator) +
           " (" + surfaceName(largest->surface) + "); rms dCp " +
           sixDigits(std::sqrt(squares / static_cast<double>(rows.size())), separator);
}

std::string skippedNote(const SkippedPoint& skipped, const std::string& name, std::string_view separator) {
    return name + ":" + std::to_string(skipped.line) + ": x " + shortestText(skipped.x, separator) + ": " +
           skipped.why;
}

std::string runNote(const RunDecision& run, const PointsSource& source, std::string_view separator) {
    const std::string taken = source.name + ": " + linesOf(run, source, separator) + ": taken as the " +
                              surfaceName(run.surface) + " surface";
    if (run.verdict == RunVerdict::SameOnBoth) {
        return taken +
               "; the exact Cp is the same on both surfaces there (a symmetric section at zero incidence), "
               "so either "
               "way is right.";
    }
    return taken + ", which its Cp fits at least twice as closely (" + mediansOf(run, separator) + ").";
}

std::optional<Refusal> undecidedRefusal(const Comparison& comparison, const PointsSource& source,
                                        std::string_view separator) {
    for (const RunDecision& run : comparison.runs) {
        std::string why;
        switch (run.verdict) {
            case RunVerdict::Undecided:
                why = mediansOf(run, separator) + ", neither twice as close as the other";
                break;
            case RunVerdict::Mixed:
                why = std::to_string(run.fitUpper) +
                      " of its points fit the upper surface at least twice as closely and " +
                      std::to_string(run.fitLower) +
                      " the lower, as when a file sorted by x holds both surfaces";
                break;
            case RunVerdict::TooFew:
                why = std::to_string(run.points) + (run.points == 1 ? " point is" : " points are") +
                      " too few to tell";
                break;
            default:
                continue;
        }
        return Refusal{"Cannot compare with " + source.name + ": the Cp of " +
                       linesOf(run, source, separator) + " does not tell which surface it lies on: " + why +
                       ". " + source.whatTellsSurfaces};
    }
    return std::nullopt;
}

std::optional<Refusal> emptyComparisonRefusal(const Comparison& comparison, const PointsSource& source) {
    if (!comparison.rows.empty()) return std::nullopt;
    return Refusal{"No point of " + source.name + " lies on the section."};
}

int writeComparison(ComparisonFormat format, const Comparison& comparison, std::string_view separator,
                    const ByteSink& sink) {
    BlockWriter out(sink);
    if (format == ComparisonFormat::Csv) {
        out.append("x,surface,Cp_file,Cp_exact,dCp\r\n");
        for (const ComparedPoint& row : comparison.rows) {
            appendShortest(out, row.x);
            out.append(row.surface == Surface::Upper ? ",upper," : ",lower,");
            appendShortest(out, row.CpFile);
            out.append(",");
            appendShortest(out, row.CpExact);
            out.append(",");
            appendShortest(out, row.dCp());
            out.append("\r\n");
        }
        return out.finish();
    }
    // Right-aligned columns, always apart by two blanks at least.
    const auto column = [&](const std::string& text, std::size_t width) {
        out.append(std::string(text.size() < width ? width - text.size() + 2 : 2, ' '));
        out.append(text);
    };
    const auto number = [&](double value) { column(shortestText(value, separator), 22); };
    column("x", 22);
    column("surface", 7);
    column("Cp file", 22);
    column("Cp exact", 22);
    column("dCp", 22);
    out.append("\n");
    for (const ComparedPoint& row : comparison.rows) {
        number(row.x);
        column(surfaceName(row.surface), 8);
        number(row.CpFile);
        number(row.CpExact);
        number(row.dCp());
        out.append("\n");
    }
    out.append(comparisonSummary(comparison, separator) + "\n");
    return out.finish();
}

}  // namespace vorta
