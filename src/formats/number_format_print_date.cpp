// SPDX-License-Identifier: Apache-2.0
// Display of times and dates: the clock text, the date parts in the locale's order with
// the format's delimiter, month and year styles, and the Japanese date form.
#include <charconv>
#include <cmath>
#include <string>

#include "formats/number_format_locale.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

using number_format_detail::LocaleOf;

namespace {

constexpr unsigned kNotANumberText = 13381 + 3;
constexpr double kHalfSecond = 5.787037037037037e-6;
constexpr double kOneSecond = 1.1574074074074073e-5;
constexpr char16_t kJapaneseDay = u'\u65E5';
constexpr char16_t kJapaneseYear = u'\u5E74';

// "%02d": at least two digits.
std::string TwoDigits(int value) {
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (value >= 0 && text.size() < 2) text.insert(text.begin(), '0');
    return text;
}

bool WriteIfNotFinite(CWideOutStream& out, double value) {
    if (std::isfinite(value)) return false;
    out << ostrel::LoadResourceString(kNotANumberText);
    return true;
}

}  // namespace

void CCNumberFormat::PrintTime(cells::LCTX* lctx, CWideOutStream& out, double value) const {
    if (WriteIfNotFinite(out, value)) return;
    double x = std::fabs(value);
    double seconds = (x - std::floor(x) + kHalfSecond) / kOneSecond;
    int hour = static_cast<int>(std::trunc(seconds / 3600));
    seconds -= 3600.0 * hour;
    int minute = static_cast<int>(std::trunc(seconds / 60));
    seconds -= 60.0 * minute;
    int second = static_cast<int>(std::trunc(seconds));
    PrintTime(lctx, out, hour, minute, second);
}

void CCNumberFormat::PrintTime(cells::LCTX* lctx, CWideOutStream& out, int hour, int minute,
                               int second) const {
    const auto& locale = LocaleOf(lctx);
    bool clock24 = m_flagsB & kTimeRangeBit;
    // On the 12-hour clock only afternoon hours are reduced: 0 stays 0 and 12 stays 12.
    int shown = !clock24 && hour > 12 ? hour - 12 : hour;
    out << std::string_view(TwoDigits(shown)) << locale.timeSeparator()
        << std::string_view(TwoDigits(minute));
    if (m_flagsB & kTimeSecondsBit)
        out << locale.timeSeparator() << std::string_view(TwoDigits(second));
    if (!clock24) out << u' ' << (hour < 12 ? locale.timeAMString() : locale.timePMString());
}

void CCNumberFormat::PrintDate(cells::LCTX* lctx, CWideOutStream& out, double value) const {
    if (WriteIfNotFinite(out, value)) return;
    int day = 0, month = 0, year = 0;
    DoubleToDate(value, day, month, year);
    PrintDate(lctx, out, day, month, year);
    if (m_flagsB & kTimeBit) {
        out << u' ';
        PrintTime(lctx, out, value);
    }
}

void CCNumberFormat::PrintDate(cells::LCTX* lctx, CWideOutStream& out, int day, int month,
                               int year) const {
    // The Japanese form (year, month and day marks) goes with long month names of a
    // Japanese locale. It is passed down rather than kept in shared state.
    const auto& locale = LocaleOf(lctx);
    bool japanese = locale.info(1) == u"0411" && getMonthType() == 0;
    PrintDateParts(lctx, out, day, month, year, japanese);
}

void CCNumberFormat::PrintDateParts(cells::LCTX* lctx, CWideOutStream& out, int day, int month,
                                    int year, bool japanese) const {
    const auto& locale = LocaleOf(lctx);
    char16_t dateSeparator = locale.dateSeparator();
    char16_t delimiter = m_slot != 0 ? m_slot : dateSeparator;
    std::u16string yearSeparator;
    if (delimiter != 0) yearSeparator.push_back(delimiter);
    // A list separator as delimiter reads "December 25, 2024": a space between month and
    // day, the separator and a space before the year.
    if (delimiter != dateSeparator && delimiter == locale.listSeparartor()) {
        yearSeparator.push_back(u' ');
        delimiter = u' ';
    }
    // No separator next to a year that is not shown (year types 1 and 3 alike).
    int yearType = getYearType();
    bool separateYear = !japanese && yearType != 1 && yearType != 3 && !yearSeparator.empty();
    bool yearFirst = locale.dateYearPosition() == 0;

    if (yearFirst) {
        PrintYearText(out, year, japanese);
        if (separateYear) out << yearSeparator;
    }
    if (!(m_flagsB & kMDOrderBit)) {
        PrintMonth(lctx, out, month);
        if (!japanese && delimiter != 0) out << delimiter;
        PrintDay(lctx, out, day);
        if (japanese) out << kJapaneseDay;
    } else {
        PrintDay(lctx, out, day);
        if (japanese)
            out << kJapaneseDay;
        else if (delimiter != 0)
            out << delimiter;
        PrintMonth(lctx, out, month);
    }
    if (!yearFirst) {
        if (separateYear) out << yearSeparator;
        PrintYearText(out, year, japanese);
    }
}

void CCNumberFormat::PrintDay(cells::LCTX* lctx, CWideOutStream& out, int day) const {
    std::string text = TwoDigits(day);
    if (text.size() == 2 && text[0] == '0' && !LocaleOf(lctx).days2()) text.erase(0, 1);
    out << std::string_view(text);
}

void CCNumberFormat::PrintMonth(cells::LCTX* lctx, CWideOutStream& out, int month) const {
    const auto& locale = LocaleOf(lctx);
    switch (getMonthType()) {
        case 0:
            out << locale.dateLongMonths(month);
            break;
        case 1:
            out << locale.dateShortMonths(month);
            break;
        case 2: {
            std::string text = TwoDigits(month);
            if (text.size() == 2 && text[0] == '0' && !locale.months2()) text.erase(0, 1);
            out << std::string_view(text);
            break;
        }
        default:
            break;
    }
}

void CCNumberFormat::PrintYear(cells::LCTX*, CWideOutStream& out, int year) const {
    PrintYearText(out, year, false);
}

void CCNumberFormat::PrintYearText(CWideOutStream& out, int year, bool japanese) const {
    switch (getYearType()) {
        case 0: {
            char buffer[16];
            auto result = std::to_chars(buffer, buffer + sizeof buffer, year);
            out << std::string_view(buffer, result.ptr - buffer);
            break;
        }
        case 2:
            out << std::string_view(TwoDigits(year % 100));
            break;
        default:
            return;
    }
    if (japanese) out << kJapaneseYear;
}
