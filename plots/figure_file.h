#pragma once
// A figure as the bytes of an image file: PNG through QImage, SVG through QSvgGenerator, PDF
// through QPdfWriter. Each format is drawn at the same size in pixels (a PDF page at 96 pixels
// to the inch), so the three look alike.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

#include "plots/figure.h"

namespace vorta::plots {

enum class ImageFormat { Png, Svg, Pdf };

inline const QSize kDefaultFigureSize(1200, 800);

// The format a file name's ending picks, in any case: .png, .svg or .pdf.
std::optional<ImageFormat> imageFormatOfName(const QString& fileName);

// The figure as an image; a null image where its pixels could not be had.
QImage figureImage(const Figure& figure, const QSize& size);

// The figure's file; empty where it could not be drawn.
QByteArray figureFile(const Figure& figure, ImageFormat format, const QSize& size);

}  // namespace vorta::plots
