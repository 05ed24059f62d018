#include "plots/figure.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "plots/axis_ticks.h"

namespace vorta::plots {

namespace {

// Sizes in pixels, all from one unit: the height of a tick label.
struct Look {
    double unit, tick, curveWidth;
    QFont font, titleFont;
};

QFont figureFont(double pixels) {
    QFont font;
    font.setFamilies({"Liberation Sans", "DejaVu Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    return font;
}

Look lookOf(const QRectF& rect) {
    const double unit = std::max(8.0, std::min(rect.width(), rect.height()) / 45);
    return {unit, unit / 2, std::max(1.0, unit / 9), figureFont(unit), figureFont(1.2 * unit)};
}

// Where a panel's data go, in what coordinates, and the ticks of its two axes.
struct PanelLayout {
    QRectF data;
    Corners corners;
    std::vector<Tick> xTicks, yTicks;
};

PanelLayout layOut(const Panel& panel, const QRectF& box, double dataLeft, const Look& look,
                   const std::string& separator) {
    const double u = look.unit;
    PanelLayout layout;
    // Whole pixels, so that the frame and the ticks of an image are sharp.
    layout.data =
        QRectF(QPointF(std::round(dataLeft), std::round(box.top() + 0.8 * u)),
               QPointF(std::round(box.right() - 1.5 * u), std::round(box.bottom() - look.tick - 3.4 * u)));
    if (!layout.data.isValid()) return layout;
    layout.corners =
        panel.equalScale ? withEqualScale(panel.plot.corners, layout.data.size()) : panel.plot.corners;
    const Corners& c = layout.corners;
    double xStep = tickStep(c.right - c.left, std::max(2, int(layout.data.width() / (5 * u))));
    double yStep = tickStep(c.top - c.bottom, std::max(2, int(layout.data.height() / (2.5 * u))));
    if (panel.equalScale) xStep = yStep = std::max(xStep, yStep);
    layout.xTicks = ticksOfStep(c.left, c.right, xStep, separator);
    layout.yTicks = ticksOfStep(c.bottom, c.top, yStep, separator);
    return layout;
}

// Where the data area of a panel in box starts, so that the left margin holds the axis name,
// the widest y label and the ticks. The labels depend on the data area's height alone, and
// with an equal scale a little on its width: a first layout with a guessed margin settles them.
double dataLeftOf(const Panel& panel, const QRectF& box, const Look& look, const std::string& separator) {
    const QFontMetricsF metrics(look.font);
    const PanelLayout guess = layOut(panel, box, box.left() + 6 * look.unit, look, separator);
    double widest = 0;
    for (const Tick& tick : guess.yTicks)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(tick.label)));
    return box.left() + 2.4 * look.unit + widest + look.tick;
}

double xPixel(const PanelLayout& l, double x) {
    return l.data.left() + (x - l.corners.left) * l.data.width() / (l.corners.right - l.corners.left);
}

double yPixel(const PanelLayout& l, double y) {
    return l.data.top() + (y - l.corners.top) * l.data.height() / (l.corners.bottom - l.corners.top);
}

void drawTicks(QPainter& painter, const PanelLayout& l, const Look& look) {
    const double u = look.unit;
    for (const Tick& tick : l.xTicks) {
        const double x = xPixel(l, tick.value);
        painter.drawLine(QPointF(x, l.data.bottom()), QPointF(x, l.data.bottom() + look.tick));
        painter.drawText(QRectF(x - 5 * u, l.data.bottom() + look.tick + 0.2 * u, 10 * u, 1.4 * u),
                         Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(tick.label));
    }
    for (const Tick& tick : l.yTicks) {
        const double y = yPixel(l, tick.value);
        painter.drawLine(QPointF(l.data.left() - look.tick, y), QPointF(l.data.left(), y));
        painter.drawText(QRectF(l.data.left() - look.tick - 10.3 * u, y - 0.7 * u, 10 * u, 1.4 * u),
                         Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(tick.label));
    }
}

void drawAxisNames(QPainter& painter, const Panel& panel, const PanelLayout& l, const QRectF& box,
                   const Look& look) {
    const double u = look.unit;
    painter.drawText(QRectF(l.data.left(), l.data.bottom() + look.tick + 1.7 * u, l.data.width(), 1.6 * u),
                     Qt::AlignCenter, panel.xName);
    painter.save();
    painter.translate(box.left() + u, l.data.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-l.data.height() / 2, -u, l.data.height(), 2 * u), Qt::AlignCenter, panel.yName);
    painter.restore();
}

void drawPanel(QPainter& painter, const Panel& panel, const QRectF& box, double dataLeft, const Look& look,
               const std::string& separator) {
    const PanelLayout l = layOut(panel, box, dataLeft, look, separator);
    if (!l.data.isValid() || l.corners.right == l.corners.left || l.corners.top == l.corners.bottom) return;
    Plot plot = panel.plot;
    plot.corners = l.corners;
    drawPlot(painter, l.data, plot, 1, look.curveWidth);
    painter.setPen(QPen(kAxisColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(l.data);
    painter.setFont(look.font);
    drawTicks(painter, l, look);
    drawAxisNames(painter, panel, l, box, look);
}

}  // namespace

Corners withEqualScale(const Corners& c, const QSizeF& area) {
    const double across = area.width() / std::abs(c.right - c.left),
                 up = area.height() / std::abs(c.top - c.bottom);
    if (!(across > 0 && up > 0) || !std::isfinite(across) || !std::isfinite(up)) return c;
    const double scale = std::min(across, up);
    // Widens [from, to] about its middle to span units, keeping its direction.
    const auto widen = [](double& from, double& to, double span) {
        const double middle = (from + to) / 2, half = (to > from ? span : -span) / 2;
        from = middle - half;
        to = middle + half;
    };
    Corners wide = c;
    if (across > scale) widen(wide.left, wide.right, area.width() / scale);
    if (up > scale) widen(wide.bottom, wide.top, area.height() / scale);
    return wide;
}

void drawFigure(QPainter& painter, const QRectF& rect, const Figure& figure) {
    const Look look = lookOf(rect);
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.fillRect(rect, Qt::white);
    painter.setPen(kAxisColour);

    const double titleHeight = 2.6 * look.unit;
    painter.setFont(look.titleFont);
    const QRectF titleBox(rect.left() + look.unit, rect.top(), rect.width() - 2 * look.unit, titleHeight);
    const QString title =
        QFontMetricsF(look.titleFont).elidedText(figure.title, Qt::ElideRight, titleBox.width());
    painter.drawText(titleBox, Qt::AlignCenter, title);

    // The panels share their data's left edge, so that stacked panels line up.
    const std::size_t count = figure.panels.size();
    const double panelHeight = (rect.height() - titleHeight) / double(std::max<std::size_t>(count, 1));
    std::vector<QRectF> boxes;
    double dataLeft = rect.left();
    for (std::size_t i = 0; i < count; ++i) {
        boxes.emplace_back(rect.left(), rect.top() + titleHeight + double(i) * panelHeight, rect.width(),
                           panelHeight);
        dataLeft = std::max(dataLeft, dataLeftOf(figure.panels[i], boxes[i], look, figure.separator));
    }
    for (std::size_t i = 0; i < count; ++i)
        drawPanel(painter, figure.panels[i], boxes[i], dataLeft, look, figure.separator);
    painter.restore();
}

}  // namespace vorta::plots
