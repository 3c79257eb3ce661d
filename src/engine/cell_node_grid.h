// SPDX-License-Identifier: Apache-2.0
// The calculation order's nodes of sheet cells, found by position. Typing a sheet looks up
// the node of every cell it stores, mostly to find none; a hash table pays a probe through
// its neighbours for each miss and a rehash as it grows. Here a lookup is three indexed
// reads: the sheet, then the column's block of 16 rows, then the row. A block is made for
// the first node of its 16 rows and freed with the last, so memory follows the nodes: a
// pointer a node where formulas stand in runs, a block where they stand apart.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace ostrel::engine_detail {

template <class Node>
class CellNodeGrid {
public:
    Node* Find(uint32_t sheet, unsigned char column, uint16_t row) const {
        const Sheet* s = SheetOf(sheet);
        if (!s) return nullptr;
        const Column& c = s->columns[column];
        const size_t b = row / kBlockRows;
        return b < c.size() && c[b] ? c[b]->nodes[row % kBlockRows] : nullptr;
    }

    // Stores node at the position, which holds none.
    void Insert(uint32_t sheet, unsigned char column, uint16_t row, Node* node) {
        Sheet* s = SheetOf(sheet);
        if (!s) {
            s = (m_sheets[sheet] = std::make_unique<Sheet>()).get();
            m_memoId = sheet;
            m_memo = s;
        }
        Column& c = s->columns[column];
        const size_t b = row / kBlockRows;
        if (b >= c.size()) c.resize(b + 1);
        if (!c[b]) c[b] = std::make_unique<Block>();
        Node*& slot = c[b]->nodes[row % kBlockRows];
        if (!slot) {
            ++c[b]->count;
            ++s->count;
        }
        slot = node;
    }

    void Erase(uint32_t sheet, unsigned char column, uint16_t row) {
        Sheet* s = SheetOf(sheet);
        if (!s) return;
        Column& c = s->columns[column];
        const size_t b = row / kBlockRows;
        if (b >= c.size() || !c[b]) return;
        Node*& slot = c[b]->nodes[row % kBlockRows];
        if (!slot) return;
        slot = nullptr;
        if (--c[b]->count == 0) c[b].reset();
        if (--s->count == 0) {
            m_sheets.erase(sheet);
            m_memo = nullptr;
        }
    }

private:
    static constexpr unsigned kColumns = 256;
    static constexpr unsigned kBlockRows = 16;
    struct Block {
        std::array<Node*, kBlockRows> nodes{};
        unsigned count = 0;
    };
    using Column = std::vector<std::unique_ptr<Block>>;
    struct Sheet {
        std::array<Column, kColumns> columns;
        size_t count = 0;
    };

    Sheet* SheetOf(uint32_t sheet) const {
        if (m_memo && m_memoId == sheet) return m_memo;
        auto it = m_sheets.find(sheet);
        if (it == m_sheets.end()) return nullptr;
        // Entries stay where they are until their sheet has no node left.
        m_memoId = sheet;
        m_memo = it->second.get();
        return m_memo;
    }

    std::unordered_map<uint32_t, std::unique_ptr<Sheet>> m_sheets;
    mutable uint32_t m_memoId = 0;  // the sheet last asked about
    mutable Sheet* m_memo = nullptr;
};

}  // namespace ostrel::engine_detail
