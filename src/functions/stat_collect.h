// SPDX-License-Identifier: Apache-2.0
// What every statistical aggregation shares: the walk over its arguments' values, running
// moments kept one value at a time, and gathering numbers for the functions that order them.
//
// Which values count, the same for every aggregation: numbers, booleans included (they are
// numbers, typed or computed), whether given directly, in cells or in array constants; texts
// (typed in a cell or given directly, even one that reads as a number) and empty cells are
// passed over; the first error value met ends the walk and becomes the result; an argument
// with nothing to iterate (a reference that cannot be opened) is error 1.
#pragma once

#include <climits>
#include <cmath>
#include <vector>

#include "functions/aggregate_memo.h"
#include "functions/arguments.h"
#include "functions/moments.h"

namespace stat_functions {

using Routine = int (*)(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                        const CCRef* cell);

// A routine sets the result and returns 0, or returns the error code that becomes it.
template <Routine R>
void Evaluate(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    if (int error = R(ctx, result, args, cell)) result.Set(error);
}

// As Evaluate, for a routine whose result depends on nothing but its arguments' values: the
// document keeps the result of an aggregation of its own ranges for the next formula that
// asks for it. Fold says what the routine computes, when the memo can compute it.
template <Routine R, ostrel::functions::AggregateFold Fold = ostrel::functions::AggregateFold::none>
void EvaluateRemembered(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                        const CCRef* cell) {
    if (int error = ostrel::functions::RememberedAggregate(R, Fold, ctx, result, args, cell))
        result.Set(error);
}

// visit(value) for every value of the arguments first .. end - 1 (0-based) that is neither
// empty nor an error. Returns 0, the code of the first error value met (the walk stops there), or 1
// for an argument with nothing to iterate.
template <class Visit>
int ForEachValue(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first, int end,
                 Visit&& visit) {
    int position = 0;
    for (const CCFormulaList* a = args; a && position < end; a = a->m_pNext, ++position) {
        if (position < first) continue;
        ostrel::functions::RangeWalk walk(ctx, a->m_pFormula, cell, true);
        if (!walk.Opened()) return 1;
        CCCellValue value;
        while (walk.Next(value)) {
            if (value.IsError()) return value.GetError();
            if (!value.IsEmpty()) visit(value);
        }
    }
    return 0;
}

// take(x) for every number of the arguments first .. end - 1, as ForEachValue walks them.
template <class Take>
int ForEachNumber(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first, int end,
                  Take&& take) {
    return ForEachValue(ctx, args, cell, first, end, [&](const CCCellValue& value) {
        if (value.IsNumber()) take(value.GetNumber());
    });
}

template <class Take>
int ForEachNumber(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, Take&& take) {
    return ForEachNumber(ctx, args, cell, 0, INT_MAX, take);
}

// Moments with the sums of third and fourth powers of the deviations, for SKEW and KURT.
struct HigherMoments {
    double n = 0;
    double mean = 0;
    double m2 = 0;
    double m3 = 0;
    double m4 = 0;
    void Add(double x);
};

// Counts, means and the sums of squared and crossed deviations of pairs.
struct PairMoments {
    double n = 0;
    double meanX = 0;
    double meanY = 0;
    double sxx = 0;
    double syy = 0;
    double sxy = 0;
    void Add(double x, double y) {
        n += 1;
        const double dx = x - meanX;
        const double dy = y - meanY;
        meanX += dx / n;
        meanY += dy / n;
        sxx += dx * (x - meanX);
        syy += dy * (y - meanY);
        sxy += dx * (y - meanY);
    }
};

// The moments of every number of the arguments first .. end - 1; 0 or an error code.
int CollectMoments(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first,
                   int end, Moments& out);

// The numbers of the arguments first .. end - 1, for the functions that order them (their
// values only: memory follows the numbers present, not the area of the ranges). A number
// that is not a number (NaN, from a computation) has no place in an order: error 3.
int GatherNumbers(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first, int end,
                  std::vector<double>& out);

// The pairs of the arguments first and first + 1 walked in step: pairs where either value is
// not a number are passed over. 0, or the first failure (error 1 for an argument with nothing
// to iterate, the first error value met, error 3 for ranges of different sizes).
int CollectPairs(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first,
                 PairMoments& out);

// The n-th argument as a number; an error value passes its code, anything else is error 3.
inline int Number(cells::CTX* ctx, const CCFormulaList* args, int n, double& x, const CCRef* cell) {
    return ostrel::functions::NumberOrError(ctx, args, n, x, cell);
}

// x as the result, or error 3 when it is not finite (an overflow, or no value at all).
inline int SetFinite(CCCellValue& result, double x) {
    if (!std::isfinite(x)) return 3;
    ostrel::functions::SetNumber(result, x);
    return 0;
}

}  // namespace stat_functions
