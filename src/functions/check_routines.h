// SPDX-License-Identifier: Apache-2.0
// Argument checking shared by every registry entry: an entry's check routine is the generic
// checker instantiated with the entry's rule (how many arguments, which of them may or must
// be ranges). Entries with equal rules share one routine.
#pragma once

#include <cstdint>

#include "ostrel/functions/func.h"

// Which argument positions (1-based) may be ranges, that is nodes that are not single values.
enum class RangeRule : uint8_t {
    kNone,        // every argument must be a single value
    kAny,         // every argument may be a range
    kOnly,        // only position k
    kFrom,        // position k and every later one
    kAllBut,      // every position except k
    kAllButLast,  // every position except the last
    kTaxBand,     // positions 2 and 3 must be ranges, the others single values
};

// Argument count without upper bound.
constexpr uint8_t kManyArgs = 255;

struct ArgRule {
    uint8_t min = 0;
    uint8_t max = 0;  // kManyArgs: no upper bound
    RangeRule ranges = RangeRule::kNone;
    uint8_t k = 0;
};

// 1 when the argument list satisfies the rule. Only the count and the single-value answer of
// each argument are looked at; IsSingleValue is asked only of arguments whose answer matters.
int CheckArguments(const ArgRule& rule, cells::CTX* ctx, const CCFormulaList* args,
                   const CCRef* cell);

template <ArgRule R>
int CheckWithRule(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell) {
    return CheckArguments(R, ctx, args, cell);
}
