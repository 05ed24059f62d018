// A section given by its numbers rather than by a catalog entry, the checks of numbers a
// program hands over, and a catalog opened by its path.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <utility>

#include "core/calculation/calculation.h"
#include "support/temp_dir.h"
#include "support/catalog_text.h"

using namespace vorta;

namespace {

const InputNames kNames{"points", "alpha"};

template <class T>
std::string refusalOf(const std::variant<T, Refusal>& result) {
    const auto* refusal = std::get_if<Refusal>(&result);
    return refusal ? refusal->message : "";
}

std::string refusalOf(const std::optional<Refusal>& refusal) { return refusal ? refusal->message : ""; }

// The numbers are checked as the texts are, once read.
TEST(CheckedNumbers, ANumberIsCheckedAsItsTextIs) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, const char*> counts[] = {
        {2, "2"},   {51, "51"},     {1e6, "1000000"},     {1, "1"},         {0, "0"},
        {-5, "-5"}, {51.5, "51.5"}, {1e6 + 1, "1000001"}, {1e300, "1E300"}, {inf, "1E400"}};
    for (const auto& [N1, text] : counts) {
        const auto fromNumber = checkPointCount(N1, kNames);
        EXPECT_EQ(refusalOf(fromNumber), refusalOf(checkPointCount(text, kNames))) << text;
        if (std::holds_alternative<int>(fromNumber)) {
            EXPECT_EQ(std::get<int>(fromNumber), N1);
        }
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(refusalOf(checkPointCount(nan, kNames)), "points must be a whole number from 2 to 1000000.");
    const std::pair<double, const char*> angles[] = {{0, "0"},           {-4.5, "-4.5"},   {5e307, "5E307"},
                                                     {-5e307, "-5E307"}, {1e308, "1E308"}, {-inf, "-1E400"}};
    for (const auto& [AlfaD, text] : angles) {
        const auto fromNumber = checkAngle(AlfaD, kNames);
        EXPECT_EQ(refusalOf(fromNumber), refusalOf(checkAngle(text, kNames))) << text;
        if (std::holds_alternative<double>(fromNumber)) {
            EXPECT_EQ(std::get<double>(fromNumber), AlfaD);
        }
    }
    EXPECT_EQ(refusalOf(checkAngle(nan, kNames)), "alpha must be a number of degrees from -5E307 to 5E307.");
}

// A section is refused for what its entry would be refused for, named by its numbers.
TEST(Section, IsRefusedAsItsEntryWouldBeNamingItsNumbers) {
    const struct {
        double F, G, m;
        const char* record;
    } cases[] = {
        {0.1, 0.05, 2.5, "0,0,0,0,0.1,0.05,2.5"},
        {-0.1, 0, 2, "0,0,0,0,-0.1,0,2"},
        {0.1, 0, 0, "0,0,0,0,0.1,0,0"},
        {0.1, 0, 1e-10, "0,0,0,0,0.1,0,1e-10"},  // results too large to show
        {0.1, 0.05, 2, "0,0,0,0,0.1,0.05,2"},
    };
    for (const auto& c : cases) {
        const std::string ofEntry =
            refusalOf(solveEntry(catalogOf(std::string(c.record) + "\r\n"), 1, 51, 0));
        const std::string ofSection = refusalOf(solveSection(c.F, c.G, c.m, 51, 0));
        const std::string prefix = "Airfoil entry 1 cannot be calculated: ";
        if (ofEntry.empty()) {
            EXPECT_EQ(ofSection, "") << c.record;
            continue;
        }
        ASSERT_EQ(ofEntry.rfind(prefix, 0), 0u) << ofEntry;
        EXPECT_EQ(ofSection.substr(ofSection.find(" cannot be calculated: ") + 23),
                  ofEntry.substr(prefix.size()));
    }
    EXPECT_EQ(
        refusalOf(checkSection(0.1, 0.05, 2.5)),
        "The section F=0.1 G=0.05 m=2.5 cannot be calculated: m must not exceed 2: above 2 the surfaces "
        "cross at the trailing edge.");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(refusalOf(checkSection(0.1, nan, 2)),
              "The section F=0.1 G=nan m=2 cannot be calculated: G must be a finite number.");
    EXPECT_EQ(refusalOf(checkSection(-std::numeric_limits<double>::infinity(), 0, nan)),
              "The section F=-inf G=0 m=nan cannot be calculated: F must be a finite number.");
    // Long results are checked on more than one thread.
    EXPECT_NE(refusalOf(solveSection(0.1, 0, 1e-10, 300001, 0)).find("too large to show"), std::string::npos);
    EXPECT_EQ(refusalOf(solveSection(0.1, 0.05, 2, 300001, 0)), "");
    EXPECT_EQ(
        refusalOf(coefficientsOfSection(1e200, 0, 2, 0))
            .rfind("The section F=1e+200 G=0 m=2 cannot be calculated: its values F, G and m give results "
                   "too large to show",
                   0),
        0u);
}

// What it computes is the solver's own, bit for bit.
TEST(Section, SolvesAsTheSolverDoes) {
    const auto result = solveSection(0.1, 0.1, 1.9, 1001, 5);
    ASSERT_TRUE(std::holds_alternative<Solution>(result)) << refusalOf(result);
    const Solution& s = std::get<Solution>(result);
    const Solution own = VORTA(1001, 0.1, 0.1, 1.9, 1, 5);
    EXPECT_EQ(s.x, own.x);
    EXPECT_EQ(s.y, own.y);
    EXPECT_EQ(s.Cu, own.Cu);
    EXPECT_EQ(s.coefficients.CL, own.coefficients.CL);
    const Coefficients c = std::get<Coefficients>(coefficientsOfSection(0.1, 0.1, 1.9, 5));
    EXPECT_EQ(c.CL, own.coefficients.CL);
    EXPECT_EQ(c.CMc4, own.coefficients.CMc4);
    EXPECT_EQ(c.Alfa0, own.coefficients.Alfa0);
}

TEST(OpenCatalog, RefusesWhatCannotBeReadNamingThePath) {
    TempDir dir;
    writeFile(dir.file("short.txt"), "1\n");
    writeFile(dir.file("mine.txt"), "1\n0\n0.1,0.02,0.3,0,0.1,0.05,2\n");
    std::filesystem::create_directory(dir.file("folder"));
    EXPECT_EQ(refusalOf(openCatalog(dir.file("missing.txt"))),
              "The catalog " + dir.file("missing.txt") + " does not exist.");
    EXPECT_EQ(refusalOf(openCatalog(dir.file("folder"))),
              "The catalog " + dir.file("folder") + " is a directory, not a file.");
    EXPECT_EQ(refusalOf(openCatalog(dir.file("short.txt"))),
              "The catalog " + dir.file("short.txt") +
                  " ends before its two leading lines; a catalog starts with two lines of one field each.");
    const auto opened = openCatalog(dir.file("mine.txt"));
    ASSERT_TRUE(std::holds_alternative<Catalog>(opened)) << refusalOf(opened);
    EXPECT_EQ(std::get<Catalog>(opened).fileName, "mine.txt");
    EXPECT_EQ(std::get<Catalog>(opened).AirfoilCount(), 1);
}

}  // namespace
