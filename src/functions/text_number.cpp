// SPDX-License-Identifier: Apache-2.0
// The text functions between numbers and texts: DOLLAR and FIXED print a rounded number
// through a number format of the locale, VALUE reads a text as if it were typed into a cell.
#include <cfloat>
#include <climits>
#include <cmath>
#include <string>

#include "functions/text_functions.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

using ostrel::functions::EvaluateArgument;
using ostrel::functions::NumberOrError;
using ostrel::functions::SetText;

namespace {

// The number formats keep at most 14 decimals (15 is their general display).
constexpr int64_t kMostDecimals = 14;
// Beyond this many digits left of the point every finite double rounds to 0.
constexpr int64_t kLeastDecimals = -309;

// x rounded half away from zero at 10^-decimals. A scaled value a few ulps short of the next
// integer counts as that integer, so that 1.005 (stored a little below) rounds to 1.01 as it
// reads; only below 2^49, where a few ulps are still much less than one.
double RoundAtDecimals(double x, int64_t decimals) {
    if (decimals <= kLeastDecimals) return 0;
    const double p = std::pow(10.0, double(decimals < 0 ? -decimals : decimals));
    const double magnitude = std::fabs(decimals >= 0 ? x * p : x / p);
    // Whole at that scale already, or so many decimals that x has nothing finer to lose.
    if (!std::isfinite(magnitude) || magnitude >= 0x1p52) return x;
    const double v = magnitude + 0.5;  // exact below 2^52
    double whole = std::floor(v);
    if (magnitude < 0x1p49 && whole + 1 - v <= 4 * DBL_EPSILON * v) whole += 1;
    const double rounded = decimals >= 0 ? whole / p : whole * p;
    // Rounded to nothing: no minus sign on the zero.
    if (rounded == 0) return 0;
    return std::copysign(rounded, x);
}

// The number and decimals (2 when omitted) of DOLLAR and FIXED, rounded; the decimals that
// are printed come back in `shown`.
int RoundedNumber(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x,
                  int& shown) {
    if (int error = NumberOrError(ctx, args, 0, x, cell)) return error;
    int64_t decimals = 2;
    if (int error = ostrel::functions::OptionalIntegerArgument(
            ctx, args, 1, ostrel::functions::Rounding::trunc, INT_MIN, kMostDecimals, 2, decimals,
            cell))
        return error;
    x = RoundAtDecimals(x, decimals);
    if (!std::isfinite(x)) return 3;
    shown = decimals > 0 ? int(decimals) : 0;
    return 0;
}

// The number printed in the format, as a cell holding it would show it.
void PrintAs(cells::CTX* ctx, CCCellValue& result, double x, const CCNumberFormat& format) {
    CCCellValue number;
    number.Set(x, format);
    CWideOutStream printed;
    number.Print(ctx, printed, 0);
    SetText(result, printed.str());
}

cells::LCTX* LocaleContext(cells::CTX* ctx) {
    return ctx ? ctx->GetLCTX() : nullptr;
}

}  // namespace

namespace text_functions {

// The locale's currency format, grouped, with the decimals asked for.
OSTREL_TEXT_ROUTINE(Dollar) {
    double x = 0;
    int shown = 0;
    if (int error = RoundedNumber(ctx, args, cell, x, shown)) return error;
    CCNumberFormat format;
    format.SetDefault(LocaleContext(ctx), C_NF_CURRENCY);
    format.setPrecision(static_cast<unsigned char>(shown));
    format.setCommas(1);
    PrintAs(ctx, result, x, format);
    return 0;
}

// The locale's number format with a minus sign for negatives, grouped unless the third
// argument is true.
OSTREL_TEXT_ROUTINE(Fixed) {
    double x = 0;
    int shown = 0;
    if (int error = RoundedNumber(ctx, args, cell, x, shown)) return error;
    double noCommas = 0;
    if (ostrel::functions::NthArgument(args, 2)) {
        if (int error = NumberOrError(ctx, args, 2, noCommas, cell)) return error;
    }
    CCNumberFormat format;
    format.SetDefault(LocaleContext(ctx), C_NF_NUMBER);
    format.setPrecision(static_cast<unsigned char>(shown));
    format.setCommas(noCommas == 0);
    format.setNegBr(0);
    PrintAs(ctx, result, x, format);
    return 0;
}

// A number passes unchanged. A text must hold one typed number, percent, currency amount,
// date or time, white space around it allowed; the result has the format that typing it
// gives a cell. A boolean word is not a number here.
OSTREL_TEXT_ROUTINE(Value) {
    CCCellValue value;
    EvaluateArgument(ctx, args, 0, value, cell);
    if (value.IsError()) return value.GetError();
    if (value.IsNumber()) {
        result.Set(value);
        return 0;
    }
    if (!value.IsText() || !value.GetText()) return 3;
    const char16_t* cursor = value.GetText();
    _EatWhite(cursor);
    CCCellValue number;
    if (!_EatNumber(LocaleContext(ctx), cursor, number, 1) || !_IsEmpty(cursor) ||
        !number.IsNumber() || number.GetFormat().getType() == C_NF_BOOL)
        return 3;
    result.Set(number);
    return 0;
}

}  // namespace text_functions
