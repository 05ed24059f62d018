#include <QApplication>

#include "ui/application.h"
#include "ui/form_vorta.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vorta::ui::setUpApplication();
    vorta::ui::Form_VORTA window;
    window.show();
    return app.exec();
}
