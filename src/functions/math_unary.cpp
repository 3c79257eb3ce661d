// SPDX-License-Identifier: Apache-2.0
// The one-argument mathematical functions and the trigonometric functions: the argument
// must evaluate to a number (anything else, an error included, gives error 3); the result is
// a General number, or error 3 where a domain check fails.
#include <cfloat>
#include <cmath>

#include "functions/function_row.h"
#include "functions/math_functions.h"
#include "functions/math_support.h"

using math_detail::NumberArgument;
using math_detail::SetNumber;

namespace {

constexpr double kPi = 3.141592653589793;

// Applies f to the one number; f returns false when x is outside its domain.
template <class F>
void Unary(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
           F f) {
    double x = 0;
    double y = 0;
    if (!NumberArgument(ctx, args, 0, x, cell) || !f(x, y)) {
        result.Set(3);
        return;
    }
    SetNumber(result, y);
}

// floor(x) * (floor(x) - step) * ... down to 2; stops once the product is infinite, so that
// a huge argument costs a few steps instead of running down from it.
bool Factorial(double x, double step, double& y) {
    if (!(x >= 0) || x + 1 == x) return false;
    y = 1;
    for (double k = std::floor(x); k >= 2 && std::isfinite(y); k -= step)
        y *= k;
    return true;
}

}  // namespace

#define OSTREL_UNARY(Name, body)                                                   \
    void Name(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,     \
              const CCRef* cell) {                                                 \
        Unary(ctx, result, args, cell, [](double x, double& y) -> bool { body; }); \
    }

OSTREL_UNARY(EvalABS, y = std::fabs(x); return true)
// The library forms stay accurate near 0 and for large x, where ln(sqrt(x*x+1)+x)
// cancels or overflows.
OSTREL_UNARY(EvalACOSH, y = std::acosh(x); return true)
OSTREL_UNARY(EvalASINH, y = std::asinh(x); return true)
OSTREL_UNARY(EvalATANH, if (!(x > -1 && x < 1)) return false; y = 0.5 * std::log((1 + x) / (1 - x));
             return true)
OSTREL_UNARY(EvalACOTANH, if (!(x < -1 || x > 1)) return false;
             y = 0.5 * std::log((x + 1) / (x - 1)); return true)
OSTREL_UNARY(EvalCOSH, y = std::cosh(x); return true)
OSTREL_UNARY(EvalSINH, y = std::sinh(x); return true)
OSTREL_UNARY(EvalTANH, y = std::tanh(x); return true)
// 1 / tanh(x) is the same quotient without the overflow of e^2x for large x.
OSTREL_UNARY(EvalCOTANH, if (x == 0 || std::isnan(x)) return false; y = 1 / std::tanh(x);
             return true)
OSTREL_UNARY(EvalEXP, y = std::exp(x); return true)
OSTREL_UNARY(EvalLN, y = std::log(x); return true)
OSTREL_UNARY(EvalLOG10, y = std::log10(x); return true)
OSTREL_UNARY(EvalEVEN, y = std::ceil(std::fabs(x) / 2) * 2; if (x < 0) y = -y; return true)
OSTREL_UNARY(EvalODD, double a = std::fabs(x); double k = std::floor(a / 2) * 2 - 1;
             // a - k is below 3, so two steps of 2 reach the first odd integer not below a.
             if (k < a) k += 2;
             if (k < a) k += 2; y = x < 0 ? -k : k; return true)
OSTREL_UNARY(EvalFACT, return Factorial(x, 1, y))
OSTREL_UNARY(EvalFACTDOUBLE, return Factorial(x, 2, y))
OSTREL_UNARY(EvalINT, y = std::floor(x); return true)
OSTREL_UNARY(EvalSIGN, y = x < 0 ? -1 : (x > 0 ? 1 : 0); return true)
OSTREL_UNARY(EvalSQR, y = x * x; return true)
OSTREL_UNARY(EvalSQRT, if (!(x >= 0)) return false; y = std::sqrt(x); return true)

OSTREL_UNARY(EvalSQRTPI, if (!(x >= 0)) return false; y = std::sqrt(x * kPi); return true)
OSTREL_UNARY(EvalACOS, y = std::acos(x); return true)
OSTREL_UNARY(EvalASIN, y = std::asin(x); return true)
OSTREL_UNARY(EvalATAN, y = std::atan(x); return true)
OSTREL_UNARY(EvalCOS, y = std::cos(x); return true)
OSTREL_UNARY(EvalSIN, y = std::sin(x); return true)
OSTREL_UNARY(EvalTAN, y = std::tan(x); return true)
OSTREL_UNARY(EvalACOTAN, y = 1.5707963267948966 - std::atan(x); return true)
OSTREL_UNARY(EvalCOTAN, double s = std::sin(x); y = s == 0 ? HUGE_VAL : std::cos(x) / s;
             return true)
OSTREL_UNARY(EvalDEGREES, y = x * 180 / kPi; return true)
OSTREL_UNARY(EvalRADIANS, y = x * kPi / 180; return true)

#undef OSTREL_UNARY

void EvalPI(cells::CTX*, CCCellValue& result, const CCFormulaList*, const CCRef*) {
    SetNumber(result, kPi);
}

// ATAN2(x, y): the angle of the point (x, y), so the ordinate is the second argument.
void EvalATAN2(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double x = 0;
    double y = 0;
    if (!NumberArgument(ctx, args, 0, x, cell) || !NumberArgument(ctx, args, 1, y, cell)) {
        result.Set(3);
        return;
    }
    SetNumber(result, std::atan2(y, x));
}

namespace {

const FunctionRow kRows[] = {
    {u"ABS", 13044, kMathematical, RULE(1, 1, kNone, 0), EvalABS,
     u"ABS(number)\n"
     u"Returns the absolute value of a number.\n"
     u"number: the value whose absolute value is returned"},
    {u"ACOSH", 13045, kMathematical, RULE(1, 1, kNone, 0), EvalACOSH,
     u"ACOSH(number)\n"
     u"Returns the inverse hyperbolic cosine of a number.\n"
     u"number: a value of at least 1"},
    {u"ACOTANH", 13046, kMathematical, RULE(1, 1, kNone, 0), EvalACOTANH,
     u"ACOTANH(number)\n"
     u"Returns the inverse hyperbolic cotangent of a number.\n"
     u"number: a value below -1 or above 1"},
    {u"ASINH", 13047, kMathematical, RULE(1, 1, kNone, 0), EvalASINH,
     u"ASINH(number)\n"
     u"Returns the inverse hyperbolic sine of a number.\n"
     u"number: any number"},
    {u"ATANH", 13048, kMathematical, RULE(1, 1, kNone, 0), EvalATANH,
     u"ATANH(number)\n"
     u"Returns the inverse hyperbolic tangent of a number.\n"
     u"number: a value between -1 and 1, both excluded"},
    {u"COSH", 13049, kMathematical, RULE(1, 1, kNone, 0), EvalCOSH,
     u"COSH(number)\n"
     u"Returns the hyperbolic cosine of a number.\n"
     u"number: any number"},
    {u"COTANH", 13050, kMathematical, RULE(1, 1, kNone, 0), EvalCOTANH,
     u"COTANH(number)\n"
     u"Returns the hyperbolic cotangent of a number.\n"
     u"number: any number other than 0"},
    {u"EVEN", 13052, kMathematical, RULE(1, 1, kNone, 0), EvalEVEN,
     u"EVEN(number)\n"
     u"Rounds a number away from zero to the nearest even integer.\n"
     u"number: the value to round"},
    {u"EXP", 13053, kMathematical, RULE(1, 1, kNone, 0), EvalEXP,
     u"EXP(number)\n"
     u"Returns e raised to the power of a number.\n"
     u"number: the exponent"},
    {u"FACT", 13054, kMathematical, RULE(1, 1, kNone, 0), EvalFACT,
     u"FACT(number)\n"
     u"Returns the factorial of the integer part of a number.\n"
     u"number: a value of 0 or more; its fraction is ignored"},
    {u"FACTDOUBLE", 13055, kMathematical, RULE(1, 1, kNone, 0), EvalFACTDOUBLE,
     u"FACTDOUBLE(number)\n"
     u"Returns the double factorial of the integer part of a number: the product of every second "
     u"integer from it down to 1 or 2.\n"
     u"number: a value of 0 or more; its fraction is ignored"},
    {u"INT", 13057, kMathematical, RULE(1, 1, kNone, 0), EvalINT,
     u"INT(number)\n"
     u"Rounds a number down to the nearest integer.\n"
     u"number: the value to round down"},
    {u"LN", 13059, kMathematical, RULE(1, 1, kNone, 0), EvalLN,
     u"LN(number)\n"
     u"Returns the natural logarithm of a number.\n"
     u"number: a positive value"},
    {u"LOG10", 13061, kMathematical, RULE(1, 1, kNone, 0), EvalLOG10,
     u"LOG10(number)\n"
     u"Returns the base-10 logarithm of a number.\n"
     u"number: a positive value"},
    {u"ODD", 13066, kMathematical, RULE(1, 1, kNone, 0), EvalODD,
     u"ODD(number)\n"
     u"Rounds a number away from zero to the nearest odd integer.\n"
     u"number: the value to round"},
    {u"SIGN", 13075, kMathematical, RULE(1, 1, kNone, 0), EvalSIGN,
     u"SIGN(number)\n"
     u"Returns the sign of a number: 1 when positive, -1 when negative, 0 for zero.\n"
     u"number: any number"},
    {u"SINH", 13076, kMathematical, RULE(1, 1, kNone, 0), EvalSINH,
     u"SINH(number)\n"
     u"Returns the hyperbolic sine of a number.\n"
     u"number: any number"},
    {u"SQR", 13077, kMathematical, RULE(1, 1, kNone, 0), EvalSQR,
     u"SQR(number)\n"
     u"Returns the square of a number.\n"
     u"number: the value to square"},
    {u"SQRT", 13078, kMathematical, RULE(1, 1, kNone, 0), EvalSQRT,
     u"SQRT(number)\n"
     u"Returns the square root of a number.\n"
     u"number: a value of 0 or more"},
    {u"TANH", 13086, kMathematical, RULE(1, 1, kNone, 0), EvalTANH,
     u"TANH(number)\n"
     u"Returns the hyperbolic tangent of a number.\n"
     u"number: any number"},
    {u"ACOS", 13089, kTrigonometric, RULE(1, 1, kNone, 0), EvalACOS,
     u"ACOS(number)\n"
     u"Returns the arc cosine of a number, in radians.\n"
     u"number: the cosine of the angle, from -1 to 1"},
    {u"ACOTAN", 13090, kTrigonometric, RULE(1, 1, kNone, 0), EvalACOTAN,
     u"ACOTAN(number)\n"
     u"Returns the arc cotangent of a number, in radians.\n"
     u"number: the cotangent of the angle"},
    {u"ASIN", 13091, kTrigonometric, RULE(1, 1, kNone, 0), EvalASIN,
     u"ASIN(number)\n"
     u"Returns the arc sine of a number, in radians.\n"
     u"number: the sine of the angle, from -1 to 1"},
    {u"ATAN", 13092, kTrigonometric, RULE(1, 1, kNone, 0), EvalATAN,
     u"ATAN(number)\n"
     u"Returns the arc tangent of a number, in radians.\n"
     u"number: the tangent of the angle"},
    {u"ATAN2", 13093, kTrigonometric, RULE(2, 2, kNone, 0), EvalATAN2,
     u"ATAN2(x, y)\n"
     u"Returns the angle, in radians, between the x axis and the line from the origin to a point.\n"
     u"x: the x coordinate of the point\n"
     u"y: the y coordinate of the point"},
    {u"COS", 13094, kTrigonometric, RULE(1, 1, kNone, 0), EvalCOS,
     u"COS(angle)\n"
     u"Returns the cosine of an angle.\n"
     u"angle: the angle in radians"},
    {u"COTAN", 13095, kTrigonometric, RULE(1, 1, kNone, 0), EvalCOTAN,
     u"COTAN(angle)\n"
     u"Returns the cotangent of an angle.\n"
     u"angle: the angle in radians"},
    {u"DEGREES", 13096, kTrigonometric, RULE(1, 1, kNone, 0), EvalDEGREES,
     u"DEGREES(angle)\n"
     u"Converts an angle from radians to degrees.\n"
     u"angle: the angle in radians"},
    {u"PI", 13097, kTrigonometric, RULE(0, 0, kNone, 0), EvalPI,
     u"PI()\n"
     u"Returns the number pi, 3.14159265358979."},
    {u"RADIANS", 13098, kTrigonometric, RULE(1, 1, kNone, 0), EvalRADIANS,
     u"RADIANS(angle)\n"
     u"Converts an angle from degrees to radians.\n"
     u"angle: the angle in degrees"},
    {u"SIN", 13099, kTrigonometric, RULE(1, 1, kNone, 0), EvalSIN,
     u"SIN(angle)\n"
     u"Returns the sine of an angle.\n"
     u"angle: the angle in radians"},
    {u"SQRTPI", 13100, kTrigonometric, RULE(1, 1, kNone, 0), EvalSQRTPI,
     u"SQRTPI(number)\n"
     u"Returns the square root of a number multiplied by pi.\n"
     u"number: a value of 0 or more"},
    {u"TAN", 13101, kTrigonometric, RULE(1, 1, kNone, 0), EvalTAN,
     u"TAN(angle)\n"
     u"Returns the tangent of an angle.\n"
     u"angle: the angle in radians"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::MathUnaryRows() {
    return kRows;
}
