// SPDX-License-Identifier: Apache-2.0
#include "ostrel/refs/ref_3d.h"

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/platform/archive.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/fixed_pool.h"
#include "platform/names.h"

namespace {
uint32_t IdentityOf(cells::CTX* ctx) {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->GetIdentity() : 0;
}
// Span loops stop at the last sheet a workbook can hold.
constexpr int kLastSheet = 255;
}  // namespace

CCRef3D::CCRef3D(uint16_t firstSheet, uint16_t lastSheet) {
    SetSheets(firstSheet, lastSheet);
}

CCRef3D::CCRef3D(uint16_t firstSheet, uint16_t lastSheet, CCRef* inner) : m_inner(inner) {
    SetSheets(firstSheet, lastSheet);
}

CCRef3D::CCRef3D(cells::CTX* ctx, const CCRef3D& other)
    : m_key(IdentityOf(ctx)), m_inner(other.m_inner ? other.m_inner->Copy() : nullptr) {}

CCRef3D::CCRef3D(cells::CTX* ctx, const CCRef* ref)
    : m_key(IdentityOf(ctx)), m_inner(ref ? ref->Copy() : nullptr) {}

// Copies own their inner reference: two references never share one.
CCRef3D::CCRef3D(const CCRef3D& other)
    : CCRef(other),
      m_key(other.m_key),
      m_current(other.m_current),
      m_inner(other.m_inner ? other.m_inner->Copy() : nullptr) {}

CCRef3D& CCRef3D::operator=(const CCRef3D& other) {
    if (this != &other) {
        m_key = other.m_key;
        m_current = other.m_current;
        m_inner.reset(other.m_inner ? other.m_inner->Copy() : nullptr);
    }
    return *this;
}

CCCellManager* CCRef3D::GetSheetManager(cells::CTX* ctx, uint16_t sheet) const {
    if (IsManagerKey()) return CCCellManager::FromIdentity(m_key);
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->GetManForNameIndex(sheet) : nullptr;
}

CCCellManager* CCRef3D::GetFirstSheetManager(cells::CTX* ctx) const {
    return GetSheetManager(ctx, GetFirstSheet());
}

int CCRef3D::IsEqual(const CCRef* other) const {
    if (!other || other->GetType() != REF_TYPE_3D) return 0;
    const auto* o = static_cast<const CCRef3D*>(other);
    if (o->m_key != m_key) return 0;
    if (!m_inner || !o->m_inner) return !m_inner && !o->m_inner;
    return o->m_inner->IsEqual(m_inner.get());
}

int CCRef3D::Compare(const CCRef* other) const {
    if (!other || other->GetType() != REF_TYPE_3D) return -1;
    const auto* o = static_cast<const CCRef3D*>(other);
    if (o->m_key == m_key) return m_inner ? m_inner->Compare(o->m_inner.get()) : 1;
    return m_key < o->m_key ? -1 : 1;
}

int CCRef3D::IsInside(const CCRef* other) const {
    if (other && other->GetType() == REF_TYPE_3D) {
        const auto* o = static_cast<const CCRef3D*>(other);
        if (o->m_key != m_key || !m_inner) return 0;
        return m_inner->IsInside(o->m_inner.get());
    }
    return m_inner ? m_inner->IsInside(other) : 0;
}

int CCRef3D::Contain(const CCRef* other) const {
    if (other && other->GetType() == REF_TYPE_3D) {
        const auto* o = static_cast<const CCRef3D*>(other);
        if (o->m_key != m_key || !m_inner) return 0;
        return m_inner->Contain(o->m_inner.get());
    }
    return m_inner ? m_inner->Contain(other) : 0;
}

int CCRef3D::IsInside(const CRect& rect) const {
    return m_inner ? m_inner->IsInside(rect) : 0;
}

void CCRef3D::Move(long columns, long rows) {
    if (m_inner) m_inner->Move(columns, rows);
}

void CCRef3D::UpdateInPaste(cells::CTX* ctx, const CCClipboardData* data) {
    if (m_inner) m_inner->UpdateInPaste(ctx, data);
}

int CCRef3D::GetValue(cells::CTX* ctx, CCCellValue* value) const {
    CCCellManager* sheet = GetFirstSheetManager(ctx);
    if (!sheet) {
        // A sheet that no longer exists reads as one blank.
        if (value) value->Set(u" ");
        return 1;
    }
    return m_inner ? sheet->GetValue(m_inner.get(), value, 0) : 0;
}

int CCRef3D::IsSingleValue(cells::CTX* ctx) const {
    if (!IsSingleSheet() || !m_inner) return 0;
    CCCellManager* sheet = GetFirstSheetManager(ctx);
    if (!sheet) return 0;
    return m_inner->IsSingleValue(sheet->GetCTX());
}

uint16_t CCRef3D::OpenRef(cells::CTX* ctx) const {
    m_current = GetFirstSheet();
    CCCellManager* sheet = GetSheetManager(ctx, m_current);
    return sheet && m_inner ? sheet->OpenRef(m_inner.get()) : 0;
}

int CCRef3D::NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue* value) const {
    CCCellManager* sheet = GetSheetManager(ctx, m_current);
    if (!sheet || !m_inner) return 0;
    if (sheet->NextValue(handle, value)) return 1;
    int last = IsSingleSheet() ? m_current : GetLastSheet();
    // Walk on to the next sheet that exists and has a value; a span never passes sheet 255.
    while (int(m_current) < last && int(m_current) < kLastSheet) {
        sheet->CloseRef(handle);
        handle = 0;
        ++m_current;
        sheet = GetSheetManager(ctx, m_current);
        if (!sheet) return 0;
        handle = sheet->OpenRef(m_inner.get());
        if (!handle) return 0;
        if (sheet->NextValue(handle, value)) return 1;
    }
    return 0;
}

int CCRef3D::CloseRef(cells::CTX* ctx, uint16_t handle) const {
    CCCellManager* sheet = GetSheetManager(ctx, m_current);
    return sheet ? sheet->CloseRef(handle) : 0;
}

int CCRef3D::ForEachSheet(cells::CTX* ctx, const CCRef* dependent, bool reg) const {
    CCCellManager* own = cells::ManagerOf(ctx);
    if (IsSingleSheet()) {
        CCCellManager* sheet = GetFirstSheetManager(ctx);
        if (!sheet) return 0;
        if (sheet == own)
            return reg ? sheet->RegisterDependent(m_inner.get(), dependent)
                       : sheet->UnRegisterDependent(m_inner.get(), dependent);
        // The other sheet must learn on which sheet the dependent lives.
        std::unique_ptr<CCRef3D> wrapper;
        const CCRef* qualified = dependent;
        if (dependent->GetType() != REF_TYPE_3D) {
            wrapper = std::make_unique<CCRef3D>(ctx, dependent);
            qualified = wrapper.get();
        }
        return reg ? sheet->RegisterDependent(m_inner.get(), qualified)
                   : sheet->UnRegisterDependent(m_inner.get(), qualified);
    }
    if (!own) return 0;
    std::unique_ptr<CCRemoteRef> remote(own->TranslateToSheetRef(dependent));
    if (!remote) return 0;
    for (int s = GetFirstSheet(); s <= GetLastSheet() && s <= kLastSheet; ++s) {
        CCCellManager* sheet = GetSheetManager(ctx, static_cast<uint16_t>(s));
        if (!sheet) return 0;
        int done = reg ? sheet->RegisterDependent(m_inner.get(), remote.get())
                       : sheet->UnRegisterDependent(m_inner.get(), remote.get());
        if (!done) return 0;
    }
    return 1;
}

int CCRef3D::RegisterDependent(cells::CTX* ctx, const CCRef* dependent) const {
    if (!dependent) return 1;
    if (!m_inner) return 0;
    return ForEachSheet(ctx, dependent, true);
}

int CCRef3D::UnRegisterDependent(cells::CTX* ctx, const CCRef* dependent) const {
    if (!dependent) return 1;
    if (!m_inner) return 0;
    return ForEachSheet(ctx, dependent, false);
}

CCRefList* CCRef3D::TranslateToRefList(cells::CTX* ctx) const {
    CCRefList* list = nullptr;
    int first = GetFirstSheet();
    int last = IsSingleSheet() ? first : GetLastSheet();
    // Built by putting each sheet at the head, so the list runs from the last to the first.
    for (int s = first; s <= last && s <= kLastSheet; ++s) {
        CCCellManager* sheet = GetSheetManager(ctx, static_cast<uint16_t>(s));
        if (!sheet) continue;
        auto* ref = new CCRef3D();
        ref->m_key = sheet->GetIdentity();
        ref->m_inner.reset(m_inner ? m_inner->Copy() : nullptr);
        list = new CCRefList(ref, list, true);
    }
    return list;
}

void CCRef3D::Write(cells::CTX* ctx, CArchive& ar) const {
    if (!m_inner) {
        ar << uint32_t(0);
        return;
    }
    uint16_t first = GetFirstSheet(), last = GetLastSheet();
    if (IsManagerKey()) {
        // Streams always hold sheet indices: the manager's sheet name, looked up in the
        // name table of the writing document.
        first = last = 0;
        CCCellManager* sheet = CCCellManager::FromIdentity(m_key);
        CCCellManager* own = cells::ManagerOf(ctx);
        if (sheet && own) {
            std::u16string name;
            sheet->GetSheetName(name);
            first = last = own->GetNameIndex(name);
        }
    }
    ar << uint32_t(1) << first << last;
    WriteRef(ctx, ar, m_inner.get());
}

CCRef* ReadInnerRef(cells::CTX* ctx, CArchive& ar);

void CCRef3D::Read(cells::CTX* ctx, CArchive& ar) {
    uint32_t present;
    ar >> present;
    if (present != 1) {
        m_key = 0;
        m_inner.reset();
        return;
    }
    uint16_t first, last;
    ar >> first >> last;
    std::unique_ptr<CCRef> inner(ReadInnerRef(ctx, ar));
    SetSheets(first, last);
    m_inner = std::move(inner);
}

void* CCRef3D::operator new(size_t size) {
    return ostrel::platform::PooledNew<CCRef3D>(size);
}

void CCRef3D::operator delete(void* object, size_t size) noexcept {
    ostrel::platform::PooledDelete<CCRef3D>(object, size);
}

void* CCRef3D::operator new(size_t size, const std::nothrow_t&) noexcept {
    return ostrel::platform::PooledNewNothrow<CCRef3D>(size);
}

void CCRef3D::operator delete(void* object, const std::nothrow_t&) noexcept {
    ostrel::platform::PooledDeleteNothrow<CCRef3D>(object);
}
