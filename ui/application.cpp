#include "ui/application.h"

#include <QApplication>

namespace vorta::ui {

void setUpApplication() { QApplication::setApplicationName("Vorta"); }

}  // namespace vorta::ui
