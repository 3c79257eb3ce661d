// SPDX-License-Identifier: Apache-2.0
// Shared pieces of the scanners: the locale in use, white space and digit runs, the number
// result the scanners hand each other, and the bridge from modifiable to read-only cursors.
// Not part of the public interface.
#pragma once

#include <climits>
#include <cstdint>

#include "ostrel/engine/ctx.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/zmk/legacy_locale_context.h"
#include "platform/text/unicode.h"

namespace ostrel::scan {

using Locale = zmk::multilang::CLegacyLocaleContext;

inline const Locale& LocaleOf(cells::LCTX* lctx) {
    if (lctx && lctx->lctx) return *lctx->lctx;
    return *cells::invariant_LCTX()->lctx;
}

inline cells::LCTX* LctxOf(cells::CTX* ctx) {
    return ctx ? ctx->GetLCTX() : nullptr;
}

inline bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Whether the cursor stands on c. A locale character may be missing (0): it then matches
// nothing, never the terminator.
inline bool At(const char16_t* p, char16_t c) {
    return c != 0 && *p == c;
}

// Negation without a negative zero: "-0" is typed as 0.
inline double Negate(double v) {
    return v == 0.0 ? 0.0 : -v;
}

inline void SkipWhite(const char16_t*& p) {
    while (*p && ostrel::text::IsSpace(*p))
        ++p;
}

inline bool OnlyWhite(const char16_t* p) {
    SkipWhite(p);
    return *p == 0;
}

// A run of digits as an int. Fails, with the cursor unmoved, when there is no digit or when
// the value does not fit an int: such a component can never be valid, and wrapping would
// let a long run pass for a small one.
inline bool ReadInt(const char16_t*& p, int& value) {
    const char16_t* q = p;
    long long v = 0;
    bool overflow = false;
    while (IsDigit(*q)) {
        if (!overflow) {
            v = v * 10 + (*q - u'0');
            if (v > INT_MAX) overflow = true;
        }
        ++q;
    }
    if (q == p || overflow) return false;
    value = static_cast<int>(v);
    p = q;
    return true;
}

// A number as the scanners pass it on: the value and the format its typing implies.
struct ScannedNumber {
    double value = 0.0;
    CCNumberFormat format;
};

// Type code of a plain number whose kind is not decided yet; it never leaves the number
// scanners.
constexpr unsigned char kUndecided = C_NF_NUMBER;

// The scanners the others build on, over read-only text; each writes its result only on
// success and leaves the cursor unmoved on failure.
// scale: a power of ten applied to a decimal result (not to a fraction), so that a percent
// is rounded once, from its digits.
bool ScanNumberValue(const Locale& loc, const char16_t*& p, bool cellInput, ScannedNumber& out,
                     int scale = 0);
bool ScanNPFSNumber(const Locale& loc, const char16_t*& p, bool allowSign, ScannedNumber& out);
bool ScanCurrencyNumber(const Locale& loc, const char16_t*& p, bool allowSign, ScannedNumber& out);
bool ScanBool(const char16_t*& p, ScannedNumber& out);
bool ScanDateValue(const Locale& loc, const char16_t*& p, ScannedNumber& out);
bool ScanTimeValue(const Locale& loc, const char16_t*& p, ScannedNumber& out);
// Number, date, time, currency amount or boolean, as typed into a cell; finite only.
bool ScanAnyNumber(const Locale& loc, const char16_t*& p, bool allowSign, ScannedNumber& out);

// Runs a read-only scanner over a modifiable cursor: the cursor ends where the scanner left
// its copy, within the same buffer.
template <typename Scan>
auto OnModifiable(char16_t*& cursor, Scan&& scan) {
    const char16_t* c = cursor;
    auto result = scan(c);
    if (cursor) cursor += c - cursor;
    return result;
}

}  // namespace ostrel::scan
