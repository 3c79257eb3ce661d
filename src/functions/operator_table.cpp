// SPDX-License-Identifier: Apache-2.0
// The operator entries: one object each, named as the formula layer refers to them, and the
// table that sets each up with its text, precedence, kind, check rule and evaluation. The
// binary operators share the checks and routines of their function twins.
#include "functions/operator_table.h"
#include "formula/operators.h"
#include "functions/function_row.h"

CCFunc OrFunc, AndFunc, NotFunc, GTFunc, GEFunc, LTFunc, LEFunc, EQFunc, NEFunc, ADDFunc, SUBFunc,
    MULFunc, DIVFunc, PowerFunc, PercentFunc, UnPlusFunc, UnMinusFunc;
CCRefFunc RANGEFunc, SheetRangeFunc, FULLREFFunc;

namespace {

struct OperatorRow {
    CCFunc* entry;
    const char16_t* text;
    unsigned char precedence;
    unsigned char kind;
    CheckRoutine check;
    EvalRoutine eval;
};

const OperatorRow kOperators[] = {
    {&OrFunc, u"|", 10, FUNC_INFIX, RULE(0, kMany, kAny, 0), EvalOr},
    {&AndFunc, u"&", 20, FUNC_INFIX, RULE(0, kMany, kAny, 0), EvalAnd},
    {&NotFunc, u"~", 30, FUNC_PREFIX, RULE(1, 1, kNone, 0), EvalNot},
    {&GTFunc, u">", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalGT},
    {&GEFunc, u">=", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalGE},
    {&LTFunc, u"<", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalLT},
    {&LEFunc, u"<=", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalLE},
    {&EQFunc, u"=", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalEQ},
    {&NEFunc, u"<>", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalNE},
    {&ADDFunc, u"+", 50, FUNC_INFIX, RULE(1, kMany, kAny, 0), EvalAdd},
    {&SUBFunc, u"-", 50, FUNC_INFIX, RULE(1, kMany, kAny, 0), EvalSub},
    {&MULFunc, u"*", 60, FUNC_INFIX, RULE(0, kMany, kAny, 0), EvalMul},
    {&DIVFunc, u"/", 60, FUNC_INFIX, RULE(1, kMany, kAny, 0), EvalDiv},
    {&PowerFunc, u"^", 70, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalPower},
    {&PercentFunc, u"%", 80, FUNC_POSTFIX, RULE(1, 1, kNone, 0), EvalPercent},
    {&UnPlusFunc, u"+", 90, FUNC_PREFIX, RULE(1, 1, kNone, 0), EvalUnPlus},
    {&UnMinusFunc, u"-", 90, FUNC_PREFIX, RULE(1, 1, kNone, 0), EvalUnMinus},
    {&RANGEFunc, u"..", 100, FUNC_INFIX, RULE(2, 2, kAny, 0), EvalRange},
    {&SheetRangeFunc, u":", 100, FUNC_INFIX, RULE(1, 2, kAny, 0), EvalSheetRange},
    {&FULLREFFunc, u"!", 100, FUNC_INFIX, RULE(2, 2, kAny, 0), EvalFullRef},
};

}  // namespace

void SetUpOperators(std::vector<CCFunc*>& listed) {
    for (const OperatorRow& row : kOperators) {
        row.entry->Init(row.text, row.precedence, row.kind, 0, row.check, row.eval);
        listed.push_back(row.entry);
    }
}
