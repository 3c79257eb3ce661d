// SPDX-License-Identifier: Apache-2.0
// Treasury bills over (settlement, maturity, discount or price): a bill matures at most a year
// after its settlement (the same day of the month a year later, or the last of February),
// and its days are actual days on a 360-day year. TBILLEQ's bond-equivalent yield is the
// simple form, 365 d / (360 - d days), for every term. A discount or price not above 0, and a
// price the discount would take below 0, are error 3.
#include <algorithm>

#include "functions/day_count.h"
#include "functions/fin_functions.h"
#include "ostrel/formats/date_serial.h"

namespace ostrel::functions::financial {

namespace {

// The days of the bill's term and its third argument.
int BillTerms(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& days,
              double& third) {
    double settlement = 0, maturity = 0;
    if (int error = Term(ctx, args, cell, settlement, maturity)) return error;
    if (int error = NumberOrError(ctx, args, 2, third, cell)) return error;
    const Ymd start = Components(settlement);
    const double yearLater =
        DateToDouble(std::min(start.day, GetMonthDays(start.month, start.year + 1)), start.month,
                     start.year + 1);
    if (maturity > yearLater || !(third > 0)) return 3;
    days = maturity - settlement;
    return 0;
}

}  // namespace

int TBillEq(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double days = 0, discount = 0;
    if (int error = BillTerms(ctx, args, cell, days, discount)) return error;
    const double rest = 360 - discount * days;
    if (rest == 0) return 2;
    if (rest < 0) return 3;
    x = 365 * discount / rest;
    return 0;
}

int TBillPrice(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double days = 0, discount = 0;
    if (int error = BillTerms(ctx, args, cell, days, discount)) return error;
    x = 100 * (1 - discount * days / 360);
    return x > 0 ? 0 : 3;
}

int TBillYield(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double days = 0, price = 0;
    if (int error = BillTerms(ctx, args, cell, days, price)) return error;
    x = (100 - price) / price * 360 / days;
    return 0;
}

}  // namespace ostrel::functions::financial
