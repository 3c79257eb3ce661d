// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "ostrel/formula/lctx.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/zmk/environment.h"

using zmk::globals::CLocalesCache;
using zmk::multilang::CLegacyLocaleContext;
using zmk::multilang::CLocaleInfo;
using zmk::multilang::LocaleData;

namespace {

std::string U8(std::u16string_view s) {
    return ostrel::ToUtf8(s);
}

// Sets or unsets one environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// What a locale's context must answer; texts in UTF-8.
struct Expected {
    const char* name;
    char16_t decimal, group;
    int groupSize;
    char16_t currencyDecimal, currencyGroup;
    std::string currency;
    int currencyPrecision, positiveOrder, negativeOrder;
    char16_t list, list2;
    char16_t dateSeparator;
    int dateOrder, yearSize;
    unsigned char yearPosition;
    int days2, months2, defaultDateFormat;
    std::string january, shortFebruary, shortMarch;
    char16_t timeSeparator;
    int timeRange;
    std::string am, pm;
    long countryCode;
    std::string languageId;
};

// Numbers and currency on the first line of each locale, dates and the rest on the second.
// clang-format off
const std::vector<Expected> kLocales = {
    {"en_US", u'.', u',', 3, u'.', u',', "$", 2, 0, 1, u',', u';',
     u'/', 0, 2, 2, 0, 0, 0x50, "January", "Feb", "Mar", u':', 12, "AM", "PM", 1, "0409"},
    {"de_DE", u',', u'.', 3, u',', u'.', "€", 2, 3, 8, u';', u'\\',
     u'.', 1, 2, 2, 1, 1, 0xD0, "Januar", "Feb.", "März", u':', 24, "AM", "PM", 49, "0407"},
    {"fr_FR", u',', 0x202F, 3, u',', 0x202F, "€", 2, 3, 8, u';', u'\\',
     u'/', 1, 4, 2, 1, 1, 0x90, "janvier", "févr.", "mars", u':', 24, "AM", "PM", 33, "040C"},
    {"ja_JP", u'.', u',', 3, u'.', u',', "￥", 0, 0, 1, u',', u';',
     u'/', 2, 4, 0, 1, 1, 0x10, "1月", "2月", "3月", u':', 24, "午前", "午後", 81, "0411"},
};
// clang-format on

}  // namespace

TEST(Locales, InvariantAnswersExactlyTheDefaults) {
    CLocalesCache cache;
    const CLocaleInfo* invariant = cache.invariant();
    ASSERT_NE(invariant, nullptr);
    EXPECT_TRUE(invariant->isInvariant());
    EXPECT_EQ(invariant->data(), LocaleData{});
    for (const char* name : {"C", "POSIX.UTF-8", ""})
        EXPECT_EQ(cache.get(name), invariant) << name;

    cells::LCTX* lctx = cells::invariant_LCTX();
    EXPECT_EQ(lctx, cells::invariant_LCTX());
    EXPECT_TRUE((*lctx)->localeInfo()->isInvariant());
    EXPECT_EQ(U8((*lctx)->info(1)), "007F");
    EXPECT_EQ(U8((*lctx)->dateLongMonths(12)), "December");
    // Months outside 1-12 and other info items answer empty texts rather than failing.
    EXPECT_EQ(
        std::tuple((*lctx)->dateLongMonths(0), (*lctx)->dateShortMonths(13), (*lctx)->info(2)),
        std::tuple(u"", u"", u""));
}

TEST(Locales, EachLocaleAnswersItsOwnConventions) {
    CLocalesCache cache;
    for (const Expected& e : kLocales) {
        SCOPED_TRACE(e.name);
        const CLocaleInfo* info = cache.get(e.name);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->name(), e.name);
        CLegacyLocaleContext c(info);
        EXPECT_EQ(
            std::tuple(c.numberDeciamalSeparartor(), c.numberGroupSeparartor(), c.numberGroupSize(),
                       c.numberPrecision(), c.currencyDeciamalSeparartor(),
                       c.currencyGroupSeparartor(), c.currencyGroupSize(), U8(c.currencyString()),
                       c.currencyPrecision(), c.currencyPositiveOrder(), c.currencyNegativeOrder()),
            std::tuple(e.decimal, e.group, e.groupSize, 2, e.currencyDecimal, e.currencyGroup,
                       e.groupSize, e.currency, e.currencyPrecision, e.positiveOrder,
                       e.negativeOrder));
        EXPECT_EQ(std::tuple(c.negativeSign(), c.positiveSign(), c.listSeparartor(),
                             c.listSeparartor2(), c.countryCode(), U8(c.info(1))),
                  std::tuple(u'-', u'+', e.list, e.list2, e.countryCode, e.languageId));
        EXPECT_EQ(std::tuple(c.dateSeparator(), c.dateOrder(), c.dateYearSize(),
                             c.dateYearPosition(), c.days2(), c.months2(), c.defaultDateFormat()),
                  std::tuple(e.dateSeparator, e.dateOrder, e.yearSize, e.yearPosition, e.days2,
                             e.months2, e.defaultDateFormat));
        EXPECT_EQ(std::tuple(U8(c.dateLongMonths(1)), U8(c.dateShortMonths(2)),
                             U8(c.dateShortMonths(3)), c.timeSeparator(), c.timeRange(),
                             U8(c.timeAMString()), U8(c.timePMString())),
                  std::tuple(e.january, e.shortFebruary, e.shortMarch, e.timeSeparator, e.timeRange,
                             e.am, e.pm));
        EXPECT_FALSE(c.dateLongMonths(12).empty());
    }
}

TEST(Locales, TypographicMinusBecomesTheTypedOne) {
    CLocalesCache cache;
    const CLocaleInfo* sv = cache.get("sv_SE");
    ASSERT_NE(sv, nullptr);
    EXPECT_EQ(sv->data().numberDecimalSeparator, u',');
    EXPECT_EQ(sv->data().negativeSign, u'-');
}

TEST(Locales, CacheSharesDescriptionsAndBareLanguagesTakeTheirRegion) {
    CLocalesCache cache;
    const CLocaleInfo* de = cache.get("de_DE");
    ASSERT_NE(de, nullptr);
    EXPECT_EQ(cache.get("de-DE"), de);
    EXPECT_EQ(cache.get("de_DE.UTF-8@euro"), de);

    const CLocaleInfo* bare = cache.get("de");
    ASSERT_NE(bare, nullptr);
    EXPECT_NE(bare, de);
    EXPECT_EQ(U8(bare->data().currencyString), "€");
    EXPECT_EQ(bare->data().countryCode, 49);
}

TEST(Locales, UnknownLanguagesAreRefused) {
    CLocalesCache cache;
    for (const char* name : {"xx_YY", "zz", "a b", "_DE", "123_45", "de/DE"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(cache.get(name), nullptr);
    }
    EXPECT_EQ(CLocaleInfo::FromICU(std::string("de\0_DE", 6)), nullptr);
    // A known language with a region ICU has no data for still answers.
    EXPECT_NE(cache.get("de_XX"), nullptr);
}

TEST(Locales, NormaliseNameDropsCodeSetAndModifier) {
    const std::pair<const char*, const char*> names[] = {{"de_DE.UTF-8@euro", "de_DE"},
                                                         {"de-DE", "de_DE"},
                                                         {"fr_FR@euro", "fr_FR"},
                                                         {"C", ""},
                                                         {"C.UTF-8", ""},
                                                         {"POSIX", ""},
                                                         {"", ""}};
    for (auto [name, normal] : names)
        EXPECT_EQ(CLocalesCache::NormalizeName(name), normal) << name;
}

TEST(Locales, UserLocaleFollowsTheEnvironmentInOrder) {
    ScopedEnv all("LC_ALL", nullptr), numeric("LC_NUMERIC", nullptr), lang("LANG", nullptr);
    CLocalesCache cache;
    EXPECT_EQ(cache.user(), cache.invariant());

    ::setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(cache.user()->name(), "de_DE");
    ::setenv("LC_NUMERIC", "fr_FR.UTF-8", 1);
    EXPECT_EQ(cache.user()->name(), "fr_FR");
    ::setenv("LC_ALL", "ja_JP.UTF-8", 1);
    EXPECT_EQ(cache.user()->name(), "ja_JP");
    // An empty variable counts as not set.
    ::setenv("LC_ALL", "", 1);
    EXPECT_EQ(cache.user()->name(), "fr_FR");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(cache.user(), cache.invariant());
    ::setenv("LC_ALL", "xx_YY.UTF-8", 1);
    EXPECT_EQ(cache.user(), cache.invariant());
}
