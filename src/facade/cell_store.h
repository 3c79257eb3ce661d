// SPDX-License-Identifier: Apache-2.0
// Where the reference host keeps its cells: only positions that hold something cost memory.
// Cells live in chunks of 1,024 (stable addresses, no allocation per cell, and none of the
// per-block rounding a deque of 72-byte cells pays) found through a page table per column: a
// lookup is three loads, and walking down a column reads one page after another. A page
// covers 64 rows, so a sparse sheet costs at most a page per cell.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace ostrel::host {

template <class Cell>
class CellStore {
public:
    // The cell at a position, or null.
    Cell* Find(unsigned column, unsigned row) const {
        if (column >= m_columns.size() || row > kLastRow) return nullptr;
        const Column& pages = m_columns[column];
        const size_t p = row >> kPageBits;
        if (p >= pages.size() || !pages[p]) return nullptr;
        return (*pages[p])[row & kPageMask];
    }

    // The cell at a position, created when missing. Positions beyond the grid (256 columns,
    // 65,536 rows) wrap as the cell's own coordinates do.
    Cell* Get(unsigned column, unsigned row) {
        column &= 0xFF;
        row &= kLastRow;
        if (column >= m_columns.size()) m_columns.resize(column + 1);
        Column& pages = m_columns[column];
        const size_t p = row >> kPageBits;
        if (p >= pages.size()) pages.resize(p + 1);
        if (!pages[p]) {
            pages[p] = std::make_unique<Page>();
            pages[p]->fill(nullptr);
        }
        Cell*& slot = (*pages[p])[row & kPageMask];
        if (!slot)
            slot = m_cells.Make(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
        return slot;
    }

    size_t Size() const { return m_cells.Size(); }
    // A row from which on the column holds no cell (its pages end there).
    size_t RowsBound(unsigned column) const {
        return column < m_columns.size() ? m_columns[column].size() << kPageBits : 0;
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

    static constexpr unsigned kPageBits = 6;
    static constexpr unsigned kPageMask = (1u << kPageBits) - 1;
    static constexpr unsigned kLastRow = 0xFFFF;
    using Page = std::array<Cell*, size_t(1) << kPageBits>;
    using Column = std::vector<std::unique_ptr<Page>>;

    Chunks m_cells;
    std::vector<Column> m_columns;
};

}  // namespace ostrel::host
