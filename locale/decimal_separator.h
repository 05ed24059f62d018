#pragma once
// The decimal separator of the user's regional settings, as Qt reads them (LC_ALL, else
// LC_NUMERIC, else LANG), for every number written for people by the window and vorta-run.

#include <string>

namespace vorta {

std::string regionalDecimalSeparator();

}  // namespace vorta
