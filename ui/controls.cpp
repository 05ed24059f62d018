#include "ui/controls.h"

#include <QLabel>

#include "ui/control_placement.h"

namespace vorta::ui {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                  int height, QPoint origin) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, left, top, width, height, origin);
    return label;
}

}  // namespace vorta::ui
