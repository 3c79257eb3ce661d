// Recalculation of a manager without a workbook: changed references wait in the process
// list until their dependents are collected into the recalc list, which the idle slices
// work through in order.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "cells/item.h"
#include "engine/cell_manager.h"
#include "engine/doc_item.h"
#include "refs/ref.h"
#include "refs/ref_3d.h"
#include "refs/ref_list.h"
#include "refs/remote_ref.h"

// ---- CCRecalcList ----

CCCellManager::CCRecalcList::~CCRecalcList() = default;

void CCCellManager::CCRecalcList::AddLast(const CCRef* ref) {
    if (ref) m_list.emplace_back(ref->Copy());
}

void CCCellManager::CCRecalcList::AddFirst(const CCRef* ref) {
    if (ref) m_list.emplace_front(ref->Copy());
}

void CCCellManager::CCRecalcList::AddLast(const CCRefList* list) {
    for (; list; list = list->m_pNext)
        AddLast(list->m_pRef);
}

std::unique_ptr<CCRef> CCCellManager::CCRecalcList::Exclude(const CCRef* ref) {
    for (auto it = m_list.begin(); it != m_list.end(); ++it) {
        if ((*it)->IsEqual(ref)) {
            std::unique_ptr<CCRef> taken = std::move(*it);
            m_list.erase(it);
            return taken;
        }
    }
    return nullptr;
}

void CCCellManager::CCRecalcList::ExcludeDelete(const CCRef* ref) {
    Exclude(ref);
}

void CCCellManager::CCRecalcList::Exclude(const CCRefList* list) {
    for (; list; list = list->m_pNext)
        ExcludeDelete(list->m_pRef);
}

void CCCellManager::CCRecalcList::Merge(CCRecalcList& other) {
    m_list.splice(m_list.end(), other.m_list);
}

void CCCellManager::CCRecalcList::Empty() {
    m_list.clear();
}

std::unique_ptr<CCRef> CCCellManager::CCRecalcList::TakeFirst() {
    if (m_list.empty()) return nullptr;
    std::unique_ptr<CCRef> first = std::move(m_list.front());
    m_list.pop_front();
    return first;
}

bool CCCellManager::CCRecalcList::Contains(const CCRef* ref) const {
    return std::any_of(m_list.begin(), m_list.end(),
                       [&](const std::unique_ptr<CCRef>& e) { return e->IsEqual(ref); });
}

// ---- collecting dependents ----

void CCCellManager::Adjust3DDependencies(const CCRef* ref, CCRefList*& dependents) {
    if (!ref || ref->GetType() != REF_TYPE_3D) return;
    const auto* r3 = static_cast<const CCRef3D*>(ref);
    for (CCRefList* node = dependents; node; node = node->m_pNext) {
        int type = node->m_pRef->GetType();
        if (type == REF_TYPE_3D || type == REF_TYPE_REMOTE) continue;
        auto* qualified = new CCRef3D(*r3);
        qualified->SetInnerRef(node->m_pRef->Copy());
        if (node->m_bOwns) delete node->m_pRef;
        node->m_pRef = qualified;
        node->m_bOwns = true;
    }
}

CCItem* CCCellManager::ProcessDependents(const CCRef* ref, CCRecalcList& list) {
    if (CCItem* item = LookupItem(ref)) {
        // Through the manager, so that a host adds the dependents of ranges holding the cell.
        CCRefList* dependents = LoadDependencies(ref);
        // Dependents come most recent first; the list keeps them in that order.
        for (CCRefList* node = dependents; node; node = node->m_pNext)
            if (!list.Contains(node->m_pRef)) list.AddLast(node->m_pRef);
        RefListFree(dependents, 0);
        return item;
    }
    if (ref->GetType() == REF_TYPE_DOCUMENT) {
        auto* docRef = static_cast<const CCDocumentRef*>(ref);
        if (CCDocItem* item = GetDocumentItem(docRef->GetDocRefType())) {
            CCRefList* dependents = item->LoadDependents(GetCTX());
            list.AddLast(dependents);
            RefListFree(dependents, 0);
            return item;
        }
    }
    return nullptr;
}

CCItem* CCCellManager::PatchProcessDependents(const CCRef* ref, CCRecalcList& list) {
    CCItem* item = LookupItem(ref);
    if (!item) return ProcessDependents(ref, list);
    CCRefList* dependents = LoadDependencies(ref);
    Adjust3DDependencies(ref, dependents);
    auto& entries = list.GetStdList();
    for (CCRefList* node = dependents; node; node = node->m_pNext) {
        bool referenceFirst = false;
        auto found = entries.end();
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if ((*it)->IsEqual(node->m_pRef)) {
                found = it;
                break;
            }
            if (!referenceFirst && (*it)->IsEqual(ref)) referenceFirst = true;
        }
        if (found == entries.end()) {
            list.AddLast(node->m_pRef);
        } else if (!referenceFirst) {
            // A dependent must come after the reference it depends on.
            entries.splice(entries.end(), entries, found);
        }
    }
    RefListFree(dependents, 0);
    return item;
}

// ---- the idle road ----

void CCCellManager::InitIdleRecalc(const CCItem* item, int self) {
    if (!item || !GetAutoCalc()) return;
    const CCRef* ref = item->GetRef();
    if (!ref) return;
    if (self && item->IsFormulaLink())
        m_processList.AddFirst(ref);
    else
        ProcessDependents(ref, m_processList);
}

void CCCellManager::RecalcDependentsList(const CCRefList* list) {
    if (!GetAutoCalc()) return;
    for (; list; list = list->m_pNext)
        if (!m_processList.Contains(list->m_pRef)) m_processList.AddLast(list->m_pRef);
}

void CCCellManager::DoRecalc(long limit) {
    unsigned long done = 0;
    while (limit != 0 && !m_recalcList.IsEmpty()) {
        // Taken out before the cell runs, so that a host hook editing cells cannot leave
        // this walk holding a freed entry.
        std::unique_ptr<CCRef> first = m_recalcList.TakeFirst();
        RecalcCell(first.get());
        if (limit > 0) --limit;
        if (++done % 64 == 0) OnUpdateIdleRecalc();
    }
    if (m_recalcList.IsEmpty()) m_allRecalcCount = 0;
}

void CCCellManager::PatchDoProcess(long) {
    CCRecalcList remote;
    auto& entries = m_processList.GetStdList();
    unsigned long units = 0;
    // An entry that cycles (through functions that read computed references, or files) is
    // moved to the end over and over: each is expanded a bounded number of times.
    std::unordered_map<const CCRef*, int> expansions;
    for (auto it = entries.begin(); it != entries.end();) {
        const CCRef* ref = it->get();
        if (ref->GetType() == REF_TYPE_REMOTE) {
            remote.AddLast(ref);
            it = entries.erase(it);
            continue;
        }
        CCItem* item = LookupItem(ref);
        if (item && item->IsFormulaLink() && expansions[ref]++ < 2 &&
            PatchProcessDependents(ref, m_processList)) {
            if (++units % 16 == 0) OnUpdateIdleRecalc();
        }
        // The entry may have moved to the end; continue after its current position.
        auto next = std::next(it);
        it = next;
    }
    m_recalcList.Merge(m_processList);
    m_allRecalcCount = std::max<unsigned long>(m_allRecalcCount, m_recalcList.GetCount());
    RecalcRemoteDependents(remote);
}

void CCCellManager::DoProcess(long limit) {
    CCRecalcList remote;
    unsigned long units = 0;
    std::unordered_set<size_t> seen;
    while ((limit != 0 || !remote.IsEmpty()) && !m_processList.IsEmpty()) {
        const CCRef* first = m_processList.GetFirst();
        if (first->GetType() == REF_TYPE_REMOTE) {
            remote.AddLast(first);
            m_processList.TakeFirst();
            continue;
        }
        CCItem* item = LookupItem(first);
        if (item && item->IsFormulaLink() && ProcessDependents(first, m_processList)) {
            std::unique_ptr<CCRef> entry = m_processList.Exclude(first);
            m_recalcList.ExcludeDelete(entry.get());
            m_recalcList.AddLast(entry.get());
            m_allRecalcCount = std::max<unsigned long>(m_allRecalcCount, m_recalcList.GetCount());
            if (limit > 0) --limit;
            if (++units % 16 == 0) OnUpdateIdleRecalc();
        } else {
            m_processList.TakeFirst();
        }
    }
    RecalcRemoteDependents(remote);
}

// Dependents in other documents recalculate there, after this slice's local cells.
void CCCellManager::RecalcRemoteDependents(CCRecalcList& remote) {
    if (remote.IsEmpty()) return;
    DoRecalc(-1);
    BeginSession();
    for (const auto& ref : remote.GetStdList())
        DoRemoteInitRecalc(static_cast<const CCRemoteRef*>(ref.get()), 1);
    EndSession();
}

int CCCellManager::DoIdle(int all) {
    if (!GetAutoCalc()) return 0;
    if (!m_processList.IsEmpty()) {
        PatchDoProcess(all ? -1 : 16);
        if (!m_processList.IsEmpty()) return 1;
    }
    if (!m_recalcList.IsEmpty()) DoRecalc(all ? -1 : 64);
    return !m_processList.IsEmpty() || !m_recalcList.IsEmpty() ? 1 : 0;
}

void CCCellManager::DoNonIdleCalc(CCItem*, int) {}

int CCCellManager::InitFormulaRecalc(const CCItem* item) {
    if (!item) return 1;
    if (item == m_circRoot) return 0;
    bool ownRoot = false;
    if (!m_circRoot) {
        m_circRoot = item;
        ownRoot = true;
    }
    const CCRef* rootRef = m_circRoot->GetRef();
    const CCRef* ref = item->GetRef();
    int result = 1;
    CCRecalcList work, remote;
    if (ref) PatchProcessDependents(ref, work);
    // Each reference is expanded once, so that a cycle that does not pass the root ends.
    std::unordered_set<size_t> expandedHashes;
    std::vector<std::unique_ptr<CCRef>> expanded;
    while (!work.IsEmpty()) {
        std::unique_ptr<CCRef> first = work.TakeFirst();
        if (rootRef && first->IsEqual(rootRef)) {
            result = 0;
            break;
        }
        if (first->GetType() == REF_TYPE_REMOTE) {
            remote.AddLast(first.get());
            continue;
        }
        bool seen = false;
        if (expandedHashes.count(first->Hash()))
            for (const auto& e : expanded)
                seen = seen || e->IsEqual(first.get());
        if (seen) continue;
        ProcessDependents(first.get(), work);
        expandedHashes.insert(first->Hash());
        expanded.push_back(std::move(first));
    }
    if (result == 1 && !remote.IsEmpty()) {
        BeginSession();
        for (const auto& r : remote.GetStdList()) {
            if (!DoRemoteInitRecalc(static_cast<const CCRemoteRef*>(r.get()), 0)) {
                result = 0;
                break;
            }
        }
        EndSession();
    }
    if (ownRoot) m_circRoot = nullptr;
    if (result == 1) InitIdleRecalc(item, 1);
    return result;
}
