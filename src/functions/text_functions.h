// SPDX-License-Identifier: Apache-2.0
// The evaluation routines of the text functions, as their rows point at them, and the few
// helpers the text files share. A routine either sets the result and returns 0, or returns an
// error code that Evaluate makes the result.
#pragma once

#include <cstdint>

#include "functions/arguments.h"
#include "ostrel/functions/func.h"

namespace text_functions {

using Routine = int (*)(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                        const CCRef* cell);

template <Routine R>
void Evaluate(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    if (int error = R(ctx, result, args, cell)) result.Set(error);
}

// Counts and positions beyond 2^53 are not integers any more; far beyond any text anyway.
inline constexpr int64_t kLargestCount = int64_t{1} << 53;

// A count or position argument: the floor of a number, from low to kLargestCount; an error
// value passes its code, anything else (or a number outside) is error 3.
inline int CountArgument(cells::CTX* ctx, const CCFormulaList* args, int n, int64_t low,
                         int64_t& out, const CCRef* cell) {
    return ostrel::functions::IntegerArgument(ctx, args, n, ostrel::functions::Rounding::floor, low,
                                              kLargestCount, out, cell);
}
// The same for an optional argument: fallback when it is not there.
inline int OptionalCountArgument(cells::CTX* ctx, const CCFormulaList* args, int n, int64_t low,
                                 int64_t fallback, int64_t& out, const CCRef* cell) {
    return ostrel::functions::OptionalIntegerArgument(
        ctx, args, n, ostrel::functions::Rounding::floor, low, kLargestCount, fallback, out, cell);
}

#define OSTREL_TEXT_ROUTINE(Name) \
    int Name(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell)

// Characters of one text (text.cpp).
OSTREL_TEXT_ROUTINE(AsText);
OSTREL_TEXT_ROUTINE(Char);
OSTREL_TEXT_ROUTINE(Clean);
OSTREL_TEXT_ROUTINE(Code);
OSTREL_TEXT_ROUTINE(Exact);
OSTREL_TEXT_ROUTINE(Left);
OSTREL_TEXT_ROUTINE(Len);
OSTREL_TEXT_ROUTINE(Lower);
OSTREL_TEXT_ROUTINE(Mid);
OSTREL_TEXT_ROUTINE(Proper);
OSTREL_TEXT_ROUTINE(Right);
OSTREL_TEXT_ROUTINE(Trim);
OSTREL_TEXT_ROUTINE(Upper);

// Texts built from pieces (text_build.cpp).
OSTREL_TEXT_ROUTINE(Concatenate);
OSTREL_TEXT_ROUTINE(Replace);
OSTREL_TEXT_ROUTINE(Rept);
OSTREL_TEXT_ROUTINE(Substitute);

// Searches and patterns (text_search.cpp).
OSTREL_TEXT_ROUTINE(FindText);
OSTREL_TEXT_ROUTINE(Like);
OSTREL_TEXT_ROUTINE(SearchText);

// Numbers to text and back (text_number.cpp).
OSTREL_TEXT_ROUTINE(Dollar);
OSTREL_TEXT_ROUTINE(Fixed);
OSTREL_TEXT_ROUTINE(Value);

}  // namespace text_functions
