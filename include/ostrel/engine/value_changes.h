// SPDX-License-Identifier: Apache-2.0
/// \file
/// What structures derived from a document's cell values (lookup indexes) need to stay exact:
/// a record of the values stored since they were built. Every stored value counts once in a
/// sequence and in its column, and the last changes are kept by position, so that such a
/// structure catches up with a few changes instead of being rebuilt, and ignores changes
/// outside its range. Single-threaded, as the engine is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ostrel/export.h"

namespace ostrel::engine {

class OSTREL_API ValueChanges {
public:
    static constexpr unsigned kColumns = 256;
    /// Changes kept by position; a structure further behind compares column counts instead.
    static constexpr size_t kKept = 1024;

    ValueChanges() : m_kept(kKept) {}

    /// The value of the cell at (column, row) was stored.
    void Note(unsigned column, unsigned row);
    /// Values changed at positions nobody can name (cells moved, removed or of an unknown
    /// kind): every structure built before is out of date.
    void NoteAll() {
        ++m_epoch;
        ++m_sequence;
    }

    uint64_t Sequence() const { return m_sequence; }
    uint64_t Epoch() const { return m_epoch; }
    /// How many values were stored in a column.
    uint64_t ColumnCount(unsigned column) const {
        return column < kColumns ? m_columns[column] : 0;
    }
    /// The sum of the counts of columns first to last (inclusive).
    uint64_t ColumnsCount(unsigned first, unsigned last) const;

    /// Calls visit(column, row) for every change after sequence number since, oldest first;
    /// false (nothing visited) when they are not all kept any more.
    template <class Visit>
    bool ForEachSince(uint64_t since, Visit&& visit) const {
        if (since > m_sequence || m_sequence - since > kKept) return false;
        for (uint64_t s = since + 1; s <= m_sequence; ++s) {
            const Change& change = m_kept[s % kKept];
            if (change.sequence == s) visit(unsigned(change.column), unsigned(change.row));
        }
        return true;
    }

    /// Stores into cells that belong to no known document: every document's structures are
    /// out of date.
    static void NoteAnywhere();
    static uint64_t GlobalEpoch();

private:
    struct Change {
        uint64_t sequence = 0;  // 0: never written (NoteAll leaves its number unused)
        uint32_t row = 0;
        uint32_t column = 0;
    };
    uint64_t m_sequence = 0;
    uint64_t m_epoch = 0;
    std::array<uint64_t, kColumns> m_columns{};
    std::vector<Change> m_kept;
};

/// The base of the caches a document keeps of structures derived from its values; the
/// document owns one and drops it with its contents.
class OSTREL_API DerivedValues {
public:
    virtual ~DerivedValues() = default;
};

}  // namespace ostrel::engine
