// SPDX-License-Identifier: Apache-2.0
// Two-number functions: remainders, the rounding family, logarithms to a base, and the
// random numbers. Either argument not a number gives error 3.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "functions/function_row.h"
#include "functions/math_functions.h"
#include "functions/math_support.h"
#include "functions/random.h"

using math_detail::NumberArgument;
using math_detail::SetNumber;

namespace {

// Reads the first two arguments (the second optional with fallback when the list has only
// one); false when either is not a number.
bool TwoNumbers(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x, double& y,
                double fallback) {
    if (!NumberArgument(ctx, args, 0, x, cell)) return false;
    if (!args || !args->m_pNext) {
        y = fallback;
        return true;
    }
    return NumberArgument(ctx, args, 1, y, cell);
}

// A value within a few ulps of an integer is that integer: decimal fractions scaled by a
// power of ten land just beside it (0.07 * 100 is 7.000000000000001), and ceil or floor of
// such a value would step a whole unit away from what was typed.
double Snap(double v) {
    const double r = std::nearbyint(v);
    return std::fabs(v - r) <= 4 * DBL_EPSILON * std::fabs(v) ? r : v;
}

// Rounds x at a number of decimal digits (negative: tens, hundreds ...) with step, which
// maps the snapped scaled value to an integer.
template <class Step>
double AtDigits(double x, double digits, Step step) {
    const double d = std::clamp(std::trunc(digits), -308.0, 308.0);
    const double p = std::pow(10.0, std::fabs(d));
    const double scaled = d >= 0 ? x * p : x / p;
    // So many digits that x has no finer part to remove.
    if (!std::isfinite(scaled)) return x;
    const double r = step(Snap(scaled));
    return d >= 0 ? r / p : r * p;
}

template <class Compute>
void Binary(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
            double fallback, Compute compute) {
    double x = 0;
    double y = 0;
    if (!TwoNumbers(ctx, args, cell, x, y, fallback)) {
        result.Set(3);
        return;
    }
    compute(x, y);
}

}  // namespace

void EvalMOD(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    Binary(ctx, result, args, cell, 0, [&](double x, double y) {
        if (y == 0)
            result.Set(2);
        else
            SetNumber(result, x - y * std::floor(x / y));
    });
}

// The nearest multiple of m (halves up); 0 when m is 0.
void EvalROUND(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    Binary(ctx, result, args, cell, 0, [&](double x, double m) {
        SetNumber(result, m == 0 ? 0.0 : std::floor(Snap(x / m + 0.5)) * m);
    });
}

void EvalROUNDUP(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    Binary(ctx, result, args, cell, 0, [&](double x, double d) {
        SetNumber(result, AtDigits(x, d, [](double v) { return std::ceil(v); }));
    });
}

void EvalROUNDDOWN(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                   const CCRef* cell) {
    Binary(ctx, result, args, cell, 0, [&](double x, double d) {
        SetNumber(result, AtDigits(x, d, [](double v) { return std::floor(v); }));
    });
}

// Halves go up, also for negative numbers (-2.5 gives -2).
void EvalROUNDN(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    Binary(ctx, result, args, cell, 0, [&](double x, double d) {
        SetNumber(result, AtDigits(x, d, [](double v) { return std::floor(Snap(v + 0.5)); }));
    });
}

// floor at the digits: negative numbers therefore go toward minus infinity.
void EvalTRUNC(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    Binary(ctx, result, args, cell, 0, [&](double x, double d) {
        SetNumber(result, AtDigits(x, d, [](double v) { return std::floor(v); }));
    });
}

// A significance of 0 has no multiples: error 3 rather than 0 * infinity.
void EvalCEILING(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    Binary(ctx, result, args, cell, 1, [&](double x, double s) {
        if (s == 0)
            result.Set(3);
        else
            SetNumber(result, std::ceil(Snap(x / s)) * s);
    });
}

void EvalFLOOR(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    Binary(ctx, result, args, cell, 1, [&](double x, double s) {
        if (s == 0)
            result.Set(3);
        else
            SetNumber(result, std::floor(Snap(x / s)) * s);
    });
}

void EvalLOG(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double x = 0;
    if (!NumberArgument(ctx, args, 0, x, cell)) {
        result.Set(3);
        return;
    }
    if (!args->m_pNext) {
        SetNumber(result, std::log10(x));
        return;
    }
    double base = 0;
    if (!NumberArgument(ctx, args, 1, base, cell)) {
        result.Set(3);
        return;
    }
    SetNumber(result, std::log(x) / std::log(base));
}

void EvalRAND(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double scale = 1;
    if (args && !NumberArgument(ctx, args, 0, scale, cell)) {
        result.Set(3);
        return;
    }
    SetNumber(result, double(FunctionRand15()) / kFunctionRandMax * scale);
}

// Not rounded to an integer.
void EvalRANDBETWEEN(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                     const CCRef* cell) {
    Binary(ctx, result, args, cell, 0, [&](double a, double b) {
        SetNumber(result, a + (b - a) * FunctionRand15() / kFunctionRandMax);
    });
}

namespace {

const FunctionRow kRows[] = {
    {u"LOG", 13060, kMathematical, RULE(1, 2, kNone, 0), EvalLOG,
     u"LOG(number, [base])\n"
     u"Returns the logarithm of a number to base 10 or to a given base.\n"
     u"number: a positive value\n"
     u"base: the base of the logarithm; 10 when omitted"},
    {u"MOD", 13064, kMathematical, RULE(2, 2, kNone, 0), EvalMOD,
     u"MOD(number, divisor)\n"
     u"Returns the remainder of a division; the remainder has the sign of the divisor.\n"
     u"number: the value to divide\n"
     u"divisor: the value to divide by; must not be 0"},
    {u"RAND", 13069, kMathematical, RULE(0, 1, kNone, 0), EvalRAND,
     u"RAND([limit])\n"
     u"Returns a random number from 0 to 1, or from 0 to a limit; it changes at every "
     u"recalculation.\n"
     u"limit: the upper end of the interval; 1 when omitted",
     EntryClass::plain, kFlagAlwaysRecalc},
    {u"RANDBETWEEN", 13070, kMathematical, RULE(2, 2, kNone, 0), EvalRANDBETWEEN,
     u"RANDBETWEEN(bottom, top)\n"
     u"Returns a random number between two limits, not rounded to an integer; it changes at every "
     u"recalculation.\n"
     u"bottom: the lower limit\n"
     u"top: the upper limit",
     EntryClass::plain, kFlagAlwaysRecalc},
    {u"ROUND", 13071, kMathematical, RULE(2, 2, kNone, 0), EvalROUND,
     u"ROUND(number, multiple)\n"
     u"Rounds a number to the nearest multiple of another number.\n"
     u"number: the value to round\n"
     u"multiple: the multiple to round to; 0 gives 0"},
    {u"ROUNDDOWN", 13072, kMathematical, RULE(2, 2, kNone, 0), EvalROUNDDOWN,
     u"ROUNDDOWN(number, digits)\n"
     u"Rounds a number down, toward minus infinity, to a number of decimal places.\n"
     u"number: the value to round\n"
     u"digits: the number of decimal places; negative values round to tens, hundreds and so on"},
    {u"ROUNDUP", 13073, kMathematical, RULE(2, 2, kNone, 0), EvalROUNDUP,
     u"ROUNDUP(number, digits)\n"
     u"Rounds a number up, toward plus infinity, to a number of decimal places.\n"
     u"number: the value to round\n"
     u"digits: the number of decimal places; negative values round to tens, hundreds and so on"},
    {u"TRUNC", 13297, kMathematical, RULE(2, 2, kNone, 0), EvalTRUNC,
     u"TRUNC(number, digits)\n"
     u"Cuts a number down, toward minus infinity, to a number of decimal places.\n"
     u"number: the value to cut\n"
     u"digits: the number of decimal places; its fraction is ignored"},
    {u"CEILING", 13298, kMathematical, RULE(2, kMany, kAny, 0), EvalCEILING,
     u"CEILING(number, significance)\n"
     u"Rounds a number up to the next multiple of a significance.\n"
     u"number: the value to round\n"
     u"significance: the multiple to round to"},
    {u"FLOOR", 13299, kMathematical, RULE(2, kMany, kAny, 0), EvalFLOOR,
     u"FLOOR(number, significance)\n"
     u"Rounds a number down to the previous multiple of a significance.\n"
     u"number: the value to round\n"
     u"significance: the multiple to round to"},
    {u"ROUNDN", 13300, kMathematical, RULE(2, 2, kNone, 0), EvalROUNDN,
     u"ROUNDN(number, digits)\n"
     u"Rounds a number to a number of decimal places, halves upward.\n"
     u"number: the value to round\n"
     u"digits: the number of decimal places; negative values round to tens, hundreds and so on"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::MathRoundingRows() {
    return kRows;
}
