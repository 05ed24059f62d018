// Pictures: the contour or 1-Cp of a calculation, or a polar, drawn as a figure into a PNG,
// SVG or PDF file.
#include <QGuiApplication>
#include <clocale>
#include <variant>

#include "locale/decimal_separator.h"
#include "plots/figure_file.h"
#include "plots/figures.h"
#include "tools/plot_options.h"
#include "tools/task_output.h"
#include "tools/tasks.h"

namespace vorta::run {

namespace {

// Qt's notes to developers (such as a runtime folder it would like) are not for the user; a
// failure to draw is reported by what the drawing returns.
void dropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// Draws the figure into the output file, replaced whole. QtGui draws text only inside a
// QGuiApplication, and its platform is chosen here: offscreen needs no window system, so
// pictures are drawn over ssh and in CI with nothing set.
int writeFigure(const plots::Figure& figure, const Options& o) {
    static int argc = 3;
    static char name[] = "vorta-run", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    qInstallMessageHandler(dropQtMessages);
    const QGuiApplication gui(argc, argv);
    // Qt sets the C library's locale from the environment; messages (a failed save names the
    // system's reason) stay as every other task gives them.
    std::setlocale(LC_ALL, "C");

    const ImageSize size = readImageSize(o.size).value_or(ImageSize{1200, 800});
    const auto format = plots::imageFormatOfName(QString::fromStdString(*o.output));
    const QByteArray bytes =
        format ? plots::figureFile(figure, *format, QSize(size.width, size.height)) : QByteArray();
    if (bytes.isEmpty()) return refuse("Could not draw the figure at " + o.size + " pixels.");
    return writeOutput(*o.output, [&bytes](const ByteSink& sink) {
        return sink(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
}

int writePolarFigure(const Catalog& catalog, int k, const Options& o) {
    const auto angles = anglesOfRange(*o.alphaRange, "--alpha-range");
    if (const auto* refusal = std::get_if<Refusal>(&angles)) return refuse(refusal->message);
    const auto polar = polarOf(catalog, k, std::get<std::vector<double>>(angles));
    if (const auto* refusal = std::get_if<Refusal>(&polar)) return refuse(refusal->message);
    const plots::PolarColumns columns = plots::polarColumns(std::get<std::vector<PolarRow>>(polar));
    return writeFigure(plots::polarFigure(catalog, k, columns, regionalDecimalSeparator()), o);
}

}  // namespace

int writePlot(const Catalog& catalog, int k, const Options& o) {
    if (*o.plot == "polar") return writePolarFigure(catalog, k, o);
    const auto result = calculate(catalog, k, o.points, o.alpha, kInputNames);
    if (const auto* refusal = std::get_if<Refusal>(&result)) return refuse(refusal->message);
    const auto kind = *o.plot == "cp" ? plots::FigureKind::Pressure : plots::FigureKind::Contour;
    const Calculation& calculation = std::get<Calculation>(result);
    return writeFigure(plots::calculationFigure(kind, catalog, calculation, regionalDecimalSeparator()), o);
}

}  // namespace vorta::run
