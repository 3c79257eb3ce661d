// SPDX-License-Identifier: Apache-2.0
// Whole-formula evaluation and the folding routine of the binary operators.
#include <cmath>

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/refs/ref.h"

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

// The value of a reference argument that names one cell of this document: what opening it
// as a range would give as its only value, without taking an entry of the open-reference table
// for it (the commonest operand by far).
bool SingleCellValue(cells::CTX* ctx, CCFormula* arg, CCCellValue& value) {
    const CCRef* ref = static_cast<CCRefFormula*>(arg)->GetRef();
    if (!ref || ref->GetType() != REF_TYPE_RC) return false;
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager) return false;
    if (!manager->IsValidRef(ref) || !manager->GetValue(ref, &value, 0)) value.Set(1);
    return true;
}

void FoldValue(int op, CCCellValue& result, const CCCellValue& value, bool first) {
    if (first)
        result.Set(value);
    else
        EvalCellValue(op, result, value);
}

// Folds every value of one argument into the result; the first value of the first argument
// starts the fold.
void FoldArgument(cells::CTX* ctx, int op, CCCellValue& result, CCFormula* arg, const CCRef* cell,
                  bool first) {
    // The common operands, a cell, a constant and an operation, give their one value the
    // way reading them as a range would, without the calls.
    switch (arg->GetType()) {
        case FORMULA_REF:
            if (CCCellValue single; SingleCellValue(ctx, arg, single)) {
                FoldValue(op, result, single, first);
                return;
            }
            break;
        case FORMULA_CONST:
            if (const auto* constant = static_cast<const CCConstFormula*>(arg);
                !constant->IsOpen()) {
                FoldValue(op, result, constant->GetValue(), first);
                return;
            }
            break;
        case FORMULA_OP:
            if (CCCellValue value; static_cast<CCOpFormula*>(arg)->ValueOnce(ctx, value, cell)) {
                FoldValue(op, result, value, first);
                return;
            }
            break;
        default:
            break;
    }
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
