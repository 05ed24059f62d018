#include "ui/plot_surface.h"

#include <QPainter>
#include <QVector>

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
    // Runs of lines in one colour go to the painter together: a contour of a million points
    // then repaints in one call instead of a million.
    QVector<QLineF> run;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const PlotLine& line = lines_[i];
        run.append(QLineF(toPixel(line.x1, line.y1), toPixel(line.x2, line.y2)));
        if (i + 1 == lines_.size() || lines_[i + 1].colour != line.colour) {
            painter.setPen(QPen(line.colour, 1, Qt::SolidLine));
            painter.drawLines(run);
            run.clear();
        }
    }
}

}  // namespace vorta::ui
