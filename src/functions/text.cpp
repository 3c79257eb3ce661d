// SPDX-License-Identifier: Apache-2.0
// The text functions: their rows, and the routines that work on the characters of one text.
// Every text argument is converted alike (an error value becomes the result, a number its
// display text, an empty value the empty text); counts and positions are floors of numbers.
// Characters are UTF-16 units, as everywhere in the engine.
#include <algorithm>
#include <cstdint>
#include <string>

#include "functions/function_row.h"
#include "functions/text_functions.h"
#include "ostrel/platform/utf.h"
#include "platform/text/unicode.h"

using ostrel::functions::SetBool;
using ostrel::functions::SetNumber;
using ostrel::functions::SetText;
using ostrel::functions::TextArgument;

namespace text_functions {

OSTREL_TEXT_ROUTINE(Len) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    SetNumber(result, double(text.size()));
    return 0;
}

namespace {

// The text of the first argument and the count of the second (1 when omitted).
int TextAndCount(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell,
                 std::u16string& text, size_t& count) {
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    int64_t n = 1;
    if (int error = OptionalCountArgument(ctx, args, 1, 0, 1, n, cell)) return error;
    count = size_t(std::min<uint64_t>(uint64_t(n), text.size()));
    return 0;
}

}  // namespace

OSTREL_TEXT_ROUTINE(Left) {
    std::u16string text;
    size_t count = 0;
    if (int error = TextAndCount(ctx, args, cell, text, count)) return error;
    SetText(result, std::u16string_view(text).substr(0, count));
    return 0;
}

OSTREL_TEXT_ROUTINE(Right) {
    std::u16string text;
    size_t count = 0;
    if (int error = TextAndCount(ctx, args, cell, text, count)) return error;
    SetText(result, std::u16string_view(text).substr(text.size() - count));
    return 0;
}

OSTREL_TEXT_ROUTINE(Mid) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    int64_t start = 0;
    if (int error = CountArgument(ctx, args, 1, 1, start, cell)) return error;
    int64_t count = kLargestCount;
    if (int error = OptionalCountArgument(ctx, args, 2, 0, kLargestCount, count, cell))
        return error;
    const uint64_t from = std::min<uint64_t>(uint64_t(start - 1), text.size());
    SetText(result, std::u16string_view(text).substr(size_t(from), size_t(count)));
    return 0;
}

OSTREL_TEXT_ROUTINE(Upper) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    SetText(result, ostrel::text::ToUpper(text));
    return 0;
}

OSTREL_TEXT_ROUTINE(Lower) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    SetText(result, ostrel::text::ToLower(text));
    return 0;
}

// A word starts after any character that is not a letter, so "o'neil" becomes "O'Neil".
OSTREL_TEXT_ROUTINE(Proper) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    bool inWord = false;
    for (char16_t& c : text) {
        const bool letter = ostrel::text::IsAlpha(c);
        if (letter) c = inWord ? ostrel::text::ToLower(c) : ostrel::text::ToUpper(c);
        inWord = letter;
    }
    SetText(result, text);
    return 0;
}

// Each inner run of white space keeps its first character, so a tab between words stays a
// tab.
OSTREL_TEXT_ROUTINE(Trim) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    std::u16string trimmed;
    trimmed.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (!ostrel::text::IsSpace(text[i])) {
            trimmed.push_back(text[i++]);
            continue;
        }
        const char16_t first = text[i];
        while (i < text.size() && ostrel::text::IsSpace(text[i]))
            ++i;
        if (!trimmed.empty() && i < text.size()) trimmed.push_back(first);
    }
    SetText(result, trimmed);
    return 0;
}

// The control characters 0-31, which the display cannot show.
OSTREL_TEXT_ROUTINE(Clean) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    std::erase_if(text, [](char16_t c) { return c < 32; });
    SetText(result, text);
    return 0;
}

OSTREL_TEXT_ROUTINE(Exact) {
    std::u16string first;
    std::u16string second;
    if (int error = TextArgument(ctx, args, 0, first, cell)) return error;
    if (int error = TextArgument(ctx, args, 1, second, cell)) return error;
    SetBool(result, first == second);
    return 0;
}

OSTREL_TEXT_ROUTINE(Code) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    unsigned char byte = 0;
    if (text.empty() || !ostrel::WideToCodePage(text[0], byte)) return 3;
    SetNumber(result, byte);
    return 0;
}

// Code 0 gives a text holding a zero unit, which the engine's texts show as empty.
OSTREL_TEXT_ROUTINE(Char) {
    int64_t code = 0;
    if (int error = ostrel::functions::IntegerArgument(
            ctx, args, 0, ostrel::functions::Rounding::floor, 0, 255, code, cell))
        return error;
    SetText(result, std::u16string(1, ostrel::CodePageToWide(static_cast<unsigned char>(code))));
    return 0;
}

OSTREL_TEXT_ROUTINE(AsText) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    SetText(result, text);
    return 0;
}

}  // namespace text_functions

namespace {

using text_functions::Evaluate;

const FunctionRow kRows[] = {
    {u"CHAR", 13153, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Char>,
     u"CHAR(number)\n"
     u"Returns the character with a given code in the system's 8-bit code page.\n"
     u"number: a code from 0 to 255"},
    {u"CLEAN", 13154, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Clean>,
     u"CLEAN(text)\n"
     u"Removes the characters that cannot be printed from a text.\n"
     u"text: the text to clean"},
    {u"CODE", 13155, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Code>,
     u"CODE(text)\n"
     u"Returns the code of the first character of a text in the system's 8-bit code page.\n"
     u"text: the text whose first character is converted"},
    {u"CONCATENATE", 13156, kTextCategory, RULE(0, kMany, kAny, 0),
     Evaluate<text_functions::Concatenate>,
     u"CONCATENATE([text1], [text2], ...)\n"
     u"Joins several texts into one.\n"
     u"text1: a text, a number (joined as its display text) or a range, whose values are joined "
     u"row by row\n"
     u"text2: further texts or ranges"},
    {u"DOLLAR", 13157, kTextCategory, RULE(1, 2, kNone, 0), Evaluate<text_functions::Dollar>,
     u"DOLLAR(number, [decimals])\n"
     u"Converts a number to text in the currency format.\n"
     u"number: the value to convert\n"
     u"decimals: the number of decimal places, at most 14; 2 when omitted; a negative number "
     u"rounds to tens, hundreds and so on"},
    {u"EXACT", 13158, kTextCategory, RULE(2, 2, kNone, 0), Evaluate<text_functions::Exact>,
     u"EXACT(text1, text2)\n"
     u"Tells whether two texts are exactly equal, case included.\n"
     u"text1: the first text\n"
     u"text2: the second text"},
    {u"FINDTEXT", 13159, kTextCategory, RULE(2, 3, kNone, 0), Evaluate<text_functions::FindText>,
     u"FINDTEXT(find_text, within_text, [start])\n"
     u"Returns the position at which a text first occurs within another, comparing "
     u"case-sensitively.\n"
     u"find_text: the text to find\n"
     u"within_text: the text to search\n"
     u"start: the position at which the search starts, counted from 1; 1 when omitted"},
    {u"FIXED", 13160, kTextCategory, RULE(1, 3, kNone, 0), Evaluate<text_functions::Fixed>,
     u"FIXED(number, [decimals], [no_separators])\n"
     u"Converts a number to text with a fixed number of decimal places.\n"
     u"number: the value to convert\n"
     u"decimals: the number of decimal places, at most 14; 2 when omitted; a negative number "
     u"rounds to tens, hundreds and so on\n"
     u"no_separators: true to leave out the thousands separators; false when omitted"},
    {u"LEFT", 13161, kTextCategory, RULE(1, 2, kNone, 0), Evaluate<text_functions::Left>,
     u"LEFT(text, [count])\n"
     u"Returns the first characters of a text.\n"
     u"text: the text\n"
     u"count: the number of characters; 1 when omitted"},
    {u"LEN", 13162, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Len>,
     u"LEN(text)\n"
     u"Returns the number of characters of a text; a number counts the characters of its display "
     u"text.\n"
     u"text: the text to measure"},
    {u"LOWER", 13163, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Lower>,
     u"LOWER(text)\n"
     u"Converts a text to lower case.\n"
     u"text: the text to convert"},
    {u"MID", 13164, kTextCategory, RULE(2, 3, kNone, 0), Evaluate<text_functions::Mid>,
     u"MID(text, start, [count])\n"
     u"Returns the characters of a text from a position on, or at most a number of them.\n"
     u"text: the text\n"
     u"start: the position of the first character, counted from 1\n"
     u"count: the number of characters; all up to the end when omitted"},
    {u"PROPER", 13165, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Proper>,
     u"PROPER(text)\n"
     u"Capitalises the first letter of every word of a text and converts the other letters to "
     u"lower case.\n"
     u"text: the text to convert"},
    {u"REPLACE", 13166, kTextCategory, RULE(4, 4, kNone, 0), Evaluate<text_functions::Replace>,
     u"REPLACE(old_text, start, count, new_text)\n"
     u"Replaces a number of characters of a text, from a position on, with another text.\n"
     u"old_text: the text in which characters are replaced\n"
     u"start: the position of the first character to replace, counted from 1\n"
     u"count: the number of characters to replace\n"
     u"new_text: the text put in their place"},
    {u"REPT", 13167, kTextCategory, RULE(2, 2, kNone, 0), Evaluate<text_functions::Rept>,
     u"REPT(text, count)\n"
     u"Repeats a text a number of times.\n"
     u"text: the text to repeat\n"
     u"count: the number of repetitions, 0 or more"},
    {u"RIGHT", 13168, kTextCategory, RULE(1, 2, kNone, 0), Evaluate<text_functions::Right>,
     u"RIGHT(text, [count])\n"
     u"Returns the last characters of a text.\n"
     u"text: the text\n"
     u"count: the number of characters; 1 when omitted"},
    {u"SEARCHTEXT", 13169, kTextCategory, RULE(2, 3, kNone, 0),
     Evaluate<text_functions::SearchText>,
     u"SEARCHTEXT(find_text, within_text, [start])\n"
     u"Returns the position at which a text first occurs within another, regardless of case.\n"
     u"find_text: the text to find; ? stands for any one character, * for any run of "
     u"characters, and ~ before one of them for that character itself\n"
     u"within_text: the text to search\n"
     u"start: the position at which the search starts, counted from 1; 1 when omitted"},
    {u"SUBSTITUTE", 13170, kTextCategory, RULE(3, 4, kNone, 0),
     Evaluate<text_functions::Substitute>,
     u"SUBSTITUTE(text, old_text, new_text, [occurrence])\n"
     u"Replaces occurrences of a text within another text.\n"
     u"text: the text in which occurrences are replaced\n"
     u"old_text: the text to replace\n"
     u"new_text: the text put in its place\n"
     u"occurrence: which occurrence to replace, counted from 1; every one when omitted"},
    {u"T", 13171, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::AsText>,
     u"T(value)\n"
     u"Returns a value as text; a number gives its display text.\n"
     u"value: the value to convert"},
    {u"TRIM", 13172, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Trim>,
     u"TRIM(text)\n"
     u"Removes the spaces at both ends of a text and shortens every inner run of spaces to one.\n"
     u"text: the text to trim"},
    {u"UPPER", 13173, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Upper>,
     u"UPPER(text)\n"
     u"Converts a text to upper case.\n"
     u"text: the text to convert"},
    {u"VALUE", 13174, kTextCategory, RULE(1, 1, kNone, 0), Evaluate<text_functions::Value>,
     u"VALUE(text)\n"
     u"Converts a text to a number, read as if it were typed into a cell.\n"
     u"text: a number, percentage, currency amount, date or time as it would be typed"},
    {u"CONCAT", 13287, kTextCategory, RULE(0, kMany, kAny, 0),
     Evaluate<text_functions::Concatenate>,
     u"CONCAT([text1], [text2], ...)\n"
     u"Joins several texts into one, as CONCATENATE does.\n"
     u"text1: a text, a number (joined as its display text) or a range, whose values are joined "
     u"row by row\n"
     u"text2: further texts or ranges"},
    {u"LIKE", 13295, kTextCategory, RULE(2, kMany, kFrom, 3), Evaluate<text_functions::Like>,
     u"LIKE(text, pattern, [patterns], ...)\n"
     u"Tells whether a whole text matches a pattern, regardless of case; ? stands for any one "
     u"character, * for any run of characters, and ~ before one of them for that character "
     u"itself.\n"
     u"text: the text to test\n"
     u"pattern: the pattern\n"
     u"patterns: further patterns or ranges of patterns; the text matches when it matches any "
     u"of them"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::TextRows() {
    return kRows;
}
