// SPDX-License-Identifier: Apache-2.0
// The information functions: what kind a value is, counts of blank and error values, parity,
// NA and COUNTRY. The kind tests answer logical values and never fail: an error value is
// something to tell, not a failure.
#include <cmath>

#include "functions/arguments.h"
#include "functions/function_row.h"
#include "functions/reference_support.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/lctx.h"

using ostrel::functions::EvaluateArgument;
using ostrel::functions::NthArgument;
using ostrel::functions::RangeWalk;
using ostrel::functions::SetBool;
using ostrel::functions::SetNumber;

namespace {

// A test of the one argument's value (a reference replaced by its value).
template <bool (*Test)(const CCCellValue&)>
void EvalIs(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, 0, value, cell);
    SetBool(result, Test(value));
}

bool IsNumber(const CCCellValue& v) {
    return v.IsNumber();
}
bool IsText(const CCCellValue& v) {
    return v.IsText();
}
bool IsNonText(const CCCellValue& v) {
    return !v.IsText();
}
bool IsBlank(const CCCellValue& v) {
    return v.IsEmpty();
}
bool IsError(const CCCellValue& v) {
    return v.IsError();
}
bool IsNotAvailable(const CCCellValue& v) {
    return v.IsError() && v.GetError() == 9;
}
bool IsLogical(const CCCellValue& v) {
    return v.IsNumber() && v.GetFormat().GetType() == C_NF_BOOL;
}

// Read before any value: a reference node reads as the value of its cell.
void EvalIsRef(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    CCCellValue holder;
    SetBool(result,
            ostrel::functions::ReferenceOf(ctx, NthArgument(args, 0), holder, cell) != nullptr);
}

// The values of every argument for which Counted holds; error 1 for an argument with
// nothing to iterate.
template <bool (*Counted)(const CCCellValue&)>
void EvalCount(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double count = 0;
    for (const CCFormulaList* a = args; a; a = a->m_pNext) {
        RangeWalk walk(ctx, a->m_pFormula, cell);
        if (!walk.Opened()) {
            result.Set(1);
            return;
        }
        CCCellValue value;
        while (walk.Next(value))
            if (Counted(value)) ++count;
    }
    SetNumber(result, count);
}

// Parity of the integer part of the magnitude, so that -3.5 is odd.
template <bool Even>
void EvalParity(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, 0, value, cell);
    if (!value.IsNumber()) {
        result.Set(3);
        return;
    }
    const bool even = std::fmod(std::floor(std::fabs(value.GetNumber())), 2.0) == 0;
    SetBool(result, even == Even);
}

void EvalNa(cells::CTX*, CCCellValue& result, const CCFormulaList*, const CCRef*) {
    result.Set(9);
}

void EvalCountry(cells::CTX* ctx, CCCellValue& result, const CCFormulaList*, const CCRef*) {
    cells::LCTX* lctx = ctx ? ctx->GetLCTX() : nullptr;
    if (!lctx || !lctx->lctx) lctx = cells::invariant_LCTX();
    SetNumber(result, static_cast<double>(lctx->lctx->countryCode()));
}

const FunctionRow kRows[] = {
    {u"COUNTBLANK", 13227, kInformation, RULE(0, kMany, kAny, 0), EvalCount<IsBlank>,
     u"COUNTBLANK([range1], [range2], ...)\n"
     u"Counts the empty cells of ranges.\n"
     u"range1: a range\n"
     u"range2: further ranges"},
    {u"ISBLANK", 13228, kInformation, RULE(1, 1, kNone, 0), EvalIs<IsBlank>,
     u"ISBLANK(value)\n"
     u"Tells whether a value is empty.\n"
     u"value: the value to test"},
    {u"ISERR", 13229, kInformation, RULE(0, kMany, kAny, 0), EvalCount<IsError>,
     u"ISERR([range1], [range2], ...)\n"
     u"Counts the error values of ranges.\n"
     u"range1: a range\n"
     u"range2: further ranges"},
    {u"ISERROR", 13230, kInformation, RULE(1, 1, kNone, 0), EvalIs<IsError>,
     u"ISERROR(value)\n"
     u"Tells whether a value is an error value.\n"
     u"value: the value to test"},
    {u"ISEVEN", 13231, kInformation, RULE(1, 1, kNone, 0), EvalParity<true>,
     u"ISEVEN(number)\n"
     u"Tells whether the integer part of a number is even.\n"
     u"number: the number to test"},
    {u"ISNUMBER", 13232, kInformation, RULE(1, 1, kNone, 0), EvalIs<IsNumber>,
     u"ISNUMBER(value)\n"
     u"Tells whether a value is a number.\n"
     u"value: the value to test"},
    {u"ISODD", 13233, kInformation, RULE(1, 1, kNone, 0), EvalParity<false>,
     u"ISODD(number)\n"
     u"Tells whether the integer part of a number is odd.\n"
     u"number: the number to test"},
    {u"ISREF", 13234, kInformation, RULE(1, 1, kAny, 0), EvalIsRef,
     u"ISREF(value)\n"
     u"Tells whether a value is a reference.\n"
     u"value: the value to test"},
    {u"ISTEXT", 13235, kInformation, RULE(1, 1, kNone, 0), EvalIs<IsText>,
     u"ISTEXT(value)\n"
     u"Tells whether a value is a text.\n"
     u"value: the value to test"},
    {u"COUNTRY", 13296, kInformation, RULE(0, 0, kNone, 0), EvalCountry,
     u"COUNTRY()\n"
     u"Returns the country code of the current locale settings.",
     EntryClass::plain, kFlagToday},
    {u"NA", 13301, kInformation, RULE(0, 0, kNone, 0), EvalNa,
     u"NA()\n"
     u"Returns the error value that stands for a value that is not available."},
    {u"ISNA", 13302, kInformation, RULE(1, 1, kNone, 0), EvalIs<IsNotAvailable>,
     u"ISNA(value)\n"
     u"Tells whether a value is the error value for a value that is not available.\n"
     u"value: the value to test"},
    {u"ISLOGICAL", 13303, kInformation, RULE(1, 1, kNone, 0), EvalIs<IsLogical>,
     u"ISLOGICAL(value)\n"
     u"Tells whether a value is a logical value, true or false.\n"
     u"value: the value to test"},
    {u"ISNONTEXT", 13304, kInformation, RULE(1, 1, kNone, 0), EvalIs<IsNonText>,
     u"ISNONTEXT(value)\n"
     u"Tells whether a value is anything but a text.\n"
     u"value: the value to test"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::InformationRows() {
    return kRows;
}
