// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
#include <string>

#include "formats/lt_strings.h"
#include "number_format_support.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/resources.h"
#include "platform/names.h"

using nf_test::CacheWithFakeParser;
using nf_test::GermanData;
using nf_test::Make;
using nf_test::Print;
using nf_test::TestLocale;
using nf_test::Utf8;

namespace {

double Time(int h, int m, int s) {
    return TimeToDouble(h, m, s, 1);
}

// A date format of the month and year types, day first or not, with its own delimiter
// (0: the locale's) and time.
CCNumberFormat DateFormat(int month, int year, int dayFirst = 0, char16_t delimiter = 0,
                          int time = 0) {
    CCNumberFormat f(C_NF_DATE);
    f.SetMonthType(month);
    f.SetYearType(year);
    f.SetMDOrder(dayFirst);
    f.SetTime(time);
    if (delimiter) f.SetDelimiter(delimiter);
    return f;
}

// A value printed by a format, in the locale given (null: the invariant one).
struct Printed {
    CCNumberFormat format;
    double value;
    const char* text;
};

void ExpectAll(std::span<const Printed> cases, cells::LCTX* lctx = nullptr) {
    for (const Printed& c : cases)
        EXPECT_EQ(Print(c.format, c.value, lctx), c.text)
            << "kind " << int(c.format.getType()) << ", " << c.value;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(NumberPrint, GeneralAndTheTinyValueRule) {
    const CCNumberFormat g;
    const Printed cases[] = {{g, 1234.5, "1234.5"},
                             {g, -0.1 - 0.2, "-0.3"},
                             {g, 1e20, "1E+020"},
                             {g, 1.5e-5, "1.5E-005"},
                             {g, 1e-15, "0"},
                             {g, 1e-14, "1E-014"},
                             // Whole numbers show their digits up to fifteen of them.
                             {g, -42, "-42"},
                             {g, -0.0, "0"},
                             {g, 999999999999999, "999999999999999"},
                             {g, -1e15, "-1E+015"}};
    ExpectAll(cases);
    TestLocale german(GermanData());
    EXPECT_EQ(Print(g, 1234.5, german.get()), "1234,5");

    // Not a number: the text of error 3, whatever the kind.
    std::string error = Utf8(std::u16string(ostrel::LoadResourceString(13384)));
    EXPECT_FALSE(error.empty());
    for (unsigned char kind = 0; kind <= C_NF_BIN; ++kind) {
        EXPECT_EQ(Print(CCNumberFormat(kind), kNaN), error) << int(kind);
        EXPECT_EQ(Print(CCNumberFormat(kind), -kInf), error) << int(kind);
    }
    EXPECT_EQ(Print(CCNumberFormat(12), 5), "");  // unknown kind
}

TEST(NumberPrint, NumberDigitsAndGrouping) {
    // 0.125 is nudged from 0.1 up; 0.015 (0.01499999...) is below 0.1 and is not. Precision
    // 15 takes the general form, and grouping stays out of exponents.
    const CCNumberFormat f = Make(C_NF_NUMBER, 2, true), br = Make(C_NF_NUMBER, 2, false, true),
                         wide = Make(C_NF_NUMBER, 15, true);
    const Printed cases[] = {{f, 12345.678, "12,345.68"},
                             {f, 0.125, "0.13"},
                             {f, 0.015, "0.01"},
                             {f, 999999.999, "1,000,000.00"},
                             {f, -1234, "-1,234.00"},
                             {f, 1e-15, "0.00"},
                             {Make(C_NF_NUMBER, 0), 2.5, "3"},
                             {br, -5, "(5.00)"},
                             {br, -1e-15, "0.00"},
                             {wide, 1234567.125, "1,234,567.125"},
                             {wide, 1e20, "1E+020"},
                             {wide, 1234.5e20, "1.2345E+023"}};
    ExpectAll(cases);
    EXPECT_EQ(Print(f, 1234.5678, nullptr, 1), "1,234.5678");  // the full flag

    // The locale's separators and group size; no grouping size means groups of 512.
    auto data = GermanData();
    for (auto [size, text] : {std::pair{3, "1.234.567,89"}, std::pair{0, "1234567,89"},
                              std::pair{2, "1.23.45.67,89"}}) {
        data.numberGroupSize = size;
        TestLocale locale(data);
        EXPECT_EQ(Print(f, 1234567.891, locale.get()), text) << size;
    }
}

TEST(NumberPrint, UnitTexts) {
    ReleaseLTStrings();
    int kg = AddLTString(u"kg");
    CCNumberFormat f = Make(C_NF_NUMBER, 1);
    f.SetLTString(kg, 2);
    EXPECT_EQ(Print(f, 5), "5.0 kg");
    EXPECT_EQ(Print(f, -5), "-5.0 kg");
    EXPECT_EQ(Print(f, 5, nullptr, 1), "5");  // full precision: general digits, no unit
    f.SetLTStringMode(1);
    f.SetNegBr(1);
    EXPECT_EQ(Print(f, -5), "(kg 5.0)");
    CWideOutStream out;
    f.Print(cells::invariant_LCTX(), out, 5, u"m", 0);
    EXPECT_EQ(Utf8(out.str()), "m 5.0");
    f.SetLTString(kg + 7);  // beyond the list: no unit text
    EXPECT_EQ(Print(f, 5), "5.0");
    ReleaseLTStrings();
}

TEST(NumberPrint, CurrencyPatterns) {
    const char* positive[4] = {"$5.00", "5.00$", "$ 5.00", "5.00 $"};
    const char* minus[16] = {"-$5.00",  "-$5.00",  "$-5.00",  "$5.00-",  "-5.00$",  "-5.00$",
                             "5.00-$",  "5.00$-",  "-5.00 $", "-$ 5.00", "5.00 $-", "$ 5.00-",
                             "$ -5.00", "5.00- $", "-$ 5.00", "-5.00 $"};
    const char* brackets[16] = {"($5.00)",  "($5.00)",  "($5.00)",  "($5.00)",
                                "(5.00$)",  "(5.00$)",  "(5.00$)",  "(5.00$)",
                                "(5.00$)",  "($ 5.00)", "($ 5.00)", "($ 5.00)",
                                "($ 5.00)", "(5.00 $)", "(5.00 $)", "(5.00 $)"};
    CCNumberFormat plain = Make(C_NF_CURRENCY, 2);
    CCNumberFormat bracketed = Make(C_NF_CURRENCY, 2, false, true);
    // Orders outside the tables (17: positive 4, negative -1) print as order 0.
    for (int order = 0; order < 17; ++order) {
        zmk::multilang::LocaleData data;
        data.currencyPositiveOrder = order < 16 ? order : 4;
        data.currencyNegativeOrder = order < 16 ? order : -1;
        TestLocale locale(data);
        const int shown = order < 16 ? order : 0;
        if (order < 4 || order == 16) {
            EXPECT_EQ(Print(plain, 5, locale.get()), positive[shown]) << order;
        }
        EXPECT_EQ(Print(plain, -5, locale.get()), minus[shown]) << order;
        EXPECT_EQ(Print(bracketed, -5, locale.get()), brackets[shown]) << order;
    }

    TestLocale german(GermanData());
    EXPECT_EQ(Print(Make(C_NF_CURRENCY, 2, true), 1234.5, german.get()), "1.234,50 \u20AC");
    EXPECT_EQ(Print(plain, -5, german.get()), "-5,00 \u20AC");
    auto data = GermanData();
    data.currencyDecimalSeparator = u'.';  // the currency separators, not the number ones
    data.currencyGroupSeparator = u'\'';
    TestLocale swiss(data);
    EXPECT_EQ(Print(Make(C_NF_CURRENCY, 2, true), 1234.5, swiss.get()), "1'234.50 \u20AC");
}

TEST(NumberPrint, PercentFractionAndScientific) {
    // Fraction styles above 5 mean best fit.
    const Printed cases[] = {
        {Make(C_NF_PERCENT, 0), 0.256, "26%"},
        {Make(C_NF_PERCENT, 0, false, true), -0.5, "(50%)"},
        {Make(C_NF_PERCENT, 1), -0.5, "-50.0%"},
        {Make(C_NF_FRACTION, 5), 2.3, "2 1/4"},
        {Make(C_NF_FRACTION, 5), 0.01, "0"},
        {Make(C_NF_FRACTION, 0), 0.0004, "0"},
        {Make(C_NF_FRACTION, 0), 0.5, "1/2"},
        {Make(C_NF_FRACTION, 0), 3, "3"},
        {Make(C_NF_FRACTION, 4), -2.5, "-2 4/8"},
        {Make(C_NF_FRACTION, 5, false, true), -0.25, "(1/4)"},
        {Make(C_NF_FRACTION, 3, true), 1234.5, "1,234 8/16"},
        {Make(C_NF_FRACTION, 0), 2.3, "2 3/10"},
        {Make(C_NF_FRACTION, 9), 2.3, "2 3/10"},
        {Make(C_NF_SCIENTIFIC, 2), 1500, "1.50E+003"},
        {Make(C_NF_SCIENTIFIC, 0), 2500, "3.E+003"},
        {Make(C_NF_SCIENTIFIC, 2), -0.00012, "-1.20E-004"},
    };
    ExpectAll(cases);
    TestLocale german(GermanData());
    EXPECT_EQ(Print(Make(C_NF_PERCENT, 1), 0.2563, german.get()), "25,6%");
    EXPECT_EQ(Print(Make(C_NF_SCIENTIFIC, 2), 1500, german.get()), "1,50E+003");
}

TEST(NumberPrint, Times) {
    CCNumberFormat twelve(C_NF_TIME), clock(C_NF_TIME);
    twelve.SetTimeSeconds(1);
    clock.SetTimeRange(1);
    // The date is ignored; the clock rounds from half a second up.
    const Printed cases[] = {{twelve, Time(13, 5, 9), "01:05:09 PM"},
                             {twelve, Time(0, 0, 0), "00:00:00 AM"},
                             {twelve, Time(12, 30, 0), "12:30:00 PM"},
                             {twelve, Time(11, 59, 59) + 1e-6, "11:59:59 AM"},
                             {twelve, 45000 + Time(23, 59, 59), "11:59:59 PM"},
                             {clock, Time(13, 5, 9), "13:05"},
                             {clock, Time(13, 5, 29) + 0.4 / 86400, "13:05"},
                             {clock, Time(13, 5, 59) + 0.6 / 86400, "13:06"}};
    ExpectAll(cases);
    CWideOutStream out;
    twelve.PrintTime(cells::invariant_LCTX(), out, 12, 0, 7);
    EXPECT_EQ(Utf8(out.str()), "12:00:07 PM");

    auto data = GermanData();
    data.timeSeparator = u'.';
    data.timeAMString = u"vorm.";
    data.timePMString = u"nachm.";
    TestLocale german(data);
    EXPECT_EQ(Print(clock, Time(7, 8, 0), german.get()), "07.08");
    EXPECT_EQ(Print(twelve, Time(19, 8, 0), german.get()), "07.08.00 nachm.");
}

TEST(NumberPrint, Dates) {
    const double christmas = DateToDouble(25, 12, 2024), early = DateToDouble(5, 3, 2009);
    // Year types 1 and 3 show none; a list separator as delimiter reads "December 25, 2024".
    const Printed cases[] = {
        {DateFormat(2, 0), early, "03/05/2009"},
        {DateFormat(2, 2), early, "03/05/09"},
        {DateFormat(2, 1), early, "03/05"},
        {DateFormat(2, 3), early, "03/05"},
        {DateFormat(2, 0, 0, 0, 1), christmas + 0.75, "12/25/2024 06:00 PM"},
        {DateFormat(1, 0, 0, u'-'), christmas, "Dec-25-2024"},
        {DateFormat(1, 0, 1, u'-'), christmas, "25-Dec-2024"},
        {DateFormat(3, 0, 1, u'-'), christmas, "25--2024"},
        {DateFormat(0, 0, 0, u','), christmas, "December 25, 2024"},
    };
    ExpectAll(cases);

    TestLocale german(GermanData());
    CCNumberFormat local;
    local.SetDefault(german.get(), C_NF_DATE);
    EXPECT_EQ(Print(local, christmas, german.get()), "25.12.2024");
    local.SetMonthType(0);
    EXPECT_EQ(Print(local, early, german.get()), "05.M\u00E4rz.2009");

    // Single-digit days and months where the locale writes them so; year first.
    auto data = GermanData();
    data.days2 = 0;
    data.months2 = 0;
    data.dateYearPosition = 0;
    TestLocale isoish(data);
    local.SetMonthType(2);
    EXPECT_EQ(Print(local, early, isoish.get()), "2009.5.3");
    local.SetYearType(1);
    EXPECT_EQ(Print(local, early, isoish.get()), "5.3");

    // The Japanese form goes with long month names, and lasts for one date only.
    zmk::multilang::LocaleData japan;
    japan.languageId = u"0411";
    japan.dateYearPosition = 0;
    for (int m = 0; m < 12; ++m)
        japan.longMonths[m] = std::u16string(1, u'0' + (m + 1) % 10) + u"\u6708";
    TestLocale japanese(japan);
    const Printed japaneseCases[] = {{DateFormat(0, 0), early, "2009\u5E743\u670805\u65E5"},
                                     {DateFormat(0, 0, 1), early, "2009\u5E7405\u65E53\u6708"},
                                     {DateFormat(2, 0), early, "2009/03/05"}};
    ExpectAll(japaneseCases, japanese.get());
    CWideOutStream out;
    DateFormat(0, 0).PrintDate(japanese.get(), out, 5, 3, 2009);
    out << u'|';
    CCNumberFormat(C_NF_DATE).PrintDate(japanese.get(), out, 5, 3, 2009);
    EXPECT_EQ(Utf8(out.str()), "2009\u5E743\u670805\u65E5|2009/03/05");
}

TEST(NumberPrint, BooleansAndRadixKinds) {
    const CCNumberFormat b(C_NF_BOOL), hex(C_NF_HEX), oct(C_NF_OCT), bin(C_NF_BIN);
    const Printed cases[] = {
        {b, 1, "TRUE"},       {b, -0.5, "TRUE"},       {b, 0, "FALSE"},
        {hex, 255.9, "0xFF"}, {hex, -1, "0xFFFFFFFF"}, {hex, -2147483648.0, "0x80000000"},
        {oct, 8, "010"},      {oct, 0, "00"},
    };
    ExpectAll(cases);
    EXPECT_EQ(Print(bin, 5), std::string(29, '0') + "101");
    EXPECT_EQ(Print(bin, -1), std::string(32, '1'));

    // Values that do not fit in 32 bits show the runtime's 0x80000000.
    for (double v : {2147483648.0, 3e9, -3e9, 1e20, -1e300}) {
        EXPECT_EQ(Print(hex, v), "0x80000000") << v;
        EXPECT_EQ(Print(oct, v), "020000000000") << v;
        EXPECT_EQ(Print(bin, v), "1" + std::string(31, '0')) << v;
    }
    CWideOutStream out;
    hex.PrintHex(cells::invariant_LCTX(), out, kNaN);
    bin.PrintBin(cells::invariant_LCTX(), out, kInf);
    EXPECT_EQ(Utf8(out.str()), "0x800000001" + std::string(31, '0'));
}

// With the engine's parser, custom formats print as the format-code tests show.
TEST(NumberPrint, CustomFormatsRenderThroughTheCache) {
    CacheWithFakeParser cache;
    CCNumberFormat custom;
    custom.setCustomFormat(u"%0.0");
    EXPECT_EQ(custom.getType(), C_NF_PERCENT);
    EXPECT_EQ(Print(custom, 5), "<%0.0|5>");
    EXPECT_EQ(Print(custom, -1e-15), "<%0.0|0>");
    // With full precision the kind prints.
    EXPECT_EQ(Print(custom, 0.5, nullptr, 1), "50%");
}
