#include <QApplication>

#include "ui/form_vorta.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Message boxes carry no title of their own; the window system shows this name.
    QApplication::setApplicationName("Vorta");
    QApplication::setApplicationDisplayName("Vorta");
    vorta::ui::Form_VORTA window;
    window.show();
    return app.exec();
}
