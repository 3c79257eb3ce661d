// SPDX-License-Identifier: Apache-2.0
#include "functions/math_support.h"

#include "cells/double_array.h"

namespace math_detail {

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

}  // namespace math_detail
