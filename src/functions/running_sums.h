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
// positions nobody can name empty them all. A cell that holds a reference ends an entry's
// sums: its value is another cell's, whose changes its column does not record.
//
// While every number an entry has added is a whole number and their magnitudes add up to
// at most 2^52, each of its sums is exact, and so is any sum of the same numbers in any
// order: one changed cell then moves the sums below it by the change, which is kept as a
// shift from that row on instead of the rows being read again. Typing a column from the
// bottom, beside formulas that sum all of it, stays linear that way.
//
// A key is first only remembered: its entry is made when it is asked for a second time, so
// that ranges read once (a window sliding down a column) cost neither memory nor time. At
// most kEntries entries and kMaxRows sums are kept, the least recently read going first.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "functions/value_stamp.h"
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
    // the range is to be walked this time. opens() is asked, once the sums are to answer,
    // whether the range opens as its walk would.
    template <class Opens>
    bool Sum(CCCellManager& manager, const CCRef* ref, unsigned column, unsigned first,
             uint32_t height, Opens&& opens, double& sum, int& error) {
        // Opening and reading cells may run a host's code, which may evaluate another SUM:
        // that one walks, so that no entry changes under this one.
        if (m_busy) return false;
        Busy busy(m_busy);
        Entry* entry = Find(manager, column, first);
        return entry && opens() && Answer(*entry, manager, ref, height, sum, error);
    }

    // Sums held (room reserved for them included) in all entries.
    uint64_t RowsHeld() const;

private:
    static constexpr uint32_t kNoError = UINT32_MAX;
    static constexpr uint32_t kNone = UINT32_MAX;
    // Whole numbers whose magnitudes add up to no more than this add exactly in any order,
    // and so do the stored sums and a shift (each at most twice this).
    static constexpr double kExactBound = 4503599627370496.0;  // 2^52
    struct Entry {
        unsigned column = 0;
        unsigned first = 0;
        // The k-th sum is sums[k], plus shift from offset shiftFrom on.
        std::vector<double> sums;
        uint32_t errorAt = kNoError;  // offset of the first error within sums
        int errorCode = 0;
        uint64_t columnCount = 0;  // the column's count of changes when last current
        uint64_t used = 0;
        // Where a number made the sums inexact (kNone: they are exact); cut above it, they
        // are exact again.
        uint32_t inexactAt = kNone;
        // An upper bound of the magnitudes' total of the numbers added above inexactAt.
        double magnitudes = 0;
        uint32_t shiftFrom = kNone;
        double shift = 0;
        uint32_t changedAt = kNone;  // one changed offset, to be read before the next answer

        bool Exact() const { return inexactAt == kNone; }
        double SumAt(size_t k) const {
            const double sum = sums[k] + (k >= shiftFrom ? shift : 0);
            return sum == 0 ? 0 : sum;  // a walk from 0 never ends on -0
        }
    };

    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    };

    // The key's entry, brought up to date; null when the range is to be walked.
    Entry* Find(CCCellManager& manager, unsigned column, unsigned first);
    bool Answer(Entry& entry, CCCellManager& manager, const CCRef* ref, uint32_t height,
                double& sum, int& error);
    // Follows the changes since the last call into every entry.
    void CatchUp(const engine::ValueChanges& changes);
    static void Truncate(Entry& entry, size_t rows);
    // A change at offset p: remembered when the sums can follow it exactly, else cut there.
    static void Change(Entry& entry, size_t p);
    // Reads the remembered change through ref and shifts the sums below it; cuts them there
    // when the new value cannot be followed exactly.
    static void FollowChange(Entry& entry, CCCellManager& manager, const CCRef* ref);
    // Stores every shifted sum as it is, before sums that are no longer exact are added.
    static void Unshift(Entry& entry);
    // Counts the number at offset p into the exactness of the entry's sums.
    static void Count(Entry& entry, size_t p, double number);
    // Whether number keeps the entry's sums exact: a whole number within the bound (NaN and
    // infinities are not).
    static bool KeepsExact(const Entry& entry, double number);
    std::vector<Entry>::iterator Add(unsigned column, unsigned first,
                                     const engine::ValueChanges& changes);
    // Empties entries, least recently read first, until rows more fit beside keep's.
    void MakeRoom(uint64_t rows, const Entry& keep);
    // Reads rows up to height into the entry; false when a cell on the way holds what the
    // record of changes cannot follow (a reference to another cell): the sums stop before it.
    static bool Extend(Entry& entry, CCCellManager& manager, const CCRef* ref, uint32_t height);

    std::vector<Entry> m_entries;
    // Keys asked for once and not yet kept, one a slot by their hash: a key that comes back
    // before another takes its slot gets an entry. Nothing else is kept for them, so a range
    // read once costs neither memory nor a share of catching up.
    static constexpr unsigned kSeenBits = 8;
    std::array<uint32_t, size_t(1) << kSeenBits> m_seen{};
    uint64_t m_clock = 0;
    ValueStamp m_stamp;
    bool m_stamped = false;
    bool m_busy = false;
};

}  // namespace ostrel::functions
