// SPDX-License-Identifier: Apache-2.0
// The keys of one range, kept so that the lookup functions answer in logarithmic or constant
// time what their walks find by reading the range from the top: the numbers and the texts of
// the range in range order, the first and last position of every key, and running maxima
// and minima, which answer "the first key that orders after (or not after) a value" by a
// binary search whether or not the keys are sorted. Only keys of the kind of the value
// searched for ever count, as in the walks. Numbers compare as CompareEQTypeValues compares
// them, texts by the engine's collation with or without case. Errors and empty values are
// not kept: a search for one walks.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/flat_multi_index.h"

namespace ostrel::functions::lookup {

inline constexpr uint32_t kNone = UINT32_MAX;

// How texts compare: LOOKUP, VLOOKUP and LOOKUPEX respect case, MATCH and FINDEX do not.
enum class Case : uint8_t { sensitive = 0, blind = 1 };

// A key of the searched value's kind: its rank among the keys of that kind, and its
// position in the range (both kNone for no key).
struct Key {
    uint32_t rank = kNone;
    uint32_t position = kNone;
    bool Found() const { return rank != kNone; }
};

class KeyIndex {
public:
    // An index of a range of size positions, filled by Append in range order.
    explicit KeyIndex(uint32_t size);
    ~KeyIndex();
    KeyIndex(const KeyIndex&) = delete;
    KeyIndex& operator=(const KeyIndex&) = delete;

    // Takes the value of the next position; false when the index would outgrow its bounds
    // (it is then to be dropped).
    bool Append(const CCCellValue& value);
    // Positions appended so far.
    uint32_t Appended() const { return m_appended; }
    uint32_t Size() const { return m_size; }
    // Whether the searches below can be asked for this value: a text, or a number when
    // neither it nor any key of the range is NaN (which equals every number).
    bool Serves(const CCCellValue& probe) const;

    // Positions of the first and last keys equal to the probe; kNone when there is none.
    uint32_t FirstEqual(const CCCellValue& probe, Case order);
    uint32_t LastEqual(const CCCellValue& probe, Case order);
    // The first key that orders after the probe, and the first that does not.
    Key FirstAfter(const CCCellValue& probe, Case order);
    Key FirstNotAfter(const CCCellValue& probe, Case order);
    // The last key of the probe's kind standing before a position.
    Key LastBefore(const CCCellValue& probe, uint32_t position) const;
    // The sign of the key compared with the probe (the key first).
    int Compare(const Key& key, const CCCellValue& probe, Case order) const;

    // The value at a position is now value: the key there is added, erased or replaced, in
    // time linear in the keys of its kind at worst and constant for a key added after the
    // last of its kind (a table typed top-down). False when the index would outgrow its
    // bounds (it is then to be dropped).
    bool Update(uint32_t position, const CCCellValue& value);

private:
    struct Span {
        uint32_t first = kNone;
        uint32_t last = kNone;
    };
    struct Numbers;
    struct Texts;

    uint32_t m_size;
    uint32_t m_appended = 0;
    std::unique_ptr<Numbers> m_numbers;
    std::unique_ptr<Texts> m_texts;
};

}  // namespace ostrel::functions::lookup
