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

// The numbers of arguments first .. end - 1 (0-based), asked for in order: those the document
// keeps in order for a lone range of its own (AggregateMemo), or else gathered and selected
// from, each selection narrowed by the one before.
class OrderedNumbers {
public:
    // 0, or the first failure as GatherNumbers gives it.
    int Gather(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, int first, int end) {
        if (std::min(end, ArgumentCount(args)) - first == 1)
            m_kept = ostrel::functions::RangeNumbers(ctx, NthArgument(args, first), cell);
        if (m_kept) return m_kept->error;
        return GatherNumbers(ctx, args, cell, first, end, m_numbers);
    }
    size_t Count() const { return m_kept ? size_t(m_kept->numbers) : m_numbers.size(); }
    // The k-th smallest (from 0; k below Count()).
    double Smallest(size_t k) {
        if (m_kept) return m_kept->Smallest(k);
        // After a selection at s, the numbers before s are at most its value and those after
        // it at least: a later selection looks only on its side.
        auto begin = m_numbers.begin(), end = m_numbers.end();
        if (m_selected != kNone) {
            if (k > m_selected) begin += std::ptrdiff_t(m_selected) + 1;
            if (k < m_selected) end = m_numbers.begin() + std::ptrdiff_t(m_selected);
        }
        std::nth_element(begin, m_numbers.begin() + std::ptrdiff_t(k), end);
        m_selected = k;
        return m_numbers[k];
    }

private:
    static constexpr size_t kNone = SIZE_MAX;
    const ostrel::functions::AggregateMemo::Fold* m_kept = nullptr;
    std::vector<double> m_numbers;
    size_t m_selected = kNone;
};

// LARGE and SMALL: the numbers of every argument but the last, which is the rank k from 1
// (a fraction cut to a whole number).
int Ranked(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
           bool fromTop) {
    const int last = ArgumentCount(args) - 1;
    OrderedNumbers numbers;
    if (int error = numbers.Gather(ctx, args, cell, 0, last)) return error;
    double k = 0;
    if (int error = Number(ctx, args, last, k, cell)) return error;
    const size_t count = numbers.Count();
    int64_t rank = 0;
    if (count == 0 || ToInteger(k, Rounding::trunc, 1, int64_t(count), rank)) return 3;
    SetNumber(result, numbers.Smallest(fromTop ? count - size_t(rank) : size_t(rank - 1)));
    return 0;
}

// PERCENTILE and QUARTILE: the numbers of the first argument at the fraction the second
// gives, directly or (for a quartile) as a whole number of quarters from 0 to 4, interpolated
// linearly between the two nearest: the smallest at 0, the largest at 1.
int PercentileOf(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
                 bool quartile) {
    OrderedNumbers numbers;
    if (int error = numbers.Gather(ctx, args, cell, 0, 1)) return error;
    double p = 0;
    if (int error = Number(ctx, args, 1, p, cell)) return error;
    if (quartile) {
        int64_t quarters = 0;
        if (ToInteger(p, Rounding::trunc, 0, 4, quarters)) return 3;
        p = double(quarters) / 4;
    }
    const size_t count = numbers.Count();
    if (count == 0 || !(p >= 0 && p <= 1)) return 3;
    const double position = p * double(count - 1);
    const size_t below = std::min(size_t(position), count - 1);
    const double low = numbers.Smallest(below);
    const double fraction = position - double(below);
    SetNumber(result, fraction == 0 ? low : low + fraction * (numbers.Smallest(below + 1) - low));
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
    OrderedNumbers numbers;
    if (int error = numbers.Gather(ctx, args, cell, 0, INT_MAX)) return error;
    const size_t count = numbers.Count();
    if (count == 0) return 3;
    const double upper = numbers.Smallest(count / 2);
    SetNumber(result, count % 2 ? upper : 0.5 * numbers.Smallest(count / 2 - 1) + 0.5 * upper);
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
