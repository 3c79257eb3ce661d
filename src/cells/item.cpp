// SPDX-License-Identifier: Apache-2.0
#include "ostrel/cells/item.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "cells/dependent_array.h"
#include "cells/dependent_index.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/platform/archive.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "platform/fixed_pool.h"
#include "platform/names.h"

using ostrel::cells_detail::DependentArray;
using ostrel::cells_detail::DependentIndex;

struct CCItem::Dependents {
    /// From a pool: the dependents of cells typed one after another sit together.
    static void* operator new(size_t size);
    static void operator delete(void* object, size_t size) noexcept;

    DependentArray live;           // in registration order
    PackedBlock packed;            // empty: no block
    CCRefList* refList = nullptr;  // owned, with its references
    /// Hash of a dependent -> its index in live, made once the array is long enough for
    /// linear searches to matter (a cell read by thousands of formulas) and dropped whenever
    /// positions change; most items never need one and pay a pointer for it.
    mutable std::unique_ptr<ostrel::cells_detail::DependentIndex> index;
};

static_assert(sizeof(void*) <= sizeof(uint64_t));

CCItem::Dependents* CCItem::Owned() const {
    return HoldsWord() ? nullptr : reinterpret_cast<Dependents*>(static_cast<uintptr_t>(m_deps));
}

// A lone packed dependent moves into a new array when anything more is needed.
CCItem::Dependents& CCItem::D() {
    if (Dependents* own = Owned()) return *own;
    auto made = std::make_unique<Dependents>();
    if (HoldsWord()) made->live.AppendWord(m_deps);
    m_deps = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(made.release()));
    return *Owned();
}

const CCItem::Dependents& CCItem::C() const {
    static const Dependents none;
    const Dependents* own = Owned();
    return own ? *own : none;
}

bool CCItem::HasLive() const {
    return m_deps != 0 && (HoldsWord() || !C().live.Empty());
}

void CCItem::FreeDependents() {
    if (Dependents* own = Owned()) {
        RefListFree(own->refList, 1);
        delete own;
    }
    m_deps = 0;
}

namespace {

constexpr size_t kIndexFrom = 16;  // below this many dependents a linear search is faster

// Dependents are stored sheet-qualified, so that an item knows on which sheet each formula
// that reads it lives.
std::unique_ptr<CCRef> Qualify(cells::CTX* ctx, const CCRef* ref) {
    int type = ref->GetType();
    if (type == REF_TYPE_REMOTE || type == REF_TYPE_3D) return std::unique_ptr<CCRef>(ref->Copy());
    return std::make_unique<CCRef3D>(ctx, ref);
}

// Streams name sheets by index; live dependents name them by manager identity.
void ToManagerKeys(cells::CTX* ctx, CCRef* ref) {
    if (!ref || ref->GetType() != REF_TYPE_3D) return;
    auto* r3 = static_cast<CCRef3D*>(ref);
    if (r3->IsManagerKey() || !r3->IsSingleSheet()) return;
    CCCellManager* own = cells::ManagerOf(ctx);
    CCCellManager* sheet = own ? own->GetManForNameIndex(r3->GetFirstSheet()) : nullptr;
    if (sheet) r3->SetKey(sheet->GetIdentity());
}

}  // namespace

CCItem::CCItem() = default;

CCItem::CCItem(const CCItem& other) : CInstanceCounter(other) {
    *this = other;
}

CCItem& CCItem::operator=(const CCItem& other) {
    if (this == &other) return *this;
    FreeDependents();
    if (other.HoldsWord()) {
        m_deps = other.m_deps;
        return *this;
    }
    // The copy takes whichever form is authoritative: the live dependents when there are
    // any (copied as they are, keeping their sheet identities), else the packed block.
    if (!other.C().live.Empty()) {
        D().packed.clear();
        for (auto& ref : other.LiveCopies())
            AddLive(std::move(ref));
    } else {
        if (!other.C().packed.empty()) D().packed = other.C().packed;
    }
    return *this;
}

CCItem::~CCItem() {
    FreeDependents();
}

void CCItem::SetRefList(CCRefList* list) {
    if (list == C().refList) return;
    if (Dependents* own = Owned()) RefListFree(own->refList, 1);
    if (list || Owned()) D().refList = list;
}

int CCItem::IsEmpty() const {
    // Most items have never been read by anything: no word, no block.
    return m_deps == 0 || (!HasLive() && C().packed.empty());
}

const uint8_t* CCItem::GetDependents() const {
    return C().packed.empty() ? nullptr : C().packed.data();
}

CCRefList* CCItem::GetRefList() const {
    return C().refList;
}

int CCItem::GetDependentCount() const {
    return HoldsWord() ? 1 : static_cast<int>(C().live.Size());
}

uint8_t* CCItem::CopyDependents() const {
    if (C().packed.empty()) return nullptr;
    auto* copy = new uint8_t[C().packed.size()];
    std::memcpy(copy, C().packed.data(), C().packed.size());
    return copy;
}

CCRefList* CCItem::CopyDependentsList() const {
    return RefListCopy(C().refList);
}

void CCItem::RebuildIndex() const {
    C().index = std::make_unique<DependentIndex>(C().live.Size() * 2);
    for (size_t i = 0; i < C().live.Size(); ++i)
        C().index->Insert(C().live.Hash(i), uint32_t(i));
}

int CCItem::FindLive(const CCRef* ref) const {
    // An item read by nothing yet (every cell a formula first reads) needs no probe made.
    if (!ref || m_deps == 0) return -1;
    const DependentArray::Probe probe(ref);
    if (HoldsWord()) return DependentArray::WordEquals(m_deps, probe) ? 0 : -1;
    if (C().live.Size() < kIndexFrom) {
        for (size_t i = 0; i < C().live.Size(); ++i)
            if (C().live.Equals(i, probe)) return int(i);
        return -1;
    }
    if (!C().index) RebuildIndex();
    int found = -1;
    C().index->ForEachCandidate(ref->Hash(), [&](uint32_t position) {
        if ((found < 0 || int(position) < found) && C().live.Equals(position, probe))
            found = int(position);
        return false;
    });
    return found;
}

namespace {
std::atomic<bool> unqualifiedDependents{false};
}  // namespace

bool CCItem::MayHaveUnqualifiedDependents() {
    return unqualifiedDependents.load(std::memory_order_relaxed);
}

void CCItem::AddLive(std::unique_ptr<CCRef> ref) {
    if (uint64_t word = DependentArray::PackedWord(ref.get())) {
        AddWord(word, ref.get());
        return;
    }
    if (ref->GetType() != REF_TYPE_3D) unqualifiedDependents.store(true, std::memory_order_relaxed);
    if (D().index) D().index->Insert(ref->Hash(), uint32_t(D().live.Size()));
    D().live.Append(std::move(ref));
}

void CCItem::AddLiveCopy(const CCRef* ref) {
    if (uint64_t word = DependentArray::PackedWord(ref))
        AddWord(word, ref);
    else
        AddLive(std::unique_ptr<CCRef>(ref->Copy()));
}

void CCItem::AddWord(uint64_t word, const CCRef* ref) {
    if (m_deps == 0) {
        m_deps = word;
        return;
    }
    if (D().index) D().index->Insert(ref->Hash(), uint32_t(D().live.Size()));
    D().live.AppendWord(word);
}

std::vector<std::unique_ptr<CCRef>> CCItem::LiveCopies() const {
    std::vector<std::unique_ptr<CCRef>> copies;
    if (HoldsWord()) {
        copies.push_back(DependentArray::CopyWord(m_deps));
        return copies;
    }
    copies.reserve(C().live.Size());
    for (size_t i = 0; i < C().live.Size(); ++i)
        copies.push_back(C().live.Copy(i));
    return copies;
}

void CCItem::RemoveLive(int index) {
    if (HoldsWord()) {
        m_deps = 0;
        return;
    }
    D().live.Erase(size_t(index));
    D().index.reset();
}

void CCItem::ClearLive() {
    if (HoldsWord()) m_deps = 0;
    Dependents* own = Owned();
    if (!own) return;
    own->live.Clear();
    own->index.reset();
}

void CCItem::Unpack(cells::CTX* ctx) {
    if (m_deps == 0 || HasLive() || C().packed.empty()) return;
    std::vector<uint8_t> block = D().packed.Take();
    CMemFile file(block.data() + 4, block.size() - 4);
    CArchive ar(&file, CArchive::load);
    CCRefList* list = RefListRead(ctx, ar);
    for (CCRefList* node = list; node; node = node->m_pNext) {
        std::unique_ptr<CCRef> ref(node->m_pRef->Copy());
        ToManagerKeys(ctx, ref.get());
        AddLive(std::move(ref));
    }
    RefListFree(list, 1);
}

void CCItem::Pack(cells::CTX* ctx) {
    if (!HasLive()) return;
    CMemFile file(8);
    {
        CArchive ar(&file, CArchive::store);
        ar << uint32_t(0);
        for (const auto& ref : LiveCopies()) {
            int type = ref->GetType();
            if (type < REF_TYPE_RC || type > REF_TYPE_3D) continue;
            ar << uint8_t(type);
            ref->Write(ctx, ar);
        }
        ar << uint8_t(0);
    }
    size_t length = size_t(file.GetLength());
    D().packed.assign(file.Data(), file.Data() + length);
    uint32_t payload = uint32_t(length - 4);
    for (int i = 0; i < 4; ++i)
        D().packed[size_t(i)] = uint8_t(payload >> (8 * i));
}

CCRefList* CCItem::LoadDependents(cells::CTX* ctx) {
    Unpack(ctx);
    CCRefList* list = nullptr;
    // Built front to back from the oldest, so the most recent registration comes first.
    // Packed dependents are handed out as new references the list owns.
    if (HoldsWord()) return new CCRefList(DependentArray::CopyWord(m_deps).release(), list, true);
    for (size_t i = 0; i < C().live.Size(); ++i) {
        if (const CCRef* object = C().live.Object(i))
            list = new CCRefList(const_cast<CCRef*>(object), list, false);
        else
            list = new CCRefList(C().live.Copy(i).release(), list, true);
    }
    return list;
}

void CCItem::ForEachDependent(cells::CTX* ctx, const std::function<void(const CCRef*)>& visit) {
    ForEachNewestDependent(ctx, SIZE_MAX, visit);
}

uint64_t CCItem::DependentsVersion(cells::CTX* ctx, size_t& count) {
    Unpack(ctx);
    count = 0;
    if (HoldsWord() || !Owned()) return 0;
    count = C().live.Size();
    return C().live.Version();
}

void CCItem::ForEachNewestDependent(cells::CTX* ctx, size_t count,
                                    const std::function<void(const CCRef*)>& visit) {
    Unpack(ctx);
    // Most cells visited have no dependents: the scratch reference is made only for those
    // that have.
    if (!HasLive() || count == 0) return;
    CCRef3D scratch(uint16_t(0), uint16_t(0), new CCRCRef);
    if (HoldsWord()) {
        visit(DependentArray::ShowWord(m_deps, scratch));
        return;
    }
    // By index and from the end, as LoadDependents lists them; the size is read again at
    // each step, so that a visit that changes the dependents cannot lead past the end.
    const size_t size = C().live.Size();
    const size_t end = size - std::min(count, size);
    for (size_t i = size; i-- > end;) {
        if (i >= C().live.Size()) continue;
        visit(C().live.Show(i, scratch));
    }
}

int CCItem::HasDependentsRef(cells::CTX* ctx, const CCRef* ref) {
    if (!ref) return -1;
    Unpack(ctx);
    return FindLive(ref);
}

int CCItem::RegisterDependent(cells::CTX* ctx, const CCRef* ref) {
    if (!ref) return 1;
    CCCellManager* manager = cells::ManagerOf(ctx);
    // A formula registers with a reference already qualified (the common case): it is looked
    // for and packed as it is, with no copy made and freed again.
    const int type = ref->GetType();
    std::unique_ptr<CCRef> qualified;
    if (type != REF_TYPE_REMOTE && type != REF_TYPE_3D) qualified = Qualify(ctx, ref);
    const CCRef* dependent = qualified ? qualified.get() : ref;
    if (HasDependentsRef(ctx, dependent) >= 0) return 1;
    if (manager && manager->IsProtected() && IsHidden(ctx)) {
        manager->ErrorMessage(13037);
        return 0;
    }
    if (qualified)
        AddLive(std::move(qualified));
    else
        AddLiveCopy(ref);
    if (manager) manager->SetDirty();
    return 1;
}

void CCItem::UnRegisterDependent(cells::CTX* ctx, const CCRef* ref) {
    int index = HasDependentsRef(ctx, ref);
    if (index < 0) return;
    RemoveLive(index);
    if (Dependents* own = Owned(); own && own->live.Empty()) own->packed.clear();
    if (CCCellManager* manager = cells::ManagerOf(ctx)) manager->SetDirty();
}

void CCItem::UpdateDependent(cells::CTX* ctx, const CCRef* oldRef, const CCRef* newRef) {
    if (!oldRef || !newRef) return;
    std::unique_ptr<CCRef> oldQualified = Qualify(ctx, oldRef);
    std::unique_ptr<CCRef> newQualified = Qualify(ctx, newRef);
    int index = HasDependentsRef(ctx, oldQualified.get());
    if (index < 0) {
        RegisterDependent(ctx, newRef);
        return;
    }
    // The new reference may already be registered: then the old entry simply goes, so that
    // no dependent is listed twice.
    if (FindLive(newQualified.get()) >= 0) {
        RemoveLive(index);
    } else {
        D().live.Replace(size_t(index), std::move(newQualified));
        D().index.reset();
    }
    if (CCCellManager* manager = cells::ManagerOf(ctx)) manager->SetDirty();
}

void CCItem::InvalidateDependents(cells::CTX* ctx) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    CManagerSession session(manager);
    Unpack(ctx);
    const CCRef* own = GetRef();
    // Each invalidation unregisters from this very array: walk copies.
    for (const auto& ref : LiveCopies())
        ref->InvalidateRef(ctx, own);
    if (manager) manager->SetDirty();
}

void CCItem::Delete(cells::CTX* ctx) {
    InvalidateDependents(ctx);
    if (CCCellManager* manager = cells::ManagerOf(ctx)) manager->SetDirty();
    if (Dependents* own = Owned()) own->packed.clear();
    ClearLive();
}

void CCItem::ForEachPrecedent(cells::CTX* ctx, const std::function<void(const CCRef*)>& visit) {
    CCRefList* list = GetPrecedents(ctx);
    for (CCRefList* node = list; node; node = node->m_pNext)
        visit(node->m_pRef);
    RefListFree(list, 1);
}

void CCItem::MarkForCalc(cells::CTX* ctx) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager) return;
    CManagerSession session(manager);
    manager->InitIdleRecalc(this, 1);
}

void CCItem::ReCalcDependents(cells::CTX* ctx) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager) return;
    CManagerSession session(manager);
    CCRefList* list = LoadDependents(ctx);
    manager->RecalcDependentsList(list);
    RefListFree(list, 0);
}

void CCItem::ReCalcAllDependents(cells::CTX* ctx) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager) return;
    CManagerSession session(manager);
    CCRefList* list = manager->LoadDependencies(GetRef());
    manager->RecalcDependentsList(list);
    RefListFree(list, 0);
}

void CCItem::SaveDependents(cells::CTX* ctx, const CCRefList* list) {
    if (Dependents* own = Owned()) own->packed.clear();
    if (!list) return;
    CMemFile file(8);
    {
        CArchive ar(&file, CArchive::store);
        ar << uint32_t(0);
        RefListWrite(ctx, list, ar);
    }
    size_t length = size_t(file.GetLength());
    D().packed.assign(file.Data(), file.Data() + length);
    uint32_t payload = uint32_t(length - 4);
    for (int i = 0; i < 4; ++i)
        D().packed[size_t(i)] = uint8_t(payload >> (8 * i));
    ClearLive();
}

void CCItem::DeleteDependentRefs(cells::CTX* ctx) {
    if (!HasLive()) return;
    Pack(ctx);
    ClearLive();
}

void CCItem::PreDelete(cells::CTX* ctx) {
    RefListFree(LoadDependents(ctx), 0);
}

void CCItem::MergeDependents(cells::CTX* ctx, CCItem* other) {
    if (!other || other->IsEmpty()) return;
    Unpack(ctx);
    other->Unpack(ctx);
    // Ours, then the other's; a dependent both have keeps the other's place.
    CCRefList* own = nullptr;
    for (const auto& ref : LiveCopies())
        RefListAddLastItem(own, ref.get());
    CCRefList* theirs = nullptr;
    for (const auto& ref : other->LiveCopies())
        RefListAddLastItem(theirs, ref.get());
    JoinRefList(&own, theirs);
    SaveDependents(ctx, own);
    RefListFree(own, 1);
}

void CCItem::MoveDependents(cells::CTX* ctx, const CCRef* oldRef, const CCRef* newRef) {
    Unpack(ctx);
    std::vector<std::unique_ptr<CCRef>> copies = LiveCopies();
    for (auto it = copies.rbegin(); it != copies.rend(); ++it)
        (*it)->MoveDependent(ctx, oldRef, newRef, 0);
}

void CCItem::Move(cells::CTX* ctx, const CCRef* newRef, CCItem* other) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    CManagerSession session(manager);
    MoveDependents(ctx, GetRef(), newRef);
    if (other && !other->IsEmpty()) MergeDependents(ctx, other);
    if (manager) manager->SetDirty();
}

void CCItem::Write(cells::CTX* ctx, CArchive& ar) {
    if (HasLive()) Pack(ctx);
    if (C().packed.empty()) {
        ar << uint32_t(0);
        return;
    }
    ar.Write(D().packed.data(), D().packed.size());
}

void CCItem::Read(cells::CTX* ctx, CArchive& ar) {
    if (Dependents* own = Owned()) own->packed.clear();
    ClearLive();
    uint32_t length;
    ar >> length;
    if (length == 0) return;
    // The length comes from the file: refuse it unless the stream holds that much.
    ar.RequireBytes(length);
    std::vector<uint8_t> block(size_t(length) + 4);
    for (int i = 0; i < 4; ++i)
        block[size_t(i)] = uint8_t(length >> (8 * i));
    ar.ReadExact(block.data() + 4, length);
    D().packed = std::move(block);
    try {
        Unpack(ctx);
    } catch (...) {
        D().packed.clear();
        ClearLive();
        throw;
    }
}

void* CCItem::Dependents::operator new(size_t size) {
    return ostrel::platform::PooledNew<Dependents>(size);
}

void CCItem::Dependents::operator delete(void* object, size_t size) noexcept {
    ostrel::platform::PooledDelete<Dependents>(object, size);
}
