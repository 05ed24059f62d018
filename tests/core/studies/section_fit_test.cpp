// Fitting a section to a contour's points: Vorta's own coordinate files give their section back
// at any spacing and wherever the points are moved, NACA sections give the same nearest section
// every time, and contour files are read in XFOIL's and Lednicer's order.
#include "core/studies/section_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <sstream>
#include <string>
#include <variant>

#include "core/numbers/number_text.h"
#include "core/output/data_formats.h"

namespace {

using vorta::PlanePoint;
using vorta::Refusal;
using vorta::SectionFit;

// Vorta's own coordinate file of the section at N1 points, as vorta-run --format dat writes it.
std::string datFile(double F, double G, double m, int N1) {
    std::istringstream text("1\n0\n0,0,0,0," + vorta::shortestText(F) + "," + vorta::shortestText(G) + "," +
                            vorta::shortestText(m) + "\n");
    const vorta::Catalog catalog = vorta::loadCatalog(text);
    const auto calculation = vorta::calculate(catalog, 1, std::to_string(N1), "0");
    std::string file;
    vorta::writeContour(vorta::DataFormat::Dat, catalog, std::get<vorta::Calculation>(calculation),
                        [&](std::string_view bytes) {
                            file += bytes;
                            return 0;
                        });
    return file;
}

std::vector<PlanePoint> read(const std::string& text) {
    std::istringstream in(text);
    auto points = vorta::readContourFile(in, "c.dat");
    if (const auto* refusal = std::get_if<Refusal>(&points)) ADD_FAILURE() << refusal->message;
    return std::get<std::vector<PlanePoint>>(points);
}

SectionFit fit(const std::vector<PlanePoint>& points) {
    auto fitted = vorta::fitSection(points);
    if (const auto* refusal = std::get_if<Refusal>(&fitted)) ADD_FAILURE() << refusal->message;
    return std::get<SectionFit>(fitted);
}

// A NACA 4-digit section with the closed trailing edge, 2 * stations + 1 points at cosine
// spacing in XFOIL's order.
std::vector<PlanePoint> naca(double camber, double place, double thickness, int stations) {
    std::vector<PlanePoint> upper, lower;
    for (int i = 0; i <= stations; ++i) {
        const double x = (1 - std::cos(vorta::Pi * i / stations)) / 2;
        const double yt = 5 * thickness *
                          (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * std::pow(x, 3) -
                           0.1036 * std::pow(x, 4));
        const double p = place, front = x < p, d = front ? p * p : (1 - p) * (1 - p);
        const double yc = camber / d * (front ? 2 * p * x - x * x : 1 - 2 * p + 2 * p * x - x * x);
        const double angle = std::atan(2 * camber / d * (p - x));
        upper.push_back({x - yt * std::sin(angle), yc + yt * std::cos(angle)});
        lower.push_back({x + yt * std::sin(angle), yc - yt * std::cos(angle)});
    }
    std::vector<PlanePoint> points(upper.rbegin(), upper.rend());
    points.insert(points.end(), lower.begin() + 1, lower.end());
    return points;
}

TEST(SectionFit, FindsVortasOwnSectionsAgainAtAnySpacing) {
    const struct {
        double F, G, m;
        int N1;
    } cases[] = {{0.1, 0.05, 2, 41}, {0.1, 0.05, 2, 161}, {0.06, 0.06, 1.96, 57}, {0.05, 0.08, 1.85, 400}};
    for (const auto& c : cases) {
        const SectionFit found = fit(read(datFile(c.F, c.G, c.m, c.N1)));
        EXPECT_NEAR(found.section.F, c.F, 1e-9) << c.N1;
        EXPECT_NEAR(found.section.G, c.G, 1e-9) << c.N1;
        EXPECT_NEAR(found.section.m, c.m, 1e-9) << c.N1;
        EXPECT_LT(found.largestDistance, 1e-12) << c.N1;
        EXPECT_NEAR(found.transform.scale, 1, 1e-9);
    }
}

// Wherever the points lie and however large: in millimetres, or far beyond where their squares
// would still be numbers.
TEST(SectionFit, FindsTheSectionWhereverItsPointsAreMoved) {
    const std::vector<PlanePoint> points = read(datFile(0.1, 0.1, 1.9, 100));
    const struct {
        double scale, turn, shiftX, shiftY;
    } moves[] = {{250, 3, 40, -7}, {1e200, -20, 3e200, 0}, {1e-200, 0, 0, 1e-201}};
    for (const auto& move : moves) {
        const std::complex<double> turn = std::polar(move.scale, move.turn * vorta::Pi / 180);
        std::vector<PlanePoint> moved;
        for (const PlanePoint& p : points) {
            const std::complex<double> q =
                turn * std::complex<double>(p.x, p.y) + std::complex<double>(move.shiftX, move.shiftY);
            moved.push_back({q.real(), q.imag()});
        }
        const SectionFit found = fit(moved);
        EXPECT_NEAR(found.section.F, 0.1, 1e-9) << move.scale;
        EXPECT_NEAR(found.section.G, 0.1, 1e-9) << move.scale;
        EXPECT_NEAR(found.section.m, 1.9, 1e-9) << move.scale;
        EXPECT_NEAR(found.transform.scale / move.scale, 1, 1e-9);
        EXPECT_NEAR(found.transform.turn, move.turn, 1e-9);
        EXPECT_NEAR(found.transform.shiftX, move.shiftX, 1e-9 * move.scale);
        EXPECT_NEAR(found.transform.shiftY, move.shiftY, 1e-9 * move.scale);
        EXPECT_LT(found.largestDistance, 1e-12) << move.scale;
    }
}

// A NACA section is no Karman-Trefftz section: its nearest one, the same every time and whatever
// order the points come in, lies within a few thousandths of a chord.
TEST(SectionFit, GivesANacaSectionItsNearestSectionEveryTime) {
    const struct { double camber, largest; } sections[] = {{0, 0.0026}, {0.02, 0.0029}};
    for (const auto& s : sections) {
        const std::vector<PlanePoint> points = naca(s.camber, 0.4, 0.12, 80);
        ASSERT_EQ(points.size(), 161u);
        const SectionFit first = fit(points), second = fit(points);
        EXPECT_EQ(first.section.F, second.section.F);
        EXPECT_EQ(first.section.G, second.section.G);
        EXPECT_EQ(first.section.m, second.section.m);
        EXPECT_LT(first.largestDistance, s.largest) << s.camber;
        EXPECT_LT(first.rmsDistance, 0.002) << s.camber;
        EXPECT_NEAR(first.section.measures.Delta, 0.12, 0.003) << s.camber;
        EXPECT_NEAR(first.section.measures.Gama, s.camber, 0.002) << s.camber;
        EXPECT_NEAR(first.transform.scale, 1, 0.01);

        const std::vector<PlanePoint> reversed(points.rbegin(), points.rend());
        const SectionFit other = fit(reversed);
        EXPECT_NEAR(other.section.F, first.section.F, 1e-9);
        EXPECT_NEAR(other.section.G, first.section.G, 1e-9);
        EXPECT_NEAR(other.section.m, first.section.m, 1e-9);
    }
}

TEST(SectionFit, RefusesPointsThatOutlineNoSection) {
    EXPECT_EQ(std::get<Refusal>(vorta::fitSection(std::vector<PlanePoint>(40, {0.5, 0}))).message,
              "a fit needs at least 41 points.");
    EXPECT_EQ(std::get<Refusal>(vorta::fitSection(std::vector<PlanePoint>(41, {0.5, 0}))).message,
              "the points do not outline a section: its leading and trailing edges coincide.");
    std::vector<PlanePoint> points = naca(0, 0.4, 0.12, 25);
    points[7].y = NAN;
    EXPECT_EQ(std::get<Refusal>(vorta::fitSection(points)).message,
              "a point is beyond the range of numbers.");
}

std::string lines(const std::vector<PlanePoint>& points, std::size_t from, std::size_t to, bool backwards) {
    std::string text;
    for (std::size_t k = from; k < to; ++k) {
        const PlanePoint& p = points[backwards ? to - 1 - (k - from) : k];
        text += vorta::shortestText(p.x) + " " + vorta::shortestText(p.y) + "\r\n";
    }
    return text;
}

TEST(ContourFile, ReadsXfoilsOrderAndLednicersAlike) {
    const std::vector<PlanePoint> points = naca(0.02, 0.4, 0.12, 30);  // 61 points, nose at 30
    const std::vector<PlanePoint> xfoil = read("NACA 2412\r\n" + lines(points, 0, 61, false));
    ASSERT_EQ(xfoil.size(), 61u);
    const std::vector<PlanePoint> lednicer =
        read("NACA 2412\n31. 31.\n\n" + lines(points, 0, 31, true) + "\n" + lines(points, 30, 61, false));
    ASSERT_EQ(lednicer.size(), 61u);
    for (std::size_t k = 0; k < 61; ++k) {
        EXPECT_EQ(xfoil[k].x, points[k].x);
        EXPECT_EQ(lednicer[k].y, points[k].y);
    }
}

TEST(ContourFile, SaysWhatIsWrongWithALine) {
    const std::string body = lines(naca(0, 0.4, 0.12, 25), 0, 51, false);
    const struct {
        std::string text, message;
    } cases[] = {
        {"title\n" + body + "0.5 0,1\n",
         "c.dat:53: this line holds no point: a point is two numbers, x and y, with a point for decimals, "
         "separated by blanks."},
        {body + "0.5 0.1 7\n",
         "c.dat:52: it holds 3 numbers: a point is two numbers, x and y, with a point for decimals, "
         "separated "
         "by blanks."},
        {body + "0.5 1e400\n", "c.dat:52: a number there is beyond the range of numbers."},
        {body + std::string(5000, '1') + "\n", "c.dat:52: the line holds more than 4096 characters."},
        {"1 0\n0.5 0.1\n1 0\n", "c.dat holds 3 points; a fit needs at least 41."},
        {"title\n40 40\n" + body,
         "c.dat:2: 40 and 40 read as the point counts of Lednicer's order, but 51 points follow."},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        const auto read = vorta::readContourFile(in, "c.dat");
        ASSERT_TRUE(std::holds_alternative<Refusal>(read)) << c.message;
        EXPECT_EQ(std::get<Refusal>(read).message, c.message);
    }
}

}  // namespace
