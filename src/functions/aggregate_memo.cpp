// SPDX-License-Identifier: Apache-2.0
#include "functions/aggregate_memo.h"

#include <algorithm>
#include <functional>

#include "functions/arguments.h"
#include "functions/derived_caches.h"
#include "functions/lookup_range.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/refs/region_ref.h"

namespace ostrel::functions {

namespace {

// The key of the aggregation when every argument is a cell or range of manager's own grid
// and their ranges hold kLeastCells cells at least.
bool KeyOf(cells::CTX* ctx, CCCellManager* manager, AggregateRoutine routine,
           const CCFormulaList* args, AggregateMemo::Key& key) {
    // Most aggregations read a few cells (MAX(A1,C1), AVERAGE(A2:E2)): they are told apart
    // from the arguments' nodes alone, before any question to the document.
    uint64_t cells = 0;
    for (const CCFormulaList* a = args; a; a = a->m_pNext) {
        if (!a->m_pFormula || a->m_pFormula->GetType() != FORMULA_REF) return false;
        const CCRef* ref = static_cast<CCRefFormula*>(a->m_pFormula)->GetRef();
        if (!ref || ref->GetType() != REF_TYPE_REGION) continue;
        const auto* region = static_cast<const CCRegionRef*>(ref);
        cells += uint64_t(std::max(0L, region->GetWidth())) *
                 uint64_t(std::max(0L, region->GetHeight()));
    }
    if (cells < AggregateMemo::kLeastCells) return false;
    key.routine = routine;
    for (const CCFormulaList* a = args; a; a = a->m_pNext) {
        lookup::SheetRange range;
        if (!range.Resolve(ctx, static_cast<CCRefFormula*>(a->m_pFormula)->GetRef()) ||
            range.Manager() != manager)
            return false;
        if (key.count == AggregateMemo::kMostRanges) return false;
        key.ranges[key.count++] = {range.FirstColumn(), range.FirstRow(), range.Width(),
                                   range.Size() / range.Width()};
    }
    return true;
}

}  // namespace

int RememberedAggregate(AggregateRoutine routine, cells::CTX* ctx, CCCellValue& result,
                        const CCFormulaList* args, const CCRef* cell) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    AggregateMemo::Key key;
    if (!manager || !KeyOf(ctx, manager, routine, args, key))
        return routine(ctx, result, args, cell);
    DerivedCaches& caches = DerivedCaches::Of(*manager);
    const engine::ValueChanges& changes = manager->TrackValueChanges();
    int code = 0;
    AggregateMemo& memo = caches.Aggregates();
    if (memo.Find(key, changes, code, result)) return code;
    if (!memo.AskedBefore(key)) return routine(ctx, result, args, cell);
    // Taken before the ranges are read: whatever is stored into them meanwhile, by a host's
    // code that reading runs, is then a change after the stamp.
    ValueStamp stamp;
    stamp.Take(changes);
    const uint64_t columns = AggregateMemo::ColumnsCount(key, changes);
    const uint64_t dereferenced = RangeWalk::Dereferenced();
    code = routine(ctx, result, args, cell);
    // A host's code may also have emptied the document, its caches and record with it.
    if (RangeWalk::Dereferenced() == dereferenced && manager->GetDerivedValues() == &caches &&
        &manager->TrackValueChanges() == &changes)
        caches.Aggregates().Keep(key, stamp, columns, code, result);
    return code;
}

size_t AggregateMemo::Key::Hash() const {
    size_t hash = std::hash<const void*>()(reinterpret_cast<const void*>(routine));
    for (size_t i = 0; i < count; ++i)
        for (unsigned part : {ranges[i].column, ranges[i].row, ranges[i].width, ranges[i].height})
            hash = hash * 1000003u ^ part;
    return hash;
}

bool AggregateMemo::AskedBefore(const Key& key) {
    const size_t hash = key.Hash();
    if (std::find(m_asked.begin(), m_asked.end(), hash) != m_asked.end()) return true;
    m_asked[m_nextAsked] = hash;
    m_nextAsked = (m_nextAsked + 1) % m_asked.size();
    return false;
}

uint64_t AggregateMemo::ColumnsCount(const Key& key, const engine::ValueChanges& changes) {
    uint64_t count = 0;
    for (size_t i = 0; i < key.count; ++i)
        count += changes.ColumnsCount(key.ranges[i].column,
                                      key.ranges[i].column + key.ranges[i].width - 1);
    return count;
}

bool AggregateMemo::Unchanged(const Entry& entry, const engine::ValueChanges& changes) {
    if (!entry.stamp.SameEpochs(changes)) return false;
    if (entry.stamp.Current(changes)) return true;
    bool inside = false;
    const bool kept =
        changes.ForEachSince(entry.stamp.sequence, [&](unsigned column, unsigned row) {
            for (size_t i = 0; i < entry.key.count; ++i)
                inside = inside || entry.key.ranges[i].Holds(column, row);
        });
    // Too far behind to tell the positions: unchanged only when no cell of its columns was.
    if (!kept) return ColumnsCount(entry.key, changes) == entry.columns;
    return !inside;
}

bool AggregateMemo::Find(const Key& key, const engine::ValueChanges& changes, int& code,
                         CCCellValue& result) {
    auto found = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const Entry& entry) { return entry.key == key; });
    if (found == m_entries.end()) return false;
    if (!Unchanged(*found, changes)) {
        m_entries.erase(found);
        return false;
    }
    // Brought forward, so that the next question walks only the changes after this one.
    found->stamp.Take(changes);
    found->columns = ColumnsCount(key, changes);
    found->used = ++m_clock;
    code = found->code;
    if (code == 0) result = found->result;
    return true;
}

void AggregateMemo::Keep(const Key& key, const ValueStamp& stamp, uint64_t columns, int code,
                         const CCCellValue& result) {
    auto same = std::find_if(m_entries.begin(), m_entries.end(),
                             [&](const Entry& entry) { return entry.key == key; });
    if (same == m_entries.end()) {
        if (m_entries.size() >= kEntries)
            same = std::min_element(m_entries.begin(), m_entries.end(),
                                    [](const Entry& a, const Entry& b) { return a.used < b.used; });
        else
            same = m_entries.emplace(m_entries.end());
    }
    Entry& entry = *same;
    entry.key = key;
    entry.code = code;
    entry.result = result;
    entry.stamp = stamp;
    entry.columns = columns;
    entry.used = ++m_clock;
}

}  // namespace ostrel::functions
