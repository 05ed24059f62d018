// A thousand random texts in the two input fields, with picks, "Calculate" and "Save result"
// between them: the window goes on, never shows NaN or infinity, and every successful save
// writes the last calculation the window accepted.

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <optional>
#include <random>
#include <variant>

#include "core/calculation/calculation.h"
#include "core/output/result_file.h"
#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

// The worked entry, one that cannot be read, one whose numbers overflow, and two equal lines.
const QStringList kRecords = {kWorkedLine, "0.1,0.1,0.3,9,x,0.1,1.9", "0.1,0.1,0.3,0,0.1,0.1,1000",
                              kJoukowskyLine, kJoukowskyLine};

class RandomTexts {
public:
    explicit RandomTexts(unsigned seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    QString next() {
        static const QStringList pieces = {"0", "1", "2", "5", "9", "51", "-", "+", ".", ",", "E", "e", "D", "d",
                                           "&H", "&O", "F", " ", "\t", "1E400", "-1D999", "x", "\u00e9", "\u03b1",
                                           "\u2212", "\U0001F600", "1000001", "5 1"};
        if (below(50) == 0) return QString(1000 + below(30000), QChar(u"1 ,.E"[below(5)]));  // a long text
        QString text;
        for (int n = below(7); n > 0; --n) text += pieces[below(pieces.size())];
        return text;
    }

private:
    std::mt19937 random_;
};

bool showsNonFinite(const QString& text) {
    return text.contains("nan", Qt::CaseInsensitive) || text.contains("inf", Qt::CaseInsensitive);
}

}  // namespace

class RandomUseTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void TheWindowSurvivesRandomInput();
};

void RandomUseTest::TheWindowSurvivesRandomInput() {
    WorkingDir dir;
    dir.writeCatalog(kRecords);
    auto window = openWindow();
    const vorta::Catalog catalog = vorta::loadCatalogFile(vorta::kCatalogFileName);
    RandomTexts random(20261208);
    std::optional<int> selected;
    std::optional<vorta::Calculation> accepted;
    int saves = 0;

    for (int step = 0; step < 1000; ++step) {
        const QString points = random.next(), angle = random.next();
        setText(*window, "Text_N1", points);
        setText(*window, "Text_AlfaD", angle);
        const auto expectCalculation = [&] {
            auto result = vorta::calculate(catalog, selected, text(*window, "Text_N1").toStdString(),
                                           text(*window, "Text_AlfaD").toStdString());
            if (auto* c = std::get_if<vorta::Calculation>(&result)) accepted = std::move(*c);
        };
        switch (random.below(4)) {
            case 0: {
                const int index = random.below(kRecords.size());
                selected = vorta::findEntryByText(catalog, kRecords[index].toStdString());
                answerMessages([&] { pick(*window, index); });
                expectCalculation();
                break;
            }
            case 1:
                answerMessages([&] { click(*window, "Command2"); });
                expectCalculation();
                break;
            default: {
                QTest::mouseClick(control<QRadioButton>(*window, qPrintable(QString("Option%1").arg(1 + random.below(4)))),
                                  Qt::LeftButton);
                const QStringList messages = answerMessages([&] { click(*window, "Command1"); });
                if (!accepted) {
                    QCOMPARE(messages, QStringList{vorta::kNothingToSaveMessage});
                    break;
                }
                QVERIFY2(messages.isEmpty(), qPrintable(messages.join('|')));
                int layout = 1;
                while (!control<QRadioButton>(*window, qPrintable(QString("Option%1").arg(layout)))->isChecked()) ++layout;
                const std::string expected = vorta::formatResultFile(catalog.entry(accepted->SelectedIndex), *accepted,
                                                                     static_cast<vorta::Layout>(layout), ".");
                QCOMPARE(dir.read("VORTA_result.txt"), QByteArray::fromStdString(expected));
                ++saves;
            }
        }
        for (const char* field : {"Text_CL", "Text_CMc4", "Text_Alfa0"}) {
            QVERIFY2(!showsNonFinite(text(*window, field)), qPrintable(points + " / " + angle));
        }
    }
    QVERIFY(saves > 100);
    QVERIFY(accepted.has_value());
}

QTEST_MAIN(RandomUseTest)
#include "random_use_test.moc"
