// Starts, shows one window and quits as soon as it has been painted, for timing whole
// processes (bench/window_whole_process.sh).
// Usage: window-startup bare    an empty QMainWindow of the main window's size
//        window-startup vorta   the main window, with the catalog in the working directory

#include <QApplication>
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
    const bool vorta = argc > 1 && std::strcmp(argv[1], "vorta") == 0;
    if (argc < 2 || (!vorta && std::strcmp(argv[1], "bare") != 0)) {
        std::fprintf(stderr, "usage: %s bare|vorta\n", argv[0]);
        return 2;
    }

    std::unique_ptr<QMainWindow> window;
    if (vorta) {
        window = std::make_unique<vorta::ui::Form_VORTA>();
    } else {
        window = std::make_unique<QMainWindow>();
        window->resize(629, 400);
    }
    QuitAfterFirstPaint quitter;
    window->installEventFilter(&quitter);
    window->show();
    return app.exec();
}
