#include "core/studies/contour_file.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/numbers/number_text.h"

namespace vorta {

namespace {

constexpr const char* kWhatAPointIs =
    "a point is two numbers, x and y, with a point for decimals, separated by blanks";

// The blank-separated fields of a line, each read as a number; none when one is no number.
std::optional<std::vector<double>> numbersOf(const std::string& line) {
    std::vector<double> numbers;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t", at)) != std::string::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        const std::optional<double> value = readCatalogNumber(std::string_view(line).substr(at, end - at));
        if (!value) return std::nullopt;
        numbers.push_back(*value);
        at = end;
    }
    return numbers;
}

// Reads a line without its line end (CR LF, LF or CR); false at the end of the data or past
// the longest line.
enum class LineRead { Read, End, TooLong };
LineRead readLine(std::istream& in, std::string& line) {
    line.clear();
    if (in.peek() == std::char_traits<char>::eof()) return LineRead::End;
    for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
        if (c == '\n') break;
        if (c == '\r') {
            if (in.peek() == '\n') in.get();
            break;
        }
        if (line.size() == kLongestContourLine) return LineRead::TooLong;
        line += static_cast<char>(c);
    }
    return LineRead::Read;
}

bool isWholeAndTwoOrMore(double value) { return value >= 2 && value == std::floor(value); }

// Lednicer's order, the upper surface's points from the leading edge and then the lower
// one's, turned into XFOIL's; the leading edge the two share is kept once.
std::vector<PlanePoint> fromLednicer(const std::vector<PlanePoint>& points, std::size_t upperCount) {
    std::vector<PlanePoint> ordered(points.rend() - static_cast<long>(upperCount), points.rend());
    auto lower = points.begin() + static_cast<long>(upperCount);
    if (lower != points.end() && lower->x == ordered.back().x && lower->y == ordered.back().y) ++lower;
    ordered.insert(ordered.end(), lower, points.end());
    return ordered;
}

// The points in XFOIL's order, where the first holds Lednicer's point counts: whole numbers,
// which the first point of XFOIL's order, its trailing edge at y = 0 or near it, is not.
std::variant<std::vector<PlanePoint>, Refusal> inXfoilOrder(std::vector<PlanePoint> points,
                                                            const std::string& at) {
    if (points.empty() || !isWholeAndTwoOrMore(points[0].x) || !isWholeAndTwoOrMore(points[0].y))
        return points;
    const PlanePoint counts = points[0];
    points.erase(points.begin());
    if (counts.x + counts.y != static_cast<double>(points.size())) {
        return Refusal{at + shortestText(counts.x) + " and " + shortestText(counts.y) +
                       " read as the point counts of Lednicer's order, but " + std::to_string(points.size()) +
                       " points follow."};
    }
    return fromLednicer(points, static_cast<std::size_t>(counts.x));
}

}  // namespace

std::variant<std::vector<PlanePoint>, Refusal> readContourFile(std::istream& in, const std::string& name) {
    std::vector<PlanePoint> points;
    int firstPointLine = 0;
    bool first = true;
    std::string line;
    for (int number = 1;; ++number) {
        const LineRead read = readLine(in, line);
        if (read == LineRead::End) break;
        const std::string at = name + ":" + std::to_string(number) + ": ";
        if (read == LineRead::TooLong) {
            return Refusal{at + "the line holds more than " + std::to_string(kLongestContourLine) +
                           " characters."};
        }
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        const std::optional<std::vector<double>> numbers = numbersOf(line);
        const bool title = first && !numbers;
        first = false;
        if (title) continue;
        if (!numbers) return Refusal{at + "this line holds no point: " + kWhatAPointIs + "."};
        if (numbers->size() != 2) {
            return Refusal{at + "it holds " + std::to_string(numbers->size()) + " numbers: " + kWhatAPointIs +
                           "."};
        }
        if (!std::isfinite((*numbers)[0]) || !std::isfinite((*numbers)[1])) {
            return Refusal{at + "a number there is beyond the range of numbers."};
        }
        if (points.size() == kMostContourPoints) {
            return Refusal{name + " holds more than " + std::to_string(kMostContourPoints) + " points."};
        }
        if (points.empty()) firstPointLine = number;
        points.push_back({(*numbers)[0], (*numbers)[1]});
    }
    auto ordered = inXfoilOrder(std::move(points), name + ":" + std::to_string(firstPointLine) + ": ");
    if (const auto* refusal = std::get_if<Refusal>(&ordered)) return *refusal;
    const std::size_t count = std::get<std::vector<PlanePoint>>(ordered).size();
    if (count < kFewestContourPoints) {
        return Refusal{name + " holds " + std::to_string(count) + " points; a fit needs at least " +
                       std::to_string(kFewestContourPoints) + "."};
    }
    return ordered;
}

}  // namespace vorta
