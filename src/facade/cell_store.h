// SPDX-License-Identifier: Apache-2.0
// Where the reference host keeps its cells: only positions that hold something cost memory.
// Cells live in a deque (stable addresses, no allocation per cell) found through a page
// table per column: a lookup is three loads, and walking down a column reads one page after
// another. A page covers 64 rows, so a sparse sheet costs at most a page per cell.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
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
        if (!slot) {
            m_cells.emplace_back(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
            slot = &m_cells.back();
        }
        return slot;
    }

    size_t Size() const { return m_cells.size(); }
    // A row from which on the column holds no cell (its pages end there).
    size_t RowsBound(unsigned column) const {
        return column < m_columns.size() ? m_columns[column].size() << kPageBits : 0;
    }
    template <class F>
    void ForEach(F f) {
        for (Cell& cell : m_cells)
            f(cell);
    }

private:
    static constexpr unsigned kPageBits = 6;
    static constexpr unsigned kPageMask = (1u << kPageBits) - 1;
    static constexpr unsigned kLastRow = 0xFFFF;
    using Page = std::array<Cell*, size_t(1) << kPageBits>;
    using Column = std::vector<std::unique_ptr<Page>>;

    std::deque<Cell> m_cells;
    std::vector<Column> m_columns;
};

}  // namespace ostrel::host
