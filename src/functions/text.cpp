// The text functions.
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"CHAR", 13153, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"CHAR(number)\n"
     u"Returns the character with a given code in the system's 8-bit code page.\n"
     u"number: a code from 0 to 255"},
    {u"CLEAN", 13154, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"CLEAN(text)\n"
     u"Removes the characters that cannot be printed from a text.\n"
     u"text: the text to clean"},
    {u"CODE", 13155, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"CODE(text)\n"
     u"Returns the code of the first character of a text in the system's 8-bit code page.\n"
     u"text: the text whose first character is converted"},
    {u"CONCATENATE", 13156, kTextCategory, RULE(0, kMany, kAny, 0), nullptr,
     u"CONCATENATE([text1], [text2], ...)\n"
     u"Joins several texts into one.\n"
     u"text1: a text, or a number that is joined as its display text\n"
     u"text2: further texts"},
    {u"DOLLAR", 13157, kTextCategory, RULE(1, 2, kNone, 0), nullptr,
     u"DOLLAR(number, [decimals])\n"
     u"Converts a number to text in the currency format.\n"
     u"number: the value to convert\n"
     u"decimals: the number of decimal places; 2 when omitted"},
    {u"EXACT", 13158, kTextCategory, RULE(2, 2, kNone, 0), nullptr,
     u"EXACT(text1, text2)\n"
     u"Tells whether two texts are exactly equal, case included.\n"
     u"text1: the first text\n"
     u"text2: the second text"},
    {u"FINDTEXT", 13159, kTextCategory, RULE(2, 3, kNone, 0), nullptr,
     u"FINDTEXT(find_text, within_text, [start])\n"
     u"Returns the position at which a text first occurs within another, comparing "
     u"case-sensitively.\n"
     u"find_text: the text to find\n"
     u"within_text: the text to search\n"
     u"start: the position at which the search starts, counted from 1; 1 when omitted"},
    {u"FIXED", 13160, kTextCategory, RULE(1, 3, kNone, 0), nullptr,
     u"FIXED(number, [decimals], [no_separators])\n"
     u"Converts a number to text with a fixed number of decimal places.\n"
     u"number: the value to convert\n"
     u"decimals: the number of decimal places; 2 when omitted\n"
     u"no_separators: true to leave out the thousands separators; false when omitted"},
    {u"LEFT", 13161, kTextCategory, RULE(1, 2, kNone, 0), nullptr,
     u"LEFT(text, [count])\n"
     u"Returns the first characters of a text.\n"
     u"text: the text\n"
     u"count: the number of characters; 1 when omitted"},
    {u"LEN", 13162, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"LEN(text)\n"
     u"Returns the number of characters of a text; a number counts the characters of its display "
     u"text.\n"
     u"text: the text to measure"},
    {u"LOWER", 13163, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"LOWER(text)\n"
     u"Converts a text to lower case.\n"
     u"text: the text to convert"},
    {u"MID", 13164, kTextCategory, RULE(2, 3, kNone, 0), nullptr,
     u"MID(text, start, [count])\n"
     u"Returns the characters of a text from a position on, or at most a number of them.\n"
     u"text: the text\n"
     u"start: the position of the first character, counted from 1\n"
     u"count: the number of characters; all up to the end when omitted"},
    {u"PROPER", 13165, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"PROPER(text)\n"
     u"Capitalises the first letter of every word of a text and converts the other letters to "
     u"lower case.\n"
     u"text: the text to convert"},
    {u"REPLACE", 13166, kTextCategory, RULE(4, 4, kNone, 0), nullptr,
     u"REPLACE(old_text, start, count, new_text)\n"
     u"Replaces a number of characters of a text, from a position on, with another text.\n"
     u"old_text: the text in which characters are replaced\n"
     u"start: the position of the first character to replace, counted from 1\n"
     u"count: the number of characters to replace\n"
     u"new_text: the text put in their place"},
    {u"REPT", 13167, kTextCategory, RULE(2, 2, kNone, 0), nullptr,
     u"REPT(text, count)\n"
     u"Repeats a text a number of times.\n"
     u"text: the text to repeat\n"
     u"count: the number of repetitions, 0 or more"},
    {u"RIGHT", 13168, kTextCategory, RULE(1, 2, kNone, 0), nullptr,
     u"RIGHT(text, [count])\n"
     u"Returns the last characters of a text.\n"
     u"text: the text\n"
     u"count: the number of characters; 1 when omitted"},
    {u"SEARCHTEXT", 13169, kTextCategory, RULE(2, 3, kNone, 0), nullptr,
     u"SEARCHTEXT(find_text, within_text, [start])\n"
     u"Returns the position at which a text first occurs within another, regardless of case.\n"
     u"find_text: the text to find\n"
     u"within_text: the text to search\n"
     u"start: the position at which the search starts, counted from 1; 1 when omitted"},
    {u"SUBSTITUTE", 13170, kTextCategory, RULE(3, 4, kNone, 0), nullptr,
     u"SUBSTITUTE(text, old_text, new_text, [occurrence])\n"
     u"Replaces occurrences of a text within another text.\n"
     u"text: the text in which occurrences are replaced\n"
     u"old_text: the text to replace\n"
     u"new_text: the text put in its place\n"
     u"occurrence: which occurrence to replace, counted from 1; every one when omitted"},
    {u"T", 13171, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"T(value)\n"
     u"Returns a value as text; a number gives its display text.\n"
     u"value: the value to convert"},
    {u"TRIM", 13172, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"TRIM(text)\n"
     u"Removes the spaces at both ends of a text and shortens every inner run of spaces to one.\n"
     u"text: the text to trim"},
    {u"UPPER", 13173, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"UPPER(text)\n"
     u"Converts a text to upper case.\n"
     u"text: the text to convert"},
    {u"VALUE", 13174, kTextCategory, RULE(1, 1, kNone, 0), nullptr,
     u"VALUE(text)\n"
     u"Converts a text to a number, read as if it were typed into a cell.\n"
     u"text: the text to convert"},
    {u"CONCAT", 13287, kTextCategory, RULE(0, kMany, kAny, 0), nullptr,
     u"CONCAT([text1], [text2], ...)\n"
     u"Joins several texts into one, as CONCATENATE does.\n"
     u"text1: a text, or a number that is joined as its display text\n"
     u"text2: further texts"},
    {u"LIKE", 13295, kTextCategory, RULE(2, kMany, kFrom, 3), nullptr,
     u"LIKE(text, pattern)\n"
     u"Tells whether a text matches a pattern in which ? stands for any one character and * for "
     u"any run of characters.\n"
     u"text: the text to test\n"
     u"pattern: the pattern"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::TextRows() {
    return kRows;
}
