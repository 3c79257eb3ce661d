// The information functions: what kind a value is, counts of blank and error values, parity,
// NA and COUNTRY.
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"COUNTBLANK", 13227, kInformation, RULE(0, kMany, kAny, 0), nullptr,
     u"COUNTBLANK([range1], [range2], ...)\n"
     u"Counts the empty cells of ranges.\n"
     u"range1: a range\n"
     u"range2: further ranges"},
    {u"ISBLANK", 13228, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISBLANK(value)\n"
     u"Tells whether a value is empty.\n"
     u"value: the value to test"},
    {u"ISERR", 13229, kInformation, RULE(0, kMany, kAny, 0), nullptr,
     u"ISERR([range1], [range2], ...)\n"
     u"Counts the error values of ranges.\n"
     u"range1: a range\n"
     u"range2: further ranges"},
    {u"ISERROR", 13230, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISERROR(value)\n"
     u"Tells whether a value is an error value.\n"
     u"value: the value to test"},
    {u"ISEVEN", 13231, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISEVEN(number)\n"
     u"Tells whether the integer part of a number is even.\n"
     u"number: the number to test"},
    {u"ISNUMBER", 13232, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISNUMBER(value)\n"
     u"Tells whether a value is a number.\n"
     u"value: the value to test"},
    {u"ISODD", 13233, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISODD(number)\n"
     u"Tells whether the integer part of a number is odd.\n"
     u"number: the number to test"},
    {u"ISREF", 13234, kInformation, RULE(1, 1, kAny, 0), nullptr,
     u"ISREF(value)\n"
     u"Tells whether a value is a reference.\n"
     u"value: the value to test"},
    {u"ISTEXT", 13235, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISTEXT(value)\n"
     u"Tells whether a value is a text.\n"
     u"value: the value to test"},
    {u"COUNTRY", 13296, kInformation, RULE(0, 0, kNone, 0), nullptr,
     u"COUNTRY()\n"
     u"Returns the country code of the current locale settings.",
     EntryClass::plain, kFlagToday},
    {u"NA", 13301, kInformation, RULE(0, 0, kNone, 0), nullptr,
     u"NA()\n"
     u"Returns the error value that stands for a value that is not available."},
    {u"ISNA", 13302, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISNA(value)\n"
     u"Tells whether a value is the error value for a value that is not available.\n"
     u"value: the value to test"},
    {u"ISLOGICAL", 13303, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISLOGICAL(value)\n"
     u"Tells whether a value is a logical value, true or false.\n"
     u"value: the value to test"},
    {u"ISNONTEXT", 13304, kInformation, RULE(1, 1, kNone, 0), nullptr,
     u"ISNONTEXT(value)\n"
     u"Tells whether a value is anything but a text.\n"
     u"value: the value to test"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::InformationRows() {
    return kRows;
}
