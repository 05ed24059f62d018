#pragma once
// The main window: picks an airfoil from the catalog, runs the calculation, shows the three
// coefficients and the two plots, saves the result file and opens the About window. It owns
// the whole state of a running program; every number comes from the core library.

#include <QMainWindow>
#include <memory>
#include <optional>
#include <vector>

#include "core/calculation/calculation.h"
#include "core/catalog/catalog.h"

class QAction;
class QComboBox;
class QFrame;
class QLineEdit;
class QRadioButton;
class QPushButton;

namespace vorta::plots {
enum class FigureKind;
struct Figure;
}  // namespace vorta::plots

namespace vorta::ui {

class Form_About;
class PlotSurface;

class Form_VORTA : public QMainWindow {
    Q_OBJECT
  public:
    // Loads the catalog before the window is first shown; a missing file is reported here.
    explicit Form_VORTA(QWidget* parent = nullptr);
    ~Form_VORTA() override;

  protected:
    // Closing the main window ends the program, so an open About window closes with it.
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void Combo1_Click(int index);
    void Command2_Click();  // "Calculate"
    void Command1_Click();  // "Save result"
    void Mn_About_Click();

  private:
    void Form_Load();
    void RunCalculation();
    void SaveResult();
    void grafik(int N1, const PointArray& x, const PointArray& y, const PointArray& Cu);
    void showCoefficients(const Calculation& calculation);
    std::string fieldText(const QLineEdit* field) const;

    // Building the controls (form_vorta_controls.cpp).
    void createControls();
    void createMenu();
    void createHeadingStrip(QWidget* client);
    void createWorkingArea(QWidget* client);
    void createInputs(QFrame* workingArea);
    void createOutputOptions(QFrame* workingArea);
    void createResults(QFrame* workingArea);
    void createPlots(QWidget* client);
    void setTabStops();

    // The plots' menus: the last calculation's figure copied or saved (plot_images.cpp).
    void createPlotMenus();
    void showPlotMenu(plots::FigureKind kind, const QPoint& at);
    plots::Figure figureOf(plots::FigureKind kind) const;
    void copyPlotImage(plots::FigureKind kind);
    void savePlotImage(plots::FigureKind kind);

    // State: the catalog, the picked entry and the last successful calculation, whose
    // N1, AlfaD, points and coefficients always belong together.
    Catalog catalog;
    std::optional<int> SelectedIndex;
    std::optional<Calculation> last;
    std::unique_ptr<Form_About> about;

    // Controls.
    QAction* Mn_About = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text_N1 = nullptr;
    QLineEdit* Text_AlfaD = nullptr;
    QLineEdit* Text_CL = nullptr;
    QLineEdit* Text_CMc4 = nullptr;
    QLineEdit* Text_Alfa0 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    PlotSurface* profil = nullptr;
    PlotSurface* pressure = nullptr;
};

}  // namespace vorta::ui
