// SPDX-License-Identifier: Apache-2.0
// TAXBAND(amount, limits, rates): a tax levied in bands. The limits range holds the upper
// limits of the bands in ascending order and the rates range, of the same size, each band's
// rate, both read in step in range order. The first band runs from 0 to the first limit,
// each further band from the limit before it to its own; the part of the amount within a band
// is taxed at that band's rate, and the tax is the sum over the bands:
//
//   tax = sum of rate_i x (min(amount, limit_i) - limit_(i-1)) over the bands with
//         amount > limit_(i-1), where limit_0 = 0.
//
// An empty last limit leaves the last band without an upper limit (an income tax's top
// band); with a number there, the part of the amount above it is not taxed (a contribution
// with a ceiling). An amount of 0 or less owes nothing. Errors: an error value in either
// range is the result; a limit below the one before it (or below 0), a limit or rate that is
// not a number (an empty limit anywhere but last), and ranges of different sizes are error 3.
// The bands are read once, one pair at a time, whatever the amount.
#include <algorithm>
#include <limits>

#include "functions/fin_functions.h"

namespace ostrel::functions::financial {

int TaxBand(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double amount = 0;
    if (int error = NumberOrError(ctx, args, 0, amount, cell)) return error;
    if (!args || !args->m_pNext) return 1;
    StepWalk walk(ctx, args->m_pNext, cell);
    double lower = 0;
    double tax = 0;
    bool unbounded = false;
    while (walk.Next()) {
        const CCCellValue& limit = walk.values()[0];
        const CCCellValue& rate = walk.values()[1];
        if (limit.IsError()) return limit.GetError();
        if (rate.IsError()) return rate.GetError();
        if (unbounded || !rate.IsNumber() || !(limit.IsNumber() || limit.IsEmpty())) return 3;
        unbounded = limit.IsEmpty();
        const double upper =
            unbounded ? std::numeric_limits<double>::infinity() : limit.GetNumber();
        if (upper < lower) return 3;
        if (amount > lower) tax += rate.GetNumber() * (std::min(amount, upper) - lower);
        lower = upper;
    }
    if (int failure = walk.Failure()) return failure;
    x = tax;
    return 0;
}

}  // namespace ostrel::functions::financial
