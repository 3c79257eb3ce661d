// SPDX-License-Identifier: Apache-2.0
#include "platform/zmk/locale_patterns.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "ostrel/platform/utf.h"
#include "platform/zmk/dialling_codes.h"

using namespace zmk::multilang;

namespace {

// A pattern from the test's readable form: "$" is the currency sign, "_" a no-break space.
std::u16string Currency(std::u16string text) {
    for (char16_t& c : text) {
        if (c == u'$') c = 0x00A4;
        if (c == u'_') c = 0x00A0;
    }
    return text;
}

}  // namespace

TEST(CurrencyPatterns, EveryClassicNegativeFormHasItsOrder) {
    const char16_t* negatives[16] = {
        u"($#,##0.00)", u"-$#,##0.00",  u"$-#,##0.00",   u"$#,##0.00-",
        u"(#,##0.00$)", u"-#,##0.00$",  u"#,##0.00-$",   u"#,##0.00$-",
        u"-#,##0.00_$", u"-$_#,##0.00", u"#,##0.00_$-",  u"$_#,##0.00-",
        u"$_-#,##0.00", u"#,##0.00-_$", u"($_#,##0.00)", u"(#,##0.00_$)"};
    for (int order = 0; order < 16; ++order) {
        SCOPED_TRACE(order);
        CurrencyOrders o =
            CurrencyOrdersFromPattern(Currency(u"$#,##0.00;") + Currency(negatives[order]));
        EXPECT_EQ(std::tuple(o.positive, o.negative), std::tuple(0, order));
    }
}

TEST(CurrencyPatterns, PositiveFormAndImplicitNegative) {
    struct Case {
        std::u16string pattern;
        int positive, negative;
    } cases[] = {
        {u"$#,##0.00", 0, 1},
        {u"#,##0.00$", 1, 5},
        {u"$ #,##0.00", 2, 9},
        {u"#,##0.00_$", 3, 8},
        {u"#,##0.00\u202F$", 3, 8},                     // narrow no-break space
        {u"$$ #,##0.00", 2, 9},                         // the ISO code is one currency sign too
        {u"\u200F#,##0.00_$;\u200F-#,##0.00_$", 3, 8},  // bidi marks vanish
        {u"'EUR' #,##0.00 $", 3, 8},                    // quoted text is no currency sign
        {u"#,##0.00 '$'", 0, 0},                        // nor is a quoted one
        {u"#,##0.00", 0, 0},                            // no currency sign: no classic form
        {u"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ostrel::ToUtf8(c.pattern));
        CurrencyOrders o = CurrencyOrdersFromPattern(Currency(c.pattern));
        EXPECT_EQ(std::tuple(o.positive, o.negative), std::tuple(c.positive, c.negative));
    }
    EXPECT_EQ(ReduceCurrencyPattern(Currency(u" -$  #,##0.00 ")), u"-$ #");
}

TEST(DatePatterns, FieldsGiveOrderPositionAndFlags) {
    struct Case {
        std::u16string pattern;
        char16_t separator;
        int order, yearSize, yearPosition;
        bool days2, months2;
        int flags;
    } cases[] = {
        {u"y/MM/dd", u'/', 2, 4, 0, true, true, 0x10},
        {u"yy. M. d.", u'.', 2, 2, 0, false, false, 0x50},
        {u"d\u200F/M\u200F/y", u'/', 1, 4, 2, false, false, 0x90},   // bidi marks skipped
        {u"d 'de' MMMM 'de' y", u'/', 1, 4, 2, false, false, 0x80},  // only quoted text between
        {u"MMM d, y", u'/', 0, 4, 2, false, false, 0x08},
        {u"d-MMM-yyyy", u'-', 1, 4, 2, false, false, 0x88},
        {u"y年M月d日", u'/', 2, 4, 0, false, false, 0x10},  // letters are no separators
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ostrel::ToUtf8(c.pattern));
        DateConventions d = DateConventionsFromPattern(c.pattern);
        EXPECT_EQ(std::tuple(d.separator, d.order, d.yearSize, d.yearPosition, d.days2, d.months2,
                             d.defaultDateFormat),
                  std::tuple(c.separator, c.order, c.yearSize, c.yearPosition, c.days2, c.months2,
                             c.flags));
    }
}

TEST(DatePatterns, IncompletePatternsKeepTheDefaults) {
    DateConventions defaults;
    for (std::u16string pattern : {u"", u"MM/yy", u"'d/M/y'", u"''"}) {
        SCOPED_TRACE(ostrel::ToUtf8(pattern));
        DateConventions d = DateConventionsFromPattern(pattern);
        EXPECT_EQ(std::tuple(d.order, d.yearPosition, d.defaultDateFormat),
                  std::tuple(defaults.order, defaults.yearPosition, defaults.defaultDateFormat));
    }
    EXPECT_EQ(DateConventionsFromPattern(u"MM-yy").separator, u'-');
}

TEST(TimePatterns, HourFieldGivesRangeAndSeparator) {
    struct Case {
        std::u16string pattern;
        char16_t separator;
        int range;
    } cases[] = {
        {u"h:mm\u202Fa", u':', 12}, {u"HH:mm", u':', 24},  {u"H.mm", u'.', 24},
        {u"K:mm a", u':', 12},      {u"a h:mm", u':', 12}, {u"HH 'h' mm", u':', 24},
        {u"kk-mm", u'-', 24},       {u"mm:ss", u':', 12},  {u"HHmm.ss", u':', 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ostrel::ToUtf8(c.pattern));
        TimeConventions t = TimeConventionsFromPattern(c.pattern);
        EXPECT_EQ(std::tuple(t.separator, t.range), std::tuple(c.separator, c.range));
    }
}

TEST(DiallingCodes, KnownRegionsAndFallback) {
    // Regions of the locales: the locale tests. Here the ends of the table and the fallback.
    EXPECT_EQ(std::tuple(DiallingCode("AE"), DiallingCode("ZA"), DiallingCode("XX"),
                         DiallingCode(""), DiallingCode("D")),
              std::tuple(971, 27, 1, 1, 1));
}
