// SPDX-License-Identifier: Apache-2.0
// The reference functions: the shape of ranges, and references built from values. ROWS,
// COLUMNS and OFFSET depend on where their reference argument lies, not on what it holds:
// they read it without the formula's cell, so that no range node below them registers the
// cell with its cells. INDIRECT and OFFSET read what no dependency names, and are
// recalculated after every change.
#include <cstdint>
#include <memory>
#include <string>

#include "functions/arguments.h"
#include "functions/function_row.h"
#include "functions/reference_support.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/parser.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/document_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/region_ref.h"
#include "platform/names.h"

using ostrel::functions::ArgumentCount;
using ostrel::functions::EvaluateArgument;
using ostrel::functions::GridArea;
using ostrel::functions::IntegerArgument;
using ostrel::functions::NthArgument;
using ostrel::functions::NumberOrError;
using ostrel::functions::RangeWalk;
using ostrel::functions::ReferenceOf;
using ostrel::functions::Rounding;
using ostrel::functions::SetNumber;
using ostrel::functions::SetText;

namespace {

constexpr int64_t kLastColumn = 255;
constexpr int64_t kLastRow = 65535;

template <bool Rows>
void EvalShape(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef*) {
    RangeWalk walk(ctx, NthArgument(args, 0), nullptr);
    int width = 0;
    int height = 0;
    if (!walk.Opened() || !walk.Size(width, height)) {
        result.Set(3);
        return;
    }
    SetNumber(result, Rows ? height : width);
}

void EvalAreas(cells::CTX*, CCCellValue& result, const CCFormulaList* args, const CCRef*) {
    double count = 0;
    for (const CCFormulaList* a = args; a; a = a->m_pNext) {
        const int type = a->m_pFormula ? a->m_pFormula->GetType() : 0;
        if (type == FORMULA_REF || type == FORMULA_REFOP) ++count;
    }
    SetNumber(result, count);
}

// A logical argument that only true may take (the engine reads and writes references in A1
// style alone): 0 when it is missing or true, else error 3 or the argument's error code.
int RequireA1(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell) {
    if (!NthArgument(args, n)) return 0;
    double a1 = 0;
    if (int code = NumberOrError(ctx, args, n, a1, cell)) return code;
    return a1 != 0 ? 0 : 3;
}

// ADDRESS(row, column, [absolute], [a1]): absolute 1 marks both parts, 2 the row, 3 the
// column, 4 neither.
void EvalAddress(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    int64_t row = 0;
    int64_t column = 0;
    int64_t absolute = 1;
    int code = IntegerArgument(ctx, args, 0, Rounding::trunc, 1, kLastRow + 1, row, cell);
    if (!code)
        code = IntegerArgument(ctx, args, 1, Rounding::trunc, 1, kLastColumn + 1, column, cell);
    if (!code && NthArgument(args, 2))
        code = IntegerArgument(ctx, args, 2, Rounding::trunc, 1, 4, absolute, cell);
    if (!code) code = RequireA1(ctx, args, 3, cell);
    if (code) {
        result.Set(code);
        return;
    }
    CWideOutStream text;
    PrintCellA1(text, static_cast<unsigned char>(column - 1), static_cast<uint16_t>(row - 1),
                absolute == 1 || absolute == 3, absolute == 1 || absolute == 2);
    SetText(result, text.str());
}

// ROW and COLUMN: the position of the reference's first cell, counted from 1, or of the
// formula's own cell without an argument.
template <bool Row>
void EvalPosition(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    const int count = ArgumentCount(args);
    if (count > 1) {
        result.Set(3);
        return;
    }
    CCCellValue holder;
    const CCRef* ref = count == 0 ? cell : ReferenceOf(ctx, args->m_pFormula, holder, cell);
    CCRegionRef area;
    const CCRef3D* sheet = nullptr;
    if (!ref || !GridArea(ref, area, sheet)) {
        result.Set(count == 0 ? 1 : 3);
        return;
    }
    SetNumber(result, Row ? area.GetFirstRow() + 1.0 : area.GetFirstColumn() + 1.0);
}

// The formula's own position is a document item; a reference's position is not.
template <CCDocumentRef::ECDocRefType Item>
int PositionItem(cells::CTX*, CCDocumentRef& out, const CCFormulaList* args, const CCRef*) {
    out.Set(args ? CCDocumentRef::DOC_NONE : Item);
    return args ? 4 : 0;
}

// The reference a text names, as the formula parser reads it; null for any other text and
// for references that name no cells of this workbook (never another document: a formula
// opens nothing by a name it computes).
std::unique_ptr<CCRef> ReferenceNamed(cells::CTX* ctx, const char16_t* text) {
    std::unique_ptr<CCFormula> tree(_ParseFormula(ctx, text, 0));
    if (!tree || tree->Check(ctx, nullptr) != 0) return nullptr;
    const int type = tree->GetType();
    if (type != FORMULA_REF && type != FORMULA_REFOP) return nullptr;
    // Without the cell: the parsed tree is gone before any registration could be removed.
    CCCellValue holder;
    const CCRef* ref = ReferenceOf(ctx, tree.get(), holder, nullptr);
    CCRegionRef area;
    const CCRef3D* sheet = nullptr;
    if (!ref || !GridArea(ref, area, sheet)) return nullptr;
    return std::unique_ptr<CCRef>(ref->Copy());
}

void EvalIndirect(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    CCCellValue text;
    EvaluateArgument(ctx, args, 0, text, cell);
    int code = text.IsError() ? text.GetError() : 0;
    if (!code) code = RequireA1(ctx, args, 1, cell);
    if (code) {
        result.Set(code);
        return;
    }
    std::unique_ptr<CCRef> ref =
        text.IsText() && text.GetText() ? ReferenceNamed(ctx, text.GetText()) : nullptr;
    if (!ref) {
        result.Set(1);
        return;
    }
    result.Set(ref.get());
}

// OFFSET(reference, rows, columns, [height], [width]).
void EvalOffset(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    const int count = ArgumentCount(args);
    CCCellValue holder;
    const CCRef* base = ReferenceOf(ctx, NthArgument(args, 0), holder, nullptr);
    CCRegionRef area;
    const CCRef3D* sheet = nullptr;
    if (count < 3 || count > 5 || !base || !GridArea(base, area, sheet)) {
        result.Set(3);
        return;
    }
    // Far enough for any move off the grid to be told apart from a value that is no count.
    constexpr int64_t kFar = INT32_MAX;
    int64_t rows = 0;
    int64_t columns = 0;
    int64_t height = area.GetHeight();
    int64_t width = area.GetWidth();
    int code = IntegerArgument(ctx, args, 1, Rounding::trunc, -kFar, kFar, rows, cell);
    if (!code) code = IntegerArgument(ctx, args, 2, Rounding::trunc, -kFar, kFar, columns, cell);
    if (!code && count > 3)
        code = IntegerArgument(ctx, args, 3, Rounding::trunc, 1, kFar, height, cell);
    if (!code && count > 4)
        code = IntegerArgument(ctx, args, 4, Rounding::trunc, 1, kFar, width, cell);
    if (code) {
        result.Set(code);
        return;
    }
    const int64_t top = area.GetFirstRow() + rows;
    const int64_t left = area.GetFirstColumn() + columns;
    const int64_t bottom = top + height - 1;
    const int64_t right = left + width - 1;
    if (top < 0 || left < 0 || bottom > kLastRow || right > kLastColumn) {
        result.Set(1);
        return;
    }
    const auto c0 = static_cast<unsigned char>(left);
    const auto r0 = static_cast<uint16_t>(top);
    std::unique_ptr<CCRef> moved;
    if (height == 1 && width == 1)
        moved = std::make_unique<CCRCRef>(c0, r0);
    else
        moved = std::make_unique<CCRegionRef>(c0, r0, static_cast<unsigned char>(right),
                                              static_cast<uint16_t>(bottom));
    if (!sheet) {
        result.Set(moved.get());
        return;
    }
    CCRef3D qualified(*sheet);
    qualified.SetInnerRef(moved.release());
    result.Set(&qualified);
}

const FunctionRow kRows[] = {
    {u"ADDRESS", 13236, kLookupAndReference, RULE(2, 4, kNone, 0), EvalAddress,
     u"ADDRESS(row, column, [absolute], [a1])\n"
     u"Returns the text of a cell reference built from a row and a column number.\n"
     u"row: the row number, counted from 1\n"
     u"column: the column number, counted from 1\n"
     u"absolute: 1 or omitted for an absolute reference, 2 for an absolute row only, 3 for an "
     u"absolute column only, 4 for a relative reference\n"
     u"a1: true or omitted; the reference is written in A1 style"},
    {u"AREAS", 13237, kLookupAndReference, RULE(0, kMany, kAny, 0), EvalAreas,
     u"AREAS([reference1], [reference2], ...)\n"
     u"Returns the number of arguments that are references.\n"
     u"reference1: a reference\n"
     u"reference2: further references"},
    {u"COLUMNS", 13239, kLookupAndReference, RULE(1, 1, kAny, 0), EvalShape<false>,
     u"COLUMNS(range)\n"
     u"Returns the number of columns of a range.\n"
     u"range: the range whose columns are counted",
     EntryClass::plain, kFlagShapeOnly},
    {u"ROWS", 13243, kLookupAndReference, RULE(1, 1, kAny, 0), EvalShape<true>,
     u"ROWS(range)\n"
     u"Returns the number of rows of a range.\n"
     u"range: the range whose rows are counted",
     EntryClass::plain, kFlagShapeOnly},
    {u"COLUMN", 13274, kLookupAndReference, RULE(0, kMany, kAny, 0), EvalPosition<false>,
     u"COLUMN([reference])\n"
     u"Returns the column number of a reference, or of the formula's own cell.\n"
     u"reference: the cell whose column number is returned; the formula's cell when omitted",
     EntryClass::document, 0, nullptr, nullptr, PositionItem<CCDocumentRef::DOC_COLUMN>},
    {u"ROW", 13275, kLookupAndReference, RULE(0, kMany, kAny, 0), EvalPosition<true>,
     u"ROW([reference])\n"
     u"Returns the row number of a reference, or of the formula's own cell.\n"
     u"reference: the cell whose row number is returned; the formula's cell when omitted",
     EntryClass::document, 0, nullptr, nullptr, PositionItem<CCDocumentRef::DOC_ROW>},
    {u"INDIRECT", 13291, kLookupAndReference, RULE(1, 2, kNone, 0), EvalIndirect,
     u"INDIRECT(ref_text, [a1])\n"
     u"Returns the reference that a text names.\n"
     u"ref_text: the text of a cell or range reference\n"
     u"a1: true or omitted; references are read in A1 style",
     EntryClass::reference, kFlagAlwaysRecalc},
    {u"OFFSET", 13292, kLookupAndReference, RULE(3, kMany, kAny, 0), EvalOffset,
     u"OFFSET(reference, rows, columns, [height], [width])\n"
     u"Returns a reference moved by a number of rows and columns from another, with a new size if "
     u"given.\n"
     u"reference: the reference to start from\n"
     u"rows: the number of rows to move down; negative values move up\n"
     u"columns: the number of columns to move right; negative values move left\n"
     u"height: the number of rows of the result; that of the reference when omitted\n"
     u"width: the number of columns of the result; that of the reference when omitted",
     EntryClass::reference, kFlagUnregistered | kFlagAlwaysRecalc},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::ReferenceRows() {
    return kRows;
}
