// The two plots, checked on images grabbed from the drawing surfaces.

#include <QFrame>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <variant>
#include <vector>

#include "core/calculation/calculation.h"
#include "ui/form_vorta.h"
#include "ui/plot_surface.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

const QColor kBackground(255, 255, 192);
const QColor kAxis(17, 17, 17);
const QColor kCurve(255, 17, 17);

// The pixel of user point (x, y) on a surface whose client area spans the given corners.
QPoint toPixel(const QWidget& window, const char* surface, double x, double y, QRectF corners) {
    const QRect client = control<QFrame>(window, surface)->contentsRect();
    return QPoint(qRound(client.left() + (x - corners.left()) * client.width() / corners.width()),
                  qRound(client.top() + (y - corners.top()) * client.height() / corners.height()));
}

// Whether a pixel of this colour lies within one pixel of p.
bool colourNear(const QImage& image, QPoint p, const QColor& colour) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const QPoint q = p + QPoint(dx, dy);
            if (image.rect().contains(q) && image.pixelColor(q) == colour) return true;
        }
    }
    return false;
}

// The topmost row of the column that holds anything but the background.
int topmostDrawn(const QImage& image, int column, const QRect& client) {
    for (int row = client.top(); row <= client.bottom(); ++row) {
        if (image.pixelColor(column, row) != kBackground) return row;
    }
    return -1;
}

// The core's calculation of entry k of the catalog in the working directory.
vorta::Calculation solve(int k, const char* points, const char* angle) {
    const vorta::Catalog catalog = vorta::loadCatalogFile(vorta::kCatalogFileName);
    return std::get<vorta::Calculation>(vorta::calculate(catalog, k, points, angle));
}

double maxCu(const vorta::Calculation& c) {
    double CuMax = 0;
    for (int i = 1; i < c.N1; ++i) CuMax = std::max(CuMax, c.solution.Cu[i]);
    return CuMax;
}

const QRectF kProfilCorners(QPointF(-0.1, 0.3), QPointF(1.1, -0.2));

QRectF pressureCorners(const vorta::Calculation& c) {
    const double CuMax = maxCu(c);
    return QRectF(QPointF(-0.1, 1.1 * CuMax), QPointF(1.1, -0.1 * CuMax));
}

// Points 1 to N1 of one curve in single precision, as the drawing takes them. They are stored
// as floats so that nothing can skip the rounding.
struct Curve {
    std::vector<float> x, y;
};

Curve contour(const vorta::Calculation& c) {
    const auto& s = c.solution;
    return {std::vector<float>(s.x.begin() + 1, s.x.begin() + c.N1 + 1),
            std::vector<float>(s.y.begin() + 1, s.y.begin() + c.N1 + 1)};
}

Curve pressureCurve(const vorta::Calculation& c) {
    const auto& s = c.solution;
    return {std::vector<float>(s.x.begin() + 1, s.x.begin() + c.N1 + 1),
            std::vector<float>(s.Cu.begin() + 1, s.Cu.begin() + c.N1 + 1)};
}

// Where a user point lands on a surface, in pixel coordinates before any rounding.
QPointF exactPixel(const QRect& client, const QRectF& corners, double x, double y) {
    return {client.left() + (x - corners.left()) * client.width() / corners.width(),
            client.top() + (y - corners.top()) * client.height() / corners.height()};
}

// The pixels the exact polyline passes through, sampled at most a quarter pixel apart.
std::vector<bool> curvePixels(const Curve& curve, const QRect& client, const QRectF& corners, QSize size) {
    std::vector<bool> on(size.width() * size.height(), false);
    auto mark = [&](QPointF p) {
        const double column = std::floor(p.x()), row = std::floor(p.y());
        if (column >= 0 && row >= 0 && column < size.width() && row < size.height())
            on[int(row) * size.width() + int(column)] = true;
    };
    QPointF previous = exactPixel(client, corners, curve.x[0], curve.y[0]);
    mark(previous);
    for (std::size_t i = 1; i < curve.x.size(); ++i) {
        const QPointF next = exactPixel(client, corners, curve.x[i], curve.y[i]);
        const QPointF step = next - previous;
        const int samples = std::max(1, int(std::ceil(4 * std::max(std::abs(step.x()), std::abs(step.y())))));
        for (int k = 1; k <= samples; ++k) mark(previous + step * (double(k) / samples));
        previous = next;
    }
    return on;
}

bool anyWithinOnePixel(const std::vector<bool>& on, QSize size, QPoint p) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q = p + QPoint(dx, dy);
            if (QRect(QPoint(0, 0), size).contains(q) && on[q.y() * size.width() + q.x()]) return true;
        }
    }
    return false;
}

// Compares the curve on a grabbed surface with the exact curve. A clean line lies on the exact
// curve's pixels, save a few where a straight piece cuts a corner; a whisker sticks out beside
// them. So no curve pixel may lie more than a pixel away, at most one in a hundred may lie off
// them at all, and every exact pixel in the client area, outside the labels, must have a
// curve pixel within one. Returns what is wrong, or nothing.
QString compareWithExactCurve(const QWidget& surface, const QImage& image, const Curve& curve,
                              const QRectF& corners) {
    const QRect client = static_cast<const QFrame&>(surface).contentsRect();
    const QSize size = image.size();
    const std::vector<bool> exact = curvePixels(curve, client, corners, size);
    std::vector<bool> drawn(exact.size(), false);
    for (int row = 0; row < size.height(); ++row) {
        for (int column = 0; column < size.width(); ++column)
            drawn[row * size.width() + column] = image.pixelColor(column, row) == kCurve;
    }
    const QList<QLabel*> labels = surface.findChildren<QLabel*>();
    auto underALabel = [&](QPoint p) {
        return std::any_of(labels.begin(), labels.end(), [&](QLabel* label) { return label->geometry().contains(p); });
    };
    int curvePixelCount = 0, beside = 0, strays = 0, uncovered = 0;
    for (int row = 0; row < size.height(); ++row) {
        for (int column = 0; column < size.width(); ++column) {
            const QPoint p(column, row);
            const std::size_t at = row * size.width() + column;
            curvePixelCount += drawn[at];
            beside += drawn[at] && !exact[at];
            strays += drawn[at] && !anyWithinOnePixel(exact, size, p);
            uncovered += exact[at] && client.contains(p) && !underALabel(p) && !anyWithinOnePixel(drawn, size, p);
        }
    }
    if (strays == 0 && uncovered == 0 && beside * 100 <= curvePixelCount) return {};
    return QString("of %1 curve pixels %2 lie off the exact curve, %3 farther than a pixel; %4 exact pixels not drawn")
        .arg(curvePixelCount).arg(beside).arg(strays).arg(uncovered);
}

}  // namespace

class PlotTest : public QObject {
    Q_OBJECT
  private slots:
    void ContourIsRedWhereItsPointsMap();
    void PressureAxisEndsAtCuMax();
    void SecondCalculationLeavesNoTraceOfTheFirst();
    void PlotSurvivesRepaintAndResize();
    void CuMaxOfZeroDrawsTheZeroLine();
    void EachCurveIsOnePolylineThroughItsPoints();
    void PointsInOnePixelMergeToTheFirstAndLast_data();
    void PointsInOnePixelMergeToTheFirstAndLast();
    void CurvesMatchTheExactCurve_data();
    void CurvesMatchTheExactCurve();
};

void PlotTest::ContourIsRedWhereItsPointsMap() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 0);
    const QImage image = grabSurface(*window, "profil");
    const vorta::Calculation c = solve(1, "51", "5");
    const QRectF corners(QPointF(-0.1, 0.3), QPointF(1.1, -0.2));
    for (int i = 1; i <= c.N1; ++i) {
        const QPoint p = toPixel(*window, "profil", c.solution.x[i], c.solution.y[i], corners);
        QVERIFY2(colourNear(image, p, kCurve), qPrintable(QString("point %1").arg(i)));
    }
    // The chord axis runs from the leading to the trailing edge at y = 0.
    QVERIFY(colourNear(image, toPixel(*window, "profil", 0.5, 0, corners), kAxis));
}

void PlotTest::PressureAxisEndsAtCuMax() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, kSecondLine});
    auto window = openWindow();
    const QRect client = control<QFrame>(*window, "pressure")->contentsRect();
    for (int item : {0, 1}) {
        pick(*window, item);
        const vorta::Calculation c = solve(item + 1, "51", "0");
        const double CuMax = maxCu(c);
        const QRectF corners(QPointF(-0.1, 1.1 * CuMax), QPointF(1.1, -0.1 * CuMax));
        const QImage image = grabSurface(*window, "pressure");
        const QPoint top = toPixel(*window, "pressure", 0, CuMax, corners);
        const QPoint middle = toPixel(*window, "pressure", 0, CuMax / 2, corners);
        QVERIFY(colourNear(image, middle, kAxis));
        QVERIFY(qAbs(topmostDrawn(image, top.x(), client) - top.y()) <= 1);

        // The curve reaches exactly as high as the axis.
        int highest = client.bottom();
        for (int column = client.left(); column <= client.right(); ++column) {
            for (int row = client.top(); row < highest; ++row) {
                if (image.pixelColor(column, row) == kCurve) highest = row;
            }
        }
        QVERIFY(qAbs(highest - top.y()) <= 1);
    }
}

void PlotTest::SecondCalculationLeavesNoTraceOfTheFirst() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, kJoukowskyLine});
    auto twice = openWindow();
    pick(*twice, 0);
    pick(*twice, 1);
    auto once = openWindow();
    pick(*once, 1);
    for (const char* surface : {"profil", "pressure"}) {
        QCOMPARE(grabSurface(*twice, surface), grabSurface(*once, surface));
    }
}

void PlotTest::PlotSurvivesRepaintAndResize() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    pick(*window, 0);
    const QImage before = grabSurface(*window, "pressure");
    window->hide();
    window->resize(window->size() + QSize(100, 50));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(grabSurface(*window, "pressure"), before);
    QVERIFY(control<QWidget>(*window, "Label7")->isVisible());
    QVERIFY(control<QWidget>(*window, "Label8")->isVisible());
}

// Two points on a section with a finite trailing-edge angle: every examined Cu is 0.
void PlotTest::CuMaxOfZeroDrawsTheZeroLine() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    QCOMPARE(maxCu(solve(1, "2", "0")), 0.0);
    setText(*window, "Text_N1", "2");
    QVERIFY(answerMessages([&] { pick(*window, 0); }).isEmpty());
    const QImage image = grabSurface(*window, "pressure");
    const QRect client = control<QFrame>(*window, "pressure")->contentsRect();
    const int zeroRow = qRound(client.top() + client.height() * 1.1 / 1.2);
    const int quarter = client.left() + client.width() * 3 / 10;
    QVERIFY(colourNear(image, QPoint(quarter, zeroRow), kAxis));
}

// At 51 points every segment is longer than a pixel: nothing merges, and each point is where
// its single-precision coordinates map.
void PlotTest::EachCurveIsOnePolylineThroughItsPoints() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 0);
    const vorta::Calculation c = solve(1, "51", "5");
    const struct {
        const char* name;
        Curve curve;
        QRectF corners;
    } surfaces[] = {{"profil", contour(c), kProfilCorners}, {"pressure", pressureCurve(c), pressureCorners(c)}};
    for (const auto& surface : surfaces) {
        const auto* plot = control<vorta::ui::PlotSurface>(*window, surface.name);
        const auto& drawn = plot->polylines();
        QCOMPARE(drawn.size(), std::size_t{3});
        QCOMPARE(drawn[0].colour, kAxis);
        QCOMPARE(drawn[1].colour, kAxis);
        QCOMPARE(drawn[2].colour, kCurve);
        const QPolygonF& points = drawn[2].points;
        QCOMPARE(points.size(), 51);
        for (int i = 0; i < 51; ++i) {
            const QPointF expected =
                exactPixel(plot->contentsRect(), surface.corners, surface.curve.x[i], surface.curve.y[i]);
            QVERIFY2(points[i].x() == expected.x() && points[i].y() == expected.y(),
                     qPrintable(QString("%1 point %2").arg(surface.name).arg(i + 1)));
        }
    }
}

void PlotTest::PointsInOnePixelMergeToTheFirstAndLast_data() {
    QTest::addColumn<QString>("points");
    QTest::newRow("20 001") << "20001";
    QTest::newRow("1 000 000") << "1000000";
}

// Of each run of consecutive points in one pixel the polyline keeps the first and the last
// point, so its shape is exact, and a curve of many points keeps a few thousand.
void PlotTest::PointsInOnePixelMergeToTheFirstAndLast() {
    QFETCH(QString, points);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_N1", points);
    pick(*window, 0);
    const auto* plot = control<vorta::ui::PlotSurface>(*window, "profil");
    const QPolygonF& drawn = plot->polylines().at(2).points;
    QVERIFY2(drawn.size() < 4000, qPrintable(QString::number(drawn.size())));

    const Curve curve = contour(solve(1, qPrintable(points), "0"));
    QPolygonF expected;
    QPoint runPixel;
    QPointF runLast;
    int runLength = 0;
    for (std::size_t i = 0; i < curve.x.size(); ++i) {
        const QPointF p = exactPixel(plot->contentsRect(), kProfilCorners, curve.x[i], curve.y[i]);
        const QPoint pixel(int(std::floor(p.x())), int(std::floor(p.y())));
        if (runLength > 0 && pixel == runPixel) {
            runLast = p;
            ++runLength;
            continue;
        }
        if (runLength > 1) expected << runLast;
        expected << p;
        runPixel = pixel;
        runLength = 1;
    }
    if (runLength > 1) expected << runLast;

    QCOMPARE(drawn.size(), expected.size());
    for (int i = 0; i < drawn.size(); ++i) {
        QVERIFY2(drawn[i].x() == expected[i].x() && drawn[i].y() == expected[i].y(),
                 qPrintable(QString("vertex %1").arg(i)));
    }
}

void PlotTest::CurvesMatchTheExactCurve_data() {
    QTest::addColumn<QString>("points");
    QTest::addColumn<int>("entry");
    QTest::newRow("20 001, cambered") << "20001" << 0;
    QTest::newRow("100 000, cambered") << "100000" << 0;
    QTest::newRow("100 000, second") << "100000" << 1;
    QTest::newRow("1 000 000, cambered") << "1000000" << 0;
}

// Many points per pixel still draw one clean line, the same as the exact curve's pixels.
void PlotTest::CurvesMatchTheExactCurve() {
    QFETCH(QString, points);
    QFETCH(int, entry);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, kSecondLine});
    auto window = openWindow();
    setText(*window, "Text_N1", points);
    setText(*window, "Text_AlfaD", "5");
    pick(*window, entry);
    const vorta::Calculation c = solve(entry + 1, qPrintable(points), "5");
    const QString profil = compareWithExactCurve(*control<QWidget>(*window, "profil"),
                                                 grabSurface(*window, "profil"), contour(c), kProfilCorners);
    QVERIFY2(profil.isEmpty(), qPrintable("profil: " + profil));
    const QString pressure =
        compareWithExactCurve(*control<QWidget>(*window, "pressure"), grabSurface(*window, "pressure"),
                              pressureCurve(c), pressureCorners(c));
    QVERIFY2(pressure.isEmpty(), qPrintable("pressure: " + pressure));
}

QTEST_MAIN(PlotTest)
#include "plot_test.moc"
