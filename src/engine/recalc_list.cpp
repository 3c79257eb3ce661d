// SPDX-License-Identifier: Apache-2.0
// The recalculation lists: an ordered list of owned references with a hash table beside it,
// so that membership, removal and "which comes first" cost the same for 10 or 100,000
// entries.
#include "ostrel/engine/cell_manager.h"

#include <algorithm>

#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_list.h"

CCCellManager::CCRecalcList::~CCRecalcList() = default;

CCCellManager::CCRecalcList::Slot* CCCellManager::CCRecalcList::FindFirst(const CCRef* ref) const {
    if (!ref) return nullptr;
    Slot* best = nullptr;
    const_cast<ostrel::platform::FlatMultiIndex<Slot>&>(m_index).FindIf(
        ref->Hash(), [&](Slot& slot) {
            if ((!best || slot.position < best->position) && (*slot.it)->IsEqual(ref)) best = &slot;
            return false;
        });
    return best;
}

void CCCellManager::CCRecalcList::Unindex(StdList::iterator it) {
    ++m_removals;
    m_index.EraseIf((*it)->Hash(), [it](const Slot& slot) { return slot.it == it; });
}

void CCCellManager::CCRecalcList::AddLast(std::unique_ptr<CCRef> ref) {
    if (!ref) return;
    size_t hash = ref->Hash();
    m_list.push_back(std::move(ref));
    m_index.Insert(hash, Slot{std::prev(m_list.end()), m_nextBack++});
}

void CCCellManager::CCRecalcList::AddLast(const CCRef* ref) {
    if (ref) AddLast(std::unique_ptr<CCRef>(ref->Copy()));
}

void CCCellManager::CCRecalcList::AddFirst(const CCRef* ref) {
    if (!ref) return;
    m_list.emplace_front(ref->Copy());
    m_index.Insert(ref->Hash(), Slot{m_list.begin(), m_nextFront--});
}

void CCCellManager::CCRecalcList::AddLast(const CCRefList* list) {
    for (; list; list = list->m_pNext)
        AddLast(list->m_pRef);
}

std::unique_ptr<CCRef> CCCellManager::CCRecalcList::Exclude(const CCRef* ref) {
    Slot* slot = FindFirst(ref);
    if (!slot) return nullptr;
    StdList::iterator it = slot->it;
    Unindex(it);
    std::unique_ptr<CCRef> taken = std::move(*it);
    m_list.erase(it);
    return taken;
}

void CCCellManager::CCRecalcList::ExcludeDelete(const CCRef* ref) {
    Exclude(ref);
}

void CCCellManager::CCRecalcList::Exclude(const CCRefList* list) {
    for (; list; list = list->m_pNext)
        ExcludeDelete(list->m_pRef);
}

void CCCellManager::CCRecalcList::Merge(CCRecalcList& other) {
    if (&other == this) return;
    while (!other.m_list.empty())
        AddLast(other.TakeFirst());
}

void CCCellManager::CCRecalcList::Empty() {
    ++m_removals;
    m_index.Clear();
    m_list.clear();
}

CCCellManager::CCRecalcList::StdList CCCellManager::CCRecalcList::Abort() {
    ++m_removals;
    m_index.Clear();
    StdList taken;
    taken.swap(m_list);
    return taken;
}

std::unique_ptr<CCRef> CCCellManager::CCRecalcList::TakeFirst() {
    if (m_list.empty()) return nullptr;
    Unindex(m_list.begin());
    std::unique_ptr<CCRef> first = std::move(m_list.front());
    m_list.pop_front();
    return first;
}

void CCCellManager::CCRecalcList::NoteHeld(uint64_t version, size_t count) {
    if (version == 0) return;
    auto same = std::find_if(m_held.begin(), m_held.end(),
                             [&](const Held& h) { return h.version == version; });
    if (same == m_held.end()) {
        same = m_held.begin() + m_nextHeld;
        m_nextHeld = (m_nextHeld + 1) % m_held.size();
    }
    *same = {version, m_removals, count};
}

size_t CCCellManager::CCRecalcList::HeldCount(uint64_t version) const {
    if (version == 0) return 0;
    for (const Held& h : m_held)
        if (h.version == version && h.removals == m_removals) return h.count;
    return 0;
}

bool CCCellManager::CCRecalcList::Contains(const CCRef* ref) const {
    return FindFirst(ref) != nullptr;
}

bool CCCellManager::CCRecalcList::ComesBefore(const CCRef* a, const CCRef* b) const {
    const Slot* first = FindFirst(a);
    const Slot* second = FindFirst(b);
    return first && second && first->position < second->position;
}

bool CCCellManager::CCRecalcList::MoveToEnd(const CCRef* ref) {
    Slot* slot = FindFirst(ref);
    if (!slot) return false;
    m_list.splice(m_list.end(), m_list, slot->it);
    slot->position = m_nextBack++;
    return true;
}
