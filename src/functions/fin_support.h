// SPDX-License-Identifier: Apache-2.0
// What the financial functions share: a routine computes one number or returns an error code,
// and reads its arguments through the checks written here once — numbers in order, the dates
// of a security as whole days of the serial range, the day-count basis and the coupon
// frequency.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "functions/arguments.h"
#include "functions/day_count.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/functions/func.h"

namespace ostrel::functions::financial {

// Computes x and returns 0, or returns an error code.
using Routine = int (*)(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x);

// The routine's number as the result with the format kind; a number that is not finite is
// error 3, as it is for every operator.
template <Routine R, unsigned char Kind = C_NF_GENERAL>
void Evaluate(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double x = 0;
    int error = R(ctx, args, cell, x);
    if (!error && !std::isfinite(x)) error = 3;
    if (error) return result.Set(error);
    if constexpr (Kind == C_NF_GENERAL)
        SetNumber(result, x);
    else
        SetKind(result, x, Kind);
}

// The arguments from position first on (0-based), one per target, as numbers: 0, or the
// error of the first that is not one.
int Numbers(cells::CTX* ctx, const CCFormulaList* args, int first, const CCRef* cell,
            std::initializer_list<double*> targets);
// The n-th argument as a number, fallback when it is not there.
int OptionalNumber(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell,
                   double fallback, double& x);

// The n-th argument as a date from 1900-01-01 to 2071-12-31, its time of day dropped.
int WholeDay(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell, double& day);
// Arguments 0 and 1 as the settlement and maturity dates of a security: error 3 unless the
// settlement comes first.
int Term(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& settlement,
         double& maturity);
// The n-th argument as a day-count basis 0 to 4 (its integer part), fallback when it is not
// there.
int Basis(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell,
          DayCountBasis fallback, DayCountBasis& basis);
// The n-th argument as coupons per year: 1, 2 or 4 (its integer part).
int Frequency(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell, int& frequency);

}  // namespace ostrel::functions::financial
