// Renders the main window after a pick into a PNG, the way a user sees it.
// Usage: vorta-screenshot <directory with VORTA_Input.txt> <output.png> [entry] [angle]

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

#include "ui/application.h"
#include "ui/form_vorta.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vorta::ui::setUpApplication();
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <catalog directory> <output.png> [entry] [angle]\n", argv[0]);
        return 2;
    }
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[2]));
    if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot enter %s\n", argv[1]);
        return 1;
    }
    const int entry = argc > 3 ? std::atoi(argv[3]) : 1;
    const char* angle = argc > 4 ? argv[4] : "4";

    vorta::ui::Form_VORTA window;
    window.show();
    window.findChild<QLineEdit*>("Text_AlfaD")->setText(angle);
    auto* combo = window.findChild<QComboBox*>("Combo1");
    combo->setCurrentIndex(entry - 1);
    emit combo->activated(entry - 1);
    QApplication::processEvents();
    if (!window.grab().save(output)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
