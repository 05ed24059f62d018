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

void PlotSurface::clear() {
    lines_.clear();
    update();
}

void PlotSurface::setCorners(double left, double top, double right, double bottom) {
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
    update();
}

void PlotSurface::drawLine(double x1, double y1, double x2, double y2, const QColor& colour) {
    lines_.push_back({static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                      static_cast<float>(y2), colour});
    update();
}

QPointF PlotSurface::toPixel(float x, float y) const {
    const QRect client = contentsRect();
    return {client.left() + (x - left_) * client.width() / (right_ - left_),
            client.top() + (y - top_) * client.height() / (bottom_ - top_)};
}

void PlotSurface::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    // A coordinate system without width or height maps nothing anywhere.
    if (right_ == left_ || bottom_ == top_) return;
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    for (const PlotLine& line : lines_) {
        painter.setPen(QPen(line.colour, 1, Qt::SolidLine));
        painter.drawLine(toPixel(line.x1, line.y1), toPixel(line.x2, line.y2));
    }
}

}  // namespace vorta::ui
