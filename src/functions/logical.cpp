// SPDX-License-Identifier: Apache-2.0
// The logical functions. AND, OR and NOT are the routines of the operators of the same meaning;
// IF evaluates only the argument its condition selects.
#include "formula/operators.h"
#include "functions/arguments.h"
#include "functions/function_row.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"

using ostrel::functions::EvaluateArgument;
using ostrel::functions::NthArgument;
using ostrel::functions::SetKind;

namespace {

// The argument IF selects: the second for a true condition, the third for a false one, null
// when that one is missing. 0, 3 for a condition that is no number, 4 without arguments.
int SelectIf(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, CCFormula*& chosen,
             CCCellValue& condition) {
    chosen = nullptr;
    if (!args) return 4;
    EvaluateArgument(ctx, args, 0, condition, cell);
    if (!condition.IsNumber()) return 3;
    chosen = NthArgument(args, condition.GetNumber() != 0 ? 1 : 2);
    return 0;
}

// For ranges: a missing selection is the condition itself.
int ChooseIf(cells::CTX* ctx, CCFormula*& chosen, const CCFormulaList* args, const CCRef* cell) {
    CCCellValue condition;
    int code = SelectIf(ctx, args, cell, chosen, condition);
    if (code == 0 && !chosen) chosen = args->m_pFormula;
    return code;
}

// The condition is evaluated once: a missing selection gives its value as a logical value
// instead of evaluating it again.
void EvalIf(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    CCCellValue condition;
    CCFormula* chosen = nullptr;
    if (int code = SelectIf(ctx, args, cell, chosen, condition)) {
        result.Set(code);
        return;
    }
    if (!chosen) {
        SetKind(result, condition.GetNumber(), C_NF_BOOL);
        return;
    }
    chosen->Eval(ctx, result, cell);
    DereferenceValue(ctx, result);
}

const FunctionRow kRows[] = {
    {u"AND", 13223, kLogical, RULE(0, kMany, kAny, 0), EvalAnd,
     u"AND([logical1], [logical2], ...)\n"
     u"Returns true when every argument is true.\n"
     u"logical1: a condition, or a range of conditions\n"
     u"logical2: further conditions or ranges"},
    {u"IF", 13224, kLogical, RULE(1, kMany, kAllBut, 1), EvalIf,
     u"IF(condition, [then_value], [else_value])\n"
     u"Returns one value when a condition is true and another when it is false.\n"
     u"condition: the number to test; any value other than 0 is true\n"
     u"then_value: the result when the condition is true; the condition itself when omitted\n"
     u"else_value: the result when the condition is false; the condition itself when omitted",
     EntryClass::choice, 0, ChooseIf},
    {u"NOT", 13225, kLogical, RULE(1, 1, kNone, 0), EvalNot,
     u"NOT(logical)\n"
     u"Reverses a logical value: true for false and false for true.\n"
     u"logical: the condition to reverse"},
    {u"OR", 13226, kLogical, RULE(0, kMany, kAny, 0), EvalOr,
     u"OR([logical1], [logical2], ...)\n"
     u"Returns true when at least one argument is true.\n"
     u"logical1: a condition, or a range of conditions\n"
     u"logical2: further conditions or ranges"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::LogicalRows() {
    return kRows;
}
