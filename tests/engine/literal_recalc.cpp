// SPDX-License-Identifier: Apache-2.0
#include "literal_recalc.h"

#include <list>

#include "ostrel/cells/item.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_list.h"

namespace testing_support {

std::vector<std::unique_ptr<CCRef>> LiteralRecalcOrder(CCCellManager& manager,
                                                       const CCCellManager::CCRecalcList& process) {
    std::list<std::unique_ptr<CCRef>> entries;
    for (const auto& ref : process.GetStdList())
        entries.emplace_back(ref->Copy());
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const CCRef* ref = it->get();
        if (ref->GetType() == REF_TYPE_REMOTE) continue;
        CCItem* item = manager.LookupItem(ref);
        if (!item || !item->IsFormulaLink()) continue;
        CCRefList* dependents = item->LoadDependents(manager.GetCTX());
        for (CCRefList* node = dependents; node; node = node->m_pNext) {
            bool referenceFirst = false;
            auto found = entries.end();
            for (auto e = entries.begin(); e != entries.end(); ++e) {
                if ((*e)->IsEqual(node->m_pRef)) {
                    found = e;
                    break;
                }
                if (!referenceFirst && (*e)->IsEqual(ref)) referenceFirst = true;
            }
            if (found == entries.end())
                entries.emplace_back(node->m_pRef->Copy());
            else if (!referenceFirst)
                entries.splice(entries.end(), entries, found);
        }
        RefListFree(dependents, 0);
    }
    std::vector<std::unique_ptr<CCRef>> order;
    for (auto& ref : entries)
        if (ref->GetType() != REF_TYPE_REMOTE) order.push_back(std::move(ref));
    return order;
}

}  // namespace testing_support
