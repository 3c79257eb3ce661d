// SPDX-License-Identifier: Apache-2.0
#include "functions/derived_caches.h"

#include <typeinfo>

#include "ostrel/engine/cell_manager.h"

namespace ostrel::functions {

DerivedCaches& DerivedCaches::Of(CCCellManager& manager) {
    // Asked for by every long SUM: the exact type is a cheaper question than a cast.
    engine::DerivedValues* slot = manager.GetDerivedValues();
    if (slot && typeid(*slot) == typeid(DerivedCaches)) return static_cast<DerivedCaches&>(*slot);
    auto made = std::make_unique<DerivedCaches>();
    DerivedCaches& caches = *made;
    manager.SetDerivedValues(std::move(made));
    return caches;
}

lookup::IndexCache& DerivedCaches::Lookups() {
    if (!m_lookups) m_lookups = std::make_unique<lookup::IndexCache>();
    return *m_lookups;
}

RunningSums& DerivedCaches::Sums() {
    if (!m_sums) m_sums = std::make_unique<RunningSums>();
    return *m_sums;
}

AggregateMemo& DerivedCaches::Aggregates() {
    if (!m_aggregates) m_aggregates = std::make_unique<AggregateMemo>();
    return *m_aggregates;
}

}  // namespace ostrel::functions
