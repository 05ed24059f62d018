#include "core/studies/pressure_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "core/numbers/number_text.h"
#include "core/studies/text_table.h"

namespace vorta {

const char* surfaceName(Surface surface) { return surface == Surface::Upper ? "upper" : "lower"; }

namespace {

std::optional<Surface> surfaceOf(std::string_view token) {
    if (sameName(token, "upper")) return Surface::Upper;
    if (sameName(token, "lower")) return Surface::Lower;
    return std::nullopt;
}

// Where x, y, Cp and the surface stand in a row, as a line of column names gives them.
struct Columns {
    std::size_t x = 0, Cp = 0;
    std::optional<std::size_t> y, surface;
    std::size_t needed = 0;
    bool uses(std::size_t i) const { return i == x || i == Cp || i == y; }
};

std::optional<Columns> namedColumns(const std::vector<std::string_view>& names) {
    std::optional<std::size_t> x, y, Cp, surface;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameName(names[i], "x") && !x) x = i;
        if (sameName(names[i], "y") && !y) y = i;
        if (sameName(names[i], "cp") && !Cp) Cp = i;
        if (sameName(names[i], "surface") && !surface) surface = i;
    }
    if (!x || !Cp) return std::nullopt;
    return Columns{*x, *Cp, y, surface, std::max({*x, *Cp, y.value_or(0), surface.value_or(0)}) + 1};
}

std::string numbersWord(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " number" : " numbers");
}

// Reads the lines one by one; each refusal names the line it comes from.
class TableReader {
public:
    // Room for the most points a file may have is only address space until they are read, and
    // spares copying them as they come.
    TableReader(std::istream& in, const std::string& name)
        : lines_(in, kMaxPressureLineLength, kMaxPressureBytes), name_(name) {
        points_.reserve(kMaxPressurePoints);
    }

    std::variant<std::vector<MeasuredPoint>, Refusal> read() {
        std::string_view line;
        for (LineSource::Status status; (status = lines_.next(line)) != LineSource::Status::End;) {
            ++number_;
            if (status != LineSource::Status::Line) return refusalFor(status);
            if (auto refusal = readLine(line)) return *refusal;
        }
        if (points_.empty()) {
            return Refusal{"Cannot compare with " + name_ +
                           ": it holds no lines of numbers. A pressure file holds lines of x Cp or x y Cp."};
        }
        return std::move(points_);
    }

private:
    Refusal refusal(const std::string& why) const {
        return {"Cannot compare with " + name_ + ": line " + std::to_string(number_) + " " + why};
    }

    Refusal refusalFor(LineSource::Status status) const {
        if (status == LineSource::Status::TooLong) {
            return refusal("is longer than " + std::to_string(kMaxPressureLineLength) + " characters.");
        }
        if (status == LineSource::Status::TooLarge) {
            return {"Cannot compare with " + name_ + ": it is larger than 64 MiB (" +
                    std::to_string(kMaxPressureBytes) + " bytes), the most a pressure file may hold."};
        }
        return {"Cannot compare with " + name_ + ": it could not be read."};
    }

    std::optional<Refusal> readLine(std::string_view line) {
        const bool comment = isComment(line);
        splitTokens(withoutCommentMark(line), tokens_);
        values_.clear();
        std::size_t numbers = 0;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            values_.push_back(columns_ && !columns_->uses(i) && looksLikeNumber(tokens_[i])
                                  ? Token{TokenKind::Number, 0}
                                  : readToken(tokens_[i]));
            if (values_.back().kind == TokenKind::Number) ++numbers;
        }
        const auto notFinite = std::find_if(values_.begin(), values_.end(),
                                            [](const Token& t) { return t.kind == TokenKind::NotFinite; });
        // A line of numbers, or of nothing but NaN and infinities, is refused for holding one.
        if (!comment && notFinite != values_.end() && (numbers > 0 || allNumbers())) {
            const std::string_view which = tokens_[static_cast<std::size_t>(notFinite - values_.begin())];
            return refusal("holds " + std::string(which) +
                           ", which is NaN or infinity: a pressure file holds finite numbers only.");
        }
        if (comment || numbers == 0) {
            if (auto named = namedColumns(tokens_)) columns_ = named;
            return std::nullopt;
        }
        auto point = columns_ ? namedRow() : plainRow();
        if (auto* refused = std::get_if<Refusal>(&point)) return *refused;
        return keep(std::get<MeasuredPoint>(point));
    }

    bool allNumbers() const {
        return std::all_of(values_.begin(), values_.end(),
                           [](const Token& t) { return t.kind != TokenKind::Text; });
    }

    std::variant<MeasuredPoint, Refusal> namedRow() const {
        if (tokens_.size() < columns_->needed) {
            return refusal("holds " + numbersWord(tokens_.size()) + ", fewer than its header names.");
        }
        MeasuredPoint point;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            if (i == columns_->surface) {
                point.surface = surfaceOf(tokens_[i]);
                if (!point.surface) {
                    return refusal("holds " + std::string(tokens_[i]) +
                                   " in its surface column; write upper or lower there.");
                }
            } else if (values_[i].kind != TokenKind::Number) {
                return refusal("holds text among its numbers.");
            }
        }
        point.x = values_[columns_->x].value;
        point.Cp = values_[columns_->Cp].value;
        if (columns_->y) point.y = values_[*columns_->y].value;
        return point;
    }

    std::variant<MeasuredPoint, Refusal> plainRow() {
        if (!allNumbers()) return refusal("holds text among its numbers.");
        const std::size_t count = values_.size();
        if (count != 2 && count != 3) {
            return refusal("holds " + numbersWord(count) + "; a line holds x Cp or x y Cp.");
        }
        if (plainCount_ == 0) plainCount_ = count;
        if (count != plainCount_) {
            return refusal("holds " + numbersWord(count) + " where the lines above hold " +
                           std::to_string(plainCount_) + ".");
        }
        MeasuredPoint point;
        point.x = values_.front().value;
        point.Cp = values_.back().value;
        if (count == 3) point.y = values_[1].value;
        return point;
    }

    std::optional<Refusal> keep(MeasuredPoint point) {
        if (points_.size() == kMaxPressurePoints) {
            return refusal("is a point too many: a pressure file has at most " +
                           std::to_string(kMaxPressurePoints) + " points.");
        }
        point.line = number_;
        points_.push_back(point);
        return std::nullopt;
    }

    LineSource lines_;
    const std::string& name_;
    int number_ = 0;
    std::optional<Columns> columns_;
    std::size_t plainCount_ = 0;
    std::vector<std::string_view> tokens_;
    std::vector<Token> values_;
    std::vector<MeasuredPoint> points_;
};

}  // namespace

std::variant<std::vector<MeasuredPoint>, Refusal> readPressureTable(std::istream& in,
                                                                    const std::string& name) {
    return TableReader(in, name).read();
}

std::variant<std::vector<MeasuredPoint>, Refusal> pointsOfArrays(std::size_t n, const double* x,
                                                                 const double* y, const double* Cp) {
    const std::string refused = "Cannot compare with the arrays: ";
    if (n == 0) return Refusal{refused + "they hold no points."};
    std::vector<MeasuredPoint> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (const auto& [name, values] : {std::pair{"x", x}, std::pair{"y", y}, std::pair{"Cp", Cp}}) {
            if (values && !std::isfinite(values[i])) {
                return Refusal{refused + name + "[" + std::to_string(i) + "] is " + shortestText(values[i]) +
                               "; the points must be finite numbers."};
            }
        }
        points[i].line = static_cast<int>(i);
        points[i].x = x[i];
        if (y) points[i].y = y[i];
        points[i].Cp = Cp[i];
    }
    return points;
}

}  // namespace vorta
