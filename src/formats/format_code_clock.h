// SPDX-License-Identifier: Apache-2.0
// The date, clock and elapsed time a format code shows for a value. The value is rounded
// once, to the finest unit the code shows (the second, or a tenth to a thousandth of it),
// and everything is read from that rounding: a value that rounds up to the next second
// carries into the minute, hour and day, and elapsed hours, minutes and seconds are the
// whole units of the rounded value itself.
#pragma once

#include <cstdint>

namespace format_code {

// Digits of a second a code can show: a thousandth; placeholders beyond show zeros.
constexpr int kMaxSecondDigits = 3;

struct ClockReading {
    double day = 0;  // whole days: the serial of the date
    int hour = 0, minute = 0, second = 0;
    int64_t subsecond = 0;  // in units of 10^-secondDigits seconds
    double elapsedHours = 0, elapsedMinutes = 0, elapsedSeconds = 0;
};

// Reads a magnitude (>= 0, finite) rounded half up to 10^-secondDigits seconds
// (secondDigits 0 to kMaxSecondDigits).
ClockReading ReadClock(double magnitude, int secondDigits);

// The weekday (0 Sunday to 6 Saturday) of a date of the serial calendar, on the real
// calendar; the 29th of February of a year the real calendar gives 28 days (1900, 2100)
// falls on the weekday of the 1st of March. -1 for a date outside 1-12 months or below
// day 1.
int Weekday(int day, int month, int year);

}  // namespace format_code
