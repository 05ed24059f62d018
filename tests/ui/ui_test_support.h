#pragma once
// Helpers for driving the real windows in tests: a catalog in a fresh working directory,
// finding controls by name, a user's pick in Combo1, and answering message boxes.

#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>

class QMessageBox;

namespace vorta::ui {
class Form_VORTA;
}

namespace uitest {

// The worked entry (F 0.1, G 0.1, m 1.9), a second Karman-Trefftz entry and a Joukowsky one.
extern const char* const kWorkedLine;
extern const char* const kSecondLine;
extern const char* const kJoukowskyLine;

// A temporary directory made the working directory for the life of the object.
class WorkingDir {
  public:
    WorkingDir();
    ~WorkingDir();
    // Writes VORTA_Input.txt with the two leading lines and these records, CR LF ended.
    void writeCatalog(const QStringList& records) const;
    QString path(const QString& name) const { return dir_.filePath(name); }
    QByteArray read(const QString& name) const;

  private:
    QTemporaryDir dir_;
    QString previous_;
};

template <typename T>
T* control(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(name);
    if (!found) qFatal("no control %s", name);
    return found;
}

// Runs action and answers every modal message box it shows with OK; returns their texts.
// A box with a title of its own or a button other than OK is recorded as "BAD BOX: ...".
// inspect, if given, sees each box while it is shown, before it is answered.
QStringList answerMessages(const std::function<void()>& action,
                           const std::function<void(QMessageBox&)>& inspect = {});

// Picks item index from Combo1's drop-down list with the mouse, as a user does.
void pick(vorta::ui::Form_VORTA& window, int index);
void click(QWidget& window, const char* buttonName);
void setText(QWidget& window, const char* fieldName, const QString& text);
QString text(const QWidget& window, const char* fieldName);

// A window made in the current working directory, shown; messages at start-up are answered.
std::unique_ptr<vorta::ui::Form_VORTA> openWindow(QStringList* startMessages = nullptr);

QImage grabSurface(const QWidget& window, const char* name);

}  // namespace uitest
