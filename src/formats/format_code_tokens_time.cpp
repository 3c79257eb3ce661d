// SPDX-License-Identifier: Apache-2.0
// Rendering of the date and clock tokens from the date, clock and elapsed totals the render
// state holds. Names come from the locale; AM and PM are fixed texts.
#include "formats/format_code_tokens.h"
#include "formats/format_code_write.h"

using format_code::RenderState;
using format_code::WriteInteger;
using format_code::WriteWhole;

namespace {

// "%d" for one letter, "%02d" for more.
int WidthOf(int count) {
    return count == 1 ? 1 : 2;
}

}  // namespace

void CYearSection::Render(RenderState& s) const {
    if (m_count == 2)
        WriteInteger(s.out, s.year % 100, 2);
    else
        WriteInteger(s.out, s.year);
}

void CMonthSection::Render(RenderState& s) const {
    if (m_count <= 2)
        WriteInteger(s.out, s.month, m_count);
    else if (m_count == 3)
        s.out << s.locale.dateShortMonths(s.month);
    else
        s.out << s.locale.dateLongMonths(s.month);
}

void CDaySection::Render(RenderState& s) const {
    if (m_count <= 2)
        WriteInteger(s.out, s.day, m_count);
    else if (m_count == 3)
        s.out << s.locale.dateShortDays(s.weekday);
    else
        s.out << s.locale.dateLongDays(s.weekday);
}

void CHourSection::Render(RenderState& s) const {
    if (m_elapsed) {
        WriteWhole(s.out, s.elapsedHours, WidthOf(m_count));
        return;
    }
    int hour = s.hour;
    if (m_twelveHour) {
        if (hour > 12) hour -= 12;
        if (hour == 0) hour = 12;
    }
    WriteInteger(s.out, hour, WidthOf(m_count));
}

void CMinutesSection::Render(RenderState& s) const {
    if (m_elapsed)
        WriteWhole(s.out, s.elapsedMinutes, WidthOf(m_count));
    else
        WriteInteger(s.out, s.minute, WidthOf(m_count));
}

void CSecondsSection::Render(RenderState& s) const {
    if (m_elapsed)
        WriteWhole(s.out, s.elapsedSeconds, WidthOf(m_count));
    else
        WriteInteger(s.out, s.second, WidthOf(m_count));
}

void CAMPMSection::Render(RenderState& s) const {
    s.out << (s.hour >= 12 ? u"PM" : u"AM");
}
