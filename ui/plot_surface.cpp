#include "ui/plot_surface.h"

#include <QPainter>

namespace vorta::ui {

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

void PlotSurface::draw(const plots::Plot& plot) {
    polylines_ = plots::plotPolylines(plot, QRectF(contentsRect()), devicePixelRatioF());
    update();
}

void PlotSurface::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    plots::paintPolylines(painter, polylines_, QRectF(contentsRect()));
}

}  // namespace vorta::ui
