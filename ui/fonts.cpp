#include "ui/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace vorta::ui {

namespace {

QFont firstInstalled(const QStringList& families, double pointSize) {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    for (const QString& family : families) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPointSizeF(pointSize);
    return font;
}

}  // namespace

QFont formFont(double pointSize) {
    return firstInstalled({"Liberation Sans", "Arial", "DejaVu Sans"}, pointSize);
}

QFont aboutFont(double pointSize, bool bold) {
    QFont font = firstInstalled({"DejaVu Sans", "Verdana", "Liberation Sans"}, pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace vorta::ui
