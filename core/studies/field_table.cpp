#include "core/studies/field_table.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/studies/text_table.h"

namespace vorta {

namespace {

constexpr std::size_t kValueCount = kFieldValueNames.size();

// Where x, y and the values stand in a row, as a header line names them.
struct Columns {
    std::size_t x = 0, y = 0;
    std::array<std::optional<std::size_t>, kValueCount> values;
    std::size_t needed = 0;
};

std::optional<Columns> namedColumns(const std::vector<std::string_view>& names) {
    std::optional<std::size_t> x, y;
    std::array<std::optional<std::size_t>, kValueCount> values;
    for (std::size_t i = names.size(); i-- > 0;) {  // the first of equal names wins
        if (sameName(names[i], "x")) x = i;
        if (sameName(names[i], "y")) y = i;
        for (std::size_t v = 0; v < kValueCount; ++v) {
            if (sameName(names[i], kFieldValueNames[v])) values[v] = i;
        }
    }
    if (!x || !y) return std::nullopt;
    Columns columns{*x, *y, values, std::max(*x, *y) + 1};
    for (const auto& value : values) columns.needed = std::max(columns.needed, value.value_or(0) + 1);
    return columns;
}

// "0,5 0,3" written with decimal commas splits into four numbers.
bool hasDecimalComma(std::string_view line) {
    for (std::size_t i = 1; i + 1 < line.size(); ++i) {
        const auto digit = [](char c) { return c >= '0' && c <= '9'; };
        if (line[i] == ',' && digit(line[i - 1]) && digit(line[i + 1])) return true;
    }
    return false;
}

std::string numbersWord(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " number" : " numbers");
}

class Reader {
  public:
    Reader(std::istream& in, const std::string& name)
        : lines_(in, kMaxFieldLineLength, kMaxFieldBytes), name_(name) {}

    std::variant<FieldTable, Refusal> read() {
        std::string_view line;
        for (LineSource::Status status; (status = lines_.next(line)) != LineSource::Status::End;) {
            ++number_;
            if (status != LineSource::Status::Line) return refusalFor(status);
            if (auto refusal = readLine(line)) return *refusal;
        }
        if (table_.size() == 0) {
            return Refusal{
                "Cannot read the points of " + name_ +
                ": it holds no lines of numbers. A point file holds lines of x y, or columns named "
                "by a header line."};
        }
        return std::move(table_);
    }

  private:
    Refusal refusal(const std::string& why) const {
        return {"Cannot read the points of " + name_ + ": line " + std::to_string(number_) + " " + why};
    }

    Refusal refusalFor(LineSource::Status status) const {
        if (status == LineSource::Status::TooLong) {
            return refusal("is longer than " + std::to_string(kMaxFieldLineLength) + " characters.");
        }
        if (status == LineSource::Status::TooLarge) {
            return {"Cannot read the points of " + name_ + ": it is larger than 1 GiB (" +
                    std::to_string(kMaxFieldBytes) + " bytes), the most a point file may hold."};
        }
        return {"Cannot read the points of " + name_ + ": it could not be read."};
    }

    std::optional<Refusal> readLine(std::string_view line) {
        splitTokens(withoutCommentMark(line), tokens_);
        if (isComment(line) || tokens_.empty()) return header();
        if (!columns_) {
            values_.clear();
            for (std::string_view token : tokens_) values_.push_back(readToken(token));
            const bool anyNumber = std::any_of(values_.begin(), values_.end(),
                                               [](const Token& t) { return t.kind != TokenKind::Text; });
            if (!anyNumber) return header();
            return plainRow(line);
        }
        // A line that names the columns again reads as text where x belongs.
        if (readToken(tokens_[std::min(columns_->x, tokens_.size() - 1)]).kind == TokenKind::Text &&
            namedColumns(tokens_)) {
            return header();
        }
        return namedRow();
    }

    // A line that names x and y is the header, before the points; any other line without
    // numbers is skipped.
    std::optional<Refusal> header() {
        auto named = namedColumns(tokens_);
        if (!named) return std::nullopt;
        if (table_.size() > 0)
            return refusal("names the columns again, below points: a point file has one header.");
        columns_ = named;
        return std::nullopt;
    }

    std::optional<Refusal> plainRow(std::string_view line) {
        if (values_.size() != 2) {
            std::string why = "holds " + numbersWord(values_.size()) +
                              "; without a header line naming columns x and y, a line holds x y.";
            if (hasDecimalComma(line)) why += " The decimal separator is the point: write 0.5, not 0,5.";
            return refusal(why);
        }
        for (std::size_t i = 0; i < 2; ++i) {
            if (auto refused = notANumber(values_[i], tokens_[i])) return refused;
        }
        return keep(values_[0].value, values_[1].value);
    }

    std::optional<Refusal> namedRow() {
        if (tokens_.size() < columns_->needed) {
            return refusal("holds " + std::to_string(tokens_.size()) +
                           " columns, fewer than its header names.");
        }
        const auto number = [&](std::size_t i, double& value) -> std::optional<Refusal> {
            const Token token = readToken(tokens_[i]);
            if (auto refused = notANumber(token, tokens_[i])) return refused;
            value = token.value;
            return std::nullopt;
        };
        double x = 0, y = 0;
        if (auto refused = number(columns_->x, x)) return refused;
        if (auto refused = number(columns_->y, y)) return refused;
        for (std::size_t v = 0; v < kValueCount; ++v) {
            if (!columns_->values[v]) continue;
            double value = 0;
            if (auto refused = number(*columns_->values[v], value)) return refused;
            table_.values[v].push_back(value);
        }
        return keep(x, y);
    }

    std::optional<Refusal> notANumber(const Token& token, std::string_view text) const {
        if (token.kind == TokenKind::Number) return std::nullopt;
        if (token.kind == TokenKind::NotFinite) {
            return refusal("holds " + std::string(text) +
                           ", which is NaN or infinity: a point file holds finite numbers only.");
        }
        return refusal("holds text where a number belongs: " + std::string(text.substr(0, 40)) + ".");
    }

    std::optional<Refusal> keep(double x, double y) {
        if (table_.size() == kMaxFieldPoints) {
            return refusal("is a point too many: a point file has at most " +
                           std::to_string(kMaxFieldPoints) + " points.");
        }
        table_.x.push_back(x);
        table_.y.push_back(y);
        table_.lines.push_back(number_);
        return std::nullopt;
    }

    LineSource lines_;
    const std::string& name_;
    int number_ = 0;
    std::optional<Columns> columns_;
    std::vector<std::string_view> tokens_;
    std::vector<Token> values_;
    FieldTable table_;
};

}  // namespace

std::variant<FieldTable, Refusal> readFieldTable(std::istream& in, const std::string& name) {
    return Reader(in, name).read();
}

}  // namespace vorta
