// SPDX-License-Identifier: Apache-2.0
// The ranges formulas read, and which of them contain a given cell. A range becomes an item
// (holding the formulas that depend on it) when a formula first registers on it; the index
// answers "which ranges contain this cell", in the order the ranges were created, without
// looking at unrelated ranges, in memory proportional to the number of ranges.
//
// Two segment trees cut a range into a bounded number of pieces. Its columns split into at
// most 14 aligned power-of-two runs (a tree over the 256 columns). Its rows split into blocks
// of 64: a range within one or two blocks is one or two partial-block pieces; a longer one
// keeps a partial piece at each end and splits the whole blocks between them into at most
// 18 aligned power-of-two runs (a tree over the 1,024 blocks). The range is entered, as 8
// bytes, in the list of every (column run, row piece) pair: one list for a whole column or
// the whole grid, one or two for a window within one column, 280 at the very most.
// The lists that can hold a cell's ranges are those of the tree nodes above its column and
// its block (at most 9 x 11; only nodes and depths that have lists are looked up). A range
// containing the cell is in exactly one of them, and the only ranges met that do not
// contain it are partial pieces of the cell's own block. Lists grow in creation order, so
// the ranges are reported by merging them, with no sort and no allocation.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ostrel/cells/item.h"
#include "ostrel/refs/region_ref.h"

namespace ostrel::host {

class RangeItem : public CCItem {
public:
    explicit RangeItem(const CCRegionRef& ref) : m_ref(ref) {}
    const CCRef* GetRef() const override { return &m_ref; }
    bool IsEqual(const CCItem* other) const override {
        return other && other->GetRef() && m_ref.IsEqual(other->GetRef());
    }
    bool Contain(const CCRef* ref) const override { return ref && m_ref.Contain(ref); }
    const CCRegionRef& Region() const { return m_ref; }

private:
    CCRegionRef m_ref;
};

class RangeIndex {
public:
    RangeIndex();
    ~RangeIndex();
    RangeIndex(const RangeIndex&) = delete;
    RangeIndex& operator=(const RangeIndex&) = delete;

    // The item of a normal range, or null.
    RangeItem* Find(const CCRegionRef& range) const;
    // The item of a normal range, created (and indexed) when missing.
    RangeItem* Get(const CCRegionRef& range);
    // Calls f for every range item that contains the cell, in the order the items were
    // created. f must not create ranges.
    template <class F>
    void ForEachContaining(unsigned column, unsigned row, F f) const {
        Lists lists;
        const size_t count = ListsHolding(column, row, lists);
        if (count == 1) {  // the common case, a cell whose ranges all lie in one list
            for (const Entry& entry : *lists[0])
                if (entry.Holds(row)) f(m_items[entry.sequence].get());
        } else if (count > 1) {
            Merge(
                lists, count, row,
                [](void* context, RangeItem* item) { (*static_cast<F*>(context))(item); }, &f);
        }
    }
    // Whether f holds for a range item that contains the cell; the items are tried in no
    // particular order, and the first that answers ends the search.
    template <class F>
    bool AnyContaining(unsigned column, unsigned row, F f) const {
        Lists lists;
        const size_t count = ListsHolding(column, row, lists);
        for (size_t i = 0; i < count; ++i)
            for (const Entry& entry : *lists[i])
                if (entry.Holds(row) && f(m_items[entry.sequence].get())) return true;
        return false;
    }
    size_t Size() const { return m_items.size(); }

private:
    static constexpr unsigned kColumns = 256;  // leaves of the column tree
    static constexpr unsigned kBlockRows = 64;
    static constexpr unsigned kBlocks = 1024;  // leaves of the row tree: 65,536 rows
    static constexpr unsigned kRowDepths = 11;

    // A range in one list: its rows, for the partial blocks' check, and its creation number.
    struct Entry {
        uint16_t firstRow;
        uint16_t lastRow;
        uint32_t sequence;
        bool Holds(unsigned row) const { return firstRow <= row && row <= lastRow; }
    };
    using List = std::vector<Entry>;
    // A list and the rows of its block that some range in it holds (bit: row % 64): a cell
    // of a block whose ranges each take a row of their own (a total per row) skips the
    // ranges of the other rows without reading them. All ones above the leaves, whose
    // ranges hold every row of their blocks; never cleared, so at worst a list is read.
    struct Bucket {
        List entries;
        uint64_t rows = 0;
    };
    // The lists that may hold a cell's ranges: one per node of the column tree's path (9)
    // and row-tree depth.
    using Lists = std::array<const List*, 9 * kRowDepths>;
    using Callback = void (*)(void*, RangeItem*);

    static uint64_t Key(const CCRegionRef& r) {
        return uint64_t(r.GetFirstColumn()) << 48 | uint64_t(r.GetFirstRow()) << 32 |
               uint64_t(r.GetLastColumn()) << 16 | r.GetLastRow();
    }
    static uint32_t ListKey(unsigned columnNode, unsigned rowNode) {
        return uint32_t(columnNode) << 11 | rowNode;
    }
    size_t ListsHolding(unsigned column, unsigned row, Lists& lists) const;
    // The bits of Bucket::rows for an entry in the list of a row-tree node.
    static uint64_t RowsHeld(unsigned rowNode, const Entry& entry);
    // Reports the ranges of several lists that hold the row, earliest first.
    void Merge(const Lists& lists, size_t count, unsigned row, Callback call, void* context) const;
    // Puts the newest range in its lists; takes it out of those it reached (it is last in
    // each) when putting it in could not finish.
    void Enter(const CCRegionRef& range, uint32_t sequence);
    void Withdraw(const CCRegionRef& range, uint32_t sequence);

    // The items by their corners: open addressing, each slot a key and a creation number.
    struct Slot {
        uint64_t key;
        uint32_t sequence;
    };
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    // The slot holding the key, or the empty one where it would go; there are slots.
    size_t SlotOf(uint64_t key) const;
    void Grow();

    std::vector<std::unique_ptr<RangeItem>> m_items;  // in creation order
    std::vector<Slot> m_slots;
    std::unordered_map<uint32_t, Bucket> m_lists;
    // For each column node, the row-tree depths at which it has lists (bit d: depth d); for
    // each column, the nodes above it that have lists (bit h: h levels above the leaf).
    std::array<uint16_t, 2 * kColumns> m_rowDepths{};
    std::array<uint16_t, kColumns> m_columnPath{};
};

}  // namespace ostrel::host
