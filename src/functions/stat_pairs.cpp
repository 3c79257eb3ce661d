// SPDX-License-Identifier: Apache-2.0
// The functions of two ranges read in step, pair by pair: correlation, covariance (of the
// population), the least-squares line and its standard error, the weighted mean and PROB.
// The ranges must hold as many values as each other (error 3 otherwise); a pair where either
// value is not a number is passed over; the first error value met is the result. Sums of
// deviations are kept value by value (stat_collect.h), so large values lose no digits. Too
// few pairs, or values that do not vary, divide by zero (error 2).
#include <algorithm>
#include <cmath>

#include "functions/stat_routines.h"

using ostrel::functions::NthArgument;
using ostrel::functions::WalkInStep;

namespace stat_functions {

namespace {

// The least-squares line through the pairs (x, y), the y values being the argument at first
// and the x values the one after it, as the regression functions take them.
struct Line {
    PairMoments m;  // X of the moments is y, Y is x
    double n() const { return m.n; }
    double sxx() const { return m.syy; }
    double syy() const { return m.sxx; }
    double slope() const { return m.sxy / m.syy; }
    double intercept() const { return m.meanX - slope() * m.meanY; }
};

int FitLine(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first, Line& line) {
    if (int error = CollectPairs(ctx, args, cell, first, line.m)) return error;
    return line.n() == 0 || line.sxx() == 0 ? 2 : 0;
}

// Pearson's r; its square with squared true.
int Pearson(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
            bool squared) {
    PairMoments m;
    if (int error = CollectPairs(ctx, args, cell, 0, m)) return error;
    if (m.n == 0 || m.sxx == 0 || m.syy == 0) return 2;
    // Each sum rooted apart, so that their product cannot overflow.
    const double r = std::clamp(m.sxy / std::sqrt(m.sxx) / std::sqrt(m.syy), -1.0, 1.0);
    return SetFinite(result, squared ? r * r : r);
}

}  // namespace

int Correlation(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    return Pearson(ctx, result, args, cell, false);
}

int RSquared(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    return Pearson(ctx, result, args, cell, true);
}

int Covariance(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    PairMoments m;
    if (int error = CollectPairs(ctx, args, cell, 0, m)) return error;
    if (m.n == 0) return 2;
    return SetFinite(result, m.sxy / m.n);
}

int Slope(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    Line line;
    if (int error = FitLine(ctx, args, cell, 0, line)) return error;
    return SetFinite(result, line.slope());
}

int Intercept(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    Line line;
    if (int error = FitLine(ctx, args, cell, 0, line)) return error;
    return SetFinite(result, line.intercept());
}

// FORECAST(x, known_y, known_x): the line's value at x.
int Forecast(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double x = 0;
    if (int error = Number(ctx, args, 0, x, cell)) return error;
    Line line;
    if (int error = FitLine(ctx, args, cell, 1, line)) return error;
    return SetFinite(result, line.intercept() + line.slope() * x);
}

// The standard error of the predicted y: the root of the residual sum of squares over n - 2.
int StandardErrorYX(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                    const CCRef* cell) {
    Line line;
    if (int error = FitLine(ctx, args, cell, 0, line)) return error;
    if (line.n() < 3) return 2;
    const double residual = line.syy() - line.m.sxy * line.m.sxy / line.sxx();
    // Rounding may leave a perfect fit's residual a hair below zero.
    return SetFinite(result, std::sqrt(std::max(residual, 0.0) / (line.n() - 2)));
}

// WAVG(values, weights): the sum of value times weight over the sum of the weights.
int WeightedAverage(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                    const CCRef* cell) {
    double weighted = 0;
    double weights = 0;
    if (int error = WalkInStep(
            ctx, args, cell,
            [&](const CCCellValue* values, size_t) {
                if (!values[0].IsNumber() || !values[1].IsNumber()) return;
                weighted += values[0].GetNumber() * values[1].GetNumber();
                weights += values[1].GetNumber();
            },
            2))
        return error;
    if (weights == 0) return 2;
    return SetFinite(result, weighted / weights);
}

// PROB(x_range, prob_range, lower_limit, [upper_limit]): the sum of the probabilities of the
// values from lower to upper (only the lower itself without an upper limit; nothing when the
// upper lies below it). Every probability must lie from 0 to 1 and all of them must sum to 1,
// up to the rounding of their sum (error 3 otherwise).
int Probability(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    double lower = 0;
    if (int error = Number(ctx, args, 2, lower, cell)) return error;
    double upper = lower;
    if (NthArgument(args, 3))
        if (int error = Number(ctx, args, 3, upper, cell)) return error;
    double total = 0;
    double inside = 0;
    bool valid = true;
    if (int error = WalkInStep(
            ctx, args, cell,
            [&](const CCCellValue* values, size_t) {
                if (!values[0].IsNumber() || !values[1].IsNumber()) return;
                const double x = values[0].GetNumber();
                const double p = values[1].GetNumber();
                valid = valid && p >= 0 && p <= 1;
                total += p;
                if (x >= lower && x <= upper) inside += p;
            },
            2))
        return error;
    if (!valid || !(std::fabs(total - 1) <= 1e-9)) return 3;
    return SetFinite(result, inside);
}

}  // namespace stat_functions
