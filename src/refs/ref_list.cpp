// SPDX-License-Identifier: Apache-2.0
#include "ostrel/refs/ref_list.h"

#include <new>
#include <vector>

#include "ostrel/refs/ref.h"
#include "platform/fixed_pool.h"

// Lists are built and freed all the time during recalculation: their nodes come from a pool.
void* CCRefList::operator new(size_t size) {
    return ostrel::platform::PooledNew<CCRefList>(size);
}

void CCRefList::operator delete(void* node, size_t size) noexcept {
    ostrel::platform::PooledDelete<CCRefList>(node, size);
}

void RefListAddLastItem(CCRefList*& list, const CCRef* ref) {
    if (!ref) return;
    auto* node = new CCRefList(ref->Copy(), nullptr, true);
    CCRefList** tail = &list;
    while (*tail)
        tail = &(*tail)->m_pNext;
    *tail = node;
}

int RefListHasMember(const CCRefList* list, const CCRef* ref) {
    for (; list; list = list->m_pNext)
        if (list->m_pRef->IsEqual(ref)) return 1;
    return 0;
}

void RefListAddUItem(CCRefList*& list, const CCRef* ref) {
    if (!ref || RefListHasMember(list, ref)) return;
    list = new CCRefList(ref->Copy(), list, true);
}

namespace {
void FreeNode(CCRefList* node, bool freeRef) {
    if (freeRef || node->m_bOwns) delete node->m_pRef;
    delete node;
}
}  // namespace

void JoinRefList(CCRefList** list, CCRefList* src) {
    if (!list) return;
    CCRefList** link = list;
    while (*link) {
        CCRefList* node = *link;
        bool matched = false;
        for (const CCRefList* s = src; s && !matched; s = s->m_pNext)
            matched = s->m_pRef->IsEqual(node->m_pRef);
        if (matched) {
            *link = node->m_pNext;
            FreeNode(node, false);
        } else {
            link = &node->m_pNext;
        }
    }
    *link = src;
}

void AppendRefLists(CCRefList*& list, CCRefList* src) {
    CCRefList** tail = &list;
    while (*tail)
        tail = &(*tail)->m_pNext;
    *tail = src;
}

void RefListFree(CCRefList* list, int freeRefs) {
    while (list) {
        CCRefList* next = list->m_pNext;
        FreeNode(list, freeRefs != 0);
        list = next;
    }
}

CCRefList* RefListCopy(const CCRefList* list) {
    CCRefList* head = nullptr;
    CCRefList** tail = &head;
    for (; list; list = list->m_pNext) {
        *tail = new CCRefList(list->m_pRef->Copy(), nullptr, true);
        tail = &(*tail)->m_pNext;
    }
    return head;
}

size_t RefListCount(const CCRefList* list) {
    size_t n = 0;
    for (; list; list = list->m_pNext)
        ++n;
    return n;
}
