// SPDX-License-Identifier: Apache-2.0
// The aggregations that walk their arguments once: means, counts, extremes, variances and the
// higher moments. Each walks values as stat_collect.h says (numbers and booleans count, texts
// and empty cells are passed over, the first error met is the result). Too few numbers for a
// mean or a variance is a division by zero (error 2); MAX and MIN of no numbers are 0. COUNT
// counts every value that is not empty (texts too), COUNTN the numbers.
#include <cmath>
#include <vector>

#include "functions/criterion.h"
#include "functions/stat_routines.h"
#include "ostrel/refs/region_ref.h"

using ostrel::functions::ArgumentCount;
using ostrel::functions::EvaluateArgument;
using ostrel::functions::NthArgument;
using ostrel::functions::RangeWalk;

namespace stat_functions {

namespace {

// The moments of every argument's numbers; error 2 with fewer than `least` numbers.
int MomentsOfAll(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double least,
                 Moments& m) {
    if (int error = CollectMoments(ctx, args, cell, 0, INT_MAX, m)) return error;
    return m.n < least ? 2 : 0;
}

int Extreme(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
            bool largest) {
    bool any = false;
    double best = 0;
    int error = ForEachNumber(ctx, args, cell, [&](double x) {
        if (!any || (largest ? x > best : x < best)) best = x;
        any = true;
    });
    if (error) return error;
    return SetFinite(result, best);
}

}  // namespace

int Average(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double sum = 0;
    double n = 0;
    if (int error = ForEachNumber(ctx, args, cell, [&](double x) {
            sum += x;
            n += 1;
        }))
        return error;
    if (n == 0) return 2;
    return SetFinite(result, sum / n);
}

int Count(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double n = 0;
    if (int error = ForEachValue(ctx, args, cell, 0, INT_MAX, [&](const CCCellValue&) { n += 1; }))
        return error;
    return SetFinite(result, n);
}

int CountNumbers(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    double n = 0;
    if (int error = ForEachNumber(ctx, args, cell, [&](double) { n += 1; })) return error;
    return SetFinite(result, n);
}

// COUNTIF(range1, [range2], ..., criterion): the values of every range that meet the
// criterion. As in SUMIF, a tested value is only compared, so an error in a range is counted
// or not, never the result.
namespace {

// COUNTIF of a number, or of a text for equality, over one range whose numbers the document
// keeps in order and whose texts it counts (a range holding no error, so that they are all
// of its values): counted by searches. Every value of another kind than the operand's, empty
// positions included, satisfies <> alone.
bool CountFromKeptNumbers(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell,
                          const CCCriterion& criterion, double& n) {
    double x = 0;
    const bool number = criterion.NumberOperand(x);
    const char16_t* text = number ? nullptr : criterion.TextOperand();
    if (number ? std::isnan(x) : !text) return false;
    const CCCriterion::Op op = criterion.Comparison();
    if (text && op != CCCriterion::Op::kEq && op != CCCriterion::Op::kNe) return false;
    CCFormula* range = NthArgument(args, 0);
    const auto* numbers = ostrel::functions::RangeNumbers(ctx, range, cell);
    if (!numbers || numbers->error) return false;
    const double below = text ? 0 : numbers->Below(x), above = text ? 0 : numbers->Above(x);
    const double equal = text ? numbers->EqualTexts(text) : numbers->numbers - below - above;
    if (op == CCCriterion::Op::kNe) {
        // Every position of the range but the equal ones (RangeNumbers answers for regions
        // only).
        const auto* region =
            static_cast<const CCRegionRef*>(static_cast<CCRefFormula*>(range)->GetRef());
        n = double(region->GetWidth()) * double(region->GetHeight()) - equal;
    } else {
        n = criterion.Take(below, equal, above);
    }
    return true;
}

}  // namespace

int CountIf(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    const int ranges = ArgumentCount(args) - 1;
    CCCellValue criterionValue;
    EvaluateArgument(ctx, args, ranges, criterionValue, cell);
    if (criterionValue.IsError()) return criterionValue.GetError();
    const CCCriterion criterion(criterionValue);
    if (double n = 0; ranges == 1 && CountFromKeptNumbers(ctx, args, cell, criterion, n))
        return SetFinite(result, n);
    double n = 0;
    for (int i = 0; i < ranges; ++i) {
        RangeWalk walk(ctx, NthArgument(args, i), cell);
        if (!walk.Opened()) return 1;
        CCCellValue value;
        while (walk.Next(value))
            if (criterion.Matches(value)) n += 1;
    }
    return SetFinite(result, n);
}

int Maximum(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    return Extreme(ctx, result, args, cell, true);
}

int Minimum(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    return Extreme(ctx, result, args, cell, false);
}

int SquaredDeviations(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                      const CCRef* cell) {
    Moments m;
    if (int error = MomentsOfAll(ctx, args, cell, 1, m)) return error;
    return SetFinite(result, m.m2);
}

int SampleVariance(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                   const CCRef* cell) {
    Moments m;
    if (int error = MomentsOfAll(ctx, args, cell, 2, m)) return error;
    return SetFinite(result, m.m2 / (m.n - 1));
}

int SampleDeviation(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                    const CCRef* cell) {
    Moments m;
    if (int error = MomentsOfAll(ctx, args, cell, 2, m)) return error;
    return SetFinite(result, std::sqrt(m.m2 / (m.n - 1)));
}

int PopulationVariance(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                       const CCRef* cell) {
    Moments m;
    if (int error = MomentsOfAll(ctx, args, cell, 1, m)) return error;
    return SetFinite(result, m.m2 / m.n);
}

int PopulationDeviation(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                        const CCRef* cell) {
    Moments m;
    if (int error = MomentsOfAll(ctx, args, cell, 1, m)) return error;
    return SetFinite(result, std::sqrt(m.m2 / m.n));
}

// The mean absolute deviation needs the mean before the first deviation: the numbers are
// gathered and read twice (walking the arguments twice would evaluate them twice).
int AverageDeviation(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                     const CCRef* cell) {
    std::vector<double> numbers;
    if (int error = GatherNumbers(ctx, args, cell, 0, INT_MAX, numbers)) return error;
    if (numbers.empty()) return 2;
    const double n = double(numbers.size());
    double sum = 0;
    for (double x : numbers)
        sum += x;
    const double mean = sum / n;
    double deviations = 0;
    for (double x : numbers)
        deviations += std::fabs(x - mean);
    return SetFinite(result, deviations / n);
}

// The geometric and harmonic means are defined for positive numbers only (error 3 otherwise);
// the geometric one is summed as logarithms, so that no product overflows.
int GeometricMean(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    double logs = 0;
    double n = 0;
    bool positive = true;
    if (int error = ForEachNumber(ctx, args, cell, [&](double x) {
            positive = positive && x > 0;
            logs += std::log(x);
            n += 1;
        }))
        return error;
    if (!positive) return 3;
    if (n == 0) return 2;
    return SetFinite(result, std::exp(logs / n));
}

int HarmonicMean(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    double inverses = 0;
    double n = 0;
    bool positive = true;
    if (int error = ForEachNumber(ctx, args, cell, [&](double x) {
            positive = positive && x > 0;
            inverses += 1 / x;
            n += 1;
        }))
        return error;
    if (!positive) return 3;
    if (n == 0) return 2;
    return SetFinite(result, n / inverses);
}

// Sample skewness: n / ((n - 1)(n - 2)) times the sum of cubed standardised deviations, the
// deviations standardised by the sample standard deviation. Fewer than three numbers, or
// numbers all equal, divide by zero.
int Skewness(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    HigherMoments m;
    if (int error = ForEachNumber(ctx, args, cell, [&](double x) { m.Add(x); })) return error;
    if (m.n < 3 || m.m2 == 0) return 2;
    const double n = m.n;
    const double s = std::sqrt(m.m2 / (n - 1));
    return SetFinite(result, n / ((n - 1) * (n - 2)) * (m.m3 / (s * s * s)));
}

// Sample excess kurtosis: n(n + 1) / ((n - 1)(n - 2)(n - 3)) times the sum of fourth powers of
// the standardised deviations, less 3(n - 1)^2 / ((n - 2)(n - 3)). Needs four numbers not all
// equal.
int Kurtosis(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    HigherMoments m;
    if (int error = ForEachNumber(ctx, args, cell, [&](double x) { m.Add(x); })) return error;
    if (m.n < 4 || m.m2 == 0) return 2;
    const double n = m.n;
    const double variance = m.m2 / (n - 1);
    const double fourth = m.m4 / (variance * variance);
    return SetFinite(result, n * (n + 1) / ((n - 1) * (n - 2) * (n - 3)) * fourth -
                                 3 * (n - 1) * (n - 1) / ((n - 2) * (n - 3)));
}

}  // namespace stat_functions
