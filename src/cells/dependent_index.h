// SPDX-License-Identifier: Apache-2.0
// Where a long list of an item's dependents holds each one, by hash: a cell read by 50,000
// formulas is asked once for each of them whether it is read already. Every answer is
// checked against the dependent itself, so a slot keeps only 32 bits of the hash beside the
// position: eight bytes a slot, half of what a general table takes, which halves the memory
// the list's growth touches. Entries are only added; a list that loses one is indexed anew.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrel::cells_detail {

class DependentIndex {
public:
    /// Room for count entries without growing.
    explicit DependentIndex(size_t count) {
        size_t want = 64;
        while (want * 3 < count * 4)
            want *= 2;
        Resize(want);
    }

    void Insert(uint64_t hash, uint32_t position) {
        if ((m_size + 1) * 4 > m_slots.size() * 3) Resize(m_slots.size() * 2);
        Put({Tag(hash), position + 1});
        ++m_size;
    }

    /// Calls visit(position) for every entry whose hash may be hash, until visit returns true.
    template <class Visit>
    void ForEachCandidate(uint64_t hash, Visit visit) const {
        const uint32_t tag = Tag(hash);
        for (size_t i = tag & m_mask; m_slots[i].positionPlusOne; i = (i + 1) & m_mask)
            if (m_slots[i].tag == tag && visit(m_slots[i].positionPlusOne - 1)) return;
    }

private:
    struct Slot {
        uint32_t tag = 0;  // the hash, mixed and folded; its low bits give the home slot
        uint32_t positionPlusOne = 0;  // 0: unused
    };
    static uint32_t Tag(uint64_t hash) {
        hash ^= hash >> 33;
        hash *= 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 33;
        return uint32_t(hash);
    }
    void Put(Slot slot) {
        size_t i = slot.tag & m_mask;
        while (m_slots[i].positionPlusOne)
            i = (i + 1) & m_mask;
        m_slots[i] = slot;
    }
    void Resize(size_t size) {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(size, Slot{});
        m_mask = size - 1;
        for (const Slot& slot : old)
            if (slot.positionPlusOne) Put(slot);
    }

    std::vector<Slot> m_slots;
    size_t m_size = 0;
    size_t m_mask = 0;
};

}  // namespace ostrel::cells_detail
