#include "range_index.h"

namespace ostrel::host {

RangeItem* RangeIndex::Find(const CCRegionRef& range) const {
    auto it = m_items.find(Key(range));
    return it == m_items.end() ? nullptr : it->second.get();
}

RangeItem* RangeIndex::Get(const CCRegionRef& range) {
    if (!range.IsNormal()) return nullptr;
    auto& slot = m_items[Key(range)];
    if (!slot) {
        slot = std::make_unique<RangeItem>(range);
        for (unsigned c = range.GetFirstColumn(); c <= range.GetLastColumn(); ++c)
            for (unsigned b = range.GetFirstRow() / kBucketRows;
                 b <= range.GetLastRow() / kBucketRows; ++b)
                m_buckets[BucketKey(c, b)].push_back(slot.get());
    }
    return slot.get();
}

}  // namespace ostrel::host
