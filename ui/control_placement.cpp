#include "ui/control_placement.h"

#include <QWidget>
#include <QtMath>

namespace vorta::ui {

namespace {
constexpr double kTwipsPerPixel = 15.0;
}

int twipsToPixels(int twips) { return qRound(twips / kTwipsPerPixel); }

void place(QWidget* widget, int left, int top, int width, int height, QPoint origin) {
    widget->setGeometry(origin.x() + twipsToPixels(left), origin.y() + twipsToPixels(top),
                        twipsToPixels(width), twipsToPixels(height));
}

void growToCaption(QWidget* widget) { widget->resize(widget->size().expandedTo(widget->sizeHint())); }

}  // namespace vorta::ui
