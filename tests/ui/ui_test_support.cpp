#include "ui_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/form_vorta.h"

namespace uitest {

const char* const kWorkedLine = "0.1,0.1,0.3,9,0.1,0.1,1.9";
const char* const kSecondLine = "0.1298,0.0229,0.3891,18,0.05,0.05,1.9";
const char* const kJoukowskyLine = "0.1179,0.0000,0.2531,0,0.1,0,2";

WorkingDir::WorkingDir() : previous_(QDir::currentPath()) {
    if (!dir_.isValid() || !QDir::setCurrent(dir_.path())) qFatal("no working directory");
}

WorkingDir::~WorkingDir() { QDir::setCurrent(previous_); }

void WorkingDir::writeCatalog(const QStringList& records) const {
    QFile file(path("VORTA_Input.txt"));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the catalog");
    file.write("1\r\n0\r\n");
    for (const QString& record : records) file.write(record.toUtf8() + "\r\n");
}

QByteArray WorkingDir::read(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

QString describeBox(const QMessageBox& box) {
    const bool okOnly = box.buttons().size() == 1 && box.standardButtons() == QMessageBox::Ok;
    if (!box.windowTitle().isEmpty() || !okOnly || !box.isModal()) return "BAD BOX: " + box.text();
    return box.text();
}

}  // namespace

QStringList answerMessages(const std::function<void()>& action,
                           const std::function<void(QMessageBox&)>& inspect) {
    QStringList texts;
    // Fires inside the event loop that a modal box runs; outside one it never gets to run.
    QTimer answerer;
    answerer.setInterval(0);
    QObject::connect(&answerer, &QTimer::timeout, [&texts, &answerer, &inspect] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            // Inspecting may run events; the same box must not be answered from inside it.
            answerer.stop();
            if (inspect) inspect(*box);
            texts << describeBox(*box);
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
            answerer.start();
        }
    });
    answerer.start();
    action();
    return texts;
}

void pick(vorta::ui::Form_VORTA& window, int index) {
    auto* combo = control<QComboBox>(window, "Combo1");
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QRect item = list->visualRect(combo->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

void click(QWidget& window, const char* buttonName) {
    QTest::mouseClick(control<QPushButton>(window, buttonName), Qt::LeftButton);
}

void setText(QWidget& window, const char* fieldName, const QString& text) {
    control<QLineEdit>(window, fieldName)->setText(text);
}

QString text(const QWidget& window, const char* fieldName) {
    return control<QLineEdit>(window, fieldName)->text();
}

std::unique_ptr<vorta::ui::Form_VORTA> openWindow(QStringList* startMessages) {
    std::unique_ptr<vorta::ui::Form_VORTA> window;
    const QStringList messages =
        answerMessages([&window] { window = std::make_unique<vorta::ui::Form_VORTA>(); });
    if (startMessages) *startMessages = messages;
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qFatal("window not shown");
    return window;
}

QImage grabSurface(const QWidget& window, const char* name) {
    return control<QWidget>(window, name)->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace uitest
