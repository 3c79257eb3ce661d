// SPDX-License-Identifier: Apache-2.0
#include "functions/day_count.h"

#include <cmath>
#include <utility>

#include "ostrel/formats/date_serial.h"

namespace ostrel::functions {

Ymd Components(double serial) {
    Ymd date;
    DoubleToDate(serial, date.day, date.month, date.year);
    return date;
}

namespace {

bool IsLastOfFebruary(const Ymd& date) {
    return date.month == 2 && date.day == GetMonthDays(2, date.year);
}

// Whether 29 February of the year exists and lies in [start, end].
bool LeapDayWithin(int year, double start, double end) {
    if (GetMonthDays(2, year) != 29) return false;
    const double leapDay = DateToDouble(29, 2, year);
    return start <= leapDay && leapDay <= end;
}

double ActualActual(double start, double end) {
    const Ymd a = Components(start);
    const Ymd b = Components(end);
    const double days = end - start;
    const bool withinAYear =
        a.year == b.year ||
        (b.year == a.year + 1 && (a.month > b.month || (a.month == b.month && a.day >= b.day)));
    if (withinAYear) {
        const bool leap = a.year == b.year ? GetYearDays(a.year) == 366
                                           : LeapDayWithin(a.year, start, end) ||
                                                 LeapDayWithin(b.year, start, end);
        return days / (leap ? 366.0 : 365.0);
    }
    double yearDays = 0;
    for (int y = a.year; y <= b.year; ++y)
        yearDays += GetYearDays(y);
    return days / (yearDays / (b.year - a.year + 1));
}

}  // namespace

int Days360(double start, double end, Days360Method method) {
    Ymd a = Components(start);
    Ymd b = Components(end);
    if (method == Days360Method::kUs) {
        const bool februaryStart = IsLastOfFebruary(a);
        if (februaryStart && IsLastOfFebruary(b)) b.day = 30;
        if (februaryStart) a.day = 30;
        if (b.day == 31 && a.day >= 30) b.day = 30;
        if (a.day == 31) a.day = 30;
    } else {
        if (a.day == 31) a.day = 30;
        if (b.day == 31) b.day = 30;
    }
    return (b.year - a.year) * 360 + (b.month - a.month) * 30 + (b.day - a.day);
}

double YearFraction(double start, double end, DayCountBasis basis) {
    start = std::floor(start);
    end = std::floor(end);
    if (end < start) std::swap(start, end);
    switch (basis) {
        case DayCountBasis::kUs30360:
            return Days360(start, end, Days360Method::kUs) / 360.0;
        case DayCountBasis::kActualActual:
            return ActualActual(start, end);
        case DayCountBasis::kActual360:
            return (end - start) / 360.0;
        case DayCountBasis::kActual365:
            return (end - start) / 365.0;
        case DayCountBasis::kEuropean30360:
            return Days360(start, end, Days360Method::kEuropean) / 360.0;
    }
    return 0;
}

}  // namespace ostrel::functions
