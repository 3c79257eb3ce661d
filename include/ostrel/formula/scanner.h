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
#include "ostrel/formula/lctx.h"

class CCCellValue;
class CCFormula;
class CCNumberFormat;
class CCRef;

/// ---- Classification of typed cell input ---------------------------------------------------

/// Fills value (emptied first) and formula (null first). Returns 1 when the value holds the
/// result (empty, a number with the format its typing implies, or a text), 2 when the text is
/// a formula (formula holds the tree, or null when it did not parse) and 3 as 2 for a text
/// that began with "!". The reference is not used. A null text is empty.
int Parse(cells::CTX* ctx, char16_t* text, CCCellValue& value, CCFormula*& formula,
          const CCRef* ref = nullptr);
int _Parse(cells::CTX* ctx, const char16_t* text, CCCellValue& value, CCFormula*& formula,
           const CCRef* ref = nullptr);

/// Whether the first non-white character is one of "=", "@", "!", "+", "-", "(".
int IsFormulaPrefix(cells::LCTX* lctx, char16_t* text);
int _IsFormulaPrefix(cells::LCTX* lctx, const char16_t* text);

/// Where Parse hands formula text to the formula parser (primary function names). Returns 1
/// when the text is a formula (formula holds its tree) and 0 when it did not parse (formula
/// null).
int ParseFormulaText(cells::CTX* ctx, const char16_t* text, CCFormula*& formula);

/// ---- Text routines ------------------------------------------------------------------------

/// The input, upper-cased character by character, equals the word as stored (so words
/// compared this way are stored in upper case). StrIIComp upper-cases both sides. On a match
/// the cursor moves past the word; no word boundary is required after it. An empty word
/// matches without moving.
int StrIComp(cells::LCTX* lctx, char16_t*& cursor, std::u16string_view word);
int _StrIComp(cells::LCTX* lctx, const char16_t*& cursor, std::u16string_view word);
int StrIIComp(cells::LCTX* lctx, char16_t*& cursor, std::u16string_view word);
int _StrIIComp(cells::LCTX* lctx, const char16_t*& cursor, std::u16string_view word);
/// Skips white space; true when it skipped any.
int EatWhite(char16_t*& cursor);
int _EatWhite(const char16_t*& cursor);
/// True when only white space remains.
int IsEmpty(const char16_t* cursor);
int _IsEmpty(const char16_t* cursor);

/// ---- Value scanners -----------------------------------------------------------------------
/// The value is written only on success. Numbers carry the format their typing implies:
/// type, decimals typed (at most 15), group separators typed, and for dates and times the
/// sub-format; every property set is also marked set.

/// Any typed number, date, time, currency amount or boolean (cell input). allowSign admits a
/// leading locale sign.
int EatNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int allowSign);
int _EatNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value, int allowSign);
/// Signed number, percent, fraction or scientific number.
int EatNPFSNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int allowSign);
int _EatNPFSNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value, int allowSign);
/// Unsigned number; with cellInput, group separators and fractions are recognised. A plain
/// number comes out as type general.
int EatNumberValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int cellInput);
int _EatNumberValue(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value, int cellInput);
/// Amount with the currency string: sign, symbol and number in any order, each once.
int EatCurrencyNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value, int allowSign);
int _EatCurrencyNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value,
                       int allowSign);
/// A date from 1900 to 2071, optionally followed by a time.
int EatDNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
int _EatDNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
/// The date part alone, unchecked: day, month, year and the format typed (type date,
/// delimiter, month style, year style, day before month).
int EatDNumber(cells::LCTX* lctx, char16_t*& cursor, int& day, int& month, int& year,
               CCNumberFormat& format);
int _EatDNumber(cells::LCTX* lctx, const char16_t*& cursor, int& day, int& month, int& year,
                CCNumberFormat& format);
/// A time of day as a number of type time.
int EatTNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
int _EatTNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
/// A time of day as a day fraction; amPm 0 AM, 2 PM, 1 no word typed (24-hour clock);
/// seconds 1 when typed.
int EatTime(cells::LCTX* lctx, char16_t*& cursor, double& fraction, int& amPm, int& seconds);
int _EatTime(cells::LCTX* lctx, const char16_t*& cursor, double& fraction, int& amPm, int& seconds);
/// The words for true and false (resources 13020, 13021), as 1.0 or 0.0 of type boolean.
int EatBOOLValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
int _EatBOOLValue(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
int EatBNumber(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
int _EatBNumber(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
/// A double-quoted text; the escape character (CCCellValue::m_chSpecial, "^") takes the next
/// character literally. The closing quote is required.
int EatTextValue(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
int _EatTextValue(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);
/// A constant inside a formula: an unsigned number (exponent allowed, no grouping, fraction,
/// sign or percent), a boolean or a quoted text.
int EatConstant(cells::LCTX* lctx, char16_t*& cursor, CCCellValue& value);
int _EatConstant(cells::LCTX* lctx, const char16_t*& cursor, CCCellValue& value);

/// ---- Pieces of numbers and dates ----------------------------------------------------------

/// A run of ASCII digits as a double (correctly rounded, however long); returns the count.
int EatDigits(cells::LCTX* lctx, char16_t*& cursor, double& value);
int _EatDigits(cells::LCTX* lctx, const char16_t*& cursor, double& value);
/// At most `expected` digits (1 to 9) as an integer; returns the count read.
int EatNDigits(cells::LCTX* lctx, char16_t*& cursor, int& value, int expected);
int _EatNDigits(cells::LCTX* lctx, const char16_t*& cursor, int& value, int expected);
/// A run of digits, then groups of exactly groupSize digits each after a separator; any other
/// group fails the whole (cursor unmoved). grouped: a separator was read.
int EatDigitsAndComma(cells::LCTX* lctx, char16_t*& cursor, double& value, int& grouped,
                      char16_t separator, int groupSize);
int _EatDigitsAndComma(cells::LCTX* lctx, const char16_t*& cursor, double& value, int& grouped,
                       char16_t separator, int groupSize);
/// The integer part of a number: with cellInput digits with the locale's group separators,
/// else plain digits.
int EatWhole(cells::LCTX* lctx, char16_t*& cursor, double& value, int cellInput, int& grouped);
int _EatWhole(cells::LCTX* lctx, const char16_t*& cursor, double& value, int cellInput,
              int& grouped);
/// The decimal separator and zero or more digits: the fraction and the count of digits.
int EatFract(cells::LCTX* lctx, char16_t*& cursor, double& fraction, int& digits);
int _EatFract(cells::LCTX* lctx, const char16_t*& cursor, double& fraction, int& digits);
/// White space, an optional numerator, then "/" and a non-zero denominator: their quotient.
int EatFraction(cells::LCTX* lctx, char16_t*& cursor, double& value);
int _EatFraction(cells::LCTX* lctx, const char16_t*& cursor, double& value);
/// "/" and a non-zero denominator: numerator / denominator.
int EatFractionLower(cells::LCTX* lctx, char16_t*& cursor, double numerator, double& value);
int _EatFractionLower(cells::LCTX* lctx, const char16_t*& cursor, double numerator, double& value);
/// "E" or "e", an optional sign and digits (white space allowed between): 10 to that power.
int EatExp(cells::LCTX* lctx, char16_t*& cursor, double& factor);
int _EatExp(cells::LCTX* lctx, const char16_t*& cursor, double& factor);
/// A date separator: with required 0, the locale's or one of "/", ".", "-", " ", "\";
/// otherwise that character, or for a space the list separator and white space.
int EatDateSeparator(cells::LCTX* lctx, char16_t*& cursor, char16_t& found, char16_t required);
int _EatDateSeparator(cells::LCTX* lctx, const char16_t*& cursor, char16_t& found,
                      char16_t required);
/// A month name: month 1-12 and style 0 long, 1 short.
int EatTextMonth(cells::LCTX* lctx, char16_t*& cursor, int& month, int& style);
int _EatTextMonth(cells::LCTX* lctx, const char16_t*& cursor, int& month, int& style);

/// ---- Reference scanners -------------------------------------------------------------------
/// Created references belong to the caller (null, with success, when memory ran out). The
/// flags byte: bit 0 first column absolute, bit 1 first row absolute, bit 2 last column
/// absolute, bit 3 last row absolute.

/// "$" (absolute), then one or two letters: "A" to "IV".
int EatC(cells::CTX* ctx, char16_t*& cursor, unsigned char& column, int& absolute);
int _EatC(cells::CTX* ctx, const char16_t*& cursor, unsigned char& column, int& absolute);
/// "$" (absolute), then the row typed from 1 to 65536, stored from 0.
int EatR(cells::CTX* ctx, char16_t*& cursor, uint16_t& row, int& absolute);
int _EatR(cells::CTX* ctx, const char16_t*& cursor, uint16_t& row, int& absolute);
int EatRC(cells::CTX* ctx, char16_t*& cursor, unsigned char& column, uint16_t& row,
          unsigned char& flags);
int _EatRC(cells::CTX* ctx, const char16_t*& cursor, unsigned char& column, uint16_t& row,
           unsigned char& flags);
/// A cell (CCRCRef) or a range (CCRegionRef, ":" or ".." between the corners) in A1 form.
/// A range is stored in ascending order and its flags follow the coordinates.
int EatSpreadRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags);
int _EatSpreadRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref, unsigned char& flags);
/// A name: a letter or "_", then letters, digits and "_" (CCNameRef, flags 0).
int EatNameRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags);
int _EatNameRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref, unsigned char& flags);
/// EatSpreadRef when the context's manager is a spreadsheet (GetType 1), else or when that
/// fails EatNameRef. The last reference is not used.
int EatRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags,
           const CCRef* unused = nullptr);
int _EatRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref, unsigned char& flags,
            const CCRef* unused = nullptr);
/// A sheet name (a name that is not itself a cell address, shorter than 80 characters)
/// followed, past white space, by "!" or ":". Returns a copy (free with delete[]) with the
/// cursor directly after the name, or null.
char16_t* EatName(cells::CTX* ctx, char16_t*& cursor);
char16_t* _EatName(cells::CTX* ctx, const char16_t*& cursor);
/// A sheet name and "!", as a CCNameRef of the sheet.
int EatSheetRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref);
int _EatSheetRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref);
