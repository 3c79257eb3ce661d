// SPDX-License-Identifier: Apache-2.0
/// \file
/// The base of everything a reference can name and formulas can depend on: cells, sheets and
/// the document items of a manager. An item keeps its dependents (the sheet-qualified
/// references of the cells whose formulas read it), either live as reference objects or
/// packed as the bytes of a reference-list stream, unpacked only when an operation needs them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ostrel/engine/ctx.h"
#include "ostrel/export.h"
#include "ostrel/platform/instance_counter.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
class CCRef;
class CCRefList;
class CCCell;

/// Packed bytes (an item's dependents, a cell's stored formula): most items never have any,
/// so the bytes live behind one pointer instead of a vector's three words.
class OSTREL_API PackedBlock {
public:
    PackedBlock() = default;
    PackedBlock(const PackedBlock& other) { *this = other; }
    PackedBlock& operator=(const PackedBlock& other) {
        if (this != &other)
            m_bytes =
                other.empty() ? nullptr : std::make_unique<std::vector<uint8_t>>(*other.m_bytes);
        return *this;
    }
    PackedBlock& operator=(std::vector<uint8_t>&& bytes) {
        if (bytes.empty())
            m_bytes.reset();
        else
            m_bytes = std::make_unique<std::vector<uint8_t>>(std::move(bytes));
        return *this;
    }
    bool empty() const { return !m_bytes || m_bytes->empty(); }
    size_t size() const { return m_bytes ? m_bytes->size() : 0; }
    const uint8_t* data() const { return m_bytes ? m_bytes->data() : nullptr; }
    uint8_t* data() { return m_bytes ? m_bytes->data() : nullptr; }
    uint8_t& operator[](size_t i) { return (*m_bytes)[i]; }
    uint8_t operator[](size_t i) const { return (*m_bytes)[i]; }
    void clear() { m_bytes.reset(); }
    void resize(size_t n) {
        if (!m_bytes) m_bytes = std::make_unique<std::vector<uint8_t>>();
        m_bytes->resize(n);
    }
    void assign(const uint8_t* first, const uint8_t* last) {
        m_bytes = std::make_unique<std::vector<uint8_t>>(first, last);
    }
    /// The bytes, leaving the block empty.
    std::vector<uint8_t> Take() {
        std::vector<uint8_t> bytes;
        if (m_bytes) bytes = std::move(*m_bytes);
        m_bytes.reset();
        return bytes;
    }

private:
    std::unique_ptr<std::vector<uint8_t>> m_bytes;
};

class OSTREL_API CCItem : public ostrel::debug::CInstanceCounter<CCItem> {
public:
    CCItem();
    /// Copies take the other's dependents in the form that holds them (copies of the live
    /// ones when there are any, else the packed block), never its reference list.
    CCItem(const CCItem& other);
    CCItem& operator=(const CCItem& other);
    virtual ~CCItem();

    /// The item's own reference (owned by the item, may be null).
    virtual const CCRef* GetRef() const = 0;
    virtual int IsFormulaLink() const { return 0; }
    virtual void InvalidateDependents(cells::CTX* ctx);
    virtual int IsEmpty() const;
    virtual void Recalc(cells::CTX*) {}
    virtual void UpdateDependent(cells::CTX* ctx, const CCRef* oldRef, const CCRef* newRef);
    /// The dependents, most recent first, in a new list: nodes borrow the references the
    /// item keeps as objects and own the ones made for it (a cell of a sheet is kept packed),
    /// so free it with RefListFree(list, 0) and copy what must outlive the item.
    virtual CCRefList* LoadDependents(cells::CTX* ctx);
    /// Calls visit with each dependent in the order LoadDependents lists them, making no
    /// list: a packed one is shown through one reference rewritten for each, valid only
    /// during its call.
    void ForEachDependent(cells::CTX* ctx, const std::function<void(const CCRef*)>& visit);
    /// Changes whenever a dependent kept in an array is replaced or removed, and no two
    /// arrays ever share one; 0 for an item that keeps no array (one dependent or none).
    /// While it stays, dependents are only added: count (set to how many there are now)
    /// then tells the new ones, which ForEachNewestDependent visits.
    uint64_t DependentsVersion(cells::CTX* ctx, size_t& count);
    /// Calls visit with the count most recent dependents, in the order LoadDependents lists
    /// them, as ForEachDependent does.
    void ForEachNewestDependent(cells::CTX* ctx, size_t count,
                                const std::function<void(const CCRef*)>& visit);
    virtual void Move(cells::CTX* ctx, const CCRef* newRef, CCItem* other);
    virtual int IsHidden(cells::CTX*) const { return 0; }
    virtual void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar);
    virtual void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar);
    /// 1 on success, 0 when refused (message 13037: a hidden item of a protected document).
    virtual int RegisterDependent(cells::CTX* ctx, const CCRef* ref);
    virtual void UnRegisterDependent(cells::CTX* ctx, const CCRef* ref);
    virtual void Delete(cells::CTX* ctx);
    virtual void ReCalcDependents(cells::CTX* ctx);
    virtual void ReCalcAllDependents(cells::CTX* ctx);
    virtual void MarkForCalc(cells::CTX* ctx);
    virtual bool Contain(const CCRef*) const { return false; }
    virtual bool IsEqual(const CCItem* other) const = 0;
    /// The references the item's formula reads, as a new owning list; null by default.
    virtual CCRefList* GetPrecedents(cells::CTX*) { return nullptr; }
    /// Calls visit with each reference GetPrecedents would list, in its order, borrowed for
    /// the call; by default through that list (a class that overrides GetPrecedents and
    /// inherits a faster walk overrides this too).
    virtual void ForEachPrecedent(cells::CTX* ctx, const std::function<void(const CCRef*)>& visit);
    /// The item as a cell, or null for items that are not cells (sheets, document items).
    virtual CCCell* AsCell() { return nullptr; }

    /// The packed block (u32 length, then that many bytes), or null.
    const uint8_t* GetDependents() const;
    /// A new copy of the packed block, owned by the caller (delete[]), or null.
    uint8_t* CopyDependents() const;
    CCRefList* CopyDependentsList() const;
    /// The list of references the item holds for its host; owned by the item.
    CCRefList* GetRefList() const;
    void SetRefList(CCRefList* list);
    /// Whether anything is registered as reading the item. The item's own test, not IsEmpty,
    /// which a cell extends to its value, formula and format.
    int HasDependents() const { return !CCItem::IsEmpty(); }
    /// Index of the live dependent equal to ref (unpacking first), or -1.
    int HasDependentsRef(cells::CTX* ctx, const CCRef* ref);
    int GetDependentCount() const;
    void SaveDependents(cells::CTX* ctx, const CCRefList* list);
    void PreDelete(cells::CTX* ctx);
    void MergeDependents(cells::CTX* ctx, CCItem* other);
    void MoveDependents(cells::CTX* ctx, const CCRef* oldRef, const CCRef* newRef);
    /// Keeps the dependents in their packed form only.
    void DeleteDependentRefs(cells::CTX* ctx);
    /// 1 when a chain of dependents leads back to this item.
    int IsCirc(cells::CTX* ctx);
    /// False while every dependent any item has stored was sheet-qualified and local (the
    /// form registration gives them); true once one naming another document, or read from
    /// a stream in plain form, was stored. Sticky for the process.
    static bool MayHaveUnqualifiedDependents();

protected:
    /// Packs the live dependents into the block (the live array stays).
    void Pack(cells::CTX* ctx);
    void Unpack(cells::CTX* ctx);

private:
    /// Everything about dependents, allocated on the first registration or read, so that an
    /// item nobody depends on costs one pointer.
    struct Dependents;
    Dependents& D();
    const Dependents& C() const;
    Dependents* Owned() const;
    bool HoldsWord() const { return m_deps & 1; }
    /// Whether any dependent is held live (a lone word or the array).
    bool HasLive() const;
    void FreeDependents();

    /// Finds an equal live dependent without unpacking; -1 when none.
    int FindLive(const CCRef* ref) const;
    void AddLive(std::unique_ptr<CCRef> ref);
    void AddLiveCopy(const CCRef* ref);
    /// The packed word of ref, kept in place of the pointer while it is the only dependent.
    void AddWord(uint64_t word, const CCRef* ref);
    /// Copies of the live dependents, in registration order.
    std::vector<std::unique_ptr<CCRef>> LiveCopies() const;
    void RemoveLive(int index);
    void ClearLive();
    void RebuildIndex() const;

    /// Null; one dependent packed as a word (low bit set): most items are read by a single
    /// formula and need nothing more; or the address of the item's own Dependents, which
    /// the item deletes (a tagged word, so that the lone dependent costs no allocation).
    uint64_t m_deps = 0;
};

/// False when the item's formula cannot close a cycle: nothing reads the item, or every
/// reference it reads is a single cell without a formula (a chain of dependents leading back
/// to the item would have to end in a cell the formula reads, and every cell on such a chain
/// reads another). True when a cycle is possible and has to be looked for.
OSTREL_API bool MayCloseCycle(cells::CTX* ctx, CCItem* item);

/// A singly linked list of items (the document items of a manager).
struct OSTREL_API SCItemList {
    CCItem* m_pItem = nullptr;      // owned when the list is freed with its items
    SCItemList* m_pNext = nullptr;  // owned by the list

    static void* operator new(size_t size);
    static void operator delete(void* node) noexcept;
};

OSTREL_API void ItemListAdd(SCItemList*& list, CCItem* item);
OSTREL_API CCItem* ItemListFind(SCItemList* list, const CCRef* ref);
OSTREL_API void ItemListRemove(SCItemList*& list, const CCRef* ref);
OSTREL_API void ItemListFree(SCItemList* list, int freeItems);
