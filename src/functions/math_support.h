// What the mathematical functions share: reading one argument as a number, storing a
// General-format number, and walking every value of an argument (a single value, a range
// or an array constant) through the range iteration of formula nodes.
#pragma once

#include <vector>

#include "cells/cell_value.h"
#include "formula/formula.h"

class CCDoubleArray;

namespace math_detail {

// The n-th argument (0-based), or null.
CCFormula* NthArgument(const CCFormulaList* args, int n);
// The argument evaluated, a reference result replaced by its value.
void EvaluateArgument(cells::CTX* ctx, const CCFormulaList* args, int n, CCCellValue& value,
                      const CCRef* cell);
// True with x set when the n-th argument evaluates to a number.
bool NumberArgument(cells::CTX* ctx, const CCFormulaList* args, int n, double& x,
                    const CCRef* cell);
// A number with the General format.
void SetNumber(CCCellValue& result, double x);

// Calls visit(value) for every value the node yields. Returns 0, or 1 when the node has
// nothing to iterate.
template <class Visit>
int WalkValues(cells::CTX* ctx, CCFormula* node, const CCRef* cell, Visit&& visit) {
    if (!node) return 1;
    uint16_t handle = node->OpenRef(ctx, cell);
    if (!handle) return 1;
    CCCellValue value;
    while (node->NextValue(ctx, handle, value, cell)) {
        DereferenceValue(ctx, value);
        visit(value);
    }
    node->CloseRef(ctx, handle, cell);
    return 0;
}

// Every number of the arguments from the n-th on, in order; texts and empty values are
// skipped. Returns 0, or the error code of the first error value met (1 when an argument
// has nothing to iterate).
int GatherNumbers(cells::CTX* ctx, const CCFormulaList* args, int first, CCDoubleArray& out,
                  const CCRef* cell);

// One value of a range walk: a number or not.
struct Slot {
    double number = 0;
    bool isNumber = false;
};
// Every value of one argument, numbers or not, in order. Returns 0 or an error code as
// GatherNumbers does.
int GatherSlots(cells::CTX* ctx, CCFormula* node, std::vector<Slot>& out, const CCRef* cell);

}  // namespace math_detail
