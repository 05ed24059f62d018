// Where every control sits, and that every caption shows whole in the font actually used.

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "ui/form_about.h"
#include "ui/form_vorta.h"
#include "ui_test_support.h"

using namespace uitest;

namespace {

constexpr double kTwipsPerPixel = 15.0;

QRect pixels(int left, int top, int width, int height) {
    return QRect(qRound(left / kTwipsPerPixel), qRound(top / kTwipsPerPixel), qRound(width / kTwipsPerPixel),
                 qRound(height / kTwipsPerPixel));
}

// The windows are made once, in a directory with a catalog, and looked at by all tests.
struct Windows {
    WorkingDir dir;
    std::unique_ptr<vorta::ui::Form_VORTA> main;
    vorta::ui::Form_About about;
};
Windows* windows = nullptr;

QWidget& windowNamed(const QString& name) {
    if (name == "Form_About") return windows->about;
    return *windows->main;
}

QList<QWidget*> allControls() {
    QList<QWidget*> found = windows->main->findChildren<QWidget*>();
    found += windows->about.findChildren<QWidget*>();
    return found;
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase() { delete windows; }
    void ControlSitsAtItsPlace_data();
    void ControlSitsAtItsPlace();
    void ClientAreasHaveTheirSizes();
    void EveryCaptionShowsWhole();
    void GreekLettersShowThemselves();
    void ResizingOnlyAddsEmptySpace();
};

void LayoutTest::initTestCase() {
    windows = new Windows;
    windows->dir.writeCatalog({kWorkedLine});
    windows->main = openWindow();
    windows->about.show();
}

void LayoutTest::ControlSitsAtItsPlace_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QRect>("twips");
    const struct {
        const char *window, *name;
        int left, top, width, height;
    } table[] = {
        {"Form_VORTA", "Frame2", 120, 240, 4335, 615},     {"Form_VORTA", "Label9", 1200, 360, 135, 255},
        {"Form_VORTA", "Label6", 2280, 240, 1815, 255},    {"Form_VORTA", "Label1", 120, 240, 855, 255},
        {"Form_VORTA", "Label2", 1080, 240, 255, 255},     {"Form_VORTA", "Label3", 1680, 240, 255, 255},
        {"Form_VORTA", "Combo1", 120, 840, 4335, 315},     {"Form_VORTA", "Frame1", 120, 1200, 4335, 4095},
        {"Form_VORTA", "Command2", 3045, 315, 1065, 330},  {"Form_VORTA", "Frame5", 240, 3120, 3855, 855},
        {"Form_VORTA", "Text_Alfa0", 3000, 360, 615, 285}, {"Form_VORTA", "Text_CMc4", 1920, 360, 615, 285},
        {"Form_VORTA", "Text_CL", 480, 360, 615, 285},     {"Form_VORTA", "Label14", 2640, 360, 375, 255},
        {"Form_VORTA", "Label13", 1200, 360, 735, 255},    {"Form_VORTA", "Label12", 120, 360, 375, 255},
        {"Form_VORTA", "Frame4", 240, 1080, 3855, 2055},   {"Form_VORTA", "Option1", 120, 600, 1215, 255},
        {"Form_VORTA", "Option2", 120, 960, 1935, 255},    {"Form_VORTA", "Option3", 120, 1320, 2775, 255},
        {"Form_VORTA", "Option4", 120, 1680, 3255, 255},   {"Form_VORTA", "Label11", 120, 240, 1815, 255},
        {"Form_VORTA", "Frame3", 240, 120, 2655, 975},     {"Form_VORTA", "Text_AlfaD", 1920, 600, 495, 285},
        {"Form_VORTA", "Text_N1", 1920, 240, 495, 285},    {"Form_VORTA", "Label5", 1560, 600, 255, 255},
        {"Form_VORTA", "Label4", 120, 240, 1695, 255},     {"Form_VORTA", "Label10", 120, 600, 1095, 255},
        {"Form_VORTA", "Command1", 3000, 735, 1095, 330},  {"Form_VORTA", "profil", 4560, 3240, 4800, 2200},
        {"Form_VORTA", "pressure", 4560, 120, 4800, 3015}, {"Form_VORTA", "Label8", 1920, 2520, 375, 255},
        {"Form_VORTA", "Label7", 480, 120, 375, 255},      {"Form_About", "Label2", 1080, 120, 1695, 375},
        {"Form_About", "Label1", 120, 600, 3735, 735},     {"Form_About", "Label8", 600, 1920, 2775, 255},
    };
    for (const auto& row : table) {
        QTest::newRow(qPrintable(QString("%1/%2").arg(row.window, row.name)))
            << QString(row.window) << QRect(row.left, row.top, row.width, row.height);
    }
}

// Position exact; the size as given, grown only as far as the caption needs.
void LayoutTest::ControlSitsAtItsPlace() {
    QFETCH(QString, window);
    QFETCH(QRect, twips);
    const QString name = QString(QTest::currentDataTag()).section('/', 1);
    QWidget* widget = control<QWidget>(windowNamed(window), qPrintable(name));
    const QRect expected = pixels(twips.left(), twips.top(), twips.width(), twips.height());

    // Inside a drawing surface positions count from its client area, inside the border.
    const auto* container = qobject_cast<QFrame*>(widget->parentWidget());
    const bool inSurface = container && (container->objectName() == "pressure");
    const QPoint origin = inSurface ? container->contentsRect().topLeft() : QPoint();
    QCOMPARE(widget->pos(), origin + expected.topLeft());
    QVERIFY2(widget->width() >= expected.width() && widget->height() >= expected.height(), qPrintable(name));
    const QSize grown = expected.size().expandedTo(widget->sizeHint());
    QVERIFY2(widget->width() <= grown.width() && widget->height() <= grown.height(), qPrintable(name));
}

void LayoutTest::ClientAreasHaveTheirSizes() {
    QCOMPARE(windows->main->centralWidget()->size(), QSize(629, 377));
    QCOMPARE(windows->main->centralWidget()->y(), windows->main->menuBar()->height());
    QCOMPARE(windows->about.size(), QSize(255, 205));
}

void LayoutTest::EveryCaptionShowsWhole() {
    for (QWidget* widget : allControls()) {
        const QString name = widget->objectName();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const int needed =
                label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
            QVERIFY2(label->height() >= needed, qPrintable(name));
            if (!label->wordWrap()) QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(name));
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            // A push button's size hint has a minimum width of its own; the caption must fit
            // inside the button's contents.
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QSize caption = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
            QVERIFY2(inside.width() >= caption.width() && inside.height() >= caption.height(),
                     qPrintable(name));
        } else if (auto* option = qobject_cast<QAbstractButton*>(widget)) {
            QVERIFY2(option->width() >= option->sizeHint().width(), qPrintable(name));
            QVERIFY2(option->height() >= option->sizeHint().height(), qPrintable(name));
        }
    }
}

void LayoutTest::GreekLettersShowThemselves() {
    const struct {
        const char* name;
        const char* caption;
    } greek[] = {{"Label1", "δ        γ "},
                 {"Label3", " τ "},
                 {"Label9", "δ"},
                 {"Label5", "α ="},
                 {"Label14", "α 0 ="}};
    for (const auto& row : greek) {
        auto* label = control<QLabel>(*windows->main, row.name);
        QCOMPARE(label->text(), QString::fromUtf8(row.caption));
        for (QChar letter : label->text()) QVERIFY2(label->fontMetrics().inFont(letter), row.name);
    }
    // The subscript delta sits 120 twips right of and below x, in the smaller size.
    auto* x = control<QLabel>(*windows->main, "Label2");
    auto* subscript = control<QLabel>(*windows->main, "Label9");
    QCOMPARE(subscript->pos() - x->pos(), QPoint(8, 8));
    QVERIFY(subscript->font().pointSizeF() < x->font().pointSizeF());
}

void LayoutTest::ResizingOnlyAddsEmptySpace() {
    QHash<QWidget*, QRect> before;
    for (QWidget* widget : windows->main->findChildren<QWidget*>()) before[widget] = widget->geometry();
    windows->main->resize(windows->main->size() + QSize(200, 120));
    QApplication::processEvents();
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it.key() == windows->main->centralWidget() || it.key() == windows->main->menuBar()) continue;
        if (it.key()->objectName().isEmpty()) continue;  // Qt's inner parts of the menu bar and list
        QCOMPARE(it.key()->geometry(), it.value());
    }
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
