// SPDX-License-Identifier: Apache-2.0
#include "functions/lookup_cache.h"

#include <algorithm>

#include "functions/derived_caches.h"
#include "ostrel/engine/cell_manager.h"
#include "platform/text/unicode.h"

namespace ostrel::functions::lookup {

KeyIndex* IndexCache::Find(cells::CTX* ctx, const SheetRange& range) {
    CCCellManager* manager = range.Manager();
    if (!manager || !range.Ref() || range.Size() > kMaxPositions) return nullptr;
    const engine::ValueChanges& changes = manager->TrackValueChanges();
    const size_t hash = range.Ref()->Hash();
    Entry* entry = nullptr;
    for (const auto& e : m_entries) {
        if (e->hash == hash && e->ref->IsEqual(range.Ref())) {
            entry = e.get();
            break;
        }
    }
    if (!entry) {
        Add(range, hash);
        return nullptr;
    }
    entry->used = ++m_clock;
    const bool current = CatchUp(ctx, *entry, range, changes);
    Stamp(*entry, range, changes);
    if (!current) {
        entry->index.reset();
        entry->refused = false;
        return nullptr;
    }
    if (!entry->index) {
        if (entry->refused) return nullptr;
        MakeRoom(range.Size(), *entry);
        auto index = std::make_unique<KeyIndex>(range.Size());
        CCCellValue value;
        for (uint32_t p = 0; p < range.Size(); ++p) {
            range.ValueAt(ctx, p, value);
            if (!index->Append(value)) {
                entry->refused = true;
                return nullptr;
            }
        }
        entry->index = std::move(index);
    }
    return entry->index.get();
}

bool IndexCache::CatchUp(cells::CTX* ctx, Entry& entry, const SheetRange& range,
                         const engine::ValueChanges& changes) {
    if (!entry.stamp.SameEpochs(changes) || entry.collation != text::GetCollationLocale())
        return false;
    if (entry.stamp.Current(changes)) return true;
    m_touched.clear();
    const bool kept =
        changes.ForEachSince(entry.stamp.sequence, [&](unsigned column, unsigned row) {
            uint32_t position;
            if (range.PositionOf(column, row, position)) m_touched.push_back(position);
        });
    // Too far behind to tell the positions: current only when no cell of its columns changed.
    if (!kept)
        return changes.ColumnsCount(range.FirstColumn(), range.LastColumn()) == entry.columns;
    if (m_touched.empty()) return true;
    if (m_touched.size() > kMostUpdates) return false;
    // Nothing to follow: the index about to be made reads the values as they are now. A
    // column searched once for each number typed into it is indexed that way, instead of
    // being walked for every search while it is typed.
    if (!entry.index) return true;
    std::sort(m_touched.begin(), m_touched.end());
    m_touched.erase(std::unique(m_touched.begin(), m_touched.end()), m_touched.end());
    CCCellValue value;
    for (uint32_t position : m_touched) {
        range.ValueAt(ctx, position, value);
        if (!entry.index->Update(position, value)) return false;
    }
    return true;
}

void IndexCache::Stamp(Entry& entry, const SheetRange& range, const engine::ValueChanges& changes) {
    entry.stamp.Take(changes);
    entry.columns = changes.ColumnsCount(range.FirstColumn(), range.LastColumn());
    entry.collation = text::GetCollationLocale();
}

IndexCache::Entry& IndexCache::Add(const SheetRange& range, size_t hash) {
    if (m_entries.size() >= kEntries) {
        auto oldest =
            std::min_element(m_entries.begin(), m_entries.end(),
                             [](const auto& a, const auto& b) { return a->used < b->used; });
        m_entries.erase(oldest);
    }
    auto entry = std::make_unique<Entry>();
    entry->ref.reset(range.Ref()->Copy());
    entry->hash = hash;
    entry->used = ++m_clock;
    Stamp(*entry, range, range.Manager()->TrackValueChanges());
    m_entries.push_back(std::move(entry));
    return *m_entries.back();
}

void IndexCache::MakeRoom(uint64_t positions, const Entry& keep) {
    for (;;) {
        uint64_t held = 0;
        Entry* oldest = nullptr;
        for (const auto& e : m_entries) {
            if (!e->index) continue;
            held += e->index->Size();
            if (e.get() != &keep && (!oldest || e->used < oldest->used)) oldest = e.get();
        }
        if (held + positions <= kMaxPositions || !oldest) return;
        oldest->index.reset();
    }
}

KeyIndex* FindIndex(cells::CTX* ctx, const SheetRange& range) {
    CCCellManager* manager = range.Manager();
    if (!manager) return nullptr;
    return DerivedCaches::Of(*manager).Lookups().Find(ctx, range);
}

}  // namespace ostrel::functions::lookup
