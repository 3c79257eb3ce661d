// SPDX-License-Identifier: Apache-2.0
#include "formats/format_code_clock.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace format_code {

namespace {

// From here on a double has no fraction left: the value is whole days.
constexpr double kWholeDays = 4503599627370496.0;  // 2^52
// Below this, units are exact integers that also fit a signed 64-bit integer.
constexpr double kExactUnits = 9007199254740992.0;  // 2^53

// Elapsed totals of the largest values would overflow; they stop at the largest double.
double Capped(double total) {
    return std::isfinite(total) ? total : DBL_MAX;
}

}  // namespace

namespace {

// The reading in units of 1 / PerSecond seconds; a constant unit lets the divisions become
// multiplications.
template <int64_t PerSecond>
ClockReading ReadIn(double magnitude) {
    constexpr int64_t kPerDay = 86400 * PerSecond;
    ClockReading r;
    // Below 2^52 days, units stay below 2^80: finite, and whole after the floor.
    double units = std::floor(magnitude * double(kPerDay) + 0.5);
    int64_t within = 0;  // units into the day
    if (units < kExactUnits) {
        auto all = static_cast<int64_t>(units);
        r.day = static_cast<double>(all / kPerDay);
        within = all % kPerDay;
        r.elapsedSeconds = static_cast<double>(all / PerSecond);
        r.elapsedMinutes = static_cast<double>(all / (60 * PerSecond));
        r.elapsedHours = static_cast<double>(all / (3600 * PerSecond));
    } else {
        double ofDay = std::fmod(units, double(kPerDay));  // exact, in [0, kPerDay)
        r.day = std::round((units - ofDay) / double(kPerDay));
        within = static_cast<int64_t>(ofDay);
        r.elapsedSeconds = std::floor(units / double(PerSecond));
        r.elapsedMinutes = std::floor(units / double(60 * PerSecond));
        r.elapsedHours = std::floor(units / double(3600 * PerSecond));
    }
    r.subsecond = within % PerSecond;
    int64_t seconds = within / PerSecond;
    r.second = static_cast<int>(seconds % 60);
    r.minute = static_cast<int>(seconds / 60 % 60);
    r.hour = static_cast<int>(seconds / 3600);
    return r;
}

}  // namespace

ClockReading ReadClock(double magnitude, int secondDigits) {
    if (!(magnitude < kWholeDays)) {
        ClockReading r;
        r.day = magnitude;
        r.elapsedHours = Capped(magnitude * 24);
        r.elapsedMinutes = Capped(magnitude * 1440);
        r.elapsedSeconds = Capped(magnitude * 86400);
        return r;
    }
    switch (std::clamp(secondDigits, 0, kMaxSecondDigits)) {
        case 1:
            return ReadIn<10>(magnitude);
        case 2:
            return ReadIn<100>(magnitude);
        case 3:
            return ReadIn<1000>(magnitude);
        default:
            return ReadIn<1>(magnitude);
    }
}

int Weekday(int day, int month, int year) {
    if (month < 1 || month > 12 || day < 1) return -1;
    // Days from 1970-01-01 on the proleptic Gregorian calendar, counted from March so that
    // a leap day ends the year; the count is linear in the day, which places a 29th of
    // February that the real calendar lacks on the 1st of March.
    int64_t y = int64_t(year) - (month <= 2 ? 1 : 0);
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yearOfEra = y - era * 400;
    int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    int64_t days = era * 146097 + dayOfEra - 719468;
    // 1970-01-01 was a Thursday.
    int64_t weekday = (days + 4) % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

}  // namespace format_code
