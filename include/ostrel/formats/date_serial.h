// SPDX-License-Identifier: Apache-2.0
/// \file
/// The date serial system: whole days since 1900-01-01 (day 0) plus the time of day as a
/// fraction, with every year divisible by 4 a leap year; its checks, the clock and the
/// conversions to automation dates; and the fraction finder of fraction formats.
#pragma once

#include "ostrel/export.h"

namespace ostrel::platform {
class COleDateTime;
}  // namespace ostrel::platform

/// No range check: callers guard with CheckDate. A month outside 1-12 carries into the year.
OSTREL_API double DateToDouble(int day, int month, int year);
/// The date of floor(|serial|). A serial beyond the last representable year, or one that is
/// not finite, gives the invalid date 0/0/0.
OSTREL_API void DoubleToDate(double serial, int& day, int& month, int& year);
/// mode 1: hour on the 24-hour clock; otherwise an hour of 12 or more is reduced by 12 first
/// and mode 2 (PM) adds 12.
OSTREL_API double TimeToDouble(int hour, int minute, int second, int mode);
/// The time of frac(|serial|), half a second rounding up (so just below midnight is 24:00:00).
OSTREL_API void DoubleToTime(double serial, int& hour, int& minute, int& second);

OSTREL_API int CheckDate(int day, int month, int year, int maxYear, int minYear);
OSTREL_API int CheckDate(double serial);
OSTREL_API int CheckTime(int hour, int minute, int second, int mode);
OSTREL_API int CheckTime(double serial);
OSTREL_API int GetMonthDays(int month, int year);
OSTREL_API int GetYearDays(int year);
/// A year from 0 to 99 becomes a full year around the current year (the 72 rule): the
/// current century, or the previous one for 72-99 while the current year ends below 72.
OSTREL_API void UpdateYear(int& year);
OSTREL_API void UpdateYear(int& year, int currentYear);

/// The local clock; 0/0/0 (date) or -1 (time components) when it cannot be read.
OSTREL_API void GetCurrentDate(int& day, int& month, int& year);
OSTREL_API void GetCurrTime(int& hour, int& minute, int& second);
OSTREL_API double GetCurrentDateTime();

/// The two serial systems meet only through their components. An automation date that is
/// not valid has no serial: the result is NaN, which CheckDate refuses.
OSTREL_API double OleDateTimeToDouble(const ostrel::platform::COleDateTime& date);
/// Invalid when the serial's year lies outside the automation range.
OSTREL_API ostrel::platform::COleDateTime DoubleToOleDateTime(double serial);

/// The fraction of |value| (its fractional part when 1 or more): style 0 best fit with a
/// denominator below 1000, styles 1-5 the denominators 100, 10, 16, 8 and 4. Returns 1 when
/// a fraction was found (never for another style, or a value that is not finite).
OSTREL_API int SplitFraction(double value, int style, int& numerator, int& denominator);
