// SPDX-License-Identifier: Apache-2.0
#include "functions/lookup_search.h"

#include <algorithm>

#include "functions/arguments.h"
#include "functions/lookup_cache.h"

namespace ostrel::functions::lookup {

namespace {

bool SameKind(const CCCellValue& a, const CCCellValue& b) {
    return a.GetType() == b.GetType();
}

// The index of the range an argument names, when there is one for this value.
KeyIndex* IndexFor(cells::CTX* ctx, const CCCellValue& value, const SheetRange& range) {
    if (!value.IsNumber() && !value.IsText()) return nullptr;
    KeyIndex* index = FindIndex(ctx, range);
    return index && index->Serves(value) ? index : nullptr;
}

void WalkSorted(const CCCellValue& value, RangeWalk& keys, RangeWalk& results,
                CCCellValue& result) {
    result.Set(9);
    CCCellValue key, element;
    int last = 0;
    bool keysRanOut = false;
    for (;;) {
        if (!keys.Next(key)) {
            keysRanOut = true;
            break;
        }
        if (!results.Next(element)) break;
        if (!SameKind(key, value)) continue;
        const int c = CompareEQTypeValues(key, value, 1);
        if (c > 0) break;
        result = element;
        last = c;
    }
    if (keysRanOut && last < 0) result.Set(9);
}

// The walk's result at once: the first key beyond the value ends it, and the result beside
// the last key of the value's kind before it stands; with none beyond, a range runs out.
void IndexedSorted(cells::CTX* ctx, const CCCellValue& value, KeyIndex& index, uint32_t keyCount,
                   const SheetRange& results, CCCellValue& result) {
    const uint32_t resultCount = results.Size();
    const uint32_t limit = std::min(keyCount, resultCount);
    const Key after = index.FirstAfter(value, Case::sensitive);
    if (after.Found() && after.position < limit) {
        const Key before = index.LastBefore(value, after.position);
        if (before.Found())
            results.ValueAt(ctx, before.position, result);
        else
            result.Set(9);
        return;
    }
    const Key last = index.LastBefore(value, limit);
    // The keys run out first when there are no more of them than results.
    if (!last.Found() ||
        (keyCount <= resultCount && index.Compare(last, value, Case::sensitive) < 0)) {
        result.Set(9);
        return;
    }
    results.ValueAt(ctx, last.position, result);
}

void WalkMatch(const CCCellValue& value, RangeWalk& walk, int64_t type, CCCellValue& result) {
    CCCellValue element;
    uint64_t position = 0, recorded = 0;
    while (walk.Next(element)) {
        ++position;
        if (!SameKind(element, value)) continue;
        const int c = CompareEQTypeValues(value, element, 0);
        if ((c < 0 && type > 0) || (c > 0 && type < 0)) {
            if (position == 1)
                result.Set(9);
            else
                SetNumber(result, double(position - 1));
            return;
        }
        if (c == 0) {
            recorded = position;
            if (type <= 0) break;
        }
    }
    if (position == 0)
        result.Set(1);
    else if (recorded)
        SetNumber(result, double(recorded));
    else
        result.Set(9);
}

void IndexedMatch(KeyIndex& index, const CCCellValue& value, int64_t type, CCCellValue& result) {
    uint32_t answer = kNone;  // counted from 1
    if (type == 0) {
        const uint32_t equal = index.FirstEqual(value, Case::blind);
        if (equal != kNone) answer = equal + 1;
    } else if (type > 0) {
        const Key after = index.FirstAfter(value, Case::blind);
        if (after.Found()) {
            if (after.position > 0) answer = after.position;
        } else {
            const uint32_t equal = index.LastEqual(value, Case::blind);
            if (equal != kNone) answer = equal + 1;
        }
    } else {
        const Key first = index.FirstNotAfter(value, Case::blind);
        if (first.Found()) {
            if (index.Compare(first, value, Case::blind) == 0)
                answer = first.position + 1;
            else if (first.position > 0)
                answer = first.position;
        }
    }
    if (answer == kNone)
        result.Set(9);
    else
        SetNumber(result, double(answer));
}

}  // namespace

void SortedLookup(cells::CTX* ctx, const CCCellValue& value, CCFormula* keys, CCFormula* results,
                  const CCRef* cell, CCCellValue& result) {
    RangeWalk keyWalk(ctx, keys, cell);
    RangeWalk resultWalk(ctx, results, cell);
    if (!keyWalk.Opened() || !resultWalk.Opened()) {
        result.Set(1);
        return;
    }
    SheetRange keyRange, resultRange;
    if (keyRange.Resolve(ctx, keys, cell) && resultRange.Resolve(ctx, results, cell)) {
        if (KeyIndex* index = IndexFor(ctx, value, keyRange)) {
            IndexedSorted(ctx, value, *index, keyRange.Size(), resultRange, result);
            return;
        }
    }
    WalkSorted(value, keyWalk, resultWalk, result);
}

Found ExactLookup(cells::CTX* ctx, const CCCellValue& value, CCFormula* keys, CCFormula* results,
                  const CCRef* cell, CCCellValue& result) {
    RangeWalk keyWalk(ctx, keys, cell);
    RangeWalk resultWalk(ctx, results, cell);
    if (!keyWalk.Opened() || !resultWalk.Opened()) {
        result.Set(1);
        return Found::failed;
    }
    SheetRange keyRange, resultRange;
    if (keyRange.Resolve(ctx, keys, cell) && resultRange.Resolve(ctx, results, cell)) {
        if (KeyIndex* index = IndexFor(ctx, value, keyRange)) {
            const uint32_t position = index->FirstEqual(value, Case::sensitive);
            if (position == kNone || position >= std::min(keyRange.Size(), resultRange.Size()))
                return Found::no;
            resultRange.ValueAt(ctx, position, result);
            return Found::yes;
        }
    }
    CCCellValue key, element;
    while (keyWalk.Next(key) && resultWalk.Next(element)) {
        if (SameKind(key, value) && CompareEQTypeValues(key, value, 1) == 0) {
            result = element;
            return Found::yes;
        }
    }
    return Found::no;
}

void MatchSearch(cells::CTX* ctx, const CCCellValue& value, CCFormula* range, int64_t type,
                 const CCRef* cell, CCCellValue& result) {
    RangeWalk walk(ctx, range, cell);
    if (!walk.Opened()) {
        result.Set(1);
        return;
    }
    SheetRange sheetRange;
    if (sheetRange.Resolve(ctx, range, cell)) {
        if (KeyIndex* index = IndexFor(ctx, value, sheetRange)) {
            IndexedMatch(*index, value, type, result);
            return;
        }
    }
    WalkMatch(value, walk, type, result);
}

int FindInRange(cells::CTX* ctx, const CCCellValue& value, CCFormula* range, const CCRef* cell,
                uint32_t& position, uint64_t& count) {
    RangeWalk walk(ctx, range, cell);
    if (!walk.Opened()) return 1;
    position = kNone;
    SheetRange sheetRange;
    if (sheetRange.Resolve(ctx, range, cell)) {
        if (KeyIndex* index = IndexFor(ctx, value, sheetRange)) {
            position = index->FirstEqual(value, Case::blind);
            count = sheetRange.Size();
            return 0;
        }
    }
    CCCellValue element;
    for (count = 0; walk.Next(element); ++count) {
        if (SameKind(element, value) && CompareEQTypeValues(value, element, 0) == 0) {
            position = uint32_t(count);
            return 0;
        }
    }
    return 0;
}

}  // namespace ostrel::functions::lookup
