// SPDX-License-Identifier: Apache-2.0
/// \file
/// An automation date: days since 1899-12-30 as a double (the time of day as its fraction),
/// with year-to-second components and a validity status.
#pragma once

#include "ostrel/export.h"

namespace ostrel::platform {

class OSTREL_API COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;  // valid, 1899-12-30 00:00:00
    explicit COleDateTime(double date);
    COleDateTime(int year, int month, int day, int hour, int minute, int second);

    /// Returns 0 and sets the status to valid when the components form a date between years
    /// 100 and 9999 (hour 0-23, minute and second 0-59); otherwise 1 and invalid.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    int SetTime(int hour, int minute, int second) {
        return SetDateTime(1899, 12, 30, hour, minute, second);
    }

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    /// Components of a valid date, rounded to the second; -1 when invalid.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 Sunday to 7 Saturday
    int GetDayOfYear() const;  // 1 to 366

    static COleDateTime GetCurrentTime();

    double m_dt = 0.0;
    DateTimeStatus m_status = valid;

private:
    bool Split(int& year, int& month, int& day, int& hour, int& minute, int& second, int& dayOfWeek,
               int& dayOfYear) const;
};

}  // namespace ostrel::platform
