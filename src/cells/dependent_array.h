// SPDX-License-Identifier: Apache-2.0
// The live dependents of one item, in registration order. Registration qualifies every
// formula cell with its sheet's identity, so nearly every dependent is "this cell of that
// sheet": such a dependent is packed into one word (key, row, column) instead of two
// reference objects, which made up a third of a formula cell's memory. Any other reference
// is kept as an owned object. An array of one keeps its word in place of the pointer to its
// words (an item whose lone dependent packs keeps the word itself and needs no array).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class CCRef;
class CCRef3D;

namespace ostrel::cells_detail {

class DependentArray {
public:
    DependentArray() : m_one(0) {}
    ~DependentArray() { Clear(); }
    DependentArray(const DependentArray&) = delete;
    DependentArray& operator=(const DependentArray&) = delete;

    /// A reference being looked for, with its packed word worked out once (0: it does not
    /// pack, so only objects can equal it).
    struct Probe {
        explicit Probe(const CCRef* ref);
        const CCRef* ref;
        uint64_t word;
    };

    size_t Size() const { return m_size; }
    /// Changes whenever a dependent is replaced or removed, and is never the same for two
    /// arrays: while it stays, dependents are only appended, so that it and the size name
    /// what the array holds.
    uint64_t Version() const {
        // Numbered when first asked for after a change, so that changing costs no count.
        if (m_version == 0) m_version = NextVersion();
        return m_version;
    }
    bool Empty() const { return m_size == 0; }
    void Append(std::unique_ptr<CCRef> ref);
    void Replace(size_t i, std::unique_ptr<CCRef> ref);
    void Erase(size_t i);
    void Clear();

    /// Whether dependent i is equal to the probe, as the reference objects would say.
    bool Equals(size_t i, const Probe& probe) const;
    /// The hash the reference object of dependent i would give.
    size_t Hash(size_t i) const;
    /// Dependent i as an object that stays the array's (null when it is packed).
    const CCRef* Object(size_t i) const;
    /// A new reference equal to dependent i.
    std::unique_ptr<CCRef> Copy(size_t i) const;
    /// Dependent i: its object, or scratch (a reference with a cell inside) rewritten to it.
    const CCRef* Show(size_t i, CCRef3D& scratch) const;

    /// The packed word of a reference, or 0 when it does not pack; the Word functions take
    /// packed words only, so that an item can keep a lone dependent without an array.
    static uint64_t PackedWord(const CCRef* ref);
    static bool WordEquals(uint64_t word, const Probe& probe);
    static std::unique_ptr<CCRef> CopyWord(uint64_t word);
    static const CCRef* ShowWord(uint64_t word, CCRef3D& scratch);
    void AppendWord(uint64_t word);

private:
    static uint64_t WordOf(std::unique_ptr<CCRef> ref);
    static void Release(uint64_t word);
    void Reserve();
    static uint64_t NextVersion();
    uint64_t* Words() { return m_capacity > 1 ? m_many : &m_one; }
    const uint64_t* Words() const { return m_capacity > 1 ? m_many : &m_one; }

    // A word with its low bit set is a packed cell; otherwise it is an owned CCRef*.
    union {
        uint64_t m_one;
        uint64_t* m_many;
    };
    uint32_t m_size = 0;
    uint32_t m_capacity = 1;
    mutable uint64_t m_version = 0;  // 0: changed since last numbered
};

}  // namespace ostrel::cells_detail
