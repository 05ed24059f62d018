#pragma once
// What the main window and the About window build their captions from.

#include <QColor>
#include <QPoint>
#include <QString>

class QLabel;
class QWidget;

namespace vorta::ui {

// The ground of the plots and of the About window.
inline const QColor kLightYellow(255, 255, 192);

// A plain-text caption aligned to its top left, placed at the twips rectangle (see place()).
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                  int height, QPoint origin = {});

}  // namespace vorta::ui
