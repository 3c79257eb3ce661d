// SPDX-License-Identifier: Apache-2.0
// Display of numbers by kind: the dispatch, and the general, number, currency, percent,
// fraction, scientific, boolean and radix printers. Dates and times are printed in
// number_format_print_date.cpp.
#include <charconv>
#include <cmath>
#include <string>

#include "formats/digit_engine.h"
#include "formats/format_code_cache.h"
#include "formats/lt_strings.h"
#include "formats/number_format_locale.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

using number_format_detail::LocaleOf;

namespace {

// Values closer to zero than this print as zero, without a sign.
constexpr double kTiny = 1e-14;
// One machine epsilon, added from 0.1 up so that values just below a rounding boundary
// through binary representation (0.125 stored as 0.12499...) round the way they read.
constexpr double kNudge = 2.220446049250313e-16;

// Resource text of error code 3, shown for a value that is not a finite number.
constexpr unsigned kNotANumberText = 13381 + 3;

bool WriteIfNotFinite(CWideOutStream& out, double value) {
    if (std::isfinite(value)) return false;
    out << ostrel::LoadResourceString(kNotANumberText);
    return true;
}

// Writes ASCII digit text, the first '.' becoming the given radix.
void WriteWithRadix(CWideOutStream& out, std::string_view text, char16_t radix) {
    size_t point = text.find('.');
    if (point == std::string_view::npos) {
        out << text;
        return;
    }
    out << text.substr(0, point) << radix << text.substr(point + 1);
}

void WriteUnsigned(CWideOutStream& out, uint32_t value, int base, bool upper = false) {
    char buffer[40];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, base);
    std::string text(buffer, result.ptr);
    if (upper)
        for (char& c : text)
            if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    out << std::string_view(text);
}

void WriteInt(CWideOutStream& out, long long value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out << std::string_view(buffer, result.ptr - buffer);
}

// The value as the 32-bit integer the radix kinds show: truncated when it fits, two's
// complement for negatives; anything else (too large, not finite) is the runtime's
// "integer indefinite" 0x80000000.
uint32_t Truncated32(double value) {
    if (!std::isfinite(value)) return 0x80000000u;
    double t = std::trunc(value);
    if (t < -2147483648.0 || t > 2147483647.0) return 0x80000000u;
    return static_cast<uint32_t>(static_cast<int32_t>(t));
}

constexpr std::u16string_view kPositivePatterns[4] = {u"$#", u"#$", u"$ #", u"# $"};
constexpr std::u16string_view kMinusPatterns[16] = {
    u"-$#",  u"-$#",  u"$-#",  u"$#-",  u"-#$",  u"-#$",  u"#-$",  u"#$-",
    u"-# $", u"-$ #", u"# $-", u"$ #-", u"$ -#", u"#- $", u"-$ #", u"-# $"};
constexpr std::u16string_view kBracketPatterns[16] = {
    u"($#)", u"($#)",  u"($#)",  u"($#)",  u"(#$)",  u"(#$)",  u"(#$)",  u"(#$)",
    u"(#$)", u"($ #)", u"($ #)", u"($ #)", u"($ #)", u"(# $)", u"(# $)", u"(# $)"};

}  // namespace

void CCNumberFormat::Print(cells::LCTX* lctx, CWideOutStream& out, double value, int full) const {
    if (WriteIfNotFinite(out, value)) return;
    if (value != 0 && std::fabs(value) < kTiny) value = 0;
    if (m_custom && full == 0) {
        CFormatCodeCache::Render(lctx, m_code.str(), value, out);
        return;
    }
    switch (m_type) {
        case C_NF_GENERAL:
            PrintGeneral(lctx, out, value);
            break;
        case C_NF_NUMBER:
            PrintNumber(lctx, out, value, full);
            break;
        case C_NF_CURRENCY:
            PrintCurrency(lctx, out, value, full);
            break;
        case C_NF_PERCENT:
            PrintPercent(lctx, out, value, full);
            break;
        case C_NF_FRACTION:
            PrintFraction(lctx, out, value, full);
            break;
        case C_NF_SCIENTIFIC:
            PrintScientific(lctx, out, value);
            break;
        case C_NF_TIME:
            PrintTime(lctx, out, value);
            break;
        case C_NF_DATE:
            PrintDate(lctx, out, value);
            break;
        case C_NF_BOOL:
            PrintBool(lctx, out, value);
            break;
        case C_NF_HEX:
            PrintHex(lctx, out, value);
            break;
        case C_NF_OCT:
            PrintOct(lctx, out, value);
            break;
        case C_NF_BIN:
            PrintBin(lctx, out, value);
            break;
        default:
            break;
    }
}

void CCNumberFormat::Print(cells::LCTX* lctx, CWideOutStream& out, double value,
                           std::u16string_view unitText, int full) const {
    if (m_type != C_NF_NUMBER) {
        Print(lctx, out, value, full);
        return;
    }
    if (WriteIfNotFinite(out, value)) return;
    if (value != 0 && std::fabs(value) < kTiny) value = 0;
    PrintNumber(lctx, out, value, unitText, full);
}

void CCNumberFormat::PrintGeneral(cells::LCTX* lctx, CWideOutStream& out, double value) const {
    if (WriteIfNotFinite(out, value)) return;
    // Whole numbers, what most cells hold, go straight out, without a text and a radix pass.
    char16_t buffer[ostrel::digits::kWholeDigitsRoom];
    if (const char16_t* end = ostrel::digits::WholeDigits(value, buffer)) {
        out << std::u16string_view(buffer, size_t(end - buffer));
        return;
    }
    WriteWithRadix(out, ostrel::digits::FormatGeneral(value, 15),
                   LocaleOf(lctx).numberDeciamalSeparartor());
}

void CCNumberFormat::PrintGeneralNumber(cells::LCTX* lctx, CWideOutStream& out, double value,
                                        int full) const {
    PrintDigits(lctx, out, value, full, getPrecision());
}

void CCNumberFormat::PrintDigits(cells::LCTX* lctx, CWideOutStream& out, double value, int full,
                                 int precision) const {
    if (WriteIfNotFinite(out, value)) return;
    const auto& locale = LocaleOf(lctx);
    double magnitude = std::fabs(value);
    if (magnitude >= 0.1) magnitude += kNudge;
    std::string text;
    if (full != 0 || precision == 15)
        text = ostrel::digits::FormatGeneral(magnitude, 15);
    else
        text = ostrel::digits::FormatFixed(magnitude, precision, precision != 0);

    bool currency = m_type == C_NF_CURRENCY;
    char16_t radix =
        currency ? locale.currencyDeciamalSeparartor() : locale.numberDeciamalSeparartor();
    if (!(m_flagsA & kCommasBit)) {
        WriteWithRadix(out, text, radix);
        return;
    }
    char16_t group = currency ? locale.currencyGroupSeparartor() : locale.numberGroupSeparartor();
    int size = currency ? locale.currencyGroupSize() : locale.numberGroupSize();
    if (size <= 0) size = 512;
    // Only the integer digits are grouped; a fraction or an exponent ("1E+020") follows
    // unchanged.
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    size_t group_size = static_cast<size_t>(size);
    size_t first = digits % group_size;
    if (first == 0) first = group_size;
    if (first > digits) first = digits;
    std::string_view view(text);
    out << view.substr(0, first);
    for (size_t i = first; i < digits; i += group_size)
        out << group << view.substr(i, std::min(group_size, digits - i));
    WriteWithRadix(out, view.substr(digits), radix);
}

void CCNumberFormat::PrintNumber(cells::LCTX* lctx, CWideOutStream& out, double value,
                                 std::u16string_view unitText, int full) const {
    if (WriteIfNotFinite(out, value)) return;
    const auto& locale = LocaleOf(lctx);
    bool negative = value < 0;
    bool brackets = m_flagsA & kNegBrBit;
    if (negative) {
        if (brackets)
            out << u'(';
        else
            out << locale.negativeSign();
    }
    bool unit = full == 0 && !unitText.empty() && m_slot != 0;
    bool leading = m_flagsA & kLeadingBit;
    if (unit && leading) out << unitText << u' ';
    PrintGeneralNumber(lctx, out, value, full);
    if (unit && !leading) out << u' ' << unitText;
    if (brackets && negative) out << u')';
}

void CCNumberFormat::PrintNumber(cells::LCTX* lctx, CWideOutStream& out, double value,
                                 int full) const {
    std::u16string_view unitText;
    if (m_slot != 0) unitText = ::GetLTString(static_cast<int>(m_slot) - 1);
    PrintNumber(lctx, out, value, unitText, full);
}

void CCNumberFormat::PrintFormatNumber(cells::LCTX* lctx, CWideOutStream& out, double value,
                                       std::u16string_view pattern, int full) const {
    const auto& locale = LocaleOf(lctx);
    for (char16_t c : pattern) {
        switch (c) {
            case u'#':
                PrintGeneralNumber(lctx, out, value, full);
                break;
            case u'$':
                out << locale.currencyString();
                break;
            case u'-':
                out << locale.negativeSign();
                break;
            case u' ':
            case u'(':
            case u')':
                out << c;
                break;
            default:
                break;
        }
    }
}

void CCNumberFormat::PrintCurrency(cells::LCTX* lctx, CWideOutStream& out, double value,
                                   int full) const {
    if (WriteIfNotFinite(out, value)) return;
    const auto& locale = LocaleOf(lctx);
    std::u16string_view pattern;
    if (value >= 0) {
        int order = locale.currencyPositiveOrder();
        if (order < 0 || order > 3) order = 0;
        pattern = kPositivePatterns[order];
    } else {
        int order = locale.currencyNegativeOrder();
        if (order < 0 || order > 15) order = 0;
        pattern = (m_flagsA & kNegBrBit) ? kBracketPatterns[order] : kMinusPatterns[order];
    }
    PrintFormatNumber(lctx, out, value, pattern, full);
}

void CCNumberFormat::PrintPercent(cells::LCTX* lctx, CWideOutStream& out, double value,
                                  int full) const {
    if (WriteIfNotFinite(out, value * 100)) return;
    const auto& locale = LocaleOf(lctx);
    bool negative = value < 0;
    bool brackets = m_flagsA & kNegBrBit;
    if (negative) {
        if (brackets)
            out << u'(';
        else
            out << locale.negativeSign();
    }
    PrintGeneralNumber(lctx, out, value * 100, full);
    out << u'%';
    if (brackets && negative) out << u')';
}

void CCNumberFormat::PrintFraction(cells::LCTX* lctx, CWideOutStream& out, double value,
                                   int full) const {
    if (WriteIfNotFinite(out, value)) return;
    const auto& locale = LocaleOf(lctx);
    bool negative = value < 0;
    bool brackets = m_flagsA & kNegBrBit;
    if (negative) {
        if (brackets)
            out << u'(';
        else
            out << locale.negativeSign();
    }
    double whole = std::floor(std::fabs(value));
    if (whole != 0) PrintDigits(lctx, out, whole, full, 0);
    // The precision selects the fraction style; there are six, an unknown one is best fit.
    int style = getPrecision();
    if (style > 5) style = 0;
    int numerator = 0, denominator = 0;
    if (SplitFraction(value, style, numerator, denominator)) {
        if (whole != 0) out << u' ';
        WriteInt(out, numerator);
        out << u'/';
        WriteInt(out, denominator);
    } else if (whole == 0) {
        out << u'0';
    }
    if (brackets && negative) out << u')';
}

void CCNumberFormat::PrintScientific(cells::LCTX* lctx, CWideOutStream& out, double value) const {
    if (WriteIfNotFinite(out, value)) return;
    WriteWithRadix(out, ostrel::digits::FormatScientific(value, getPrecision(), true),
                   LocaleOf(lctx).numberDeciamalSeparartor());
}

void CCNumberFormat::PrintBool(cells::LCTX*, CWideOutStream& out, double value) const {
    out << ostrel::LoadResourceString(value != 0 ? 13020 : 13021);
}

void CCNumberFormat::PrintHex(cells::LCTX*, CWideOutStream& out, double value) const {
    out << u"0x";
    WriteUnsigned(out, Truncated32(value), 16, true);
}

void CCNumberFormat::PrintOct(cells::LCTX*, CWideOutStream& out, double value) const {
    out << u'0';
    WriteUnsigned(out, Truncated32(value), 8);
}

void CCNumberFormat::PrintBin(cells::LCTX*, CWideOutStream& out, double value) const {
    uint32_t bits = Truncated32(value);
    for (int bit = 31; bit >= 0; --bit)
        out << ((bits >> bit) & 1 ? u'1' : u'0');
}
