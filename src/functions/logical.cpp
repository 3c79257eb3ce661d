// The logical functions. AND, OR and NOT are the routines of the operators of the same meaning;
// IF chooses which argument to evaluate.
#include "formula/operators.h"
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"AND", 13223, kLogical, RULE(0, kMany, kAny, 0), EvalAnd,
     u"AND([logical1], [logical2], ...)\n"
     u"Returns true when every argument is true.\n"
     u"logical1: a condition, or a range of conditions\n"
     u"logical2: further conditions or ranges"},
    {u"IF", 13224, kLogical, RULE(1, kMany, kAllBut, 1), nullptr,
     u"IF(condition, [then_value], [else_value])\n"
     u"Returns one value when a condition is true and another when it is false.\n"
     u"condition: the number to test; any value other than 0 is true\n"
     u"then_value: the result when the condition is true; the condition itself when omitted\n"
     u"else_value: the result when the condition is false; the condition itself when omitted",
     EntryClass::choice},
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
