// SPDX-License-Identifier: Apache-2.0
// Annuities and compound interest: PV, FV and PMT over (amount, rate, periods), COMPOUND,
// EFFECT and NOMINAL. Powers of 1 + r are taken through log1p and expm1, so that a small rate
// keeps its digits instead of vanishing beside the 1; a base 1 + r at or below 0 goes through
// pow, which is NaN (error 3) unless the periods are whole.
#include <cmath>
#include <cstdint>

#include "functions/fin_functions.h"

namespace ostrel::functions::financial {

namespace {

// Rates compound this many times a year at most: whole numbers beyond are not exact.
constexpr int64_t kMostPeriods = int64_t{1} << 53;

// (1 + r)^n.
double Growth(double r, double n) {
    if (r > -1) return std::exp(n * std::log1p(r));
    return std::pow(1 + r, n);
}

// (1 + r)^n - 1.
double GrowthLessOne(double r, double n) {
    if (r > -1) return std::expm1(n * std::log1p(r));
    return std::pow(1 + r, n) - 1;
}

// 1 - (1 + r)^-n: the part of a payment's value lost to n periods of discount.
double DiscountedAway(double r, double n) {
    return -GrowthLessOne(r, -n);
}

int AmountRatePeriods(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& amount,
                      double& rate, double& periods) {
    return Numbers(ctx, args, 0, cell, {&amount, &rate, &periods});
}

// A rate and how often it compounds in a year: the rate positive, at least once a year.
int RateAndPeriods(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& rate,
                   double& periods) {
    int64_t n = 0;
    if (int error = NumberOrError(ctx, args, 0, rate, cell)) return error;
    if (int error = IntegerArgument(ctx, args, 1, Rounding::trunc, 1, kMostPeriods, n, cell))
        return error;
    periods = static_cast<double>(n);
    return rate > 0 ? 0 : 3;
}

}  // namespace

int Pv(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double amount = 0, r = 0, n = 0;
    if (int error = AmountRatePeriods(ctx, args, cell, amount, r, n)) return error;
    if (r == 0) return 2;
    x = amount * DiscountedAway(r, n) / r;
    return 0;
}

int Fv(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double amount = 0, r = 0, n = 0;
    if (int error = AmountRatePeriods(ctx, args, cell, amount, r, n)) return error;
    if (r == 0) return 2;
    x = amount * GrowthLessOne(r, n) / r;
    return 0;
}

int Pmt(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double amount = 0, r = 0, n = 0;
    if (int error = AmountRatePeriods(ctx, args, cell, amount, r, n)) return error;
    const double away = DiscountedAway(r, n);
    if (away == 0) return 2;
    x = amount * r / away;
    return 0;
}

int Compound(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double principal = 0, r = 0, n = 0;
    if (int error = Numbers(ctx, args, 0, cell, {&principal, &r, &n})) return error;
    x = principal * Growth(r, n);
    return 0;
}

int Effect(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double nominal = 0, n = 0;
    if (int error = RateAndPeriods(ctx, args, cell, nominal, n)) return error;
    x = GrowthLessOne(nominal / n, n);
    return 0;
}

int Nominal(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double effective = 0, n = 0;
    if (int error = RateAndPeriods(ctx, args, cell, effective, n)) return error;
    x = n * std::expm1(std::log1p(effective) / n);
    return 0;
}

}  // namespace ostrel::functions::financial
