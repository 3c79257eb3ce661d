// SPDX-License-Identifier: Apache-2.0
#include "ostrel/refs/remote_ref.h"

#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/region_ref.h"
#include "platform/names.h"
#include "platform/text/unicode.h"

int CCRemoteRef::IsEqual(const CCRemoteRef& other) const {
    return m_document == other.m_document && m_item == other.m_item;
}

int CCRemoteRef::IsEqual(const CCRef* other) const {
    if (!other || other->GetType() != REF_TYPE_REMOTE) return 0;
    const auto* o = static_cast<const CCRemoteRef*>(other);
    return ostrel::text::SameIgnoringCase(m_document, o->m_document) &&
           ostrel::text::SameIgnoringCase(m_item, o->m_item);
}

void CCRemoteRef::Print(cells::CTX*, CWideOutStream& out, unsigned char) const {
    out << (IsSheetLink() ? std::u16string_view(m_document).substr(1)
                          : std::u16string_view(m_document));
    out << u'!' << m_item;
}

void CCRemoteRef::Read(cells::CTX*, CArchive& ar) {
    CString document = ar.ReadCString();
    CString item = ar.ReadCString();
    m_document = std::move(document);
    m_item = std::move(item);
}

void CCRemoteRef::Write(cells::CTX*, CArchive& ar) const {
    ar.WriteCString(m_document);
    ar.WriteCString(m_item);
}

int CCRemoteRef::IsValid(cells::CTX* ctx) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteIsValidRef(this) : 0;
}

int CCRemoteRef::GetValue(cells::CTX* ctx, CCCellValue* value) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteGetValue(this, value, 0) : 0;
}

uint16_t CCRemoteRef::OpenRef(cells::CTX* ctx) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteOpenRef(this) : 0;
}

int CCRemoteRef::RefSize(cells::CTX* ctx, uint16_t handle, CSize* size) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteRefSize(this, handle, size) : 0;
}

int CCRemoteRef::NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue* value) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteNextValue(this, handle, value) : 0;
}

int CCRemoteRef::CloseRef(cells::CTX* ctx, uint16_t handle) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteCloseRef(this, handle) : 0;
}

int CCRemoteRef::IsSingleValue(cells::CTX* ctx) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteIsSingleValue(this) : 0;
}

int CCRemoteRef::RegisterDependent(cells::CTX* ctx, const CCRef* dependent) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteRegisterDependent(this, dependent) : 0;
}

int CCRemoteRef::UnRegisterDependent(cells::CTX* ctx, const CCRef* dependent) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteUnRegisterDependent(this, dependent) : 0;
}

int CCRemoteRef::InvalidateRef(cells::CTX* ctx, const CCRef* invalidated) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteInvalidateRef(this, invalidated) : 0;
}

int CCRemoteRef::MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteMoveFormula(this, from, to) : 0;
}

int CCRemoteRef::MoveDependent(cells::CTX* ctx, const CCRef* from, const CCRef* to,
                               int flag) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->DoRemoteMoveDependent(this, from, to, flag) : 0;
}

namespace {

// The item text of a sheet link as a grid reference, the whole text only; null otherwise.
std::unique_ptr<CCRef> ParseSheetLinkItem(cells::CTX* ctx, const std::u16string& text,
                                          unsigned char& flags) {
    const char16_t* cursor = text.c_str();
    CCRef* ref = nullptr;
    if (!_EatSpreadRef(ctx, cursor, ref, flags)) return nullptr;
    std::unique_ptr<CCRef> owned(ref);
    return *cursor == 0 ? std::move(owned) : nullptr;
}

}  // namespace

// Only a sheet link follows moves: its item names cells of a sheet of this workbook.
void CCRemoteRef::Update(cells::CTX* ctx, const CCRef* from, const CCRef* to, unsigned char&) {
    if (!IsSheetLink()) return;
    unsigned char flags = 0;
    std::unique_ptr<CCRef> ref = ParseSheetLinkItem(ctx, m_item, flags);
    if (!ref) return;
    ref->Update(ctx, from, to, flags);
    CWideOutStream out;
    ref->Print(ctx, out, flags);
    m_item = out.take();
}

void CCRemoteRef::UpdateInPaste(cells::CTX* ctx, const CCClipboardData* data) {
    if (!IsSheetLink()) return;
    unsigned char flags = 0;
    std::unique_ptr<CCRef> ref = ParseSheetLinkItem(ctx, m_item, flags);
    if (!ref) return;
    ref->UpdateInPaste(ctx, data);
    CWideOutStream out;
    ref->Print(ctx, out, flags);
    m_item = out.take();
}
