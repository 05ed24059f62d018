// A catalog entry's descriptive fields against its section, each to the precision it is
// written with, and the check of a catalog marking these disagreements as warnings.
#include "core/studies/descriptor_check.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/studies/catalog_check.h"

namespace {

vorta::Catalog catalogOf(const std::string& text) {
    std::istringstream in(text);
    return vorta::loadCatalog(in);
}

std::vector<std::string> disagreements(const std::string& line) {
    return vorta::descriptorDisagreements(catalogOf("1\r\n0\r\n" + line + "\r\n").entry(1));
}

// The section of F = 0.1, G = 0.05, m = 2 is 0.1180320 thick at x = 0.2523399, with a camber
// of 0.0227273 and a trailing-edge angle of 0 degrees.
TEST(DescriptorCheck, HoldsEachFieldToThePrecisionItIsWrittenWith) {
    const struct {
        const char* line;
        std::vector<std::string> expected;
    } cases[] = {
        {"0.1180,0.0227,0.2523,0,0.1,0.05,2", {}},
        {"0.118,0.023,0.25,0,0.1,0.05,2", {}},
        {"0.11803,1.2E-2,0.3,0,0.1,0.05,2",
         {"Gama 1.2E-2, but the section of F = 0.1, G = 0.05, m = 2 has a camber of 0.0227."}},
        {"0.2000,0.0227,0.2523,0,0.1,0.05,2",
         {"Delta 0.2000, but the section of F = 0.1, G = 0.05, m = 2 is 0.1180 thick."}},
        {"0.118030,0.0227,0.26,10, 0.1 ,0.05,2",
         {"Delta 0.118030, but the section of F = 0.1, G = 0.05, m = 2 is 0.118032 thick.",
          "xDltC 0.26, but the section of F = 0.1, G = 0.05, m = 2 is thickest at x = 0.2523.",
          "Tau 10, but the section of F = 0.1, G = 0.05, m = 2 has a trailing-edge angle of 0 degrees."}},
        {"0.1049,0.0000,0.3293,9.1,0.06,0,1.95",
         {"Tau 9.1, but the section of F = 0.06, G = 0, m = 1.95 has a trailing-edge angle of 9 degrees."}},
        // An arc has no thickness and so no place of the largest.
        {"0,0.0250,0.7,0,0,0.05,2", {}},
        // Not measured: a line that is not its own numbers, a section that cannot be measured.
        {"0.1,0.1,0.3,18,0.1,0.1,2.5", {}},
        {"0.1,0.1,0.3,18,1e200,0.1,2", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(disagreements(c.line), c.expected) << c.line;
}

TEST(DescriptorCheck, TheCatalogCheckMarksDisagreementsAsWarnings) {
    const vorta::Catalog catalog =
        catalogOf("1\r\n0\r\n0.2,0.0227,0.2523,0,0.1,0.05,2\r\n0.1,0,0.3,0,-1,0,2\r\n");
    std::istringstream file("1\r\n0\r\n0.2,0.0227,0.2523,0,0.1,0.05,2\r\n0.1,0,0.3,0,-1,0,2\r\n");
    const std::vector<vorta::CatalogProblem> problems = vorta::checkCatalog(catalog, file, 51, 0);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 3);
    EXPECT_TRUE(problems[0].warning);
    EXPECT_EQ(problems[0].what, "Delta 0.2, but the section of F = 0.1, G = 0.05, m = 2 is 0.1180 thick.");
    EXPECT_EQ(problems[1].what, "F must be 0 or more.");
    EXPECT_FALSE(problems[1].warning);
}

}  // namespace
