// The lookup functions: choosing among arguments, and finding values in ranges.
#include "functions/choice.h"
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"CHOOSE", 13238, kLookupAndReference, RULE(2, kMany, kAllBut, 1),
     ostrel::functions::EvalChoose,
     u"CHOOSE(index, value1, [value2], ...)\n"
     u"Returns the value of a list that an index selects.\n"
     u"index: the position of the value to return, counted from 1\n"
     u"value1: the first value of the list\n"
     u"value2: further values",
     EntryClass::choice, 0, ostrel::functions::ChooseByIndex},
    {u"FIND", 13240, kLookupAndReference, RULE(2, kMany, kAllBut, 1), nullptr,
     u"FIND(value, range1, [range2], ...)\n"
     u"Tells whether a value is equal to an element of ranges.\n"
     u"value: the value to find\n"
     u"range1: a range to search\n"
     u"range2: further ranges"},
    {u"INDEX", 13241, kLookupAndReference, RULE(2, kMany, kAllBut, 1), nullptr,
     u"INDEX(n, range1, [range2], ...)\n"
     u"Returns the n-th value of ranges, counted from 1 row by row through the ranges in turn.\n"
     u"n: the position of the value, counted from 1\n"
     u"range1: the first range\n"
     u"range2: further ranges, counted on from the end of the previous one"},
    {u"LOOKUP", 13242, kLookupAndReference, RULE(3, kMany, kAllBut, 1), nullptr,
     u"LOOKUP(value, keys, results)\n"
     u"Looks a value up among ascending keys and returns the result at the position of the last "
     u"key not above it.\n"
     u"value: the value to look up\n"
     u"keys: the range of keys, in ascending order\n"
     u"results: the range of results, of the same size"},
    {u"FINDEX", 13285, kLookupAndReference, RULE(2, kMany, kAllBut, 1), nullptr,
     u"FINDEX(value, range1, [range2], ...)\n"
     u"Returns the position of the first element of ranges equal to a value, counted from 1 row by "
     u"row through the ranges in turn.\n"
     u"value: the value to find\n"
     u"range1: a range to search\n"
     u"range2: further ranges, counted on from the end of the previous one"},
    {u"LOOKUPEX", 13286, kLookupAndReference, RULE(3, 3, kAllBut, 1), nullptr,
     u"LOOKUPEX(value, keys, results)\n"
     u"Looks a value up exactly among keys in any order and returns the result at the position of "
     u"the first equal key.\n"
     u"value: the value to look up\n"
     u"keys: the range of keys\n"
     u"results: the range of results, of the same size"},
    {u"VLOOKUP", 13293, kLookupAndReference, RULE(3, kMany, kAllBut, 1), nullptr,
     u"VLOOKUP(value, table, column)\n"
     u"Finds a value in the first column of a table and returns the value in the same row of "
     u"another column.\n"
     u"value: the value to find; keys need not be sorted\n"
     u"table: the range of the table\n"
     u"column: the column of the result within the table, counted from 1"},
    {u"HLOOKUP", 13294, kLookupAndReference, RULE(3, kMany, kAllBut, 1), nullptr,
     u"HLOOKUP(value, table, row)\n"
     u"Finds a value in the first row of a table and returns the value in the same column of "
     u"another row.\n"
     u"value: the value to find; keys need not be sorted\n"
     u"table: the range of the table\n"
     u"row: the row of the result within the table, counted from 1"},
    {u"MATCH", 13305, kLookupAndReference, RULE(2, 3, kAny, 0), nullptr,
     u"MATCH(value, range, [type])\n"
     u"Returns the position of a value within a range, counted from 1.\n"
     u"value: the value to find\n"
     u"range: the range to search\n"
     u"type: 1 or omitted for the last element not above the value in an ascending range, 0 for "
     u"the first equal element, -1 for the last element not below the value in a descending range"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::LookupRows() {
    return kRows;
}
