#pragma once
// The About window: the program's name and what it computes, on a light-yellow ground.

#include <QWidget>

namespace vorta::ui {

class Form_About : public QWidget {
    Q_OBJECT
  public:
    // A top-level window with no owner: the main window stays usable beside it.
    Form_About();

    // Shows the window in front; a window the user has closed opens again at its initial size.
    void open();

  private:
    void createLabels();
};

}  // namespace vorta::ui
