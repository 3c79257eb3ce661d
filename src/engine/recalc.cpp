// SPDX-License-Identifier: Apache-2.0
// Recalculation of a manager without a workbook: changed references wait in the process
// list until their dependents are collected into the recalc list, which the idle slices
// work through in order.
#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ostrel/cells/item.h"
#include "ostrel/engine/calc_cache.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/engine/doc_item.h"
#include "ostrel/engine/workbook.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"

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
            list.AddLastOnce(node->m_pRef);
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
    for (CCRefList* node = dependents; node; node = node->m_pNext) {
        // A dependent must come after the reference it depends on.
        if (!list.Contains(node->m_pRef))
            list.AddLast(node->m_pRef);
        else if (!list.ComesBefore(ref, node->m_pRef))
            list.MoveToEnd(node->m_pRef);
    }
    RefListFree(dependents, 0);
    return item;
}

// ---- the idle road ----

void CCCellManager::InitIdleRecalc(const CCItem* item, int self) {
    if (!item || !GetAutoCalc()) return;
    const CCRef* ref = item->GetRef();
    if (!ref) return;
    if (CCWorkbook* book = GetWorkbook()) {
        MarkInWorkbook(*book, ref, self ? WorkbookPlacing::whenMissing : WorkbookPlacing::none);
        return;
    }
    if (self && item->IsFormulaLink())
        m_processList.AddFirst(ref);
    else
        ProcessDependents(ref, m_processList);
    QueueVolatile();
}

void CCCellManager::RecalcDependentsList(const CCRefList* list) {
    if (!GetAutoCalc()) return;
    if (CCWorkbook* book = GetWorkbook()) {
        for (; list; list = list->m_pNext)
            MarkInWorkbook(*book, list->m_pRef, WorkbookPlacing::whenMissing);
        return;
    }
    for (; list; list = list->m_pNext)
        m_processList.AddLastOnce(list->m_pRef);
    QueueVolatile();
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

namespace {

// References met while ordering, each once, found by hash.
class RefIndex {
public:
    static constexpr size_t npos = static_cast<size_t>(-1);
    size_t Find(const CCRef* ref, const std::vector<std::unique_ptr<CCRef>>& refs) const {
        auto [from, to] = m_slots.equal_range(ref->Hash());
        for (auto it = from; it != to; ++it)
            if (refs[it->second]->IsEqual(ref)) return it->second;
        return npos;
    }
    void Add(const CCRef* ref, size_t at) { m_slots.emplace(ref->Hash(), at); }

private:
    std::unordered_multimap<size_t, size_t> m_slots;
};

}  // namespace

// Kahn's algorithm over the dependents reachable from the process list: every dependency
// is looked at once, so the cost grows with the cells and dependencies involved, where
// moving entries to the end of the list and walking them again grows with their square.
// Ties go to the reference met first, which keeps a chain, a diamond and a fan-out in the
// order in which their dependents were recorded.
void CCCellManager::CollectRecalcOrder(std::vector<std::unique_ptr<CCRef>>& order,
                                       CCRecalcList& remote, bool keepPlain) {
    std::vector<std::unique_ptr<CCRef>> met;
    std::vector<char> expanded;
    RefIndex index;
    auto meet = [&](std::unique_ptr<CCRef> ref) {
        if (ref->GetType() == REF_TYPE_REMOTE) {
            // One request per document cell, however many formulas here it reads.
            if (!remote.Contains(ref.get())) remote.AddLast(std::move(ref));
            return RefIndex::npos;
        }
        size_t at = index.Find(ref.get(), met);
        if (at != RefIndex::npos) return at;
        index.Add(ref.get(), met.size());
        met.push_back(std::move(ref));
        expanded.push_back(0);
        return met.size() - 1;
    };
    while (!m_processList.IsEmpty())
        meet(m_processList.TakeFirst());
    m_volatileQueued = false;

    // Dependencies as runs of targets: the run of met[i] is targets[firstTarget[i] ..
    // firstTarget[i + 1]).
    std::vector<size_t> firstTarget;
    std::vector<size_t> targets;
    std::vector<size_t> readers;  // how many formulas among the met ones each one reads
    unsigned long units = 0;
    for (size_t i = 0; i < met.size(); ++i) {
        firstTarget.push_back(targets.size());
        const CCRef* ref = met[i].get();
        CCItem* item = LookupItem(ref);
        if (!item || !item->IsFormulaLink()) continue;
        // Through the manager, so that formulas reading the cell through ranges come too.
        CCRefList* dependents = LoadDependencies(ref);
        Adjust3DDependencies(ref, dependents);
        for (CCRefList* node = dependents; node; node = node->m_pNext) {
            size_t at = meet(std::unique_ptr<CCRef>(node->m_pRef->Copy()));
            if (at != RefIndex::npos) targets.push_back(at);
        }
        RefListFree(dependents, 0);
        expanded[i] = 1;
        if (++units % 16 == 0) OnUpdateIdleRecalc();
    }
    firstTarget.push_back(targets.size());
    readers.assign(met.size(), 0);
    for (size_t t : targets)
        ++readers[t];

    std::vector<size_t> sequence;
    sequence.reserve(met.size());
    std::vector<char> placed(met.size(), 0);
    auto place = [&](size_t i) {
        placed[i] = 1;
        sequence.push_back(i);
    };
    // Volatile cells read what no dependency names: they wait until nothing else is ready,
    // so that they read what this walk computes.
    std::vector<char> isVolatile(met.size(), 0);
    for (size_t i = 0; i < met.size(); ++i)
        isVolatile[i] = IsVolatile(met[i].get());
    std::vector<size_t> held;
    auto ready = [&](size_t i) {
        if (isVolatile[i])
            held.push_back(i);
        else
            place(i);
    };
    for (size_t i = 0; i < met.size(); ++i)
        if (readers[i] == 0) ready(i);
    size_t head = 0;
    size_t stuck = 0;
    while (sequence.size() < met.size() || head < sequence.size()) {
        if (head == sequence.size() && !held.empty()) {
            for (size_t i : held)
                place(i);
            held.clear();
        } else if (head == sequence.size()) {
            // Only cells on a cycle or behind one are left: the first met of them goes
            // next, so that the walk ends and each cell is still recalculated once.
            while (placed[stuck])
                ++stuck;
            place(stuck);
        }
        size_t from = sequence[head++];
        for (size_t k = firstTarget[from]; k < firstTarget[from + 1]; ++k)
            if (--readers[targets[k]] == 0 && !placed[targets[k]]) ready(targets[k]);
    }
    for (size_t i : sequence)
        if (keepPlain || expanded[i]) order.push_back(std::move(met[i]));
}

void CCCellManager::PatchDoProcess(long) {
    CCRecalcList remote;
    std::vector<std::unique_ptr<CCRef>> order;
    CollectRecalcOrder(order, remote, true);
    for (auto& ref : order)
        m_recalcList.AddLast(std::move(ref));
    m_allRecalcCount = std::max<unsigned long>(m_allRecalcCount, m_recalcList.GetCount());
    RecalcRemoteDependents(remote);
}

// Works through the whole process list at once, as PatchDoProcess does: ordering needs every
// reachable cell, and the limit of a partial walk could not keep a cell behind the ones it
// reads. A cell still waiting in the recalc list moves to the end instead of running twice.
void CCCellManager::DoProcess(long) {
    CCRecalcList remote;
    std::vector<std::unique_ptr<CCRef>> order;
    CollectRecalcOrder(order, remote, false);
    for (auto& ref : order) {
        m_recalcList.ExcludeDelete(ref.get());
        m_recalcList.AddLast(std::move(ref));
    }
    m_allRecalcCount = std::max<unsigned long>(m_allRecalcCount, m_recalcList.GetCount());
    RecalcRemoteDependents(remote);
}

// Dependents in other documents recalculate there, after this slice's local cells.
void CCCellManager::RecalcRemoteDependents(CCRecalcList& remote) {
    if (remote.IsEmpty()) return;
    DoRecalc(-1);
    CManagerSession session(this);
    for (const auto& ref : remote.GetStdList())
        DoRemoteInitRecalc(static_cast<const CCRemoteRef*>(ref.get()), 1);
}

int CCCellManager::DoIdle(int all) {
    if (!GetAutoCalc()) return 0;
    if (CCWorkbook* book = GetWorkbook()) book->DoCalc(this);
    if (!m_processList.IsEmpty()) {
        PatchDoProcess(all ? -1 : 16);
        if (!m_processList.IsEmpty()) return 1;
    }
    if (!m_recalcList.IsEmpty()) DoRecalc(all ? -1 : 64);
    return !m_processList.IsEmpty() || !m_recalcList.IsEmpty() ? 1 : 0;
}

// ---- the workbook road ----

void CCCellManager::MarkInWorkbook(CCWorkbook& book, const CCRef* ref, WorkbookPlacing placing,
                                   bool evaluated) {
    CCCalcCache& cache = book.GetCalcCache();
    const bool current = evaluated && cache.AllCurrent();
    cache.SetCurrentManager(this);
    if (ref && ref->GetType() == REF_TYPE_RC && placing != WorkbookPlacing::last) {
        cache.PlaceAndMarkDirty(this, *static_cast<const CCRCRef*>(ref),
                                placing != WorkbookPlacing::none,
                                placing == WorkbookPlacing::always, current);
        MarkVolatile(book);
        return;
    }
    std::unique_ptr<CCRef> key = CCCalcCache::MakeKey(this, ref);
    if (!key) return;
    if (placing == WorkbookPlacing::last) cache.KeepLast(key.get());
    cache.PlaceAndMarkDirty(key.get(), placing != WorkbookPlacing::none,
                            placing == WorkbookPlacing::always || ref->GetType() == REF_TYPE_REGION,
                            current);
    MarkVolatile(book);
}

void CCCellManager::DoNonIdleCalc(CCItem* item, int) {
    CCWorkbook* book = GetWorkbook();
    if (!book) return;
    if (item && item->GetRef()) MarkInWorkbook(*book, item->GetRef(), WorkbookPlacing::whenMissing);
    DoIdle(1);
}

void CCCellManager::OnRemoveItem(CCItem* item) {
    if (item) UnRegisterVolatile(item->GetRef());
    // A removed cell reads as empty from now on.
    if (m_valueChanges) m_valueChanges->NoteAll();
    CCWorkbook* book = GetWorkbook();
    if (!book || !item) return;
    std::unique_ptr<CCRef> key = CCCalcCache::MakeKey(this, item->GetRef());
    book->GetCalcCache().Remove(key.get());
}

int CCCellManager::InitFormulaRecalc(const CCItem* item, bool evaluated) {
    if (!item) return 1;
    if (CCWorkbook* book = GetWorkbook()) {
        // No circularity check on this road: the cell has made its own.
        if (item->GetRef())
            MarkInWorkbook(*book, item->GetRef(), WorkbookPlacing::always, evaluated);
        return 1;
    }
    if (item == m_circRoot) return 0;
    // The outermost check owns the root, and gives it up however the check is left: a root
    // left behind would make every later formula of that cell circular.
    struct RootScope {
        const CCItem*& root;
        bool owned;
        ~RootScope() {
            if (owned) root = nullptr;
        }
    } rootScope{m_circRoot, m_circRoot == nullptr};
    if (rootScope.owned) m_circRoot = item;
    const CCRef* rootRef = m_circRoot->GetRef();
    const CCRef* ref = item->GetRef();
    int result = 1;
    CCRecalcList work, remote;
    // The walk can only end early at the root's own reference, which no sheet-qualified
    // dependent equals, or at another document. While every dependent ever stored was
    // qualified and local, it would walk everything downstream to find nothing, so it is
    // left out; so it is for a formula that cannot close a cycle. Typing a chain against
    // its direction would otherwise walk every row below each new one.
    const bool mayEndEarly =
        ref && (ref->GetType() == REF_TYPE_3D || CCItem::MayHaveUnqualifiedDependents());
    if (mayEndEarly && MayCloseCycle(GetCTX(), const_cast<CCItem*>(item)))
        PatchProcessDependents(ref, work);
    // Each reference is expanded once, so that a cycle that does not pass the root ends.
    std::vector<std::unique_ptr<CCRef>> expanded;
    RefIndex visited;
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
        if (visited.Find(first.get(), expanded) != RefIndex::npos) continue;
        ProcessDependents(first.get(), work);
        visited.Add(first.get(), expanded.size());
        expanded.push_back(std::move(first));
    }
    if (result == 1 && !remote.IsEmpty()) {
        CManagerSession session(this);
        for (const auto& r : remote.GetStdList()) {
            if (!DoRemoteInitRecalc(static_cast<const CCRemoteRef*>(r.get()), 0)) {
                result = 0;
                break;
            }
        }
    }
    if (rootScope.owned) m_circRoot = nullptr;
    if (result == 1) InitIdleRecalc(item, 1);
    return result;
}
