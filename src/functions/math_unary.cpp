// The one-argument mathematical functions and the trigonometric functions: the argument
// must evaluate to a number (anything else, an error included, gives error 3); the result is
// a General number, or error 3 where a domain check fails.
#include <cfloat>
#include <cmath>

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
