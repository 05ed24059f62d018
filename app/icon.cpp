// Draws the program's icon into an SVG file: a Karman-Trefftz section, as the solver gives
// it, on the plots' light yellow. Run at build time; the package installs the drawing.
// Usage: vorta-icon <output.svg>

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <cstdio>

#include "core/solver/solver.h"
#include "plots/plot.h"

namespace {

constexpr int kSide = 128;

// The contour of a cambered section at 8 degrees, turned so that the flow comes level from
// the left, across the middle of the icon (y grows downward there).
QPainterPath sectionPath() {
    constexpr int N1 = 201;
    constexpr double AlfaD = 8;
    const vorta::Solution s = vorta::VORTA(N1, 0.1, 0.1, 1.9, 1, AlfaD);
    QTransform toIcon;
    toIcon.translate(14, 58);
    toIcon.scale(100, -100);
    toIcon.rotate(-AlfaD);
    QPainterPath path;
    path.moveTo(toIcon.map(QPointF(s.x[1], s.y[1])));
    for (int i = 2; i <= N1; ++i) path.lineTo(toIcon.map(QPointF(s.x[i], s.y[i])));
    path.closeSubpath();
    return path;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.svg>\n", argv[0]);
        return 2;
    }
    // QtGui paints inside a QGuiApplication; the offscreen platform needs no window system.
    int qtArgc = 3;
    char name[] = "vorta-icon", option[] = "-platform", platform[] = "offscreen";
    char* qtArgv[] = {name, option, platform, nullptr};
    const QGuiApplication app(qtArgc, qtArgv);

    QSvgGenerator svg;
    svg.setFileName(QString::fromLocal8Bit(argv[1]));
    svg.setSize(QSize(kSide, kSide));
    svg.setViewBox(QRect(0, 0, kSide, kSide));
    svg.setTitle("Vorta");
    svg.setDescription("A Karman-Trefftz section");
    QPainter painter(&svg);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(vorta::plots::kAxisColour, 3));
    painter.setBrush(QColor(255, 255, 192));
    painter.drawRoundedRect(QRectF(4, 4, kSide - 8, kSide - 8), 18, 18);
    painter.setPen(QPen(vorta::plots::kAxisColour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(vorta::plots::kCurveColour);
    painter.drawPath(sectionPath());
    if (!painter.end()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
