// SPDX-License-Identifier: Apache-2.0
#include "functions/running_sums.h"

#include <algorithm>
#include <cmath>

#include "functions/arguments.h"
#include "functions/derived_caches.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/refs/region_ref.h"

namespace ostrel::functions {

namespace {
// The grid's rows: no entry ever holds more.
constexpr size_t kGridRows = 65536;
}  // namespace

bool SumFromRunningSums(cells::CTX* ctx, CCFormula* node, const CCRef* cell, double& sum,
                        int& error) {
    if (!node || node->GetType() != FORMULA_REF) return false;
    const CCRef* ref = static_cast<CCRefFormula*>(node)->GetRef();
    if (!ref || ref->GetType() != REF_TYPE_REGION) return false;
    const auto* region = static_cast<const CCRegionRef*>(ref);
    const long height = region->GetHeight();
    if (!region->IsNormal() || region->GetWidth() != 1 || height < kMinRunningSumRows) return false;
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager) return false;
    // A range the manager refuses is left to the walk to fail on, and one it serves in
    // another shape than the grid's is walked.
    auto opens = [&] {
        RangeWalk walk(ctx, node, cell);
        int servedWidth = 0, servedHeight = 0;
        return walk.Opened() && walk.Size(servedWidth, servedHeight) && servedWidth == 1 &&
               servedHeight == height;
    };
    return DerivedCaches::Of(*manager).Sums().Sum(*manager, ref, region->GetFirstColumn(),
                                                  region->GetFirstRow(), uint32_t(height), opens,
                                                  sum, error);
}

RunningSums::Entry* RunningSums::Find(CCCellManager& manager, unsigned column, unsigned first) {
    const engine::ValueChanges& changes = manager.TrackValueChanges();
    CatchUp(changes);
    auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
        return e.column == column && e.first == first;
    });
    if (found == m_entries.end()) {
        // Keys are column and first row, at most 24 bits: one more is never 0.
        const uint32_t key = ((column << 16) | first) + 1;
        uint32_t& seen = m_seen[(key * 2654435761u) >> (32 - kSeenBits)];
        if (seen != key) {
            seen = key;
            return nullptr;
        }
        seen = 0;
        found = Add(column, first, changes);
    }
    found->used = ++m_clock;
    return &*found;
}

bool RunningSums::Answer(Entry& entry, CCCellManager& manager, const CCRef* ref, uint32_t height,
                         double& sum, int& error) {
    if (height == 0 || height > kGridRows) return false;
    // A change below the range waits for a range that reaches it: the sums asked for now
    // lie above it.
    if (entry.changedAt < height) FollowChange(entry, manager, ref);
    if (entry.sums.size() < height) {
        // Rows where the column holds no cell are not read, and add nothing: a whole-column
        // range over a few rows of data costs those rows.
        uint32_t reach = height;
        const long end = manager.GetColumnEnd(entry.column);
        if (end >= 0)
            reach = uint32_t(std::min<long>(height, std::max<long>(end - entry.first, 0)));
        if (entry.sums.size() < reach) {
            if (entry.sums.capacity() < reach) {
                const size_t room =
                    std::min(kGridRows, std::max<size_t>(reach, 2 * entry.sums.capacity()));
                MakeRoom(room - entry.sums.capacity(), entry);
                entry.sums.reserve(room);
            }
            if (!Extend(entry, manager, ref, reach)) return false;
        }
    }
    const size_t known = std::min<size_t>(height, entry.sums.size());
    sum = known ? entry.SumAt(known - 1) : 0;
    error = entry.errorAt < height ? entry.errorCode : 0;
    return true;
}

uint64_t RunningSums::RowsHeld() const {
    uint64_t rows = 0;
    for (const Entry& e : m_entries)
        rows += e.sums.capacity();
    return rows;
}

void RunningSums::CatchUp(const engine::ValueChanges& changes) {
    if (!m_stamped || !m_stamp.SameEpochs(changes)) {
        m_entries.clear();
    } else if (!m_stamp.Current(changes) && !m_entries.empty()) {
        const bool kept =
            changes.ForEachSince(m_stamp.sequence, [&](unsigned column, unsigned row) {
                for (Entry& e : m_entries) {
                    if (e.column != column) continue;
                    if (row >= e.first) Change(e, row - e.first);
                    e.columnCount = changes.ColumnCount(column);
                }
            });
        // Too far behind to tell the rows: an entry whose column changed starts again.
        if (!kept)
            for (Entry& e : m_entries) {
                const uint64_t count = changes.ColumnCount(e.column);
                if (count != e.columnCount) Truncate(e, 0);
                e.columnCount = count;
            }
    }
    m_stamped = true;
    m_stamp.Take(changes);
}

void RunningSums::Truncate(Entry& entry, size_t rows) {
    if (rows >= entry.sums.size()) return;
    entry.sums.resize(rows);
    // Offsets past the cut go with it (kNone and kNoError stand past every cut).
    if (entry.errorAt >= rows) entry.errorAt = kNoError;
    if (entry.shiftFrom >= rows) entry.shiftFrom = kNone, entry.shift = 0;
    if (entry.changedAt >= rows) entry.changedAt = kNone;
    // The number that made the sums inexact is cut: they are exact again, and the bound
    // (frozen while they were not) still covers what is left.
    if (entry.inexactAt >= rows) entry.inexactAt = kNone;
    if (rows == 0) entry.magnitudes = 0;
}

bool RunningSums::KeepsExact(const Entry& entry, double number) {
    return std::fabs(number) <= kExactBound - entry.magnitudes && number == std::floor(number);
}

void RunningSums::Change(Entry& entry, size_t p) {
    if (p >= entry.sums.size() || entry.changedAt == p) return;
    if (entry.changedAt == kNone && entry.Exact() && entry.errorAt == kNoError) {
        entry.changedAt = uint32_t(p);
        return;
    }
    // A second changed row, or sums that cannot follow a change: cut there. A change above
    // it is still followed; one below goes with the rows cut.
    Truncate(entry, p);
}

void RunningSums::FollowChange(Entry& entry, CCCellManager& manager, const CCRef* ref) {
    const size_t p = entry.changedAt;
    entry.changedAt = kNone;
    if (p >= entry.sums.size()) return;
    // Read as Extend reads it.
    CCCellValue value;
    if (!manager.GetValue(ref, &value, p)) value.Set(1);
    const double number = value.IsNumber() ? value.GetNumber() : 0;
    if (value.IsError() || value.IsRef() || !entry.Exact() || entry.errorAt != kNoError ||
        !KeepsExact(entry, number)) {
        Truncate(entry, p);
        return;
    }
    entry.magnitudes += std::fabs(number);
    // Every term is a whole number of at most 2^53: each step below is exact.
    const double delta = number - (entry.SumAt(p) - (p ? entry.SumAt(p - 1) : 0));
    if (delta == 0) return;
    if (entry.shiftFrom == kNone) {
        entry.shiftFrom = uint32_t(p);
        entry.shift = delta;
    } else if (p <= entry.shiftFrom) {
        // The shift moves up to p: the rows it now reaches and did not are stored without it.
        for (size_t k = p; k < entry.shiftFrom; ++k)
            entry.sums[k] -= entry.shift;
        entry.shiftFrom = uint32_t(p);
        entry.shift += delta;
    } else {
        for (size_t k = p; k < entry.sums.size(); ++k)
            entry.sums[k] += delta;
    }
}

void RunningSums::Unshift(Entry& entry) {
    if (entry.shiftFrom == kNone) return;
    for (size_t k = entry.shiftFrom; k < entry.sums.size(); ++k)
        entry.sums[k] += entry.shift;
    entry.shiftFrom = kNone;
    entry.shift = 0;
}

void RunningSums::Count(Entry& entry, size_t p, double number) {
    if (!entry.Exact()) return;
    if (KeepsExact(entry, number)) {
        entry.magnitudes += std::fabs(number);
    } else {
        Unshift(entry);
        entry.inexactAt = uint32_t(p);
    }
}

std::vector<RunningSums::Entry>::iterator RunningSums::Add(unsigned column, unsigned first,
                                                           const engine::ValueChanges& changes) {
    if (m_entries.size() >= kEntries) {
        auto oldest =
            std::min_element(m_entries.begin(), m_entries.end(),
                             [](const Entry& a, const Entry& b) { return a.used < b.used; });
        m_entries.erase(oldest);
    }
    Entry& entry = m_entries.emplace_back();
    entry.column = column;
    entry.first = first;
    entry.columnCount = changes.ColumnCount(column);
    return m_entries.end() - 1;
}

void RunningSums::MakeRoom(uint64_t rows, const Entry& keep) {
    uint64_t held = RowsHeld();
    while (held + rows > kMaxRows) {
        Entry* oldest = nullptr;
        for (Entry& e : m_entries)
            if (&e != &keep && e.sums.capacity() && (!oldest || e.used < oldest->used)) oldest = &e;
        if (!oldest) return;
        held -= oldest->sums.capacity();
        Truncate(*oldest, 0);
        oldest->sums = {};
    }
}

bool RunningSums::Extend(Entry& entry, CCCellManager& manager, const CCRef* ref, uint32_t height) {
    double sum = entry.sums.empty() ? 0 : entry.SumAt(entry.sums.size() - 1);
    for (uint32_t p = uint32_t(entry.sums.size()); p < height; ++p) {
        // What the manager's NextValue reads at this position.
        CCCellValue value;
        if (!manager.GetValue(ref, &value, p)) value.Set(1);
        if (value.IsRef()) return false;
        if (value.IsNumber()) {
            Count(entry, p, value.GetNumber());
            sum += value.GetNumber();
        } else if (value.IsError() && entry.errorAt == kNoError) {
            entry.errorAt = p;
            entry.errorCode = value.GetError();
        }
        entry.sums.push_back(p >= entry.shiftFrom ? sum - entry.shift : sum);
    }
    return true;
}

}  // namespace ostrel::functions
