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
        uint32_t key = Key(column, row);
        for (size_t i = Hash(key) & m_mask;; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (slot.index == kEmpty) return nullptr;
            if (slot.key == key) return const_cast<Cell*>(&m_cells[slot.index]);
        }
    }

    // The cell at a position, created when missing.
    Cell* Get(unsigned column, unsigned row) {
        if (Cell* cell = Find(column, row)) return cell;
        if ((m_cells.size() + 1) * 4 > m_slots.size() * 3) Grow();
        m_cells.emplace_back(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
        Insert(Key(column, row), uint32_t(m_cells.size() - 1));
        return &m_cells.back();
    }

    size_t Size() const { return m_cells.size(); }
    template <class F>
    void ForEach(F f) {
        for (Cell& cell : m_cells) f(cell);
    }

private:
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    struct Slot {
        uint32_t key = 0;
        uint32_t index = kEmpty;
    };
    static uint32_t Key(unsigned column, unsigned row) { return uint32_t(column) << 16 | row; }
    static size_t Hash(uint32_t key) { return size_t(key * 0x9E3779B1u); }

    void Insert(uint32_t key, uint32_t index) {
        size_t i = Hash(key) & m_mask;
        while (m_slots[i].index != kEmpty) i = (i + 1) & m_mask;
        m_slots[i] = Slot{key, index};
    }
    void Grow() {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(old.empty() ? 64 : old.size() * 2, Slot{});
        m_mask = m_slots.size() - 1;
        for (const Slot& slot : old)
            if (slot.index != kEmpty) Insert(slot.key, slot.index);
    }

    std::deque<Cell> m_cells;
    std::vector<Slot> m_slots;
    size_t m_mask = 0;
};

}  // namespace ostrel::host
