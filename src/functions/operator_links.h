// The operator routines are defined with the formula tree. Until that code is part of the
// same build these declarations make the references weak, so the library links and an entry
// whose routine is missing simply has none (its node evaluates to empty). Once the tree's
// operators are merged this header is to be removed.
#pragma once

#include "formula/operators.h"

#define OSTREL_WEAK_ROUTINE(name)                                                                 \
    void name(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) \
        __attribute__((weak))

OSTREL_WEAK_ROUTINE(EvalAdd);
OSTREL_WEAK_ROUTINE(EvalSub);
OSTREL_WEAK_ROUTINE(EvalMul);
OSTREL_WEAK_ROUTINE(EvalDiv);
OSTREL_WEAK_ROUTINE(EvalPower);
OSTREL_WEAK_ROUTINE(EvalAnd);
OSTREL_WEAK_ROUTINE(EvalOr);
OSTREL_WEAK_ROUTINE(EvalEQ);
OSTREL_WEAK_ROUTINE(EvalNE);
OSTREL_WEAK_ROUTINE(EvalGT);
OSTREL_WEAK_ROUTINE(EvalGE);
OSTREL_WEAK_ROUTINE(EvalLT);
OSTREL_WEAK_ROUTINE(EvalLE);
OSTREL_WEAK_ROUTINE(EvalUnPlus);
OSTREL_WEAK_ROUTINE(EvalUnMinus);
OSTREL_WEAK_ROUTINE(EvalPercent);
OSTREL_WEAK_ROUTINE(EvalNot);
OSTREL_WEAK_ROUTINE(EvalRange);
OSTREL_WEAK_ROUTINE(EvalSheetRange);
OSTREL_WEAK_ROUTINE(EvalFullRef);

#undef OSTREL_WEAK_ROUTINE
