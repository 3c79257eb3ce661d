// SPDX-License-Identifier: Apache-2.0
#include "facade/range_index.h"

#include <algorithm>
#include <bit>

namespace ostrel::host {

namespace {

// Calls f with the nodes of a segment tree over `leaves` leaves (a power of two; node 1 is
// the root, the children of n are 2n and 2n + 1) whose spans make up [first, last] exactly.
template <class F>
void ForEachCoveringNode(unsigned first, unsigned last, unsigned leaves, F f) {
    for (unsigned l = first + leaves, r = last + leaves + 1; l < r; l >>= 1, r >>= 1) {
        if (l & 1) f(l++);
        if (r & 1) f(--r);
    }
}

unsigned Depth(unsigned node) {
    return unsigned(std::bit_width(node)) - 1;
}

// Calls f with the row-tree nodes of [firstRow, lastRow]: the leaves of partial blocks at its
// ends, and the nodes that make up the whole blocks between them.
template <class F>
void ForEachRowPiece(unsigned firstRow, unsigned lastRow, unsigned blockRows, unsigned blocks,
                     F f) {
    unsigned firstBlock = firstRow / blockRows, lastBlock = lastRow / blockRows;
    if (firstBlock == lastBlock) return f(blocks + firstBlock);
    if (firstRow % blockRows != 0) f(blocks + firstBlock++);
    if (lastRow % blockRows != blockRows - 1) f(blocks + lastBlock--);
    if (firstBlock <= lastBlock) ForEachCoveringNode(firstBlock, lastBlock, blocks, f);
}

}  // namespace

uint64_t RangeIndex::RowsHeld(unsigned rowNode, const Entry& entry) {
    if (rowNode < kBlocks) return ~uint64_t(0);
    const unsigned start = (rowNode - kBlocks) * kBlockRows;
    const unsigned low = std::max<unsigned>(entry.firstRow, start) - start;
    const unsigned high = std::min<unsigned>(entry.lastRow, start + kBlockRows - 1) - start;
    const uint64_t upTo = high == kBlockRows - 1 ? ~uint64_t(0) : (uint64_t(1) << (high + 1)) - 1;
    return upTo & ~((uint64_t(1) << low) - 1);
}

RangeIndex::RangeIndex() = default;
RangeIndex::~RangeIndex() = default;

size_t RangeIndex::SlotOf(uint64_t key) const {
    // Every bit of the corners moves the home slot: ranges often share a corner or a column.
    uint64_t h = (key ^ (key >> 30)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = size_t(h ^ (h >> 31)) & mask;; i = (i + 1) & mask)
        if (m_slots[i].sequence == kEmpty || m_slots[i].key == key) return i;
}

void RangeIndex::Grow() {
    std::vector<Slot> slots(m_slots.empty() ? 64 : m_slots.size() * 2, Slot{0, kEmpty});
    m_slots.swap(slots);
    for (const Slot& slot : slots)
        if (slot.sequence != kEmpty) m_slots[SlotOf(slot.key)] = slot;
}

RangeItem* RangeIndex::Find(const CCRegionRef& range) const {
    if (m_slots.empty()) return nullptr;
    const Slot& slot = m_slots[SlotOf(Key(range))];
    return slot.sequence == kEmpty ? nullptr : m_items[slot.sequence].get();
}

RangeItem* RangeIndex::Get(const CCRegionRef& range) {
    if (!range.IsNormal()) return nullptr;
    const uint64_t key = Key(range);
    if (!m_slots.empty()) {
        const Slot& slot = m_slots[SlotOf(key)];
        if (slot.sequence != kEmpty) return m_items[slot.sequence].get();
    }
    if ((m_items.size() + 1) * 4 > m_slots.size() * 3) Grow();
    const auto sequence = uint32_t(m_items.size());
    m_items.push_back(std::make_unique<RangeItem>(range));
    try {
        Enter(range, sequence);
    } catch (...) {  // out of memory: the index stays as it was
        Withdraw(range, sequence);
        m_items.pop_back();
        throw;
    }
    m_slots[SlotOf(key)] = {key, sequence};  // room was made before anything changed
    return m_items.back().get();
}

void RangeIndex::Enter(const CCRegionRef& range, uint32_t sequence) {
    const Entry entry{range.GetFirstRow(), range.GetLastRow(), sequence};
    ForEachCoveringNode(range.GetFirstColumn(), range.GetLastColumn(), kColumns, [&](unsigned c) {
        ForEachRowPiece(entry.firstRow, entry.lastRow, kBlockRows, kBlocks, [&](unsigned r) {
            Bucket& bucket = m_lists[ListKey(c, r)];
            bucket.entries.push_back(entry);
            bucket.rows |= RowsHeld(r, entry);
            if (m_rowDepths[c] == 0) {  // the node's first list: its columns learn of it
                const unsigned height = Depth(kColumns) - Depth(c);
                for (unsigned column = (c << height) - kColumns;
                     column < ((c + 1) << height) - kColumns; ++column)
                    m_columnPath[column] |= uint16_t(1u << height);
            }
            m_rowDepths[c] |= uint16_t(1u << Depth(r));
        });
    });
}

void RangeIndex::Withdraw(const CCRegionRef& range, uint32_t sequence) {
    ForEachCoveringNode(range.GetFirstColumn(), range.GetLastColumn(), kColumns, [&](unsigned c) {
        ForEachRowPiece(range.GetFirstRow(), range.GetLastRow(), kBlockRows, kBlocks,
                        [&](unsigned r) {
                            auto it = m_lists.find(ListKey(c, r));
                            List* list = it != m_lists.end() ? &it->second.entries : nullptr;
                            if (list && !list->empty() && list->back().sequence == sequence)
                                list->pop_back();
                        });
    });
}

size_t RangeIndex::ListsHolding(unsigned column, unsigned row, Lists& lists) const {
    if (column >= kColumns || row >= kBlocks * kBlockRows) return 0;
    size_t count = 0;
    const unsigned leafBlock = kBlocks + row / kBlockRows;
    for (unsigned heights = m_columnPath[column]; heights != 0; heights &= heights - 1) {
        const unsigned c = (kColumns + column) >> std::countr_zero(heights);
        for (unsigned depths = m_rowDepths[c]; depths != 0; depths &= depths - 1) {
            const unsigned depth = unsigned(std::countr_zero(depths));
            auto it = m_lists.find(ListKey(c, leafBlock >> (kRowDepths - 1 - depth)));
            if (it != m_lists.end() && (it->second.rows >> (row % kBlockRows) & 1) &&
                !it->second.entries.empty())
                lists[count++] = &it->second.entries;
        }
    }
    return count;
}

void RangeIndex::Merge(const Lists& lists, size_t count, unsigned row, Callback call,
                       void* context) const {
    struct Cursor {
        const Entry* next;
        const Entry* end;
    };
    std::array<Cursor, std::tuple_size_v<Lists>> cursors;
    for (size_t i = 0; i < count; ++i)
        cursors[i] = {lists[i]->data(), lists[i]->data() + lists[i]->size()};
    // Each list is in creation order: the earliest range at the head of any list is next.
    while (count > 0) {
        Cursor* best = nullptr;
        for (size_t i = 0; i < count;) {
            Cursor& cursor = cursors[i];
            while (cursor.next != cursor.end && !cursor.next->Holds(row))
                ++cursor.next;
            if (cursor.next == cursor.end) {
                cursor = cursors[--count];  // an exhausted list leaves; the last takes its place
                continue;
            }
            if (!best || cursor.next->sequence < best->next->sequence) best = &cursor;
            ++i;
        }
        if (!best) break;
        call(context, m_items[best->next++->sequence].get());
    }
}

}  // namespace ostrel::host
