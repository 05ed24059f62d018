#include "ui/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace vorta::ui {

namespace {

// The first of the families that is installed, or none. The list of installed families is
// read once; QFontDatabase::hasFamily would first have fontconfig resolve each name as an
// alias, which takes longer than building the whole window. The callers keep the answer,
// which does not change while the program runs.
QString firstInstalled(const QStringList& families) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    }
    return {};
}

QFont sansFont(const QString& family, double pointSize) {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    if (!family.isEmpty()) font.setFamily(family);
    font.setPointSizeF(pointSize);
    return font;
}

}  // namespace

QFont formFont(double pointSize) {
    static const QString family = firstInstalled({"Liberation Sans", "Arial", "DejaVu Sans"});
    return sansFont(family, pointSize);
}

QFont aboutFont(double pointSize, bool bold) {
    static const QString family = firstInstalled({"DejaVu Sans", "Verdana", "Liberation Sans"});
    QFont font = sansFont(family, pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace vorta::ui
