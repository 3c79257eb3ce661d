// SPDX-License-Identifier: Apache-2.0
// Format codes rendered as a spreadsheet user reads them. Expected texts follow from what
// each code means for the value (dates from the serial calendar, weekdays from the real
// one), never from a run of the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "format_code_support.h"
#include "formats/excel_number_format.h"
#include "number_format_support.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/resources.h"

using fc_test::Date;
using fc_test::Show;
using fc_test::Time;

namespace {

struct Case {
    std::u16string code;
    double value;
    std::string expected;
};

void ExpectAll(const std::vector<Case>& cases, cells::LCTX* lctx = nullptr) {
    for (const Case& c : cases)
        EXPECT_EQ(Show(c.code, c.value, lctx), c.expected)
            << ostrel::ToUtf8(c.code) << " with " << c.value;
}

const double kMarch15 = Date(2024, 3, 15);  // a Friday

}  // namespace

TEST(FormatCode, DigitsRoundingAndSections) {
    ExpectAll({
        {u"0.00", 2.999, "3.00"},
        {u"0.00", 2.001, "2.00"},
        {u"0.00", 0.125, "0.13"},  // an exact tie rounds away from zero
        {u"0", 2.5, "3"},
        {u"#,##0", 1234567, "1,234,567"},
        {u"#,##0", 999, "999"},
        {u"#,##0", 0, "0"},
        {u"#,###", 0, ""},
        {u"#,###,##0", 1234, "1,234"},  // grouping once, between digits only
        {u"#,###,##0", 1234567, "1,234,567"},
        {u"00,000", 1234, "01,234"},
        {u"0,000", 5, "0005"},  // separators from a thousand up
        {u"#,##0", 1e20, "100,000,000,000,000,000,000"},
        {u"#.##", 0.5, ".5"},
        {u"0.0#", 1.5, "1.5"},
        {u"0.##", 1, "1."},
        {u"00.0?", 1.5, "01.5 "},
        {u"???0", 12, "  12"},
        {u"0", 123456789012.0, "123456789012"},  // digits beyond the placeholders
        {u"0", 1e20, "100000000000000000000"},   // and beyond 2^53
        {u"0.000", 1e-7, "0.000"},
        {u"0;(0)", -5, "(5)"},
        {u"0", -5, "-5"},
        {u"0;(0);\"zero\"", 0, "zero"},
        {u"0%", 0.256, "26%"},
        {u"%0.0", 5, "%500.0"},
        {u"0.0%", -0.0125, "-1.3%"},
        {u"[RED]0", 5, "5"},
        {u"[$EUR-407] 0", 5, "EUR 5"},
        {u"#,##0.00_);[Red](#,##0.00)", 1234.5, "1,234.50 "},
        {u"#,##0.00_);[Red](#,##0.00)", -1234.5, "(1,234.50)"},
        {u"\"Total: \"0 \\k\\g", 12, "Total: 12 kg"},
        {u"0 ;-0 ;\"-\"", 0, "-"},
    });
}

TEST(FormatCode, FractionsAndTheirNumerators) {
    ExpectAll({
        {u"# ?/?", 2.5, "2 1/2"},
        {u"# ?/8", 0.3, " 2/8"},  // 8 x 0.3 = 2.4: the nearest numerator
        {u"# ?/8", 0.32, " 3/8"},
        {u"# ?/?", -2.5, "-2 1/2"},
        {u"# ?\?/??", 0.75, " 3/4"},
        {u"# ?/?", 1.0 / 3, " 1/3"},
        {u"# ?/?", 0.7, " 5/7"},  // a semiconvergent: 5/7 is nearer than the convergent 2/3
        {u"# ??\?/???", 3.14159265358979, "3 16/113"},
        {u"# ????\?/?????", 355.0 / 113, "3 16/113"},
        // Without integer digits the numerator carries the whole value.
        {u"?/4", 1.25, "5/4"},
        {u"?\?/??", 1.75, "7/4"},
        {u"# ?/4", 1.25, "1 1/4"},
        {u"?/?", 0.5, "1/2"},
        // Denominators beyond 64 bits saturate; so does a numerator of a huge value.
        {u"# ?/99999999999999999999999", 0.5, " 4611686018427387904/9223372036854775807"},
        {u"?/?", 1e300, "9223372036854775807/1"},
    });
}

TEST(FormatCode, DatesTimesAndNames) {
    double evening = kMarch15 + 0.75;
    ExpectAll({
        {u"h:mm AM/PM", 0.75, "6:00 PM"},
        {u"hh:mm AM/PM", 0.25, "06:00 AM"},
        {u"h AM/PM", 0, "12 AM"},
        {u"h AM/PM", 0.5, "12 PM"},
        {u"mm:ss", Time(0, 12, 34), "12:34"},  // minutes, not the month (1)
        {u"h:mm", Time(10, 30, 45), "10:30"},  // minutes are not rounded
        {u"mm/dd/yy", kMarch15, "03/15/24"},
        {u"yyyy-mm-dd", kMarch15, "2024-03-15"},
        {u"d.m.yyyy", kMarch15, "15.3.2024"},
        {u"dddd, mmmm d", kMarch15, "Friday, March 15"},
        {u"ddd mmm", kMarch15, "Fri Mar"},
        {u"m/d/yyyy h:mm AM/PM", evening, "3/15/2024 6:00 PM"},
        {u"m/d/yyyy h:mm", kMarch15 + Time(18, 3, 0), "3/15/2024 18:03"},
        {u"mmm d, yyyy", kMarch15, "Mar 15, 2024"},
        {u"yyyy/mm/dd hh:mm:ss", kMarch15 + Time(9, 5, 7), "2024/03/15 09:05:07"},
        {u"y", kMarch15, "2024"},
        {u"yy", Date(2005, 1, 1), "05"},
        // Day 59 is the 29th of February 1900, between a Wednesday and a Thursday.
        {u"dddd", 58, "Wednesday"},
        {u"dddd", 60, "Thursday"},
        {u"ddd d mmm yyyy", 59, "Thu 29 Feb 1900"},
        {u"yyyy-mm-dd hh:mm", 59.5, "1900-02-29 12:00"},
        {u"[h]", 59.25, "1422"},
        {u"dddd", 0, "Monday"},  // 1900-01-01
    });
    // Names come from the locale.
    auto data = nf_test::GermanData();
    data.longDays = {u"Sonntag",    u"Montag",  u"Dienstag", u"Mittwoch",
                     u"Donnerstag", u"Freitag", u"Samstag"};
    nf_test::TestLocale german(data);
    ExpectAll({{u"dddd, d. mmmm yyyy", kMarch15, "Freitag, 15. M\u00E4rz 2024"},
               {u"#,##0.00", 1234.5, "1.234,50"}},
              german.get());
}

TEST(FormatCode, ElapsedTimeIsTheValueItself) {
    ExpectAll({
        {u"[h]:mm", 1.5, "36:00"},
        {u"[hh]:mm", 0.5, "12:00"},
        {u"[mm]:ss", 1.25, "1800:00"},
        {u"[m]:ss", Time(1, 2, 3), "62:03"},
        {u"[ss]", 1.25, "108000"},
        {u"[s].00", Time(0, 1, 5.25), "65.25"},
        {u"[h]:mm:ss", 2 + Time(3, 4, 5), "51:04:05"},
        {u"[h]:mm:ss", -(2 + Time(3, 4, 5)), "-51:04:05"},
        {u"[h]", Time(0, 59, 59.4), "0"},
        {u"[h]:mm:ss", Time(0, 59, 59.6), "1:00:00"},  // the rounded second carries
        {u"[HH]", 100, "2400"},
    });
}

TEST(FormatCode, SecondsSplitAndCarry) {
    double lastSecond = kMarch15 + Time(23, 59, 59.996);
    ExpectAll({
        {u"hh:mm:ss.00", Time(12, 30, 0), "12:30:00.00"},
        {u"hh:mm:ss.00", Time(12, 30, 1.25), "12:30:01.25"},
        {u"hh:mm:ss.0", Time(12, 30, 1.26), "12:30:01.3"},
        {u"mm:ss.0##", Time(0, 1, 2.5), "01:02.5"},
        {u"hh:mm:ss.00000", Time(1, 2, 3.25), "01:02:03.25000"},  // a thousandth at most
        {u"hh:mm:ss", Time(23, 59, 59.6), "00:00:00"},
        {u"yyyy-mm-dd hh:mm:ss", lastSecond, "2024-03-16 00:00:00"},
        {u"hh:mm:ss.00", lastSecond, "00:00:00.00"},
        {u"hh:mm:ss.000", lastSecond, "23:59:59.996"},
        {u"d/m/yyyy h:mm:ss", Date(2024, 12, 31) + Time(23, 59, 59.7), "1/1/2025 0:00:00"},
        // Without clock parts the date is the day the value lies in.
        {u"d/m/yyyy", Date(2024, 12, 31) + Time(23, 59, 59.7), "31/12/2024"},
    });
}

TEST(FormatCode, ScientificNotation) {
    ExpectAll({
        {u"0.00E+00", 0.000123, "1.23E-04"},
        {u"0.00E+00", 12345, "1.23E+04"},
        {u"0.00E+00", 0, "0.00E+00"},
        {u"0.00E+00", -12345, "-1.23E+04"},
        {u"0.00E+00", 9.999, "1.00E+01"},  // the carry moves the exponent
        {u"0.0E+00", 1234.5, "1.2E+03"},
        {u"0.0e+00", 1234.5, "1.2e+03"},
        {u"0.0E-0", 12345, "1.2E4"},
        {u"0.0E-0", 0.00012, "1.2E-4"},
        {u"00.00E+00", 12345, "12.35E+03"},  // 12.345 is exact: the tie rounds up
        {u"##0.0E+0", 12345, "12.3E+3"},     // engineering: exponents in steps of three
        {u"##0.0E+0", 0.000123, "123.0E-6"},
        {u"##0.0E+0", 999.96, "1.0E+3"},
        {u"0E+0", 5e300, "5E+300"},
        {u"0.00E+000", 1.5e-300, "1.50E-300"},
        {u"0.0E", 1234, "1234.0E"},  // no sign and digits after the E: text
    });
}

TEST(FormatCode, ColoursAreWholeWords) {
    ExpectAll({
        {u"[Blue]0.0", 2, "2.0"},
        {u"[ED]0", 5, "5"},       // part of RED: not a colour, not shown
        {u"[HITE]0", 5, "5"},     // part of WHITE
        {u"[h]:mm", 1, "24:00"},  // in WHITE, but hours
        {u"[m]", 1, "1440"},      // in MAGENTA, but minutes
        {u"[Red][>100]0", 5, "5"},
    });
    auto parsed = ParseExcelNumberFormat(u"[yellow]0");
    auto* code = static_cast<const CExcelNumberFormat*>(parsed.get());
    ASSERT_EQ(code->Section(0)->Size(), 2u);
    EXPECT_EQ(code->Section(0)->At(0).TypeId(), format_code::kColor);
    EXPECT_EQ(static_cast<const CFormatColorSection&>(code->Section(0)->At(0)).Name(), u"YELLOW");
}

TEST(FormatCode, CodeEndsAndValuesThatAreNoNumbers) {
    // A code ending in an escape, a space or a fill character has nothing more to take.
    ExpectAll({{u"0_", 5, "5"},
               {u"0\\", 5, "5"},
               {u"0*", 5, "5"},
               {u"\"open", 5, "open"},
               {u"[Red", 5, ""},
               {u"", 5, ""},
               {u";;", -5, "-"}});
    std::string error = ostrel::ToUtf8(std::u16string(ostrel::LoadResourceString(13384)));
    ASSERT_FALSE(error.empty());
    EXPECT_EQ(Show(u"0.00", std::numeric_limits<double>::quiet_NaN()), error);
    EXPECT_EQ(Show(u"h:mm", std::numeric_limits<double>::infinity()), error);
    EXPECT_EQ(Show(u"0%", 1e307), error);  // its hundredfold is no number
}

TEST(FormatCode, LongCodesAreCut) {
    // Only the first 4096 characters of a code are read.
    std::u16string zeros(100000, u'0');
    std::string shown = Show(zeros, 5);
    EXPECT_EQ(shown.size(), CExcelNumberFormat::kMaxCodeLength);
    EXPECT_EQ(shown.back(), '5');
    std::u16string sections(100000, u';');
    EXPECT_EQ(Show(sections, 5), "");
    std::u16string tokens;
    for (int i = 0; i < 30000; ++i)
        tokens += u"0a";
    EXPECT_EQ(Show(tokens, 0).size(), CExcelNumberFormat::kMaxCodeLength);
}

// The tokens each kind of placeholder, letter and mark reads as, after the passes that
// merge them and give them their final meaning.
TEST(FormatCode, TokensOfEveryKind) {
    using namespace format_code;
    struct Tokens {
        std::u16string code;
        std::vector<int> types;
    };
    const std::vector<Tokens> cases = {
        {u"#0?.#0?",
         {kIntegerHash, kIntegerZero, kIntegerSpace, kDecimalPoint, kFractionHash, kFractionZero,
          kFractionSpace}},
        {u"yy-mm-dd", {kYear, kText, kMonth, kText, kDay}},
        {u"h:mm:ss AM/PM", {kHour, kText, kMinutes, kText, kSeconds, kText, kAmPm}},
        {u"[Red]\"a\"b_)", {kColor, kText, kSpace}},
        {u"#,##0", {kDigitGrouping, kIntegerHash, kIntegerZero}},
        {u"# ?/8", {kIntegerHash, kText, kNumerator, kSlash, kFixedDenominator}},
        {u"# ?/?", {kIntegerHash, kText, kNumerator, kSlash, kDenominator}},
        {u"0.0E+00", {kIntegerZero, kDecimalPoint, kFractionZero, kExponent}},
        {u"d/m/y", {kDay, kText, kMonth, kText, kYear}},
        {u"mmm d, yyyy", {kMonth, kText, kDay, kText, kYear}},
        {u"[h]:mm", {kHour, kText, kMinutes}},
        {u"dd.mm", {kDay, kText, kMonth}},
        {u"A", {kText}},
    };
    for (const Tokens& c : cases) {
        auto parsed = ParseExcelNumberFormat(c.code);
        const CFormatSectionList* section = static_cast<CExcelNumberFormat&>(*parsed).Section(0);
        std::vector<int> types;
        for (size_t i = 0; i < section->Size(); ++i)
            types.push_back(section->At(i).TypeId());
        EXPECT_EQ(types, c.types) << ostrel::ToUtf8(c.code);
    }
}

TEST(FormatCode, CategoriesBecomeTheKind) {
    struct KindCase {
        std::u16string code;
        unsigned char kind;
    };
    for (const KindCase& c : std::vector<KindCase>{{u"0.00", C_NF_GENERAL},
                                                   {u"0%", C_NF_PERCENT},
                                                   {u"# ?/?", C_NF_FRACTION},
                                                   {u"0.00E+00", C_NF_SCIENTIFIC},
                                                   {u"hh:ss", C_NF_TIME},
                                                   {u"[h]", C_NF_TIME},
                                                   {u"yyyy", C_NF_DATE},
                                                   {u"0%;hh", C_NF_PERCENT}}) {
        CCNumberFormat f;
        f.setCustomFormat(c.code);
        EXPECT_EQ(f.getType(), c.kind) << ostrel::ToUtf8(c.code);
    }
    // A custom number format displays through its code, at full precision through its kind.
    CCNumberFormat f;
    f.setCustomFormat(u"#,##0.00;[Red](#,##0.00)");
    EXPECT_EQ(nf_test::Print(f, -1234.5), "(1,234.50)");
    EXPECT_EQ(nf_test::Print(f, 1e-15), "0.00");  // shown as zero, from the zero section
    EXPECT_EQ(nf_test::Print(f, 1234.5, nullptr, 1), "1234.5");
}

TEST(FormatCode, EachCodeIsParsedOnce) {
    size_t before = CFormatCodeCache::Size();
    std::u16string code = u"0.0000\"unique to this test\"";
    EXPECT_EQ(Show(code, 1), "1.0000unique to this test");
    EXPECT_EQ(CFormatCodeCache::Size(), before + 1);
    CCNumberFormat a, b;
    a.setCustomFormat(code);
    b.setCustomFormat(code);
    EXPECT_EQ(CFormatCodeCache::Size(), before + 1);
}
