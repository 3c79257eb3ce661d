// The recalculation lists: an ordered list of owned references with a hash table beside it,
// so that membership, removal and "which comes first" cost the same for 10 or 100,000
// entries.
#include "engine/cell_manager.h"
#include "refs/ref.h"
#include "refs/ref_list.h"

CCCellManager::CCRecalcList::~CCRecalcList() = default;

size_t CCCellManager::CCRecalcList::FindFirst(const CCRef* ref) const {
    if (m_slots.empty() || !ref) return npos;
    const size_t hash = ref->Hash();
    size_t best = npos;
    for (size_t i = Home(hash); m_slots[i].used; i = (i + 1) & m_mask) {
        const Slot& slot = m_slots[i];
        if (slot.hash != hash || !(*slot.it)->IsEqual(ref)) continue;
        if (best == npos || slot.position < m_slots[best].position) best = i;
    }
    return best;
}

void CCCellManager::CCRecalcList::Grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    m_mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.used) continue;
        size_t i = Home(slot.hash);
        while (m_slots[i].used)
            i = (i + 1) & m_mask;
        m_slots[i] = slot;
    }
}

void CCCellManager::CCRecalcList::Insert(size_t hash, StdList::iterator it, long long position) {
    if ((m_used + 1) * 4 > m_slots.size() * 3) Grow();
    size_t i = Home(hash);
    while (m_slots[i].used)
        i = (i + 1) & m_mask;
    m_slots[i] = Slot{hash, it, position, true};
    ++m_used;
}

// Linear probing with backward shifting: later slots of the cluster move up into the hole
// unless their home lies between the hole and them.
void CCCellManager::CCRecalcList::EraseSlot(size_t index) {
    size_t hole = index;
    for (size_t j = (hole + 1) & m_mask; m_slots[j].used; j = (j + 1) & m_mask) {
        size_t home = Home(m_slots[j].hash);
        bool between = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (between) continue;
        m_slots[hole] = m_slots[j];
        hole = j;
    }
    m_slots[hole] = Slot{};
    --m_used;
}

void CCCellManager::CCRecalcList::Erase(size_t index) {
    StdList::iterator it = m_slots[index].it;
    EraseSlot(index);
    m_list.erase(it);
}

void CCCellManager::CCRecalcList::AddLast(std::unique_ptr<CCRef> ref) {
    if (!ref) return;
    size_t hash = ref->Hash();
    m_list.push_back(std::move(ref));
    Insert(hash, std::prev(m_list.end()), m_nextBack++);
}

void CCCellManager::CCRecalcList::AddLast(const CCRef* ref) {
    if (ref) AddLast(std::unique_ptr<CCRef>(ref->Copy()));
}

void CCCellManager::CCRecalcList::AddFirst(const CCRef* ref) {
    if (!ref) return;
    m_list.emplace_front(ref->Copy());
    Insert(ref->Hash(), m_list.begin(), m_nextFront--);
}

void CCCellManager::CCRecalcList::AddLast(const CCRefList* list) {
    for (; list; list = list->m_pNext)
        AddLast(list->m_pRef);
}

std::unique_ptr<CCRef> CCCellManager::CCRecalcList::Exclude(const CCRef* ref) {
    size_t slot = FindFirst(ref);
    if (slot == npos) return nullptr;
    std::unique_ptr<CCRef> taken = std::move(*m_slots[slot].it);
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
    m_slots.clear();
    m_mask = 0;
    m_used = 0;
    m_list.clear();
}

std::unique_ptr<CCRef> CCCellManager::CCRecalcList::TakeFirst() {
    if (m_list.empty()) return nullptr;
    const size_t hash = m_list.front()->Hash();
    for (size_t i = Home(hash); m_slots[i].used; i = (i + 1) & m_mask) {
        if (m_slots[i].it == m_list.begin()) {
            EraseSlot(i);
            break;
        }
    }
    std::unique_ptr<CCRef> first = std::move(m_list.front());
    m_list.pop_front();
    return first;
}

bool CCCellManager::CCRecalcList::Contains(const CCRef* ref) const {
    return FindFirst(ref) != npos;
}

bool CCCellManager::CCRecalcList::ComesBefore(const CCRef* a, const CCRef* b) const {
    size_t first = FindFirst(a);
    size_t second = FindFirst(b);
    return first != npos && second != npos && m_slots[first].position < m_slots[second].position;
}

bool CCCellManager::CCRecalcList::MoveToEnd(const CCRef* ref) {
    size_t slot = FindFirst(ref);
    if (slot == npos) return false;
    m_list.splice(m_list.end(), m_list, m_slots[slot].it);
    m_slots[slot].position = m_nextBack++;
    return true;
}
