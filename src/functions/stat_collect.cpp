// SPDX-License-Identifier: Apache-2.0
#include "functions/stat_collect.h"

#include <cmath>

namespace stat_functions {

// The one-pass update of the third and fourth central sums (Terriberry's extension of
// Welford's recurrence): each sum grows by the new value's share and by the shift of the
// mean applied to the lower sums.
void HigherMoments::Add(double x) {
    const double before = n;
    n += 1;
    const double d = x - mean;
    const double dn = d / n;
    const double dn2 = dn * dn;
    const double term = d * dn * before;
    mean += dn;
    m4 += term * dn2 * (n * n - 3 * n + 3) + 6 * dn2 * m2 - 4 * dn * m3;
    m3 += term * dn * (n - 2) - 3 * dn * m2;
    m2 += term;
}

int CollectMoments(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first,
                   int end, Moments& out) {
    return ForEachNumber(ctx, args, cell, first, end, [&](double x) { out.Add(x); });
}

int GatherNumbers(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first, int end,
                  std::vector<double>& out) {
    bool ordered = true;
    int error = ForEachNumber(ctx, args, cell, first, end, [&](double x) {
        ordered = ordered && !std::isnan(x);
        out.push_back(x);
    });
    if (!error && !ordered) error = 3;
    return error;
}

int CollectPairs(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first,
                 PairMoments& out) {
    for (int i = 0; i < first && args; ++i)
        args = args->m_pNext;
    return ostrel::functions::WalkInStep(
        ctx, args, cell,
        [&](const CCCellValue* values, size_t) {
            if (values[0].IsNumber() && values[1].IsNumber())
                out.Add(values[0].GetNumber(), values[1].GetNumber());
        },
        2);
}

}  // namespace stat_functions
