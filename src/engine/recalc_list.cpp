// The recalculation lists: an ordered list of owned references with a hash index beside it,
// so that membership, removal and "which comes first" cost the same for 10 or 100,000
// entries.
#include "engine/cell_manager.h"
#include "refs/ref.h"
#include "refs/ref_list.h"

CCCellManager::CCRecalcList::~CCRecalcList() = default;

CCCellManager::CCRecalcList::Index::iterator CCCellManager::CCRecalcList::FindFirst(
    const CCRef* ref) {
    auto [from, to] = m_index.equal_range(ref->Hash());
    auto best = m_index.end();
    for (auto it = from; it != to; ++it)
        if ((*it->second.it)->IsEqual(ref) &&
            (best == m_index.end() || it->second.position < best->second.position))
            best = it;
    return best;
}

CCCellManager::CCRecalcList::Index::const_iterator CCCellManager::CCRecalcList::FindFirst(
    const CCRef* ref) const {
    return const_cast<CCRecalcList*>(this)->FindFirst(ref);
}

void CCCellManager::CCRecalcList::Erase(Index::iterator slot) {
    m_list.erase(slot->second.it);
    m_index.erase(slot);
}

void CCCellManager::CCRecalcList::AddLast(std::unique_ptr<CCRef> ref) {
    if (!ref) return;
    size_t hash = ref->Hash();
    m_list.push_back(std::move(ref));
    m_index.emplace(hash, Slot{std::prev(m_list.end()), m_nextBack++});
}

void CCCellManager::CCRecalcList::AddLast(const CCRef* ref) {
    if (ref) AddLast(std::unique_ptr<CCRef>(ref->Copy()));
}

void CCCellManager::CCRecalcList::AddFirst(const CCRef* ref) {
    if (!ref) return;
    m_list.emplace_front(ref->Copy());
    m_index.emplace(ref->Hash(), Slot{m_list.begin(), m_nextFront--});
}

void CCCellManager::CCRecalcList::AddLast(const CCRefList* list) {
    for (; list; list = list->m_pNext)
        AddLast(list->m_pRef);
}

std::unique_ptr<CCRef> CCCellManager::CCRecalcList::Exclude(const CCRef* ref) {
    if (!ref) return nullptr;
    auto slot = FindFirst(ref);
    if (slot == m_index.end()) return nullptr;
    std::unique_ptr<CCRef> taken = std::move(*slot->second.it);
    Erase(slot);
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
    m_index.clear();
    m_list.clear();
}

std::unique_ptr<CCRef> CCCellManager::CCRecalcList::TakeFirst() {
    if (m_list.empty()) return nullptr;
    auto [from, to] = m_index.equal_range(m_list.front()->Hash());
    for (auto it = from; it != to; ++it) {
        if (it->second.it == m_list.begin()) {
            m_index.erase(it);
            break;
        }
    }
    std::unique_ptr<CCRef> first = std::move(m_list.front());
    m_list.pop_front();
    return first;
}

bool CCCellManager::CCRecalcList::Contains(const CCRef* ref) const {
    return ref && FindFirst(ref) != m_index.end();
}

bool CCCellManager::CCRecalcList::ComesBefore(const CCRef* a, const CCRef* b) const {
    if (!a || !b) return false;
    auto first = FindFirst(a);
    auto second = FindFirst(b);
    return first != m_index.end() && second != m_index.end() &&
           first->second.position < second->second.position;
}

bool CCCellManager::CCRecalcList::MoveToEnd(const CCRef* ref) {
    if (!ref) return false;
    auto slot = FindFirst(ref);
    if (slot == m_index.end()) return false;
    m_list.splice(m_list.end(), m_list, slot->second.it);
    slot->second.position = m_nextBack++;
    return true;
}
