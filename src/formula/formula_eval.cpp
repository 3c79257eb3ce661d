// Whole-formula evaluation and the folding routine of the binary operators.
#include <cmath>

#include "cells/cell_value.h"
#include "formula/formula.h"
#include "refs/ref.h"

void DereferenceValue(cells::CTX* ctx, CCCellValue& value) {
    if (!value.IsRef()) return;
    CCCellValue denoted;
    if (value.GetRef() && value.GetRef()->GetValue(ctx, &denoted))
        value.Set(denoted);
    else
        value.Set(1);
}

void EvalFormula(cells::CTX* ctx, CCCellValue& result, CCFormula* formula, const CCRef* cell) {
    if (!formula) {
        result.Set(4);
        return;
    }
    if (int code = formula->Check(ctx, cell)) {
        result.Set(code);
        return;
    }
    formula->Eval(ctx, result, cell);
    DereferenceValue(ctx, result);
    if (result.IsNumber() && !std::isfinite(result.GetNumber())) result.Set(3);
}

namespace {

// Folds every value of one argument into the result; the first value of the first argument
// starts the fold.
void FoldArgument(cells::CTX* ctx, int op, CCCellValue& result, CCFormula* arg, const CCRef* cell,
                  bool first) {
    uint16_t handle = arg->OpenRef(ctx, cell);
    if (!handle) {
        result.Set(1);
        return;
    }
    CCCellValue value;
    if (first) {
        if (!arg->NextValue(ctx, handle, value, cell)) {
            arg->CloseRef(ctx, handle, cell);
            result.Set(1);
            return;
        }
        result.Set(value);
    }
    while (arg->NextValue(ctx, handle, value, cell))
        EvalCellValue(op, result, value);
    arg->CloseRef(ctx, handle, cell);
}

}  // namespace

void FoldOperator(cells::CTX* ctx, int op, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    result.Set();
    if (!args) return;
    for (const CCFormulaList* a = args; a; a = a->m_pNext)
        FoldArgument(ctx, op, result, a->m_pFormula, cell, a == args);
    if (!result.IsEmpty()) return;
    switch (op) {
        case EV_ADD:
        case EV_SUB:
        case EV_MUL:
        case EV_DIV:
            result.Set(0.0);
            break;
        case EV_POW:
            result.Set(1.0);
            break;
        case EV_AND:
        case EV_OR:
        case EV_NE:
        case EV_GT:
        case EV_LT:
            result.Set(0.0, C_NF_BOOL);
            break;
        case EV_EQ:
        case EV_GE:
        case EV_LE:
            result.Set(1.0, C_NF_BOOL);
            break;
        default:
            break;
    }
}
