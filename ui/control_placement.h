#pragma once
// Positions and sizes are given in twips (1/1440 inch); at 96 dots per inch 15 twips make
// one pixel, and Qt's high-DPI scaling maps pixels onto the screen.

#include <QPoint>

class QWidget;

namespace vorta::ui {

int twipsToPixels(int twips);

// Places widget at the twips rectangle, measured from origin in its container (the client
// area's corner: zero for frames, inside the border for the plot surfaces).
void place(QWidget* widget, int left, int top, int width, int height, QPoint origin = {});

// Lets the widget grow to the right and down when its caption, in the font actually used,
// needs more room than the box it was given; the position stays.
void growToCaption(QWidget* widget);

}  // namespace vorta::ui
