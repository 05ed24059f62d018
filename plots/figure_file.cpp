#include "plots/figure_file.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace vorta::plots {

namespace {

constexpr int kPixelsPerInch = 96;

// Draws the figure over the whole device; false where painting could not start.
bool paintFigure(QPaintDevice& device, const Figure& figure) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    drawFigure(painter, QRectF(0, 0, device.width(), device.height()), figure);
    return painter.end();
}

QByteArray pngFile(const Figure& figure, const QSize& size) {
    const QImage image = figureImage(figure, size);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
    return bytes;
}

QByteArray svgFile(const Figure& figure, const QSize& size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kPixelsPerInch);
    svg.setTitle(figure.title);
    svg.setDescription("Drawn by Vorta");
    return paintFigure(svg, figure) ? bytes : QByteArray();
}

QByteArray pdfFile(const Figure& figure, const QSize& size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kPixelsPerInch);
    pdf.setPageSize(QPageSize(QSizeF(size) / kPixelsPerInch, QPageSize::Inch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(figure.title);
    pdf.setCreator("Vorta");
    return paintFigure(pdf, figure) ? bytes : QByteArray();
}

}  // namespace

std::optional<ImageFormat> imageFormatOfName(const QString& fileName) {
    if (fileName.endsWith(".png", Qt::CaseInsensitive)) return ImageFormat::Png;
    if (fileName.endsWith(".svg", Qt::CaseInsensitive)) return ImageFormat::Svg;
    if (fileName.endsWith(".pdf", Qt::CaseInsensitive)) return ImageFormat::Pdf;
    return std::nullopt;
}

QImage figureImage(const Figure& figure, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull() || !paintFigure(image, figure)) return {};
    return image;
}

QByteArray figureFile(const Figure& figure, ImageFormat format, const QSize& size) {
    switch (format) {
        case ImageFormat::Png:
            return pngFile(figure, size);
        case ImageFormat::Svg:
            return svgFile(figure, size);
        case ImageFormat::Pdf:
            return pdfFile(figure, size);
    }
    return {};
}

}  // namespace vorta::plots
