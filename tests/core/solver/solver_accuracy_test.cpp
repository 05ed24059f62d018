// Every value of the solver against the closed-form steps carried out in quad precision at
// the same double Theta and Alfa: within 1e-13 of the exact value, relative to the larger
// of 1 and the value. bench/solver_accuracy holds the solver to the same at a million points.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "core/solver/solver.h"
#include "support/quad_solver.h"

namespace {

using vorta::test::QuadSection;

constexpr double kTolerance = 1e-13;

struct Section {
    const char* name;
    double F, G, m, AlfaD;
};

struct Worst {
    double error = 0;
    int k = 0;
    const char* array = "";
};

void account(Worst& worst, double error, int k, const char* array) {
    if (error > worst.error) worst = {error, k, array};
}

// The largest error over slots first to last.
Worst worstError(const vorta::Solution& s, const QuadSection& q, int N1, int first, int last) {
    Worst worst;
    for (int k = first; k <= last; ++k) {
        const vorta::test::QuadPoint exact = vorta::test::quadSlot(q, N1, k);
        account(worst, vorta::test::relativeError(s.x[k], exact.x), k, "x");
        account(worst, vorta::test::relativeError(s.y[k], exact.y), k, "y");
        account(worst, vorta::test::relativeError(s.Cu[k], exact.Cu), k, "Cu");
    }
    return worst;
}

std::ostream& operator<<(std::ostream& out, const Worst& w) {
    return out << w.array << "[" << w.k << "] is off by " << w.error;
}

void PrintTo(const Section& s, std::ostream* out) {
    *out << s.name << " (F " << s.F << ", G " << s.G << ", m " << s.m << ", AlfaD " << s.AlfaD << ")";
}

class SolverAccuracy : public testing::TestWithParam<Section> {};

TEST_P(SolverAccuracy, EveryPointOfTwentyThousandIsExact) {
    const Section& c = GetParam();
    const int N1 = 20001;
    const vorta::Solution s = vorta::VORTA(N1, c.F, c.G, c.m, 1, c.AlfaD);
    const QuadSection q = vorta::test::makeQuadSection(c.F, c.G, c.m, 1, c.AlfaD);
    const Worst worst = worstError(s, q, N1, 0, N1);
    EXPECT_LE(worst.error, kTolerance) << worst;
}

// Each listed section at one of the angles, so that every section and every angle is seen
// once without paying for every combination.
INSTANTIATE_TEST_SUITE_P(
    Sections, SolverAccuracy,
    testing::Values(
        Section{"KarmanTrefftzAt12", 0.1, 0.1, 1.9, 12}, Section{"JoukowskyAtMinus5", 0.1, 0.05, 2, -5},
        Section{"NegativeCamberAtMinus20", 0.1, -0.1, 1.9, -20}, Section{"CircularArcAt20", 0, 0.1, 2, 20},
        Section{"CircularArcWithNegativeCamberAtMinus5", 0, -0.1, 1.9, -5},
        Section{"FOneBillionthAt0", 1e-9, 0.05, 2, 0}, Section{"FOneTrillionthAt0", 1e-12, 0.05, 2, 0},
        // The nose point sits next to the singular point and the stagnation point
        // just beside it: the speed there is a large multiple of a small difference.
        Section{"FOneTrillionthAtATinyAngle", 1e-12, 0.05, 2, 1e-10},
        Section{"MOneAndAHalfAt20", 0.1, 0.1, 1.5, 20}, Section{"ThickAtMinus20", 0.3, 0.05, 1.95, -20}),
    [](const testing::TestParamInfo<Section>& info) { return std::string(info.param.name); });

// At a million points the trailing edge and the nose come closest to the singular points;
// the slots around them are checked there (all of them would take minutes).
TEST(SolverAccuracyAtAMillionPoints, TheTrailingEdgeAndTheNoseAreExact) {
    // The circular arc's front stagnation point comes to its nose at zero incidence.
    const struct {
        int N1;
        Section section;
    } cases[] = {{999999, {"KarmanTrefftz", 0.1, 0.1, 1.9, 5}},
                 {1000000, {"CircularArcStagnatingAtTheNose", 0, 0.05, 2, 0}},
                 {999999, {"CircularArcWithNegativeCamber", 0, -0.05, 1.9, 3}},
                 {999999, {"FOneTrillionthAtATinyAngle", 1e-12, 0.05, 2, 1e-10}}};
    const int reach = 400;
    for (const auto& [N1, c] : cases) {
        const vorta::Solution s = vorta::VORTA(N1, c.F, c.G, c.m, 1, c.AlfaD);
        const QuadSection q = vorta::test::makeQuadSection(c.F, c.G, c.m, 1, c.AlfaD);
        const int nose = (N1 + 1) / 2;
        for (const auto& [first, last] :
             {std::pair{0, reach}, {nose - reach, nose + reach}, {N1 - reach, N1}}) {
            const Worst worst = worstError(s, q, N1, first, last);
            EXPECT_LE(worst.error, kTolerance) << c.name << ": " << worst;
        }
    }
}

}  // namespace
