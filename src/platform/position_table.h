// SPDX-License-Identifier: Apache-2.0
// Pointers by position on one sheet's grid (256 columns, 65,536 rows), as the reference host
// finds its cells and the calculation order its cell nodes. Each column keeps blocks of
// 2^kBlockBits rows, made for the first pointer stored in them and freed with the last: a
// lookup is three loads, walking down a column reads one block after another, and memory
// follows what is stored (a pointer a position where positions are filled in runs, a block
// where they stand apart).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace ostrel::platform {

template <class T, unsigned kBlockBits>
class PositionTable {
public:
    T* Find(unsigned char column, uint16_t row) const {
        const Column& blocks = m_columns[column];
        const size_t b = row >> kBlockBits;
        return b < blocks.size() && blocks[b] ? blocks[b]->slots[row & kMask] : nullptr;
    }

    // What the position holds, or what make() gives, stored there, when it holds nothing.
    template <class Make>
    T* FindOrAdd(unsigned char column, uint16_t row, Make make) {
        Column& blocks = m_columns[column];
        const size_t b = row >> kBlockBits;
        if (b >= blocks.size()) blocks.resize(b + 1);
        if (!blocks[b]) blocks[b] = std::make_unique<Block>();
        T*& slot = blocks[b]->slots[row & kMask];
        if (!slot) {
            slot = make();
            ++blocks[b]->count;
            ++m_size;
        }
        return slot;
    }

    void Erase(unsigned char column, uint16_t row) {
        Column& blocks = m_columns[column];
        const size_t b = row >> kBlockBits;
        if (b >= blocks.size() || !blocks[b]) return;
        T*& slot = blocks[b]->slots[row & kMask];
        if (!slot) return;
        slot = nullptr;
        --m_size;
        if (--blocks[b]->count == 0) blocks[b].reset();
    }

    size_t Size() const { return m_size; }
    // A row from which on the column has never held anything (its blocks end there).
    size_t RowsBound(unsigned char column) const { return m_columns[column].size() << kBlockBits; }

private:
    static constexpr unsigned kMask = (1u << kBlockBits) - 1;
    struct Block {
        std::array<T*, size_t(1) << kBlockBits> slots{};
        unsigned count = 0;
    };
    using Column = std::vector<std::unique_ptr<Block>>;

    std::array<Column, 256> m_columns;
    size_t m_size = 0;
};

}  // namespace ostrel::platform
