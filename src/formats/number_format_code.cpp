// SPDX-License-Identifier: Apache-2.0
// Comparing number formats, converting a classic format into the format code that shows
// the same, and making a format custom.
#include <string>

#include "formats/format_code_cache.h"
#include "formats/lt_strings.h"
#include "formats/number_format_locale.h"
#include "ostrel/formats/number_format.h"
#include "platform/names.h"

using number_format_detail::LocaleOf;

namespace {

// Characters that a format code reads as something other than themselves (placeholders,
// date and time letters, quoting, escapes, brackets, spacing and fill).
bool IsCodeSyntax(char16_t c) {
    return std::u16string_view(u"\"#0123456789?.,%/yYdDmMhHsSA[\\_*").find(c) !=
           std::u16string_view::npos;
}

// Text inside a quoted literal; a double quote closes the literal, gives itself escaped and
// opens it again.
void AppendQuotedBody(std::u16string& code, std::u16string_view text) {
    for (char16_t c : text) {
        if (c == u'"')
            code += u"\"\\\"\"";
        else
            code += c;
    }
}

// Literal text: as it is when no character would be read as code syntax, else quoted.
void AppendLiteral(std::u16string& code, std::u16string_view text) {
    bool plain = true;
    for (char16_t c : text)
        if (IsCodeSyntax(c)) plain = false;
    if (plain) {
        code += text;
        return;
    }
    code += u'"';
    AppendQuotedBody(code, text);
    code += u'"';
}

// A date delimiter: '/' and '.' read as themselves in a date code; other syntax characters
// are escaped (a backslash becomes two).
void AppendDelimiter(std::u16string& code, char16_t delimiter) {
    if (delimiter == 0) return;
    if (IsCodeSyntax(delimiter) && delimiter != u'/' && delimiter != u'.') code += u'\\';
    code += delimiter;
}

}  // namespace

int CCNumberFormat::IsEqual(cells::LCTX* lctx, const CCNumberFormat& other) const {
    if (m_custom && other.m_custom) return m_code == other.m_code;
    if (m_custom || other.m_custom) {
        const CCNumberFormat& classic = m_custom ? other : *this;
        const CCNumberFormat& custom = m_custom ? *this : other;
        // Kinds without a code form (hexadecimal and beyond) equal no custom format.
        if (classic.m_type > C_NF_BOOL) return 0;
        return classic.getConvertedFormatString(lctx) == custom.m_code;
    }
    if (m_type != other.m_type) return 0;
    switch (m_type) {
        case C_NF_GENERAL:
        case C_NF_NUMBER:
            return (m_flagsA & 0x7F) == (other.m_flagsA & 0x7F) && m_slot == other.m_slot;
        case C_NF_CURRENCY:
        case C_NF_PERCENT:
        case C_NF_FRACTION:
        case C_NF_SCIENTIFIC:
            return (m_flagsA & 0x7F) == (other.m_flagsA & 0x7F);
        case C_NF_TIME:
            return (m_flagsB & 0x03) == (other.m_flagsB & 0x03);
        case C_NF_DATE:
            return m_flagsB == other.m_flagsB && m_slot == other.m_slot;
        case C_NF_BOOL:
            return 1;
        case C_NF_HEX:
        case C_NF_OCT:
        case C_NF_BIN:
            return m_flagsA == other.m_flagsA;
        default:
            // Unknown kinds (from a stream) are equal when every packed byte is, so that
            // interning one does not add a new entry each time.
            return m_flagsA == other.m_flagsA && m_flagsB == other.m_flagsB &&
                   m_slot == other.m_slot;
    }
}

void CCNumberFormat::convertToFormatString(cells::LCTX* lctx) {
    if (!m_custom) m_code = getConvertedFormatString(lctx);
}

CString CCNumberFormat::getConvertedFormatString(cells::LCTX* lctx) const {
    if (m_custom) return m_code.str();
    const auto& locale = LocaleOf(lctx);
    std::u16string code;
    switch (m_type) {
        case C_NF_GENERAL:
        case C_NF_BOOL:
            return u"General";
        case C_NF_NUMBER:
        case C_NF_CURRENCY:
        case C_NF_PERCENT:
        case C_NF_FRACTION:
        case C_NF_SCIENTIFIC: {
            std::u16string_view unit;
            if (m_type == C_NF_NUMBER && m_slot != 0) unit = ::GetLTString(m_slot - 1);
            bool leading = m_flagsA & kLeadingBit;
            if (m_type == C_NF_CURRENCY) {
                AppendLiteral(code, locale.currencyString());
                code += u' ';
            } else if (!unit.empty() && leading) {
                code += u'"';
                AppendQuotedBody(code, unit);
                code += u" \"";
            }
            if (m_type == C_NF_FRACTION)
                code += u"#/0";
            else
                code += (m_flagsA & kCommasBit) ? u"#,0" : u"0";
            int precision = getPrecision();
            if (precision >= 1 && precision <= 14) {
                code += u'.';
                code.append(precision, u'0');
            }
            if (m_type == C_NF_PERCENT) {
                code += u'%';
            } else if (m_type == C_NF_SCIENTIFIC) {
                code += u"E+000";
            } else if (!unit.empty() && !leading) {
                code += u"\" ";
                AppendQuotedBody(code, unit);
                code += u'"';
            }
            bool brackets = m_flagsA & kNegBrBit;
            bool red = m_flagsA & kNegRedBit;
            if (brackets || red) {
                std::u16string positive = code;
                code += u';';
                if (red) code += u"[RED]";
                if (brackets) code += u'(';
                code += positive;
                if (brackets) code += u')';
            }
            return code;
        }
        case C_NF_DATE: {
            // The same parts and separators as the printer writes.
            char16_t dateSeparator = locale.dateSeparator();
            char16_t delimiter = m_slot != 0 ? m_slot : dateSeparator;
            std::u16string separator, yearSeparator;
            AppendDelimiter(separator, delimiter);
            yearSeparator = separator;
            if (delimiter != dateSeparator && delimiter == locale.listSeparartor()) {
                yearSeparator += u' ';
                separator = u" ";
            }
            static constexpr std::u16string_view kMonths[4] = {u"mmmm", u"mmm", u"mm", u""};
            std::u16string_view month = kMonths[getMonthType()];
            std::u16string dayMonth;
            if (m_flagsB & kMDOrderBit)
                dayMonth = std::u16string(u"dd") + separator + std::u16string(month);
            else
                dayMonth = std::u16string(month) + separator + u"dd";
            std::u16string_view year;
            if (getYearType() == 0) year = u"yyyy";
            if (getYearType() == 2) year = u"yy";
            if (year.empty())
                code = dayMonth;
            else if (locale.dateYearPosition() == 0)
                code = std::u16string(year) + yearSeparator + dayMonth;
            else
                code = dayMonth + yearSeparator + std::u16string(year);
            if (m_flagsB & kTimeBit) {
                code += u' ';
                AppendTimeCode(code);
            }
            return code;
        }
        case C_NF_TIME:
            AppendTimeCode(code);
            return code;
        default:
            return code;
    }
}

void CCNumberFormat::AppendTimeCode(std::u16string& code) const {
    code += u"hh:mm";
    if (m_flagsB & kTimeSecondsBit) code += u":ss";
    if (!(m_flagsB & kTimeRangeBit)) code += u" AM/PM";
}

void CCNumberFormat::setCustomFormat(std::u16string_view code) {
    CString text(code);  // code may view this format's own text
    m_custom = true;
    m_code = text;
    CFormatCodeCache::Register(m_code.str());
    m_type = CFormatCodeCache::Category(m_code.str());
}
