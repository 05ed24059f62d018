// The two plots, checked on images grabbed from the drawing surfaces.

#include <QFrame>
#include <QTest>
#include <variant>

#include "core/calculation.h"
#include "ui/form_vorta.h"
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

}  // namespace

class PlotTest : public QObject {
    Q_OBJECT
  private slots:
    void ContourIsRedWhereItsPointsMap();
    void PressureAxisEndsAtCuMax();
    void SecondCalculationLeavesNoTraceOfTheFirst();
    void PlotSurvivesRepaintAndResize();
    void CuMaxOfZeroDrawsTheZeroLine();
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

QTEST_MAIN(PlotTest)
#include "plot_test.moc"
