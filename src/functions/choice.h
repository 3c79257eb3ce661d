// SPDX-License-Identifier: Apache-2.0
// The choice functions evaluate only the argument they pick. Their picking routine also
// serves the range iteration of the choice node, so that a range a choice picks is read
// value by value like any other range.
#pragma once

#include "ostrel/functions/func.h"

namespace ostrel::functions {

// Evaluates the argument choose picks into result, a reference result replaced by its
// value: a code of the routine becomes that error, and picking nothing is error 4.
void EvaluateChoice(ChoiceRoutine choose, cells::CTX* ctx, CCCellValue& result,
                    const CCFormulaList* args, const CCRef* cell);

// CHOOSE(index, value1, ...): the index, floored, picks a value counted from 1; an index
// below 1 or past the values is error 3, an error value of the index passes its code.
int ChooseByIndex(cells::CTX* ctx, CCFormula*& chosen, const CCFormulaList* args,
                  const CCRef* cell);
void EvalChoose(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);

}  // namespace ostrel::functions
