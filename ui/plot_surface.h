#pragma once
// A drawing surface with a user coordinate system set from its two corners. It keeps the
// polylines drawn since it was last cleared and paints them again whenever Qt asks, so a plot
// survives being covered, uncovered and the window resized. The surface itself keeps its size:
// each point is mapped to its pixel once, when it is drawn.

#include <QColor>
#include <QFrame>
#include <QPolygonF>
#include <cstddef>
#include <vector>

namespace vorta::ui {

// A polyline as it is painted: its points in the surface's pixel coordinates.
struct PlotPolyline {
    QPolygonF points;
    QColor colour;
};

class PlotSurface : public QFrame {
    Q_OBJECT
  public:
    PlotSurface(const QColor& background, const QColor& foreground, QWidget* parent);

    void clear();
    // (left, top) is the upper-left corner of the client area, (right, bottom) the lower-right.
    // The corners apply to what is drawn after them.
    void setCorners(double left, double top, double right, double bottom);
    void drawLine(double x1, double y1, double x2, double y2, const QColor& colour);
    // One polyline through the count points (x[i], y[i]). Of consecutive points that fall in
    // one device pixel only the first and the last are kept: the line looks the same, and a
    // curve of a million points paints as a few thousand.
    void drawPolyline(const double* x, const double* y, std::size_t count, const QColor& colour);

    const std::vector<PlotPolyline>& polylines() const { return polylines_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    double left_ = 0, top_ = 0, right_ = 1, bottom_ = 1;
    std::vector<PlotPolyline> polylines_;
};

}  // namespace vorta::ui
