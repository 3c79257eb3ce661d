// SPDX-License-Identifier: Apache-2.0
// Small text and number helpers shared across the engine: column letters, collation,
// search and replace, character sets, bracket balance, sorting doubles and a prime sieve.
#pragma once

#include <string>

// The letters of column 0-255 ("A" to "IV") into buffer, which must hold at least 3 units;
// the buffer is terminated. Returns the number of letters.
int PrintCol(char16_t* buffer, unsigned char column);
std::u16string PrintCol(unsigned char column);

// A null text orders before any other and two nulls are equal; otherwise the engine's
// collation. Negative, 0 or positive.
int StrColl(const char16_t* a, const char16_t* b, int caseSensitive);

// The first occurrence of pattern in text, or null. caseSensitive 0 compares the upper case
// of both characters; wholeWord counts an occurrence only when neither the character before
// it nor the one after it is a letter or digit. An empty (or null) pattern matches at the
// start; a null text matches nothing. Linear in the length of text and pattern.
const char16_t* StrStrW(const char16_t* text, const char16_t* pattern, int caseSensitive,
                        int wholeWord);
char16_t* StrStrW(char16_t* text, const char16_t* pattern, int caseSensitive, int wholeWord);

// One step of a replace-all: copies from source to destination up to the next occurrence
// of pattern (matched as by StrStrW), writes the replacement in its place and moves source
// past it. Both cursors advance and room (units that may still be written; destination
// holds room + 1 units, as the copy is always terminated) decreases. Returns 1 when a
// replacement was made; 0 when the source ended (the rest copied) or the room ran out (as
// much as fits copied). An empty or null pattern replaces nothing: the source is copied and
// 0 returned. The character before the source cursor is not seen: at the cursor an
// occurrence counts as starting a word.
int StrRep(char16_t*& destination, const char16_t*& source, int& room, const char16_t* pattern,
           const char16_t* replacement, int caseSensitive, int wholeWord);

// The index of the first character of text that occurs in set, or the text's length when
// none does; 0 for a null or empty text.
int StrFind(const char16_t* text, const char16_t* set);

// 1 when text holds as many "(" as ")" and as many "{" as "}" (in any order), else 0.
int MatchBrackets(const char16_t* text);

// Sorts count values ascending in place. NaNs, which have no order, end up after every
// number.
void SortDoubleArray(double* values, int count);

// A sieve over byteCount * 8 bits (bit i is bit i % 8, counted from the least significant,
// of byte i / 8): the bit of every prime stays set and the bit of every composite number is
// cleared; bits 0 and 1 stay set.
void GetSimpleNumbers(unsigned char* bits, int byteCount);
