// SPDX-License-Identifier: Apache-2.0
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
#include "formula/operators.h"
#include "functions/aggregate_memo.h"
#include "functions/criterion.h"
#include "functions/function_row.h"
#include "functions/math_functions.h"
#include "functions/math_support.h"
#include "functions/running_sums.h"
#include "ostrel/platform/geometry.h"
#include "platform/names.h"

using math_detail::GatherNumbers;
using math_detail::NumberArgument;
using math_detail::SetNumber;
using math_detail::WalkValues;
using ostrel::functions::EvaluateArgument;
using ostrel::functions::NthArgument;
using ostrel::functions::RangeWalk;
using ostrel::functions::WalkInStep;

namespace {

// Folds f over every number of every argument, starting from 0. With running (f adds each
// number as it is), a long column range met while the sum is still 0 is read from the
// document's running sums, which hold that very fold from 0.
template <class F>
void SumOver(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
             F f, bool running = false) {
    double sum = 0;
    int error = 0;
    for (const CCFormulaList* a = args; a && !error; a = a->m_pNext) {
        if (running && sum == 0 &&
            ostrel::functions::SumFromRunningSums(ctx, a->m_pFormula, cell, sum, error))
            continue;
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
    double sum = 0;
    int error = WalkInStep(ctx, args, cell, [&](const CCCellValue* values, size_t) {
        if (!values[0].IsNumber() || !values[1].IsNumber()) return;
        const double x = values[0].GetNumber();
        const double y = values[1].GetNumber();
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
    });
    if (error)
        result.Set(error);
    else
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
    const auto number = [](double x) { return x; };
    SumOver(ctx, result, args, cell, number, true);
}

void EvalSUMSQ(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    SumOver(ctx, result, args, cell, [](double x) { return x * x; });
}

void EvalSUMTIMES(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    double sum = 0;
    int error = WalkInStep(ctx, args, cell, [&](const CCCellValue* values, size_t count) {
        double product = 1;
        for (size_t i = 0; i < count; ++i) {
            if (!values[i].IsNumber()) return;
            product *= values[i].GetNumber();
        }
        sum += product;
    });
    if (error)
        result.Set(error);
    else
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

namespace {

// SUMIF of a number over one range whose numbers the document keeps in order (a range
// holding no error), when they are whole numbers small enough for every sum of them to be
// exact: the walk's sum is then the sum of those on the criterion's side, however added. Only
// numbers are added, and every value of another kind than a number is left out by a
// comparison with one, or satisfies <> and is not added.
bool SumFromKeptNumbers(cells::CTX* ctx, CCFormula* range, const CCRef* cell,
                        const CCCriterion& criterion, double& sum) {
    double x = 0;
    if (!criterion.NumberOperand(x) || std::isnan(x)) return false;
    const auto* numbers = ostrel::functions::RangeNumbers(ctx, range, cell);
    if (!numbers || numbers->error || !numbers->ExactSums()) return false;
    double below = 0, at = 0;
    numbers->SumsBelowAndAt(x, below, at);
    sum = criterion.Take(below, at, numbers->sum - below - at);
    return true;
}

}  // namespace

// SUMIF(range, criterion [, sum range]): the sum range pairs with the range value by value
// (error 3 when their sizes differ); without one the matching values themselves are summed.
void EvalSUMIF(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    CCFormula* sumNode = NthArgument(args, 2);
    RangeWalk tested(ctx, NthArgument(args, 0), cell);
    CCCellValue criterionValue;
    EvaluateArgument(ctx, args, 1, criterionValue, cell);
    if (!tested.Opened() || criterionValue.IsError()) {
        result.Set(!tested.Opened() ? 1 : criterionValue.GetError());
        return;
    }
    const CCCriterion criterion(criterionValue);
    if (double kept = 0;
        !sumNode && SumFromKeptNumbers(ctx, NthArgument(args, 0), cell, criterion, kept)) {
        SetNumber(result, kept);
        return;
    }
    RangeWalk summed(ctx, sumNode, cell);
    if (sumNode && !summed.Opened()) {
        result.Set(1);
        return;
    }
    // Both ranges are read in step, one value each at a time: memory does not grow with
    // their area.
    double sum = 0;
    int errorCode = 0;
    bool sizesDiffer = false;
    CCCellValue test, value;
    for (;;) {
        const bool hasTest = tested.Next(test);
        const bool hasValue = sumNode ? summed.Next(value) : hasTest;
        if (!hasTest || !hasValue) {
            sizesDiffer = hasTest != hasValue;
            break;
        }
        const CCCellValue& added = sumNode ? value : test;
        if (!criterion.Matches(test)) continue;
        // An error of the sum range counts only where its counterpart matches.
        if (added.IsError() && sumNode && !errorCode) errorCode = added.GetError();
        if (added.IsNumber()) sum += added.GetNumber();
    }
    if (sizesDiffer)
        result.Set(3);
    else if (errorCode)
        result.Set(errorCode);
    else
        SetNumber(result, sum);
}

namespace {

const FunctionRow kRows[] = {
    {u"DIVIDE", 13051, kMathematical, RULE(1, kMany, kAny, 0), EvalDiv,
     u"DIVIDE(number1, [number2], ...)\n"
     u"Divides the first value by every further value in turn, as the / operator does.\n"
     u"number1: the value to divide, or a range whose values are divided in turn\n"
     u"number2: a value or range to divide by; more may follow"},
    {u"GCD", 13056, kMathematical, RULE(1, kMany, kAny, 0), EvalGCD,
     u"GCD(number1, [number2], ...)\n"
     u"Returns the greatest common divisor of the integer parts of the numbers.\n"
     u"number1: a number, or a range of numbers\n"
     u"number2: further numbers or ranges"},
    {u"LCM", 13058, kMathematical, RULE(1, kMany, kAny, 0), EvalLCM,
     u"LCM(number1, [number2], ...)\n"
     u"Returns the least common multiple of the integer parts of the numbers.\n"
     u"number1: a number, or a range of numbers\n"
     u"number2: further numbers or ranges"},
    {u"MDETERM", 13062, kMathematical, RULE(1, 1, kAny, 0), EvalMDETERM,
     u"MDETERM(matrix)\n"
     u"Returns the determinant of a square matrix.\n"
     u"matrix: a square range or array of numbers"},
    {u"MINUS", 13063, kMathematical, RULE(1, kMany, kAny, 0), EvalSub,
     u"MINUS(number1, [number2], ...)\n"
     u"Subtracts every further value from the first in turn, as the - operator does.\n"
     u"number1: the value to subtract from, or a range whose values are subtracted in turn\n"
     u"number2: a value or range to subtract; more may follow"},
    {u"MULTINOMIAL", 13065, kMathematical, RULE(1, kMany, kAny, 0), EvalMULTINOMIAL,
     u"MULTINOMIAL(number1, [number2], ...)\n"
     u"Returns the factorial of the sum of the integer parts of the numbers divided by the product "
     u"of their factorials.\n"
     u"number1: a number of 0 or more, or a range of such numbers\n"
     u"number2: further numbers or ranges"},
    {u"PLUS", 13067, kMathematical, RULE(1, kMany, kAny, 0), EvalAdd,
     u"PLUS(number1, [number2], ...)\n"
     u"Adds all values in turn, as the + operator does.\n"
     u"number1: a value or range\n"
     u"number2: further values or ranges"},
    {u"POWER", 13068, kMathematical, RULE(2, kMany, kAny, 0), EvalPower,
     u"POWER(base, exponent, ...)\n"
     u"Raises a number to a power; further exponents are applied in turn, as the ^ operator does.\n"
     u"base: the value to raise\n"
     u"exponent: the power to raise it to; more may follow"},
    {u"SERIESSUM", 13074, kMathematical, RULE(3, kMany, kFrom, 4), EvalSERIESSUM,
     u"SERIESSUM(x, n, m, [coefficients], ...)\n"
     u"Returns the sum of a power series: each coefficient times x raised to n, n + m, n + 2m and "
     u"so on.\n"
     u"x: the value of the variable\n"
     u"n: the power of x in the first term\n"
     u"m: the step by which the power grows from term to term\n"
     u"coefficients: the coefficients of the terms, as numbers or ranges"},
    {u"SUM", 13079, kMathematical, RULE(1, kMany, kAny, 0), EvalSUM,
     u"SUM(number1, [number2], ...)\n"
     u"Adds all numbers of the arguments.\n"
     u"number1: a number or range to add\n"
     u"number2: further numbers or ranges"},
    {u"SUMTIMES", 13080, kMathematical, RULE(0, kMany, kAny, 0), EvalSUMTIMES,
     u"SUMTIMES([array1], [array2], ...)\n"
     u"Multiplies the corresponding elements of ranges and returns the sum of the products.\n"
     u"array1: a range or array\n"
     u"array2: further ranges or arrays of the same size"},
    {u"SUMSQ", 13081, kMathematical, RULE(0, kMany, kAny, 0), EvalSUMSQ,
     u"SUMSQ([number1], [number2], ...)\n"
     u"Returns the sum of the squares of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"SUMX2MY2", 13082, kMathematical, RULE(2, 2, kAny, 0), EvalSUMX2MY2,
     u"SUMX2MY2(array_x, array_y)\n"
     u"Returns the sum of the differences of the squares of corresponding elements of two ranges.\n"
     u"array_x: the first range or array\n"
     u"array_y: the second range or array, of the same size"},
    {u"SUMX2PY2", 13083, kMathematical, RULE(2, 2, kAny, 0), EvalSUMX2PY2,
     u"SUMX2PY2(array_x, array_y)\n"
     u"Returns the sum of the sums of the squares of corresponding elements of two ranges.\n"
     u"array_x: the first range or array\n"
     u"array_y: the second range or array, of the same size"},
    {u"SUMXMY2", 13084, kMathematical, RULE(2, 2, kAny, 0), EvalSUMXMY2,
     u"SUMXMY2(array_x, array_y)\n"
     u"Returns the sum of the squares of the differences of corresponding elements of two ranges.\n"
     u"array_x: the first range or array\n"
     u"array_y: the second range or array, of the same size"},
    {u"SUMXPY2", 13085, kMathematical, RULE(2, 2, kAny, 0), EvalSUMXPY2,
     u"SUMXPY2(array_x, array_y)\n"
     u"Returns the sum of the squares of the sums of corresponding elements of two ranges.\n"
     u"array_x: the first range or array\n"
     u"array_y: the second range or array, of the same size"},
    {u"TIMES", 13087, kMathematical, RULE(0, kMany, kAny, 0), EvalMul,
     u"TIMES([number1], [number2], ...)\n"
     u"Multiplies all values in turn, as the * operator does.\n"
     u"number1: a value or range\n"
     u"number2: further values or ranges"},
    {u"TOTAL", 13088, kMathematical, RULE(1, kMany, kAny, 0), EvalSUM,
     u"TOTAL(number1, [number2], ...)\n"
     u"Adds all numbers of the arguments, as SUM does.\n"
     u"number1: a number or range to add\n"
     u"number2: further numbers or ranges"},
    {u"SUMIF", 13289, kMathematical, RULE(2, kMany, kAllBut, 2), EvalSUMIF,
     u"SUMIF(range, criterion, [sum_range])\n"
     u"Adds the cells whose counterpart in a range meets a criterion.\n"
     u"range: the range tested against the criterion\n"
     u"criterion: the value, or comparison such as \">10\", that a cell must meet\n"
     u"sum_range: the cells added, of the same size as the range; the range itself when omitted"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::MathListRows() {
    return kRows;
}
