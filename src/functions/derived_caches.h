// SPDX-License-Identifier: Apache-2.0
// The structures the functions derive from one document's values, held together in the one
// slot the document keeps for them (CCCellManager::SetDerivedValues) and dropped with its
// contents: the lookup indexes of its ranges, the running sums of its columns and the results
// of aggregations over its ranges, each made when first needed, so that a document that never
// searches or totals keeps none of them.
#pragma once

#include <memory>

#include "functions/aggregate_memo.h"
#include "functions/lookup_cache.h"
#include "functions/running_sums.h"
#include "ostrel/engine/value_changes.h"

class CCCellManager;

namespace ostrel::functions {

class DerivedCaches final : public engine::DerivedValues {
public:
    // The manager's caches, put in its slot (in place of whatever else was there) when it
    // has none.
    static DerivedCaches& Of(CCCellManager& manager);

    lookup::IndexCache& Lookups();
    RunningSums& Sums();
    AggregateMemo& Aggregates();

private:
    std::unique_ptr<lookup::IndexCache> m_lookups;
    std::unique_ptr<RunningSums> m_sums;
    std::unique_ptr<AggregateMemo> m_aggregates;
};

}  // namespace ostrel::functions
