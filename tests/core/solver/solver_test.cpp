#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

#include "core/solver/solver.h"
#include "support/transcribed_steps.h"

using namespace vorta;

namespace {

// How far, per unit of F, the arc's values may lie from those of a section of small F.
constexpr double kContinuity = 1e3;

TEST(Solver, KarmanTrefftzWorkedValues) {
    const Solution s = VORTA(51, 0.1, 0.1, 1.9, 1, 5);
    EXPECT_NEAR(s.coefficients.CL, 1.279371, 5e-7);
    EXPECT_NEAR(s.coefficients.CMc4, -0.166311, 5e-7);
    EXPECT_NEAR(s.coefficients.Alfa0, -5.194429, 5e-7);
    EXPECT_NEAR(s.x[2], 0.994827, 5e-7);
    EXPECT_NEAR(s.y[2], 0.0000222, 5e-8);
    EXPECT_NEAR(s.Cu[2], 0.535491, 5e-7);
    EXPECT_NEAR(s.x[26], 0, 1e-12);
    EXPECT_NEAR(s.y[26], 0, 1e-12);
    EXPECT_NEAR(s.x[27], 0.003139, 5e-7);
    EXPECT_NEAR(s.y[27], 0.014601, 5e-7);
    EXPECT_NEAR(s.Cu[27], 2.102931, 5e-7);
    EXPECT_EQ(s.Cu[1], 0);
    EXPECT_EQ(s.Cu[51], 0);
}

TEST(Solver, JoukowskyWorkedValues) {
    const Solution s = VORTA(51, 0.1, 0.05, 2, 1, 0);
    EXPECT_NEAR(s.coefficients.CL, 0.311563, 5e-7);
    EXPECT_NEAR(s.coefficients.CMc4, -0.071453, 5e-7);
    EXPECT_NEAR(s.coefficients.Alfa0, -2.602562, 5e-7);
    EXPECT_NEAR(s.Cu[1], 0.823042, 5e-7);
    EXPECT_EQ(s.Cu[51], s.Cu[1]);
}

TEST(Solver, SymmetricJoukowskySectionAtTwentyDegrees) {
    const Solution s = VORTA(51, 0.15, 0, 2, 1, 20);
    EXPECT_NEAR(s.coefficients.CL, 2.429277, 5e-7);
    EXPECT_NEAR(s.coefficients.CMc4, -0.018152, 5e-7);
    EXPECT_NEAR(s.Cu[1], 0.66769, 5e-6);
    EXPECT_EQ(s.coefficients.Alfa0, 0);
}

TEST(Solver, CircularArcGivesTheThinAerofoilResults) {
    const Solution s = VORTA(51, 0, 0.1, 2, 1, 0);
    EXPECT_NEAR(s.coefficients.CL, 2 * Pi * 0.1, 1e-12);
    EXPECT_NEAR(s.coefficients.CMc4, -Pi * 0.05, 1e-12);
}

TEST(Solver, ASymmetricSectionAtZeroIncidenceIsItsOwnMirrorImage) {
    const int N1 = 51;
    const Solution s = VORTA(N1, 0.12, 0, 1.92, 1, 0);
    EXPECT_EQ(s.coefficients.CL, 0);
    EXPECT_EQ(s.coefficients.CMc4, 0);
    EXPECT_EQ(s.coefficients.Alfa0, 0);
    for (int k = 1; k <= N1; ++k) {
        EXPECT_NEAR(s.x[k], s.x[N1 + 1 - k], 1e-13) << k;
        EXPECT_NEAR(s.y[k], -s.y[N1 + 1 - k], 1e-13) << k;
        EXPECT_NEAR(s.Cu[k], s.Cu[N1 + 1 - k], 1e-12) << k;
    }
}

// A section with camber G seen upside down is the section with camber -G: at the opposite
// angle its contour is the mirror image and its coefficients change sign.
void expectMirrorImages(int N1, double F, double G, double m, double AlfaD, double tolerance) {
    const Solution up = VORTA(N1, F, G, m, 1, AlfaD);
    const Solution down = VORTA(N1, F, -G, m, 1, -AlfaD);
    EXPECT_EQ(down.coefficients.CL, -up.coefficients.CL);
    EXPECT_EQ(down.coefficients.CMc4, -up.coefficients.CMc4);
    EXPECT_EQ(down.coefficients.Alfa0, -up.coefficients.Alfa0);
    for (int k = 1; k <= N1; ++k) {
        const int mirror = N1 + 1 - k;
        EXPECT_NEAR(down.x[mirror], up.x[k], tolerance) << "F=" << F << " m=" << m << " k=" << k;
        EXPECT_NEAR(down.y[mirror], -up.y[k], tolerance) << "F=" << F << " m=" << m << " k=" << k;
        EXPECT_NEAR(down.Cu[mirror], up.Cu[k], tolerance) << "F=" << F << " m=" << m << " k=" << k;
    }
}

TEST(Solver, NegativeCamberGivesTheMirrorImageOfPositiveCamber) {
    for (double m : {1.9, 1.85, 2.0, 1.5}) {
        expectMirrorImages(50, 0.1, 0.1, m, 5, 0);      // even N1: bit for bit
        expectMirrorImages(51, 0.1, 0.1, m, 5, 1e-12);  // odd N1 has a nose point from sin(Pi) != 0
        expectMirrorImages(40, 0.05, 0.2, m, -3, 0);
    }
}

TEST(Solver, AtZeroIncidenceTheNoseIsAStagnationPoint) {
    for (double G : {0.0, 0.05, 0.12}) {
        for (double m : {1.8, 1.9, 2.0}) {
            const Solution s = VORTA(51, 0.1, G, m, 1, 0);
            EXPECT_NEAR(s.Cu[26], 0, 1e-20) << "G=" << G << " m=" << m;
        }
    }
}

TEST(Solver, ChordScalesTheContourOnly) {
    const Solution one = VORTA(31, 0.1, 0.08, 1.9, 1, 4);
    const Solution two = VORTA(31, 0.1, 0.08, 1.9, 2, 4);
    EXPECT_NEAR(two.coefficients.CL, one.coefficients.CL, 1e-12);
    EXPECT_NEAR(two.coefficients.CMc4, one.coefficients.CMc4, 1e-12);
    EXPECT_EQ(two.coefficients.Alfa0, one.coefficients.Alfa0);
    for (int k = 1; k <= 31; ++k) {
        EXPECT_NEAR(two.x[k], 2 * one.x[k], 1e-12) << k;
        EXPECT_NEAR(two.y[k], 2 * one.y[k], 1e-12) << k;
        EXPECT_NEAR(two.Cu[k], one.Cu[k], 1e-10) << k;
    }
}

TEST(Solver, PointOrderAndSlots) {
    const Solution odd = VORTA(51, 0.1, 0.05, 1.9, 1, 2);
    ASSERT_EQ(odd.x.size(), 52u);
    EXPECT_EQ(odd.x[0], 0);
    EXPECT_EQ(odd.x[1], 1);
    EXPECT_EQ(odd.y[1], 0);
    EXPECT_EQ(odd.x[51], 1);
    EXPECT_LT(odd.y[10], 0);  // lower surface first
    EXPECT_GT(odd.y[40], 0);  // then the upper surface
    EXPECT_NEAR(odd.x[26], 0, 1e-12);
    const Solution even = VORTA(50, 0.1, 0.05, 1.9, 1, 2);
    for (int k = 2; k <= 49; ++k) EXPECT_GT(std::hypot(even.x[k], even.y[k]), 1e-3) << k;  // every slot written
}

TEST(Solver, TheSmallestPointCounts) {
    const Solution three = VORTA(3, 0.1, 0.05, 1.9, 1, 0);
    EXPECT_NEAR(three.x[2], 0, 1e-12);
    EXPECT_NEAR(three.y[2], 0, 1e-12);
    const Solution two = VORTA(2, 0.1, 0.05, 2, 1, 3);
    EXPECT_EQ(two.x[1], 1);
    EXPECT_EQ(two.x[2], 1);
    EXPECT_EQ(two.Cu[2], two.Cu[1]);
    EXPECT_GT(two.Cu[1], 0);
}

// The circular arc (F = 0) has its sharp leading edge at the singular point Theta = Pi,
// which only an odd N1 reaches: that slot stays 0, and an even N1 has the two points beside it.
TEST(Solver, TheCircularArcLeavesOutOnlyItsSingularNosePoint) {
    const Solution odd = VORTA(51, 0, 0.1, 2, 1, 0);
    EXPECT_EQ(odd.x[26], 0);
    EXPECT_EQ(odd.y[26], 0);
    EXPECT_EQ(odd.Cu[26], 0);
    EXPECT_GT(odd.x[25], 0);
    EXPECT_GT(odd.x[27], 0);
    const Solution even = VORTA(50, 0, 0.1, 1.9, 1, 5);
    EXPECT_NEAR(even.x[25], 0.00146142, 5e-9);
    EXPECT_NEAR(even.y[25], 0.0000471376, 5e-11);
    EXPECT_NEAR(even.Cu[25], 1.770261, 5e-7);
    EXPECT_NEAR(even.x[26], 0.00137566, 5e-9);
    EXPECT_NEAR(even.y[26], 0.000495858, 5e-10);
    EXPECT_NEAR(even.Cu[26], 8.541207, 5e-7);
    EXPECT_TRUE(isFinite(odd));
    EXPECT_TRUE(isFinite(even));
}

// The arc's flow leaves its trailing edge smoothly, as that of every other section: next to
// the Joukowsky arc's cusp the speed tends to the one there, not to infinity.
TEST(Solver, TheCircularArcsSpeedNextToTheTrailingEdgeTendsToItsValueThere) {
    const Solution coarse = VORTA(51, 0, 0.1, 2, 1, 2.5);
    EXPECT_NEAR(coarse.Cu[1], 0.969906, 5e-7);
    EXPECT_NEAR(coarse.Cu[2], 0.917347, 5e-7);
    EXPECT_NEAR(coarse.Cu[50], 1.025459, 5e-7);
    const Solution fine = VORTA(100001, 0, 0.1, 2, 1, 2.5);
    EXPECT_NEAR(fine.Cu[2], fine.Cu[1], 1e-3);
    EXPECT_NEAR(fine.Cu[100000], fine.Cu[1], 1e-3);
}

// The arc is the limit F -> 0+ of the sections around it: every point and its speed at F = 0
// lie next to those at F = 1e-12 to 1e-9, all but the singular nose point of an odd N1.
TEST(Solver, TheCircularArcJoinsTheSectionsOfSmallFContinuously) {
    for (int N1 : {50, 51, 1000, 1001}) {
        for (double G : {0.1, -0.05}) {
            for (double m : {2.0, 1.9}) {
                for (double AlfaD : {-5.0, 0.0, 2.5, 12.0}) {
                    const Solution arc = VORTA(N1, 0, G, m, 1, AlfaD);
                    for (double F : {1e-12, 1e-11, 1e-10, 1e-9}) {
                        const Solution near = VORTA(N1, F, G, m, 1, AlfaD);
                        for (int k = 1; k <= N1; ++k) {
                            if (N1 % 2 == 1 && k == (N1 + 1) / 2) continue;
                            const auto what = testing::Message()
                                              << "N1=" << N1 << " G=" << G << " m=" << m << " AlfaD=" << AlfaD
                                              << " F=" << F << " k=" << k;
                            const double tolerance = kContinuity * F;
                            EXPECT_NEAR(arc.x[k], near.x[k], tolerance) << what;
                            EXPECT_NEAR(arc.y[k], near.y[k], tolerance) << what;
                            EXPECT_NEAR(arc.Cu[k], near.Cu[k], tolerance * std::max(1.0, near.Cu[k])) << what;
                        }
                    }
                }
            }
        }
    }
}

// Where the closed form is well conditioned (few points, F not small) its line-for-line
// transcription loses only a few digits, and the solver must give the same values.
TEST(Solver, AgreesWithTheLineForLineTranscription) {
    const struct {
        double F, G, m, AlfaD;
    } sections[] = {
        {0.1, 0.1, 1.9, 5}, {0.1, 0.05, 2, -5}, {0.1, -0.1, 1.8, 12}, {0, 0.1, 2, 20}, {0.3, 0.05, 1.5, -20}};
    for (int N1 : {2, 3, 4, 50, 51, 1001}) {
        for (const auto& c : sections) {
            const Solution s = VORTA(N1, c.F, c.G, c.m, 1, c.AlfaD);
            std::vector<double> x(N1 + 1), y(N1 + 1), Cu(N1 + 1);
            const double CL = transcribedSteps(N1, c.F, c.G, c.m, 1, c.AlfaD, x.data(), y.data(), Cu.data());
            EXPECT_NEAR(s.coefficients.CL, CL, 1e-14);
            for (int k = 0; k <= N1; ++k) {
                const auto what = testing::Message() << "N1=" << N1 << " F=" << c.F << " k=" << k;
                EXPECT_NEAR(s.x[k], x[k], 1e-10 * std::max(1.0, std::fabs(x[k]))) << what;
                EXPECT_NEAR(s.y[k], y[k], 1e-10 * std::max(1.0, std::fabs(y[k]))) << what;
                EXPECT_NEAR(s.Cu[k], Cu[k], 1e-10 * std::max(1.0, std::fabs(Cu[k]))) << what;
            }
        }
    }
}

// The arrays are not zero filled when allocated: the slots the sweep does not reach must be
// written as 0 even where the memory held other numbers before. Freed NaNs are what the
// allocator hands out next.
TEST(Solver, UnreachedSlotsReadZeroInReusedMemory) {
    for (int N1 : {50, 51, 1001, 4000}) {
        for (int repeat = 0; repeat < 3; ++repeat) {
            std::vector<PointArray> garbage;
            for (int i = 0; i < 6; ++i) {
                garbage.emplace_back(static_cast<std::size_t>(N1) + 1,
                                     std::numeric_limits<double>::quiet_NaN());
            }
            garbage.clear();
            const Solution s = VORTA(N1, 0, 0.1, 2, 1, 0);
            std::vector<int> unreached = {0};
            if (N1 % 2 == 1) unreached.push_back((N1 + 1) / 2);  // the arc's singular nose
            for (int k : unreached) {
                ASSERT_EQ(s.x[k], 0) << "N1=" << N1 << " k=" << k;
                ASSERT_EQ(s.y[k], 0) << "N1=" << N1 << " k=" << k;
                ASSERT_EQ(s.Cu[k], 0) << "N1=" << N1 << " k=" << k;
            }
            EXPECT_TRUE(isFinite(s)) << "N1=" << N1;
        }
    }
}

// F = 1e-9 puts the nose right beside the singular point (-1, 0): the closed form's
// differences cancel there, and once gave the nose point as NaN.
TEST(Solver, ANoseBesideTheSingularPointIsFinite) {
    for (int N1 : {3, 51, 1001, 20001}) {
        for (double AlfaD : {-20.0, 0.0, 5.0}) {
            const Solution s = VORTA(N1, 1e-9, 0.05, 2, 1, AlfaD);
            EXPECT_TRUE(isFinite(s)) << "N1=" << N1 << " AlfaD=" << AlfaD;
        }
    }
    const Solution s = VORTA(51, 1e-9, 0.05, 2, 1, 0);
    EXPECT_NEAR(s.x[26], 0, 1e-9);  // the nose, at the leading edge
    EXPECT_NEAR(s.y[26], 0, 1e-9);
    EXPECT_LT(s.Cu[26], 1e-12);  // a stagnation point at zero incidence
}

TEST(Solver, OnlyTheJoukowskyCuspHasSpeedAtTheTrailingEdge) {
    EXPECT_GT(VORTA(21, 0.1, 0.05, 2, 1, 3).Cu[1], 0);
    EXPECT_EQ(VORTA(21, 0.1, 0.05, 1.99, 1, 3).Cu[1], 0);
}

TEST(Solver, OverflowShowsAsANonFiniteSolution) {
    EXPECT_FALSE(isFinite(VORTA(51, 0.1, 0.1, 1000, 1, 0)));
    EXPECT_TRUE(isFinite(VORTA(51, 0.1, 0.1, 1.9, 1, 1e300)));
}

// Every slot, the one the sweep does not reach included, in memory of its own.
TEST(Solver, CpIsOneLessCuAtEverySlot) {
    for (int N1 : {2, 51, 300001}) {
        const Solution s = VORTA(N1, 0, 0.05, 2, 1, 3);
        const PointArray Cp = pressureCoefficients(s.Cu);
        ASSERT_EQ(Cp.size(), s.Cu.size());
        EXPECT_NE(Cp.data(), s.Cu.data());
        for (std::size_t k = 0; k < Cp.size(); ++k) ASSERT_EQ(Cp[k], 1 - s.Cu[k]) << N1 << ' ' << k;
    }
}

}  // namespace
