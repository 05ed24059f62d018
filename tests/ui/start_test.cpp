// Starting the program, with and without a catalog.

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include "core/calculation/calculation.h"
#include "core/catalog/catalog.h"
#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

class StartTest : public QObject {
    Q_OBJECT
  private slots:
    void StartsWithDefaultsAndNothingCalculated();
    void MissingCatalogIsReportedBeforeTheWindowOpens();
    void ACatalogThatIsNoFileOpensAtOnce_data();
    void ACatalogThatIsNoFileOpensAtOnce();
    void FocusStartsOnPressureAndTabFollowsTheTable();
    void FrameHasNoMaximizeButton();
};

void StartTest::StartsWithDefaultsAndNothingCalculated() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, "0.15, 0.04, 0.3, 0, 0.12, 0.08, 2"});
    QStringList messages;
    auto window = openWindow(&messages);
    QVERIFY(messages.isEmpty());

    auto* combo = control<QComboBox>(*window, "Combo1");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), QString("0.15, 0.04, 0.3, 0, 0.12, 0.08, 2"));
    QCOMPARE(combo->currentText(), QString(" "));
    QCOMPARE(text(*window, "Text_N1"), QString("51"));
    QCOMPARE(text(*window, "Text_AlfaD"), QString("0"));
    for (const char* result : {"Text_CL", "Text_CMc4", "Text_Alfa0"})
        QVERIFY(text(*window, result).isEmpty());
    QVERIFY(control<QRadioButton>(*window, "Option4")->isChecked());

    for (const char* surface : {"profil", "pressure"}) {
        const QImage image = grabSurface(*window, surface);
        const QPoint middle(image.width() / 2, image.height() / 2);
        QCOMPARE(image.pixelColor(middle), QColor(255, 255, 192));
    }
}

void StartTest::MissingCatalogIsReportedBeforeTheWindowOpens() {
    WorkingDir dir;
    QStringList messages;
    auto window = openWindow(&messages);  // the constructor runs before show()
    QCOMPARE(messages, QStringList{vorta::kMissingCatalogMessage});
    QCOMPARE(control<QComboBox>(*window, "Combo1")->count(), 0);
    QVERIFY(window->isVisible());

    const QStringList answer = answerMessages([&] { click(*window, "Command2"); });
    QCOMPARE(answer, QStringList{vorta::kChooseAirfoilMessage});
}

// A FIFO would hold the window until something wrote to it; a device or a directory is no catalog.
void StartTest::ACatalogThatIsNoFileOpensAtOnce_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("device") << "device";
    QTest::newRow("directory") << "directory";
}

void StartTest::ACatalogThatIsNoFileOpensAtOnce() {
    QFETCH(QString, kind);
    WorkingDir dir;
    const QByteArray catalog = dir.path("VORTA_Input.txt").toLocal8Bit();
    if (kind == "fifo") QCOMPARE(mkfifo(catalog.constData(), 0600), 0);
    if (kind == "device") QCOMPARE(symlink("/dev/zero", catalog.constData()), 0);
    if (kind == "directory") QCOMPARE(mkdir(catalog.constData(), 0700), 0);
    QStringList messages;
    auto window = openWindow(&messages);
    QCOMPARE(messages, QStringList{vorta::kMissingCatalogMessage});
    QCOMPARE(control<QComboBox>(*window, "Combo1")->count(), 0);
}

void StartTest::FocusStartsOnPressureAndTabFollowsTheTable() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("pressure"));

    // The option group is one stop, at its checked button.
    const QStringList expected = {"profil",  "Combo1",    "Command1",   "Text_N1",  "Text_AlfaD", "Option4",
                                  "Text_CL", "Text_CMc4", "Text_Alfa0", "Command2", "pressure"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void StartTest::FrameHasNoMaximizeButton() {
    WorkingDir dir;
    auto window = openWindow();
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(window->windowTitle(), QString("Karman-Trefftz Airfoil Coordinates and Velocities"));
}

QTEST_MAIN(StartTest)
#include "start_test.moc"
