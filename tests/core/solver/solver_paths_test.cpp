// The sweep paths: each vector path the processor runs, on any number of threads, gives
// what the scalar evaluation of the same formulas gives, to within the elementary
// functions' own last-digit differences; and every slot is written.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/solver/solver.h"

namespace {

using vorta::Solution;
using vorta::SweepPath;

// SLEEF's and the C library's functions each keep within one unit in the last place; the
// formulas carry that to a few units. Observed: 3.2e-15.
constexpr double kPathTolerance = 1e-14;

struct Section {
    double F, G, m, AlfaD;
};

// A Karman-Trefftz section, the circular arc (its sweep stops short of the nose) and a
// section whose nose lies next to the singular point.
const Section kSections[] = {{0.1, 0.1, 1.9, 5}, {0, 0.1, 2, -3}, {1e-9, 0.05, 2, 12}};

void expectSameValues(const Solution& scalar, const Solution& other, const char* what) {
    ASSERT_EQ(other.x.size(), scalar.x.size()) << what;
    for (std::size_t k = 0; k < scalar.x.size(); ++k) {
        for (const auto& [value, reference, array] :
             {std::tuple{other.x[k], scalar.x[k], "x"}, std::tuple{other.y[k], scalar.y[k], "y"},
              std::tuple{other.Cu[k], scalar.Cu[k], "Cu"}}) {
            const double bound = kPathTolerance * std::max(1.0, std::fabs(reference));
            ASSERT_LE(std::fabs(value - reference), bound) << what << ' ' << array << '[' << k << ']';
        }
    }
}

void expectEveryPathLikeTheScalarOne(int N1, const std::vector<int>& threadCounts) {
    for (const Section& s : kSections) {
        const Solution scalar = vorta::VORTA(N1, s.F, s.G, s.m, 1, s.AlfaD, SweepPath::Scalar, 1);
        for (SweepPath path : vorta::availablePaths()) {
            for (int threads : threadCounts) {
                const testing::Message what = testing::Message()
                                              << vorta::pathName(path) << " on " << threads
                                              << " threads, N1 = " << N1 << ", F = " << s.F;
                const Solution other = vorta::VORTA(N1, s.F, s.G, s.m, 1, s.AlfaD, path, threads);
                expectSameValues(scalar, other, what.GetString().c_str());
            }
        }
    }
}

TEST(SolverPaths, ScalarComesFirstAndTheWidestLast) {
    const std::vector<SweepPath> paths = vorta::availablePaths();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), SweepPath::Scalar);
    EXPECT_EQ(paths.back(), vorta::widestPath());
}

// Lengths that leave every size of vector tail, on one thread and split over several, so
// that slices end in tails too.
TEST(SolverPaths, ShortSweepsWithVectorTailsAgree) {
    for (int N1 : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 33, 34, 50, 51, 52, 53}) {
        expectEveryPathLikeTheScalarOne(N1, {0, 1, 2, 3});
    }
}

// Around the size from which VORTA splits the sweep over two threads, 8192 pairs: N1 = 16385
// with F > 0, 16387 with F = 0.
TEST(SolverPaths, SweepsSplitOverThreadsAgree) {
    for (int N1 : {16384, 16385, 16386, 16387, 16388}) {
        expectEveryPathLikeTheScalarOne(N1, {0, 3});
    }
}

}  // namespace
