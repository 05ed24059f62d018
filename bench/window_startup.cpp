// Starts, shows one window and quits as soon as it has been painted, for timing whole
// processes (bench/window_whole_process.sh).
// Usage: window-startup bare    an empty QMainWindow of the main window's size
//        window-startup label   the same with one line of text, which the empty one never pays
//                               for: loading the font configuration and a font
//        window-startup vorta   the main window, with the catalog in the working directory

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ui/application.h"
#include "ui/form_vorta.h"

namespace {

// Quits once the window's first paint is over, so the process ends with a painted window.
class QuitAfterFirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return false;
    }

  private:
    bool quitting_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vorta::ui::setUpApplication();
    const char* mode = argc > 1 ? argv[1] : "";
    std::unique_ptr<QMainWindow> window;
    if (std::strcmp(mode, "vorta") == 0) {
        window = std::make_unique<vorta::ui::Form_VORTA>();
    } else if (std::strcmp(mode, "bare") == 0 || std::strcmp(mode, "label") == 0) {
        window = std::make_unique<QMainWindow>();
        window->resize(629, 400);
        if (std::strcmp(mode, "label") == 0) window->setCentralWidget(new QLabel("Vorta"));
    } else {
        std::fprintf(stderr, "usage: %s bare|label|vorta\n", argv[0]);
        return 2;
    }
    QuitAfterFirstPaint quitter;
    window->installEventFilter(&quitter);
    window->show();
    return app.exec();
}
