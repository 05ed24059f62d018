#include "core/pressure_compare.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/block_writer.h"
#include "core/data_formats.h"
#include "core/number_text.h"
#include "core/solver.h"

namespace vorta {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r'; }

std::vector<std::string_view> tokensOf(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isSeparator(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !isSeparator(line[i])) ++i;
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

std::optional<double> numberOf(std::string_view token) {
    const std::optional<double> value = readCatalogNumber(token);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

bool sameName(std::string_view token, std::string_view name) {
    return token.size() == name.size() &&
           std::equal(token.begin(), token.end(), name.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(b); });
}

// Where x, y and Cp stand in a row, as a line of column names gives them.
struct Columns {
    std::size_t x = 0, Cp = 0;
    std::optional<std::size_t> y;
    std::size_t needed = 0;
};

std::optional<Columns> namedColumns(const std::vector<std::string_view>& names) {
    std::optional<std::size_t> x, y, Cp;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameName(names[i], "x") && !x) x = i;
        if (sameName(names[i], "y") && !y) y = i;
        if (sameName(names[i], "cp") && !Cp) Cp = i;
    }
    if (!x || !Cp) return std::nullopt;
    Columns columns{*x, *Cp, y, std::max({*x, *Cp, y.value_or(0)}) + 1};
    return columns;
}

Refusal tableRefusal(const std::string& name, int line, const std::string& why) {
    return {"Cannot compare with " + name + ": line " + std::to_string(line) + " " + why};
}

// Reads one line, without its line end, of at most kMaxPressureLineLength characters.
enum class LineStatus { Read, End, TooLong };
LineStatus readLine(std::istream& in, std::string& line) {
    line.clear();
    if (in.peek() == EOF) return LineStatus::End;
    for (int c = in.get(); c != EOF && c != '\n'; c = in.get()) {
        if (line.size() >= kMaxPressureLineLength) return LineStatus::TooLong;
        line += static_cast<char>(c);
    }
    return LineStatus::Read;
}

std::string numbersWord(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " number" : " numbers");
}

}  // namespace

std::variant<std::vector<MeasuredPoint>, Refusal> readPressureTable(std::istream& in, const std::string& name) {
    std::vector<MeasuredPoint> points;
    std::optional<Columns> columns;
    std::size_t plainCount = 0;
    std::string line;
    int number = 0;
    for (LineStatus status; (status = readLine(in, line)) != LineStatus::End;) {
        if (static_cast<std::size_t>(++number) > kMaxPressureLines) {
            return tableRefusal(name, number, "is one too many: a pressure file has at most " +
                                                  std::to_string(kMaxPressureLines) + " lines.");
        }
        if (status == LineStatus::TooLong) {
            return tableRefusal(name, number, "is longer than " + std::to_string(kMaxPressureLineLength) +
                                                  " characters.");
        }
        const std::size_t start = std::min(line.find_first_not_of(" \t"), line.size());
        const bool comment = start < line.size() && line[start] == '#';
        const std::vector<std::string_view> tokens = tokensOf(std::string_view(line).substr(comment ? start + 1 : 0));
        std::vector<double> numbers;
        for (std::string_view token : tokens) {
            if (auto value = numberOf(token)) numbers.push_back(*value);
        }
        if (comment || numbers.empty()) {
            if (auto named = namedColumns(tokens)) columns = named;
            continue;
        }
        if (numbers.size() != tokens.size()) return tableRefusal(name, number, "holds text among its numbers.");
        MeasuredPoint point;
        point.line = number;
        if (columns) {
            if (numbers.size() < columns->needed) {
                return tableRefusal(name, number, "holds " + numbersWord(numbers.size()) + ", fewer than its header names.");
            }
            point.x = numbers[columns->x];
            point.Cp = numbers[columns->Cp];
            if (columns->y) point.y = numbers[*columns->y];
        } else {
            if (numbers.size() != 2 && numbers.size() != 3) {
                return tableRefusal(name, number, "holds " + numbersWord(numbers.size()) +
                                                      "; a line holds x Cp or x y Cp.");
            }
            if (plainCount == 0) plainCount = numbers.size();
            if (numbers.size() != plainCount) {
                return tableRefusal(name, number, "holds " + numbersWord(numbers.size()) + " where the lines above hold " +
                                                      std::to_string(plainCount) + ".");
            }
            point.x = numbers.front();
            point.Cp = numbers.back();
            if (numbers.size() == 3) point.y = numbers[1];
        }
        if (points.size() == kMaxPressurePoints) {
            return tableRefusal(name, number, "is a point too many: a pressure file has at most " +
                                                  std::to_string(kMaxPressurePoints) + " points.");
        }
        points.push_back(point);
    }
    if (points.empty()) {
        return Refusal{"Cannot compare with " + name +
                       ": it holds no lines of numbers. A pressure file holds lines of x Cp or x y Cp."};
    }
    return points;
}

const char* surfaceName(Surface surface) { return surface == Surface::Upper ? "upper" : "lower"; }

namespace {

// A point of the contour by its arc parameter s: the polar angle of the circle counted from
// the trailing edge (s = 0) over the upper surface (Theta = s up to Pi) and on along the lower
// surface (Theta = s - 2 Pi) back to the trailing edge (s = 2 Pi).
double thetaOf(double s) { return s <= Pi ? s : s - 2 * Pi; }

// The exact contour, sampled densely and split at its leftmost point, the leading edge, so
// that x runs one way along each surface. A value of x, or near the nose of y, is then found
// on a surface by bisection within the sample interval that brackets it.
struct ContourPoint {
    double s = 0;
    ExactPoint point;
};

class ExactContour {
public:
    ExactContour(const ExactAtTheta& exact, double trailingEdgeCp) : exact_(exact), trailingEdgeCp_(trailingEdgeCp) {
        samples_.resize(kSamples + 1);
        for (int j = 0; j <= kSamples; ++j) samples_[index(j)] = {sampleS(j), at(sampleS(j))};
        findLeadingEdge();
    }

    ExactPoint at(double s) const {
        const double Theta = thetaOf(s);
        return Theta == 0 ? ExactPoint{1, 0, trailingEdgeCp_} : exact_(Theta);
    }

    // The point on the surface at the given x; near the nose, where x hardly moves along the
    // contour, the given y places it when there is one. No value outside the surface's x.
    std::optional<ContourPoint> on(Surface surface, double x, std::optional<double> y) const {
        if (x > 1 || x < leadingEdge_.point.x - kNoseTolerance) return std::nullopt;
        if (x <= leadingEdge_.point.x) return leadingEdge_;
        const auto [first, last] = range(surface);
        // x runs one way along a surface, so one interval brackets it.
        const auto segment = nearestBracket(first, last, first, [&](const ExactPoint& p) { return p.x - x; });
        if (!segment) return std::nullopt;
        const ExactPoint& a = samples_[index(*segment)].point;
        const ExactPoint& b = samples_[index(*segment + 1)].point;
        if (y && std::fabs(b.y - a.y) > std::fabs(b.x - a.x)) {
            const int from = std::max(first, *segment - kNearby), to = std::min(last, *segment + kNearby + 1);
            if (const auto byHeight = nearestBracket(from, to, *segment, [&](const ExactPoint& p) { return p.y - *y; })) {
                return solve(*byHeight, [&](const ExactPoint& p) { return p.y - *y; });
            }
        }
        return solve(*segment, [&](const ExactPoint& p) { return p.x - x; });
    }

private:
    static constexpr int kSamples = 8192;
    // A point this close to the left of the leading edge is taken to be on it.
    static constexpr double kNoseTolerance = 1e-12;
    // How many samples from where x is met a point's y is looked for.
    static constexpr int kNearby = 4;

    static std::size_t index(int j) { return static_cast<std::size_t>(j); }
    static double sampleS(int j) { return 2 * Pi * j / kSamples; }

    std::pair<int, int> range(Surface surface) const {
        return surface == Surface::Upper ? std::make_pair(0, leadingIndex_) : std::make_pair(leadingIndex_, lastIndex_);
    }

    // The sample interval between first and last whose ends the function separates, nearest
    // to the sample `near` where there are several.
    template <class Side>
    std::optional<int> nearestBracket(int first, int last, int near, Side side) const {
        std::optional<int> best;
        for (int j = first; j < last; ++j) {
            const double a = side(samples_[index(j)].point), b = side(samples_[index(j + 1)].point);
            if (!(std::isfinite(a) && std::isfinite(b) && (a == 0 || a * b < 0 || b == 0))) continue;
            if (!best || std::abs(j - near) < std::abs(*best - near)) best = j;
        }
        return best;
    }

    ContourPoint pointAt(double s) const { return {s, at(s)}; }

    template <class Side>
    ContourPoint solve(int j, Side side) const {
        double low = samples_[index(j)].s, high = samples_[index(j + 1)].s;
        double lowSide = side(samples_[index(j)].point);
        if (lowSide == 0) return samples_[index(j)];
        if (side(samples_[index(j + 1)].point) == 0) return samples_[index(j + 1)];
        for (int step = 0; step < 200; ++step) {
            const double middle = low + (high - low) / 2;
            if (middle == low || middle == high) break;
            const double middleSide = side(at(middle));
            if (middleSide == 0) return pointAt(middle);
            if ((middleSide < 0) == (lowSide < 0)) {
                low = middle;
                lowSide = middleSide;
            } else {
                high = middle;
            }
        }
        return pointAt(std::fabs(side(at(low))) <= std::fabs(side(at(high))) ? low : high);
    }

    // The leftmost sample, then the smallest x near it by golden-section search, which joins
    // the samples as the point where the surfaces part.
    void findLeadingEdge() {
        leadingIndex_ = 1;
        for (int j = 1; j < kSamples; ++j) {
            if (samples_[index(j)].point.x < samples_[index(leadingIndex_)].point.x) leadingIndex_ = j;
        }
        double low = sampleS(leadingIndex_ - 1), high = sampleS(leadingIndex_ + 1);
        const double ratio = (std::sqrt(5.0) - 1) / 2;
        for (int step = 0; step < 100 && high - low > 0; ++step) {
            const double left = high - ratio * (high - low), right = low + ratio * (high - low);
            if (at(left).x < at(right).x) {
                high = right;
            } else {
                low = left;
            }
        }
        leadingEdge_ = pointAt(low + (high - low) / 2);
        if (!(leadingEdge_.point.x <= samples_[index(leadingIndex_)].point.x)) {
            leadingEdge_ = samples_[index(leadingIndex_)];
            return;
        }
        if (leadingEdge_.s < samples_[index(leadingIndex_)].s) {
            samples_.insert(samples_.begin() + leadingIndex_, leadingEdge_);
        } else {
            samples_.insert(samples_.begin() + leadingIndex_ + 1, leadingEdge_);
            ++leadingIndex_;
        }
        ++lastIndex_;
    }

    const ExactAtTheta& exact_;
    double trailingEdgeCp_;
    std::vector<ContourPoint> samples_;
    int lastIndex_ = kSamples;
    int leadingIndex_ = 0;
    ContourPoint leadingEdge_;
};

struct Matched {
    std::vector<ComparedPoint> rows;
    std::vector<SkippedPoint> skipped;
    double squaredSum = 0;
};

void keep(Matched& out, const MeasuredPoint& point, Surface surface, double CpExact) {
    out.rows.push_back({point.line, point.x, surface, point.Cp, CpExact});
    out.squaredSum += (point.Cp - CpExact) * (point.Cp - CpExact);
}

void skip(Matched& out, const MeasuredPoint& point) {
    out.skipped.push_back({point.line, point.x, "x lies outside the section's chord; skipped"});
}

// With y given: the surface whose exact y at the point's x is nearer.
Matched matchByHeight(const ExactContour& contour, const std::vector<MeasuredPoint>& points) {
    Matched out;
    for (const MeasuredPoint& point : points) {
        const auto upper = contour.on(Surface::Upper, point.x, point.y);
        const auto lower = contour.on(Surface::Lower, point.x, point.y);
        if (!upper && !lower) {
            skip(out, point);
            continue;
        }
        const bool nearerUpper =
            upper && (!lower || std::fabs(upper->point.y - *point.y) <= std::fabs(lower->point.y - *point.y));
        keep(out, point, nearerUpper ? Surface::Upper : Surface::Lower,
             nearerUpper ? upper->point.Cp : lower->point.Cp);
    }
    return out;
}

// Without y: the points up to the smallest x run along one surface, the rest along the other.
// Next to that point the file's runs and the surfaces, which part at the contour's leftmost
// point, may not agree; there each point takes the surface whose point lies where the order
// puts it, between its neighbours a few points away on either side.
Matched matchRuns(const ExactContour& contour, const std::vector<MeasuredPoint>& points, std::size_t split,
                  Surface first) {
    const Surface second = first == Surface::Upper ? Surface::Lower : Surface::Upper;
    const auto surfaceOf = [&](std::size_t i) { return i < split ? first : second; };
    std::vector<std::optional<ContourPoint>> found(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) found[i] = contour.on(surfaceOf(i), points[i].x, std::nullopt);

    constexpr std::size_t kReach = 3;
    const std::size_t before = split > kReach ? split - kReach - 1 : 0, after = split - 1 + kReach;
    std::vector<Surface> surfaces(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) surfaces[i] = surfaceOf(i);
    if (split > kReach && after < points.size() && found[before] && found[after]) {
        for (std::size_t i = before + 1; i < after; ++i) {
            const double t = static_cast<double>(i - before) / static_cast<double>(after - before);
            const double expected = found[before]->s + t * (found[after]->s - found[before]->s);
            for (Surface surface : {first, second}) {
                const auto candidate = contour.on(surface, points[i].x, std::nullopt);
                if (candidate && (!found[i] || std::fabs(candidate->s - expected) < std::fabs(found[i]->s - expected))) {
                    found[i] = candidate;
                    surfaces[i] = surface;
                }
            }
        }
    }
    Matched out;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (found[i]) {
            keep(out, points[i], surfaces[i], found[i]->point.Cp);
        } else {
            skip(out, points[i]);
        }
    }
    return out;
}

Matched matchByOrder(const ExactContour& contour, const std::vector<MeasuredPoint>& points) {
    const auto nose = std::min_element(points.begin(), points.end(),
                                       [](const MeasuredPoint& a, const MeasuredPoint& b) { return a.x < b.x; });
    const auto split = static_cast<std::size_t>(nose - points.begin()) + 1;
    Matched upperFirst = matchRuns(contour, points, split, Surface::Upper);
    Matched lowerFirst = matchRuns(contour, points, split, Surface::Lower);
    const auto meanSquare = [](const Matched& m) {
        return m.rows.empty() ? INFINITY : m.squaredSum / static_cast<double>(m.rows.size());
    };
    return meanSquare(upperFirst) <= meanSquare(lowerFirst) ? upperFirst : lowerFirst;
}

}  // namespace

Comparison comparePressure(const std::vector<MeasuredPoint>& points, const ExactAtTheta& exact,
                           double trailingEdgeCp) {
    const ExactContour contour(exact, trailingEdgeCp);
    const bool withHeights = !points.empty() && points.front().y.has_value();
    Matched matched = withHeights ? matchByHeight(contour, points) : matchByOrder(contour, points);
    return {std::move(matched.rows), std::move(matched.skipped)};
}

std::string comparisonSummary(const Comparison& comparison, std::string_view separator) {
    const auto& rows = comparison.rows;
    if (rows.empty()) return "0 points compared";
    const auto largest = std::max_element(rows.begin(), rows.end(), [](const ComparedPoint& a, const ComparedPoint& b) {
        return std::fabs(a.CpFile - a.CpExact) < std::fabs(b.CpFile - b.CpExact);
    });
    double squares = 0;
    for (const ComparedPoint& row : rows) squares += (row.CpFile - row.CpExact) * (row.CpFile - row.CpExact);
    return std::to_string(rows.size()) + " points compared; largest |dCp| " +
           shortestText(std::fabs(largest->CpFile - largest->CpExact), separator) + " at x " +
           shortestText(largest->x, separator) + " (" + surfaceName(largest->surface) + "); rms dCp " +
           shortestText(std::sqrt(squares / static_cast<double>(rows.size())), separator);
}

int writeComparison(ComparisonFormat format, const Comparison& comparison, std::string_view separator,
                    const ByteSink& sink) {
    BlockWriter out(sink);
    if (format == ComparisonFormat::Csv) {
        out.append("x,surface,Cp_file,Cp_exact,dCp\r\n");
        for (const ComparedPoint& row : comparison.rows) {
            out.append(shortestText(row.x) + "," + surfaceName(row.surface) + "," + shortestText(row.CpFile) + "," +
                       shortestText(row.CpExact) + "," + shortestText(row.CpFile - row.CpExact) + "\r\n");
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
        number(row.CpFile - row.CpExact);
        out.append("\n");
    }
    out.append(comparisonSummary(comparison, separator) + "\n");
    return out.finish();
}

}  // namespace vorta
