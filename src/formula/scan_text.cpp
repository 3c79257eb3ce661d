// SPDX-License-Identifier: Apache-2.0
// Word comparison and white space for the scanners.
#include "formula/scan_internal.h"
#include "ostrel/formula/scanner.h"

using namespace ostrel::scan;
using ostrel::text::ToUpper;

namespace {

// The input ends at its terminator, which never equals a character of a word: a word longer
// than the rest of the input fails there instead of reading past it.
template <bool kUpperWord>
int CompareWord(const char16_t*& cursor, std::u16string_view word) {
    if (!cursor) return word.empty();
    const char16_t* p = cursor;
    for (char16_t w : word) {
        if (*p == 0) return 0;
        char16_t want = kUpperWord ? ToUpper(w) : w;
        if (ToUpper(*p) != want) return 0;
        ++p;
    }
    cursor = p;
    return 1;
}

}  // namespace

int _StrIComp(cells::LCTX*, const char16_t*& cursor, std::u16string_view word) {
    return CompareWord<false>(cursor, word);
}

int StrIComp(cells::LCTX* lctx, char16_t*& cursor, std::u16string_view word) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _StrIComp(lctx, c, word); });
}

int _StrIIComp(cells::LCTX*, const char16_t*& cursor, std::u16string_view word) {
    return CompareWord<true>(cursor, word);
}

int StrIIComp(cells::LCTX* lctx, char16_t*& cursor, std::u16string_view word) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _StrIIComp(lctx, c, word); });
}

int _EatWhite(const char16_t*& cursor) {
    if (!cursor) return 0;
    const char16_t* start = cursor;
    SkipWhite(cursor);
    return cursor != start;
}

int EatWhite(char16_t*& cursor) {
    return OnModifiable(cursor, [](const char16_t*& c) { return _EatWhite(c); });
}

int _IsEmpty(const char16_t* cursor) {
    return !cursor || OnlyWhite(cursor);
}

int IsEmpty(const char16_t* cursor) {
    return _IsEmpty(cursor);
}
