// SPDX-License-Identifier: Apache-2.0
// Date and time functions typed into cells. Expected serials are counted on the real calendar
// with std::chrono, weekdays with Zeller's congruence.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

#include "formula_cases.h"
#include "ostrel/formats/number_format.h"
#include "platform/names.h"

namespace {

using Sheet = testing_support::FormulaSheet;
using testing_support::ExpectCases;
namespace chr = std::chrono;

// Serials count days from 1900-01-01 and hold a 29 February 1900 the real calendar lacks: from
// March 1900 on they are the days since 1899-12-31.
double Serial(int y, unsigned m, unsigned d) {
    const chr::sys_days day{chr::year{y} / m / d};
    if (day < chr::sys_days{chr::year{1900} / 3 / 1})
        return (day - chr::sys_days{chr::year{1900} / 1 / 1}).count();
    return (day - chr::sys_days{chr::year{1899} / 12 / 31}).count();
}

// 1 Sunday ... 7 Saturday.
int Zeller(int y, int m, int d) {
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    const int h = (d + 13 * (m + 1) / 5 + y % 100 + y % 100 / 4 + y / 100 / 4 + 5 * (y / 100)) % 7;
    return (h + 6) % 7 + 1;  // h: 0 Saturday
}

unsigned char Kind(const CCCellValue& v) {
    return static_cast<unsigned char>(v.GetFormat().GetType());
}

TEST(DateFunctions, DateAndTimeFromComponents) {
    Sheet sheet;
    ExpectCases(sheet, {
                           {"=DATE(2003,2,29)", 0, 3},
                           {"=DATE(2004,2,29)", Serial(2004, 2, 29), 0},
                           {"=DATE(1900,2,29)", 59, 0},  // the serials' own leap day
                           {"=DATE(2071,12,31)", Serial(2071, 12, 31), 0},
                           {"=DATE(2072,1,1)", 0, 3},
                           {"=DATE(1899,12,31)", 0, 3},
                           {"=DATE(2004,13,1)", 0, 3},
                           {"=DATE(1E300,1,1)", 0, 3},
                           // Two-digit years lie around the current one (2000 to 2071 assumed).
                           {"=DATE(99,1,1)", Serial(1999, 1, 1), 0},
                           {"=DATE(4.9,1,1)", Serial(2004, 1, 1), 0},
                           {"=TIME(25,0,0)", 0, 3},
                           {"=TIME(12,30,0)", 45000.0 / 86400, 0},
                           {"=TIME(12,30)", 45000.0 / 86400, 0},
                           {"=TIME(6.9,0,59.9)", (6 * 3600 + 59) / 86400.0, 0},
                           {"=TIME(0,61,0)", 0, 3},
                       });
    CCCellValue first = sheet.Value("=DATE(1900,1,1)");
    ASSERT_TRUE(first.IsNumber());
    EXPECT_EQ(first.GetNumber(), 0);
    EXPECT_EQ(Kind(first), C_NF_DATE);
    EXPECT_EQ(Kind(sheet.Value("=TIME(1,0,0)")), C_NF_TIME);
}

TEST(DateFunctions, ComponentsAndTypedTexts) {
    ExpectCases({
        {"=YEAR(DATE(2071,12,31))", 2071, 0},
        {"=YEAR(DATE(2071,12,31)+1)", 0, 3},
        {"=YEAR(-1)", 0, 3},
        {"=MONTH(59)", 2, 0},
        {"=DAY(59)", 29, 0},
        {"=MONTH(60)", 3, 0},
        {"=DAY(DATE(2004,2,29)+0.99)", 29, 0},
        {"=YEAR(\"1/31/2004\")", 2004, 0},
        {"=YEAR(\"x\")", 0, 3},
        {"=HOUR(0.75)", 18, 0},
        {"=MINUTE(TIME(1,59,0))", 59, 0},
        {"=SECOND(DATE(2004,1,1)+TIME(0,0,7))", 7, 0},
        {"=HOUR(\"6:30 PM\")", 18, 0},
        {"=MINUTE(\"1/2/2004 10:45\")", 45, 0},
        {"=HOUR(-0.25)", 0, 3},
        {"=DATEVALUE(\"1/31/2004 18:00\")", Serial(2004, 1, 31), 0},
        {"=DATEVALUE(\"2/30/2004\")", 0, 3},
        {"=DATEVALUE(38017)", 0, 3},
        {"=TIMEVALUE(\"18:00\")", 0.75, 0},
        {"=TIMEVALUE(\"1/31/2004 6:00\")", 0.25, 0},
        {"=TIMEVALUE(\"x\")", 0, 3},
    });
}

TEST(DateFunctions, MonthShiftsKeepToTheNewMonth) {
    ExpectCases({
        {"=EOMONTH(DATE(2004,1,31),1)", Serial(2004, 2, 29), 0},
        {"=EDATE(DATE(2004,1,31),1)", Serial(2004, 2, 29), 0},
        {"=EDATE(DATE(2003,1,31),1)", Serial(2003, 2, 28), 0},
        {"=EDATE(DATE(2004,3,31),-1)", Serial(2004, 2, 29), 0},
        {"=EDATE(DATE(2004,5,31),1.9)", Serial(2004, 6, 30), 0},
        {"=EDATE(DATE(2004,1,15),-1.9)", Serial(2003, 12, 15), 0},
        {"=EDATE(DATE(2000,1,31),13)", Serial(2001, 2, 28), 0},
        {"=EOMONTH(DATE(2004,12,15),-12)", Serial(2003, 12, 31), 0},
        {"=EOMONTH(DATE(2071,12,1),1)", 0, 3},
        {"=EDATE(DATE(1900,1,31),-1)", 0, 3},
        {"=EDATE(DATE(2004,1,15),1E10)", 0, 3},
    });
}

TEST(DateFunctions, Days360AtMonthEnds) {
    ExpectCases({
        // US: a 31st ends on the 30th only after a start on the 30th or 31st.
        {"=DAYS360(DATE(2011,1,31),DATE(2011,3,31))", 60, 0},
        {"=DAYS360(DATE(2011,1,29),DATE(2011,3,31))", 62, 0},
        {"=DAYS360(DATE(2011,1,29),DATE(2011,3,31),TRUE)", 61, 0},
        // US: the last of February counts as the 30th.
        {"=DAYS360(DATE(2011,2,28),DATE(2011,3,31))", 30, 0},
        {"=DAYS360(DATE(2011,2,28),DATE(2011,3,31),1)", 32, 0},
        {"=DAYS360(DATE(2011,2,28),DATE(2012,2,29))", 360, 0},
        {"=DAYS360(DATE(2011,2,28),DATE(2012,2,29),TRUE)", 361, 0},
        {"=DAYS360(DATE(2012,2,28),DATE(2012,3,28))", 30, 0},
        {"=DAYS360(DATE(2011,3,31),DATE(2011,1,31))", -60, 0},
    });
}

TEST(DateFunctions, YearFractionOnEachBasis) {
    const double days2012 = Serial(2012, 7, 30) - Serial(2012, 1, 1);
    const double spread = Serial(2012, 7, 1) - Serial(2010, 1, 1);
    ExpectCases({
        {"=YEARFRAC(DATE(2012,1,1),DATE(2012,7,30))", (6 * 30 + 29) / 360.0, 0},
        {"=YEARFRAC(DATE(2012,1,1),DATE(2012,7,30),1)", days2012 / 366, 0},
        {"=YEARFRAC(DATE(2012,7,30),DATE(2012,1,1),2)", days2012 / 360, 0},
        {"=YEARFRAC(DATE(2012,1,1),DATE(2012,7,30),3)", days2012 / 365, 0},
        {"=YEARFRAC(DATE(2012,1,31),DATE(2012,3,31),4)", 60 / 360.0, 0},
        {"=YEARFRAC(DATE(2011,2,28),DATE(2012,2,29),0)", 1, 0},
        // Actual/actual: the year the dates span, or the mean of the years touched.
        {"=YEARFRAC(DATE(2010,7,1),DATE(2011,3,1),1)",
         (Serial(2011, 3, 1) - Serial(2010, 7, 1)) / 365, 0},
        {"=YEARFRAC(DATE(2011,7,1),DATE(2012,3,1),1)",
         (Serial(2012, 3, 1) - Serial(2011, 7, 1)) / 366, 0},
        {"=YEARFRAC(DATE(2010,1,1),DATE(2012,7,1),1)", spread / ((365 + 365 + 366) / 3.0), 0},
        {"=YEARFRAC(DATE(2010,1,1),DATE(2012,7,1),5)", 0, 3},
    });
}

TEST(DateFunctions, WeekdaysFollowTheRealCalendarOverTheWholeRange) {
    Sheet sheet;
    ExpectCases(sheet, {
                           {"=WEEKDAY(DATE(2024,1,7))", 1, 0},  // a Sunday
                           {"=WEEKDAY(DATE(2024,1,7),2)", 7, 0},
                           {"=WEEKDAY(DATE(2024,1,7),3)", 6, 0},
                           {"=WEEKDAY(DATE(2024,1,8),3)", 0, 0},
                           {"=WEEKDAY(DATE(2024,1,8),4)", 0, 3},
                           {"=WEEKNUM(DATE(2024,1,6))", 1, 0},
                           {"=WEEKNUM(DATE(2024,1,7))", 2, 0},
                           {"=WEEKNUM(DATE(2024,1,7),2)", 1, 0},
                           {"=WEEKNUM(DATE(2024,12,31))", 53, 0},
                           {"=WEEKNUM(DATE(2024,1,7),3)", 0, 3},
                       });
    // Every day of 1900, around the serials' own leap day, then the first and last day of
    // every month.
    std::vector<chr::year_month_day> days;
    for (chr::sys_days d = chr::year{1900} / 1 / 1; d < chr::year{1901} / 1 / 1; d += chr::days{1})
        days.emplace_back(d);
    for (int y = 1901; y <= 2071; ++y) {
        for (unsigned m = 1; m <= 12; ++m) {
            days.emplace_back(chr::year{y} / m / 1);
            days.emplace_back(chr::year{y} / m / chr::last);
        }
    }
    for (const chr::year_month_day& ymd : days) {
        const int y = int(ymd.year()), m = int(unsigned(ymd.month())), d = int(unsigned(ymd.day()));
        const CCCellValue v = sheet.Value("=WEEKDAY(" + std::to_string(int(Serial(y, m, d))) + ")");
        ASSERT_TRUE(v.IsNumber());
        ASSERT_EQ(v.GetNumber(), Zeller(y, m, d)) << y << "-" << m << "-" << d;
    }
}

TEST(DateFunctions, WorkingDaysSkipWeekendsAndHolidays) {
    Sheet sheet;
    // 2024-01-01 is a Monday. Holidays: it, again, a Saturday, Monday the 15th, a February day.
    sheet.Column(0, {"1/1/2024", "1/1/2024", "1/6/2024", "1/15/2024", "2/1/2024"});
    ExpectCases(sheet,
                {
                    {"=NETWORKDAYS(DATE(2024,1,1),DATE(2024,1,31))", 23, 0},
                    {"=NETWORKDAYS(DATE(2024,1,31),DATE(2024,1,1))", -23, 0},
                    {"=NETWORKDAYS(DATE(2024,1,1),DATE(2024,1,31),A1:A5)", 21, 0},
                    {"=NETWORKDAYS(DATE(2024,1,1),DATE(2024,1,31),DATE(2024,1,2),A1:A5)", 20, 0},
                    {"=NETWORKDAYS(DATE(2024,1,6),DATE(2024,1,7))", 0, 0},
                    {"=NETWORKDAYS(DATE(2024,1,1),DATE(2024,1,31),\"x\")", 0, 3},
                    {"=WORKDAY(DATE(2024,1,5),1)", Serial(2024, 1, 8), 0},
                    {"=WORKDAY(DATE(2024,1,8),-1)", Serial(2024, 1, 5), 0},
                    {"=WORKDAY(DATE(2024,1,6),0)", Serial(2024, 1, 6), 0},
                    {"=WORKDAY(DATE(2024,1,12),1,A1:A5)", Serial(2024, 1, 16), 0},
                    {"=WORKDAY(DATE(2024,1,12),1,A1:A5,DATE(2024,1,16))", Serial(2024, 1, 17), 0},
                    {"=WORKDAY(DATE(2024,1,2),-1,A1:A5)", Serial(2023, 12, 29), 0},
                    {"=WORKDAY(DATE(2024,1,1),10,A1:A5)", Serial(2024, 1, 16), 0},
                    {"=WORKDAY(DATE(2071,12,30),5)", 0, 3},
                    {"=WORKDAY(DATE(1900,1,2),-5)", 0, 3},
                });
    // Counting back what WORKDAY stepped over, start included.
    for (int n = 1; n <= 40; ++n) {
        const std::string step = "WORKDAY(DATE(2024,1,2)," + std::to_string(n) + ",A1:A5)";
        ExpectCases(sheet, {{("=NETWORKDAYS(DATE(2024,1,2)," + step + ",A1:A5)").c_str(),
                             double(n + 1), 0}});
    }
    // The whole range, against a day-by-day count.
    int weekdays = 0;
    for (chr::sys_days day = chr::year{1900} / 1 / 1; day <= chr::year{2071} / 12 / 31;
         day += chr::days{1})
        weekdays += chr::weekday{day}.iso_encoding() <= 5;
    ExpectCases(sheet, {{"=NETWORKDAYS(0,DATE(2071,12,31))", double(weekdays), 0}});
}

TEST(DateFunctions, TodayAndNowReadTheLocalClock) {
    auto localSerial = [] {
        std::time_t t = std::time(nullptr);
        std::tm now{};
        localtime_r(&t, &now);
        return Serial(now.tm_year + 1900, unsigned(now.tm_mon + 1), unsigned(now.tm_mday));
    };
    Sheet sheet;
    const double before = localSerial();
    const CCCellValue today = sheet.Value("=TODAY()");
    const CCCellValue now = sheet.Value("=NOW()");
    const double after = localSerial();
    ASSERT_TRUE(today.IsNumber() && now.IsNumber());
    EXPECT_TRUE(today.GetNumber() == before || today.GetNumber() == after);
    EXPECT_TRUE(std::floor(now.GetNumber()) == before || std::floor(now.GetNumber()) == after);
    EXPECT_EQ(Kind(today), C_NF_DATE);
}

}  // namespace
