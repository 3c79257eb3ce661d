// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formats/date_serial.h"

#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>

#include "ostrel/platform/ole_date_time.h"
#include "platform/names.h"

namespace {

constexpr double kSecond = 1.1574074074074073e-5;  // 1 / 86400
constexpr double kHalfSecond = 5.787037037037037e-6;
constexpr int64_t kCycleDays = 1461;  // four years, the first of them a leap year

constexpr int kDaysBeforeMonth[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsLeap(int64_t year) {
    return year % 4 == 0;
}

// The largest whole serial whose year still fits an int: DoubleToDate answers the invalid
// date beyond it instead of overflowing.
constexpr int64_t kLastCycle = (std::numeric_limits<int>::max() - 1903) / 4;
constexpr double kMaxSerial = static_cast<double>((kLastCycle + 1) * kCycleDays - 1);

// Components of the local clock now; false when it cannot be read.
bool LocalNow(std::tm& now) {
    std::time_t t = std::time(nullptr);
    if (t == static_cast<std::time_t>(-1)) return false;
    return localtime_r(&t, &now) != nullptr;
}

}  // namespace

double DateToDouble(int day, int month, int year) {
    int64_t y = year;
    int64_t m = month;
    // A month outside 1-12 carries into the year instead of reading past the month table.
    if (m < 1 || m > 12) {
        int64_t shift = (m - 1) >= 0 ? (m - 1) / 12 : -((12 - m) / 12);
        y += shift;
        m -= shift * 12;
    }
    int64_t s = (y - 1900) * 365;
    if (y > 1900) s += (y - 1901) / 4 + 1;
    s += kDaysBeforeMonth[m];
    if (m > 2 && IsLeap(y)) s += 1;
    s += static_cast<int64_t>(day) - 1;
    return static_cast<double>(s);
}

void DoubleToDate(double serial, int& day, int& month, int& year) {
    double whole = std::floor(std::fabs(serial));
    if (!(whole <= kMaxSerial)) {  // also catches NaN
        day = month = year = 0;
        return;
    }
    int64_t x = static_cast<int64_t>(whole);
    int64_t cycle = x / kCycleDays;
    int64_t rest = x % kCycleDays;
    int64_t y = 1900 + 4 * cycle;
    if (rest >= 366) {
        rest -= 366;
        y += 1 + rest / 365;
        rest %= 365;
    }
    int m = 1;
    for (; m < 12; ++m) {
        int length = kMonthDays[m] + (m == 2 && IsLeap(y) ? 1 : 0);
        if (rest < length) break;
        rest -= length;
    }
    year = static_cast<int>(y);
    month = m;
    day = static_cast<int>(rest) + 1;
}

double TimeToDouble(int hour, int minute, int second, int mode) {
    if (mode != 1) {
        if (hour >= 12) hour -= 12;
        if (mode == 2) hour += 12;
    }
    return (static_cast<double>(hour) * 3600.0 + static_cast<double>(minute) * 60.0 +
            static_cast<double>(second)) *
           kSecond;
}

void DoubleToTime(double serial, int& hour, int& minute, int& second) {
    double whole;
    double fraction = std::modf(std::fabs(serial), &whole);
    if (!std::isfinite(fraction)) fraction = 0.0;
    // fraction < 1, so s < 86400.5 and every component fits an int.
    double s = (fraction + kHalfSecond) / kSecond;
    double h = std::trunc(s / 3600.0);
    double m = std::trunc((s - 3600.0 * h) / 60.0);
    double sec = std::trunc(s - 3600.0 * h - 60.0 * m);
    hour = static_cast<int>(h);
    minute = static_cast<int>(m);
    second = static_cast<int>(sec);
}

int CheckDate(int day, int month, int year, int maxYear, int minYear) {
    if (year < minYear || year > maxYear) return 0;
    if (month < 1 || month > 12) return 0;
    return day >= 1 && day <= GetMonthDays(month, year) ? 1 : 0;
}

int CheckDate(double serial) {
    int day, month, year;
    DoubleToDate(serial, day, month, year);
    return CheckDate(day, month, year, 2071, 1900);
}

int CheckTime(int hour, int minute, int second, int mode) {
    if (hour < 0 || minute < 0 || second < 0) return 0;
    if (minute > 60 || second > 60) return 0;
    return hour <= (mode == 1 ? 24 : 12) ? 1 : 0;
}

int CheckTime(double serial) {
    int hour, minute, second;
    DoubleToTime(serial, hour, minute, second);
    return hour >= 0 && hour <= 24 && minute >= 0 && minute <= 60 && second >= 0 && second <= 60
               ? 1
               : 0;
}

int GetMonthDays(int month, int year) {
    if (month < 1 || month > 12) return 0;
    return kMonthDays[month] + (month == 2 && IsLeap(year) ? 1 : 0);
}

int GetYearDays(int year) {
    return IsLeap(year) ? 366 : 365;
}

void UpdateYear(int& year, int currentYear) {
    if (year < 0 || year > 99) return;
    int century = currentYear - currentYear % 100;
    if (currentYear % 100 < 72 && year >= 72) century -= 100;
    year += century;
}

void UpdateYear(int& year) {
    int day, month, current;
    GetCurrentDate(day, month, current);
    // Without a clock the two-digit year is read in the century the serials are made for.
    if (current <= 0) current = 2000;
    UpdateYear(year, current);
}

void GetCurrentDate(int& day, int& month, int& year) {
    std::tm now{};
    if (!LocalNow(now)) {
        day = month = year = 0;
        return;
    }
    day = now.tm_mday;
    month = now.tm_mon + 1;
    year = now.tm_year + 1900;
}

void GetCurrTime(int& hour, int& minute, int& second) {
    std::tm now{};
    if (!LocalNow(now)) {
        hour = minute = second = -1;
        return;
    }
    hour = now.tm_hour;
    minute = now.tm_min;
    // A leap second reads as the last ordinary one.
    second = now.tm_sec > 59 ? 59 : now.tm_sec;
}

double GetCurrentDateTime() {
    std::tm now{};
    if (!LocalNow(now)) return 0.0;
    int second = now.tm_sec > 59 ? 59 : now.tm_sec;
    return DateToDouble(now.tm_mday, now.tm_mon + 1, now.tm_year + 1900) +
           TimeToDouble(now.tm_hour, now.tm_min, second, 1);
}

double OleDateTimeToDouble(const COleDateTime& date) {
    if (date.GetStatus() != COleDateTime::valid) return std::numeric_limits<double>::quiet_NaN();
    int year = date.GetYear();
    if (year < 0) return std::numeric_limits<double>::quiet_NaN();
    return DateToDouble(date.GetDay(), date.GetMonth(), year) +
           TimeToDouble(date.GetHour(), date.GetMinute(), date.GetSecond(), 1);
}

COleDateTime DoubleToOleDateTime(double serial) {
    int day, month, year, hour, minute, second;
    DoubleToTime(serial, hour, minute, second);
    double whole = std::floor(std::fabs(serial));
    // Half a second before midnight rounds to 24:00, which is the next day's midnight.
    if (hour == 24) {
        hour = 0;
        whole += 1.0;
    }
    DoubleToDate(whole, day, month, year);
    COleDateTime result;
    if (year == 0 || result.SetDateTime(year, month, day, hour, minute, second) != 0)
        result.SetStatus(COleDateTime::invalid);
    return result;
}

int SplitFraction(double value, int style, int& numerator, int& denominator) {
    double f = std::fabs(value);
    if (!std::isfinite(f)) return 0;
    if (f >= 1.0) f -= std::floor(f);
    if (f == 0.0) return 0;

    if (style == 0) {
        // n / f grows by at least 1 per step (f < 1), so at most 1000 rounds run.
        int bestN = 0, bestD = 0;
        double bestError = 0.0;
        for (int n = 1;; ++n) {
            // Compared as a double: for a tiny f, n / f lies far beyond any int.
            double d = std::trunc(n / f + 0.5);
            if (d >= 1000.0) break;
            double error = std::fabs(n / d - f);
            if (bestN == 0 || error < bestError) {
                bestN = n;
                bestD = static_cast<int>(d);
                bestError = error;
            }
            if (error == 0.0) break;
        }
        if (bestN == 0) return 0;
        numerator = bestN;
        denominator = bestD;
        return 1;
    }

    static constexpr int kDenominators[] = {100, 10, 16, 8, 4};
    if (style < 1 || style > 5) return 0;
    int d = kDenominators[style - 1];
    int n = static_cast<int>(std::trunc(d * f + 0.5));  // at most d
    if (n == 0) return 0;
    numerator = n;
    denominator = d;
    return 1;
}
