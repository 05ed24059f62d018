// A figure's contour to equal scale: the corners widened until one unit is as long across as up.
#include <gtest/gtest.h>

#include <QSizeF>
#include <cmath>
#include <random>

#include "plots/figure.h"

namespace {

using vorta::plots::Corners;
using vorta::plots::withEqualScale;

TEST(EqualScale, WidensTheShorterRangeAboutItsMiddle) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(-2, 2), side(50, 3000);
    for (int i = 0; i < 10000; ++i) {
        double a = coordinate(random), b = coordinate(random), c = coordinate(random), d = coordinate(random);
        if (a == b || c == d) continue;
        // Left below right and top above bottom, as the plots have them, or the other way round.
        const Corners given{std::min(a, b), std::max(c, d), std::max(a, b), std::min(c, d)};
        const QSizeF area(side(random), side(random));
        const Corners wide = withEqualScale(given, area);
        const double across = area.width() / (wide.right - wide.left),
                     up = area.height() / (wide.top - wide.bottom);
        ASSERT_NEAR(across / up, 1, 1e-12);
        // Nothing given is lost, and one of the two ranges is kept as it was.
        ASSERT_LE(wide.left, given.left + 1e-12);
        ASSERT_GE(wide.right, given.right - 1e-12);
        ASSERT_LE(wide.bottom, given.bottom + 1e-12);
        ASSERT_GE(wide.top, given.top - 1e-12);
        const bool keptAcross = wide.left == given.left && wide.right == given.right;
        const bool keptUp = wide.bottom == given.bottom && wide.top == given.top;
        ASSERT_TRUE(keptAcross || keptUp);
        ASSERT_NEAR(wide.left + wide.right, given.left + given.right, 1e-12);
        ASSERT_NEAR(wide.top + wide.bottom, given.top + given.bottom, 1e-12);
    }
}

TEST(EqualScale, KeepsCornersItCannotScale) {
    const Corners flat{0, 1, 1, 1};
    const Corners kept = withEqualScale(flat, QSizeF(100, 50));
    EXPECT_EQ(kept.top, 1);
    EXPECT_EQ(kept.bottom, 1);
    const Corners window{-0.1, 0.3, 1.1, -0.2};
    EXPECT_EQ(withEqualScale(window, QSizeF(0, 50)).left, -0.1);
}

}  // namespace
