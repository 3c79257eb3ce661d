// SPDX-License-Identifier: Apache-2.0
#include "functions/choice.h"

#include <cstdint>

#include "functions/arguments.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"

namespace ostrel::functions {

void EvaluateChoice(ChoiceRoutine choose, cells::CTX* ctx, CCCellValue& result,
                    const CCFormulaList* args, const CCRef* cell) {
    CCFormula* chosen = nullptr;
    if (int code = choose(ctx, chosen, args, cell)) {
        result.Set(code);
        return;
    }
    if (!chosen) {
        result.Set(4);
        return;
    }
    chosen->Eval(ctx, result, cell);
    DereferenceValue(ctx, result);
}

int ChooseByIndex(cells::CTX* ctx, CCFormula*& chosen, const CCFormulaList* args,
                  const CCRef* cell) {
    chosen = nullptr;
    if (!args) return 4;
    int64_t index = 0;
    const int values = ArgumentCount(args) - 1;
    if (int code = IntegerArgument(ctx, args, 0, Rounding::floor, 1, values, index, cell))
        return code;
    chosen = NthArgument(args, static_cast<int>(index));
    return 0;
}

void EvalChoose(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    EvaluateChoice(ChooseByIndex, ctx, result, args, cell);
}

}  // namespace ostrel::functions
