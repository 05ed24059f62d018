// The flow at another code's points as CSV: the rows read back as the same doubles, in order,
// with empty fields where a point has no values, whatever thread formatted them.
#include "core/output/field_csv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace vorta;

namespace {

TEST(FieldCsv, RowsReadBackInOrderWithEmptyFieldsForNoValue) {
    const std::size_t n = 16384 * 8 + 5;  // more than a round of chunks, and a part of one
    const double noValue = std::numeric_limits<double>::quiet_NaN();
    std::vector<std::vector<double>> columns(6, std::vector<double>(n));
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t c = 0; c < 6; ++c)
            columns[c][i] = std::sin(double(i) * (c + 1)) / 3 + (c == 1 ? -0.0 : 0);
        if (i % 97 == 3) columns[2][i] = columns[3][i] = columns[4][i] = columns[5][i] = noValue;
    }
    const FieldColumns table{n,
                             columns[0].data(),
                             columns[1].data(),
                             columns[2].data(),
                             columns[3].data(),
                             columns[4].data(),
                             columns[5].data()};
    std::string text;
    ASSERT_EQ(writeFieldCsv(table,
                            [&](std::string_view bytes) {
                                text.append(bytes);
                                return 0;
                            }),
              0);
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "x,y,u,v,Cp,psi\r");
    for (std::size_t i = 0; i < n; ++i) {
        ASSERT_TRUE(std::getline(lines, line)) << i;
        ASSERT_EQ(line.back(), '\r');
        std::istringstream fields(line.substr(0, line.size() - 1));
        std::string field;
        for (std::size_t c = 0; c < 6; ++c) {
            std::getline(fields, field, ',');
            if (std::isnan(columns[c][i])) {
                EXPECT_EQ(field, "") << i;
            } else {
                EXPECT_EQ(std::strtod(field.c_str(), nullptr), columns[c][i]) << i << ' ' << c;
            }
        }
    }
    EXPECT_FALSE(std::getline(lines, line));
}

TEST(FieldCsv, AFailingSinkStopsTheWriting) {
    const double one = 1;
    const FieldColumns table{1, &one, &one, &one, &one, &one, &one};
    int calls = 0;
    EXPECT_EQ(writeFieldCsv(table,
                            [&](std::string_view) {
                                ++calls;
                                return 28;
                            }),
              28);
    EXPECT_EQ(calls, 1);
}

}  // namespace
