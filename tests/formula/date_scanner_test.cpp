// SPDX-License-Identifier: Apache-2.0
// Dates and times: field orders, month names, separators, ranges and the sub-formats they
// imply.
#include <array>
#include <string>
#include <tuple>

#include "scanner_support.h"

using namespace scan_test;

namespace {

Scanned Date(Locale& l, std::u16string_view t) {
    return Run(t, [&](const char16_t*& c, CCCellValue& v) { return _EatDNumber(l.get(), c, v); });
}

Scanned Time(Locale& l, std::u16string_view t) {
    return Run(t, [&](const char16_t*& c, CCCellValue& v) { return _EatTNumber(l.get(), c, v); });
}

struct Part {
    int ok = 0, day = 0, month = 0, year = 0;
    CCNumberFormat format;
    long consumed = 0;
    // Whether it scanned, and the date it read.
    std::array<int, 4> Read() const { return {ok, day, month, year}; }
};

Part DatePart(Locale& l, std::u16string_view t) {
    Text copy(t);
    const char16_t* c = copy.get();
    Part p;
    p.ok = _EatDNumber(l.get(), c, p.day, p.month, p.year, p.format);
    p.consumed = c - copy.get();
    return p;
}

}  // namespace

TEST(DatePart, FieldsSeparatorsAndStyles) {
    struct Case {
        const char16_t* text;
        int day, month, year;
        int monthType, yearType, dayFirst;
        char16_t delimiter;
    };
    const int now = CurrentYear();
    const Case cases[] = {
        {u"12/3/2001", 12, 3, 2001, 2, 0, 1, u'/'},
        {u"3-12-01", 3, 12, 2001, 2, 2, 1, u'-'},
        {u"31.12.99", 31, 12, 1999, 2, 2, 1, u'.'},
        {u"12\\3", 12, 3, now, 2, 1, 1, u'\\'},
        {u"1 March 2001", 1, 3, 2001, 0, 0, 1, u' '},
        {u"Mar 12, 2001", 12, 3, 2001, 1, 0, 0, u' '},
        {u"  mar-12-2001", 12, 3, 2001, 1, 0, 0, u'-'},
        {u"13/13/2001", 13, 13, 2001, 2, 0, 0, u'/'},  // no reading fits: still scanned
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(U8(c.text));
        Part p = DatePart(DayFirst(), c.text);
        const CCNumberFormat& f = p.format;
        EXPECT_EQ(p.Read(), (std::array{1, c.day, c.month, c.year}));
        EXPECT_EQ(std::tuple(f.getType(), f.getMonthType(), f.getYearType(), f.getMDOrder(),
                             f.getDelimiter()),
                  std::tuple(C_NF_DATE, c.monthType, c.yearType, c.dayFirst, c.delimiter));
        EXPECT_TRUE(f.isDelimiter() && f.isMonthType() && f.isYearType() && f.isMDOrder());
    }
    for (const char16_t* bad :
         {u"12 3", u"12 Mar", u"Mar Apr 2001", u"12/3/200", u"12/3/20011", u"12/", u"12/3/",
          u"/3/2001", u"4294967297/1/2001", u"1/4294967299/2001"}) {
        Part p = DatePart(DayFirst(), bad);
        EXPECT_EQ(std::tuple(p.ok, p.consumed), std::tuple(0, 0)) << U8(bad);
    }
}

TEST(DatePart, YearFirstLocales) {
    zmk::multilang::LocaleData data;
    data.dateYearPosition = 0;
    data.dateOrder = 2;
    data.dateSeparator = u'-';
    zmk::multilang::CLocaleInfo info(data);
    Locale iso(&info);
    // Year, month, day: the month comes first.
    Part p = DatePart(iso, u"2001-03-04");
    EXPECT_EQ(p.Read(), (std::array{1, 4, 3, 2001}));
    EXPECT_EQ(p.format.getYearType(), 0);
    EXPECT_EQ(DatePart(iso, u"01 Apr 5").Read(), (std::array{1, 5, 4, 2001}));
    // Two fields are a month and a day of this year.
    EXPECT_EQ(DatePart(iso, u"3-4").Read(), (std::array{1, 4, 3, CurrentYear()}));
    EXPECT_FALSE(DatePart(iso, u"200-3-4").ok);
}

TEST(DateValue, RangeAndTime) {
    // The serials' own 29 February 1900; a date alone has a 24-hour clock with seconds.
    Scanned leap = Date(DayFirst(), u"29/2/1900");
    ASSERT_TRUE(leap.ok);
    const CCNumberFormat& f = leap.value.GetFormat();
    EXPECT_EQ(std::tuple(leap.value.GetNumber(), f.getTime(), f.getTimeRange()),
              std::tuple(59.0, 0, 1));
    EXPECT_TRUE(f.isTime() && f.isTimeRange() && f.isTimeSeconds());
    for (const char16_t* bad : {u"29/2/1901", u"1/1/1899", u"1/1/2072", u"31/4/2001", u"0/1/2001"})
        EXPECT_FALSE(Date(DayFirst(), bad).ok) << U8(bad);
    EXPECT_TRUE(Date(DayFirst(), u"31/12/2071").ok);

    Scanned withTime = Date(DayFirst(), u"1/2/2003 6:07:08 pm x");
    ASSERT_TRUE(withTime.ok);
    EXPECT_DOUBLE_EQ(withTime.value.GetNumber(),
                     DateToDouble(1, 2, 2003) + TimeToDouble(6, 7, 8, 2));
    const CCNumberFormat& g = withTime.value.GetFormat();
    EXPECT_EQ(std::tuple(withTime.consumed, g.getTime(), g.getTimeRange(), g.getTimeSeconds()),
              std::tuple(19, 1, 0, 1));
    // A time that does not scan is left after the date.
    Scanned noTime = Date(DayFirst(), u"1/2/2003 25:00");
    EXPECT_EQ(std::tuple(noTime.ok, noTime.consumed), std::tuple(1, 9));

    Scanned shortName = Date(German(), u"3 feb. 2004");
    EXPECT_EQ(std::tuple(shortName.value.GetNumber(), shortName.value.GetFormat().getMonthType()),
              std::tuple(DateToDouble(3, 2, 2004), 1));
}

TEST(TimeValue, ClockRangesAndSeconds) {
    struct Case {
        const char16_t* text;
        int h, m, s, mode;  // as TimeToDouble takes them
        long consumed;
        int seconds;
    };
    for (Case c : {Case{u"24:00", 24, 0, 0, 1, 5, 0}, Case{u"9:60:60", 9, 60, 60, 1, 7, 1},
                   Case{u" 9:30 pm", 9, 30, 0, 2, 8, 0}, Case{u"12:00 AM", 12, 0, 0, 0, 8, 0},
                   Case{u"12:00 pm", 12, 0, 0, 2, 8, 0}, Case{u"9:30:", 9, 30, 0, 1, 4, 0},
                   Case{u"009:05", 9, 5, 0, 1, 6, 0}}) {
        SCOPED_TRACE(U8(c.text));
        Scanned s = Time(Invariant(), c.text);
        ASSERT_TRUE(s.ok);
        EXPECT_DOUBLE_EQ(s.value.GetNumber(), TimeToDouble(c.h, c.m, c.s, c.mode));
        const CCNumberFormat& f = s.value.GetFormat();
        EXPECT_EQ(std::tuple(s.consumed, f.getType(), f.getTimeRange(), f.getTimeSeconds()),
                  std::tuple(c.consumed, C_NF_TIME, c.mode == 1, c.seconds));
    }
    // Hours of many digits must not wrap into a valid hour (4294967305 is 9 modulo 2^32).
    for (const char16_t* bad : {u"25:00", u"13:00 PM", u"9:61", u"9:", u":30", u"9.30",
                                u"4294967305:00", u"9:4294967301", u"9:30:4294967296"})
        EXPECT_FALSE(Time(Invariant(), bad).ok) << U8(bad);

    double fraction = 0;
    int amPm = -1, seconds = -1;
    const char16_t* c = u"13:45:10";
    EXPECT_TRUE(_EatTime(German().get(), c, fraction, amPm, seconds));
    EXPECT_EQ(std::tuple(amPm, seconds), std::tuple(1, 1));
    EXPECT_DOUBLE_EQ(fraction, TimeToDouble(13, 45, 10, 1));
}

TEST(DatePieces, SeparatorsAndMonthNames) {
    char16_t found = 0;
    const char16_t* c = u"-";
    EXPECT_TRUE(_EatDateSeparator(nullptr, c, found, 0));
    EXPECT_EQ(found, u'-');
    c = u"/";
    EXPECT_FALSE(_EatDateSeparator(nullptr, c, found, u'-'));
    c = u",  2001";
    EXPECT_TRUE(_EatDateSeparator(nullptr, c, found, u' '));
    EXPECT_EQ(*c, u'2');
    c = u"";
    EXPECT_FALSE(_EatDateSeparator(nullptr, c, found, 0));

    int month = 0, style = -1;
    c = u"SEPTEMBER";
    EXPECT_TRUE(_EatTextMonth(nullptr, c, month, style));
    EXPECT_EQ(std::tuple(month, style), std::tuple(9, 0));
    c = u"sepx";
    EXPECT_TRUE(_EatTextMonth(nullptr, c, month, style));
    EXPECT_EQ(std::tuple(style, *c), std::tuple(1, u'x'));
    c = u"Ma";
    EXPECT_FALSE(_EatTextMonth(nullptr, c, month, style));
    c = u"M\u00E4rz";
    EXPECT_TRUE(_EatTextMonth(German().get(), c, month, style));
    EXPECT_EQ(month, 3);
}
