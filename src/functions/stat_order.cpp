// SPDX-License-Identifier: Apache-2.0
// The functions that look at the numbers in order: MEDIAN, LARGE, SMALL, PERCENTILE,
// QUARTILE and MODE gather the numbers (values only) and select or sort them in O(n log n)
// at worst; RANK and PERCENTRANK only count, in one walk. Of no numbers they give error 3;
// a rank or fraction outside what the numbers hold is error 3, a value PERCENTRANK cannot
// place (outside the numbers) or a MODE without repeated values is error 9 (not available).
#include <algorithm>
#include <cmath>
#include <vector>

#include "functions/stat_routines.h"

using ostrel::functions::ArgumentCount;
using ostrel::functions::NthArgument;
using ostrel::functions::Rounding;
using ostrel::functions::SetNumber;
using ostrel::functions::ToInteger;

namespace stat_functions {

namespace {

// The k-th smallest (0-based) of the numbers, which must hold more than k; reorders them.
double Select(std::vector<double>& numbers, size_t k) {
    std::nth_element(numbers.begin(), numbers.begin() + std::ptrdiff_t(k), numbers.end());
    return numbers[k];
}

// The value at fraction p (0 to 1) of the ordered numbers, interpolated linearly between the
// two nearest: the smallest at 0, the largest at 1.
double Interpolated(std::vector<double>& numbers, double p) {
    const double position = p * double(numbers.size() - 1);
    const size_t below = std::min(size_t(position), numbers.size() - 1);
    const double low = Select(numbers, below);
    const double fraction = position - double(below);
    if (fraction == 0) return low;
    // After the selection every later number is at least low: the next is their minimum.
    const double high =
        *std::min_element(numbers.begin() + std::ptrdiff_t(below) + 1, numbers.end());
    return low + fraction * (high - low);
}

// The numbers of the first argument as the document keeps them in order for a range of its
// own (AggregateMemo); null when they are to be gathered.
const ostrel::functions::AggregateMemo::Fold* KeptNumbers(cells::CTX* ctx,
                                                          const CCFormulaList* args,
                                                          const CCRef* cell) {
    return ostrel::functions::RangeNumbers(ctx, NthArgument(args, 0), cell);
}

// LARGE and SMALL: the numbers of every argument but the last, which is the rank k from 1
// (a fraction cut to a whole number).
int Ranked(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
           bool fromTop) {
    const int last = ArgumentCount(args) - 1;
    if (const auto* kept = last == 1 ? KeptNumbers(ctx, args, cell) : nullptr) {
        if (kept->error) return kept->error;
        double k = 0;
        if (int error = Number(ctx, args, last, k, cell)) return error;
        const auto count = size_t(kept->numbers);
        int64_t rank = 0;
        if (count == 0 || ToInteger(k, Rounding::trunc, 1, int64_t(count), rank)) return 3;
        SetNumber(result, kept->Smallest(fromTop ? count - size_t(rank) : size_t(rank - 1)));
        return 0;
    }
    std::vector<double> numbers;
    if (int error = GatherNumbers(ctx, args, cell, 0, last, numbers)) return error;
    double k = 0;
    if (int error = Number(ctx, args, last, k, cell)) return error;
    int64_t rank = 0;
    if (numbers.empty() || ToInteger(k, Rounding::trunc, 1, int64_t(numbers.size()), rank))
        return 3;
    const size_t index = fromTop ? numbers.size() - size_t(rank) : size_t(rank - 1);
    SetNumber(result, Select(numbers, index));
    return 0;
}

// PERCENTILE and QUARTILE: the numbers of the first argument at the fraction the second
// gives, directly or (for a quartile) as a whole number of quarters from 0 to 4.
int PercentileOf(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
                 bool quartile) {
    const auto* kept = KeptNumbers(ctx, args, cell);
    std::vector<double> numbers;
    if (kept && kept->error) return kept->error;
    if (!kept)
        if (int error = GatherNumbers(ctx, args, cell, 0, 1, numbers)) return error;
    double p = 0;
    if (int error = Number(ctx, args, 1, p, cell)) return error;
    if (quartile) {
        int64_t quarters = 0;
        if (ToInteger(p, Rounding::trunc, 0, 4, quarters)) return 3;
        p = double(quarters) / 4;
    }
    const size_t count = kept ? size_t(kept->numbers) : numbers.size();
    if (count == 0 || !(p >= 0 && p <= 1)) return 3;
    if (!kept) {
        SetNumber(result, Interpolated(numbers, p));
        return 0;
    }
    // As Interpolated computes it, from the numbers in order.
    const double position = p * double(count - 1);
    const size_t below = std::min(size_t(position), count - 1);
    const double low = kept->Smallest(below);
    const double fraction = position - double(below);
    SetNumber(result, fraction == 0 ? low : low + fraction * (kept->Smallest(below + 1) - low));
    return 0;
}

// PERCENTRANK's rank cut to three decimals. A rank a hair below a step (1.003 is stored a little
// below itself, so its rank among 1, 2, 3 and 4 is 0.000999999999999964) is taken at the step: the
// cut must not lose a digit the input had.
double CutToThousandths(double rank) {
    const double v = rank * 1000;
    const double nearest = std::nearbyint(v);
    return std::floor(std::fabs(v - nearest) < 1e-9 ? nearest : v) / 1000;
}

}  // namespace

int Median(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    if (const auto* kept = ArgumentCount(args) == 1 ? KeptNumbers(ctx, args, cell) : nullptr) {
        if (kept->error) return kept->error;
        const auto count = size_t(kept->numbers);
        if (count == 0) return 3;
        const double upper = kept->Smallest(count / 2);
        SetNumber(result, count % 2 ? upper : 0.5 * kept->Smallest(count / 2 - 1) + 0.5 * upper);
        return 0;
    }
    std::vector<double> numbers;
    if (int error = GatherNumbers(ctx, args, cell, 0, INT_MAX, numbers)) return error;
    if (numbers.empty()) return 3;
    const size_t half = numbers.size() / 2;
    const double upper = Select(numbers, half);
    if (numbers.size() % 2) {
        SetNumber(result, upper);
    } else {
        // The lower middle is the largest of the numbers before the upper one.
        const double lower =
            *std::max_element(numbers.begin(), numbers.begin() + std::ptrdiff_t(half));
        SetNumber(result, 0.5 * lower + 0.5 * upper);
    }
    return 0;
}

int Large(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    return Ranked(ctx, result, args, cell, true);
}

int Small(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    return Ranked(ctx, result, args, cell, false);
}

// PERCENTILE(array, k), k a fraction from 0 to 1.
int Percentile(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    return PercentileOf(ctx, result, args, cell, false);
}

// QUARTILE(array, quart): quart cut to a whole number from 0 (the minimum) to 4 (the maximum).
int Quartile(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    return PercentileOf(ctx, result, args, cell, true);
}

// The value met most often; among values met equally often, the one met first. Sorting a
// copy counts the values; the first of the most frequent is then found in the original order.
int Mode(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    std::vector<double> numbers;
    if (int error = GatherNumbers(ctx, args, cell, 0, INT_MAX, numbers)) return error;
    if (numbers.empty()) return 3;
    std::vector<double> sorted(numbers);
    std::sort(sorted.begin(), sorted.end());
    size_t most = 1;
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i + 1;
        while (j < sorted.size() && sorted[j] == sorted[i])
            ++j;
        most = std::max(most, j - i);
        i = j;
    }
    if (most < 2) return 9;
    for (double x : numbers) {
        auto [from, to] = std::equal_range(sorted.begin(), sorted.end(), x);
        if (size_t(to - from) == most) {
            SetNumber(result, x);
            return 0;
        }
    }
    return 9;
}

// RANK(number, ref, [order]): 1 + how many numbers of ref are greater (order 0 or omitted) or
// smaller (any other order); equal numbers share a rank. A number ref does not hold ranks
// where it would stand among them.
int Rank(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double x = 0;
    if (int error = Number(ctx, args, 0, x, cell)) return error;
    double order = 0;
    if (NthArgument(args, 2))
        if (int error = Number(ctx, args, 2, order, cell)) return error;
    const bool ascending = order != 0;
    double before = 0;
    // A whole column ranked row by row: its numbers are kept in order, searched in log time.
    if (const auto* numbers = ostrel::functions::RangeNumbers(ctx, NthArgument(args, 1), cell)) {
        if (numbers->error) return numbers->error;
        before = ascending ? numbers->Below(x) : numbers->Above(x);
    } else if (int error = ForEachNumber(ctx, args, cell, 1, 2, [&](double y) {
                   if (ascending ? y < x : y > x) before += 1;
               })) {
        return error;
    }
    SetNumber(result, before + 1);
    return 0;
}

// PERCENTRANK(array, x): the place of x among the numbers as a fraction from 0 (the smallest)
// to 1 (the largest), interpolated between the two numbers around x, cut (not rounded) to
// three decimals. One walk counts what lies below x and keeps its two neighbours.
int PercentRank(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    double x = 0;
    if (int error = Number(ctx, args, 1, x, cell)) return error;
    double n = 0;
    double below = 0;
    bool equal = false;
    bool haveLower = false;
    bool haveUpper = false;
    double lower = 0;  // the largest number below x
    double upper = 0;  // the smallest number above x
    if (int error = ForEachNumber(ctx, args, cell, 0, 1, [&](double y) {
            n += 1;
            if (y < x) {
                below += 1;
                if (!haveLower || y > lower) lower = y;
                haveLower = true;
            } else if (y > x) {
                if (!haveUpper || y < upper) upper = y;
                haveUpper = true;
            } else {
                equal = equal || y == x;
            }
        }))
        return error;
    if (n == 0 || std::isnan(x)) return 3;
    double rank = 0;
    if (equal)
        rank = n == 1 ? 1 : below / (n - 1);
    else if (haveLower && haveUpper)
        rank = (below - 1 + (x - lower) / (upper - lower)) / (n - 1);
    else
        return 9;  // outside the numbers
    SetNumber(result, CutToThousandths(rank));
    return 0;
}

}  // namespace stat_functions
