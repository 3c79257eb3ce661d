// SPDX-License-Identifier: Apache-2.0
// The list of items a manager owns (its document items), with nodes from a pool that is
// never given back, like the reference lists' nodes.
#include <vector>

#include "ostrel/cells/item.h"
#include "ostrel/refs/ref.h"

namespace {

struct ItemNodePool {
    static constexpr size_t kBlock = 1000;
    std::vector<void*> blocks;
    SCItemList* free = nullptr;

    void* Take() {
        if (!free) {
            auto* block = static_cast<SCItemList*>(::operator new(sizeof(SCItemList) * kBlock));
            blocks.push_back(block);
            for (size_t i = 0; i < kBlock; ++i) {
                SCItemList* node = block + i;
                *reinterpret_cast<SCItemList**>(node) = free;
                free = node;
            }
        }
        SCItemList* node = free;
        free = *reinterpret_cast<SCItemList**>(node);
        return node;
    }
    void Give(void* node) {
        *reinterpret_cast<SCItemList**>(node) = free;
        free = static_cast<SCItemList*>(node);
    }
};

ItemNodePool& Pool() {
    static ItemNodePool* pool = new ItemNodePool;  // outlives every list
    return *pool;
}

}  // namespace

void* SCItemList::operator new(size_t size) {
    if (size != sizeof(SCItemList)) return ::operator new(size);
    return Pool().Take();
}

void SCItemList::operator delete(void* node) noexcept {
    if (node) Pool().Give(node);
}

void ItemListAdd(SCItemList*& list, CCItem* item) {
    auto* node = new SCItemList;
    node->m_pItem = item;
    node->m_pNext = list;
    list = node;
}

CCItem* ItemListFind(SCItemList* list, const CCRef* ref) {
    if (!ref) return nullptr;
    for (; list; list = list->m_pNext)
        if (list->m_pItem && ref->IsEqual(list->m_pItem->GetRef())) return list->m_pItem;
    return nullptr;
}

void ItemListRemove(SCItemList*& list, const CCRef* ref) {
    if (!ref) return;
    for (SCItemList** link = &list; *link; link = &(*link)->m_pNext) {
        SCItemList* node = *link;
        if (node->m_pItem && ref->IsEqual(node->m_pItem->GetRef())) {
            *link = node->m_pNext;
            delete node->m_pItem;
            delete node;
            return;
        }
    }
}

void ItemListFree(SCItemList* list, int freeItems) {
    while (list) {
        SCItemList* next = list->m_pNext;
        if (freeItems) delete list->m_pItem;
        delete list;
        list = next;
    }
}
