// SPDX-License-Identifier: Apache-2.0
// Results of aggregations whose arguments are all ranges of the formula's own sheet, such as
// =MIN($A$1:$A$10000) or =STDEV($B$2:$B$900) in every row of a column: the document keeps
// each result with its ranges, and a formula asking for the same aggregation of the same
// ranges gets it while none of their cells has been stored into since. The document's record
// of stored values tells which changes fall inside the ranges; a result read through a cell
// that holds a reference (the value of a cell outside the ranges) is not kept.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "functions/value_stamp.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/ctx.h"

struct CCFormulaList;
class CCRef;

namespace ostrel::functions {

using AggregateRoutine = int (*)(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                                 const CCRef* cell);

// routine(ctx, result, args, cell), or its kept result: the routine's error code, or 0 with
// the result set.
int RememberedAggregate(AggregateRoutine routine, cells::CTX* ctx, CCCellValue& result,
                        const CCFormulaList* args, const CCRef* cell);

class AggregateMemo {
public:
    static constexpr size_t kEntries = 64;
    // Ranges of fewer cells in all are read again: that costs no more than finding them.
    static constexpr uint64_t kLeastCells = 64;

    struct Range {
        unsigned column, row, width, height;
        bool operator==(const Range&) const = default;
        bool Holds(unsigned c, unsigned r) const { return c - column < width && r - row < height; }
    };
    // Aggregations of more ranges than this are computed every time.
    static constexpr size_t kMostRanges = 4;
    struct Key {
        AggregateRoutine routine = nullptr;
        std::array<Range, kMostRanges> ranges{};  // unused ones stay zero
        size_t count = 0;
        bool operator==(const Key&) const = default;
        size_t Hash() const;
    };

    // The kept result of the key, when its ranges are as they were.
    bool Find(const Key& key, const engine::ValueChanges& changes, int& code, CCCellValue& result);
    // Whether a result of the key is worth keeping: a key is kept when it is asked for a
    // second time, so that ranges aggregated once (a window sliding down a column) cost
    // neither an entry nor the eviction of one.
    bool AskedBefore(const Key& key);
    // Keeps a result computed from the ranges as they stood at the stamp, when their columns
    // held that count of stored values.
    void Keep(const Key& key, const ValueStamp& stamp, uint64_t columns, int code,
              const CCCellValue& result);
    static uint64_t ColumnsCount(const Key& key, const engine::ValueChanges& changes);

private:
    struct Entry {
        Key key;
        int code = 0;
        CCCellValue result;
        ValueStamp stamp;
        uint64_t columns = 0;  // the ranges' columns' counts of stored values at the stamp
        uint64_t used = 0;
    };
    // Whether nothing was stored inside the entry's ranges since its stamp.
    static bool Unchanged(const Entry& entry, const engine::ValueChanges& changes);

    std::vector<Entry> m_entries;
    uint64_t m_clock = 0;
    std::array<size_t, kEntries> m_asked{};  // hashes of the keys last asked for
    size_t m_nextAsked = 0;
};

}  // namespace ostrel::functions
