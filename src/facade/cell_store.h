// SPDX-License-Identifier: Apache-2.0
// Where the reference host keeps its cells: only positions that hold something cost memory.
// Cells live in a deque (stable addresses, no allocation per cell) found through an
// open-addressing index keyed by column and row.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

namespace ostrel::host {

template <class Cell>
class CellStore {
public:
    // The cell at a position, or null.
    Cell* Find(unsigned column, unsigned row) const {
        if (m_slots.empty()) return nullptr;
        const uint32_t key = Key(column, row);
        for (size_t i = Hash(key) & m_mask;; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (slot.index == kEmpty) return nullptr;
            if (slot.key == key) return const_cast<Cell*>(&m_cells[slot.index]);
        }
    }

    // The cell at a position, created when missing.
    Cell* Get(unsigned column, unsigned row) {
        if (Cell* cell = Find(column, row)) return cell;
        m_cells.emplace_back(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
        if (m_cells.size() * 4 > m_slots.size() * 3)
            Grow();  // inserts every cell, the new one included
        else
            Insert(Key(column, row), uint32_t(m_cells.size() - 1));
        return &m_cells.back();
    }

    size_t Size() const { return m_cells.size(); }
    template <class F>
    void ForEach(F f) {
        for (Cell& cell : m_cells)
            f(cell);
    }

private:
    // A slot holds the position with the cell's index, so that probing past other cells'
    // slots reads the slots alone: neighbouring rows share a home block, which makes runs of
    // occupied slots long.
    struct Slot {
        uint32_t key;
        uint32_t index;
    };
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    static uint32_t Key(unsigned column, unsigned row) { return uint32_t(column) << 16 | row; }
    // Runs of 16 neighbouring rows share a scattered home block and keep their order in it,
    // so that walking down a column touches memory in order.
    static size_t Hash(uint32_t key) {
        uint64_t block = (uint64_t(key >> 4) * 0x9E3779B97F4A7C15ull) >> 32;
        return size_t(block << 4 | (key & 15));
    }

    void Insert(uint32_t key, uint32_t index) {
        size_t i = Hash(key) & m_mask;
        while (m_slots[i].index != kEmpty)
            i = (i + 1) & m_mask;
        m_slots[i] = Slot{key, index};
    }
    void Grow() {
        m_slots.assign(m_slots.empty() ? 64 : m_slots.size() * 2, Slot{0, kEmpty});
        m_mask = m_slots.size() - 1;
        for (size_t i = 0; i < m_cells.size(); ++i)
            Insert(Key(m_cells[i].Column(), m_cells[i].Row()), uint32_t(i));
    }

    std::deque<Cell> m_cells;
    std::vector<Slot> m_slots;
    size_t m_mask = 0;
};

}  // namespace ostrel::host
