#include "core/locale_separator.h"

#include <algorithm>
#include <array>

namespace vorta {

namespace {

// Languages whose numbers use a decimal comma in their usual territory.
constexpr std::array<std::string_view, 46> kCommaLanguages = {
    "af", "az", "be", "bg", "bs", "ca", "cs", "da", "de", "el", "es", "et", "eu", "fi", "fo", "fr",
    "gl", "hr", "hu", "hy", "id", "is", "it", "ka", "kk", "ky", "lb", "lt", "lv", "mk", "nb", "nl",
    "nn", "no", "pl", "pt", "ro", "ru", "sk", "sl", "sq", "sr", "sv", "tr", "uk", "vi"};

// Territories that write a point although their language usually writes a comma, and the
// reverse.
constexpr std::array<std::string_view, 14> kPointTerritories = {
    "de_CH", "de_LI", "it_CH", "es_MX", "es_US", "es_PR", "es_DO", "es_GT", "es_HN", "es_NI",
    "es_PA", "es_SV", "es_419", "fr_CH"};
constexpr std::array<std::string_view, 1> kCommaTerritories = {"en_ZA"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

std::string decimalSeparatorOfLocale(std::string_view localeName) {
    // "de_DE.UTF-8@euro": the language and territory come before any '.' or '@'.
    const std::string_view name = localeName.substr(0, std::min(localeName.find_first_of(".@"), localeName.size()));
    const std::string_view language = name.substr(0, std::min(name.find('_'), name.size()));
    if (contains(kCommaTerritories, name)) return ",";
    if (contains(kPointTerritories, name)) return ".";
    return contains(kCommaLanguages, language) ? "," : ".";
}

std::string_view numericLocaleName(std::string_view lcAll, std::string_view lcNumeric, std::string_view lang) {
    if (!lcAll.empty()) return lcAll;
    if (!lcNumeric.empty()) return lcNumeric;
    return lang;
}

}  // namespace vorta
