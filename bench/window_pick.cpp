// Times what a user waits for after picking an airfoil at NP = 1000000: from the click on the
// item in Combo1's list until both plots have been painted. Also times the calculation alone,
// so the window's own share shows. Runs off screen in a temporary working directory.
// Usage: window-pick [picks]   (default 7; the median is printed)

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/calculation/calculation.h"
#include "core/catalog/catalog.h"
#include "ui/application.h"
#include "ui/form_vorta.h"

namespace {

constexpr const char* kPoints = "1000000";

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

// The same user action as the tests' pick: open the list and click the item.
void pick(QComboBox* combo, int index) {
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QRect item = list->visualRect(combo->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsSince(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

// The offscreen platform's notes about what it cannot do would bury the figures.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    vorta::ui::setUpApplication();
    const int picks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    QTemporaryDir dir;
    QFile catalogFile(dir.filePath("VORTA_Input.txt"));
    if (!dir.isValid() || !catalogFile.open(QIODevice::WriteOnly)) return 1;
    catalogFile.write("1\r\n0\r\n0.1,0.1,0.3,9,0.1,0.1,1.9\r\n0.1298,0.0229,0.3891,18,0.05,0.05,1.9\r\n");
    catalogFile.close();
    QDir::setCurrent(dir.path());

    vorta::ui::Form_VORTA window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    window.findChild<QLineEdit*>("Text_N1")->setText(kPoints);
    auto* combo = window.findChild<QComboBox*>("Combo1");
    PaintCounter profil(window.findChild<QWidget*>("profil"));
    PaintCounter pressure(window.findChild<QWidget*>("pressure"));

    // Each pick is timed beside a calculation of the same entry alone, so both see the same
    // load on the machine.
    const vorta::Catalog catalog = vorta::loadCatalogFile(vorta::kCatalogFileName);
    std::vector<double> total, synchronous, calculation, share;
    for (int i = 0; i < picks; ++i) {
        {
            QElapsedTimer alone;
            alone.start();
            const auto outcome = vorta::calculate(catalog, i % 2 + 1, kPoints, "0");
            calculation.push_back(millisecondsSince(alone));
            if (!std::holds_alternative<vorta::Calculation>(outcome)) return 1;
        }

        QApplication::processEvents();
        const int profilBefore = profil.count, pressureBefore = pressure.count;
        QElapsedTimer timer;
        timer.start();
        pick(combo, i % 2);
        synchronous.push_back(millisecondsSince(timer));
        while (profil.count == profilBefore || pressure.count == pressureBefore) QApplication::processEvents();
        total.push_back(millisecondsSince(timer));
        share.push_back(total.back() - calculation.back());
    }

    std::printf("pick at NP = %s until both plots are painted: %8.1f ms (median of %d)\n", kPoints, median(total),
                picks);
    std::printf("  of which the pick's own call returned after:        %8.1f ms\n", median(synchronous));
    std::printf("  the calculation alone:                              %8.1f ms\n", median(calculation));
    std::printf("  the window's share (pick less calculation):         %8.1f ms\n", median(share));
    return 0;
}
