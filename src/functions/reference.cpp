// The reference functions: the shape of ranges, and references built from values.
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"ADDRESS", 13236, kLookupAndReference, RULE(2, 4, kNone, 0), nullptr,
     u"ADDRESS(row, column, [absolute], [sheet])\n"
     u"Returns the text of a cell reference built from a row and a column number.\n"
     u"row: the row number, counted from 1\n"
     u"column: the column number, counted from 1\n"
     u"absolute: 1 or omitted for an absolute reference, 2 for an absolute row only, 3 for an "
     u"absolute column only, 4 for a relative reference\n"
     u"sheet: the name of a sheet to put before the reference"},
    {u"AREAS", 13237, kLookupAndReference, RULE(0, kMany, kAny, 0), nullptr,
     u"AREAS([reference1], [reference2], ...)\n"
     u"Returns the number of arguments that are references.\n"
     u"reference1: a reference\n"
     u"reference2: further references"},
    {u"COLUMNS", 13239, kLookupAndReference, RULE(1, 1, kAny, 0), nullptr,
     u"COLUMNS(range)\n"
     u"Returns the number of columns of a range.\n"
     u"range: the range whose columns are counted",
     EntryClass::plain, kFlagShapeOnly},
    {u"ROWS", 13243, kLookupAndReference, RULE(1, 1, kAny, 0), nullptr,
     u"ROWS(range)\n"
     u"Returns the number of rows of a range.\n"
     u"range: the range whose rows are counted",
     EntryClass::plain, kFlagShapeOnly},
    {u"COLUMN", 13274, kLookupAndReference, RULE(0, kMany, kAny, 0), nullptr,
     u"COLUMN([reference])\n"
     u"Returns the column number of a reference, or of the formula's own cell.\n"
     u"reference: the cell whose column number is returned; the formula's cell when omitted",
     EntryClass::document},
    {u"ROW", 13275, kLookupAndReference, RULE(0, kMany, kAny, 0), nullptr,
     u"ROW([reference])\n"
     u"Returns the row number of a reference, or of the formula's own cell.\n"
     u"reference: the cell whose row number is returned; the formula's cell when omitted",
     EntryClass::document},
    {u"INDIRECT", 13291, kLookupAndReference, RULE(1, 2, kNone, 0), nullptr,
     u"INDIRECT(ref_text, [a1])\n"
     u"Returns the reference that a text names.\n"
     u"ref_text: the text of a cell or range reference\n"
     u"a1: true or omitted; references are read in A1 style",
     EntryClass::reference},
    {u"OFFSET", 13292, kLookupAndReference, RULE(3, kMany, kAny, 0), nullptr,
     u"OFFSET(reference, rows, columns, [height], [width])\n"
     u"Returns a reference moved by a number of rows and columns from another, with a new size if "
     u"given.\n"
     u"reference: the reference to start from\n"
     u"rows: the number of rows to move down; negative values move up\n"
     u"columns: the number of columns to move right; negative values move left\n"
     u"height: the number of rows of the result; that of the reference when omitted\n"
     u"width: the number of columns of the result; that of the reference when omitted",
     EntryClass::reference, kFlagUnregistered},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::ReferenceRows() {
    return kRows;
}
