// SPDX-License-Identifier: Apache-2.0
// Dates and times as typed: digits or month names between date separators, in the order
// the locale writes them, and hours and minutes with optional seconds and AM/PM word.
#include "formula/scan_internal.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formula/scanner.h"

namespace ostrel::scan {

namespace {

constexpr int kMinYear = 1900;
constexpr int kMaxYear = 2071;

bool ScanDateSeparator(const Locale& loc, const char16_t*& p, char16_t& found, char16_t required) {
    char16_t c = *p;
    if (required == 0) {
        if (c == 0) return false;
        if (c != loc.dateSeparator() && c != u'/' && c != u'.' && c != u'-' && c != u' ' &&
            c != u'\\')
            return false;
        found = c;
        ++p;
        return true;
    }
    if (c == required) {
        found = c;
        ++p;
        return true;
    }
    // "Mar 12, 2001": after a space the list separator may stand before the year.
    if (required == u' ' && At(p, loc.listSeparartor())) {
        found = c;
        ++p;
        SkipWhite(p);
        return true;
    }
    return false;
}

bool ScanTextMonth(const Locale& loc, const char16_t*& p, int& month, int& style) {
    if (*p == 0 || IsDigit(*p)) return false;
    for (int n = 1; n <= 12; ++n) {
        // A locale without a name must not match everything.
        const std::u16string& longName = loc.dateLongMonths(n);
        if (!longName.empty() && _StrIIComp(nullptr, p, longName)) {
            month = n;
            style = 0;
            return true;
        }
        const std::u16string& shortName = loc.dateShortMonths(n);
        if (!shortName.empty() && _StrIIComp(nullptr, p, shortName)) {
            month = n;
            style = 1;
            return true;
        }
    }
    return false;
}

// A day or month: digits (as an int) or, when allowed, a month name.
struct Field {
    int value = 0;
    bool isName = false;
    int style = 2;  // month style: 0 long name, 1 short name, 2 digits
};

bool ScanField(const Locale& loc, const char16_t*& p, bool allowName, Field& field) {
    int value = 0;
    if (IsDigit(*p)) {
        if (!ReadInt(p, value)) return false;
        field = Field{value, false, 2};
        return true;
    }
    int style = 0;
    if (allowName && ScanTextMonth(loc, p, value, style)) {
        field = Field{value, true, style};
        return true;
    }
    return false;
}

// A run of 1, 2 or 4 digits; one or two digits are a year around the current one.
bool ScanYear(const char16_t*& p, int& year, int& yearType, int& typed) {
    const char16_t* q = p;
    int value = 0;
    int count = _EatNDigits(nullptr, q, value, 4);
    if (count == 0 || count == 3 || IsDigit(*q)) return false;
    typed = value;
    if (count <= 2) {
        UpdateYear(value);
        yearType = 2;
    } else {
        yearType = 0;
    }
    year = value;
    p = q;
    return true;
}

bool ScanDatePart(const Locale& loc, const char16_t*& p, int& day, int& month, int& year,
                  CCNumberFormat& format) {
    const char16_t* q = p;
    SkipWhite(q);
    const bool yearFirst = loc.dateYearPosition() == 0;
    int yearType = 1;  // no year typed
    int typedYear = 0;
    int y = 0;
    Field first, second;  // the day and the month, in the order typed

    if (yearFirst) {
        if (!ScanYear(q, y, yearType, typedYear)) return false;
    } else if (!ScanField(loc, q, true, first)) {
        return false;
    }
    char16_t separator = 0;
    if (!ScanDateSeparator(loc, q, separator, 0)) return false;
    if (yearFirst) {
        if (!ScanField(loc, q, true, first)) return false;
    } else if (!ScanField(loc, q, !first.isName, second)) {
        return false;
    }

    char16_t found = 0;
    if (ScanDateSeparator(loc, q, found, separator)) {
        if (yearFirst) {
            if (!ScanField(loc, q, !first.isName, second)) return false;
        } else if (!ScanYear(q, y, yearType, typedYear)) {
            return false;
        }
        SkipWhite(q);
    } else {
        // "12 3" is no date: a space alone says too little.
        if (separator == u' ') return false;
        if (yearFirst) {
            // Two fields in a year-first locale ("3-4"): day and month of this year.
            second = first;
            first = Field{typedYear, false, 2};
        }
        int d = 0, m = 0;
        GetCurrentDate(d, m, y);
        yearType = 1;
    }

    bool dayFirst;
    if (first.isName) {
        dayFirst = false;
    } else if (second.isName) {
        dayFirst = true;
    } else if (loc.dateOrder() == 1) {
        // Day-month-year locales read day first when that is a date.
        dayFirst = CheckDate(first.value, second.value, y, kMaxYear, kMinYear) != 0;
    } else {
        // Month-day-year and year-month-day locales read month first when that is a date.
        dayFirst = CheckDate(second.value, first.value, y, kMaxYear, kMinYear) == 0;
    }
    day = dayFirst ? first.value : second.value;
    month = dayFirst ? second.value : first.value;
    year = y;

    format = CCNumberFormat();
    format.Set(C_NF_DATE);
    format.setDelimiter(separator);
    format.setMonthType(static_cast<unsigned char>(first.isName    ? first.style
                                                   : second.isName ? second.style
                                                                   : 2));
    format.setYearType(static_cast<unsigned char>(yearType));
    format.setMDOrder(dayFirst);
    p = q;
    return true;
}

bool ScanTime(const Locale& loc, const char16_t*& p, double& fraction, int& amPm, bool& seconds) {
    const char16_t* q = p;
    SkipWhite(q);
    const char16_t separator = loc.timeSeparator();
    int hour = 0, minute = 0, second = 0;
    if (!ReadInt(q, hour) || !At(q, separator)) return false;
    ++q;
    if (!ReadInt(q, minute)) return false;
    SkipWhite(q);
    bool typedSeconds = false;
    // A separator without digits after it ("9:30:") is left for the caller to refuse.
    if (At(q, separator) && IsDigit(q[1])) {
        ++q;
        if (!ReadInt(q, second)) return false;
        SkipWhite(q);
        typedSeconds = true;
    }
    int mode = 1;
    const std::u16string& am = loc.timeAMString();
    const std::u16string& pm = loc.timePMString();
    if (!am.empty() && _StrIIComp(nullptr, q, am))
        mode = 0;
    else if (!pm.empty() && _StrIIComp(nullptr, q, pm))
        mode = 2;
    if (!CheckTime(hour, minute, second, mode)) return false;
    fraction = TimeToDouble(hour, minute, second, mode);
    amPm = mode;
    seconds = typedSeconds;
    p = q;
    return true;
}

}  // namespace

bool ScanDateValue(const Locale& loc, const char16_t*& p, ScannedNumber& out) {
    const char16_t* q = p;
    int day = 0, month = 0, year = 0;
    CCNumberFormat format;
    if (!ScanDatePart(loc, q, day, month, year, format)) return false;
    if (!CheckDate(day, month, year, kMaxYear, kMinYear)) return false;
    double value = DateToDouble(day, month, year);
    double time = 0.0;
    int amPm = 1;
    bool seconds = false;
    const char16_t* r = q;
    bool hasTime = ScanTime(loc, r, time, amPm, seconds);
    if (hasTime) {
        value += time;
        q = r;
    }
    format.setTime(hasTime);
    format.setTimeRange(amPm == 1);
    format.setTimeSeconds(seconds);
    out.value = value;
    out.format = format;
    p = q;
    return true;
}

bool ScanTimeValue(const Locale& loc, const char16_t*& p, ScannedNumber& out) {
    double fraction = 0.0;
    int amPm = 1;
    bool seconds = false;
    if (!ScanTime(loc, p, fraction, amPm, seconds)) return false;
    out.value = fraction;
    out.format = CCNumberFormat();
    out.format.Set(C_NF_TIME);
    out.format.setTimeRange(amPm == 1);
    out.format.setTimeSeconds(seconds);
    return true;
}

}  // namespace ostrel::scan

using namespace ostrel::scan;

int _EatDNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value) {
    ScannedNumber number;
    if (!cursor || !ScanDateValue(LocaleOf(lctx), cursor, number)) return 0;
    value.Set(number.value, number.format);
    return 1;
}

int EatDNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatDNumber(lctx, c, value); });
}

int _EatDNumber(cells::LCTX* lctx, const char16_t*& cursor, int& day, int& month, int& year,
                CCNumberFormat& format) {
    return cursor && ScanDatePart(LocaleOf(lctx), cursor, day, month, year, format);
}

int EatDNumber(cells::LCTX* lctx, char16_t*& cursor, int& day, int& month, int& year,
               CCNumberFormat& format) {
    return OnModifiable(
        cursor, [&](const char16_t*& c) { return _EatDNumber(lctx, c, day, month, year, format); });
}

int _EatTNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value) {
    ScannedNumber number;
    if (!cursor || !ScanTimeValue(LocaleOf(lctx), cursor, number)) return 0;
    value.Set(number.value, number.format);
    return 1;
}

int EatTNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatTNumber(lctx, c, value); });
}

int _EatTime(cells::LCTX* lctx, const char16_t*& cursor, double& fraction, int& amPm,
             int& seconds) {
    bool typed = false;
    if (!cursor || !ScanTime(LocaleOf(lctx), cursor, fraction, amPm, typed)) return 0;
    seconds = typed;
    return 1;
}

int EatTime(cells::LCTX* lctx, char16_t*& cursor, double& fraction, int& amPm, int& seconds) {
    return OnModifiable(
        cursor, [&](const char16_t*& c) { return _EatTime(lctx, c, fraction, amPm, seconds); });
}

int _EatDateSeparator(cells::LCTX* lctx, const char16_t*& cursor, char16_t& found,
                      char16_t required) {
    return cursor && ScanDateSeparator(LocaleOf(lctx), cursor, found, required);
}

int EatDateSeparator(cells::LCTX* lctx, char16_t*& cursor, char16_t& found, char16_t required) {
    return OnModifiable(
        cursor, [&](const char16_t*& c) { return _EatDateSeparator(lctx, c, found, required); });
}

int _EatTextMonth(cells::LCTX* lctx, const char16_t*& cursor, int& month, int& style) {
    return cursor && ScanTextMonth(LocaleOf(lctx), cursor, month, style);
}

int EatTextMonth(cells::LCTX* lctx, char16_t*& cursor, int& month, int& style) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatTextMonth(lctx, c, month, style); });
}
