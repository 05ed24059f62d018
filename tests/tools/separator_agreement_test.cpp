// vorta-run and the window write the same result file under the same regional settings:
// each runs as its own process with LC_ALL set, and the two files must be equal byte for byte.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

constexpr const char* kSaveAsWindow = "--save-as-window";
const char* const kCatalog = "1\r\n0\r\n0.12,0.05,0.2534,9.5,0.1,0.1,1.9\r\n";

// In the child process: the user picks the entry at 11 points and 5 degrees and saves.
int saveAsTheWindowDoes(int argc, char** argv) {
    QApplication app(argc, argv);
    auto window = openWindow();
    setText(*window, "Text_N1", "11");
    setText(*window, "Text_AlfaD", "5");
    const QStringList messages = answerMessages([&] {
        pick(*window, 0);
        click(*window, "Command1");
    });
    return messages.isEmpty() ? 0 : 1;
}

QByteArray resultWrittenBy(const QString& program, const QStringList& arguments, const QString& locale) {
    QTemporaryDir dir;
    QFile catalog(dir.filePath("VORTA_Input.txt"));
    if (!catalog.open(QIODevice::WriteOnly) || catalog.write(kCatalog) < 0) return "no catalog";
    catalog.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("LANG");
    environment.remove("LC_NUMERIC");
    environment.insert("LC_ALL", locale);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return "failed: " + process.readAllStandardError();
    QFile result(dir.filePath("VORTA_result.txt"));
    return result.open(QIODevice::ReadOnly) ? result.readAll() : "no result file";
}

}  // namespace

class SeparatorAgreementTest : public QObject {
    Q_OBJECT
  private slots:
    void VortaRunWritesTheWindowsFile_data();
    void VortaRunWritesTheWindowsFile();
};

void SeparatorAgreementTest::VortaRunWritesTheWindowsFile_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("delta");
    QTest::newRow("de_DE") << "de_DE.UTF-8" << "Delta=0,12";
    QTest::newRow("en_DE") << "en_DE.UTF-8" << "Delta=0,12";
    QTest::newRow("en_US") << "en_US.UTF-8" << "Delta=0.12";
    QTest::newRow("fr_CH") << "fr_CH.UTF-8" << "Delta=0";
    QTest::newRow("ar_EG") << "ar_EG.UTF-8" << QString::fromUtf8("Delta=0\u066B12");
    QTest::newRow("C") << "C" << "Delta=0.12";
}

void SeparatorAgreementTest::VortaRunWritesTheWindowsFile() {
    QFETCH(QString, locale);
    QFETCH(QString, delta);
    const QByteArray window =
        resultWrittenBy(QCoreApplication::applicationFilePath(), {kSaveAsWindow}, locale);
    const QByteArray tool = resultWrittenBy(VORTA_RUN_PATH, {"--entry", "1", "--points", "11", "--alpha", "5"}, locale);
    QVERIFY2(window.startsWith(" " + delta.toUtf8()), window.left(80).constData());
    QCOMPARE(tool, window);
}

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], kSaveAsWindow) == 0) return saveAsTheWindowDoes(argc, argv);
    QApplication app(argc, argv);
    SeparatorAgreementTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "separator_agreement_test.moc"
