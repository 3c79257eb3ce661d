// SPDX-License-Identifier: Apache-2.0
// Running sums of a document's columns, so that the ranges of running totals (SUM(A$1:A1),
// SUM(A$1:A2), ...) cost one new cell each instead of a walk from the top. An entry is kept
// per column and first row; its k-th sum is SUM's fold over rows first..first+k, added in
// walk order from 0, so a sum read from it is bit for bit the walk's. The first error in
// walk order is kept beside it, since that is SUM's result wherever the range reaches it.
//
// The document's record of stored values keeps the entries exact: a change at row r of a
// column cuts its entries back to the rows above r; when the record no longer tells the
// changes apart, an entry whose column changed at all is emptied, and values changed at
// positions nobody can name empty them all. A key is first only remembered: its sums are
// built when it is asked for a second time, so that ranges read once (a window sliding
// down a column) cost no memory. A cell that holds a reference ends an entry's sums, as its
// value is another cell's, whose changes its column does not record. At most kEntries keys and
// kMaxRows sums are kept, the least recently read going first.
#pragma once

#include <cstdint>
#include <vector>

#include "ostrel/engine/ctx.h"
#include "ostrel/engine/value_changes.h"

class CCCellManager;
class CCFormula;
class CCRef;

namespace ostrel::functions {

// Ranges shorter than this are walked: a walk of a few cells costs no more than a lookup.
inline constexpr long kMinRunningSumRows = 32;

// SUM's fold of one argument from its document's running sums, when the argument is a range
// of one column of the formula's own sheet at least kMinRunningSumRows long: true with sum
// and error set as the walk sets them starting from sum 0 and no error; false when the
// argument is to be walked.
bool SumFromRunningSums(cells::CTX* ctx, CCFormula* node, const CCRef* cell, double& sum,
                        int& error);

class RunningSums {
public:
    static constexpr size_t kEntries = 64;
    static constexpr uint64_t kMaxRows = uint64_t(1) << 21;

    // The fold over rows first..first+height-1 of a column, read through ref (a region of
    // that column on manager's sheet whose position p is row first+p, which the caller has
    // made sure of): true with sum and error (0, or SUM's first error code) set; false when
    // the range is to be walked this time.
    bool Sum(CCCellManager& manager, const CCRef* ref, unsigned column, unsigned first,
             uint32_t height, double& sum, int& error);

    // Sums held (room reserved for them included) in all entries.
    uint64_t RowsHeld() const;

private:
    static constexpr uint32_t kNoError = UINT32_MAX;
    struct Entry {
        unsigned column = 0;
        unsigned first = 0;
        std::vector<double> sums;     // empty while the key was asked for once
        uint32_t errorAt = kNoError;  // offset of the first error within sums
        int errorCode = 0;
        uint64_t columnCount = 0;  // the column's count of changes when last current
        uint64_t used = 0;
    };

    // Follows the changes since the last call into every entry.
    void CatchUp(const engine::ValueChanges& changes);
    static void Truncate(Entry& entry, size_t rows);
    Entry& Add(unsigned column, unsigned first, const engine::ValueChanges& changes);
    // Empties entries, least recently read first, until rows more fit beside keep's.
    void MakeRoom(uint64_t rows, const Entry& keep);
    // Reads rows up to height into the entry; false when a cell on the way holds what the
    // record of changes cannot follow (a reference to another cell): the sums stop before it.
    static bool Extend(Entry& entry, CCCellManager& manager, const CCRef* ref, uint32_t height);

    std::vector<Entry> m_entries;
    uint64_t m_clock = 0;
    uint64_t m_sequence = 0;
    uint64_t m_epoch = 0;
    uint64_t m_globalEpoch = 0;
    bool m_stamped = false;
    // Reading a cell may run a host's code, which may evaluate another SUM: that one walks.
    bool m_reading = false;
};

}  // namespace ostrel::functions
