// The wait cursor while the window calculates, and the ordinary one again after, whether the
// calculation succeeds or is refused.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <optional>

#include "core/calculation/calculation.h"
#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

// The application's override cursor at this moment, if any.
std::optional<Qt::CursorShape> overrideShape() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? std::optional(cursor->shape()) : std::nullopt;
}

}  // namespace

class BusyCursorTest : public QObject {
    Q_OBJECT
  private slots:
    void WaitCursorWhileCalculating_data();
    void WaitCursorWhileCalculating();
    void RefusalShowsItsMessageWithTheOrdinaryCursor_data();
    void RefusalShowsItsMessageWithTheOrdinaryCursor();
    void AFailedSaveShowsItsMessageWithTheOrdinaryCursor();
};

void BusyCursorTest::WaitCursorWhileCalculating_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("pick") << "pick";
    QTest::newRow("Calculate") << "Calculate";
}

// The results are filled in while the calculation's work is under way: the cursor seen then
// is the one the user sees during it.
void BusyCursorTest::WaitCursorWhileCalculating() {
    QFETCH(QString, how);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    auto window = openWindow();
    if (how == "Calculate") pick(*window, 0);
    std::optional<Qt::CursorShape> seen;
    connect(control<QLineEdit>(*window, "Text_CL"), &QLineEdit::textChanged, [&] { seen = overrideShape(); });
    setText(*window, "Text_AlfaD", "3");
    QVERIFY(answerMessages([&] { how == "pick" ? pick(*window, 0) : click(*window, "Command2"); }).isEmpty());
    QCOMPARE(seen, std::optional(Qt::WaitCursor));
    QCOMPARE(overrideShape(), std::nullopt);
}

void BusyCursorTest::RefusalShowsItsMessageWithTheOrdinaryCursor_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("points");
    QTest::newRow("no airfoil picked") << -1 << "51";
    QTest::newRow("entry that cannot be calculated") << 1 << "51";
    QTest::newRow("too many points") << 0 << "1000001";
}

void BusyCursorTest::RefusalShowsItsMessageWithTheOrdinaryCursor() {
    QFETCH(int, item);
    QFETCH(QString, points);
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine, "0.1,0.1,0.3,9,0.1,0.1,x"});
    auto window = openWindow();
    setText(*window, "Text_N1", points);
    std::optional<Qt::CursorShape> seen = Qt::WaitCursor;
    const QStringList messages = answerMessages(
        [&] { item < 0 ? click(*window, "Command2") : pick(*window, item); },
        [&](QMessageBox&) { seen = overrideShape(); });
    QCOMPARE(messages.size(), 1);
    QCOMPARE(seen, std::nullopt);
    QCOMPARE(overrideShape(), std::nullopt);

    // The cursor is still released properly by the next calculation.
    setText(*window, "Text_N1", "51");
    QVERIFY(answerMessages([&] { pick(*window, 0); }).isEmpty());
    QCOMPARE(overrideShape(), std::nullopt);
}

void BusyCursorTest::AFailedSaveShowsItsMessageWithTheOrdinaryCursor() {
    WorkingDir dir;
    dir.writeCatalog({kWorkedLine});
    QVERIFY(QDir(dir.path("")).mkdir("VORTA_result.txt"));
    auto window = openWindow();
    pick(*window, 0);
    std::optional<Qt::CursorShape> seen = Qt::WaitCursor;
    const QStringList messages =
        answerMessages([&] { click(*window, "Command1"); }, [&](QMessageBox&) { seen = overrideShape(); });
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].startsWith("Could not save VORTA_result.txt"));
    QCOMPARE(seen, std::nullopt);
    QCOMPARE(overrideShape(), std::nullopt);
}

QTEST_MAIN(BusyCursorTest)
#include "busy_cursor_test.moc"
