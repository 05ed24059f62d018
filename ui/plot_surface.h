#pragma once
// A drawing surface that shows one plot over its client area. It keeps the plot's polylines,
// mapped to its pixels once when the plot is drawn, and paints them again whenever Qt asks, so
// a plot survives being covered, uncovered and the window resized. The surface itself keeps
// its size.

#include <QFrame>
#include <vector>

#include "plots/plot.h"

namespace vorta::ui {

class PlotSurface : public QFrame {
    Q_OBJECT
  public:
    PlotSurface(const QColor& background, const QColor& foreground, QWidget* parent);

    // Shows the plot in place of what was shown before. The plot's arrays are read here only.
    void draw(const plots::Plot& plot);

    const std::vector<plots::Polyline>& polylines() const { return polylines_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<plots::Polyline> polylines_;
};

}  // namespace vorta::ui
