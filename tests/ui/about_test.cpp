// The About window beside the main window.

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

void clickAbout(vorta::ui::Form_VORTA& window) {
    QAction* about = control<QAction>(window, "Mn_About");
    QCOMPARE(about->text(), QString("About"));
    QVERIFY(!about->menu());
    QMenuBar* bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(about).center());
}

QList<QWidget*> aboutWindows() {
    QList<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "Form_About") found << w;
    }
    return found;
}

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
  private slots:
    void AboutTwiceLeavesOneWindowInFront();
    void ClosedAboutOpensAgainInItsInitialState();
    void MainWindowWorksWhileAboutIsOpen();
    void ClosingTheMainWindowClosesAbout();
};

void AboutTest::AboutTwiceLeavesOneWindowInFront() {
    WorkingDir dir;
    auto window = openWindow();
    QVERIFY(aboutWindows().isEmpty());
    clickAbout(*window);
    window->activateWindow();
    clickAbout(*window);
    QCOMPARE(aboutWindows().size(), 1);
    QWidget* about = aboutWindows().first();
    QVERIFY(about->isVisible());
    QVERIFY(!about->parentWidget());
    QVERIFY(!about->isModal());
    QVERIFY(QTest::qWaitForWindowActive(about));
    QCOMPARE(about->windowTitle(), QString("About"));
    QCOMPARE(control<QLabel>(*about, "Label2")->text(), QString("VortaAnalysis"));
    QCOMPARE(control<QLabel>(*about, "Label8")->text(), QString("Last modified on February 2007"));
}

void AboutTest::ClosedAboutOpensAgainInItsInitialState() {
    WorkingDir dir;
    auto window = openWindow();
    clickAbout(*window);
    QWidget* about = aboutWindows().first();
    const QSize initial = about->size();
    about->resize(initial + QSize(90, 40));
    about->close();
    clickAbout(*window);
    QCOMPARE(aboutWindows(), QList<QWidget*>{about});
    QVERIFY(about->isVisible());
    QCOMPARE(about->size(), QSize(255, 205));
}

void AboutTest::MainWindowWorksWhileAboutIsOpen() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    clickAbout(*window);
    setText(*window, "Text_AlfaD", "5");
    QVERIFY(answerMessages([&] { pick(*window, 0); }).isEmpty());
    QCOMPARE(text(*window, "Text_CL"), QString("1.279"));
    setText(*window, "Text_AlfaD", "0");
    click(*window, "Command2");
    QVERIFY(text(*window, "Text_CL") != QString("1.279"));
    QVERIFY(answerMessages([&] { click(*window, "Command1"); }).isEmpty());
    QVERIFY(!dir.read("VORTA_result.txt").isEmpty());
    QVERIFY(aboutWindows().first()->isVisible());
}

void AboutTest::ClosingTheMainWindowClosesAbout() {
    WorkingDir dir;
    auto window = openWindow();
    clickAbout(*window);
    window->close();
    QVERIFY(!aboutWindows().first()->isVisible());
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
