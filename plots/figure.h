#pragma once
// A figure for reports: the window's plots inside axes with ticks, tick labels and names,
// under a title, drawn on any QPainter (an image, an SVG drawing, a PDF page).

#include <QString>
#include <string>
#include <vector>

#include "plots/plot.h"

class QPainter;

namespace vorta::plots {

struct Panel {
    Plot plot;  // its corners give the range of each axis
    QString xName, yName;
    // One unit as long across as up: the shorter range is widened, about its middle, until
    // the panel is filled.
    bool equalScale = false;
};

struct Figure {
    QString title;
    std::vector<Panel> panels;  // stacked from the top down
    std::string separator;      // the decimal separator of the tick labels
};

// The figure filling rect, on a white ground; its text and lines grow with the smaller side.
void drawFigure(QPainter& painter, const QRectF& rect, const Figure& figure);

// The corners widened so that one unit is as long across as up in an area of this size.
Corners withEqualScale(const Corners& corners, const QSizeF& area);

}  // namespace vorta::plots
