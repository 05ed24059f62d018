// The plots' menus: "Copy image" and "Save image as…" give the figure vorta-run --plot draws
// for the same calculation, byte for byte.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

// Right-clicks the surface and returns the menu it opens.
QMenu* openMenu(QWidget& window, const char* surface) {
    auto* plot = control<QWidget>(window, surface);
    const QPoint at = plot->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, plot->mapToGlobal(at));
    QApplication::sendEvent(plot, &event);
    QMenu* menu = window.findChild<QMenu*>("plotMenu");
    if (!menu || !QTest::qWaitForWindowExposed(menu)) qFatal("no plot menu");
    return menu;
}

QStringList entries(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text() + (action->isEnabled() ? "" : " (disabled)");
    return texts;
}

void choose(QMenu& menu, const QString& entry) {
    for (QAction* action : menu.actions()) {
        if (action->text() == entry) {
            QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
            return;
        }
    }
    qFatal("no menu entry %s", qPrintable(entry));
}

// Runs action and answers the file dialog it opens with that filter and name.
void answerFileDialog(const std::function<void()>& action, const QString& filter, const QString& name) {
    QTimer answerer;
    answerer.setInterval(0);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            answerer.stop();
            dialog->selectNameFilter(filter);
            emit dialog->filterSelected(filter);
            dialog->selectFile(name);
            QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
        }
    });
    answerer.start();
    action();
}

// What vorta-run --plot writes for entry 1 at 51 points and 5 degrees, in the working directory.
QByteArray toolFigure(const QString& kind, const QString& name) {
    QProcess process;
    process.start(VORTA_RUN_PATH, {"--entry", "1", "--alpha", "5", "--plot", kind, "--output", name});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return "vorta-run failed: " + process.readAllStandardError();
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("no file");
}

const QString kPng = "PNG image (*.png)", kSvg = "SVG drawing (*.svg)", kPdf = "PDF document (*.pdf)";

}  // namespace

class PlotMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void EntriesWaitForACalculation();
    void SavedFilesAreTheToolsFigures_data();
    void SavedFilesAreTheToolsFigures();
    void CopiedImageIsTheToolsFigure();
    void NameWithAnotherEndingIsRefused();
    void RefusedCalculationKeepsTheLastFigure();
};

void PlotMenuTest::EntriesWaitForACalculation() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    for (const char* surface : {"profil", "pressure"}) {
        QMenu* menu = openMenu(*window, surface);
        QCOMPARE(entries(*menu), QStringList({"Copy image (disabled)", "Save image as… (disabled)"}));
        menu->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    pick(*window, 0);
    QMenu* menu = openMenu(*window, "pressure");
    QCOMPARE(entries(*menu), QStringList({"Copy image", "Save image as…"}));
}

void PlotMenuTest::SavedFilesAreTheToolsFigures_data() {
    QTest::addColumn<QString>("surface");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("contour as PNG") << "profil"
                                    << "contour" << kPng << "figure.png"
                                    << "figure.png";
    QTest::newRow("1-Cp as SVG, ending added") << "pressure"
                                               << "cp" << kSvg << "figure"
                                               << "figure.svg";
    QTest::newRow("contour as SVG, ending in capitals") << "profil"
                                                        << "contour" << kPng << "FIGURE.SVG"
                                                        << "FIGURE.SVG";
    QTest::newRow("1-Cp as PDF") << "pressure"
                                 << "cp" << kPdf << "figure.pdf"
                                 << "figure.pdf";
}

void PlotMenuTest::SavedFilesAreTheToolsFigures() {
    QFETCH(QString, surface);
    QFETCH(QString, kind);
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, kSecondLine});
    auto window = openWindow();
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 0);
    QMenu* menu = openMenu(*window, qPrintable(surface));
    QStringList messages;
    answerFileDialog([&] { messages = answerMessages([&] { choose(*menu, "Save image as…"); }); }, filter,
                     dir.path(typed));
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join("; ")));
    const QByteArray saved = dir.read(written);
    const QByteArray tool = toolFigure(kind, "tool." + written.section('.', -1).toLower());
    if (written.endsWith(".pdf")) {
        // A PDF carries the moment it was made: the page is compared by its size and start.
        QVERIFY(saved.startsWith("%PDF-"));
        QVERIFY(qAbs(saved.size() - tool.size()) < 100);
    } else {
        QVERIFY(!saved.isEmpty());
        QVERIFY(saved == tool);
    }
}

void PlotMenuTest::CopiedImageIsTheToolsFigure() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 0);
    QApplication::clipboard()->clear();
    choose(*openMenu(*window, "pressure"), "Copy image");
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied && copied->hasImage());
    const QImage image = qvariant_cast<QImage>(copied->imageData()).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), QSize(1200, 800));
    QImage tool;
    QVERIFY(tool.loadFromData(toolFigure("cp", "tool.png"), "PNG"));
    QVERIFY(image == tool.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(copied->data("image/svg+xml"), toolFigure("cp", "tool.svg"));
}

void PlotMenuTest::NameWithAnotherEndingIsRefused() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    pick(*window, 0);
    QMenu* menu = openMenu(*window, "profil");
    QStringList messages;
    answerFileDialog([&] { messages = answerMessages([&] { choose(*menu, "Save image as…"); }); }, kPng,
                     dir.path("figure.jpg"));
    QCOMPARE(messages,
             QStringList({"Choose a file name ending in .png, .svg or .pdf; the name's ending picks "
                          "the format."}));
    QVERIFY(!QFile::exists(dir.path("figure.jpg")));
}

// A refused calculation leaves the plots as they were, and so the figures.
void PlotMenuTest::RefusedCalculationKeepsTheLastFigure() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 0);
    setText(*window, "Text_N1", "1");
    QCOMPARE(answerMessages([&] { click(*window, "Command2"); }).size(), 1);
    QMenu* menu = openMenu(*window, "profil");
    answerFileDialog([&] { choose(*menu, "Save image as…"); }, kSvg, dir.path("kept.svg"));
    QVERIFY(dir.read("kept.svg") == toolFigure("contour", "tool.svg"));
}

QTEST_MAIN(PlotMenuTest)
#include "plot_menu_test.moc"
