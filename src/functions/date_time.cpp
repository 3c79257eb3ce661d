// The date and time functions: serials built from components and taken apart, with date or
// time formats on their results.
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"DATE", 13175, kDateAndTime, RULE(3, 3, kNone, 0), nullptr,
     u"DATE(year, month, day)\n"
     u"Returns the date serial of a day given by year, month and day.\n"
     u"year: the year, 1900 to 2071; 0 to 99 stand for a year near the current one\n"
     u"month: the month, 1 to 12\n"
     u"day: the day of the month"},
    {u"DATEVALUE", 13176, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"DATEVALUE(date_text)\n"
     u"Converts a date written as text to a date serial.\n"
     u"date_text: a date as it would be typed into a cell"},
    {u"DAY", 13177, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"DAY(date)\n"
     u"Returns the day of the month of a date, from 1 to 31.\n"
     u"date: a date serial, or a date as text"},
    {u"DAYS360", 13178, kDateAndTime, RULE(2, 3, kNone, 0), nullptr,
     u"DAYS360(start_date, end_date, [method])\n"
     u"Returns the number of days between two dates counted on a year of twelve 30-day months.\n"
     u"start_date: the first date\n"
     u"end_date: the second date\n"
     u"method: false or omitted for the US method, true for the European method"},
    {u"EDATE", 13179, kDateAndTime, RULE(2, 2, kNone, 0), nullptr,
     u"EDATE(start_date, months)\n"
     u"Returns the date serial of the same day a number of months before or after a date.\n"
     u"start_date: the date to start from\n"
     u"months: the number of months; negative values go back"},
    {u"EOMONTH", 13180, kDateAndTime, RULE(2, 2, kNone, 0), nullptr,
     u"EOMONTH(start_date, months)\n"
     u"Returns the date serial of the last day of the month a number of months before or after a "
     u"date.\n"
     u"start_date: the date to start from\n"
     u"months: the number of months; negative values go back"},
    {u"HOUR", 13181, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"HOUR(time)\n"
     u"Returns the hour of a time, from 0 to 23.\n"
     u"time: a time or date serial, or a time as text"},
    {u"MINUTE", 13182, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"MINUTE(time)\n"
     u"Returns the minute of a time, from 0 to 59.\n"
     u"time: a time or date serial, or a time as text"},
    {u"MONTH", 13183, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"MONTH(date)\n"
     u"Returns the month of a date, from 1 to 12.\n"
     u"date: a date serial, or a date as text"},
    {u"NETWORKDAYS", 13184, kDateAndTime, RULE(2, kMany, kFrom, 3), nullptr,
     u"NETWORKDAYS(start_date, end_date, [holidays], ...)\n"
     u"Returns the number of working days, Monday to Friday, from one date to another, both "
     u"included, less the holidays.\n"
     u"start_date: the first date\n"
     u"end_date: the last date\n"
     u"holidays: dates or ranges of dates that are not working days"},
    {u"NOW", 13185, kDateAndTime, RULE(0, 0, kNone, 0), nullptr,
     u"NOW()\n"
     u"Returns the date serial of the current date and time.",
     EntryClass::plain, kFlagToday},
    {u"SECOND", 13186, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"SECOND(time)\n"
     u"Returns the second of a time, from 0 to 59.\n"
     u"time: a time or date serial, or a time as text"},
    {u"TIME", 13187, kDateAndTime, RULE(2, 3, kNone, 0), nullptr,
     u"TIME(hour, minute, [second])\n"
     u"Returns the time serial, a fraction of a day, of a time given by hour, minute and second.\n"
     u"hour: the hour, 0 to 24\n"
     u"minute: the minute, 0 to 60\n"
     u"second: the second, 0 to 60; 0 when omitted"},
    {u"TIMEVALUE", 13188, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"TIMEVALUE(time_text)\n"
     u"Converts a time written as text to a time serial.\n"
     u"time_text: a time as it would be typed into a cell"},
    {u"TODAY", 13189, kDateAndTime, RULE(0, 0, kNone, 0), nullptr,
     u"TODAY()\n"
     u"Returns the date serial of the current date.",
     EntryClass::plain, kFlagToday},
    {u"WEEKDAY", 13190, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"WEEKDAY(date)\n"
     u"Returns the day of the week of a date, from 1 for Sunday to 7 for Saturday.\n"
     u"date: a date serial, or a date as text"},
    {u"WEEKNUM", 13191, kDateAndTime, RULE(1, 2, kNone, 0), nullptr,
     u"WEEKNUM(date, [return_type])\n"
     u"Returns the number of the week of the year in which a date falls.\n"
     u"date: a date serial, or a date as text\n"
     u"return_type: 1 or omitted for weeks that begin on Sunday, 2 for weeks that begin on Monday"},
    {u"WORKDAY", 13192, kDateAndTime, RULE(2, kMany, kFrom, 3), nullptr,
     u"WORKDAY(start_date, days, [holidays], ...)\n"
     u"Returns the date serial of the working day a number of working days before or after a date, "
     u"skipping weekends and holidays.\n"
     u"start_date: the date to start from\n"
     u"days: the number of working days; negative values go back\n"
     u"holidays: dates or ranges of dates that are not working days"},
    {u"YEAR", 13193, kDateAndTime, RULE(1, 1, kNone, 0), nullptr,
     u"YEAR(date)\n"
     u"Returns the year of a date.\n"
     u"date: a date serial, or a date as text"},
    {u"YEARFRAC", 13194, kDateAndTime, RULE(2, 3, kNone, 0), nullptr,
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
