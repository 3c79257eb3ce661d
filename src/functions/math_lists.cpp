// The mathematical functions over numbers and ranges. They walk every value of their
// arguments through the range iteration of the nodes: numbers count, texts and empty cells
// are passed over, and the first error value met becomes the result (error 1 when an
// argument has nothing to iterate). Pairs of ranges must hold as many values as each other
// (error 3 otherwise); a pair with a non-number in it is passed over. SUMIF sums what its
// criterion selects.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "cells/double_array.h"
#include "functions/criterion.h"
#include "functions/math_functions.h"
#include "functions/math_support.h"
#include "platform/geometry.h"

using math_detail::GatherNumbers;
using math_detail::GatherSlots;
using math_detail::NumberArgument;
using math_detail::SetNumber;
using math_detail::Slot;
using math_detail::WalkValues;

namespace {

// Folds f over every number of every argument, starting from 0.
template <class F>
void SumOver(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
             F f) {
    double sum = 0;
    int error = 0;
    for (const CCFormulaList* a = args; a && !error; a = a->m_pNext) {
        int failed = WalkValues(ctx, a->m_pFormula, cell, [&](const CCCellValue& value) {
            if (value.IsNumber())
                sum += f(value.GetNumber());
            else if (value.IsError() && !error)
                error = value.GetError();
        });
        if (failed && !error) error = 1;
    }
    if (error)
        result.Set(error);
    else
        SetNumber(result, sum);
}

enum class PairMode { kX2MinusY2, kX2PlusY2, kXMinusYSquared, kXPlusYSquared };

// The shared routine of the SUMX family.
void SumPairs(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
              PairMode mode) {
    std::vector<Slot> xs;
    std::vector<Slot> ys;
    int error = GatherSlots(ctx, math_detail::NthArgument(args, 0), xs, cell);
    if (!error) error = GatherSlots(ctx, math_detail::NthArgument(args, 1), ys, cell);
    if (!error && xs.size() != ys.size()) error = 3;
    if (error) {
        result.Set(error);
        return;
    }
    double sum = 0;
    for (size_t i = 0; i < xs.size(); ++i) {
        if (!xs[i].isNumber || !ys[i].isNumber) continue;
        const double x = xs[i].number;
        const double y = ys[i].number;
        switch (mode) {
            case PairMode::kX2MinusY2:
                sum += x * x - y * y;
                break;
            case PairMode::kX2PlusY2:
                sum += x * x + y * y;
                break;
            case PairMode::kXMinusYSquared:
                sum += (x - y) * (x - y);
                break;
            case PairMode::kXPlusYSquared:
                sum += (x + y) * (x + y);
                break;
        }
    }
    SetNumber(result, sum);
}

// Integer parts in 0 .. 2^53 are exact in a double and in 64 bits; others give error 3.
constexpr double kLargestInteger = 9007199254740992.0;

// The integer parts of every number of the arguments; 0 or an error code.
int IntegerParts(cells::CTX* ctx, const CCFormulaList* args, std::vector<uint64_t>& out,
                 const CCRef* cell) {
    CCDoubleArray numbers;
    if (int error = GatherNumbers(ctx, args, 0, numbers, cell)) return error;
    out.reserve(size_t(numbers.GetSize()));
    for (int i = 0; i < numbers.GetSize(); ++i) {
        const double n = std::floor(numbers[i]);
        if (!(n >= 0 && n <= kLargestInteger)) return 3;
        out.push_back(uint64_t(n));
    }
    return 0;
}

uint64_t Gcd(uint64_t a, uint64_t b) {
    while (b)
        a = std::exchange(b, a % b);
    return a;
}

// C(a + b, min(a, b)) times into product; each step at least doubles the factor, so the loop
// ends within about a thousand steps once the product is infinite.
double MultiplyBinomial(double product, double a, double b) {
    const double k = std::min(a, b);
    const double other = std::max(a, b);
    double c = 1;
    for (double i = 1; i <= k && std::isfinite(c); ++i)
        c = c * (other + i) / i;
    return product * c;
}

// Gaussian elimination with partial pivoting over a row-major n x n matrix.
double Determinant(std::vector<double>& m, size_t n) {
    double det = 1;
    for (size_t col = 0; col < n; ++col) {
        size_t pivot = col;
        for (size_t r = col + 1; r < n; ++r)
            if (std::fabs(m[r * n + col]) > std::fabs(m[pivot * n + col])) pivot = r;
        if (m[pivot * n + col] == 0) return 0;
        if (pivot != col) {
            for (size_t c = 0; c < n; ++c)
                std::swap(m[col * n + c], m[pivot * n + c]);
            det = -det;
        }
        const double p = m[col * n + col];
        det *= p;
        for (size_t r = col + 1; r < n; ++r) {
            const double factor = m[r * n + col] / p;
            if (factor == 0) continue;
            for (size_t c = col; c < n; ++c)
                m[r * n + c] -= factor * m[col * n + c];
        }
    }
    return det;
}

}  // namespace

// SUM and TOTAL.
void EvalSUM(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    SumOver(ctx, result, args, cell, [](double x) { return x; });
}

void EvalSUMSQ(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    SumOver(ctx, result, args, cell, [](double x) { return x * x; });
}

void EvalSUMTIMES(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    std::vector<std::vector<Slot>> ranges;
    for (const CCFormulaList* a = args; a; a = a->m_pNext) {
        ranges.emplace_back();
        if (int error = GatherSlots(ctx, a->m_pFormula, ranges.back(), cell)) {
            result.Set(error);
            return;
        }
        if (ranges.back().size() != ranges.front().size()) {
            result.Set(3);
            return;
        }
    }
    double sum = 0;
    const size_t count = ranges.empty() ? 0 : ranges.front().size();
    for (size_t i = 0; i < count; ++i) {
        double product = 1;
        bool numbers = true;
        for (const auto& range : ranges) {
            numbers = numbers && range[i].isNumber;
            product *= range[i].number;
        }
        if (numbers) sum += product;
    }
    SetNumber(result, sum);
}

void EvalSUMX2MY2(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    SumPairs(ctx, result, args, cell, PairMode::kX2MinusY2);
}

void EvalSUMX2PY2(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    SumPairs(ctx, result, args, cell, PairMode::kX2PlusY2);
}

void EvalSUMXMY2(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    SumPairs(ctx, result, args, cell, PairMode::kXMinusYSquared);
}

void EvalSUMXPY2(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    SumPairs(ctx, result, args, cell, PairMode::kXPlusYSquared);
}

void EvalGCD(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    std::vector<uint64_t> parts;
    if (int error = IntegerParts(ctx, args, parts, cell)) {
        result.Set(error);
        return;
    }
    uint64_t g = 0;
    for (uint64_t n : parts)
        g = Gcd(g, n);
    SetNumber(result, double(g));
}

// A 0 among the numbers makes the multiple 0; a multiple beyond 2^53 is error 3.
void EvalLCM(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    std::vector<uint64_t> parts;
    if (int error = IntegerParts(ctx, args, parts, cell)) {
        result.Set(error);
        return;
    }
    uint64_t l = parts.empty() ? 0 : 1;
    for (uint64_t n : parts) {
        if (n == 0) {
            l = 0;
            break;
        }
        uint64_t next = 0;
        if (__builtin_mul_overflow(l / Gcd(l, n), n, &next) || double(next) > kLargestInteger) {
            result.Set(3);
            return;
        }
        l = next;
    }
    SetNumber(result, double(l));
}

// (a + b + ...)! / (a! b! ...) as a product of binomial coefficients, so that no factorial
// larger than the result is ever formed.
void EvalMULTINOMIAL(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                     const CCRef* cell) {
    CCDoubleArray numbers;
    if (int error = GatherNumbers(ctx, args, 0, numbers, cell)) {
        result.Set(error);
        return;
    }
    double product = 1;
    double total = 0;
    for (int i = 0; i < numbers.GetSize() && std::isfinite(product); ++i) {
        const double n = std::floor(numbers[i]);
        if (!(n >= 0) || n + 1 == n) {
            result.Set(3);
            return;
        }
        product = MultiplyBinomial(product, total, n);
        total += n;
    }
    SetNumber(result, product);
}

// SERIESSUM(x, n, m, coefficients ...): the sum of coefficient_i * x^(n + i * m).
void EvalSERIESSUM(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                   const CCRef* cell) {
    double x = 0;
    double n = 0;
    double m = 0;
    if (!NumberArgument(ctx, args, 0, x, cell) || !NumberArgument(ctx, args, 1, n, cell) ||
        !NumberArgument(ctx, args, 2, m, cell)) {
        result.Set(3);
        return;
    }
    CCDoubleArray coefficients;
    if (int error = GatherNumbers(ctx, args, 3, coefficients, cell)) {
        result.Set(error);
        return;
    }
    double sum = 0;
    for (int i = 0; i < coefficients.GetSize(); ++i)
        sum += coefficients[i] * std::pow(x, n + i * m);
    SetNumber(result, sum);
}

// The range must be square (error 3 otherwise, before any value is read) and hold numbers
// only (error 3).
void EvalMDETERM(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    CCFormula* node = math_detail::NthArgument(args, 0);
    uint16_t handle = node ? node->OpenRef(ctx, cell) : 0;
    if (!handle) {
        result.Set(1);
        return;
    }
    CSize size;
    const bool sized = node->RefSize(ctx, handle, size, cell) != 0;
    // A single value has no size of its own: a 1 x 1 matrix.
    if (!sized) size = CSize(1, 1);
    if (size.cx <= 0 || size.cx != size.cy) {
        node->CloseRef(ctx, handle, cell);
        result.Set(3);
        return;
    }
    const size_t n = size_t(size.cx);
    std::vector<double> matrix;
    matrix.reserve(n * n);
    bool numbers = true;
    CCCellValue value;
    while (matrix.size() < n * n && node->NextValue(ctx, handle, value, cell)) {
        DereferenceValue(ctx, value);
        numbers = numbers && value.IsNumber();
        matrix.push_back(value.IsNumber() ? value.GetNumber() : 0);
    }
    node->CloseRef(ctx, handle, cell);
    if (!numbers || matrix.size() != n * n) {
        result.Set(3);
        return;
    }
    SetNumber(result, Determinant(matrix, n));
}

// SUMIF(range, criterion [, sum range]): the sum range pairs with the range value by value
// (error 3 when their sizes differ); without one the matching values themselves are summed.
void EvalSUMIF(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    std::vector<CCCellValue> tested;
    int failed = WalkValues(ctx, math_detail::NthArgument(args, 0), cell,
                            [&](const CCCellValue& value) { tested.push_back(value); });
    CCCellValue criterionValue;
    math_detail::EvaluateArgument(ctx, args, 1, criterionValue, cell);
    if (failed || criterionValue.IsError()) {
        result.Set(failed ? 1 : criterionValue.GetError());
        return;
    }
    const CCCriterion criterion(criterionValue);
    std::vector<Slot> summed;
    int errorCode = 0;
    if (CCFormula* sumNode = math_detail::NthArgument(args, 2)) {
        int position = 0;
        failed = WalkValues(ctx, sumNode, cell, [&](const CCCellValue& value) {
            Slot slot;
            slot.isNumber = value.IsNumber();
            slot.number = slot.isNumber ? value.GetNumber() : 0;
            // An error counts only where its counterpart matches.
            if (value.IsError() && !errorCode && size_t(position) < tested.size() &&
                criterion.Matches(tested[size_t(position)]))
                errorCode = value.GetError();
            summed.push_back(slot);
            ++position;
        });
        if (failed || summed.size() != tested.size()) {
            result.Set(failed ? 1 : 3);
            return;
        }
    } else {
        for (const CCCellValue& value : tested) {
            Slot slot;
            slot.isNumber = value.IsNumber();
            slot.number = slot.isNumber ? value.GetNumber() : 0;
            summed.push_back(slot);
        }
    }
    if (errorCode) {
        result.Set(errorCode);
        return;
    }
    double sum = 0;
    for (size_t i = 0; i < tested.size(); ++i)
        if (summed[i].isNumber && criterion.Matches(tested[i])) sum += summed[i].number;
    SetNumber(result, sum);
}
