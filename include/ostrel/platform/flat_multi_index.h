// SPDX-License-Identifier: Apache-2.0
/// \file
/// An open-addressing table from a 64-bit key (a cell's position or a reference's hash) to
/// values, several values per key allowed: one probe into one array instead of a node per
/// entry. Pointer values must not be null. The engine finds workbook nodes, recalculation-list
/// entries and dependents in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

namespace ostrel::platform {

template <class V>
class FlatMultiIndex {
public:
    size_t Size() const { return m_size; }
    void Clear() {
        m_slots.clear();
        m_size = 0;
        m_mask = 0;
    }
    /// Room for count entries without growing.
    void Reserve(size_t count) {
        size_t want = 64;
        while (want * 3 < count * 4)
            want *= 2;
        if (want > m_slots.size()) Rehash(want);
    }

    void Insert(uint64_t key, V value) {
        if ((m_size + 1) * 4 > m_slots.size() * 3)
            Rehash(m_slots.empty() ? 64 : m_slots.size() * 2);
        Put(key, std::move(value));
        ++m_size;
    }

    /// A value stored under key for which match(value) holds, or null (values under one key
    /// are met in no particular order).
    template <class Match>
    V* FindIf(uint64_t key, Match match) {
        if (m_slots.empty()) return nullptr;
        for (size_t i = Home(key); UsedAt(i); i = (i + 1) & m_mask)
            if (m_slots[i].key == key && match(m_slots[i].value)) return &m_slots[i].value;
        return nullptr;
    }
    template <class Match>
    const V* FindIf(uint64_t key, Match match) const {
        return const_cast<FlatMultiIndex*>(this)->FindIf(key, match);
    }

    /// Erases the first value under key for which match(value) holds; false when none does.
    /// Linear probing with backward shifting: later entries of the cluster move up into the
    /// hole, so that no marker is left behind and lookups stay short.
    template <class Match>
    bool EraseIf(uint64_t key, Match match) {
        if (m_slots.empty()) return false;
        size_t i = Home(key);
        while (UsedAt(i) && !(m_slots[i].key == key && match(m_slots[i].value)))
            i = (i + 1) & m_mask;
        if (!UsedAt(i)) return false;
        --m_size;
        for (size_t j = (i + 1) & m_mask; UsedAt(j); j = (j + 1) & m_mask) {
            size_t home = Home(m_slots[j].key);
            /// The entry at j may fill the hole at i when its home does not lie in (i, j].
            bool between = i <= j ? (home > i && home <= j) : (home > i || home <= j);
            if (between) continue;
            m_slots[i] = std::move(m_slots[j]);
            i = j;
        }
        m_slots[i] = Slot{};
        return true;
    }

private:
    // A pointer value is never null, so a null one marks an unused slot and the slot is two
    // words instead of three.
    struct FlagSlot {
        uint64_t key = 0;
        V value{};
        bool used = false;
        bool Used() const { return used; }
    };
    struct PointerSlot {
        uint64_t key = 0;
        V value{};
        bool Used() const { return value != nullptr; }
    };
    using Slot = std::conditional_t<std::is_pointer_v<V>, PointerSlot, FlagSlot>;
    /// Runs of 16 neighbouring keys (rows of a column) share a scattered home block and keep
    /// their order in it, so that walking down a column touches memory in order; keys that
    /// are hashes scatter all the same.
    size_t Home(uint64_t key) const {
        uint64_t block = key >> 4;
        block ^= block >> 29;
        block *= 0xBF58476D1CE4E5B9ull;
        block ^= block >> 32;
        return size_t(block << 4 | (key & 15)) & m_mask;
    }
    void Put(uint64_t key, V value) {
        size_t i = Home(key);
        while (UsedAt(i))
            i = (i + 1) & m_mask;
        Slot& slot = m_slots[i];
        slot.key = key;
        slot.value = std::move(value);
        if constexpr (!std::is_pointer_v<V>) slot.used = true;
    }
    void Rehash(size_t size) {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(size, Slot{});
        m_mask = size - 1;
        for (Slot& slot : old)
            if (slot.Used()) Put(slot.key, std::move(slot.value));
    }

    bool UsedAt(size_t i) const { return m_slots[i].Used(); }

    std::vector<Slot> m_slots;
    size_t m_size = 0;
    size_t m_mask = 0;
};

}  // namespace ostrel::platform
