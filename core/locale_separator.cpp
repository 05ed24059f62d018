#include "core/locale_separator.h"

#include <algorithm>
#include <array>

namespace vorta {

namespace {

// Languages whose numbers use a decimal comma in their usual territory.
constexpr std::array<std::string_view, 53> kCommaLanguages = {
    "af", "az", "be", "bg", "br", "bs", "ca", "cs", "da", "de", "el", "eo", "es", "et", "eu", "fi",
    "fo", "fr", "fy", "gl", "hr", "hu", "hy", "id", "is", "it", "ka", "kk", "ku", "ky", "lb", "lt",
    "lv", "mk", "nb", "nl", "nn", "no", "pl", "pt", "ro", "ru", "se", "sk", "sl", "sq", "sr", "sv",
    "tg", "tr", "uk", "uz", "vi"};
// Languages written with the Arabic decimal separator in their usual territory.
constexpr std::array<std::string_view, 4> kArabicSeparatorLanguages = {"ar", "ckb", "fa", "ps"};
constexpr const char* kArabicSeparator = "\u066B";

// Territories that write a point although their language usually writes a comma, and the
// reverse.
constexpr std::array<std::string_view, 15> kPointTerritories = {
    "de_CH", "de_LI", "it_CH", "es_MX", "es_US", "es_PR", "es_DO", "es_GT", "es_HN", "es_NI",
    "es_PA", "es_SV", "es_419", "es_PE", "ar_AE"};
constexpr std::array<std::string_view, 5> kCommaTerritories = {"en_ZA", "ar_MA", "ar_DZ", "ar_TN", "ar_LY"};

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
    if (contains(kArabicSeparatorLanguages, language)) return kArabicSeparator;
    return contains(kCommaLanguages, language) ? "," : ".";
}

std::string_view numericLocaleName(std::string_view lcAll, std::string_view lcNumeric, std::string_view lang) {
    if (!lcAll.empty()) return lcAll;
    if (!lcNumeric.empty()) return lcNumeric;
    return lang;
}

}  // namespace vorta
