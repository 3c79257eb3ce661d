// SPDX-License-Identifier: Apache-2.0
// Depreciation of an asset: DB by the fixed declining balance, SYD by the sum of the years'
// digits. DB's periods are whole (the integer parts of life, period and month are used); its
// first period holds only the months of the first year, and when those are fewer than 12 a
// period after the last full one holds the rest of them. Its value for a period is a closed
// form of the period-by-period balance, so a life of any length costs the same.
#include <cmath>
#include <cstdint>

#include "functions/fin_functions.h"

namespace ostrel::functions::financial {

namespace {

// Beyond 2^53 periods are not whole numbers any more.
constexpr int64_t kMostPeriods = int64_t{1} << 53;

}  // namespace

// DB(cost, salvage, life, period [, month]): cost > 0, salvage >= 0, life >= 1,
// 1 <= period <= life + 1 and 1 <= month <= 12, else error 3.
int Db(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double cost = 0, salvage = 0;
    int64_t life = 0, period = 0, month = 0;
    if (int error = Numbers(ctx, args, 0, cell, {&cost, &salvage})) return error;
    if (int error = IntegerArgument(ctx, args, 2, Rounding::trunc, 1, kMostPeriods, life, cell))
        return error;
    if (int error = IntegerArgument(ctx, args, 3, Rounding::trunc, 1, kMostPeriods, period, cell))
        return error;
    if (int error = OptionalIntegerArgument(ctx, args, 4, Rounding::trunc, 1, 12, 12, month, cell))
        return error;
    if (!(cost > 0) || !(salvage >= 0) || period > life + 1) return 3;

    const double n = static_cast<double>(life);
    const double months = static_cast<double>(month);
    // The rate that takes the cost to the salvage in the life's periods, to three decimals.
    const double rate = std::floor((1 - std::pow(salvage / cost, 1 / n)) / 0.001 + 0.5) * 0.001;
    const double first = cost * rate * months / 12;
    if (period == 1) {
        x = first;
        return 0;
    }
    // The balance at the start of the period: after the first period, each full one keeps
    // 1 - rate of it.
    const double balance = (cost - first) * std::pow(1 - rate, static_cast<double>(period - 2));
    x = period <= life ? balance * rate : balance * rate * (12 - months) / 12;
    return 0;
}

// SYD(cost, salvage, life, period): life > 0 and 0 < period <= life, else error 3.
int Syd(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double cost = 0, salvage = 0, life = 0, period = 0;
    if (int error = Numbers(ctx, args, 0, cell, {&cost, &salvage, &life, &period})) return error;
    if (!(life > 0) || !(period > 0) || period > life) return 3;
    x = (cost - salvage) * (life - period + 1) * 2 / (life * (life + 1));
    return 0;
}

}  // namespace ostrel::functions::financial
