// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formats/date_serial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <numbers>
#include <string>
#include <tuple>

#include "ostrel/platform/ole_date_time.h"
#include "platform/names.h"

namespace {

struct Date {
    int day, month, year;
    bool operator==(const Date&) const = default;
};

Date ToDate(double serial) {
    Date d{-7, -7, -7};
    DoubleToDate(serial, d.day, d.month, d.year);
    return d;
}

void PrintTo(const Date& d, std::ostream* os) {
    *os << d.year << '-' << d.month << '-' << d.day;
}

int CurrentYear() {
    std::time_t t = std::time(nullptr);
    std::tm now{};
    localtime_r(&t, &now);
    return now.tm_year + 1900;
}

}  // namespace

// Day 0 is 1900-01-01 and 1900 has a 29 February (serial 59), as every year divisible by
// four does here.
TEST(DateSerial, EveryDayFrom1900To2071RoundTrips) {
    EXPECT_EQ(GetMonthDays(2, 1900), 29);
    EXPECT_EQ(GetMonthDays(2, 2100), 29);
    EXPECT_EQ(GetMonthDays(13, 2000), 0);
    EXPECT_EQ(DateToDouble(1, 1, 2000), 36525.0);
    double expected = 0.0;
    for (int year = 1900; year <= 2071; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= GetMonthDays(month, year); ++day) {
                double serial = DateToDouble(day, month, year);
                ASSERT_EQ(serial, expected) << year << '-' << month << '-' << day;
                ASSERT_EQ(ToDate(serial + 0.75), (Date{day, month, year}));
                ASSERT_EQ(CheckDate(serial), 1);
                expected += 1.0;
            }
        }
    }
    EXPECT_EQ(CheckDate(expected), 0);  // 2072-01-01
}

TEST(DateSerial, DoubleToDateIgnoresTheSignAndRefusesWhatCannotBeADate) {
    EXPECT_EQ(ToDate(-366.7), (Date{1, 1, 1901}));
    EXPECT_EQ(ToDate(-0.2), (Date{1, 1, 1900}));
    const double huge[] = {1e300,
                           -1e300,
                           1e15,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
    for (double v : huge) {
        EXPECT_EQ(ToDate(v), (Date{0, 0, 0})) << v;
        EXPECT_EQ(CheckDate(v), 0) << v;
    }
    // Far but representable serials still convert exactly.
    for (double v : {1e7, 7.8e11}) {
        Date d = ToDate(v);
        EXPECT_GT(d.year, 2071);
        EXPECT_EQ(DateToDouble(d.day, d.month, d.year), v);
    }
}

TEST(DateSerial, MonthsOutsideTheYearCarry) {
    EXPECT_EQ(DateToDouble(1, 13, 1900), DateToDouble(1, 1, 1901));
    EXPECT_EQ(DateToDouble(1, 0, 1901), DateToDouble(1, 12, 1900));
    EXPECT_EQ(DateToDouble(1, -12, 1902), DateToDouble(1, 12, 1900));
    EXPECT_EQ(DateToDouble(1, 25, 1900), DateToDouble(1, 1, 1902));
    // Extreme arguments give far-off serials, not overflow.
    EXPECT_TRUE(
        std::isfinite(DateToDouble(std::numeric_limits<int>::max(), std::numeric_limits<int>::min(),
                                   std::numeric_limits<int>::max())));
}

TEST(DateSerial, TimesOfDay) {
    int h, m, s;
    for (auto [serial, hhmmss] : {std::pair{0.999999, 240000}, std::pair{-1.5, 120000},
                                  std::pair{std::numeric_limits<double>::quiet_NaN(), 0}}) {
        DoubleToTime(serial, h, m, s);
        EXPECT_EQ(h * 10000 + m * 100 + s, hhmmss) << serial;
    }

    EXPECT_EQ(TimeToDouble(12, 0, 0, 0), 0.0);
    EXPECT_EQ(TimeToDouble(12, 0, 0, 2), 0.5);
    EXPECT_DOUBLE_EQ(TimeToDouble(1, 30, 0, 2), 13.5 / 24);
    EXPECT_DOUBLE_EQ(TimeToDouble(13, 0, 0, 0), 1.0 / 24);

    for (int second = 0; second < 86400; ++second) {
        DoubleToTime(12345 + TimeToDouble(second / 3600, second / 60 % 60, second % 60, 1), h, m,
                     s);
        ASSERT_EQ(h * 3600 + m * 60 + s, second);
    }
}

TEST(DateSerial, Checks) {
    struct {
        int day, month, year, valid;
    } dates[] = {{29, 2, 2100, 0},  {29, 2, 1900, 1}, {29, 2, 1901, 0}, {31, 12, 2071, 1},
                 {31, 12, 1899, 0}, {0, 1, 2000, 0},  {31, 4, 2000, 0}, {1, 13, 2000, 0}};
    for (auto d : dates)
        EXPECT_EQ(CheckDate(d.day, d.month, d.year, 2071, 1900), d.valid);
    EXPECT_EQ(CheckDate(29, 2, 2100, 2200, 1900), 1);

    struct {
        int hour, minute, second, mode, valid;
    } times[] = {{24, 0, 0, 1, 1},  {25, 0, 0, 1, 0}, {12, 0, 0, 0, 1}, {13, 0, 0, 2, 0},
                 {0, 60, 60, 1, 1}, {0, 61, 0, 1, 0}, {0, 0, 61, 1, 0}, {0, -1, 0, 1, 0}};
    for (auto t : times)
        EXPECT_EQ(CheckTime(t.hour, t.minute, t.second, t.mode), t.valid);
    EXPECT_EQ(CheckTime(0.999999), 1);
}

TEST(DateSerial, TwoDigitYearsAroundTheCurrentYear) {
    auto updated = [](int year, int current) {
        UpdateYear(year, current);
        return year;
    };
    // Typed year, current year, the year meant: past 72 the whole current century is used.
    const int years[][3] = {{71, 2026, 2071}, {72, 2026, 1972},  {0, 2026, 2000},
                            {99, 2080, 2099}, {71, 1999, 1971},  {100, 2026, 100},
                            {-1, 2026, -1},   {1985, 2026, 1985}};
    for (auto [typed, current, meant] : years)
        EXPECT_EQ(updated(typed, current), meant) << typed << " in " << current;

    int current = CurrentYear();
    for (int two : {0, 71, 72, 99}) {
        int year = two;
        UpdateYear(year);
        EXPECT_EQ(year, updated(two, current)) << two;
        EXPECT_EQ(year % 100, two);
    }
}

TEST(DateSerial, SplitFraction) {
    auto fraction = [](double v, int style) {
        int n = -1, d = -1;
        if (!SplitFraction(v, style, n, d)) return std::string("none");
        return std::to_string(n) + "/" + std::to_string(d);
    };
    // Pi's closest below 1000 is 16/113; 0.0001 has no denominator below 1000, and 0.01 in
    // eighths rounds to 0/8.
    const std::tuple<double, int, const char*> cases[] = {
        {0.3333, 0, "1/3"},  {-7.75, 0, "3/4"},    {std::numbers::pi, 0, "16/113"},
        {2.5, 5, "2/4"},     {0.123, 1, "12/100"}, {0.5, 3, "8/16"},
        {0.0001, 0, "none"}, {0.01, 4, "none"},    {3.0, 0, "none"},
        {0.5, 9, "none"}};
    for (auto [value, style, expected] : cases)
        EXPECT_EQ(fraction(value, style), expected) << value << " in style " << style;
    // Tiny fractional parts put n / f far beyond an int.
    for (double v : {0.1 * 30, 1e-300, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(fraction(v, 0), "none") << v;
}

TEST(OleDateTime, ComponentsAndValidity) {
    auto ymdh = [](const COleDateTime& dt) {
        return std::tuple(dt.GetYear(), dt.GetMonth(), dt.GetDay(), dt.GetHour());
    };
    COleDateTime dt(2000, 1, 1, 13, 45, 30);
    ASSERT_EQ(dt.GetStatus(), COleDateTime::valid);
    EXPECT_DOUBLE_EQ(dt.m_dt, 36526.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0);
    EXPECT_EQ(std::tuple(dt.GetDayOfWeek(), dt.GetDayOfYear()), std::tuple(7, 1));  // a Saturday
    EXPECT_EQ(COleDateTime(2000, 12, 31, 0, 0, 0).GetDayOfYear(), 366);

    // The day before day 0, then a quarter day forward; 10.9999999 rounds to the next day.
    EXPECT_EQ(ymdh(COleDateTime(-1.25)), std::tuple(1899, 12, 29, 6));
    EXPECT_EQ(ymdh(COleDateTime(COleDateTime(1850, 6, 1, 18, 0, 0).m_dt)),
              std::tuple(1850, 6, 1, 18));
    EXPECT_EQ(ymdh(COleDateTime(10.9999999)), std::tuple(1900, 1, 10, 0));

    COleDateTime bad;
    EXPECT_EQ(bad.SetDateTime(99, 12, 31, 0, 0, 0), 1);
    EXPECT_EQ(std::tuple(bad.GetStatus(), bad.GetYear()), std::tuple(COleDateTime::invalid, -1));
    EXPECT_EQ(bad.SetDate(1900, 2, 29), 1);
    EXPECT_EQ(bad.SetTime(24, 0, 0), 1);
    EXPECT_EQ(bad.SetDate(2000, 2, 29), 0);
    EXPECT_EQ(bad.GetMonth(), 2);
    EXPECT_EQ(COleDateTime(1e300).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(std::nan("")).GetDay(), -1);
    EXPECT_EQ(COleDateTime(9999, 12, 31, 23, 59, 59).GetYear(), 9999);
    EXPECT_EQ(COleDateTime(100, 1, 1, 0, 0, 0).GetYear(), 100);
}

TEST(OleDateTime, SerialsMeetOnlyThroughComponents) {
    // 1900-03-01 is serial 60 here and automation day 61; the serial 1900-02-29 has no
    // automation date.
    EXPECT_DOUBLE_EQ(DoubleToOleDateTime(60).m_dt, 61.0);
    EXPECT_EQ(DoubleToOleDateTime(59).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(DoubleToOleDateTime(1e300).GetStatus(), COleDateTime::invalid);
    COleDateTime midnight = DoubleToOleDateTime(36525.999999);
    EXPECT_EQ(midnight.GetDay() * 100 + midnight.GetHour(), 200);

    for (double serial = 60; serial < 62000; serial += 97.3) {
        COleDateTime dt = DoubleToOleDateTime(serial);
        ASSERT_EQ(dt.GetStatus(), COleDateTime::valid) << serial;
        EXPECT_NEAR(OleDateTimeToDouble(dt), serial, 0.6 / 86400) << serial;
    }
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_TRUE(std::isnan(OleDateTimeToDouble(invalid)));
    EXPECT_EQ(CheckDate(OleDateTimeToDouble(invalid)), 0);
}
