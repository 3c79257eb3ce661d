// SPDX-License-Identifier: Apache-2.0
// The date and time functions: serials built from components and taken apart, with date or
// time formats on their results, and the working-day and day-count functions. A date
// argument is a serial or a typed date; it must lie from 1900-01-01 to 2071-12-31 (a negative
// serial is no date), else the result is error 3. Weekdays come from the real calendar: the
// serials' 29 February 1900, a day the real calendar never had, counts as 1 March.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "functions/arguments.h"
#include "functions/day_count.h"
#include "functions/function_row.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/scanner.h"
#include "platform/names.h"

using ostrel::functions::ArgumentCount;
using ostrel::functions::DateArgument;
using ostrel::functions::DayCountBasis;
using ostrel::functions::Days360;
using ostrel::functions::Days360Method;
using ostrel::functions::EvaluateArgument;
using ostrel::functions::IntegerArgument;
using ostrel::functions::NumberOrError;
using ostrel::functions::RangeWalk;
using ostrel::functions::Rounding;
using ostrel::functions::SetKind;
using ostrel::functions::SetNumber;
using ostrel::functions::ValueToDate;
using ostrel::functions::YearFraction;

namespace {

namespace chr = std::chrono;

constexpr int kMinYear = 1900;
constexpr int kMaxYear = 2071;
// Months between the first and the last month of the range: shifts beyond it leave it.
constexpr int64_t kMonthSpan = (kMaxYear - kMinYear + 1) * 12;
// Working days beyond any the range holds (it has fewer than 63,000 days).
constexpr int64_t kWorkdaySpan = 100000;

struct Date {
    int day = 0;
    int month = 0;
    int year = 0;
};

bool InRange(const Date& d) {
    return CheckDate(d.day, d.month, d.year, kMaxYear, kMinYear) != 0;
}

// True with the components when the serial is a date of the range.
bool ValidDate(double serial, Date& date) {
    if (!(serial >= 0)) return false;
    DoubleToDate(serial, date.day, date.month, date.year);
    return InRange(date);
}

// The n-th argument as a date of the range: 0, or an error code.
int DateOf(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell, double& serial,
           Date& date) {
    if (int error = DateArgument(ctx, args, n, serial, cell)) return error;
    return ValidDate(serial, date) ? 0 : 3;
}

constexpr chr::sys_days kFirstDay{chr::year{1900} / chr::January / 1};  // a Monday

// The day on the real calendar: the month's first day plus the day's offset, which puts the
// serials' 29 February 1900 on 1 March.
chr::sys_days RealDay(const Date& d) {
    return chr::sys_days{chr::year{d.year} / chr::month{unsigned(d.month)} / 1} +
           chr::days{d.day - 1};
}

// Days since 1900-01-01 on the real calendar.
int64_t CalendarDay(const Date& d) {
    return (RealDay(d) - kFirstDay).count();
}

// The serial of a calendar day; false outside the range.
bool SerialOfCalendarDay(int64_t index, double& serial) {
    if (index < 0 || index > CalendarDay(Date{31, 12, kMaxYear})) return false;
    const chr::year_month_day ymd{kFirstDay + chr::days{index}};
    serial = DateToDouble(int(unsigned(ymd.day())), int(unsigned(ymd.month())), int(ymd.year()));
    return true;
}

// Calendar days 0, 7, 14 ... are Mondays.
bool IsWorkday(int64_t day) {
    return day % 7 < 5;
}

// Working days in [0, day), day >= 0.
int64_t WorkdaysBefore(int64_t day) {
    return day / 7 * 5 + std::min<int64_t>(day % 7, 5);
}

// The working day of a rank (0 the first Monday).
int64_t WorkdayOfRank(int64_t rank) {
    return rank / 5 * 7 + rank % 5;
}

// The holidays of the arguments from position first on, as the calendar days of those that
// fall on working days, sorted and each once: what the working-day counts skip. Empty
// values are passed over; any other value must be a date of the range. 0 or an error code.
int Holidays(cells::CTX* ctx, const CCFormulaList* args, int first, const CCRef* cell,
             std::vector<int64_t>& days) {
    int position = 0;
    for (const CCFormulaList* a = args; a; a = a->m_pNext, ++position) {
        if (position < first) continue;
        RangeWalk walk(ctx, a->m_pFormula, cell);
        if (!walk.Opened()) return 1;
        CCCellValue value;
        while (walk.Next(value)) {
            if (value.IsEmpty()) continue;
            double serial = 0;
            Date date;
            if (int error = ValueToDate(ctx, value, serial)) return error;
            if (!ValidDate(serial, date)) return 3;
            const int64_t day = CalendarDay(date);
            if (IsWorkday(day)) days.push_back(day);
        }
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return 0;
}

// Holidays in [from, to).
int64_t HolidaysWithin(const std::vector<int64_t>& holidays, int64_t from, int64_t to) {
    return std::lower_bound(holidays.begin(), holidays.end(), to) -
           std::lower_bound(holidays.begin(), holidays.end(), from);
}

// The calendar day count working days after day (before it when count is negative), the
// holidays skipped; -1 before the first day. Each round steps over the holidays the previous
// one passed, so the rounds are at most one more than the holidays.
int64_t StepWorkdays(int64_t day, int64_t count, const std::vector<int64_t>& holidays) {
    while (count != 0) {
        int64_t to;
        if (count > 0) {
            to = WorkdayOfRank(WorkdaysBefore(day + 1) + count - 1);
            count = HolidaysWithin(holidays, day + 1, to + 1);
        } else {
            const int64_t rank = WorkdaysBefore(day) + count;
            if (rank < 0) return -1;
            to = WorkdayOfRank(rank);
            count = -HolidaysWithin(holidays, to, day);
        }
        day = to;
    }
    return day;
}

// A value as a time: a number, or a text typed as a time alone or as a date with its time.
int ValueToTime(cells::CTX* ctx, const CCCellValue& value, double& serial) {
    if (value.IsText() && value.GetText()) {
        const char16_t* cursor = value.GetText();
        _EatWhite(cursor);
        CCCellValue time;
        if (_EatTNumber(ctx ? ctx->GetLCTX() : nullptr, cursor, time) && _IsEmpty(cursor) &&
            time.IsNumber()) {
            serial = time.GetNumber();
            return 0;
        }
    }
    if (int error = ValueToDate(ctx, value, serial)) return error;
    return serial >= 0 && CheckTime(serial) ? 0 : 3;
}

int TimeOf(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell, double& serial) {
    CCCellValue value;
    EvaluateArgument(ctx, args, n, value, cell);
    return ValueToTime(ctx, value, serial);
}

// ---- Serials from components and back ---------------------------------------------------

void EvalDATE(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    int64_t year = 0, month = 0, day = 0;
    int error = IntegerArgument(ctx, args, 0, Rounding::trunc, 0, kMaxYear, year, cell);
    if (!error) error = IntegerArgument(ctx, args, 1, Rounding::trunc, 1, 12, month, cell);
    if (!error) error = IntegerArgument(ctx, args, 2, Rounding::trunc, 1, 31, day, cell);
    if (error) return result.Set(error);
    int y = static_cast<int>(year);
    UpdateYear(y);
    const int m = static_cast<int>(month);
    const int d = static_cast<int>(day);
    if (!CheckDate(d, m, y, kMaxYear, kMinYear)) return result.Set(3);
    SetKind(result, DateToDouble(d, m, y), C_NF_DATE);
}

void EvalTIME(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    int64_t hour = 0, minute = 0, second = 0;
    int error = IntegerArgument(ctx, args, 0, Rounding::trunc, 0, 24, hour, cell);
    if (!error) error = IntegerArgument(ctx, args, 1, Rounding::trunc, 0, 60, minute, cell);
    if (!error)
        error = OptionalIntegerArgument(ctx, args, 2, Rounding::trunc, 0, 60, 0, second, cell);
    if (error) return result.Set(error);
    SetKind(
        result,
        TimeToDouble(static_cast<int>(hour), static_cast<int>(minute), static_cast<int>(second), 1),
        C_NF_TIME);
}

// A clock that cannot be read answers serial 0, which is never now.
void EvalNOW(cells::CTX*, CCCellValue& result, const CCFormulaList*, const CCRef*) {
    const double now = GetCurrentDateTime();
    Date date;
    if (!(now > 0) || !ValidDate(now, date)) return result.Set(3);
    SetKind(result, now, C_NF_DATE);
}

void EvalTODAY(cells::CTX*, CCCellValue& result, const CCFormulaList*, const CCRef*) {
    Date d;
    GetCurrentDate(d.day, d.month, d.year);
    if (!InRange(d)) return result.Set(3);
    SetKind(result, DateToDouble(d.day, d.month, d.year), C_NF_DATE);
}

template <int Date::*Component>
void EvalDatePart(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    double serial = 0;
    Date date;
    if (int error = DateOf(ctx, args, 0, cell, serial, date)) return result.Set(error);
    SetNumber(result, date.*Component);
}

// part 0 hour, 1 minute, 2 second. Half a second before midnight reads as hour 24.
template <int Part>
void EvalTimePart(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    double serial = 0;
    if (int error = TimeOf(ctx, args, 0, cell, serial)) return result.Set(error);
    int parts[3] = {0, 0, 0};
    DoubleToTime(serial, parts[0], parts[1], parts[2]);
    SetNumber(result, parts[Part]);
}

// Only the text of a typed date is converted: a number already is a serial.
int TypedText(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, CCCellValue& value) {
    EvaluateArgument(ctx, args, 0, value, cell);
    if (value.IsError()) return value.GetError();
    return value.IsText() ? 0 : 3;
}

void EvalDATEVALUE(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                   const CCRef* cell) {
    CCCellValue text;
    double serial = 0;
    int error = TypedText(ctx, args, cell, text);
    if (!error) error = ValueToDate(ctx, text, serial);
    if (error) return result.Set(error);
    SetNumber(result, std::floor(serial));
}

void EvalTIMEVALUE(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                   const CCRef* cell) {
    CCCellValue text;
    double serial = 0;
    int error = TypedText(ctx, args, cell, text);
    if (!error) error = ValueToTime(ctx, text, serial);
    if (error) return result.Set(error);
    SetNumber(result, serial - std::floor(serial));
}

// ---- Weeks ----------------------------------------------------------------------------

// Type 1: Sunday 1 to Saturday 7; 2: Monday 1 to Sunday 7; 3: Monday 0 to Sunday 6.
void EvalWEEKDAY(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    double serial = 0;
    Date date;
    int64_t type = 1;
    int error = DateOf(ctx, args, 0, cell, serial, date);
    if (!error) error = OptionalIntegerArgument(ctx, args, 1, Rounding::trunc, 1, 3, 1, type, cell);
    if (error) return result.Set(error);
    const chr::weekday w{RealDay(date)};
    const unsigned number = type == 1 ? w.c_encoding() + 1 : w.iso_encoding() - (type == 3);
    SetNumber(result, number);
}

// Week 1 holds 1 January; later weeks start on Sunday (type 1) or Monday (type 2).
void EvalWEEKNUM(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    double serial = 0;
    Date date;
    int64_t type = 1;
    int error = DateOf(ctx, args, 0, cell, serial, date);
    if (!error) error = OptionalIntegerArgument(ctx, args, 1, Rounding::trunc, 1, 2, 1, type, cell);
    if (error) return result.Set(error);
    const Date january{1, 1, date.year};
    const chr::weekday w{RealDay(january)};
    // Days of the first week before 1 January.
    const int64_t lead = type == 1 ? w.c_encoding() : w.iso_encoding() - 1;
    SetNumber(result, double((CalendarDay(date) - CalendarDay(january) + lead) / 7 + 1));
}

void EvalNETWORKDAYS(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                     const CCRef* cell) {
    double start = 0, end = 0;
    Date a, b;
    std::vector<int64_t> holidays;
    int error = DateOf(ctx, args, 0, cell, start, a);
    if (!error) error = DateOf(ctx, args, 1, cell, end, b);
    if (!error) error = Holidays(ctx, args, 2, cell, holidays);
    if (error) return result.Set(error);
    const int64_t from = std::min(CalendarDay(a), CalendarDay(b));
    const int64_t to = std::max(CalendarDay(a), CalendarDay(b));
    const int64_t count =
        WorkdaysBefore(to + 1) - WorkdaysBefore(from) - HolidaysWithin(holidays, from, to + 1);
    SetNumber(result, double(CalendarDay(b) < CalendarDay(a) ? -count : count));
}

// The start itself for 0 days, even on a weekend or a holiday.
void EvalWORKDAY(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    double start = 0;
    Date date;
    int64_t days = 0;
    std::vector<int64_t> holidays;
    int error = DateOf(ctx, args, 0, cell, start, date);
    if (!error)
        error =
            IntegerArgument(ctx, args, 1, Rounding::trunc, -kWorkdaySpan, kWorkdaySpan, days, cell);
    if (!error) error = Holidays(ctx, args, 2, cell, holidays);
    if (error) return result.Set(error);
    double serial = 0;
    if (!SerialOfCalendarDay(StepWorkdays(CalendarDay(date), days, holidays), serial))
        return result.Set(3);
    SetKind(result, days == 0 ? std::floor(start) : serial, C_NF_DATE);
}

// ---- Months and day counts ------------------------------------------------------------

// The date months later (earlier when negative); a day the new month lacks becomes its
// last day, and toMonthEnd always takes the last day.
void ShiftMonths(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
                 bool toMonthEnd) {
    double serial = 0;
    Date date;
    int64_t months = 0;
    int error = DateOf(ctx, args, 0, cell, serial, date);
    if (!error)
        error =
            IntegerArgument(ctx, args, 1, Rounding::trunc, -kMonthSpan, kMonthSpan, months, cell);
    if (error) return result.Set(error);
    // Never negative: the date's year is at least 1900 and the shift at most kMonthSpan.
    const int64_t index = int64_t(date.year) * 12 + (date.month - 1) + months;
    const int year = static_cast<int>(index / 12);
    const int month = static_cast<int>(index % 12) + 1;
    const int length = GetMonthDays(month, year);
    const int day = toMonthEnd ? length : std::min(date.day, length);
    if (!CheckDate(day, month, year, kMaxYear, kMinYear)) return result.Set(3);
    SetKind(result, DateToDouble(day, month, year), C_NF_DATE);
}

void EvalEDATE(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    ShiftMonths(ctx, result, args, cell, false);
}

void EvalEOMONTH(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    ShiftMonths(ctx, result, args, cell, true);
}

// The US rules unless method is true (non-zero): then the European ones.
void EvalDAYS360(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    double start = 0, end = 0, method = 0;
    Date a, b;
    int error = DateOf(ctx, args, 0, cell, start, a);
    if (!error) error = DateOf(ctx, args, 1, cell, end, b);
    if (!error && ArgumentCount(args) > 2) error = NumberOrError(ctx, args, 2, method, cell);
    if (error) return result.Set(error);
    SetNumber(result,
              Days360(start, end, method != 0 ? Days360Method::kEuropean : Days360Method::kUs));
}

void EvalYEARFRAC(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    double start = 0, end = 0;
    Date a, b;
    int64_t basis = 0;
    int error = DateOf(ctx, args, 0, cell, start, a);
    if (!error) error = DateOf(ctx, args, 1, cell, end, b);
    const auto last = static_cast<int64_t>(DayCountBasis::kEuropean30360);
    if (!error)
        error = OptionalIntegerArgument(ctx, args, 2, Rounding::trunc, 0, last, 0, basis, cell);
    if (error) return result.Set(error);
    SetNumber(result, YearFraction(start, end, static_cast<DayCountBasis>(basis)));
}

const FunctionRow kRows[] = {
    {u"DATE", 13175, kDateAndTime, RULE(3, 3, kNone, 0), EvalDATE,
     u"DATE(year, month, day)\n"
     u"Returns the date serial of a day given by year, month and day.\n"
     u"year: the year, 1900 to 2071; 0 to 99 stand for a year near the current one\n"
     u"month: the month, 1 to 12\n"
     u"day: the day of the month"},
    {u"DATEVALUE", 13176, kDateAndTime, RULE(1, 1, kNone, 0), EvalDATEVALUE,
     u"DATEVALUE(date_text)\n"
     u"Converts a date written as text to a date serial.\n"
     u"date_text: a date as it would be typed into a cell"},
    {u"DAY", 13177, kDateAndTime, RULE(1, 1, kNone, 0), EvalDatePart<&Date::day>,
     u"DAY(date)\n"
     u"Returns the day of the month of a date, from 1 to 31.\n"
     u"date: a date serial, or a date as text"},
    {u"DAYS360", 13178, kDateAndTime, RULE(2, 3, kNone, 0), EvalDAYS360,
     u"DAYS360(start_date, end_date, [method])\n"
     u"Returns the number of days between two dates counted on a year of twelve 30-day months.\n"
     u"start_date: the first date\n"
     u"end_date: the second date\n"
     u"method: false or omitted for the US method, true for the European method"},
    {u"EDATE", 13179, kDateAndTime, RULE(2, 2, kNone, 0), EvalEDATE,
     u"EDATE(start_date, months)\n"
     u"Returns the date serial of the same day a number of months before or after a date, or of "
     u"the last day of a month that has no such day.\n"
     u"start_date: the date to start from\n"
     u"months: the number of months; negative values go back"},
    {u"EOMONTH", 13180, kDateAndTime, RULE(2, 2, kNone, 0), EvalEOMONTH,
     u"EOMONTH(start_date, months)\n"
     u"Returns the date serial of the last day of the month a number of months before or after a "
     u"date.\n"
     u"start_date: the date to start from\n"
     u"months: the number of months; negative values go back"},
    {u"HOUR", 13181, kDateAndTime, RULE(1, 1, kNone, 0), EvalTimePart<0>,
     u"HOUR(time)\n"
     u"Returns the hour of a time, from 0 to 23.\n"
     u"time: a time or date serial, or a time as text"},
    {u"MINUTE", 13182, kDateAndTime, RULE(1, 1, kNone, 0), EvalTimePart<1>,
     u"MINUTE(time)\n"
     u"Returns the minute of a time, from 0 to 59.\n"
     u"time: a time or date serial, or a time as text"},
    {u"MONTH", 13183, kDateAndTime, RULE(1, 1, kNone, 0), EvalDatePart<&Date::month>,
     u"MONTH(date)\n"
     u"Returns the month of a date, from 1 to 12.\n"
     u"date: a date serial, or a date as text"},
    {u"NETWORKDAYS", 13184, kDateAndTime, RULE(2, kMany, kFrom, 3), EvalNETWORKDAYS,
     u"NETWORKDAYS(start_date, end_date, [holidays], ...)\n"
     u"Returns the number of working days, Monday to Friday, from one date to another, both "
     u"included, less the holidays.\n"
     u"start_date: the first date\n"
     u"end_date: the last date\n"
     u"holidays: dates or ranges of dates that are not working days"},
    {u"NOW", 13185, kDateAndTime, RULE(0, 0, kNone, 0), EvalNOW,
     u"NOW()\n"
     u"Returns the date serial of the current date and time.",
     EntryClass::plain, kFlagToday},
    {u"SECOND", 13186, kDateAndTime, RULE(1, 1, kNone, 0), EvalTimePart<2>,
     u"SECOND(time)\n"
     u"Returns the second of a time, from 0 to 59.\n"
     u"time: a time or date serial, or a time as text"},
    {u"TIME", 13187, kDateAndTime, RULE(2, 3, kNone, 0), EvalTIME,
     u"TIME(hour, minute, [second])\n"
     u"Returns the time serial, a fraction of a day, of a time given by hour, minute and second.\n"
     u"hour: the hour, 0 to 24\n"
     u"minute: the minute, 0 to 60\n"
     u"second: the second, 0 to 60; 0 when omitted"},
    {u"TIMEVALUE", 13188, kDateAndTime, RULE(1, 1, kNone, 0), EvalTIMEVALUE,
     u"TIMEVALUE(time_text)\n"
     u"Converts a time written as text to a time serial.\n"
     u"time_text: a time as it would be typed into a cell"},
    {u"TODAY", 13189, kDateAndTime, RULE(0, 0, kNone, 0), EvalTODAY,
     u"TODAY()\n"
     u"Returns the date serial of the current date.",
     EntryClass::plain, kFlagToday},
    {u"WEEKDAY", 13190, kDateAndTime, RULE(1, 2, kNone, 0), EvalWEEKDAY,
     u"WEEKDAY(date, [type])\n"
     u"Returns the day of the week of a date as a number.\n"
     u"date: a date serial, or a date as text\n"
     u"type: 1 or omitted for 1 (Sunday) to 7 (Saturday), 2 for 1 (Monday) to 7 (Sunday), 3 for "
     u"0 (Monday) to 6 (Sunday)"},
    {u"WEEKNUM", 13191, kDateAndTime, RULE(1, 2, kNone, 0), EvalWEEKNUM,
     u"WEEKNUM(date, [return_type])\n"
     u"Returns the number of the week of the year in which a date falls.\n"
     u"date: a date serial, or a date as text\n"
     u"return_type: 1 or omitted for weeks that begin on Sunday, 2 for weeks that begin on Monday"},
    {u"WORKDAY", 13192, kDateAndTime, RULE(2, kMany, kFrom, 3), EvalWORKDAY,
     u"WORKDAY(start_date, days, [holidays], ...)\n"
     u"Returns the date serial of the working day a number of working days before or after a date, "
     u"skipping weekends and holidays.\n"
     u"start_date: the date to start from\n"
     u"days: the number of working days; negative values go back\n"
     u"holidays: dates or ranges of dates that are not working days"},
    {u"YEAR", 13193, kDateAndTime, RULE(1, 1, kNone, 0), EvalDatePart<&Date::year>,
     u"YEAR(date)\n"
     u"Returns the year of a date.\n"
     u"date: a date serial, or a date as text"},
    {u"YEARFRAC", 13194, kDateAndTime, RULE(2, 3, kNone, 0), EvalYEARFRAC,
     u"YEARFRAC(start_date, end_date, [basis])\n"
     u"Returns the fraction of a year between two dates.\n"
     u"start_date: the first date\n"
     u"end_date: the second date\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::DateTimeRows() {
    return kRows;
}
