// The ranges formulas read, and which of them contain a given cell. A range becomes an item
// (holding the formulas that depend on it) when a formula first registers on it; the index
// answers "which ranges contain this cell" by row buckets per column, so that a changed
// cell finds the formulas reading it through ranges without looking at unrelated ranges.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "cells/item.h"
#include "refs/region_ref.h"

namespace ostrel::host {

class RangeItem : public CCItem {
public:
    explicit RangeItem(const CCRegionRef& ref) : m_ref(ref) {}
    const CCRef* GetRef() const override { return &m_ref; }
    bool IsEqual(const CCItem* other) const override {
        return other && other->GetRef() && m_ref.IsEqual(other->GetRef());
    }
    bool Contain(const CCRef* ref) const override { return ref && m_ref.Contain(ref); }
    const CCRegionRef& Region() const { return m_ref; }

private:
    CCRegionRef m_ref;
};

class RangeIndex {
public:
    // The item of a normal range, or null.
    RangeItem* Find(const CCRegionRef& range) const;
    // The item of a normal range, created (and indexed) when missing.
    RangeItem* Get(const CCRegionRef& range);
    // Calls f for every range item that contains the cell.
    template <class F>
    void ForEachContaining(unsigned column, unsigned row, F f) const {
        auto it = m_buckets.find(BucketKey(column, row / kBucketRows));
        if (it == m_buckets.end()) return;
        for (RangeItem* item : it->second) {
            const CCRegionRef& r = item->Region();
            if (r.GetFirstRow() <= row && row <= r.GetLastRow()) f(item);
        }
    }
    size_t Size() const { return m_items.size(); }

private:
    static constexpr unsigned kBucketRows = 64;
    static uint64_t Key(const CCRegionRef& r) {
        return uint64_t(r.GetFirstColumn()) << 48 | uint64_t(r.GetFirstRow()) << 32 |
               uint64_t(r.GetLastColumn()) << 16 | r.GetLastRow();
    }
    static uint32_t BucketKey(unsigned column, unsigned bucket) { return column << 16 | bucket; }

    std::unordered_map<uint64_t, std::unique_ptr<RangeItem>> m_items;
    std::unordered_map<uint32_t, std::vector<RangeItem*>> m_buckets;
};

}  // namespace ostrel::host
