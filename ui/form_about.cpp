#include "ui/form_about.h"

#include <QLabel>

#include "ui/control_placement.h"
#include "ui/controls.h"
#include "ui/fonts.h"

namespace vorta::ui {

namespace {

const QColor kDarkGreen(0, 128, 0);
constexpr int kClientWidth = 3825, kClientHeight = 3075;

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
}

}  // namespace

Form_About::Form_About()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName("Form_About");
    setWindowTitle("About");
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kLightYellow);
    setPalette(colours);
    setAutoFillBackground(true);
    createLabels();
    resize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
}

void Form_About::createLabels() {
    QLabel* title = makeLabel(this, "Label2", "VortaAnalysis", 1080, 120, 1695, 375);
    title->setFont(aboutFont(9.75, true));
    setTextColour(title, kDarkGreen);
    growToCaption(title);

    QLabel* description = makeLabel(
        this, "Label1", "Coordinates and Velocity distribution of Karman-Trefftz and Joukowsky Airfoils", 120,
        600, 3735, 735);
    description->setFont(aboutFont(9.75));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(description, kDarkGreen);

    QLabel* modified = makeLabel(this, "Label8", "Last modified on February 2007", 600, 1920, 2775, 255);
    modified->setFont(aboutFont(8.25));
    growToCaption(modified);
}

void Form_About::open() {
    if (isHidden()) resize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    show();
    raise();
    activateWindow();
}

}  // namespace vorta::ui
