#include "ui/plot_surface.h"

#include <QPainter>
#include <cmath>

namespace vorta::ui {

namespace {

// The value rounded to single precision, as the line operation takes its coordinates. It
// passes through a volatile float because GCC 12's vectorizer drops a double-to-float-to-double
// round trip when it pairs the x and the y mapping, and the values would keep double precision.
double toSingle(double value) {
    volatile float single = static_cast<float>(value);
    return single;
}

// User coordinates to the surface's pixel coordinates, for one client area and its corners.
struct PixelMapping {
    double clientLeft, clientTop, clientWidth, clientHeight;
    double left, top, right, bottom;

    QPointF operator()(double x, double y) const {
        return {clientLeft + (x - left) * clientWidth / (right - left),
                clientTop + (y - top) * clientHeight / (bottom - top)};
    }
};

// The polyline through the mapped points (x[i], y[i]), of whose consecutive points in one
// device pixel only the first and the last are kept.
QPolygonF mergePixelRuns(const double* x, const double* y, std::size_t count, const PixelMapping& toPixel,
                         double devicePixelRatio) {
    QPolygonF merged;
    // The device pixel of the last point kept spans [column, column + 1) x [row, row + 1). It
    // stays a double: a point far outside the surface has no int pixel number.
    double column = 0, row = 0;
    QPointF runEnd;
    bool runOpen = false;
    for (std::size_t i = 0; i < count; ++i) {
        const QPointF p = toPixel(toSingle(x[i]), toSingle(y[i]));
        const double deviceX = p.x() * devicePixelRatio, deviceY = p.y() * devicePixelRatio;
        if (i > 0 && deviceX >= column && deviceX < column + 1 && deviceY >= row && deviceY < row + 1) {
            runEnd = p;
            runOpen = true;
            continue;
        }
        if (runOpen) merged.append(runEnd);
        runOpen = false;
        merged.append(p);
        column = std::floor(deviceX);
        row = std::floor(deviceY);
    }
    if (runOpen) merged.append(runEnd);
    return merged;
}

}  // namespace

PlotSurface::PlotSurface(const QColor& background, const QColor& foreground, QWidget* parent)
    : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, foreground);
    setPalette(colours);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PlotSurface::clear() {
    polylines_.clear();
    update();
}

void PlotSurface::setCorners(double left, double top, double right, double bottom) {
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
}

void PlotSurface::drawLine(double x1, double y1, double x2, double y2, const QColor& colour) {
    const double x[] = {x1, x2}, y[] = {y1, y2};
    drawPolyline(x, y, 2, colour);
}

void PlotSurface::drawPolyline(const double* x, const double* y, std::size_t count, const QColor& colour) {
    // A coordinate system without width or height maps nothing anywhere.
    if (count == 0 || right_ == left_ || bottom_ == top_) return;
    const QRect client = contentsRect();
    const PixelMapping toPixel{double(client.left()), double(client.top()), double(client.width()),
                               double(client.height()), left_, top_, right_, bottom_};
    polylines_.push_back({mergePixelRuns(x, y, count, toPixel, devicePixelRatioF()), colour});
    update();
}

void PlotSurface::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    for (const PlotPolyline& polyline : polylines_) {
        painter.setPen(QPen(polyline.colour, 1, Qt::SolidLine));
        painter.drawPolyline(polyline.points);
    }
}

}  // namespace vorta::ui
