// SPDX-License-Identifier: Apache-2.0
// Where the reference host keeps its cells: only positions that hold something cost memory.
// Cells live in chunks of 1,024 (stable addresses, no allocation per cell, and none of the
// per-block rounding a deque of 72-byte cells pays), found through a table of positions.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/position_table.h"

namespace ostrel::host {

template <class Cell>
class CellStore {
public:
    // The cell at a position, or null.
    Cell* Find(unsigned column, unsigned row) const {
        if (column > 0xFF || row > 0xFFFF) return nullptr;
        return m_positions.Find(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
    }

    // The cell at a position, created when missing. Positions beyond the grid (256 columns,
    // 65,536 rows) wrap as the cell's own coordinates do.
    Cell* Get(unsigned column, unsigned row) {
        const auto c = static_cast<unsigned char>(column);
        const auto r = static_cast<uint16_t>(row);
        return m_positions.FindOrAdd(c, r, [&] { return m_cells.Make(c, r); });
    }

    size_t Size() const { return m_cells.Size(); }
    // A row from which on the column holds no cell (its pages end there).
    size_t RowsBound(unsigned column) const {
        return column <= 0xFF ? m_positions.RowsBound(static_cast<unsigned char>(column)) : 0;
    }
    template <class F>
    void ForEach(F f) {
        m_cells.ForEach(f);
    }

private:
    // Cells in the order they were made, destroyed in that order too.
    class Chunks {
    public:
        Chunks() = default;
        Chunks(const Chunks&) = delete;
        Chunks& operator=(const Chunks&) = delete;
        ~Chunks() {
            ForEach([](Cell& cell) { cell.~Cell(); });
            for (Cell* chunk : m_chunks)
                ::operator delete(chunk, std::align_val_t(alignof(Cell)));
        }
        size_t Size() const { return m_size; }
        template <class... Args>
        Cell* Make(Args... args) {
            if (m_size == m_chunks.size() * kChunk) {
                if (m_chunks.size() == m_chunks.capacity())
                    m_chunks.reserve(std::max<size_t>(16, m_chunks.size() * 2));
                m_chunks.push_back(static_cast<Cell*>(
                    ::operator new(sizeof(Cell) * kChunk, std::align_val_t(alignof(Cell)))));
            }
            Cell* cell = new (m_chunks.back() + m_size % kChunk) Cell(args...);
            ++m_size;
            return cell;
        }
        template <class F>
        void ForEach(F f) {
            for (size_t i = 0; i < m_size; ++i)
                f(m_chunks[i / kChunk][i % kChunk]);
        }

    private:
        static constexpr size_t kChunk = 1024;
        std::vector<Cell*> m_chunks;
        size_t m_size = 0;
    };

    // Pages of 64 rows: a sparse sheet costs at most a page per cell.
    platform::PositionTable<Cell, 6> m_positions;
    Chunks m_cells;
};

}  // namespace ostrel::host
