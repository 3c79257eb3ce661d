// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "formats/format_code_cache.h"
#include "formats/lt_strings.h"
#include "number_format_support.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formats/number_format_table.h"
#include "ostrel/platform/exceptions.h"
#include "platform/names.h"

using nf_test::CacheWithFakeParser;
using nf_test::Custom;
using nf_test::GermanData;
using nf_test::Make;
using nf_test::TestLocale;
using nf_test::Utf8;

namespace {

std::string Code(const CCNumberFormat& f, cells::LCTX* lctx = nullptr) {
    CCNumberFormat copy = f;
    copy.convertToFormatString(lctx);
    EXPECT_EQ(copy.getFormatString(), f.getConvertedFormatString(lctx));
    return Utf8(copy.getFormatString());
}

}  // namespace

TEST(NumberFormatCode, ClassicFormatsConvertToCodes) {
    EXPECT_EQ(Code(CCNumberFormat()), "General");
    EXPECT_EQ(Code(CCNumberFormat(C_NF_BOOL)), "General");
    EXPECT_EQ(Code(CCNumberFormat(C_NF_HEX)), "");
    EXPECT_EQ(Code(Make(C_NF_NUMBER, 2, true)), "#,0.00");
    EXPECT_EQ(Code(Make(C_NF_NUMBER, 15)), "0");
    EXPECT_EQ(Code(Make(C_NF_PERCENT, 1)), "0.0%");
    EXPECT_EQ(Code(Make(C_NF_SCIENTIFIC, 2)), "0.00E+000");
    EXPECT_EQ(Code(Make(C_NF_FRACTION, 2, true)), "#/0.00");
    CCNumberFormat money = Make(C_NF_CURRENCY, 2, true);
    EXPECT_EQ(Code(money), "$ #,0.00");
    money.SetNegRed(1);
    money.SetNegBr(1);
    EXPECT_EQ(Code(money), "$ #,0.00;[RED]($ #,0.00)");
    TestLocale german(GermanData());
    EXPECT_EQ(Code(Make(C_NF_CURRENCY, 2), german.get()), "\u20AC 0.00");
    // A currency string with code characters is quoted, so that it stays literal text.
    auto data = GermanData();
    data.currencyString = u"CHF";
    TestLocale swiss(data);
    EXPECT_EQ(Code(Make(C_NF_CURRENCY, 2), swiss.get()), "\"CHF\" 0.00");

    ReleaseLTStrings();
    CCNumberFormat unit = Make(C_NF_NUMBER, 1);
    unit.SetLTString(AddLTString(u"kg"), 2);
    unit.SetNegBr(1);
    EXPECT_EQ(Code(unit), "0.0\" kg\";(0.0\" kg\")");
    unit.SetNegBr(0);
    unit.SetLTString(AddLTString(u"a\"b"), 1);
    EXPECT_EQ(Code(unit), "\"a\"\\\"\"b \"0.0");
    ReleaseLTStrings();
    EXPECT_EQ(Code(unit), "0.0");  // the unit text is gone
}

TEST(NumberFormatCode, DateAndTimeCodes) {
    CCNumberFormat date(C_NF_DATE);
    EXPECT_EQ(Code(date), "mm/dd/yyyy");
    date.SetMonthType(0);
    date.SetMDOrder(1);
    date.SetDelimiter(u'.');
    date.SetYearType(2);
    EXPECT_EQ(Code(date), "dd.mmmm.yy");
    date.SetDelimiter(u'\\');
    EXPECT_EQ(Code(date), "dd\\\\mmmm\\\\yy");
    date.SetDelimiter(u',');  // the list separator: as printed, "25 December, 24"
    EXPECT_EQ(Code(date), "dd mmmm\\, yy");
    date.SetDelimiter(u'h');  // a code letter is escaped
    date.SetYearType(1);
    EXPECT_EQ(Code(date), "dd\\hmmmm");
    date.SetTime(1);
    date.SetTimeSeconds(1);
    EXPECT_EQ(Code(date), "dd\\hmmmm hh:mm:ss AM/PM");

    auto data = GermanData();
    data.dateYearPosition = 0;
    TestLocale yearFirst(data);
    CCNumberFormat iso(C_NF_DATE);
    EXPECT_EQ(Code(iso, yearFirst.get()), "yyyy.mm.dd");
    iso.SetYearType(3);  // no year: no separator in front
    EXPECT_EQ(Code(iso, yearFirst.get()), "mm.dd");

    CCNumberFormat time(C_NF_TIME);
    EXPECT_EQ(Code(time), "hh:mm AM/PM");
    time.SetTimeRange(1);
    EXPECT_EQ(Code(time), "hh:mm");
}

TEST(NumberFormatCode, EqualityRules) {
    cells::LCTX* inv = cells::invariant_LCTX();
    // Classic formats compare the attributes their kind shows.
    CCNumberFormat a = Make(C_NF_NUMBER, 2), b = Make(C_NF_NUMBER, 2);
    b.SetLTStringMode(2);
    b.SetLTString(-1);
    a.setSetMask(0);
    EXPECT_TRUE(a.IsEqual(inv, b));  // masks and the leading bit do not count
    b.SetCommas(1);
    EXPECT_FALSE(a.IsEqual(inv, b));
    EXPECT_FALSE(Make(C_NF_NUMBER, 2).IsEqual(inv, Make(C_NF_CURRENCY, 2)));

    CCNumberFormat t1(C_NF_TIME), t2(C_NF_TIME), d1(C_NF_DATE), d2(C_NF_DATE), bool1(C_NF_BOOL),
        bool2(C_NF_BOOL);
    t2.SetTime(1);  // not a time attribute
    EXPECT_TRUE(t1.IsEqual(inv, t2));
    t2.SetTimeSeconds(1);
    d2.SetDelimiter(u'-');
    bool2.SetData(0x08FFFFFF);
    EXPECT_EQ(std::tuple(t1.IsEqual(inv, t2), d1.IsEqual(inv, d2), bool1.IsEqual(inv, bool2)),
              std::tuple(0, 0, 1));

    // The radix kinds are comparable: equal kind and flag byte A.
    CCNumberFormat h1(C_NF_HEX), h2(C_NF_HEX);
    h2.SetMDOrder(1);
    EXPECT_TRUE(h1.IsEqual(inv, h2));
    h2.SetPrecision(3);
    EXPECT_FALSE(h1.IsEqual(inv, h2));
    EXPECT_FALSE(CCNumberFormat(C_NF_OCT).IsEqual(inv, CCNumberFormat(C_NF_BIN)));
    CCNumberFormat odd(40);
    EXPECT_TRUE(odd.IsEqual(inv, CCNumberFormat(40)));

    // A classic and a custom format are equal when the classic one converts to the code.
    CacheWithFakeParser cache;
    CCNumberFormat grouped = Make(C_NF_NUMBER, 2, true);
    EXPECT_TRUE(grouped.IsEqual(inv, Custom(u"#,0.00")));
    EXPECT_TRUE(Custom(u"#,0.00").IsEqual(inv, grouped));
    EXPECT_FALSE(grouped.IsEqual(inv, Custom(u"#,##0.00")));
    TestLocale german(GermanData());
    CCNumberFormat euro = Make(C_NF_CURRENCY, 2);
    EXPECT_EQ(std::tuple(euro.IsEqual(german.get(), Custom(u"\u20AC 0.00")),
                         euro.IsEqual(inv, Custom(u"\u20AC 0.00"))),
              std::tuple(1, 0));
    // Kinds without a code form never equal a custom format, not even an empty code.
    EXPECT_FALSE(CCNumberFormat(C_NF_HEX).IsEqual(inv, Custom(u"")));
    EXPECT_TRUE(Custom(u"0").IsEqual(inv, Custom(u"0")));
    EXPECT_FALSE(Custom(u"0").IsEqual(inv, Custom(u"0 ")));
}

TEST(FormatCodeCache, LivesBetweenCreateAndDestroy) {
    // The tests run on a started engine; this one follows the cache through its own life.
    CFormatCodeCache::Destroy();
    ASSERT_FALSE(CFormatCodeCache::Exists());
    EXPECT_FALSE(CFormatCodeCache::Register(u"0.00"));
    EXPECT_EQ(CFormatCodeCache::Size(), 0u);
    {
        CacheWithFakeParser cache;
        EXPECT_TRUE(CFormatCodeCache::Register(u"%0"));
        EXPECT_TRUE(CFormatCodeCache::Register(u"%0"));
        // "dd" is not registered yet.
        EXPECT_EQ(std::tuple(CFormatCodeCache::Size(), CFormatCodeCache::Category(u"%0"),
                             CFormatCodeCache::Category(u"dd")),
                  std::tuple(1u, C_NF_PERCENT, 0));
        CWideOutStream out;
        CFormatCodeCache::Render(nullptr, u"dd", 3, out);
        EXPECT_EQ(Utf8(out.str()), "<dd|3>");
        EXPECT_EQ(CFormatCodeCache::Category(u"dd"), C_NF_DATE);

        // Without a parser an entry reports category 0 and renders nothing.
        FormatCodeParser fake = CFormatCodeCache::SetParser(nullptr);
        EXPECT_EQ(CFormatCodeCache::Size(), 0u);
        CFormatCodeCache::Register(u"%0");
        EXPECT_EQ(CFormatCodeCache::Category(u"%0"), 0);
        out.clear();
        CFormatCodeCache::Render(nullptr, u"%0", 3, out);
        EXPECT_TRUE(out.empty());
        CFormatCodeCache::SetParser(fake);
    }
    EXPECT_FALSE(CFormatCodeCache::Exists());
    CWideOutStream out;
    CFormatCodeCache::Render(nullptr, u"%0", 3, out);
    EXPECT_TRUE(out.empty());
    CFormatCodeCache::Create();
}

// Distinct codes one after another (each value of a crafted file in a code of its own) do not
// make the cache grow without end; a code dropped on the way is parsed again when used, and
// a format made custom as the cache starts afresh still takes its code's kind.
TEST(FormatCodeCache, HoldsABoundedNumberOfCodes) {
    CacheWithFakeParser cache;
    CFormatCodeCache::Register(u"%first");
    for (size_t n = 0; n < 2 * CFormatCodeCache::kMostEntries; ++n) {
        std::u16string code = u"d";
        for (char c : std::to_string(n))
            code += char16_t(c);
        ASSERT_EQ(Custom(code).getType(), C_NF_DATE) << n;
        ASSERT_LE(CFormatCodeCache::Size(), CFormatCodeCache::kMostEntries);
    }
    CWideOutStream out;
    CFormatCodeCache::Render(nullptr, u"%first", 3, out);
    EXPECT_EQ(Utf8(out.str()), "<%first|3>");
}

TEST(NumberFormatTable, FindAddAndIndexFallback) {
    CCNumberFormatTable table;
    EXPECT_THROW(table.GetAt(0), CInvalidArgException);
    EXPECT_EQ(table.Find(CCNumberFormat()), -1);
    EXPECT_EQ(table.DeleteAt(0), 0);
    EXPECT_EQ(table.RemoveAt(0), nullptr);

    EXPECT_EQ(table.Add(Make(C_NF_NUMBER, 2)), 0);
    EXPECT_EQ(table.Add(Make(C_NF_PERCENT, 1)), 1);
    EXPECT_EQ(table.Add(Make(C_NF_NUMBER, 2)), 0);
    EXPECT_EQ(std::tuple(table.GetSize(), table.GetAt(1)->getType()), std::tuple(2, C_NF_PERCENT));
    EXPECT_EQ(table.GetAt(5), table.GetAt(0));
    EXPECT_EQ(table.GetAt(-1), table.GetAt(0));

    // Append never merges; Find returns the first of equal elements.
    EXPECT_EQ(table.Append(Make(C_NF_NUMBER, 2)), 2);
    EXPECT_EQ(table.Find(Make(C_NF_NUMBER, 2)), 0);
    table.InsertAt(0, Make(C_NF_SCIENTIFIC, 3));
    EXPECT_EQ(std::tuple(table.Find(Make(C_NF_NUMBER, 2)), table.Find(Make(C_NF_SCIENTIFIC, 3))),
              std::tuple(1, 0));
    EXPECT_EQ(table.DeleteAt(1), 1);
    EXPECT_EQ(table.Find(Make(C_NF_NUMBER, 2)), 2);
    std::unique_ptr<CCNumberFormat> removed = table.RemoveAt(1);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->getType(), C_NF_PERCENT);
    EXPECT_EQ(table.Find(Make(C_NF_NUMBER, 2)), 1);
    table.InsertAt(99, Make(C_NF_BOOL));
    EXPECT_EQ(table.GetAt(2)->getType(), C_NF_BOOL);

    CCNumberFormatTable copy(table);
    copy.Append(table);
    EXPECT_EQ(std::tuple(copy.GetSize(), copy.Find(CCNumberFormat(C_NF_BOOL))), std::tuple(6, 2));

    // Every table puts General first into the process-wide one.
    CCNumberFormatTable& shared = GetNumberFormatTable();
    int size = shared.GetSize();
    CCNumberFormatTable another;
    EXPECT_EQ(
        std::tuple(shared.GetAt(0)->getType(), shared.GetSize(), shared.Find(CCNumberFormat())),
        std::tuple(C_NF_GENERAL, size, 0));
}

TEST(NumberFormatTable, InterningAcrossClassicAndCustomForms) {
    CacheWithFakeParser cache;
    ReleaseLTStrings();
    CCNumberFormatTable table;
    int grouped = table.Add(Make(C_NF_NUMBER, 2, true));
    EXPECT_EQ(table.Add(Custom(u"#,0.00")), grouped);
    int code = table.Add(Custom(u"0.000"));
    EXPECT_EQ(table.Add(Make(C_NF_NUMBER, 3)), code);
    EXPECT_EQ(table.Add(CCNumberFormat(C_NF_BOOL)), 2);
    EXPECT_EQ(table.Add(Custom(u"General")), 2);  // a Bool format converts to "General" too

    // Number formats with unit texts: equal apart from the leading bit, and equal to the
    // custom code they convert to while the unit text list says so.
    int kg = AddLTString(u"kg");
    CCNumberFormat trailing = Make(C_NF_NUMBER, 1);
    trailing.SetLTString(kg, 2);
    int unit = table.Add(trailing);
    CCNumberFormat leading = trailing;
    leading.SetLTStringMode(1);
    EXPECT_EQ(table.Add(leading), unit);
    EXPECT_EQ(table.Find(Custom(u"0.0\" kg\"")), unit);
    ReleaseLTStrings();
    EXPECT_EQ(table.Find(Custom(u"0.0\" kg\"")), -1);
    EXPECT_EQ(table.Find(Custom(u"0.0")), unit);

    // Radix kinds intern by kind and flag byte A; unknown kinds by all their bytes.
    CCNumberFormat h1(C_NF_HEX), h2(C_NF_HEX);
    h2.SetTimeSeconds(1);
    int hex = table.Add(h1);
    EXPECT_EQ(table.Add(h2), hex);
    int odd = table.Add(CCNumberFormat(40));
    EXPECT_EQ(table.Add(CCNumberFormat(40)), odd);
    EXPECT_EQ(table.GetSize(), odd + 1);
}
