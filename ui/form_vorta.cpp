#include "ui/form_vorta.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <variant>

#include "core/numbers/number_text.h"
#include "core/output/result_file.h"
#include "locale/decimal_separator.h"
#include "ui/busy_cursor.h"
#include "ui/form_about.h"
#include "ui/message.h"
#include "ui/plot_surface.h"

namespace vorta::ui {

namespace {

QString displayText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

Form_VORTA::Form_VORTA(QWidget* parent) : QMainWindow(parent) {
    createControls();
    Form_Load();
}

Form_VORTA::~Form_VORTA() = default;

void Form_VORTA::Form_Load() {
    catalog = loadCatalogFile(kCatalogFileName);
    if (!catalog.fileRead) showMessage(nullptr, kMissingCatalogMessage);
    for (const CatalogEntry& entry : catalog.entries) Combo1->addItem(displayText(entry.shownText));
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(" ");
}

void Form_VORTA::closeEvent(QCloseEvent* event) {
    if (about) about->close();
    QMainWindow::closeEvent(event);
}

void Form_VORTA::Combo1_Click(int /*index*/) {
    const std::string picked = Combo1->currentText().toStdString();
    if (const auto k = findEntryByText(catalog, picked)) SelectedIndex = k;
    RunCalculation();
}

void Form_VORTA::Command2_Click() { RunCalculation(); }

void Form_VORTA::Command1_Click() { SaveResult(); }

void Form_VORTA::Mn_About_Click() {
    if (!about) about = std::make_unique<Form_About>();
    about->open();
}

// All or nothing: a refused calculation leaves the coefficients, fields and plots as they were.
// A calculation of many points can take a while on a slow machine; the cursor says so.
void Form_VORTA::RunCalculation() {
    BusyCursor busy;
    auto outcome = calculate(catalog, SelectedIndex, fieldText(Text_N1), fieldText(Text_AlfaD));
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        busy.release();
        showMessage(this, displayText(refusal->message));
        return;
    }
    last = std::get<Calculation>(std::move(outcome));
    showCoefficients(*last);
    const Solution& solution = last->solution;
    grafik(last->N1, solution.x, solution.y, solution.Cu);
}

// The window shows numbers with the regional separator, and a user types what she sees: where
// that is the comma, a number written with it reads as the decimal it is.
std::string Form_VORTA::fieldText(const QLineEdit* field) const {
    const std::string text = field->text().toStdString();
    return regionalDecimalSeparator() == "," ? withDecimalCommaAsPoint(text) : text;
}

void Form_VORTA::showCoefficients(const Calculation& calculation) {
    const Coefficients& c = calculation.solution.coefficients;
    const std::string separator = regionalDecimalSeparator();
    Text_CL->setText(displayText(formatRounded(c.CL, 3, separator)));
    Text_CMc4->setText(displayText(formatRounded(c.CMc4, 3, separator)));
    Text_Alfa0->setText(displayText(formatRounded(c.Alfa0, 2, separator)));
}

void Form_VORTA::SaveResult() {
    BusyCursor busy;  // a million points take a moment to write
    // The first checked option gives the layout; the group keeps at most one checked.
    Layout layout = Layout::None;
    const QRadioButton* options[] = {Option1, Option2, Option3, Option4};
    for (int i = 0; i < 4; ++i) {
        if (options[i]->isChecked()) {
            layout = static_cast<Layout>(i + 1);
            break;
        }
    }
    if (auto error = saveResultFile(catalog, last, layout, regionalDecimalSeparator(), kResultFileName)) {
        busy.release();
        showMessage(this, displayText(*error));
    }
}

void Form_VORTA::grafik(int N1, const PointArray& x, const PointArray& y, const PointArray& Cu) {
    const auto count = static_cast<std::size_t>(N1);
    profil->draw(plots::contourPlot(&x[1], &y[1], count));
    pressure->draw(plots::pressurePlot(&x[1], &Cu[1], count));
}

}  // namespace vorta::ui
