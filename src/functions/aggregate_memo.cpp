// SPDX-License-Identifier: Apache-2.0
#include "functions/aggregate_memo.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "functions/arguments.h"
#include "functions/derived_caches.h"
#include "functions/lookup_range.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/refs/region_ref.h"
#include "platform/text/unicode.h"

namespace ostrel::functions {

namespace {

// Adds the range a node names to the key: false unless it is a cell or range of manager's
// own grid and the key has room.
bool AddRange(cells::CTX* ctx, CCCellManager* manager, CCFormula* node, AggregateMemo::Key& key) {
    lookup::SheetRange range;
    if (!node || node->GetType() != FORMULA_REF || key.count == AggregateMemo::kMostRanges ||
        !range.Resolve(ctx, static_cast<CCRefFormula*>(node)->GetRef()) ||
        range.Manager() != manager)
        return false;
    key.ranges[key.count++] = {range.FirstColumn(), range.FirstRow(), range.Width(),
                               range.Size() / range.Width()};
    return true;
}

// The cells of the ranges a node names, from the node alone; 0 for anything but a range.
uint64_t CellsOf(const CCFormula* node) {
    if (!node || node->GetType() != FORMULA_REF) return 0;
    const CCRef* ref = static_cast<const CCRefFormula*>(node)->GetRef();
    if (!ref || ref->GetType() != REF_TYPE_REGION) return 0;
    const auto* region = static_cast<const CCRegionRef*>(ref);
    return uint64_t(std::max(0L, region->GetWidth())) * uint64_t(std::max(0L, region->GetHeight()));
}

// The key of the aggregation when every argument is a cell or range of manager's own grid
// and their ranges hold kLeastCells cells at least.
bool KeyOf(cells::CTX* ctx, CCCellManager* manager, AggregateRoutine routine,
           const CCFormulaList* args, AggregateMemo::Key& key) {
    // Most aggregations read a few cells (MAX(A1,C1), AVERAGE(A2:E2)): they are told apart
    // from the arguments' nodes alone, before any question to the document.
    uint64_t cells = 0;
    for (const CCFormulaList* a = args; a; a = a->m_pNext) {
        if (!a->m_pFormula || a->m_pFormula->GetType() != FORMULA_REF) return false;
        cells += CellsOf(a->m_pFormula);
    }
    if (cells < AggregateMemo::kLeastCells) return false;
    key.routine = routine;
    for (const CCFormulaList* a = args; a; a = a->m_pNext)
        if (!AddRange(ctx, manager, a->m_pFormula, key)) return false;
    return true;
}

// Stands for the numbers of a range in the memo's keys.
int NumbersOfRange(cells::CTX*, CCCellValue&, const CCFormulaList*, const CCRef*) {
    return 4;
}

// The fold of the one range an argument names, as the statistics walk it; false when it does
// not open.
bool FoldRange(cells::CTX* ctx, CCFormula* node, const CCRef* cell, AggregateMemo::Computed& c) {
    RangeWalk walk(ctx, node, cell, true);
    if (!walk.Opened()) return false;
    CCCellValue value;
    for (int64_t position = 0; !c.fold.error && walk.Next(value); ++position)
        c.Read(value, position);
    return true;
}

// A computation begun: its stamp is taken before the ranges are read, so that whatever is
// stored into them meanwhile, by a host's code that reading runs, is a change after it.
struct Begun {
    CCCellManager& manager;
    DerivedCaches& caches;
    const engine::ValueChanges& changes;
    uint64_t dereferenced = RangeWalk::Dereferenced();

    AggregateMemo::Computed Start(const AggregateMemo::Key& key) const {
        AggregateMemo::Computed computed;
        computed.Stamp(key, changes);
        return computed;
    }
    // Whether the result may be kept: read through no reference, and the document not
    // emptied (its caches and record with it) by a host's code meanwhile.
    bool Keepable() const {
        return RangeWalk::Dereferenced() == dereferenced && manager.GetDerivedValues() == &caches &&
               &manager.TrackValueChanges() == &changes;
    }
};

}  // namespace

int RememberedAggregate(AggregateRoutine routine, AggregateFold fold, cells::CTX* ctx,
                        CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    AggregateMemo::Key key;
    if (!manager || !KeyOf(ctx, manager, routine, args, key))
        return routine(ctx, result, args, cell);
    DerivedCaches& caches = DerivedCaches::Of(*manager);
    const engine::ValueChanges& changes = manager->TrackValueChanges();
    AggregateMemo& memo = caches.Aggregates();
    const bool folded = fold != AggregateFold::none && key.count == 1;
    const AggregateMemo::Computed* kept = memo.Current(key, *manager, changes);
    if (!kept && folded) kept = memo.Extend(key, *manager, changes);
    if (kept) return kept->Give(result);
    if (!memo.AskedBefore(key, folded)) return routine(ctx, result, args, cell);
    const Begun begun{*manager, caches, changes};
    AggregateMemo::Computed computed = begun.Start(key);
    if (folded && FoldRange(ctx, args->m_pFormula, cell, computed)) {
        computed.kind = fold;
        computed.Settle();
    } else {
        computed.code = routine(ctx, computed.result, args, cell);
    }
    const int code = computed.Give(result);
    if (begun.Keepable()) memo.Keep(key, std::move(computed));
    return code;
}

const AggregateMemo::Fold* RangeNumbers(cells::CTX* ctx, CCFormula* node, const CCRef* cell) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    AggregateMemo::Key key;
    key.routine = NumbersOfRange;
    if (!manager || CellsOf(node) < AggregateMemo::kLeastCells ||
        !AddRange(ctx, manager, node, key))
        return nullptr;
    DerivedCaches& caches = DerivedCaches::Of(*manager);
    const engine::ValueChanges& changes = manager->TrackValueChanges();
    AggregateMemo& memo = caches.Aggregates();
    const AggregateMemo::Computed* kept = memo.Current(key, *manager, changes);
    if (!kept) kept = memo.Extend(key, *manager, changes);
    if (kept) return kept->fold.nan ? nullptr : &kept->fold;
    if (!memo.AskedBefore(key, true)) return nullptr;
    const Begun begun{*manager, caches, changes};
    AggregateMemo::Computed computed = begun.Start(key);
    computed.kind = AggregateFold::numbers;
    computed.fold.gather = true;
    computed.collation = text::GetCollationLocale();
    if (!FoldRange(ctx, node, cell, computed)) return nullptr;
    computed.fold.Order();
    if (computed.fold.nan || !begun.Keepable()) return nullptr;
    return &memo.Keep(key, std::move(computed)).fold;
}

void AggregateMemo::Computed::Read(const CCCellValue& value, int64_t position) {
    if (value.IsEmpty()) return;
    if (!value.IsError()) {
        fold.Add(value);
    } else if (!fold.error || position < errorAt) {
        // The walk's result is the first error in its order, wherever this one was read.
        fold.error = value.GetError();
        errorAt = position;
    }
    firstRead = std::min(firstRead, position);
    lastRead = std::max(lastRead, position);
}

void AggregateMemo::Fold::Add(const CCCellValue& value) {
    if (error) return;
    nonEmpty += 1;
    if (gather && value.IsText() && value.GetText())
        texts[text::CollationKey(value.GetText(), false)] += 1;
    if (!value.IsNumber()) return;
    const double x = value.GetNumber();
    if (numbers == 0 || x < low) low = x;
    if (numbers == 0 || x > high) high = x;
    numbers += 1;
    sum += x;
    moments.Add(x);
    if (!gather) return;
    if (std::isnan(x)) {
        nan = true;
        return;
    }
    magnitudes += std::fabs(x);
    if (x != std::trunc(x)) fractional = true;
    recent.push_back(x);
    // A few hundred numbers scanned unordered cost less than a merge for each one added.
    if (recent.size() >= 256) Order();
}

void AggregateMemo::Fold::Order() {
    if (recent.empty()) return;
    std::sort(recent.begin(), recent.end());
    const size_t middle = ordered.size();
    ordered.insert(ordered.end(), recent.begin(), recent.end());
    std::inplace_merge(ordered.begin(), ordered.begin() + ptrdiff_t(middle), ordered.end());
    recent.clear();
    prefix.clear();
}

void AggregateMemo::Fold::SumsBelowAndAt(double x, double& below, double& at) const {
    if (prefix.size() != ordered.size() + 1) {
        prefix.assign(1, 0.0);
        prefix.reserve(ordered.size() + 1);
        for (double y : ordered)
            prefix.push_back(prefix.back() + y);
    }
    const auto [first, last] = std::equal_range(ordered.begin(), ordered.end(), x);
    below = prefix[size_t(first - ordered.begin())];
    at = prefix[size_t(last - ordered.begin())] - below;
    for (double y : recent) {
        if (y < x)
            below += y;
        else if (y == x)
            at += y;
    }
}

double AggregateMemo::Fold::Above(double x) const {
    return double(ordered.end() - std::upper_bound(ordered.begin(), ordered.end(), x)) +
           double(std::count_if(recent.begin(), recent.end(), [x](double y) { return y > x; }));
}

double AggregateMemo::Fold::Smallest(size_t k) const {
    std::vector<double> added(recent);
    std::sort(added.begin(), added.end());
    // The first k + 1 numbers in order take i of the added ones and the rest from ordered:
    // the i where neither side's last taken exceeds the other's first left out.
    const size_t take = k + 1;
    size_t low = take > ordered.size() ? take - ordered.size() : 0;
    size_t high = std::min(take, added.size());
    for (;;) {
        const size_t i = low + (high - low) / 2, j = take - i;
        if (i < high && j > 0 && ordered[j - 1] > added[i]) {
            low = i + 1;
        } else if (i > low && j < ordered.size() && added[i - 1] > ordered[j]) {
            high = i - 1;
        } else {
            if (i == 0) return ordered[j - 1];
            if (j == 0) return added[i - 1];
            return std::max(ordered[j - 1], added[i - 1]);
        }
    }
}

double AggregateMemo::Fold::EqualTexts(std::u16string_view text) const {
    auto found = texts.find(text::CollationKey(text, false));
    return found == texts.end() ? 0 : found->second;
}

double AggregateMemo::Fold::Below(double x) const {
    return double(std::lower_bound(ordered.begin(), ordered.end(), x) - ordered.begin()) +
           double(std::count_if(recent.begin(), recent.end(), [x](double y) { return y < x; }));
}

int AggregateMemo::Fold::Result(AggregateFold kind, CCCellValue& result) const {
    if (error) return error;
    double x = 0;
    switch (kind) {
        case AggregateFold::minimum:
            x = low;  // 0 without numbers, as the walk starts from
            break;
        case AggregateFold::maximum:
            x = high;
            break;
        case AggregateFold::count:
            x = nonEmpty;
            break;
        case AggregateFold::countNumbers:
            x = numbers;
            break;
        case AggregateFold::average:
            if (numbers == 0) return 2;
            x = sum / numbers;
            break;
        case AggregateFold::squaredDeviations:
            if (moments.n < 1) return 2;
            x = moments.m2;
            break;
        case AggregateFold::sampleVariance:
        case AggregateFold::sampleDeviation:
            if (moments.n < 2) return 2;
            x = moments.m2 / (moments.n - 1);
            if (kind == AggregateFold::sampleDeviation) x = std::sqrt(x);
            break;
        case AggregateFold::populationVariance:
        case AggregateFold::populationDeviation:
            if (moments.n < 1) return 2;
            x = moments.m2 / moments.n;
            if (kind == AggregateFold::populationDeviation) x = std::sqrt(x);
            break;
        case AggregateFold::none:
        case AggregateFold::numbers:
            return 4;
    }
    if (!std::isfinite(x)) return 3;
    SetNumber(result, x);
    return 0;
}

size_t AggregateMemo::Key::Hash() const {
    size_t hash = std::hash<const void*>()(reinterpret_cast<const void*>(routine));
    for (size_t i = 0; i < count; ++i)
        for (unsigned part : {ranges[i].column, ranges[i].row, ranges[i].width, ranges[i].height})
            hash = hash * 1000003u ^ part;
    return hash;
}

bool AggregateMemo::AskedBefore(const Key& key, bool anyHeight) {
    Key asked = key;
    if (anyHeight) asked.ranges[0].height = 0;
    const size_t hash = asked.Hash();
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

bool AggregateMemo::CatchUp(Entry& entry, CCCellManager& manager,
                            const engine::ValueChanges& changes) {
    Computed& c = entry.computed;
    if (!c.stamp.SameEpochs(changes)) return false;
    if (c.fold.gather && c.collation != text::GetCollationLocale()) return false;
    if (c.stamp.Current(changes)) return true;
    const Key& key = entry.key;
    const bool folded = c.kind != AggregateFold::none;
    // Sums must be added in walk order; counts, extremes and the numbers in order need not.
    const bool anyOrder = c.kind == AggregateFold::minimum || c.kind == AggregateFold::maximum ||
                          c.kind == AggregateFold::count || c.kind == AggregateFold::countNumbers ||
                          c.kind == AggregateFold::numbers;
    bool other = false;
    m_added.clear();
    const bool kept = changes.ForEachSince(c.stamp.sequence, [&](unsigned column, unsigned row) {
        for (size_t i = 0; i < key.count; ++i) {
            const Range& range = key.ranges[i];
            if (!range.Holds(column, row)) continue;
            const int64_t position =
                int64_t(row - range.row) * range.width + int64_t(column - range.column);
            // Beyond the fold's last value or before its first, the position was empty when
            // last read.
            if ((folded && position > c.lastRead) || (anyOrder && position < c.firstRead))
                m_added.push_back(uint32_t(position));
            else
                other = true;
        }
    });
    // Too far behind to tell the positions: unchanged only when no cell of its columns was.
    if (!kept) return ColumnsCount(key, changes) == c.columns;
    if (other) return false;
    if (m_added.empty()) return true;
    // Each position once (a cell stored into twice holds one value), in walk order.
    std::sort(m_added.begin(), m_added.end());
    m_added.erase(std::unique(m_added.begin(), m_added.end()), m_added.end());
    CCCellValue value;
    for (uint32_t position : m_added) {
        if (!ReadAt(manager, key.ranges[0], position, value)) return false;
        c.Read(value, position);
    }
    c.Settle();
    return true;
}

bool AggregateMemo::ReadAt(CCCellManager& manager, const Range& range, uint32_t position,
                           CCCellValue& value) {
    // Through the range, one cell of it, as the walk's document serves the position.
    const auto column = static_cast<unsigned char>(range.column + position % range.width);
    const auto row = static_cast<uint16_t>(range.row + position / range.width);
    CCRegionRef at(column, row, column, row);
    if (!manager.GetValue(&at, &value, 0)) value.Set(1);
    return !value.IsRef();
}

const AggregateMemo::Computed* AggregateMemo::Extend(const Key& key, CCCellManager& manager,
                                                     const engine::ValueChanges& changes) {
    const Range& want = key.ranges[0];
    Entry* shorter = nullptr;
    for (Entry& entry : m_entries) {
        const Range& range = entry.key.ranges[0];
        if (entry.key.routine == key.routine && entry.key.count == 1 &&
            entry.computed.kind != AggregateFold::none && range.column == want.column &&
            range.row == want.row && range.width == want.width && range.height < want.height &&
            (!shorter || range.height > shorter->key.ranges[0].height))
            shorter = &entry;
    }
    if (!shorter) return nullptr;
    auto drop = [&]() -> const Computed* {
        m_entries.erase(m_entries.begin() + (shorter - m_entries.data()));
        return nullptr;
    };
    if (!CatchUp(*shorter, manager, changes)) return drop();
    Computed& c = shorter->computed;
    // Taken before the rows below are read, as a computation's stamp is.
    c.Stamp(key, changes);
    // After an error the walk reads nothing more: the fold's result stands.
    const uint32_t end = want.width * want.height;
    CCCellValue value;
    for (uint32_t p = shorter->key.ranges[0].width * shorter->key.ranges[0].height;
         !c.fold.error && p < end; ++p) {
        if (!ReadAt(manager, want, p, value)) return drop();
        c.Read(value, p);
    }
    c.Settle();
    shorter->key = key;
    shorter->used = ++m_clock;
    return &c;
}

const AggregateMemo::Computed* AggregateMemo::Current(const Key& key, CCCellManager& manager,
                                                      const engine::ValueChanges& changes) {
    auto found = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const Entry& entry) { return entry.key == key; });
    if (found == m_entries.end()) return nullptr;
    if (!CatchUp(*found, manager, changes)) {
        m_entries.erase(found);
        return nullptr;
    }
    // Brought forward, so that the next question walks only the changes after this one.
    found->computed.Stamp(key, changes);
    found->used = ++m_clock;
    return &found->computed;
}

const AggregateMemo::Computed& AggregateMemo::Keep(const Key& key, Computed computed) {
    auto same = std::find_if(m_entries.begin(), m_entries.end(),
                             [&](const Entry& entry) { return entry.key == key; });
    if (same == m_entries.end()) {
        if (m_entries.size() >= kEntries)
            same = std::min_element(m_entries.begin(), m_entries.end(),
                                    [](const Entry& a, const Entry& b) { return a.used < b.used; });
        else
            same = m_entries.emplace(m_entries.end());
    }
    same->key = key;
    same->computed = std::move(computed);
    same->used = ++m_clock;
    return same->computed;
}

}  // namespace ostrel::functions
