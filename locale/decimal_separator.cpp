#include "locale/decimal_separator.h"

#include <QLocale>

namespace vorta {

std::string regionalDecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

}  // namespace vorta
