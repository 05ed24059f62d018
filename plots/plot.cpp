#include "plots/plot.h"

#include <QPainter>
#include <QPen>
#include <cmath>

namespace vorta::plots {

namespace {

// The value rounded to single precision, as the line operation takes its coordinates. It
// passes through a volatile float because GCC 12's vectorizer drops a double-to-float-to-double
// round trip when it pairs the x and the y mapping, and the values would keep double precision.
double toSingle(double value) {
    volatile float single = static_cast<float>(value);
    return single;
}

// User coordinates to the pixel coordinates of one area and its corners.
struct PixelMapping {
    double areaLeft, areaTop, areaWidth, areaHeight;
    double left, top, right, bottom;

    QPointF operator()(double x, double y) const {
        return {areaLeft + (x - left) * areaWidth / (right - left),
                areaTop + (y - top) * areaHeight / (bottom - top)};
    }
};

// The polyline through the mapped points (x[i], y[i]), of whose consecutive points in one
// device pixel only the first and the last are kept.
QPolygonF mergePixelRuns(const double* x, const double* y, std::size_t count, const PixelMapping& toPixel,
                         double devicePixelRatio) {
    QPolygonF merged;
    // The device pixel of the last point kept spans [column, column + 1) x [row, row + 1). It
    // stays a double: a point far outside the area has no int pixel number.
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

Plot contourPlot(const double* x, const double* y, std::size_t N1) {
    return {{-0.1, 0.3, 1.1, -0.2}, {QLineF(0, 0, 1, 0), QLineF(0, -0.15, 0, 0.25)}, {x, y, N1}};
}

Plot pressurePlot(const double* x, const double* Cu, std::size_t N1) {
    double CuMax = 0;
    for (std::size_t i = 0; i + 1 < N1; ++i) {
        if (Cu[i] > CuMax) CuMax = Cu[i];
    }
    // With every Cu at 0 the range would have no height; a unit range still shows the zero
    // line, and the curve lies on it. The vertical axis then has no length and is left out.
    // CuMax is used up before anything is allocated: alive across a call, it would be kept in
    // memory, and the loop above would wait on it at every point (2 ms at a million points).
    const double range = CuMax > 0 ? CuMax : 1;
    const Corners corners{-0.1, 1.1 * range, 1.1, -0.1 * range};
    const QLineF zeroLine(0, 0, 1, 0), verticalAxis(0, 0, 0, CuMax);
    std::vector<QLineF> axes =
        CuMax > 0 ? std::vector<QLineF>{zeroLine, verticalAxis} : std::vector<QLineF>{zeroLine};
    return {corners, std::move(axes), {x, Cu, N1}};
}

std::vector<Polyline> plotPolylines(const Plot& plot, const QRectF& area, double devicePixelRatio) {
    const Corners& c = plot.corners;
    if (c.right == c.left || c.bottom == c.top) return {};
    const PixelMapping toPixel{area.left(), area.top(), area.width(), area.height(),
                               c.left,      c.top,      c.right,      c.bottom};
    std::vector<Polyline> polylines;
    for (const QLineF& axis : plot.axes) {
        const double x[] = {axis.x1(), axis.x2()}, y[] = {axis.y1(), axis.y2()};
        polylines.push_back({mergePixelRuns(x, y, 2, toPixel, devicePixelRatio), kAxisColour});
    }
    const CurveView& curve = plot.curve;
    if (curve.count > 0) {
        polylines.push_back(
            {mergePixelRuns(curve.x, curve.y, curve.count, toPixel, devicePixelRatio), kCurveColour});
    }
    return polylines;
}

void paintPolylines(QPainter& painter, const std::vector<Polyline>& polylines, const QRectF& clip,
                    double lineWidth, double curveWidth) {
    painter.save();
    painter.setClipRect(clip);
    for (const Polyline& polyline : polylines) {
        const double width = polyline.colour == kCurveColour ? curveWidth : lineWidth;
        painter.setPen(QPen(polyline.colour, width, Qt::SolidLine));
        if (polyline.points.size() > 1) {
            painter.drawPolyline(polyline.points);
        } else if (polyline.points.size() == 1) {
            // A curve of one point, such as a polar of one angle, shows as a dot.
            painter.setBrush(polyline.colour);
            painter.drawEllipse(polyline.points[0], 1.5 * width, 1.5 * width);
            painter.setBrush(Qt::NoBrush);
        }
    }
    painter.restore();
}

void drawPlot(QPainter& painter, const QRectF& area, const Plot& plot, double lineWidth, double curveWidth) {
    const std::vector<Polyline> polylines = plotPolylines(plot, area, painter.device()->devicePixelRatioF());
    paintPolylines(painter, polylines, area, lineWidth, curveWidth);
}

}  // namespace vorta::plots
