// The plots' menus: the figure of the last calculation, as vorta-run --plot draws it, copied
// to the clipboard or saved as a PNG, SVG or PDF file.

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include "core/output/file_replace.h"
#include "locale/decimal_separator.h"
#include "plots/figure_file.h"
#include "plots/figures.h"
#include "ui/busy_cursor.h"
#include "ui/form_vorta.h"
#include "ui/message.h"
#include "ui/plot_surface.h"

namespace vorta::ui {

namespace {

using plots::FigureKind;

const char* const kImageFilters = "PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)";
const char* const kImageNameMessage =
    "Choose a file name ending in .png, .svg or .pdf; the name's ending picks the format.";

// The ending a name filter's pattern gives a name typed without one: "png" of "PNG image (*.png)".
QString suffixOfFilter(const QString& filter) {
    const int dot = filter.lastIndexOf("*.");
    return dot < 0 ? QString() : filter.mid(dot + 2).chopped(1);
}

}  // namespace

void Form_VORTA::createPlotMenus() {
    const std::pair<PlotSurface*, FigureKind> surfaces[] = {{profil, FigureKind::Contour},
                                                            {pressure, FigureKind::Pressure}};
    for (const auto& [surface, kind] : surfaces) {
        surface->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(surface, &QWidget::customContextMenuRequested, this,
                [this, surface = surface, kind = kind](const QPoint& at) {
                    showPlotMenu(kind, surface->mapToGlobal(at));
                });
    }
}

// Until a calculation has succeeded there is no figure: the entries are shown, disabled.
void Form_VORTA::showPlotMenu(FigureKind kind, const QPoint& at) {
    auto* menu = new QMenu(this);
    menu->setObjectName("plotMenu");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction("Copy image", this, [this, kind] { copyPlotImage(kind); })->setEnabled(last.has_value());
    menu->addAction("Save image as…", this, [this, kind] { savePlotImage(kind); })
        ->setEnabled(last.has_value());
    menu->popup(at);
}

plots::Figure Form_VORTA::figureOf(FigureKind kind) const {
    return plots::calculationFigure(kind, catalog, *last, regionalDecimalSeparator());
}

// The image, and the SVG drawing for programs that take one.
void Form_VORTA::copyPlotImage(FigureKind kind) {
    if (!last) return;
    BusyCursor busy;
    const plots::Figure figure = figureOf(kind);
    auto* data = new QMimeData;
    data->setImageData(plots::figureImage(figure, plots::kDefaultFigureSize));
    data->setData("image/svg+xml",
                  plots::figureFile(figure, plots::ImageFormat::Svg, plots::kDefaultFigureSize));
    QGuiApplication::clipboard()->setMimeData(data);
}

void Form_VORTA::savePlotImage(FigureKind kind) {
    if (!last) return;
    QFileDialog dialog(this, "Save image as");
    dialog.setObjectName("saveImageDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(QString(kImageFilters).split(";;"));
    dialog.setDefaultSuffix("png");
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString& filter) { dialog.setDefaultSuffix(suffixOfFilter(filter)); });
    dialog.setDirectory(QDir::current());
    dialog.selectFile(kind == FigureKind::Contour ? "contour.png" : "cp.png");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;

    const QString path = dialog.selectedFiles().constFirst();
    const auto format = plots::imageFormatOfName(path);
    if (!format) {
        showMessage(this, kImageNameMessage);
        return;
    }
    BusyCursor busy;
    const QByteArray bytes = plots::figureFile(figureOf(kind), *format, plots::kDefaultFigureSize);
    const auto error = bytes.isEmpty()
                           ? std::optional<std::string>("Could not draw the figure at 1200x800 pixels.")
                           : replaceFileAtomically(
                                 QFile::encodeName(path).toStdString(),
                                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (error) {
        busy.release();
        showMessage(this, QString::fromStdString(*error));
    }
}

}  // namespace vorta::ui
