// SPDX-License-Identifier: Apache-2.0
/// \file
/// The scanners of typed text: each recognises one form (a number, date, time, boolean,
/// quoted text, cell or range reference, name) at a cursor in zero-terminated UTF-16 text,
/// moves the cursor past it and answers non-zero; on failure the cursor stays where it was.
/// Parse strings them together to classify what a user typed into a cell.
///
/// Every scanner comes twice with identical behaviour: over modifiable text (a
/// `char16_t*&` cursor) and, with a leading underscore, over read-only text (a
/// `const char16_t*&` cursor). A null cursor is empty text. Every separator, sign, month
/// name, AM/PM word and the currency string comes from the locale context; a null LCTX (or
/// one without a locale) means the invariant locale.
#pragma once

#include <cstdint>
#include <string_view>

#include "ostrel/engine/ctx.h"
#include "ostrel/export.h"
#include "ostrel/formula/lctx.h"

class CCCellValue;
class CCFormula;
class CCNumberFormat;
class CCRef;

/// ---- Classification of typed cell input ---------------------------------------------------

/// Fills value (emptied first) and formula (null first). Returns 1 when the value holds the
/// result (empty, a number with the format its typing implies, or a text), 2 when the text is
/// a formula (formula holds the tree, or null when it did not parse) and 3 as 2 for a text
/// that began with "!". The reference, when it is the cell the text is typed into, lets a
/// formula that differs from an earlier one only in its relative references be built from
/// that one's tree instead of parsed again (the tree is the same). A null text is empty.
OSTREL_API int Parse(cells::CTX* ctx, char16_t* text, CCCellValue& value, CCFormula*& formula,
                     const CCRef* ref = nullptr);
OSTREL_API int _Parse(cells::CTX* ctx, const char16_t* text, CCCellValue& value,
                      CCFormula*& formula, const CCRef* ref = nullptr);

/// Whether the first non-white character is one of "=", "@", "!", "+", "-", "(".
OSTREL_API int IsFormulaPrefix(cells::LCTX* lctx, char16_t* text);
OSTREL_API int _IsFormulaPrefix(cells::LCTX* lctx, const char16_t* text);

/// Where Parse hands formula text to the formula parser (primary function names). Returns 1
/// when the text is a formula (formula holds its tree) and 0 when it did not parse (formula
/// null).
OSTREL_API int ParseFormulaText(cells::CTX* ctx, const char16_t* text, CCFormula*& formula);

/// ---- Text routines ------------------------------------------------------------------------

/// The input, upper-cased character by character, equals the word as stored (so words
/// compared this way are stored in upper case). StrIIComp upper-cases both sides. On a match
/// the cursor moves past the word; no word boundary is required after it. An empty word
/// matches without moving.
OSTREL_API int StrIComp(cells::LCTX* lctx, char16_t*& cursor, std::u16string_view word);
OSTREL_API int _StrIComp(cells::LCTX* lctx, const char16_t*& cursor, std::u16string_view word);
OSTREL_API int StrIIComp(cells::LCTX* lctx, char16_t*& cursor, std::u16string_view word);
OSTREL_API int _StrIIComp(cells::LCTX* lctx, const char16_t*& cursor, std::u16string_view word);
/// Skips white space; true when it skipped any.
OSTREL_API int EatWhite(char16_t*& cursor);
OSTREL_API int _EatWhite(const char16_t*& cursor);
/// True when only white space remains.
OSTREL_API int IsEmpty(const char16_t* cursor);
OSTREL_API int _IsEmpty(const char16_t* cursor);

/// ---- Value scanners -----------------------------------------------------------------------
/// The value is written only on success. Numbers carry the format their typing implies:
/// type, decimals typed (at most 15), group separators typed, and for dates and times the
/// sub-format; every property set is also marked set.

/// Any typed number, date, time, currency amount or boolean (cell input). allowSign admits a
/// leading locale sign.
OSTREL_API int EatNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int allowSign);
OSTREL_API int _EatNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value,
                          int allowSign);
/// Signed number, percent, fraction or scientific number.
OSTREL_API int EatNPFSNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value,
                             int allowSign);
OSTREL_API int _EatNPFSNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value,
                              int allowSign);
/// Unsigned number; with cellInput, group separators and fractions are recognised. A plain
/// number comes out as type general.
OSTREL_API int EatNumberValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value,
                              int cellInput);
OSTREL_API int _EatNumberValue(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value,
                               int cellInput);
/// Amount with the currency string: sign, symbol and number in any order, each once.
OSTREL_API int EatCurrencyNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value,
                                 int allowSign);
OSTREL_API int _EatCurrencyNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value,
                                  int allowSign);
/// A date from 1900 to 2071, optionally followed by a time.
OSTREL_API int EatDNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
OSTREL_API int _EatDNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
/// The date part alone, unchecked: day, month, year and the format typed (type date,
/// delimiter, month style, year style, day before month).
OSTREL_API int EatDNumber(cells::LCTX* lctx, char16_t*& cursor, int& day, int& month, int& year,
                          CCNumberFormat& format);
OSTREL_API int _EatDNumber(cells::LCTX* lctx, const char16_t*& cursor, int& day, int& month,
                           int& year, CCNumberFormat& format);
/// A time of day as a number of type time.
OSTREL_API int EatTNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
OSTREL_API int _EatTNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
/// A time of day as a day fraction; amPm 0 AM, 2 PM, 1 no word typed (24-hour clock);
/// seconds 1 when typed.
OSTREL_API int EatTime(cells::LCTX* lctx, char16_t*& cursor, double& fraction, int& amPm,
                       int& seconds);
OSTREL_API int _EatTime(cells::LCTX* lctx, const char16_t*& cursor, double& fraction, int& amPm,
                        int& seconds);
/// The words for true and false (resources 13020, 13021), as 1.0 or 0.0 of type boolean.
OSTREL_API int EatBOOLValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
OSTREL_API int _EatBOOLValue(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
OSTREL_API int EatBNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
OSTREL_API int _EatBNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
/// A double-quoted text; the escape character (CCCellValue::m_chSpecial, "^") takes the next
/// character literally. The closing quote is required.
OSTREL_API int EatTextValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
OSTREL_API int _EatTextValue(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
/// A constant inside a formula: an unsigned number (exponent allowed, no grouping, fraction,
/// sign or percent), a boolean or a quoted text.
OSTREL_API int EatConstant(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
OSTREL_API int _EatConstant(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);

/// ---- Pieces of numbers and dates ----------------------------------------------------------

/// A run of ASCII digits as a double (correctly rounded, however long); returns the count.
OSTREL_API int EatDigits(cells::LCTX* lctx, char16_t*& cursor, double& value);
OSTREL_API int _EatDigits(cells::LCTX* lctx, const char16_t*& cursor, double& value);
/// At most `expected` digits (1 to 9) as an integer; returns the count read.
OSTREL_API int EatNDigits(cells::LCTX* lctx, char16_t*& cursor, int& value, int expected);
OSTREL_API int _EatNDigits(cells::LCTX* lctx, const char16_t*& cursor, int& value, int expected);
/// A run of digits, then groups of exactly groupSize digits each after a separator; any other
/// group fails the whole (cursor unmoved). grouped: a separator was read.
OSTREL_API int EatDigitsAndComma(cells::LCTX* lctx, char16_t*& cursor, double& value, int& grouped,
                                 char16_t separator, int groupSize);
OSTREL_API int _EatDigitsAndComma(cells::LCTX* lctx, const char16_t*& cursor, double& value,
                                  int& grouped, char16_t separator, int groupSize);
/// The integer part of a number: with cellInput digits with the locale's group separators,
/// else plain digits.
OSTREL_API int EatWhole(cells::LCTX* lctx, char16_t*& cursor, double& value, int cellInput,
                        int& grouped);
OSTREL_API int _EatWhole(cells::LCTX* lctx, const char16_t*& cursor, double& value, int cellInput,
                         int& grouped);
/// The decimal separator and zero or more digits: the fraction and the count of digits.
OSTREL_API int EatFract(cells::LCTX* lctx, char16_t*& cursor, double& fraction, int& digits);
OSTREL_API int _EatFract(cells::LCTX* lctx, const char16_t*& cursor, double& fraction, int& digits);
/// White space, an optional numerator, then "/" and a non-zero denominator: their quotient.
OSTREL_API int EatFraction(cells::LCTX* lctx, char16_t*& cursor, double& value);
OSTREL_API int _EatFraction(cells::LCTX* lctx, const char16_t*& cursor, double& value);
/// "/" and a non-zero denominator: numerator / denominator.
OSTREL_API int EatFractionLower(cells::LCTX* lctx, char16_t*& cursor, double numerator,
                                double& value);
OSTREL_API int _EatFractionLower(cells::LCTX* lctx, const char16_t*& cursor, double numerator,
                                 double& value);
/// "E" or "e", an optional sign and digits (white space allowed between): 10 to that power.
OSTREL_API int EatExp(cells::LCTX* lctx, char16_t*& cursor, double& factor);
OSTREL_API int _EatExp(cells::LCTX* lctx, const char16_t*& cursor, double& factor);
/// A date separator: with required 0, the locale's or one of "/", ".", "-", " ", "\";
/// otherwise that character, or for a space the list separator and white space.
OSTREL_API int EatDateSeparator(cells::LCTX* lctx, char16_t*& cursor, char16_t& found,
                                char16_t required);
OSTREL_API int _EatDateSeparator(cells::LCTX* lctx, const char16_t*& cursor, char16_t& found,
                                 char16_t required);
/// A month name: month 1-12 and style 0 long, 1 short.
OSTREL_API int EatTextMonth(cells::LCTX* lctx, char16_t*& cursor, int& month, int& style);
OSTREL_API int _EatTextMonth(cells::LCTX* lctx, const char16_t*& cursor, int& month, int& style);

/// ---- Reference scanners -------------------------------------------------------------------
/// Created references belong to the caller (null, with success, when memory ran out). The
/// flags byte: bit 0 first column absolute, bit 1 first row absolute, bit 2 last column
/// absolute, bit 3 last row absolute.

/// "$" (absolute), then one or two letters: "A" to "IV".
OSTREL_API int EatC(cells::CTX* ctx, char16_t*& cursor, unsigned char& column, int& absolute);
OSTREL_API int _EatC(cells::CTX* ctx, const char16_t*& cursor, unsigned char& column,
                     int& absolute);
/// "$" (absolute), then the row typed from 1 to 65536, stored from 0.
OSTREL_API int EatR(cells::CTX* ctx, char16_t*& cursor, uint16_t& row, int& absolute);
OSTREL_API int _EatR(cells::CTX* ctx, const char16_t*& cursor, uint16_t& row, int& absolute);
OSTREL_API int EatRC(cells::CTX* ctx, char16_t*& cursor, unsigned char& column, uint16_t& row,
                     unsigned char& flags);
OSTREL_API int _EatRC(cells::CTX* ctx, const char16_t*& cursor, unsigned char& column,
                      uint16_t& row, unsigned char& flags);
/// A cell (CCRCRef) or a range (CCRegionRef, ":" or ".." between the corners) in A1 form.
/// A range is stored in ascending order and its flags follow the coordinates.
OSTREL_API int EatSpreadRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags);
OSTREL_API int _EatSpreadRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref,
                             unsigned char& flags);
/// A name: a letter or "_", then letters, digits and "_" (CCNameRef, flags 0).
OSTREL_API int EatNameRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags);
OSTREL_API int _EatNameRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref,
                           unsigned char& flags);
/// EatSpreadRef when the context's manager is a spreadsheet (GetType 1), else or when that
/// fails EatNameRef. The last reference is not used.
OSTREL_API int EatRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags,
                      const CCRef* unused = nullptr);
OSTREL_API int _EatRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref, unsigned char& flags,
                       const CCRef* unused = nullptr);
/// A sheet name (a name that is not itself a cell address, shorter than 80 characters)
/// followed, past white space, by "!" or ":". Returns a copy (free with delete[]) with the
/// cursor directly after the name, or null.
OSTREL_API char16_t* EatName(cells::CTX* ctx, char16_t*& cursor);
OSTREL_API char16_t* _EatName(cells::CTX* ctx, const char16_t*& cursor);
/// A sheet name and "!", as a CCNameRef of the sheet.
OSTREL_API int EatSheetRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref);
OSTREL_API int _EatSheetRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref);
