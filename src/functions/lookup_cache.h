// SPDX-License-Identifier: Apache-2.0
// The lookup indexes of a document's ranges, kept by the document (CCCellManager) that serves
// their cells. A range is indexed when it is searched a second time with at most kMostUpdates
// of its cells changed in between, so that a range searched once, or rewritten between every
// two searches, costs a walk and no more. The document's record of stored values keeps each
// index exact:
// changes outside the range pass, changes inside are followed in place (a key added, removed
// or replaced), and an index behind by more than kMostUpdates changes of its range, or by
// changes the record no longer tells apart, is dropped. A change of the collation locale
// drops them all. At most kEntries ranges and kMaxPositions positions are kept, the least
// recently searched going first.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "functions/lookup_index.h"
#include "functions/lookup_range.h"
#include "functions/value_stamp.h"
#include "ostrel/engine/value_changes.h"

namespace ostrel::functions::lookup {

class IndexCache {
public:
    static constexpr size_t kEntries = 32;
    static constexpr uint64_t kMaxPositions = uint64_t(1) << 21;
    static constexpr size_t kMostUpdates = 64;

    // The index of the range, valid until the next call on this cache; null when the range
    // is to be walked this time.
    KeyIndex* Find(cells::CTX* ctx, const SheetRange& range);

private:
    struct Entry {
        std::unique_ptr<CCRef> ref;
        size_t hash = 0;
        std::unique_ptr<KeyIndex> index;  // null while the range was only seen
        bool refused = false;             // too many texts to index, until it changes
        // What the values were when the entry was last brought up to date.
        ValueStamp stamp;
        uint64_t columns = 0;
        std::string collation;
        uint64_t used = 0;
    };
    // Whether the entry still describes the range's values, following the changes since
    // into its index when it has one.
    bool CatchUp(cells::CTX* ctx, Entry& entry, const SheetRange& range,
                 const engine::ValueChanges& changes);
    void Stamp(Entry& entry, const SheetRange& range, const engine::ValueChanges& changes);
    Entry& Add(const SheetRange& range, size_t hash);
    // Drops indexes, least recently used first, until positions more fit.
    void MakeRoom(uint64_t positions, const Entry& keep);

    std::vector<std::unique_ptr<Entry>> m_entries;
    uint64_t m_clock = 0;
    std::vector<uint32_t> m_touched;  // positions changed since an entry's stamp
};

// The index of a range through the cache of the document that serves it (made on first use,
// in the document's DerivedCaches); null when the range is to be walked.
KeyIndex* FindIndex(cells::CTX* ctx, const SheetRange& range);

}  // namespace ostrel::functions::lookup
