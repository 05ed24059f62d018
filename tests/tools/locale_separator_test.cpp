// vorta-run picks the decimal separator from the locale variables without Qt; the window
// asks QLocale. For the locales people use, both must agree.
#include <gtest/gtest.h>

#include <QLocale>

#include "core/locale_separator.h"

namespace {

TEST(LocaleSeparator, AgreesWithTheWindowsLocale) {
    for (const char* name : {"C", "POSIX", "en_US.UTF-8", "en_GB", "en_ZA.UTF-8", "de_DE.UTF-8", "de_AT", "de_CH.UTF-8",
                             "fr_FR.UTF-8@euro", "fr_CA", "fr_BE", "it_IT", "es_ES", "es_MX", "es_AR", "pt_BR", "pt_PT",
                             "nl_NL", "sv_SE", "nb_NO", "da_DK", "fi_FI", "pl_PL", "cs_CZ", "ru_RU", "uk_UA", "tr_TR",
                             "el_GR", "hu_HU", "ro_RO", "ja_JP", "zh_CN", "ko_KR", "he_IL", "hi_IN", "th_TH",
                             "fr_CH", "es_PE", "ar_EG", "ar_MA", "ar_AE", "fa_IR", "uz_UZ"}) {
        const QString qtSeparator = QLocale(QString::fromLatin1(name).section('.', 0, 0).section('@', 0, 0)).decimalPoint();
        EXPECT_EQ(vorta::decimalSeparatorOfLocale(name), qtSeparator.toStdString()) << name;
    }
}

TEST(LocaleSeparator, TheFirstSetVariableDecides) {
    EXPECT_EQ(vorta::numericLocaleName("de_DE", "en_US", "fr_FR"), "de_DE");
    EXPECT_EQ(vorta::numericLocaleName("", "en_US", "fr_FR"), "en_US");
    EXPECT_EQ(vorta::numericLocaleName("", "", "fr_FR"), "fr_FR");
    EXPECT_EQ(vorta::numericLocaleName("", "", ""), "");
    EXPECT_EQ(vorta::decimalSeparatorOfLocale(""), ".");
}

}  // namespace
