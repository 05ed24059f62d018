// "Save result": what is written, in which layout, and when nothing is.

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>
#include <variant>

#include "core/calculation/calculation.h"
#include "core/output/result_file.h"
#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

// The file the core writes for entry 1 of the catalog in the working directory.
QByteArray expectedFile(const char* points, const char* angle, vorta::Layout layout) {
    const vorta::Catalog catalog = vorta::loadCatalogFile(vorta::kCatalogFileName);
    const auto calculation = std::get<vorta::Calculation>(vorta::calculate(catalog, 1, points, angle));
    return QByteArray::fromStdString(vorta::formatResultFile(catalog.entry(1), calculation, layout, "."));
}

}  // namespace

class SaveTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void SaveBeforeAnyCalculationWritesNothing();
    void EachOptionWritesItsLayout_data();
    void EachOptionWritesItsLayout();
    void EditedInputsSaveTheEarlierCalculation();
    void FailedSaveIsReportedAndTheWindowGoesOn();
};

void SaveTest::SaveBeforeAnyCalculationWritesNothing() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    QCOMPARE(answerMessages([&] { click(*window, "Command1"); }), QStringList{vorta::kNothingToSaveMessage});
    QVERIFY(!QFile::exists(dir.path("VORTA_result.txt")));
}

void SaveTest::EachOptionWritesItsLayout_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("layout");
    for (int n = 1; n <= 4; ++n)
        QTest::newRow(qPrintable(QString("Option%1").arg(n))) << QString("Option%1").arg(n) << n;
}

void SaveTest::EachOptionWritesItsLayout() {
    QFETCH(QString, option);
    QFETCH(int, layout);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_N1", "11");
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 0);
    QTest::mouseClick(control<QRadioButton>(*window, option.toUtf8().constData()), Qt::LeftButton);
    QVERIFY(answerMessages([&] { click(*window, "Command1"); }).isEmpty());
    QCOMPARE(dir.read("VORTA_result.txt"), expectedFile("11", "5", static_cast<vorta::Layout>(layout)));
}

void SaveTest::EditedInputsSaveTheEarlierCalculation() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    setText(*window, "Text_AlfaD", "5");
    pick(*window, 0);
    setText(*window, "Text_N1", "7");
    setText(*window, "Text_AlfaD", "-3");
    click(*window, "Command1");
    QCOMPARE(dir.read("VORTA_result.txt"), expectedFile("51", "5", vorta::Layout::FoldedXYCu));
}

void SaveTest::FailedSaveIsReportedAndTheWindowGoesOn() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    // A directory in the file's place cannot be replaced by a file.
    QVERIFY(QDir(dir.path(".")).mkpath("VORTA_result.txt/kept"));
    auto window = openWindow();
    pick(*window, 0);
    const QStringList messages = answerMessages([&] { click(*window, "Command1"); });
    QCOMPARE(messages.size(), 1);
    QVERIFY(!messages[0].startsWith("BAD BOX"));
    QVERIFY(QFileInfo(dir.path("VORTA_result.txt/kept")).isDir());
    QVERIFY(answerMessages([&] { click(*window, "Command2"); }).isEmpty());
}

QTEST_MAIN(SaveTest)
#include "save_test.moc"
