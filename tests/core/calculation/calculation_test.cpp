#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "core/calculation/calculation.h"
#include "support/catalog_text.h"

using namespace vorta;

namespace {

const Catalog kWorked = catalogOf("0.1,0.1,0.3,18,0.1,0.1,1.9\r\n");

std::string refusalOf(const std::variant<Calculation, Refusal>& result) {
    const auto* refusal = std::get_if<Refusal>(&result);
    return refusal ? refusal->message : "";
}

TEST(Calculation, RunsTheSolverForThePickedEntry) {
    const auto result = calculate(kWorked, 1, "51", "5");
    ASSERT_TRUE(std::holds_alternative<Calculation>(result)) << refusalOf(result);
    const Calculation& c = std::get<Calculation>(result);
    EXPECT_EQ(c.SelectedIndex, 1);
    EXPECT_EQ(c.N1, 51);
    EXPECT_EQ(c.AlfaD, 5);
    EXPECT_NEAR(c.solution.coefficients.CL, 1.279371, 5e-7);
    EXPECT_EQ(c.solution.x.size(), 52u);
}

TEST(Calculation, WithoutAPickedEntryAsksForOne) {
    EXPECT_EQ(refusalOf(calculate(kWorked, std::nullopt, "51", "0")), kChooseAirfoilMessage);
    EXPECT_EQ(refusalOf(calculate(kWorked, 0, "51", "0")), kChooseAirfoilMessage);
    EXPECT_EQ(refusalOf(calculate(kWorked, 2, "51", "0")), kChooseAirfoilMessage);
    EXPECT_EQ(refusalOf(calculate(Catalog{}, 1, "51", "0")), kChooseAirfoilMessage);
}

TEST(Calculation, ThePointCountMustBeAWholeNumberFromTwoToAMillion) {
    for (const char* text : {"", "0", "1", "-5", "51.7", "1E400", "1000001", "abc", "&H0"}) {
        const std::string message = refusalOf(calculate(kWorked, 1, text, "0"));
        EXPECT_NE(message.find("Number of Points NP"), std::string::npos) << '"' << text << '"';
        EXPECT_NE(message.find("whole number from 2 to 1000000"), std::string::npos) << text;
    }
    EXPECT_EQ(std::get<int>(checkPointCount("51abc")), 51);
    EXPECT_EQ(std::get<int>(checkPointCount("5 1")), 51);
    EXPECT_EQ(std::get<int>(checkPointCount("2")), 2);
    EXPECT_EQ(std::get<int>(checkPointCount("1E6")), 1000000);
    EXPECT_EQ(std::get<int>(checkPointCount("&H10")), 16);
}

TEST(Calculation, TheAngleMustBeFinite) {
    EXPECT_NE(refusalOf(calculate(kWorked, 1, "51", "1E400")).find("Angle of attack"), std::string::npos);
    EXPECT_NE(refusalOf(calculate(kWorked, 1, "51", "-1D999")).find("Angle of attack"), std::string::npos);
    EXPECT_EQ(std::get<double>(checkAngle("2,x")), 2);
    EXPECT_EQ(std::get<double>(checkAngle("")), 0);
    EXPECT_EQ(std::get<double>(checkAngle("5E307")), 5e307);
    // A larger angle would make its radians infinite, and the refusal would blame the entry.
    EXPECT_EQ(refusalOf(calculate(kWorked, 1, "51", "1E308")),
              "Angle of attack must be a number of degrees from -5E307 to 5E307.");
}

TEST(Calculation, EntriesThatCannotBeCalculatedAreRefusedByName) {
    const Catalog bad = catalogOf(
        "0.1,0.1,0.3,x,0.1,0.1,1.9\r\n"
        "0.1,0.1,0.3,0,-0.1,0.1,1.9\r\n"
        "0.1,0.1,0.3,0,0.1,0.1,0\r\n"
        "0.1,0.1,0.3,0,0.1,0.1,-2\r\n"
        "1E999,0.1,0.3,0,0.1,0.1,2\r\n"
        "0.1,0.1,0.3,0,0.1,0.1,1000\r\n"
        "0.1,0.1,0.3,9,1e200,0.1,1.9\r\n"  // beyond what a plot can draw
        "0.1,0.1,0.3,0,0.1,0.1,2.0000000000000004\r\n");
    ASSERT_EQ(bad.AirfoilCount(), 8);
    EXPECT_EQ(refusalOf(calculate(bad, 1, "51", "0")),
              "Airfoil entry 1 cannot be calculated: its field Tau does not read as a number.");
    EXPECT_EQ(refusalOf(calculate(bad, 2, "51", "0")), "Airfoil entry 2 cannot be calculated: F must be 0 or more.");
    EXPECT_EQ(refusalOf(calculate(bad, 3, "51", "0")),
              "Airfoil entry 3 cannot be calculated: m must be greater than 0.");
    EXPECT_NE(refusalOf(calculate(bad, 4, "51", "0")).find("m must be greater than 0"), std::string::npos);
    EXPECT_NE(refusalOf(calculate(bad, 5, "51", "0")).find("its field Delta"), std::string::npos);
    EXPECT_NE(refusalOf(calculate(bad, 6, "51", "0")).find("Airfoil entry 6 cannot be calculated"),
              std::string::npos);
    EXPECT_NE(refusalOf(calculate(bad, 7, "51", "0")).find("Airfoil entry 7 cannot be calculated"),
              std::string::npos);
    EXPECT_EQ(refusalOf(calculate(bad, 8, "51", "0")),
              "Airfoil entry 8 cannot be calculated: m must not exceed 2: above 2 the surfaces cross at the trailing "
              "edge.");
}

// "4,5" would read as 4 by the field rule; a comma followed by a digit is refused instead,
// and the message names the field and the number meant.
TEST(Calculation, ADecimalCommaInAFieldIsRefusedNotCutOff) {
    EXPECT_EQ(refusalOf(calculate(kWorked, 1, "51", "4,5")),
              "Angle of attack: the decimal separator here is the point. Write 4.5, not 4,5.");
    EXPECT_EQ(refusalOf(calculate(kWorked, 1, " 2 , 5 ", "0")),
              "Number of Points NP: the decimal separator here is the point. Write 2.5, not 2,5.");
    EXPECT_EQ(refusalOf(calculate(kWorked, 1, "51", "-4,25abc", InputNames{"--points", "--alpha"})),
              "--alpha: the decimal separator here is the point. Write -4.25, not -4,25.");
    EXPECT_NE(refusalOf(calculate(kWorked, 1, "51", "4.5,3")).find("4.5,3"), std::string::npos);
    EXPECT_NE(refusalOf(calculate(kWorked, 1, "51", "&H10,5")).find("Angle of attack"), std::string::npos);
    // Texts that only look alike read as before.
    EXPECT_EQ(std::get<int>(checkPointCount("51abc")), 51);
    EXPECT_EQ(std::get<double>(checkAngle("2,x")), 2);
    EXPECT_EQ(std::get<double>(checkAngle("2,")), 2);
    EXPECT_EQ(std::get<double>(checkAngle(",5")), 0);
    EXPECT_EQ(std::get<double>(checkAngle("&H10")), 16);
    EXPECT_EQ(std::get<double>(checkAngle("+.5")), 0.5);
}

// An entry computes only with the numbers of its own line: one faulty line refuses the
// entries it shifts, naming the line, and leaves the entries above it as they were.
TEST(Calculation, AnEntryWhoseNumbersComeFromOtherLinesIsRefused) {
    const Catalog c = catalogOf(
        "0.1180,0.0227,0.2523,0,0.1,0.05,2\r\n"
        "# my own sections\r\n"
        "0.1180,0.0227,0.2523,0,0.1,0.05,2\r\n"
        "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n");
    ASSERT_EQ(c.AirfoilCount(), 3);
    const auto first = calculate(c, 1, "51", "0");
    ASSERT_TRUE(std::holds_alternative<Calculation>(first)) << refusalOf(first);
    EXPECT_NEAR(std::get<Calculation>(first).solution.coefficients.CL, 0.311563, 5e-7);
    EXPECT_EQ(refusalOf(calculate(c, 2, "51", "0")),
              "Airfoil entry 2 cannot be calculated: line 4 of VORTA_Input.txt holds 1 field. Write each airfoil as "
              "one line of seven numbers separated by commas, with a point for decimals, for example "
              "0.12,0.02,0.25,12,0.1,0.05,1.93.");
    EXPECT_EQ(refusalOf(calculate(c, 3, "51", "0")),
              "Airfoil entry 3 cannot be calculated: line 4 of VORTA_Input.txt holds 1 field, which shifts the "
              "numbers of every line after it. Write each airfoil as one line of seven numbers separated by commas, "
              "with a point for decimals, for example 0.12,0.02,0.25,12,0.1,0.05,1.93.");

    std::istringstream leading("1,5\r\n0\r\n0.1,0.1,0.3,18,0.1,0.1,1.9\r\n");
    const std::string message = refusalOf(calculate(loadCatalog(leading), 1, "51", "0"));
    EXPECT_NE(message.find("line 1 of VORTA_Input.txt holds 2 fields, which shifts"), std::string::npos) << message;
    EXPECT_NE(message.find("The first two lines hold one field each."), std::string::npos) << message;
}

TEST(Calculation, EveryAcceptedResultIsFinite) {
    const Catalog edges = catalogOf(
        "0,0,0,0,0,0,2\r\n"
        "0,0,0,0,0,0.3,1.5\r\n"
        "0,0,0,0,5,-2,0.5\r\n"
        "0,0,0,0,0.1,1E300,1.9\r\n");
    for (int k = 1; k <= edges.AirfoilCount(); ++k) {
        for (const char* points : {"2", "3", "50", "51"}) {
            for (const char* angle : {"0", "-90", "1E300"}) {
                const auto result = calculate(edges, k, points, angle);
                if (const auto* c = std::get_if<Calculation>(&result)) {
                    EXPECT_TRUE(isFinite(c->solution)) << k << ' ' << points << ' ' << angle;
                }
            }
        }
    }
}

// F = 1e-9 puts the nose right beside the singular point (-1, 0); such an entry calculates.
TEST(Calculation, ANoseBesideTheSingularPointCalculates) {
    std::istringstream in("1\r\n0\r\n0,0.05,0.3,0,1e-9,0.05,2\r\n");
    const Catalog catalog = loadCatalog(in);
    for (const char* points : {"51", "1001"}) {
        const auto result = calculate(catalog, 1, points, "0");
        const auto* refusal = std::get_if<Refusal>(&result);
        ASSERT_EQ(refusal, nullptr) << points << ": " << refusal->message;
        EXPECT_TRUE(isFinite(std::get<Calculation>(result).solution)) << points;
    }
}

}  // namespace
