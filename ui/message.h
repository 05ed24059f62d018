#pragma once

#include <QString>

class QWidget;

namespace vorta::ui {

// A modal message with an OK button only. The box sets no title of its own, so the
// window system shows the application's name.
void showMessage(QWidget* parent, const QString& text);

}  // namespace vorta::ui
