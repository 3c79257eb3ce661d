// SPDX-License-Identifier: Apache-2.0
// Day counts between two dates of the serial calendar: the 30/360 counts and the fraction of
// a year on the five day-count bases. Shared by the date functions and the financial
// functions that accrue interest between dates. Serials are whole days of valid dates; the
// callers check them.
#pragma once

#include <cstdint>

namespace ostrel::functions {

// A serial's calendar date.
struct Ymd {
    int day = 0;
    int month = 0;
    int year = 0;
};
Ymd Components(double serial);

enum class Days360Method : uint8_t {
    // The US (NASD) rules: the last day of February and the 31st count as the 30th, and an
    // end on the 31st counts as the 30th only when the start does too.
    kUs,
    // Every 31st counts as the 30th; February is left as it is.
    kEuropean,
};

// Days from start to end on a year of twelve 30-day months; negative when end comes first.
int Days360(double start, double end, Days360Method method);

enum class DayCountBasis : uint8_t {
    kUs30360 = 0,
    kActualActual = 1,
    kActual360 = 2,
    kActual365 = 3,
    kEuropean30360 = 4,
};

// The fraction of a year between two dates, whichever comes first (never negative).
// Actual/actual divides by the length of the year the dates span when they lie at most a
// year apart (366 when a 29 February falls between them, ends included), else by the mean
// length of the calendar years they touch.
double YearFraction(double start, double end, DayCountBasis basis);

}  // namespace ostrel::functions
