// Builds the main window's controls at their fixed places. Nothing here reacts to resizing:
// a larger window only adds empty space to the right and below.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

#include "ui/control_placement.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/form_vorta.h"
#include "ui/plot_surface.h"

namespace vorta::ui {

namespace {

constexpr int kClientWidth = 9435, kClientHeight = 5655;

// Typed text is never more than intermediate input. QLineEdit emits returnPressed and
// editingFinished only for acceptable input, so neither Enter nor leaving the field hands
// QComboBox a finished text to match against its items. Typing itself stays allowed.
class NeverFinishedInput : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& /*input*/, int& /*position*/) const override { return Intermediate; }
};

QFrame* makeFrame(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    place(frame, left, top, width, height);
    return frame;
}

// Sets the font before the label grows, so it grows for the font it shows.
QLabel* withFont(QLabel* label, const QFont& font) {
    label->setFont(font);
    growToCaption(label);
    return label;
}

QLineEdit* makeTextBox(QWidget* parent, const char* name, const QString& text, int left, int top, int width,
                       int height) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    place(box, left, top, width, height);
    return box;
}

// The results are never read back: read-only, but selectable so a value can be copied.
// Their ground is the window colour a shade darker, the part a scroll bar's trough plays.
QLineEdit* makeResultBox(QWidget* parent, const char* name, int left) {
    QLineEdit* box = makeTextBox(parent, name, QString(), left, 360, 615, 285);
    box->setReadOnly(true);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window).darker(120));
    box->setPalette(colours);
    return box;
}

QRadioButton* makeOption(QWidget* parent, const char* name, const QString& caption, int top, int width) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    place(option, 120, top, width, 255);
    growToCaption(option);
    return option;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left, int top,
                        int width) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    place(button, left, top, width, 330);
    return button;
}

}  // namespace

void Form_VORTA::createControls() {
    setObjectName("Form_VORTA");
    setWindowTitle("Karman-Trefftz Airfoil Coordinates and Velocities");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(formFont(8.25));
    createMenu();

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setMinimumSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    setCentralWidget(client);

    createHeadingStrip(client);
    Combo1 = new QComboBox(client);
    Combo1->setObjectName("Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // Only a choice from the list picks an entry: Qt would also pick an item whose text the
    // user typed in full, through the completer or when editing finishes.
    Combo1->setCompleter(nullptr);
    Combo1->setValidator(new NeverFinishedInput(Combo1));
    place(Combo1, 120, 840, 4335, 315);
    connect(Combo1, &QComboBox::activated, this, &Form_VORTA::Combo1_Click);
    createWorkingArea(client);
    createPlots(client);
    setTabStops();
    pressure->setFocus();
    resize(minimumSizeHint());
}

void Form_VORTA::createMenu() {
    Mn_About = menuBar()->addAction("About");
    Mn_About->setObjectName("Mn_About");
    connect(Mn_About, &QAction::triggered, this, &Form_VORTA::Mn_About_Click);
}

// The headings name the seven columns of the catalog lines listed below them: delta, gamma,
// x with a subscript delta, tau, F, G and m.
void Form_VORTA::createHeadingStrip(QWidget* client) {
    QFrame* strip = makeFrame(client, "Frame2", 120, 240, 4335, 615);
    withFont(makeLabel(strip, "Label9", QString::fromUtf8("δ"), 1200, 360, 135, 255), formFont(8.25));
    growToCaption(makeLabel(strip, "Label6", " F              G             m", 2280, 240, 1815, 255));
    withFont(makeLabel(strip, "Label1", QString::fromUtf8("δ        γ "), 120, 240, 855, 255),
             formFont(9.75));
    withFont(makeLabel(strip, "Label2", "x", 1080, 240, 255, 255), formFont(9.75));
    withFont(makeLabel(strip, "Label3", QString::fromUtf8(" τ "), 1680, 240, 255, 255), formFont(9.75));
}

void Form_VORTA::createWorkingArea(QWidget* client) {
    QFrame* area = makeFrame(client, "Frame1", 120, 1200, 4335, 4095);
    Command2 = makeButton(area, "Command2", "Calculate", 3045, 315, 1065);
    connect(Command2, &QPushButton::clicked, this, &Form_VORTA::Command2_Click);
    createResults(area);
    createOutputOptions(area);
    createInputs(area);
    Command1 = makeButton(area, "Command1", "Save result", 3000, 735, 1095);
    connect(Command1, &QPushButton::clicked, this, &Form_VORTA::Command1_Click);
}

void Form_VORTA::createResults(QFrame* workingArea) {
    QFrame* results = makeFrame(workingArea, "Frame5", 240, 3120, 3855, 855);
    Text_Alfa0 = makeResultBox(results, "Text_Alfa0", 3000);
    Text_CMc4 = makeResultBox(results, "Text_CMc4", 1920);
    Text_CL = makeResultBox(results, "Text_CL", 480);
    withFont(makeLabel(results, "Label14", QString::fromUtf8("α 0 ="), 2640, 360, 375, 255), formFont(8.25));
    growToCaption(makeLabel(results, "Label13", "CMc/4 =", 1200, 360, 735, 255));
    growToCaption(makeLabel(results, "Label12", "CL =", 120, 360, 375, 255));
}

void Form_VORTA::createOutputOptions(QFrame* workingArea) {
    QFrame* options = makeFrame(workingArea, "Frame4", 240, 1080, 3855, 2055);
    Option1 = makeOption(options, "Option1", "i    x(i)     y(i)", 600, 1215);
    Option2 = makeOption(options, "Option2", "i    x(i)     y(i)  1-Cp", 960, 1935);
    Option3 = makeOption(options, "Option3", "i    xU(i)     yU(i)   xL(i)   yL(i)", 1320, 2775);
    Option4 =
        makeOption(options, "Option4", "i    xU(i)     yU(i)   1-Cp    xL(i)   yL(i)   1-Cp", 1680, 3255);
    Option4->setChecked(true);
    QFont underlined = formFont(8.25);
    underlined.setUnderline(true);
    withFont(makeLabel(options, "Label11", "Output format options", 120, 240, 1815, 255), underlined);
}

void Form_VORTA::createInputs(QFrame* workingArea) {
    QFrame* inputs = makeFrame(workingArea, "Frame3", 240, 120, 2655, 975);
    Text_AlfaD = makeTextBox(inputs, "Text_AlfaD", "0", 1920, 600, 495, 285);
    Text_N1 = makeTextBox(inputs, "Text_N1", "51", 1920, 240, 495, 285);
    withFont(makeLabel(inputs, "Label5", QString::fromUtf8("α ="), 1560, 600, 255, 255), formFont(8.25));
    growToCaption(makeLabel(inputs, "Label4", "Number of Points  NP =", 120, 240, 1695, 255));
    growToCaption(makeLabel(inputs, "Label10", "Angle of attack", 120, 600, 1095, 255));
}

void Form_VORTA::createPlots(QWidget* client) {
    profil = new PlotSurface(kLightYellow, QColor(0, 0, 255), client);
    profil->setObjectName("profil");
    place(profil, 4560, 3240, 4800, 2200);
    pressure = new PlotSurface(kLightYellow, QColor(0, 255, 0), client);
    pressure->setObjectName("pressure");
    place(pressure, 4560, 120, 4800, 3015);

    // The labels sit in the surface's client area, inside its border, in the window's text
    // colour rather than the surface's foreground.
    const QPoint inside = pressure->contentsRect().topLeft();
    const QColor text = client->palette().color(QPalette::WindowText);
    for (QLabel* label : {makeLabel(pressure, "Label8", "x/c", 1920, 2520, 375, 255, inside),
                          makeLabel(pressure, "Label7", "1-Cp", 480, 120, 375, 255, inside)}) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, kLightYellow);
        colours.setColor(QPalette::WindowText, text);
        label->setPalette(colours);
        label->setAutoFillBackground(true);
        growToCaption(label);
    }
    createPlotMenus();
}

// Tab order: pressure, profil, Combo1, "Save result", the two inputs, the option group,
// the three results, "Calculate". Frames and labels take no focus.
void Form_VORTA::setTabStops() {
    QWidget* order[] = {pressure, profil,  Combo1,  Command1, Text_N1,   Text_AlfaD, Option4,
                        Option3,  Option2, Option1, Text_CL,  Text_CMc4, Text_Alfa0, Command2};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace vorta::ui
