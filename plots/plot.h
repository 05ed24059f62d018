#pragma once
// The two plots of a calculation as lines in user coordinates, and how they are drawn: the
// contour of the section and the distribution of 1-Cp along the chord. The window shows them
// bare, without scales; a figure for reports (figure.h) draws the same lines inside its axes.

#include <QColor>
#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <cstddef>
#include <vector>

class QPainter;

namespace vorta::plots {

inline const QColor kAxisColour(17, 17, 17);
inline const QColor kCurveColour(255, 17, 17);

// A user coordinate system: (left, top) is the upper-left corner of the area it is drawn in,
// (right, bottom) the lower-right; y grows upward when top is above bottom.
struct Corners {
    double left = 0, top = 0, right = 1, bottom = 1;
};

// The points (x[i], y[i]) of a curve, held by the caller while the plot is drawn.
struct CurveView {
    const double* x = nullptr;
    const double* y = nullptr;
    std::size_t count = 0;
};

struct Plot {
    Corners corners;
    std::vector<QLineF> axes;  // straight lines in user coordinates, in the axis colour
    CurveView curve;           // one polyline in the curve colour
};

// The contour of points 1 to N1, x and y pointing at point 1, in the window's fixed frame:
// x from -0.1 to 1.1, y from -0.2 to 0.3, the chord and the vertical at the leading edge.
Plot contourPlot(const double* x, const double* y, std::size_t N1);
// 1-Cp of points 1 to N1 over x, from a tenth of CuMax below 0 to a tenth above CuMax, CuMax
// being the largest Cu of points 1 to N1 - 1 (point N1 repeats point 1).
Plot pressurePlot(const double* x, const double* Cu, std::size_t N1);

// A line as it is painted: its points in the pixel coordinates of the area it is drawn in.
struct Polyline {
    QPolygonF points;
    QColor colour;
};

// The plot's lines mapped into area, the axes first and the curve last. Coordinates are taken
// in single precision, as the window's line operation always took them. Of consecutive points
// that fall in one device pixel only the first and the last are kept: the line looks the same,
// and a curve of a million points paints as a few thousand. A coordinate system without width
// or height maps nothing.
std::vector<Polyline> plotPolylines(const Plot& plot, const QRectF& area, double devicePixelRatio);

// Paints the polylines, clipped to clip, with solid pens: curves curveWidth wide, the other
// lines lineWidth.
void paintPolylines(QPainter& painter, const std::vector<Polyline>& polylines, const QRectF& clip,
                    double lineWidth = 1, double curveWidth = 1);

// The plot drawn in area, clipped to it: plotPolylines, then paintPolylines.
void drawPlot(QPainter& painter, const QRectF& area, const Plot& plot, double lineWidth = 1,
              double curveWidth = 1);

}  // namespace vorta::plots
