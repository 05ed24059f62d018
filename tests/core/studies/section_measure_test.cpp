// The measures of a section against an independent computation: the Karman-Trefftz mapping
// in long double complex arithmetic, the circle walked by its own angle, and plain bisection
// and golden sections in place of the measurement's searches.
#include "core/studies/section_measure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <string>

#include "core/catalog/catalog.h"

namespace {

using vorta::SectionMeasures;
using Real = long double;
using Complex = std::complex<Real>;

const Real PiL = 3.141592653589793238462643383279502884L;

// The section's point at the angle t about the circle's centre (-F, G), in the section's frame.
class Mapping {
  public:
    Mapping(double F, double G, double m)
        : F_(F), G_(G), m_(m), R_(std::hypot(1 + F_, G_)), tEdge_(std::atan2(-G_, 1 + F_)) {
        mA_ = (1 - std::pow(F_ / (1 + F_), m_)) / 2;
    }

    Complex at(Real t) const {
        const Complex zeta(-F_ + R_ * std::cos(t), G_ + R_ * std::sin(t));
        const Complex w = std::pow((zeta - Real(1)) / (zeta + Real(1)), m_);
        return mA_ * (Real(1) + w) / (Real(1) - w) - (mA_ - 1);
    }
    // The angle of the trailing edge; the contour runs from it once around.
    Real edge() const { return tEdge_; }

  private:
    Real F_, G_, m_, R_, tEdge_, mA_;
};

// Golden sections down to the precision of long double.
Real goldenLeast(const std::function<Real(Real)>& f, Real a, Real b) {
    const Real ratio = (std::sqrt(Real(5)) - 1) / 2;
    Real left = b - ratio * (b - a), right = a + ratio * (b - a);
    Real fLeft = f(left), fRight = f(right);
    for (int step = 0; step < 90; ++step) {
        if (fLeft < fRight) {
            b = right;
            right = left;
            fRight = fLeft;
            left = b - ratio * (b - a);
            fLeft = f(left);
        } else {
            a = left;
            left = right;
            fLeft = fRight;
            right = a + ratio * (b - a);
            fRight = f(right);
        }
    }
    return (a + b) / 2;
}

// The measures by their definitions, on surfaces along which x grows from the leftmost point.
SectionMeasures reference(double F, double G, double m) {
    const Mapping mapping(F, G, m);
    const Real t0 = mapping.edge() + 1e-9L, t1 = mapping.edge() + 2 * PiL - 1e-9L;
    Real tNose = t0;
    for (int k = 0; k <= 4000; ++k) {
        const Real t = t0 + (t1 - t0) * k / 4000;
        if (mapping.at(t).real() < mapping.at(tNose).real()) tNose = t;
    }
    const Real step = (t1 - t0) / 4000;
    tNose = goldenLeast([&](Real t) { return mapping.at(t).real(); }, tNose - step, tNose + step);
    const Real xNose = mapping.at(tNose).real();
    // y where the arc from the nose to the end reaches x, by bisection.
    const auto yOn = [&](Real end, Real x) {
        Real a = tNose, b = end;
        for (int k = 0; k < 70; ++k) {
            const Real middle = (a + b) / 2;
            (mapping.at(middle).real() < x ? a : b) = middle;
        }
        return mapping.at((a + b) / 2).imag();
    };
    const bool firstIsUpper = yOn(t0, (xNose + 1) / 2) > yOn(t1, (xNose + 1) / 2);
    const Real upperEnd = firstIsUpper ? t0 : t1, lowerEnd = firstIsUpper ? t1 : t0;
    const auto thickness = [&](Real x) { return yOn(upperEnd, x) - yOn(lowerEnd, x); };
    const auto camber = [&](Real x) { return (yOn(upperEnd, x) + yOn(lowerEnd, x)) / 2; };

    SectionMeasures r;
    r.Tau = 180 * (2 - m);
    r.xDltC = static_cast<double>(goldenLeast([&](Real x) { return -thickness(x); }, xNose, 1));
    r.Delta = static_cast<double>(thickness(r.xDltC));
    const Real highest = camber(goldenLeast([&](Real x) { return -camber(x); }, xNose, 1));
    const Real lowest = camber(goldenLeast(camber, xNose, 1));
    r.Gama = static_cast<double>(std::fabs(highest) >= std::fabs(lowest) ? highest : lowest);
    return r;
}

TEST(SectionMeasure, AgreesWithAnIndependentComputationOfTheContour) {
    const struct {
        double F, G, m;
    } sections[] = {
        {0.1, 0, 2},         {0.05, 0.04, 2},   {0.15, 0.12, 2},   {0.18, 0.02, 2},
        {0.06, 0, 1.95},     {0.07, 0.1, 1.98}, {0.05, 0.05, 1.9}, {0.05, 0.08, 1.85},
        {0.05, -0.03, 1.92}, {0, 0.1, 1.9},     {0.3, 0.02, 2},    {0.01, 0, 2},
    };
    for (const auto& s : sections) {
        const std::optional<SectionMeasures> measured = vorta::measureSection(s.F, s.G, s.m);
        ASSERT_TRUE(measured) << s.F << "," << s.G << "," << s.m;
        const SectionMeasures expected = reference(s.F, s.G, s.m);
        EXPECT_NEAR(measured->Delta, expected.Delta, 1e-12) << s.F << "," << s.G << "," << s.m;
        EXPECT_NEAR(measured->Gama, expected.Gama, 1e-12) << s.F << "," << s.G << "," << s.m;
        EXPECT_NEAR(measured->xDltC, expected.xDltC, 1e-7) << s.F << "," << s.G << "," << s.m;
        EXPECT_EQ(measured->Tau, expected.Tau);
    }
}

// Every line of the sample catalog is its own section's line, to the last decimal: two of them
// lie within 4e-7 of a rounding boundary (entry 1's Delta 0.1178504, entry 9's Gama 0.0463503).
TEST(SectionMeasure, WritesTheSampleCatalogsLinesAsTheyStand) {
    const vorta::Catalog catalog =
        vorta::loadCatalogFile(std::string(VORTA_EXAMPLES_DIR) + "/VORTA_Input.txt");
    ASSERT_EQ(catalog.AirfoilCount(), 13);
    for (const vorta::CatalogEntry& entry : catalog.entries) {
        const vorta::LineFields fields = vorta::fieldsOfLine(entry.displayText);
        const std::optional<SectionMeasures> measured = vorta::measureSection(entry.F, entry.G, entry.m);
        ASSERT_TRUE(measured) << entry.displayText;
        EXPECT_EQ(vorta::catalogLine(*measured, fields.fields[4], fields.fields[5], fields.fields[6]),
                  entry.displayText);
    }
}

// An arc, or a section as thin as one, has no thickness to place: its xDltC is 0.
TEST(SectionMeasure, AnArcHasNoThicknessAndItsHalfGAsCamber) {
    const std::optional<SectionMeasures> arc = vorta::measureSection(0, 0.05, 2);
    ASSERT_TRUE(arc);
    EXPECT_LT(arc->Delta, 1e-15);
    EXPECT_EQ(arc->xDltC, 0);
    EXPECT_EQ(vorta::measureSection(1e-12, 0.05, 2)->xDltC, 0);
    EXPECT_NEAR(vorta::measureSection(1e-6, 0.05, 2)->xDltC, 0.25, 0.01);
    EXPECT_NEAR(arc->Gama, reference(0, 0.05, 2).Gama, 1e-12);
    EXPECT_EQ(vorta::catalogLine(*arc, "0", "0.05", "2"), "0.0000,0.0250,0.0000,0,0,0.05,2");
}

TEST(SectionMeasure, RefusesWhatIsNoSection) {
    for (const auto& s : {std::array<double, 3>{-0.1, 0, 2},
                          {0.1, 0, 2.5},
                          {0.1, 0, 0},
                          {1e200, 0.1, 2},
                          {0.1, NAN, 2},
                          {0.1, 0, 1e-9}}) {
        EXPECT_FALSE(vorta::measureSection(s[0], s[1], s[2])) << s[0] << "," << s[1] << "," << s[2];
    }
}

TEST(SectionMeasure, WritesMeasuresWithTheirDecimals) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0.1178504, "0.1179"}, {0.118, "0.1180"}, {0, "0.0000"},  {-1e-17, "0.0000"},
                 {-0.04635, "-0.0464"}, {1.5, "1.5000"},   {12, "12.0000"}};
    for (const auto& c : cases) EXPECT_EQ(vorta::withDecimals(c.value, 4), c.text) << c.value;
    SectionMeasures tau;
    tau.Tau = 180 * (2 - 1.96);
    EXPECT_EQ(vorta::catalogLine(tau, "F", "G", "m"), "0.0000,0.0000,0.0000,7.2,F,G,m");
    tau.Tau = 180 * (2 - 1.95);
    EXPECT_EQ(vorta::catalogLine(tau, "F", "G", "m"), "0.0000,0.0000,0.0000,9,F,G,m");
}

}  // namespace
