// SPDX-License-Identifier: Apache-2.0
/// \file
/// The engine's singly linked list of references: precedents of a formula, dependents of an
/// item, cells to recalculate. A list is a pointer to its first node; null is empty.
#pragma once

#include <cstddef>

#include "ostrel/engine/ctx.h"
#include "ostrel/export.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
class CCRef;

class OSTREL_API CCRefList {
public:
    CCRefList() = default;
    CCRefList(CCRef* ref, CCRefList* next, bool owns) : m_pRef(ref), m_pNext(next), m_bOwns(owns) {}
    CCRefList& operator=(const CCRefList&) = default;

    /// Nodes come from a process-wide pool of 1000-node blocks that is never given back.
    static void* operator new(size_t size);
    static void operator delete(void* node, size_t size) noexcept;

    /// The element; owned (destroyed with the node) when m_bOwns is set, else borrowed.
    CCRef* m_pRef = nullptr;
    /// The next node, null at the end; owned by the list.
    CCRefList* m_pNext = nullptr;
    bool m_bOwns = true;
};

/// Appends an owning node with a copy of ref at the tail.
OSTREL_API void RefListAddLastItem(CCRefList*& list, const CCRef* ref);
/// Puts an owning node with a copy of ref at the head unless an equal reference is there.
OSTREL_API void RefListAddUItem(CCRefList*& list, const CCRef* ref);
OSTREL_API int RefListHasMember(const CCRefList* list, const CCRef* ref);
/// Union in which src wins: destination nodes equal to a reference of src are freed, then
/// src (its nodes, not copies) is attached at the tail.
OSTREL_API void JoinRefList(CCRefList** list, CCRefList* src);
/// Attaches src at the tail without looking for duplicates.
OSTREL_API void AppendRefLists(CCRefList*& list, CCRefList* src);
/// Frees every node; a reference is destroyed when freeRefs is set or its node owns it.
OSTREL_API void RefListFree(CCRefList* list, int freeRefs);
/// A new list of owning nodes holding copies, in the same order.
OSTREL_API CCRefList* RefListCopy(const CCRefList* list);
OSTREL_API size_t RefListCount(const CCRefList* list);

/// One reference with its type tag (0 for null or a host reference); ReadRef returns a new
/// reference owned by the caller, or null.
OSTREL_API void WriteRef(cells::CTX* ctx, ostrel::platform::CArchive& ar, const CCRef* ref);
OSTREL_API CCRef* ReadRef(cells::CTX* ctx, ostrel::platform::CArchive& ar);
/// A list: each reference with its tag, then 0. RefListRead returns a new owning list (null
/// for the empty one); on a malformed stream it frees what it read before the exception
/// leaves.
OSTREL_API void RefListWrite(cells::CTX* ctx, const CCRefList* list,
                             ostrel::platform::CArchive& ar);
OSTREL_API CCRefList* RefListRead(cells::CTX* ctx, ostrel::platform::CArchive& ar);
