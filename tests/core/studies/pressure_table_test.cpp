// Reading another code's pressure distribution: the layouts it may have, and what is refused,
// naming the line.
#include "core/studies/pressure_table.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <streambuf>

using namespace vorta;

namespace {

std::variant<std::vector<MeasuredPoint>, Refusal> read(const std::string& text) {
    std::istringstream in(text);
    return readPressureTable(in, "cp.txt");
}

std::vector<MeasuredPoint> points(const std::string& text) {
    const auto result = read(text);
    if (const auto* refusal = std::get_if<Refusal>(&result)) ADD_FAILURE() << refusal->message;
    const auto* table = std::get_if<std::vector<MeasuredPoint>>(&result);
    return table ? *table : std::vector<MeasuredPoint>{};
}

std::string refusal(const std::string& text) {
    const auto result = read(text);
    const auto* refused = std::get_if<Refusal>(&result);
    return refused ? refused->message : "";
}

TEST(PressureTable, ReadsTwoOrThreeColumnsAndNamedColumns) {
    const auto xfoil = points("#    x          Cp  \n     1.00000    0.41449\n     0.99168    0.23071\n");
    ASSERT_EQ(xfoil.size(), 2u);
    EXPECT_EQ(xfoil[1].line, 3);
    EXPECT_EQ(xfoil[1].x, 0.99168);
    EXPECT_EQ(xfoil[1].Cp, 0.23071);
    EXPECT_FALSE(xfoil[1].y);

    const auto three = points("# my code\r\n\r\n1 0 0.5\r\n+0.5\t0.06\t-3E-1");
    ASSERT_EQ(three.size(), 2u);
    EXPECT_EQ(*three[1].y, 0.06);
    EXPECT_EQ(three[1].Cp, -0.3);

    // Vorta's own CSV: the header picks x, y and Cp out of five columns.
    const auto csv = points("i,x,y,Cu,Cp\r\n1,1,0,0,1\r\n2,0.99,-0.001,0.6,0.4\r\n");
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_EQ(csv[1].x, 0.99);
    EXPECT_EQ(*csv[1].y, -0.001);
    EXPECT_EQ(csv[1].Cp, 0.4);

    const auto named = points("Surface x Cp\nUPPER 0.5 -0.6\nlower 0.5 0.1\n");
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0].surface, Surface::Upper);
    EXPECT_EQ(named[1].surface, Surface::Lower);
    EXPECT_EQ(named[1].Cp, 0.1);
}

TEST(PressureTable, RefusesWhatIsNoSuchTableNamingTheLine) {
    EXPECT_EQ(refusal(""),
              "Cannot compare with cp.txt: it holds no lines of numbers. A pressure file holds lines of "
              "x Cp or x y Cp.");
    EXPECT_NE(refusal(std::string("\x7f"
                                  "ELF\x02\x01\x01\0\0\0\0",
                                  12) +
                      "junk\n")
                  .find("no lines of numbers"),
              std::string::npos);
    const std::map<std::string, std::string> refusals = {
        {"1 2\n1 2 3 4\n", "line 2 holds 4 numbers; a line holds x Cp or x y Cp."},
        {"1 2\n1 2 3\n", "line 2 holds 3 numbers where the lines above hold 2."},
        {"1 2 abc\n", "line 1 holds text among its numbers."},
        {"x cp surface\n0.5 -0.3 middle\n",
         "line 2 holds middle in its surface column; write upper or lower there."},
        {"x cp surface\n0.5 -0.3\n", "line 2 holds 2 numbers, fewer than its header names."},
        {"0.5 0.1\n0.6 nan\n",
         "line 2 holds nan, which is NaN or infinity: a pressure file holds finite numbers only."},
        {"-inf 0.1\n",
         "line 1 holds -inf, which is NaN or infinity: a pressure file holds finite numbers only."},
        {"NaN NaN\n",
         "line 1 holds NaN, which is NaN or infinity: a pressure file holds finite numbers only."},
        {"0.5 +Infinity\n",
         "line 1 holds +Infinity, which is NaN or infinity: a pressure file holds finite numbers only."},
        {"0.5 -1.#IND\n",
         "line 1 holds -1.#IND, which is NaN or infinity: a pressure file holds finite numbers only."},
        {"0.5 1e400\n",
         "line 1 holds 1e400, which is NaN or infinity: a pressure file holds finite numbers only."},
        {"i,x,y,Cu,Cp\n1,0.5,0,nan,0.2\n",
         "line 2 holds nan, which is NaN or infinity: a pressure file holds finite "
         "numbers only."},
        {std::string(5000, '1'), "line 1 is longer than 4096 characters."},
    };
    for (const auto& [text, why] : refusals)
        EXPECT_EQ(refusal(text), "Cannot compare with cp.txt: " + why) << text;
    std::string many;
    for (std::size_t i = 0; i <= kMaxPressurePoints; ++i) many += "0.5 0.1\n";
    EXPECT_NE(refusal(many).find("at most 100000 points"), std::string::npos);
}

// Endless comment lines, as a pipe from `yes` gives them, counting what is read of them.
class EndlessComments : public std::streambuf {
public:
    std::size_t handedOut = 0;

protected:
    int_type underflow() override {
        setg(line_, line_, line_ + sizeof line_ - 1);
        handedOut += sizeof line_ - 1;
        return traits_type::to_int_type(line_[0]);
    }

private:
    char line_[64] = "# a comment that goes on and on, as long comments do, forever\n";
};

TEST(PressureTable, ReadingStopsAtTheByteLimit) {
    EndlessComments comments;
    std::istream in(&comments);
    const auto result = readPressureTable(in, "yes");
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
    EXPECT_EQ(std::get<Refusal>(result).message,
              "Cannot compare with yes: it is larger than 64 MiB (67108864 bytes), the most a pressure file "
              "may hold.");
    EXPECT_LT(comments.handedOut, kMaxPressureBytes + 128);
}

}  // namespace
