// Picking an airfoil and pressing "Calculate": the coefficients, and what a refusal leaves.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <vector>

#include "core/calculation/calculation.h"
#include "ui/form_vorta.h"
#include "ui/plot_surface.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

QStringList results(const QWidget& window) {
    return {text(window, "Text_CL"), text(window, "Text_CMc4"), text(window, "Text_Alfa0")};
}

// The number of points of each polyline drawn on the surface, in drawing order.
std::vector<int> polylineSizes(const QWidget& window, const char* surface) {
    std::vector<int> sizes;
    for (const auto& polyline : control<vorta::ui::PlotSurface>(window, surface)->polylines())
        sizes.push_back(polyline.points.size());
    return sizes;
}

}  // namespace

class CalculateTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void PickShowsTheCoefficientsAtOnce_data();
    void PickShowsTheCoefficientsAtOnce();
    void CalculateBeforeAnyPickAsksForAnAirfoil();
    void TypedTextSelectsNothing_data();
    void TypedTextSelectsNothing();
    void PickWithKeysCalculates_data();
    void PickWithKeysCalculates();
    void IdenticalLinesPickTheLaterEntry();
    void RefusedInputKeepsEarlierResults_data();
    void RefusedInputKeepsEarlierResults();
    void AnEntryShiftedByAFaultyLineIsRefused();
    void ARegionalDecimalCommaReadsAsTheDecimal_data();
    void ARegionalDecimalCommaReadsAsTheDecimal();
    void ResultFieldsAreReadOnlyButSelectable();
};

void CalculateTest::PickShowsTheCoefficientsAtOnce_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("point") << QLocale(QLocale::English, QLocale::UnitedStates)
                           << QStringList{"1.279", "-0.166", "-5.19"};
    QTest::newRow("comma") << QLocale(QLocale::German, QLocale::Germany)
                           << QStringList{"1,279", "-0,166", "-5,19"};
}

void CalculateTest::PickShowsTheCoefficientsAtOnce() {
    QFETCH(QLocale, locale);
    QFETCH(QStringList, expected);
    QLocale::setDefault(locale);
    WorkingDir dir;
    dir.writeCatalog({kSecondLine, kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_AlfaD", "5");
    QVERIFY(answerMessages([&] { pick(*window, 1); }).isEmpty());
    QCOMPARE(control<QComboBox>(*window, "Combo1")->currentText(), QString(kWorkedLine));
    QCOMPARE(results(*window), expected);
    // Two axes and the curve through all 51 points, whose segments are longer than a pixel.
    QCOMPARE(polylineSizes(*window, "profil"), (std::vector<int>{2, 2, 51}));
    QCOMPARE(polylineSizes(*window, "pressure"), (std::vector<int>{2, 2, 51}));
}

void CalculateTest::CalculateBeforeAnyPickAsksForAnAirfoil() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    QCOMPARE(answerMessages([&] { click(*window, "Command2"); }), QStringList{vorta::kChooseAirfoilMessage});
    QCOMPARE(results(*window), (QStringList{"", "", ""}));
    QVERIFY(polylineSizes(*window, "profil").empty());
}

void CalculateTest::TypedTextSelectsNothing_data() {
    QTest::addColumn<QString>("finish");
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("keypad Enter") << "keypad Enter";
    QTest::newRow("Tab away") << "Tab";
    QTest::newRow("click Calculate") << "Calculate";
}

// Typing an entry's whole text into Combo1 and finishing the edit picks nothing; "Calculate"
// still uses the entry last picked from the list.
void CalculateTest::TypedTextSelectsNothing() {
    QFETCH(QString, finish);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, kSecondLine});
    auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 0);
    const QStringList worked = results(*window);

    auto* combo = control<QComboBox>(*window, "Combo1");
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    QWidget* typing = QApplication::focusWidget();
    QVERIFY(typing == combo || typing == combo->lineEdit());
    QTest::keyClick(typing, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(typing, kSecondLine);
    QCOMPARE(combo->currentText(), QString(kSecondLine));

    const QStringList messages = answerMessages([&] {
        if (finish == "Enter") QTest::keyClick(typing, Qt::Key_Return);
        if (finish == "keypad Enter") QTest::keyClick(typing, Qt::Key_Enter, Qt::KeypadModifier);
        if (finish == "Tab") QTest::keyClick(typing, Qt::Key_Tab);
        if (finish == "Calculate") click(*window, "Command2");
    });
    QVERIFY(messages.isEmpty());
    if (finish == "Tab" || finish == "Calculate")
        QVERIFY(!combo->hasFocus() && !combo->lineEdit()->hasFocus());
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(results(*window), worked);

    QVERIFY(answerMessages([&] { click(*window, "Command2"); }).isEmpty());
    QCOMPARE(results(*window), worked);
}

void CalculateTest::PickWithKeysCalculates_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("arrow on the field") << "arrow";
    QTest::newRow("from the opened list") << "list";
}

void CalculateTest::PickWithKeysCalculates() {
    QFETCH(QString, how);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, kSecondLine});
    auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 1);
    const QStringList second = results(*window);
    pick(*window, 0);
    QVERIFY(results(*window) != second);

    auto* combo = control<QComboBox>(*window, "Combo1");
    combo->setFocus();
    QWidget* keys = QApplication::focusWidget();
    if (how == "arrow") {
        QTest::keyClick(keys, Qt::Key_Down);
    } else {
        QTest::keyClick(keys, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(combo->view()->isVisible());
        QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Return);
    }
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(results(*window), second);
}

// An entry that cannot be calculated is refused with its number, which shows the entry picked.
void CalculateTest::IdenticalLinesPickTheLaterEntry() {
    const char* unreadable = "0.1,0.1,0.3,9,0.1,0.1,x";
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, unreadable, unreadable});
    auto window = openWindow();
    const QStringList messages = answerMessages([&] { pick(*window, 1); });
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains("entry 3"), qPrintable(messages[0]));
}

void CalculateTest::RefusedInputKeepsEarlierResults_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::newRow("one point") << "Text_N1"
                               << "1"
                               << "Number of Points NP must be a whole number from 2 to 1000000.";
    QTest::newRow("no number of points") << "Text_N1"
                                         << "abc"
                                         << "Number of Points NP must be a whole number from 2 to 1000000.";
    QTest::newRow("angle beyond doubles")
        << "Text_AlfaD"
        << "1E400"
        << "Angle of attack must be a number of degrees from -5E307 to 5E307.";
    QTest::newRow("decimal comma in the angle")
        << "Text_AlfaD"
        << "4,5"
        << "Angle of attack: the decimal separator here is the point. Write 4.5, not 4,5.";
    QTest::newRow("decimal comma in the points")
        << "Text_N1"
        << "2,5"
        << "Number of Points NP: the decimal separator here is the point. Write 2.5, not 2,5.";
}

void CalculateTest::RefusedInputKeepsEarlierResults() {
    QFETCH(QString, field);
    QFETCH(QString, input);
    QFETCH(QString, message);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    pick(*window, 0);
    const QStringList before = results(*window);
    const QImage profil = grabSurface(*window, "profil");
    const QImage pressure = grabSurface(*window, "pressure");
    click(*window, "Command1");
    const QByteArray saved = dir.read("VORTA_result.txt");

    setText(*window, field.toUtf8().constData(), input);
    const QStringList messages = answerMessages([&] { click(*window, "Command2"); });
    QCOMPARE(messages, QStringList{message});
    QCOMPARE(results(*window), before);
    QCOMPARE(grabSurface(*window, "profil"), profil);
    QCOMPARE(grabSurface(*window, "pressure"), pressure);

    // "Save result" still writes the earlier calculation.
    click(*window, "Command1");
    QCOMPARE(dir.read("VORTA_result.txt"), saved);
}

// A comment line shifts the fields of every later line: the entries below it are refused
// by name, the one above calculates.
void CalculateTest::AnEntryShiftedByAFaultyLineIsRefused() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, "# my own sections", kSecondLine, kJoukowskyLine});
    auto window = openWindow();
    QVERIFY(answerMessages([&] { pick(*window, 0); }).isEmpty());
    const QStringList before = results(*window);
    const QStringList messages = answerMessages([&] { pick(*window, 2); });
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith(
                 "Airfoil entry 3 cannot be calculated: line 4 of VORTA_Input.txt holds 1 field, "
                 "which shifts the numbers of every line after it."),
             qPrintable(messages[0]));
    QCOMPARE(results(*window), before);
}

// Where the window shows 0,855 a user types 4,5: read as the decimal, where that is plain.
void CalculateTest::ARegionalDecimalCommaReadsAsTheDecimal_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("meant");  // the same angle with a point, or empty when refused
    const QLocale german(QLocale::German, QLocale::Germany), english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("4,5") << german << "4,5"
                         << "4.5";
    QTest::newRow("4, 5") << german << "4, 5"
                          << "4.5";
    QTest::newRow(",5") << german << ",5"
                        << "0.5";
    QTest::newRow("-4,5E1") << german << "-4,5E1"
                            << "-45";
    QTest::newRow("a point still reads") << german << "4.5"
                                         << "4.5";
    QTest::newRow("4,5,6") << german << "4,5,6"
                           << "";
    QTest::newRow("1.234,5") << german << "1.234,5"
                             << "";
    QTest::newRow("4,5abc") << german << "4,5abc"
                            << "";
    QTest::newRow("a point locale refuses 4,5") << english << "4,5"
                                                << "";
}

void CalculateTest::ARegionalDecimalCommaReadsAsTheDecimal() {
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, meant);
    QLocale::setDefault(locale);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_AlfaD", meant.isEmpty() ? "3" : meant);
    QVERIFY(answerMessages([&] { pick(*window, 0); }).isEmpty());
    const QStringList expected = results(*window);
    setText(*window, "Text_AlfaD", typed);
    const QStringList messages = answerMessages([&] { click(*window, "Command2"); });
    QCOMPARE(messages.size(), meant.isEmpty() ? 1 : 0);
    if (!meant.isEmpty()) QCOMPARE(results(*window), expected);
    if (meant.isEmpty())
        QVERIFY2(messages[0].contains("the decimal separator here is the point"), qPrintable(messages[0]));
}

void CalculateTest::ResultFieldsAreReadOnlyButSelectable() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    pick(*window, 0);
    auto* field = control<QLineEdit>(*window, "Text_CL");
    QVERIFY(field->isReadOnly());
    const QString shown = field->text();
    field->setFocus();
    QTest::keyClicks(field, "9");
    QCOMPARE(field->text(), shown);
    field->selectAll();
    QCOMPARE(field->selectedText(), shown);
}

QTEST_MAIN(CalculateTest)
#include "calculate_test.moc"
