// SPDX-License-Identifier: Apache-2.0
// Numbers as typed: plain, grouped, decimal, fraction, scientific, percent and currency.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "formula/decimal_digits.h"
#include "formula/scan_internal.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/resources.h"

namespace ostrel::scan {

namespace {

// Decimals a number format can record.
constexpr int kMaxDecimals = 15;
// Exponents typed beyond this give infinity or zero whatever the digits.
constexpr long kMaxExponent = 100000;

int ScanIntegerRun(const char16_t*& p, DecimalDigits& digits) {
    const char16_t* start = p;
    while (IsDigit(*p))
        digits.AddInteger(*p++);
    return static_cast<int>(std::min<ptrdiff_t>(p - start, INT_MAX));
}

// A run of digits, then groups of exactly `size` digits after each separator. Any other
// group fails the whole integer part, cursor unmoved (digits then hold garbage: the caller
// clears them). Without a usable separator or size there are no groups.
bool ScanGroupedInteger(const char16_t*& p, DecimalDigits& digits, bool& grouped,
                        char16_t separator, int size) {
    const char16_t* q = p;
    if (!IsDigit(*q)) return false;
    ScanIntegerRun(q, digits);
    bool any = false;
    if (size > 0 && !IsDigit(separator)) {
        while (At(q, separator)) {
            const char16_t* group = q + 1;
            const char16_t* end = group;
            while (IsDigit(*end) && end - group <= size)
                ++end;
            if (end - group != size) return false;
            while (group < end)
                digits.AddInteger(*group++);
            q = end;
            any = true;
        }
    }
    grouped = any;
    p = q;
    return true;
}

// "/" and at least one digit of a non-zero denominator.
bool ScanFractionLower(const char16_t*& p, double numerator, double& value) {
    const char16_t* q = p;
    if (*q != u'/') return false;
    ++q;
    if (!IsDigit(*q)) return false;
    DecimalDigits digits;
    ScanIntegerRun(q, digits);
    double denominator = digits.Value();
    if (denominator == 0.0) return false;
    value = numerator / denominator;
    p = q;
    return true;
}

// At least one white-space character, an optional numerator, then the lower part.
bool ScanFraction(const char16_t*& p, double& value) {
    const char16_t* q = p;
    if (!ostrel::text::IsSpace(*q)) return false;
    SkipWhite(q);
    double numerator = 0.0;
    if (IsDigit(*q)) {
        DecimalDigits digits;
        ScanIntegerRun(q, digits);
        numerator = digits.Value();
    }
    if (!ScanFractionLower(q, numerator, value)) return false;
    p = q;
    return true;
}

bool ScanExponent(const Locale& loc, const char16_t*& p, long& exponent) {
    const char16_t* q = p;
    SkipWhite(q);
    if (*q != u'E' && *q != u'e') return false;
    ++q;
    SkipWhite(q);
    bool negative = false;
    if (At(q, loc.positiveSign())) {
        ++q;
        SkipWhite(q);
    } else if (At(q, loc.negativeSign())) {
        negative = true;
        ++q;
        SkipWhite(q);
    }
    if (!IsDigit(*q)) return false;
    long e = 0;
    for (; IsDigit(*q); ++q)
        if (e <= kMaxExponent) e = e * 10 + (*q - u'0');
    exponent = negative ? -e : e;
    p = q;
    return true;
}

CCNumberFormat MakeFormat(unsigned char kind) {
    CCNumberFormat format;
    format.Set(kind);
    return format;
}

// A run of 1 to 15 digits at p and where it ends: such an integer is below 2^53, so its
// double is exact and needs neither the general scanner's digit buffer nor its rounding.
bool ReadShortWhole(const char16_t* p, const char16_t*& end, uint64_t& whole) {
    const char16_t* q = p;
    whole = 0;
    while (IsDigit(*q) && q - p < 16)
        whole = whole * 10 + uint64_t(*q++ - u'0');
    if (q == p || q - p > 15 || IsDigit(*q)) return false;
    end = q;
    return true;
}

// A cell's whole text of plain digits, the commonest number typed, with the format
// ScanNPFSNumber gives it.
bool ScanPlainInteger(const char16_t*& p, ScannedNumber& out) {
    const char16_t* end;
    uint64_t whole;
    if (!ReadShortWhole(p, end, whole) || *end != 0) return false;
    static const CCNumberFormat kFormat = [] {
        CCNumberFormat format = MakeFormat(kUndecided);
        format.setPrecision(0);
        format.setCommas(false);
        format.setType(C_NF_GENERAL);
        return format;
    }();
    out.value = double(whole);
    out.format = kFormat;
    p = end;
    return true;
}

}  // namespace

bool ScanNumberValue(const Locale& loc, const char16_t*& p, bool cellInput, ScannedNumber& out,
                     int scale) {
    const char16_t* q = p;
    SkipWhite(q);

    DecimalDigits digits;
    bool hasInteger = false;
    bool grouped = false;
    if (IsDigit(*q)) {
        if (cellInput) {
            hasInteger = ScanGroupedInteger(q, digits, grouped, loc.numberGroupSeparartor(),
                                            loc.numberGroupSize());
            if (!hasInteger) digits.Clear();
        } else {
            hasInteger = ScanIntegerRun(q, digits) > 0;
        }
    }

    bool hasSeparator = false;
    int decimals = 0;
    if (At(q, loc.numberDeciamalSeparartor())) {
        hasSeparator = true;
        ++q;
        for (; IsDigit(*q); ++q) {
            digits.AddFraction(*q);
            if (decimals < kMaxDecimals) ++decimals;
        }
    }
    // Neither an integer part nor fraction digits: nothing, or a separator alone.
    if (!hasInteger && decimals == 0) return false;

    unsigned char kind = kUndecided;
    double value = 0.0;
    if (cellInput && hasInteger && !hasSeparator) {
        const char16_t* r = q;
        double fraction = 0.0;
        if (ScanFraction(r, fraction)) {
            kind = C_NF_FRACTION;
            value = digits.Value() + fraction;
            q = r;
        } else if (!grouped && ScanFractionLower(r, digits.Value(), fraction)) {
            kind = C_NF_FRACTION;
            value = fraction;
            q = r;
        }
    }
    if (kind != C_NF_FRACTION) {
        long exponent = 0;
        const char16_t* r = q;
        if (ScanExponent(loc, r, exponent)) {
            kind = C_NF_SCIENTIFIC;
            q = r;
        }
        value = digits.Value(exponent + scale);
    }
    if (!std::isfinite(value)) return false;

    out.value = value;
    out.format = MakeFormat(kind);
    out.format.setPrecision(static_cast<unsigned char>(hasSeparator ? decimals : 0));
    if (cellInput) out.format.setCommas(grouped);
    p = q;
    return true;
}

bool ScanNPFSNumber(const Locale& loc, const char16_t*& p, bool allowSign, ScannedNumber& out) {
    const char16_t* q = p;
    SkipWhite(q);
    bool negative = false;
    if (allowSign) {
        if (At(q, loc.positiveSign())) {
            ++q;
            SkipWhite(q);
        } else if (At(q, loc.negativeSign())) {
            negative = true;
            ++q;
            SkipWhite(q);
        }
    }
    const char16_t* start = q;
    ScannedNumber number;
    if (!ScanNumberValue(loc, q, true, number)) return false;
    if (number.format.getType() == kUndecided) {
        const char16_t* r = q;
        SkipWhite(r);
        if (*r == u'%') {
            // Scanned again a hundredth smaller: one rounding from the digits typed.
            const char16_t* again = start;
            if (!ScanNumberValue(loc, again, true, number, -2)) return false;
            number.format.setType(C_NF_PERCENT);
            q = r + 1;
        } else {
            number.format.setType(C_NF_GENERAL);
        }
    }
    if (negative) number.value = Negate(number.value);
    out = number;
    p = q;
    return true;
}

bool ScanCurrencyNumber(const Locale& loc, const char16_t*& p, bool allowSign, ScannedNumber& out) {
    const std::u16string& symbol = loc.currencyString();
    if (symbol.empty()) return false;  // an empty symbol would be "typed" everywhere
    const char16_t* q = p;
    SkipWhite(q);
    bool haveSign = false, negative = false, haveSymbol = false, haveNumber = false;
    ScannedNumber number;
    while (*q) {
        bool took = false;
        if (allowSign && !haveSign) {
            if (At(q, loc.positiveSign()) || At(q, loc.negativeSign())) {
                negative = *q == loc.negativeSign();
                haveSign = took = true;
                ++q;
                SkipWhite(q);
            }
        }
        if (!haveSymbol && _StrIIComp(nullptr, q, symbol)) {
            haveSymbol = took = true;
            SkipWhite(q);
        }
        if (!haveNumber && ScanNumberValue(loc, q, true, number)) {
            haveNumber = took = true;
            SkipWhite(q);
        }
        if (!took) break;
    }
    if (!haveSymbol || !haveNumber) return false;
    number.format.setType(C_NF_CURRENCY);
    if (negative) number.value = Negate(number.value);
    out = number;
    p = q;
    return true;
}

bool ScanAnyNumber(const Locale& loc, const char16_t*& p, bool allowSign, ScannedNumber& out) {
    if (ScanPlainInteger(p, out)) return true;
    const char16_t* end = p;
    ScannedNumber npfs;
    bool haveNpfs = ScanNPFSNumber(loc, end, allowSign, npfs);
    if (haveNpfs && OnlyWhite(end)) {
        out = npfs;
        p = end;
        return true;
    }
    // Something follows the number: the text may be a date ("12/3/2001" starts with the
    // fraction 12/3), a time, an amount or a boolean instead.
    const char16_t* q = p;
    ScannedNumber other;
    if (ScanDateValue(loc, q, other) || ScanTimeValue(loc, q, other) ||
        ScanCurrencyNumber(loc, q, allowSign, other) || ScanBool(q, other)) {
        if (!std::isfinite(other.value)) return false;
        out = other;
        p = q;
        return true;
    }
    if (!haveNpfs || !std::isfinite(npfs.value)) return false;
    out = npfs;
    p = end;
    return true;
}

bool ScanBool(const char16_t*& p, ScannedNumber& out) {
    static const std::u16string_view kTrue = ostrel::LoadResourceString(13020);
    static const std::u16string_view kFalse = ostrel::LoadResourceString(13021);
    const char16_t* q = p;
    SkipWhite(q);
    double value;
    if (!kTrue.empty() && _StrIComp(nullptr, q, kTrue))
        value = 1.0;
    else if (!kFalse.empty() && _StrIComp(nullptr, q, kFalse))
        value = 0.0;
    else
        return false;
    out.value = value;
    out.format = MakeFormat(C_NF_BOOL);
    p = q;
    return true;
}

}  // namespace ostrel::scan

using namespace ostrel::scan;

namespace {

// Runs a scanner that produces a number and stores it in the value on success.
template <typename Scan>
int ToValue(const char16_t*& cursor, CCCellValue& value, Scan&& scan) {
    if (!cursor) return 0;
    ScannedNumber number;
    if (!scan(cursor, number)) return 0;
    value.Set(number.value, number.format);
    return 1;
}

}  // namespace

// ---- Value scanners -----------------------------------------------------------------------

int _EatNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value, int allowSign) {
    return ToValue(cursor, value, [&](const char16_t*& p, ScannedNumber& n) {
        return ScanAnyNumber(LocaleOf(lctx), p, allowSign != 0, n);
    });
}

int EatNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int allowSign) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatNumber(lctx, c, value, allowSign); });
}

int _EatNPFSNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value, int allowSign) {
    return ToValue(cursor, value, [&](const char16_t*& p, ScannedNumber& n) {
        return ScanNPFSNumber(LocaleOf(lctx), p, allowSign != 0, n);
    });
}

int EatNPFSNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int allowSign) {
    return OnModifiable(
        cursor, [&](const char16_t*& c) { return _EatNPFSNumber(lctx, c, value, allowSign); });
}

int _EatNumberValue(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value, int cellInput) {
    return ToValue(cursor, value, [&](const char16_t*& p, ScannedNumber& n) {
        if (!ScanNumberValue(LocaleOf(lctx), p, cellInput != 0, n)) return false;
        if (n.format.getType() == kUndecided) n.format.setType(C_NF_GENERAL);
        return true;
    });
}

int EatNumberValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int cellInput) {
    return OnModifiable(
        cursor, [&](const char16_t*& c) { return _EatNumberValue(lctx, c, value, cellInput); });
}

int _EatCurrencyNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value,
                       int allowSign) {
    return ToValue(cursor, value, [&](const char16_t*& p, ScannedNumber& n) {
        return ScanCurrencyNumber(LocaleOf(lctx), p, allowSign != 0, n);
    });
}

int EatCurrencyNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int allowSign) {
    return OnModifiable(
        cursor, [&](const char16_t*& c) { return _EatCurrencyNumber(lctx, c, value, allowSign); });
}

int _EatBOOLValue(cells::LCTX*, const char16_t*& cursor, CCCellValue& value) {
    return ToValue(cursor, value,
                   [](const char16_t*& p, ScannedNumber& n) { return ScanBool(p, n); });
}

int EatBOOLValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatBOOLValue(lctx, c, value); });
}

int _EatBNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value) {
    return _EatBOOLValue(lctx, cursor, value);
}

int EatBNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value) {
    return EatBOOLValue(lctx, cursor, value);
}

int _EatTextValue(cells::LCTX*, const char16_t*& cursor, CCCellValue& value) {
    if (!cursor) return 0;
    const char16_t* q = cursor;
    SkipWhite(q);
    if (*q != u'"') return 0;
    ++q;
    const char16_t escape = CCCellValue::m_chSpecial;
    // First pass: find the closing quote, never stepping over the terminator.
    const char16_t* body = q;
    bool escaped = false;
    while (*q != u'"') {
        if (*q == 0) return 0;
        if (escape && *q == escape) {
            if (q[1] == 0) return 0;
            escaped = true;
            ++q;
        }
        ++q;
    }
    if (!escaped) {
        value.Set(std::u16string_view(body, static_cast<size_t>(q - body)));
    } else {
        std::u16string text;
        text.reserve(static_cast<size_t>(q - body));
        for (const char16_t* r = body; r < q; ++r) {
            if (*r == escape) ++r;
            text.push_back(*r);
        }
        value.Set(std::u16string_view(text));
    }
    cursor = q + 1;
    return 1;
}

int EatTextValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatTextValue(lctx, c, value); });
}

namespace {

// A whole number of at most 15 digits standing alone (no fraction or exponent follows), as
// ScanNumberValue reads it: the commonest constant of formulas, read without the general
// scanner. False when the cursor stands on anything else.
bool EatShortInteger(const Locale& loc, const char16_t*& cursor, CCCellValue& value) {
    const char16_t* q;
    uint64_t whole;
    if (!ReadShortWhole(cursor, q, whole) || At(q, loc.numberDeciamalSeparartor())) return false;
    const char16_t* after = q;
    SkipWhite(after);
    if (*after == u'E' || *after == u'e') return false;
    static const CCNumberFormat format = [] {
        CCNumberFormat f = MakeFormat(kUndecided);
        f.setPrecision(0);
        f.setType(C_NF_GENERAL);
        return f;
    }();
    value.Set(double(whole), format);
    cursor = q;
    return true;
}

}  // namespace

int _EatConstant(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value) {
    if (!cursor) return 0;
    const Locale& loc = LocaleOf(lctx);
    if (EatShortInteger(loc, cursor, value)) return 1;
    ScannedNumber number;
    const char16_t* q = cursor;
    if (ScanNumberValue(loc, q, false, number)) {
        if (number.format.getType() == kUndecided) number.format.setType(C_NF_GENERAL);
    } else if (!ScanBool(q, number)) {
        return _EatTextValue(lctx, cursor, value);
    }
    value.Set(number.value, number.format);
    cursor = q;
    return 1;
}

int EatConstant(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatConstant(lctx, c, value); });
}

// ---- Pieces -------------------------------------------------------------------------------

int _EatDigits(cells::LCTX*, const char16_t*& cursor, double& value) {
    if (!cursor) return 0;
    DecimalDigits digits;
    int count = ScanIntegerRun(cursor, digits);
    if (count > 0) value = digits.Value();
    return count;
}

int EatDigits(cells::LCTX* lctx, char16_t*& cursor, double& value) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatDigits(lctx, c, value); });
}

int _EatNDigits(cells::LCTX*, const char16_t*& cursor, int& value, int expected) {
    if (!cursor) return 0;
    expected = std::clamp(expected, 0, 9);  // nine digits always fit an int
    int v = 0, count = 0;
    while (count < expected && IsDigit(*cursor)) {
        v = v * 10 + (*cursor++ - u'0');
        ++count;
    }
    if (count > 0) value = v;
    return count;
}

int EatNDigits(cells::LCTX* lctx, char16_t*& cursor, int& value, int expected) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatNDigits(lctx, c, value, expected); });
}

int _EatDigitsAndComma(cells::LCTX*, const char16_t*& cursor, double& value, int& grouped,
                       char16_t separator, int groupSize) {
    if (!cursor) return 0;
    DecimalDigits digits;
    bool any = false;
    if (!ScanGroupedInteger(cursor, digits, any, separator, groupSize)) return 0;
    value = digits.Value();
    grouped = any;
    return 1;
}

int EatDigitsAndComma(cells::LCTX* lctx, char16_t*& cursor, double& value, int& grouped,
                      char16_t separator, int groupSize) {
    return OnModifiable(cursor, [&](const char16_t*& c) {
        return _EatDigitsAndComma(lctx, c, value, grouped, separator, groupSize);
    });
}

int _EatWhole(cells::LCTX* lctx, const char16_t*& cursor, double& value, int cellInput,
              int& grouped) {
    if (!cursor) return 0;
    if (!cellInput) {
        grouped = 0;
        return _EatDigits(lctx, cursor, value) > 0;
    }
    const Locale& loc = LocaleOf(lctx);
    return _EatDigitsAndComma(lctx, cursor, value, grouped, loc.numberGroupSeparartor(),
                              loc.numberGroupSize());
}

int EatWhole(cells::LCTX* lctx, char16_t*& cursor, double& value, int cellInput, int& grouped) {
    return OnModifiable(
        cursor, [&](const char16_t*& c) { return _EatWhole(lctx, c, value, cellInput, grouped); });
}

int _EatFract(cells::LCTX* lctx, const char16_t*& cursor, double& fraction, int& digits) {
    if (!cursor || !At(cursor, LocaleOf(lctx).numberDeciamalSeparartor())) return 0;
    const char16_t* q = cursor + 1;
    DecimalDigits collected;
    int count = 0;
    for (; IsDigit(*q); ++q) {
        collected.AddFraction(*q);
        if (count < INT_MAX) ++count;
    }
    fraction = collected.Value();
    digits = count;
    cursor = q;
    return 1;
}

int EatFract(cells::LCTX* lctx, char16_t*& cursor, double& fraction, int& digits) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatFract(lctx, c, fraction, digits); });
}

int _EatFraction(cells::LCTX*, const char16_t*& cursor, double& value) {
    return cursor && ScanFraction(cursor, value);
}

int EatFraction(cells::LCTX* lctx, char16_t*& cursor, double& value) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatFraction(lctx, c, value); });
}

int _EatFractionLower(cells::LCTX*, const char16_t*& cursor, double numerator, double& value) {
    return cursor && ScanFractionLower(cursor, numerator, value);
}

int EatFractionLower(cells::LCTX* lctx, char16_t*& cursor, double numerator, double& value) {
    return OnModifiable(
        cursor, [&](const char16_t*& c) { return _EatFractionLower(lctx, c, numerator, value); });
}

int _EatExp(cells::LCTX* lctx, const char16_t*& cursor, double& factor) {
    long exponent = 0;
    if (!cursor || !ScanExponent(LocaleOf(lctx), cursor, exponent)) return 0;
    DecimalDigits one;
    one.AddInteger(u'1');
    factor = one.Value(exponent);
    return 1;
}

int EatExp(cells::LCTX* lctx, char16_t*& cursor, double& factor) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatExp(lctx, c, factor); });
}
