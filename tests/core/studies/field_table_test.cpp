// Reading the points of another code's mesh or field.
#include "core/studies/field_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace vorta;

namespace {

std::variant<FieldTable, Refusal> read(const std::string& text) {
    std::istringstream in(text);
    return readFieldTable(in, "p.txt");
}

TEST(FieldTable, ReadsPlainPairsAndNamedColumns) {
    const struct {
        const char* text;
        std::size_t points;
        double lastX, lastY;
        int lastLine;
        std::array<bool, 4> valuesNamed;  // u, v, Cp, psi
    } cases[] = {
        {"0.5 0.3\n1\t-2\n", 2, 1, -2, 2, {}},
        {"# a mesh\n\n0.5,0.3\r\n1.5e-1 , 2\r\n", 2, 0.15, 2, 4, {}},
        {"title of the mesh\nid,x,y,tag\n1,0.5,0.3,wall\n2,0.7,0.4,far field?\n", 2, 0.7, 0.4, 4, {}},
        {"# x y u Cp\n1 2 3 4\n", 1, 1, 2, 2, {true, false, true, false}},
        {"Y,X,PSI,v\n1,2,3,4\n", 1, 2, 1, 2, {false, true, false, true}},
    };
    for (const auto& c : cases) {
        const auto result = read(c.text);
        ASSERT_TRUE(std::holds_alternative<FieldTable>(result))
            << c.text << std::get<Refusal>(result).message;
        const FieldTable& t = std::get<FieldTable>(result);
        ASSERT_EQ(t.size(), c.points) << c.text;
        EXPECT_EQ(t.x.back(), c.lastX) << c.text;
        EXPECT_EQ(t.y.back(), c.lastY) << c.text;
        EXPECT_EQ(t.lines.back(), c.lastLine) << c.text;
        for (std::size_t v = 0; v < 4; ++v)
            EXPECT_EQ(t.values[v].size(), c.valuesNamed[v] ? c.points : 0) << c.text;
    }
    const FieldTable named = std::get<FieldTable>(read("# x y u Cp\n1 2 3 4\n"));
    EXPECT_EQ(named.values[0][0], 3);
    EXPECT_EQ(named.values[2][0], 4);
}

TEST(FieldTable, RefusesWhatCannotBeReadAsPoints) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "Cannot read the points of p.txt: it holds no lines of numbers."},
        {"0,5 0,3\n",
         "Cannot read the points of p.txt: line 1 holds 4 numbers; without a header line naming columns x "
         "and y, a "
         "line holds x y. The decimal separator is the point: write 0.5, not 0,5."},
        {"1 2 3\n", "Cannot read the points of p.txt: line 1 holds 3 numbers;"},
        {"1 nan\n", "Cannot read the points of p.txt: line 1 holds nan, which is NaN or infinity"},
        {"x,y\n1,inf\n", "Cannot read the points of p.txt: line 2 holds inf, which is NaN or infinity"},
        {"1 2\n3 abc\n", "Cannot read the points of p.txt: line 2 holds text where a number belongs: abc."},
        {"x,y,u\n1,2\n",
         "Cannot read the points of p.txt: line 2 holds 2 columns, fewer than its header names."},
        {"x y\n1 2\nx y\n", "Cannot read the points of p.txt: line 3 names the columns again"},
        {"1 1e400\n", "Cannot read the points of p.txt: line 1 holds 1e400, which is NaN or infinity"},
    };
    for (const auto& c : cases) {
        const auto result = read(c.text);
        ASSERT_TRUE(std::holds_alternative<Refusal>(result)) << c.text;
        EXPECT_EQ(std::get<Refusal>(result).message.rfind(c.message, 0), 0u)
            << std::get<Refusal>(result).message;
    }
    EXPECT_NE(std::get<Refusal>(read(std::string(5000, '1'))).message.find("longer than 4096 characters"),
              std::string::npos);
}

}  // namespace
