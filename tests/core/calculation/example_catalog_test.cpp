// The sample catalog in examples/ must be honest: the four descriptive fields of each entry
// are those of the section that its F, G and m compute.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/solver/solver.h"

namespace {

const std::string kExampleCatalog = std::string(VORTA_EXAMPLES_DIR) + "/VORTA_Input.txt";

struct Surface {
    std::vector<double> x, y;  // from the trailing edge to the nose
};

// y of the surface at x, interpolated linearly on the first segment, counted from the
// trailing edge, that spans x (near the nose a cambered upper surface reaches slightly
// beyond x = 0 and comes back, so x is not monotonic there).
double yAt(const Surface& s, double x) {
    for (std::size_t i = 1; i < s.x.size(); ++i) {
        const double x0 = s.x[i - 1], x1 = s.x[i];
        if (x0 != x1 && (x0 - x) * (x1 - x) <= 0) return s.y[i - 1] + (s.y[i] - s.y[i - 1]) * (x - x0) / (x1 - x0);
    }
    ADD_FAILURE() << "no surface segment spans x = " << x;
    return 0;
}

struct Shape {
    double Delta = -1, Gama = -1, xDltC = 0;
};

// Maximum thickness, its position and maximum camber of the section, all per chord, measured
// on a grid of x inside (0, 1) from the solver's contour at zero incidence.
Shape measureShape(double F, double G, double m) {
    const int N1 = 4001, steps = 4000;
    const vorta::Solution s = vorta::VORTA(N1, F, G, m, 1.0, 0.0);
    const int nose = (N1 + 1) / 2;
    Surface lower, upper;
    for (int k = 1; k <= nose; ++k) {
        lower.x.push_back(s.x[k]);
        lower.y.push_back(s.y[k]);
    }
    for (int k = N1; k >= nose; --k) {
        upper.x.push_back(s.x[k]);
        upper.y.push_back(s.y[k]);
    }
    Shape shape;
    for (int j = 1; j < steps; ++j) {
        const double x = double(j) / steps;
        const double yUpper = yAt(upper, x), yLower = yAt(lower, x);
        const double thickness = yUpper - yLower, camber = (yUpper + yLower) / 2;
        if (thickness > shape.Delta) {
            shape.Delta = thickness;
            shape.xDltC = x;
        }
        shape.Gama = std::max(shape.Gama, camber);
    }
    return shape;
}

TEST(ExampleCatalog, HoldsAboutADozenReadableEntries) {
    const vorta::Catalog catalog = vorta::loadCatalogFile(kExampleCatalog);
    ASSERT_TRUE(catalog.fileRead);
    EXPECT_GE(catalog.AirfoilCount(), 10);
    EXPECT_LE(catalog.AirfoilCount(), 14);
    for (const vorta::CatalogEntry& e : catalog.entries) EXPECT_FALSE(e.unreadableField) << e.displayText;
}

TEST(ExampleCatalog, EndsEveryLineWithCarriageReturnAndLineFeed) {
    std::ifstream in(kExampleCatalog, std::ios::binary);
    ASSERT_TRUE(in);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at byte " << i;
        }
        if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at byte " << i;
        }
    }
}

TEST(ExampleCatalog, TauIsTheTrailingEdgeAngleThatMGives) {
    const vorta::Catalog catalog = vorta::loadCatalogFile(kExampleCatalog);
    ASSERT_FALSE(catalog.entries.empty());
    for (const vorta::CatalogEntry& e : catalog.entries) EXPECT_NEAR(e.Tau, 180 * (2 - e.m), 1e-9) << e.displayText;
}

// Catalog values are rounded to 4 decimals; the thickness and camber measured here are good to
// about 1e-7, the position of the maximum thickness to the grid step 2.5e-4.
TEST(ExampleCatalog, ThicknessAndCamberAreThoseOfTheComputedSection) {
    const vorta::Catalog catalog = vorta::loadCatalogFile(kExampleCatalog);
    ASSERT_FALSE(catalog.entries.empty());
    for (const vorta::CatalogEntry& e : catalog.entries) {
        SCOPED_TRACE(e.displayText);
        const Shape shape = measureShape(e.F, e.G, e.m);
        EXPECT_NEAR(e.Delta, shape.Delta, 1e-4);
        EXPECT_NEAR(e.Gama, shape.Gama, 1e-4);
        EXPECT_NEAR(e.xDltC, shape.xDltC, 1e-3);
    }
}

}  // namespace
