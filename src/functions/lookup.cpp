// SPDX-License-Identifier: Apache-2.0
// The lookup functions: choosing among arguments, and finding values in ranges. INDEX counts
// into its ranges; LOOKUP, VLOOKUP and HLOOKUP, MATCH, FIND, FINDEX and LOOKUPEX search
// them through lookup_search.h, which answers from an index of the range when it can and
// by the walk otherwise.
//
// Choices made here: MATCH without a type is type 1; VLOOKUP and HLOOKUP take their n from
// 1 to 256 (error 3 outside) and a fourth argument 0 or FALSE (or none) for the exact lookup,
// 1 or TRUE for LOOKUP's sorted one, and refuse a fifth (error 4). FIND and FINDEX compare
// as MATCH type 0 does, across their ranges in turn; LOOKUPEX as VLOOKUP's exact lookup, its
// keys and results read in step as LOOKUP's; what they do not find is error 9.
#include <cmath>
#include <cstdint>

#include "functions/arguments.h"
#include "functions/choice.h"
#include "functions/function_row.h"
#include "functions/lookup_index.h"
#include "functions/lookup_range.h"
#include "functions/lookup_search.h"
#include "functions/lookup_table.h"

using ostrel::functions::ArgumentCount;
using ostrel::functions::EvaluateArgument;
using ostrel::functions::IntegerArgument;
using ostrel::functions::NthArgument;
using ostrel::functions::RangeWalk;
using ostrel::functions::Rounding;
using ostrel::functions::SetBool;
using ostrel::functions::SetNumber;
using ostrel::functions::ToInteger;
namespace lookup = ostrel::functions::lookup;

namespace {

// Positions beyond any range's (2^53: exact in a double and in 64 bits).
constexpr int64_t kLargestPosition = int64_t(1) << 53;

void EvalINDEX(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    CCCellValue counted;
    EvaluateArgument(ctx, args, 0, counted, cell);
    // Counting n down by one per value read reaches 0 or less at the ceil(n)-th value.
    int64_t n = 0;
    if (!counted.IsNumber() || !(counted.GetNumber() > 0) ||
        ToInteger(std::ceil(counted.GetNumber()), Rounding::trunc, 1, kLargestPosition, n)) {
        result.Set(3);
        return;
    }
    for (int i = 1; CCFormula* node = NthArgument(args, i); ++i) {
        RangeWalk walk(ctx, node, cell);
        if (!walk.Opened()) {
            result.Set(1);
            return;
        }
        // A sheet's rectangle is counted into without reading what lies before.
        lookup::SheetRange range;
        if (range.Resolve(ctx, node, cell)) {
            if (uint64_t(n) <= range.Size()) {
                range.ValueAt(ctx, uint32_t(n - 1), result);
                return;
            }
            n -= range.Size();
            continue;
        }
        CCCellValue value;
        while (walk.Next(value)) {
            if (--n == 0) {
                result.Set(value);
                return;
            }
        }
    }
    result.Set(3);
}

void EvalLOOKUP(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, 0, value, cell);
    lookup::SortedLookup(ctx, value, NthArgument(args, 1), NthArgument(args, 2), cell, result);
}

void TableLookup(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
                 bool vertical) {
    CCCellValue value;
    EvaluateArgument(ctx, args, 0, value, cell);
    lookup::TableRanges table;
    int64_t n = 0, sorted = 0;
    int error = table.Resolve(ctx, NthArgument(args, 1), cell);
    if (!error) error = IntegerArgument(ctx, args, 2, Rounding::trunc, 1, 256, n, cell);
    if (!error && ArgumentCount(args) > 4) error = 4;
    if (!error && ArgumentCount(args) == 4)
        error = IntegerArgument(ctx, args, 3, Rounding::trunc, 0, 1, sorted, cell);
    if (!error && uint64_t(n) > (vertical ? table.Width() : table.Height())) error = 3;
    if (error) {
        result.Set(error);
        return;
    }
    table.Make(ctx, vertical, unsigned(n));
    if (sorted)
        lookup::SortedLookup(ctx, value, table.Keys(), table.Results(), cell, result);
    else if (lookup::ExactLookup(ctx, value, table.Keys(), table.Results(), cell, result) ==
             lookup::Found::no)
        result.Set(3);
}

void EvalVLOOKUP(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    TableLookup(ctx, result, args, cell, true);
}

void EvalHLOOKUP(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    TableLookup(ctx, result, args, cell, false);
}

void EvalMATCH(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, 0, value, cell);
    int64_t type = 1;
    if (ArgumentCount(args) > 2) {
        CCCellValue typed;
        EvaluateArgument(ctx, args, 2, typed, cell);
        if (!typed.IsNumber() ||
            ToInteger(typed.GetNumber(), Rounding::trunc, INT32_MIN, INT32_MAX, type)) {
            result.Set(3);
            return;
        }
    }
    lookup::MatchSearch(ctx, value, NthArgument(args, 1), type, cell, result);
}

// The position counted from 1 across the ranges in turn of the first element equal to the
// first argument (0 when none); 0 or error 1 for a range that cannot be opened.
int FindAcross(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, uint64_t& found) {
    CCCellValue value;
    EvaluateArgument(ctx, args, 0, value, cell);
    found = 0;
    uint64_t offset = 0;
    for (int i = 1; CCFormula* node = NthArgument(args, i); ++i) {
        uint32_t position = lookup::kNone;
        uint64_t count = 0;
        if (int error = lookup::FindInRange(ctx, value, node, cell, position, count)) return error;
        if (position != lookup::kNone) {
            found = offset + position + 1;
            return 0;
        }
        offset += count;
    }
    return 0;
}

void EvalFIND(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    uint64_t found = 0;
    if (int error = FindAcross(ctx, args, cell, found))
        result.Set(error);
    else
        SetBool(result, found != 0);
}

void EvalFINDEX(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    uint64_t found = 0;
    if (int error = FindAcross(ctx, args, cell, found))
        result.Set(error);
    else if (found)
        SetNumber(result, double(found));
    else
        result.Set(9);
}

void EvalLOOKUPEX(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, 0, value, cell);
    if (lookup::ExactLookup(ctx, value, NthArgument(args, 1), NthArgument(args, 2), cell, result) ==
        lookup::Found::no)
        result.Set(9);
}

const FunctionRow kRows[] = {
    {u"CHOOSE", 13238, kLookupAndReference, RULE(2, kMany, kAllBut, 1),
     ostrel::functions::EvalChoose,
     u"CHOOSE(index, value1, [value2], ...)\n"
     u"Returns the value of a list that an index selects.\n"
     u"index: the position of the value to return, counted from 1\n"
     u"value1: the first value of the list\n"
     u"value2: further values",
     EntryClass::choice, 0, ostrel::functions::ChooseByIndex},
    {u"FIND", 13240, kLookupAndReference, RULE(2, kMany, kAllBut, 1), EvalFIND,
     u"FIND(value, range1, [range2], ...)\n"
     u"Tells whether a value is equal to an element of ranges.\n"
     u"value: the value to find\n"
     u"range1: a range to search\n"
     u"range2: further ranges"},
    {u"INDEX", 13241, kLookupAndReference, RULE(2, kMany, kAllBut, 1), EvalINDEX,
     u"INDEX(n, range1, [range2], ...)\n"
     u"Returns the n-th value of ranges, counted from 1 row by row through the ranges in turn.\n"
     u"n: the position of the value, counted from 1\n"
     u"range1: the first range\n"
     u"range2: further ranges, counted on from the end of the previous one"},
    {u"LOOKUP", 13242, kLookupAndReference, RULE(3, kMany, kAllBut, 1), EvalLOOKUP,
     u"LOOKUP(value, keys, results)\n"
     u"Looks a value up among ascending keys and returns the result at the position of the last "
     u"key not above it.\n"
     u"value: the value to look up\n"
     u"keys: the range of keys, in ascending order\n"
     u"results: the range of results, of the same size"},
    {u"FINDEX", 13285, kLookupAndReference, RULE(2, kMany, kAllBut, 1), EvalFINDEX,
     u"FINDEX(value, range1, [range2], ...)\n"
     u"Returns the position of the first element of ranges equal to a value, counted from 1 row by "
     u"row through the ranges in turn.\n"
     u"value: the value to find\n"
     u"range1: a range to search\n"
     u"range2: further ranges, counted on from the end of the previous one"},
    {u"LOOKUPEX", 13286, kLookupAndReference, RULE(3, 3, kAllBut, 1), EvalLOOKUPEX,
     u"LOOKUPEX(value, keys, results)\n"
     u"Looks a value up exactly among keys in any order and returns the result at the position of "
     u"the first equal key.\n"
     u"value: the value to look up\n"
     u"keys: the range of keys\n"
     u"results: the range of results, of the same size"},
    {u"VLOOKUP", 13293, kLookupAndReference, RULE(3, kMany, kAllBut, 1), EvalVLOOKUP,
     u"VLOOKUP(value, table, column, [sorted])\n"
     u"Finds a value in the first column of a table and returns the value in the same row of "
     u"another column.\n"
     u"value: the value to find\n"
     u"table: the range of the table\n"
     u"column: the column of the result within the table, counted from 1\n"
     u"sorted: 0, FALSE or omitted for the first key equal to the value, in any order; 1 or "
     u"TRUE for the last key not above it among ascending keys"},
    {u"HLOOKUP", 13294, kLookupAndReference, RULE(3, kMany, kAllBut, 1), EvalHLOOKUP,
     u"HLOOKUP(value, table, row, [sorted])\n"
     u"Finds a value in the first row of a table and returns the value in the same column of "
     u"another row.\n"
     u"value: the value to find\n"
     u"table: the range of the table\n"
     u"row: the row of the result within the table, counted from 1\n"
     u"sorted: 0, FALSE or omitted for the first key equal to the value, in any order; 1 or "
     u"TRUE for the last key not above it among ascending keys"},
    {u"MATCH", 13305, kLookupAndReference, RULE(2, 3, kAny, 0), EvalMATCH,
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
