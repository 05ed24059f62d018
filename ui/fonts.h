#pragma once
// The window was laid out for "MS Sans Serif", "Symbol" and "Verdana", which a Linux desktop
// lacks. These return the nearest installed sans fonts at the same point sizes.

#include <QFont>

namespace vorta::ui {

// Stand-in for "MS Sans Serif": Liberation Sans, whose widths are Arial's and close to the
// original's, so the captions keep their boxes. Also used for the Greek captions, which show
// the letters themselves instead of Latin letters in "Symbol".
QFont formFont(double pointSize);

// Stand-in for "Verdana": DejaVu Sans, which grew out of Verdana's sibling Bitstream Vera and
// has nearly the same wide letter shapes.
QFont aboutFont(double pointSize, bool bold = false);

}  // namespace vorta::ui
