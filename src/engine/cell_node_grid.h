// SPDX-License-Identifier: Apache-2.0
// The calculation order's nodes of sheet cells, found by position. Typing a sheet looks up
// the node of every cell it stores, mostly to find none; a hash table pays a probe through
// its neighbours for each miss and a rehash as it grows. Here a lookup is the sheet's table
// of positions, then three loads; blocks of 16 rows keep a sheet whose formulas stand apart
// small.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/position_table.h"

namespace ostrel::engine_detail {

template <class Node>
class CellNodeGrid {
public:
    Node* Find(uint32_t sheet, unsigned char column, uint16_t row) const {
        const Positions* s = SheetOf(sheet);
        return s ? s->Find(column, row) : nullptr;
    }

    // Stores node at the position, which holds none.
    void Insert(uint32_t sheet, unsigned char column, uint16_t row, Node* node) {
        Positions* s = SheetOf(sheet);
        if (!s) {
            s = (m_sheets[sheet] = std::make_unique<Positions>()).get();
            m_memoId = sheet;
            m_memo = s;
        }
        s->FindOrAdd(column, row, [node] { return node; });
    }

    void Erase(uint32_t sheet, unsigned char column, uint16_t row) {
        Positions* s = SheetOf(sheet);
        if (!s) return;
        s->Erase(column, row);
        if (s->Size() == 0) {
            m_sheets.erase(sheet);
            m_memo = nullptr;
        }
    }

private:
    using Positions = platform::PositionTable<Node, 4>;

    Positions* SheetOf(uint32_t sheet) const {
        if (m_memo && m_memoId == sheet) return m_memo;
        auto it = m_sheets.find(sheet);
        if (it == m_sheets.end()) return nullptr;
        // Entries stay where they are until their sheet has no node left.
        m_memoId = sheet;
        m_memo = it->second.get();
        return m_memo;
    }

    std::unordered_map<uint32_t, std::unique_ptr<Positions>> m_sheets;
    mutable uint32_t m_memoId = 0;  // the sheet last asked about
    mutable Positions* m_memo = nullptr;
};

}  // namespace ostrel::engine_detail
