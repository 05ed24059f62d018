#pragma once
// A drawing surface with a user coordinate system set from its two corners. It keeps the
// lines drawn since it was last cleared and paints them again whenever Qt asks, so a plot
// survives being covered, uncovered and resized.

#include <QColor>
#include <QFrame>
#include <vector>

namespace vorta::ui {

struct PlotLine {
    // Single precision, as the line operation takes its coordinates.
    float x1, y1, x2, y2;
    QColor colour;
};

class PlotSurface : public QFrame {
    Q_OBJECT
  public:
    PlotSurface(const QColor& background, const QColor& foreground, QWidget* parent);

    void clear();
    // (left, top) is the upper-left corner of the client area, (right, bottom) the lower-right.
    void setCorners(double left, double top, double right, double bottom);
    void drawLine(double x1, double y1, double x2, double y2, const QColor& colour);

    const std::vector<PlotLine>& lines() const { return lines_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPointF toPixel(float x, float y) const;

    double left_ = 0, top_ = 0, right_ = 1, bottom_ = 1;
    std::vector<PlotLine> lines_;
};

}  // namespace vorta::ui
