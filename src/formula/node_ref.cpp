// SPDX-License-Identifier: Apache-2.0
// Reference nodes: a leaf that reads cells through its reference.
#include <memory>

#include "ostrel/cells/cell_value.h"
#include "ostrel/cells/item.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/refs/clipboard_data.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/region_ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"
#include "platform/text/unicode.h"

namespace {

// One cell of the grid, alone or behind a one-sheet qualification.
bool IsSingleCell(const CCRef* ref) {
    if (!ref) return false;
    if (ref->GetType() == REF_TYPE_RC) return true;
    if (ref->GetType() == REF_TYPE_3D) {
        const auto* r3 = static_cast<const CCRef3D*>(ref);
        return r3->IsSingleSheet() && r3->GetInnerRef() &&
               r3->GetInnerRef()->GetType() == REF_TYPE_RC;
    }
    return false;
}

}  // namespace

CCRefFormula::CCRefFormula(const char16_t* name, unsigned char flags)
    : m_mode(flags), m_ref(new CCNameRef(name)) {}

CCRefFormula::CCRefFormula(unsigned char column, uint16_t row, unsigned char flags)
    : m_mode(flags), m_ref(new CCRCRef(column, row)) {}

CCRefFormula::CCRefFormula(unsigned char firstColumn, uint16_t firstRow, unsigned char lastColumn,
                           uint16_t lastRow, unsigned char flags)
    : m_mode(flags), m_ref(new CCRegionRef(firstColumn, firstRow, lastColumn, lastRow)) {}

CCRefFormula::CCRefFormula(const CCRef* ref, unsigned char flags)
    : m_mode(flags), m_ref(ref ? ref->Copy() : nullptr) {}

CCFormula* CCRefFormula::Copy() const {
    return new CCRefFormula(m_ref.get(), m_mode);
}

int CCRefFormula::Check(cells::CTX* ctx, const CCRef*) {
    if (m_validated) return 0;
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (!m_ref || !manager || !manager->IsValidRef(m_ref.get())) return 1;
    m_validated = 1;
    return 0;
}

void CCRefFormula::Eval(cells::CTX* ctx, CCCellValue& result, const CCRef*) {
    CCCellValue value;
    if (m_ref && m_ref->GetValue(ctx, &value))
        result.Set(value);
    else
        result.Set(1);
}

void CCRefFormula::Print2File(cells::CTX* ctx, CWideOutStream& out, int) const {
    if (m_ref) m_ref->Print(ctx, out, m_mode);
}

void CCRefFormula::Print(cells::CTX* ctx, CWideOutStream& out, int) const {
    if (m_ref) m_ref->Print(ctx, out, m_mode);
}

int CCRefFormula::IsEditSourceRef(cells::CTX*, const CCRef* cell) const {
    return IsSingleCell(m_ref.get()) && !(cell && m_ref->IsEqual(cell));
}

const CCRef* CCRefFormula::GetEditSourceRef(cells::CTX*, const CCRef*) const {
    return IsSingleCell(m_ref.get()) ? m_ref.get() : nullptr;
}

int CCRefFormula::ContainsLink(cells::CTX*, const CCRef* ref, const CCRef*) const {
    return m_ref && ref && m_ref->IsEqual(ref);
}

int CCRefFormula::ContainsRemoteLinks() const {
    return m_ref && m_ref->GetType() == REF_TYPE_REMOTE &&
           !static_cast<const CCRemoteRef*>(m_ref.get())->IsSheetLink();
}

int CCRefFormula::ContainsSheetLinks() const {
    return m_ref && m_ref->GetType() == REF_TYPE_REMOTE &&
           static_cast<const CCRemoteRef*>(m_ref.get())->IsSheetLink();
}

int CCRefFormula::ContainsTodayLinks() const {
    return 0;
}

int CCRefFormula::IsSingleValue(cells::CTX* ctx, const CCRef*) {
    return m_ref ? m_ref->IsSingleValue(ctx) : 1;
}

int CCRefFormula::RegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    return m_ref ? m_ref->RegisterDependent(ctx, dependent) : 0;
}

int CCRefFormula::UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    return m_ref ? m_ref->UnRegisterDependent(ctx, dependent) : 0;
}

int CCRefFormula::InvalidateRef(cells::CTX*, const CCRef* ref, CCFormula*& replacement,
                                const CCRef*) {
    if (m_ref && ref && m_ref->IsEqual(ref)) {
        replacement = new CCConstFormula(CCCellValue(3));
        return 1;
    }
    replacement = Copy();
    return 0;
}

int CCRefFormula::InvalidateItem(cells::CTX* ctx, const CCItem* item, CCFormula*& replacement,
                                 const CCRef* cell) {
    return InvalidateRef(ctx, item ? item->GetRef() : nullptr, replacement, cell);
}

// The reference is moved on a copy and swapped in only when the move succeeded, so that a
// move off the grid leaves the node as it was. The reference signals leaving the grid by
// throwing the integer 1; this is where that signal ends.
int CCRefFormula::MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) {
    if (!m_ref) return 1;
    std::unique_ptr<CCRef> moved(m_ref->Copy());
    unsigned char mode = m_mode;
    try {
        moved->Update(ctx, from, to, mode);
    } catch (int) {
        return 0;
    }
    m_ref = std::move(moved);
    m_mode = mode;
    return 1;
}

int CCRefFormula::UpdateInPaste(cells::CTX* ctx, const CCRef* from, const CCRef* to,
                                const CCClipboardData*) {
    // The clipboard record carries no source rectangle; a pasted formula's references
    // follow the paste offset in their relative parts, as when the formula moves.
    return MoveFormula(ctx, from, to);
}

int CCRefFormula::UpdateRef(cells::CTX* ctx, const CCRef*, const CCRef* cell, const CCRef* oldRef,
                            const CCRef* newRef, int unregister, CCFormula*& replacement) {
    if (!m_ref || !oldRef || !newRef || !m_ref->IsEqual(oldRef)) {
        replacement = Copy();
        return 0;
    }
    if (unregister && cell) oldRef->UnRegisterDependent(ctx, cell);
    replacement = new CCRefFormula(newRef, m_mode);
    return 1;
}

uint16_t CCRefFormula::OpenRef(cells::CTX* ctx, const CCRef*) {
    return m_ref ? m_ref->OpenRef(ctx) : 0;
}

int CCRefFormula::NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value, const CCRef*) {
    return m_ref ? m_ref->NextValue(ctx, handle, &value) : 0;
}

int CCRefFormula::RefSize(cells::CTX* ctx, uint16_t handle, CSize& size, const CCRef*) {
    return m_ref ? m_ref->RefSize(ctx, handle, &size) : 0;
}

int CCRefFormula::CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef*) {
    return m_ref ? m_ref->CloseRef(ctx, handle) : 0;
}

void CCRefFormula::OnSheetRename(const std::u16string& oldName, const std::u16string& newName) {
    if (!m_ref || m_ref->GetType() != REF_TYPE_REMOTE) return;
    auto* remote = static_cast<CCRemoteRef*>(m_ref.get());
    if (ostrel::text::SameIgnoringCase(remote->GetDocument(), oldName))
        remote->SetDocument(newName);
}

void CCRefFormula::UpdateArgsOnSheetRename(cells::CTX*, const CCRemoteRef* oldRef,
                                           const CCRemoteRef* newRef) {
    if (!oldRef || !newRef || !m_ref || m_ref->GetType() != REF_TYPE_REMOTE) return;
    auto* remote = static_cast<CCRemoteRef*>(m_ref.get());
    if (ostrel::text::SameIgnoringCase(remote->GetDocument(), oldRef->GetDocument()))
        remote->SetDocument(newRef->GetDocument());
}

void CCRefFormula::Read(cells::CTX* ctx, CArchive& ar) {
    std::unique_ptr<CCRef> ref(ReadRef(ctx, ar));
    // A reference node always holds a reference; a stream without one is malformed.
    if (!ref) throw CArchiveException(CArchiveException::badFormat);
    unsigned char mode = 0;
    ar >> mode;
    m_ref = std::move(ref);
    m_mode = mode;
}

void CCRefFormula::Write(cells::CTX* ctx, CArchive& ar) const {
    WriteRef(ctx, ar, m_ref.get());
    ar << uint8_t(m_mode);
}
