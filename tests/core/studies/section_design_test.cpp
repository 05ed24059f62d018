// Designing a section from its thickness, camber and trailing-edge angle: the section found
// meets them when it is measured again, a measured section is found again from its own
// measures, and targets no section meets are refused with what is wrong.
#include "core/studies/section_design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

namespace {

using vorta::Refusal;
using vorta::Section;

TEST(SectionDesign, TheSectionFoundMeetsTheTargetsWhenMeasuredAgain) {
    const struct {
        double T, C, TAU;
    } targets[] = {{0.12, 0.02, 10}, {0.1179, 0, 0}, {0, 0.02, 0},      {0.3, 0.1, 30},
                   {0.1, -0.05, 5},  {0.5, 0.2, 60}, {0.95, 0.02, 170}, {0.9, 0, 0}};
    for (const auto& t : targets) {
        const auto designed = vorta::designSection(t.T, t.C, t.TAU);
        ASSERT_TRUE(std::holds_alternative<Section>(designed))
            << t.T << "," << t.C << "," << t.TAU << ": " << std::get<Refusal>(designed).message;
        const Section& s = std::get<Section>(designed);
        EXPECT_EQ(s.m, 2 - t.TAU / 180);
        EXPECT_GE(s.F, 0);
        const std::optional<vorta::SectionMeasures> again = vorta::measureSection(s.F, s.G, s.m);
        ASSERT_TRUE(again);
        EXPECT_NEAR(again->Delta, t.T, vorta::kDesignTolerance) << t.T << "," << t.C << "," << t.TAU;
        EXPECT_NEAR(again->Gama, t.C, vorta::kDesignTolerance) << t.T << "," << t.C << "," << t.TAU;
        EXPECT_EQ(again->Delta, s.measures.Delta);
    }
}

TEST(SectionDesign, ASymmetricTargetHasNoGAndNoThicknessIsAnArc) {
    const auto symmetric = vorta::designSection(0.12, 0, 9);
    ASSERT_TRUE(std::holds_alternative<Section>(symmetric));
    EXPECT_EQ(std::get<Section>(symmetric).G, 0);
    const auto arc = vorta::designSection(0, 0.02, 0);
    ASSERT_TRUE(std::holds_alternative<Section>(arc));
    EXPECT_EQ(std::get<Section>(arc).F, 0);
    EXPECT_NEAR(std::get<Section>(arc).G, 0.04, 1e-9);
}

// The design undoes the measurement: a section comes back from its own Delta, Gama and Tau.
TEST(SectionDesign, FindsAMeasuredSectionAgain) {
    const struct {
        double F, G, m;
    } sections[] = {
        {0.1, 0.05, 2}, {0.06, 0.06, 1.96}, {0.05, 0.08, 1.85}, {0.08, -0.03, 1.93}, {0.4, 0.2, 1.7}};
    for (const auto& s : sections) {
        const vorta::SectionMeasures measured = *vorta::measureSection(s.F, s.G, s.m);
        const auto designed = vorta::designSection(measured.Delta, measured.Gama, measured.Tau);
        ASSERT_TRUE(std::holds_alternative<Section>(designed)) << std::get<Refusal>(designed).message;
        EXPECT_NEAR(std::get<Section>(designed).F, s.F, 1e-9) << s.F << "," << s.G << "," << s.m;
        EXPECT_NEAR(std::get<Section>(designed).G, s.G, 1e-9) << s.F << "," << s.G << "," << s.m;
        EXPECT_NEAR(std::get<Section>(designed).m, s.m, 1e-14) << s.F << "," << s.G << "," << s.m;
    }
}

TEST(SectionDesign, RefusesWhatNoSectionMeetsSayingWhichTargetAndWhy) {
    const struct {
        double T, C, TAU;
        const char* message;
    } cases[] = {
        {-0.1, 0, 0, "Thickness -0.1: a thickness cannot be negative."},
        {NAN, 0, 0, "Thickness nan: it must be a finite number."},
        {0.1, -INFINITY, 0, "Camber -inf: it must be a finite number."},
        {0.1, 0, INFINITY, "Trailing-edge angle inf: it must be a finite number."},
        {0.1, 0, -1, "Trailing-edge angle -1: it must lie from 0 to 180 degrees."},
        {0.1, 0, 200, "Trailing-edge angle 200: it must lie from 0 to 180 degrees."},
        {0.1, 0, 180,
         "Trailing-edge angle 180: there every section is a circle (m = 1); choose an angle below 180 "
         "degrees."},
        {0.02, 0.02, 10,
         "Thickness 0.02: no F reaches it at a trailing-edge angle of 10 degrees, where the thinnest section "
         "of "
         "camber 0.02 (F = 0) is 0.0437 thick."},
        {1.2, 0, 10,
         "Thickness 1.2: no F reaches it at a trailing-edge angle of 10 degrees; sections approach a "
         "thickness "
         "of 1, a circle, as F grows."},
        {0.1, 0.6, 10,
         "Thickness 0.1 and camber 0.6: no F and G give both at a trailing-edge angle of 10 degrees."},
    };
    for (const auto& c : cases) {
        const auto designed = vorta::designSection(c.T, c.C, c.TAU);
        ASSERT_TRUE(std::holds_alternative<Refusal>(designed)) << c.message;
        EXPECT_EQ(std::get<Refusal>(designed).message, c.message);
    }
}

}  // namespace
