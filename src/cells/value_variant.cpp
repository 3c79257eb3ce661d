// SPDX-License-Identifier: Apache-2.0
// Conversion between values and automation variants at the engine's boundary.
#include <cmath>

#include "ostrel/cells/cell_value.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/platform/ole_date_time.h"
#include "ostrel/platform/variant.h"
#include "platform/names.h"

namespace {

constexpr double kSecond = 1.1574074074074073e-05;

bool TimeInRange(int hour, int minute, int second) {
    return hour >= 0 && hour <= 24 && minute >= 0 && minute <= 60 && second >= 0 && second <= 60;
}

// The automation date of a serial, or false when the serial is outside 1900-2071.
bool SerialToAutomation(double serial, DATE& out) {
    if (!std::isfinite(serial)) return false;
    int day, month, year, hour, minute, second;
    DoubleToDate(serial, day, month, year);
    DoubleToTime(serial, hour, minute, second);
    if (!CheckDate(day, month, year, 2071, 1900) || !TimeInRange(hour, minute, second))
        return false;
    // 24:00 and a 60th second or minute are not components an automation date accepts:
    // carry them forward instead of producing an invalid date.
    long extraSeconds = 0;
    if (second == 60) second = 0, extraSeconds += 60;
    if (minute == 60) minute = 0, extraSeconds += 3600;
    if (hour == 24) hour = 0, extraSeconds += 86400;
    COleDateTime date(year, month, day, hour, minute, second);
    if (date.GetStatus() != COleDateTime::valid) return false;
    out = date.m_dt + (date.m_dt >= 0 ? 1 : -1) * extraSeconds / 86400.0;
    return true;
}

void SetError(VARIANT& v) {
    VariantClear(&v);
    v.vt = VT_ERROR;
    v.scode = E_FAIL;
}

}  // namespace

void CCCellValue::Set(const VARIANT& v) {
    switch (v.vt) {
        case VT_EMPTY:
        case VT_NULL:
            Set();
            break;
        case VT_I2:
            Set(double(v.iVal), C_NF_NUMBER);
            m_format.SetPrecision(0);
            break;
        case VT_I4:
            Set(double(v.lVal));
            m_format.SetPrecision(0);
            break;
        case VT_R4:
            Set(double(v.fltVal), C_NF_GENERAL);
            break;
        case VT_R8:
            Set(v.dblVal, C_NF_GENERAL);
            break;
        case VT_CY:
            // Currency is a count of ten-thousandths.
            Set(double(v.cyVal.int64) / 10000.0, C_NF_CURRENCY);
            break;
        case VT_DATE: {
            COleDateTime date(v.date);
            int year = date.GetYear(), month = date.GetMonth(), day = date.GetDay();
            int hour = date.GetHour(), minute = date.GetMinute(), second = date.GetSecond();
            if (date.GetStatus() == COleDateTime::valid &&
                CheckDate(day, month, year, 2071, 1900) && TimeInRange(hour, minute, second)) {
                Set(DateToDouble(day, month, year) + (hour * 3600 + minute * 60 + second) * kSecond,
                    C_NF_DATE);
            } else {
                Set(3);
            }
            break;
        }
        case VT_BSTR:
            Set(static_cast<const char16_t*>(v.bstrVal));
            break;
        case VT_BOOL:
            Set(v.boolVal != 0 ? 1.0 : 0.0, C_NF_BOOL);
            break;
        case VT_UI1: {
            char16_t text[2] = {char16_t(v.bVal), 0};
            Set(text);
            break;
        }
        default:
            Set(3);
            break;
    }
}

void CCCellValue::Get(VARIANT& v) const {
    switch (m_type) {
        case CV_EMPTY:
            VariantClear(&v);
            v.vt = VT_EMPTY;
            return;
        case CV_ERROR:
            SetError(v);
            return;
        case CV_TEXT: {
            VariantClear(&v);
            v.vt = VT_BSTR;
            v.bstrVal = SysAllocString(m_text ? m_text : u"");
            return;
        }
        case CV_NUMBER:
            break;
        default:
            return;  // references are left as the caller passed the variant
    }
    const double x = m_number;
    switch (m_format.GetType()) {
        case C_NF_NUMBER:
            if (m_format.GetPrecision() == 0 && x >= -2147483648.0 && x <= 2147483647.0) {
                VariantClear(&v);
                v.vt = VT_I4;
                v.lVal = static_cast<int32_t>(std::ceil(x));
                return;
            }
            break;
        case C_NF_CURRENCY: {
            double units = std::floor(x * 10000 + 0.5);
            // The 64-bit count must hold the amount; anything else cannot be currency.
            if (!(units >= -9223372036854775808.0 && units < 9223372036854775808.0)) {
                SetError(v);
                return;
            }
            VariantClear(&v);
            v.vt = VT_CY;
            v.cyVal.int64 = static_cast<int64_t>(units);
            return;
        }
        case C_NF_TIME:
        case C_NF_DATE: {
            DATE date;
            if (!SerialToAutomation(x, date)) {
                SetError(v);
                return;
            }
            VariantClear(&v);
            v.vt = VT_DATE;
            v.date = date;
            return;
        }
        case C_NF_BOOL:
            VariantClear(&v);
            v.vt = VT_BOOL;
            v.boolVal = x != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
            return;
        default:
            if (m_format.GetType() > C_NF_BOOL) return;  // hex, octal, binary: left as passed
            break;
    }
    VariantClear(&v);
    v.vt = VT_R8;
    v.dblVal = x;
}
