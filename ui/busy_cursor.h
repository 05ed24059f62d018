#pragma once
// The wait cursor over the whole application for as long as the object lives, or until it is
// released, so a user sees that the window is busy with work that blocks it.

#include <QApplication>

namespace vorta::ui {

class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { release(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void release() {
        if (!busy_) return;
        QApplication::restoreOverrideCursor();
        busy_ = false;
    }

  private:
    bool busy_ = true;
};

}  // namespace vorta::ui
