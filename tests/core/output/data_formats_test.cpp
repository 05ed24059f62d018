// The contour in the formats other tools read. What other programs make of these
// files is tested in tests/tools with Python's own parsers; here, the layout and exactness.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <sstream>
#include <string>
#include <variant>

#include "core/output/data_formats.h"
#include "core/numbers/number_text.h"
#include "support/catalog_text.h"

using namespace vorta;

namespace {

const Catalog kCatalog = catalogOf("0.1,0.1,0.3,18,0.1,0.1,1.9\r\n0,0.1,0,0,0,0.05,2\r\n");

Calculation calculated(int k, const char* points, const char* angle) {
    return std::get<Calculation>(calculate(kCatalog, k, points, angle));
}

std::string written(DataFormat format, const Calculation& c) {
    std::string text;
    EXPECT_EQ(writeContour(format, kCatalog, c, [&](std::string_view block) {
                  text.append(block);
                  return 0;
              }),
              0);
    return text;
}

double parsed(const std::string& text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(result.ptr, text.data() + text.size()) << text;
    return value;
}

TEST(ContourFile, RunsOverTheUpperSurfaceFirstWithExactNumbers) {
    const Calculation c = calculated(1, "51", "5");
    const std::vector<std::string> lines = linesOf(written(DataFormat::Dat, c), "\n");
    ASSERT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines[0], "Vorta F=0.1 G=0.1 m=1.9");
    for (int row = 1; row <= 51; ++row) {
        const std::size_t k = static_cast<std::size_t>(52 - row);
        const std::string& line = lines[static_cast<std::size_t>(row)];
        const std::size_t blank = line.find(' ');
        ASSERT_NE(blank, std::string::npos) << line;
        EXPECT_EQ(parsed(line.substr(0, blank)), c.solution.x[k]) << row;
        EXPECT_EQ(parsed(line.substr(blank + 1)), c.solution.y[k]) << row;
    }
    EXPECT_GT(parsed(lines[10].substr(lines[10].find(' ') + 1)), 0);  // upper surface first
}

// The circular arc's points are all distinct: an even count has the two points beside the
// singular nose, an odd one the nose itself, at the leading edge (0, 0).
TEST(ContourFile, ACircularArcWritesEveryPoint) {
    for (const char* points : {"50", "51"}) {
        const std::string dat = written(DataFormat::Dat, calculated(2, points, "0"));
        const std::vector<std::string> lines = linesOf(dat, "\n");
        EXPECT_EQ(lines.size(), 1u + std::stoul(points)) << points;
        for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_NE(lines[i], lines[i - 1]) << points << i;
    }
}

TEST(ContourCsv, HasAHeaderAndOneExactRowAPoint) {
    const Calculation c = calculated(1, "11", "-3");
    const std::vector<std::string> rows = linesOf(written(DataFormat::Csv, c), "\r\n");
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0], "i,x,y,Cu,Cp");
    for (std::size_t k = 1; k <= 11; ++k) {
        std::istringstream row(rows[k]);
        std::string cell;
        std::vector<std::string> cells;
        while (std::getline(row, cell, ',')) cells.push_back(cell);
        ASSERT_EQ(cells.size(), 5u) << rows[k];
        EXPECT_EQ(cells[0], std::to_string(k));
        EXPECT_EQ(parsed(cells[1]), c.solution.x[k]);
        EXPECT_EQ(parsed(cells[2]), c.solution.y[k]);
        EXPECT_EQ(parsed(cells[3]), c.solution.Cu[k]);
        EXPECT_EQ(parsed(cells[4]), 1 - c.solution.Cu[k]);
    }
}

TEST(ContourJson, HoldsTheEntryTheCoefficientsAndTheArrays) {
    const std::string json = written(DataFormat::Json, calculated(1, "5", "5"));
    EXPECT_EQ(json.rfind("{\"entry\":{\"number\":1,\"text\":\"0.1,0.1,0.3,18,0.1,0.1,1.9\",\"fields\":{\"Delta\":0.1,", 0),
              0u)
        << json;
    EXPECT_NE(json.find("\"N1\":5,\"AlfaD\":5.0,\"CL\":"), std::string::npos) << json;
    EXPECT_NE(json.find("\"x\":[1.0,"), std::string::npos) << json;
    EXPECT_EQ(json.back(), '\n');
}

TEST(ContourFormats, AFailingSinkStopsTheWriting) {
    const Calculation c = calculated(1, "20001", "5");
    for (DataFormat format : {DataFormat::Dat, DataFormat::Csv, DataFormat::Json}) {
        int blocks = 0;
        EXPECT_EQ(writeContour(format, kCatalog, c,
                               [&](std::string_view) {
                                   ++blocks;
                                   return 28;  // ENOSPC
                               }),
                  28);
        EXPECT_EQ(blocks, 1);
    }
}

}  // namespace
