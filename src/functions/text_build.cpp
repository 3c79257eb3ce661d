// SPDX-License-Identifier: Apache-2.0
// The text functions that build a longer text from pieces: joining, repeating, replacing.
// Each one knows the length of its result before it allocates it, and a result beyond the
// longest text a formula may build is error 3 without the allocation.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "functions/text_functions.h"

using ostrel::functions::FitsBuiltText;
using ostrel::functions::RangeWalk;
using ostrel::functions::SetText;
using ostrel::functions::TextArgument;
using ostrel::functions::ValueToText;

namespace text_functions {

// CONCATENATE and CONCAT. A range argument joins its values in its own order. The first
// error value met is the result; an argument with nothing to iterate is error 1.
OSTREL_TEXT_ROUTINE(Concatenate) {
    std::u16string joined;
    std::u16string piece;
    CCCellValue value;
    for (const CCFormulaList* a = args; a; a = a->m_pNext) {
        RangeWalk walk(ctx, a->m_pFormula, cell);
        if (!walk.Opened()) return 1;
        while (walk.Next(value)) {
            if (int error = ValueToText(ctx, value, piece)) return error;
            if (!FitsBuiltText(uint64_t(joined.size()) + piece.size())) return 3;
            joined += piece;
        }
    }
    SetText(result, joined);
    return 0;
}

OSTREL_TEXT_ROUTINE(Rept) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    int64_t times = 0;
    if (int error = CountArgument(ctx, args, 1, 0, times, cell)) return error;
    if (text.empty()) times = 0;  // nothing to repeat, however often
    // Divided rather than multiplied: a count near 2^53 times a long text overflows 64 bits.
    if (times > 0 && uint64_t(times) > kMaxBuiltTextLength / text.size()) return 3;
    std::u16string repeated;
    repeated.reserve(text.size() * size_t(times));
    for (int64_t i = 0; i < times; ++i)
        repeated += text;
    SetText(result, repeated);
    return 0;
}

// A start beyond the end appends the new text; a count beyond the end replaces the rest.
OSTREL_TEXT_ROUTINE(Replace) {
    std::u16string old;
    if (int error = TextArgument(ctx, args, 0, old, cell)) return error;
    int64_t start = 0;
    if (int error = CountArgument(ctx, args, 1, 1, start, cell)) return error;
    int64_t count = 0;
    if (int error = CountArgument(ctx, args, 2, 0, count, cell)) return error;
    std::u16string inserted;
    if (int error = TextArgument(ctx, args, 3, inserted, cell)) return error;

    const size_t from = size_t(std::min<uint64_t>(uint64_t(start - 1), old.size()));
    const size_t to = from + size_t(std::min<uint64_t>(uint64_t(count), old.size() - from));
    const uint64_t length = uint64_t(from) + inserted.size() + (old.size() - to);
    if (!FitsBuiltText(length)) return 3;
    std::u16string replaced;
    replaced.reserve(size_t(length));
    replaced.append(old, 0, from).append(inserted).append(old, to);
    SetText(result, replaced);
    return 0;
}

// Every occurrence, or only the instance-th when a fourth argument is given (counted from 1;
// fewer occurrences leave the text as it is). Occurrences are found left to right and do not
// overlap: "aa" occurs twice in "aaaa". An empty old text changes nothing.
OSTREL_TEXT_ROUTINE(Substitute) {
    std::u16string text;
    std::u16string old;
    std::u16string replacement;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    if (int error = TextArgument(ctx, args, 1, old, cell)) return error;
    if (int error = TextArgument(ctx, args, 2, replacement, cell)) return error;
    int64_t instance = 0;  // every occurrence
    if (int error = OptionalCountArgument(ctx, args, 3, 1, 0, instance, cell)) return error;
    if (old.empty()) {
        SetText(result, text);
        return 0;
    }

    // First pass: where the occurrences to replace lie, hence the length of the result.
    uint64_t replaced = 0;
    size_t only = std::u16string::npos;  // the single occurrence replaced, with an instance
    int64_t seen = 0;
    for (size_t at = text.find(old); at != std::u16string::npos;
         at = text.find(old, at + old.size())) {
        ++seen;
        if (instance == 0) {
            ++replaced;
        } else if (seen == instance) {
            only = at;
            replaced = 1;
            break;
        }
    }
    const uint64_t length = text.size() - replaced * old.size() + replaced * replacement.size();
    if (!FitsBuiltText(length)) return 3;

    std::u16string built;
    built.reserve(size_t(length));
    if (instance != 0) {
        if (only == std::u16string::npos) {
            built = text;
        } else {
            built.append(text, 0, only).append(replacement).append(text, only + old.size());
        }
    } else {
        size_t done = 0;
        for (size_t at = text.find(old); at != std::u16string::npos;
             at = text.find(old, at + old.size())) {
            built.append(text, done, at - done).append(replacement);
            done = at + old.size();
        }
        built.append(text, done);
    }
    SetText(result, built);
    return 0;
}

}  // namespace text_functions
