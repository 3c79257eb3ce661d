// A flat table from a hash to the positions of the entries that have it, several positions
// per hash allowed: the dependents of a cell read by tens of thousands of formulas are found
// with a probe or two into one array, and adding one allocates only when the table grows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrel::cells_internal {

class HashPositions {
public:
    void Clear() {
        m_slots.clear();
        m_size = 0;
        m_mask = 0;
    }
    void Reserve(size_t count) {
        size_t want = 64;
        while (want * 3 < count * 4)
            want *= 2;
        if (want > m_slots.size()) Rehash(want);
    }
    void Add(size_t hash, int position) {
        if ((m_size + 1) * 4 > m_slots.size() * 3)
            Rehash(m_slots.empty() ? 64 : m_slots.size() * 2);
        Put(hash, position);
        ++m_size;
    }
    // Calls found(position) for each position added with this hash, until it returns true.
    template <class Found>
    void Find(size_t hash, Found found) const {
        if (m_slots.empty()) return;
        for (size_t i = Home(hash);; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (slot.position < 0) return;
            if (slot.hash == hash && found(slot.position)) return;
        }
    }

private:
    struct Slot {
        size_t hash = 0;
        int position = -1;
    };
    size_t Home(size_t hash) const { return (hash ^ (hash >> 31)) & m_mask; }
    void Put(size_t hash, int position) {
        size_t i = Home(hash);
        while (m_slots[i].position >= 0)
            i = (i + 1) & m_mask;
        m_slots[i] = Slot{hash, position};
    }
    void Rehash(size_t size) {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(size, Slot{});
        m_mask = size - 1;
        for (const Slot& slot : old)
            if (slot.position >= 0) Put(slot.hash, slot.position);
    }

    std::vector<Slot> m_slots;
    size_t m_size = 0;
    size_t m_mask = 0;
};

}  // namespace ostrel::cells_internal
