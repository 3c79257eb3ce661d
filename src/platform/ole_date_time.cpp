// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/ole_date_time.h"

#include <cmath>
#include <cstdint>
#include <ctime>
#include "platform/names.h"

namespace ostrel::platform {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar, counted in 400-year
// eras (146097 days) that start on March 1 so that the leap day ends the year.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yearOfEra = y - era * 400;
    int64_t dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t dayOfEra = z - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t mp = (5 * dayOfYear + 2) / 153;
    d = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yearOfEra + era * 400 + (m <= 2 ? 1 : 0));
}

bool IsGregorianLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[m] + (m == 2 && IsGregorianLeap(y) ? 1 : 0);
}

const int64_t kEpoch = DaysFromCivil(1899, 12, 30);  // day 0 of automation dates
// The automation range: 0100-01-01 to 9999-12-31 23:59:59.
const double kMinDate = static_cast<double>(DaysFromCivil(100, 1, 1) - kEpoch);
const double kMaxDate = static_cast<double>(DaysFromCivil(9999, 12, 31) - kEpoch) + 1.0;

}  // namespace

COleDateTime::COleDateTime(double date) : m_dt(date) {
    // The integer part of a negative date is the day and its fraction still counts forward,
    // so -0.5 is noon of day 0 and the range ends one day beyond the last day's number.
    m_status = std::isfinite(date) && date > kMinDate - 1.0 && date < kMaxDate ? valid : invalid;
}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second) {
    SetDateTime(year, month, day, hour, minute, second);
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    bool ok = year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
              day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
              minute <= 59 && second >= 0 && second <= 59;
    if (!ok) {
        m_dt = 0.0;
        m_status = invalid;
        return 1;
    }
    double days = static_cast<double>(DaysFromCivil(year, month, day) - kEpoch);
    double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    m_dt = days >= 0 ? days + time : days - time;
    m_status = valid;
    return 0;
}

bool COleDateTime::Split(int& year, int& month, int& day, int& hour, int& minute, int& second,
                         int& dayOfWeek, int& dayOfYear) const {
    if (m_status != valid || !std::isfinite(m_dt) || !(m_dt > kMinDate - 1.0) || !(m_dt < kMaxDate))
        return false;
    double wholeDays = std::trunc(m_dt);
    double fraction = std::fabs(m_dt - wholeDays);
    int64_t day0 = static_cast<int64_t>(wholeDays);
    int64_t seconds = std::llround(fraction * 86400.0);
    // Rounding to the second can reach the next midnight, which is later in time for
    // negative dates too.
    if (seconds >= 86400) {
        seconds -= 86400;
        day0 += 1;
    }
    int64_t civil = day0 + kEpoch;
    CivilFromDays(civil, year, month, day);
    if (year < 100 || year > 9999) return false;
    hour = static_cast<int>(seconds / 3600);
    minute = static_cast<int>(seconds / 60 % 60);
    second = static_cast<int>(seconds % 60);
    // 1970-01-01 was a Thursday (5 when Sunday is 1).
    dayOfWeek = static_cast<int>(((civil % 7) + 7 + 4) % 7) + 1;
    dayOfYear = static_cast<int>(civil - DaysFromCivil(year, 1, 1)) + 1;
    return true;
}

int COleDateTime::GetYear() const {
    int c[8];
    return Split(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]) ? c[0] : -1;
}

int COleDateTime::GetMonth() const {
    int c[8];
    return Split(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]) ? c[1] : -1;
}

int COleDateTime::GetDay() const {
    int c[8];
    return Split(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]) ? c[2] : -1;
}

int COleDateTime::GetHour() const {
    int c[8];
    return Split(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]) ? c[3] : -1;
}

int COleDateTime::GetMinute() const {
    int c[8];
    return Split(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]) ? c[4] : -1;
}

int COleDateTime::GetSecond() const {
    int c[8];
    return Split(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]) ? c[5] : -1;
}

int COleDateTime::GetDayOfWeek() const {
    int c[8];
    return Split(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]) ? c[6] : -1;
}

int COleDateTime::GetDayOfYear() const {
    int c[8];
    return Split(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]) ? c[7] : -1;
}

COleDateTime COleDateTime::GetCurrentTime() {
    COleDateTime result;
    std::time_t t = std::time(nullptr);
    std::tm now{};
    if (t == static_cast<std::time_t>(-1) || localtime_r(&t, &now) == nullptr) {
        result.SetStatus(invalid);
        return result;
    }
    int second = now.tm_sec > 59 ? 59 : now.tm_sec;
    result.SetDateTime(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min,
                       second);
    return result;
}

}  // namespace ostrel::platform
