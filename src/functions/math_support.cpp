#include "functions/math_support.h"

#include "cells/double_array.h"

namespace math_detail {

CCFormula* NthArgument(const CCFormulaList* args, int n) {
    for (; args && n > 0; --n)
        args = args->m_pNext;
    return args ? args->m_pFormula : nullptr;
}

void EvaluateArgument(cells::CTX* ctx, const CCFormulaList* args, int n, CCCellValue& value,
                      const CCRef* cell) {
    CCFormula* node = NthArgument(args, n);
    if (!node) {
        value.Set(1);
        return;
    }
    node->Eval(ctx, value, cell);
    DereferenceValue(ctx, value);
}

bool NumberArgument(cells::CTX* ctx, const CCFormulaList* args, int n, double& x,
                    const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, n, value, cell);
    if (!value.IsNumber()) return false;
    x = value.GetNumber();
    return true;
}

void SetNumber(CCCellValue& result, double x) {
    result.Set(x, CCNumberFormat());
}

int GatherNumbers(cells::CTX* ctx, const CCFormulaList* args, int first, CCDoubleArray& out,
                  const CCRef* cell) {
    int error = 0;
    int position = 0;
    for (const CCFormulaList* a = args; a; a = a->m_pNext, ++position) {
        if (position < first) continue;
        int failed = WalkValues(ctx, a->m_pFormula, cell, [&](const CCCellValue& value) {
            if (value.IsNumber())
                out.Add(value.GetNumber());
            else if (value.IsError() && !error)
                error = value.GetError();
        });
        if (failed && !error) error = 1;
        if (error) return error;
    }
    return 0;
}

int GatherSlots(cells::CTX* ctx, CCFormula* node, std::vector<Slot>& out, const CCRef* cell) {
    int error = 0;
    int failed = WalkValues(ctx, node, cell, [&](const CCCellValue& value) {
        if (value.IsError() && !error) error = value.GetError();
        Slot slot;
        slot.isNumber = value.IsNumber();
        if (slot.isNumber) slot.number = value.GetNumber();
        out.push_back(slot);
    });
    if (error) return error;
    return failed ? 1 : 0;
}

}  // namespace math_detail
