// SPDX-License-Identifier: Apache-2.0
#include "functions/check_routines.h"

#include "ostrel/formula/formula.h"

namespace {

enum class Need { kSingle, kEither, kRange };

Need PositionNeed(const ArgRule& rule, size_t position, size_t count) {
    switch (rule.ranges) {
        case RangeRule::kNone:
            return Need::kSingle;
        case RangeRule::kAny:
            return Need::kEither;
        case RangeRule::kOnly:
            return position == rule.k ? Need::kEither : Need::kSingle;
        case RangeRule::kFrom:
            return position >= rule.k ? Need::kEither : Need::kSingle;
        case RangeRule::kAllBut:
            return position == rule.k ? Need::kSingle : Need::kEither;
        case RangeRule::kAllButLast:
            return position == count ? Need::kSingle : Need::kEither;
        case RangeRule::kTaxBand:
            return position == 2 || position == 3 ? Need::kRange : Need::kSingle;
    }
    return Need::kSingle;
}

}  // namespace

int CheckArguments(const ArgRule& rule, cells::CTX* ctx, const CCFormulaList* args,
                   const CCRef* cell) {
    size_t count = 0;
    for (const CCFormulaList* it = args; it; it = it->m_pNext)
        ++count;
    if (count < rule.min) return 0;
    if (rule.max != kManyArgs && count > rule.max) return 0;
    size_t position = 1;
    for (const CCFormulaList* it = args; it; it = it->m_pNext, ++position) {
        Need need = PositionNeed(rule, position, count);
        if (need == Need::kEither) continue;
        if (!it->m_pFormula) return 0;
        bool single = it->m_pFormula->IsSingleValue(ctx, cell) != 0;
        if (need == Need::kSingle && !single) return 0;
        if (need == Need::kRange && single) return 0;
    }
    return 1;
}
