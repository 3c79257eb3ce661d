// SPDX-License-Identifier: Apache-2.0
// Series of cash flows, one per period: NPV, IRR and MIRR. Numbers count (in the order the
// arguments yield them), texts and empty cells are passed over, and the first error value
// met is the result. Only IRR keeps the flows, which it must read many times; it keeps the
// numbers alone.
//
// IRR brackets a sign change of the net present value by widening from guess +/- 0.1, always
// on the side closer to zero, and bisects it. It stays right of the pole at -1 (a sign change
// across the pole is no root), stops when the bracket is as narrow as the rate's own
// precision — whatever the size of the flows, since only signs are compared — and gives
// error 3 rather than a rate it did not find: flows of one sign, no sign change within 50
// widenings, or a value that is not a number.
#include <cmath>
#include <limits>
#include <vector>

#include "functions/fin_functions.h"

namespace ostrel::functions::financial {

namespace {

constexpr int kWidenings = 50;
constexpr double kWidening = 1.6;
// A bracket this narrow relative to its rate is the rate's precision; the absolute floor ends
// the search for a rate of 0.
constexpr double kRelativeWidth = 4 * std::numeric_limits<double>::epsilon();
constexpr double kAbsoluteWidth = 1e-300;

// visit(number) for every number an argument yields; 0, or the first error value's code (1
// when the argument has nothing to iterate).
template <class Visit>
int WalkNumbers(cells::CTX* ctx, CCFormula* node, const CCRef* cell, Visit&& visit) {
    RangeWalk walk(ctx, node, cell);
    if (!walk.Opened()) return 1;
    CCCellValue value;
    while (walk.Next(value)) {
        if (value.IsError()) return value.GetError();
        if (value.IsNumber()) visit(value.GetNumber());
    }
    return 0;
}

// The value of the flows at the first one's date, at rate r > -1: Horner's rule in the
// discount factor. Its roots are those of NPV, but it tends to the first flow, not to 0, as
// the rate grows, so that the bracket's comparison of sizes points to a root and not merely
// to large rates.
double PresentValue(const std::vector<double>& flows, double r) {
    const double discount = 1 / (1 + r);
    double sum = 0;
    for (auto it = flows.rbegin(); it != flows.rend(); ++it)
        sum = sum * discount + *it;
    return sum;
}

// The guess as given when it is a number, 0.1 when it is missing, empty or a text.
int Guess(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& guess) {
    guess = 0.1;
    if (!NthArgument(args, 1)) return 0;
    CCCellValue value;
    EvaluateArgument(ctx, args, 1, value, cell);
    if (value.IsError()) return value.GetError();
    if (value.IsNumber()) guess = value.GetNumber();
    return 0;
}

// A root between x1 and x2, whose values f1 and f2 have opposite signs.
int Bisect(const std::vector<double>& flows, double x1, double f1, double x2, double& x) {
    double below = f1 < 0 ? x1 : x2;  // where the value is negative
    double above = f1 < 0 ? x2 : x1;
    for (;;) {
        const double mid = below + (above - below) / 2;
        const double width = std::fabs(above - below);
        if (mid == below || mid == above ||
            width <= kRelativeWidth * std::fabs(mid) + kAbsoluteWidth) {
            x = mid;
            return 0;
        }
        const double f = PresentValue(flows, mid);
        if (f == 0) {
            x = mid;
            return 0;
        }
        if (std::isnan(f)) return 3;
        (f < 0 ? below : above) = mid;
    }
}

}  // namespace

int Npv(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double rate = 0;
    if (int error = NumberOrError(ctx, args, 0, rate, cell)) return error;
    if (rate == -1) return 2;
    double growth = 1;
    double sum = 0;
    for (const CCFormulaList* a = args ? args->m_pNext : nullptr; a; a = a->m_pNext) {
        if (int error = WalkNumbers(ctx, a->m_pFormula, cell, [&](double flow) {
                growth *= 1 + rate;
                sum += flow / growth;
            }))
            return error;
    }
    x = sum;
    return 0;
}

int Irr(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    std::vector<double> flows;
    bool gain = false, loss = false;
    if (int error = WalkNumbers(ctx, NthArgument(args, 0), cell, [&](double flow) {
            flows.push_back(flow);
            gain = gain || flow > 0;
            loss = loss || flow < 0;
        }))
        return error;
    double guess = 0;
    if (int error = Guess(ctx, args, cell, guess)) return error;
    if (!gain || !loss || !(guess > -1) || !std::isfinite(guess)) return 3;

    double x1 = guess - 0.1;
    double x2 = guess + 0.1;
    if (x1 <= -1) x1 = (guess - 1) / 2;
    double f1 = PresentValue(flows, x1);
    double f2 = PresentValue(flows, x2);
    for (int widened = 0;; ++widened) {
        if (f1 == 0 || f2 == 0) {
            x = f1 == 0 ? x1 : x2;
            return 0;
        }
        if (f1 * f2 < 0) break;
        if (widened == kWidenings || std::isnan(f1) || std::isnan(f2)) return 3;
        if (std::fabs(f1) <= std::fabs(f2)) {
            const double next = x1 + kWidening * (x1 - x2);
            x1 = next > -1 ? next : (x1 - 1) / 2;
            f1 = PresentValue(flows, x1);
        } else {
            x2 += kWidening * (x2 - x1);
            f2 = PresentValue(flows, x2);
        }
    }
    return Bisect(flows, x1, f1, x2, x);
}

// MIRR(values, finance_rate, reinvest_rate): the losses discounted to the start at the
// finance rate, the gains carried to the end at the reinvestment rate, and the rate that
// grows the one into the other over the n - 1 periods between. Without a loss or without a
// gain there is no such rate: division by zero, as the formula has it.
int Mirr(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double finance = 0, reinvest = 0;
    if (int error = Numbers(ctx, args, 1, cell, {&finance, &reinvest})) return error;
    if (finance == -1 || reinvest == -1) return 2;
    double losses = 0, gains = 0;  // both valued at the start
    double financeGrowth = 1, reinvestGrowth = 1;
    double n = 0;
    if (int error = WalkNumbers(ctx, NthArgument(args, 0), cell, [&](double flow) {
            if (flow < 0) losses += flow / financeGrowth;
            if (flow > 0) gains += flow / reinvestGrowth;
            financeGrowth *= 1 + finance;
            reinvestGrowth *= 1 + reinvest;
            ++n;
        }))
        return error;
    if (losses == 0 || gains == 0) return 2;
    // ((gains at the end) / -losses)^(1 / (n - 1)) - 1, in logarithms so that no power of a
    // long series overflows.
    const double ratio = -gains / losses;
    if (reinvest > -1)
        x = std::expm1(std::log(ratio) / (n - 1) + std::log1p(reinvest));
    else
        x = std::pow(ratio * std::pow(1 + reinvest, n - 1), 1 / (n - 1)) - 1;
    return 0;
}

}  // namespace ostrel::functions::financial
