#pragma once
// The decimal separator of a locale named the POSIX way ("de_DE.UTF-8", "fr", "C").

#include <string>
#include <string_view>

namespace vorta {

std::string decimalSeparatorOfLocale(std::string_view localeName);

// The locale name that decides numbers: LC_ALL, else LC_NUMERIC, else LANG, given as the
// values of those variables (empty when unset).
std::string_view numericLocaleName(std::string_view lcAll, std::string_view lcNumeric, std::string_view lang);

}  // namespace vorta
