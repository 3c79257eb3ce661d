// An open-addressing table from a 64-bit key to a pointer: the calculation order finds the
// node of a sheet cell with one probe into contiguous memory, without comparing reference
// objects, and the node of any other reference by its hash and one comparison.
#pragma once

#include <cstdint>
#include <vector>

namespace ostrel::engine {

template <class T>
class CellNodeIndex {
public:
    T* Find(uint64_t key) const {
        return FindIf(key, [](const T*) { return true; });
    }

    // The first value stored under key that matches: keys that are hashes may be shared.
    template <class Match>
    T* FindIf(uint64_t key, Match match) const {
        if (m_slots.empty()) return nullptr;
        for (size_t i = Home(key);; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (!slot.value) return nullptr;
            if (slot.key == key && match(slot.value)) return slot.value;
        }
    }

    // A value may be stored under a key only once.
    void Insert(uint64_t key, T* value) {
        if ((m_size + 1) * 4 > m_slots.size() * 3) Grow();
        Put(key, value);
        ++m_size;
    }

    // Linear probing with backward shifting: later entries of the cluster move up, so
    // that no marker is left behind and lookups stay short.
    void Erase(uint64_t key) { EraseValue(key, nullptr); }
    // Erases the entry of value under key (any entry of the key when value is null).
    void EraseValue(uint64_t key, const T* value) {
        if (m_slots.empty()) return;
        size_t i = Home(key);
        while (m_slots[i].value && (m_slots[i].key != key || (value && m_slots[i].value != value)))
            i = (i + 1) & m_mask;
        if (!m_slots[i].value) return;
        --m_size;
        for (size_t j = (i + 1) & m_mask;; j = (j + 1) & m_mask) {
            if (!m_slots[j].value) break;
            size_t home = Home(m_slots[j].key);
            // The entry at j may fill the hole at i when its home does not lie in (i, j].
            bool between = i <= j ? (home > i && home <= j) : (home > i || home <= j);
            if (between) continue;
            m_slots[i] = m_slots[j];
            i = j;
        }
        m_slots[i] = Slot{};
    }

private:
    struct Slot {
        uint64_t key = 0;
        T* value = nullptr;
    };
    // Runs of 16 neighbouring rows share a scattered home block and keep their order in it,
    // so that walking down a column touches memory in order.
    size_t Home(uint64_t key) const {
        uint64_t block = key >> 4;
        block ^= block >> 29;
        block *= 0xBF58476D1CE4E5B9ull;
        block ^= block >> 32;
        return size_t(block << 4 | (key & 15)) & m_mask;
    }
    void Put(uint64_t key, T* value) {
        size_t i = Home(key);
        while (m_slots[i].value)
            i = (i + 1) & m_mask;
        m_slots[i] = Slot{key, value};
    }
    void Grow() {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(old.empty() ? 64 : old.size() * 2, Slot{});
        m_mask = m_slots.size() - 1;
        for (const Slot& slot : old)
            if (slot.value) Put(slot.key, slot.value);
    }

    std::vector<Slot> m_slots;
    size_t m_mask = 0;
    size_t m_size = 0;
};

}  // namespace ostrel::engine
