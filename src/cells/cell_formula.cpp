// SPDX-License-Identifier: Apache-2.0
// The formula half of a cell: storing, registering, computing, loading and saving its
// formula, and following moves and invalidations of what it reads.
#include <memory>
#include <string_view>

#include "cells/formula_handover.h"
#include "ostrel/cells/cell.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "platform/fixed_pool.h"
#include "platform/names.h"

namespace {

// Formulas that read what no dependency names recalculate after every change: the manager
// of the cell keeps them for that, from registration to unregistration.
void FollowVolatile(cells::CTX* ctx, const CCFormula* formula, const CCRef* own, bool keep) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager || !formula || !own || !formula->AlwaysRecalc()) return;
    if (keep)
        manager->RegisterVolatile(own);
    else
        manager->UnRegisterVolatile(own);
}

// Whether a recalculated value is exactly the one it replaces, for what is derived from
// values: numbers and texts as they compare, not as they display.
bool SameStoredValue(const CCCellValue& a, const CCCellValue& b) {
    if (a.GetType() != b.GetType()) return false;
    switch (a.GetType()) {
        case CV_EMPTY:
            return true;
        case CV_ERROR:
            return a.GetError() == b.GetError();
        case CV_NUMBER:
            return a.GetNumber() == b.GetNumber();
        case CV_TEXT:
            if (!a.GetText() || !b.GetText()) return !a.GetText() && !b.GetText();
            return std::u16string_view(a.GetText()) == std::u16string_view(b.GetText());
        default:
            return false;
    }
}

}  // namespace

CCCell::CCCell() = default;
CCCell::~CCCell() = default;

void CCCell::CopyFormulaFrom(const CCCell& other) {
    m_formula.reset();
    if (!other.m_formula) return;
    m_formula = std::make_unique<FormulaData>();
    m_formula->packed = other.m_formula->packed;
    if (other.m_formula->live) m_formula->live.reset(other.m_formula->live->Copy());
}

char16_t CCCell::GetFormulaType() const {
    if (!m_formula || !m_formula->live) return 0;
    return m_circular > 0 ? CELL_CIRCULAR : CELL_FORMULA;
}

int CCCell::IsValidFormula() const {
    if (!m_formula) return 0;
    if (m_formula->live) return m_circular <= 0;
    return m_formula->packed.size() > 4 && m_formula->packed[4] == CELL_FORMULA;
}

void CCCell::SetFormulaCirc(int n) {
    m_circular = n;
    if (m_formula && m_formula->packed.size() > 4)
        m_formula->packed[4] = n ? CELL_CIRCULAR : CELL_FORMULA;
}

std::unique_ptr<CCRef> CCCell::QualifiedRef(cells::CTX* ctx) const {
    const CCRef* own = GetRef();
    if (!own) return nullptr;
    if (!cells::ManagerOf(ctx)) return std::unique_ptr<CCRef>(own->Copy());
    return std::make_unique<CCRef3D>(ctx, own);
}

CCFormula* CCCell::LoadFormula(cells::CTX* ctx) {
    if (!m_formula) return nullptr;
    if (m_formula->live) return m_formula->live.get();
    if (m_formula->packed.size() <= 5) return nullptr;
    CMemFile file(m_formula->packed.data() + 5, m_formula->packed.size() - 5);
    CArchive ar(&file, CArchive::load);
    try {
        m_formula->live.reset(ReadFormula(ctx, ar));
    } catch (const CArchiveException&) {
        // A damaged stored formula is no formula: the cell keeps its cached value.
        m_formula->live.reset();
    }
    return m_formula->live.get();
}

void CCCell::LoadFormula(cells::CTX* ctx, CCFormula*& formula, char16_t& type) {
    formula = nullptr;
    type = 0;
    if (!IsFormulaLink()) return;
    if (!m_formula->live && m_formula->packed.size() > 4) type = m_formula->packed[4];
    CCFormula* live = LoadFormula(ctx);
    if (!live) return;
    if (type == 0) type = GetFormulaType();
    formula = live->Copy();
}

void CCCell::PackFormula(cells::CTX* ctx, char16_t type) {
    CMemFile file(16);
    {
        CArchive ar(&file, CArchive::store);
        ar << uint32_t(0) << uint8_t(type);
        WriteFormula(ctx, ar, m_formula->live.get());
    }
    size_t length = size_t(file.GetLength());
    m_formula->packed.assign(file.Data(), file.Data() + length);
    uint32_t payload = uint32_t(length - 5);
    for (int i = 0; i < 4; ++i)
        m_formula->packed[size_t(i)] = uint8_t(payload >> (8 * i));
}

void CCCell::SaveFormula(cells::CTX* ctx, const CCFormula* formula, char16_t type) {
    if (!formula) {
        if (m_formula) m_formula->packed.clear();
        return;
    }
    if (!m_formula) m_formula = std::make_unique<FormulaData>();
    if (m_formula->live.get() != formula) m_formula->live.reset(formula->Copy());
    PackFormula(ctx, type);
}

void CCCell::SerializeFormula(cells::CTX* ctx, CArchive& ar) {
    if (!IsFormulaLink()) {
        ar << uint32_t(0);
        return;
    }
    // A loaded formula is packed anew: it may have changed since it was read.
    if (m_formula->live) PackFormula(ctx, m_circular > 0 ? CELL_CIRCULAR : CELL_FORMULA);
    ar.Write(m_formula->packed.data(), m_formula->packed.size());
}

int CCCell::RegisterFormula(cells::CTX* ctx) {
    CCFormula* live = m_formula ? m_formula->live.get() : nullptr;
    std::unique_ptr<CCRef> own = QualifiedRef(ctx);
    if (!live || !own) return 0;
    FollowVolatile(ctx, live, own.get(), true);
    return live->RegisterDependents(ctx, own.get());
}

int CCCell::UnregisterFormula(cells::CTX* ctx) {
    CCFormula* live = m_formula ? m_formula->live.get() : nullptr;
    std::unique_ptr<CCRef> own = QualifiedRef(ctx);
    if (!live || !own) return 0;
    FollowVolatile(ctx, live, own.get(), false);
    return live->UnRegisterDependents(ctx, own.get());
}

void CCCell::RemoveFormula(cells::CTX* ctx) {
    if (!m_formula) return;
    char16_t type = 0;
    if (!m_formula->live && m_formula->packed.size() > 4) type = m_formula->packed[4];
    // The live tree, not a copy: a sheet-prefixed node knows the reference it registered
    // with only while it lives, and a copy would leave the cell behind as a dependent.
    CCFormula* live = IsFormulaLink() ? LoadFormula(ctx) : nullptr;
    if (type == 0) type = GetFormulaType();
    if (live) {
        if (std::unique_ptr<CCRef> own = QualifiedRef(ctx)) {
            FollowVolatile(ctx, live, own.get(), false);
            if (type == CELL_FORMULA) live->UnRegisterDependents(ctx, own.get());
        }
    }
    m_formula.reset();
}

void CCCell::FormulaAsText(cells::CTX* ctx, const CCFormula* formula) {
    CWideOutStream text;
    text << (IsEditSource(ctx) ? u'!' : u'=') << u' ';
    formula->Print(ctx, text, 0);
    m_value.Set(std::u16string_view(text.str()));
    NoteValueStored(ctx);
}

const CCRef* CCCell::GetEditSourceRef(cells::CTX* ctx) {
    if (!IsEditSource(ctx)) return nullptr;
    CCFormula* formula = LoadFormula(ctx);
    return formula ? formula->GetEditSourceRef(ctx, GetRef()) : nullptr;
}

int CCCell::SetFormula(cells::CTX* ctx, const CCFormula* formula, bool quiet) {
    if (!formula) return 0;
    CCCellManager* manager = cells::ManagerOf(ctx);
    int result = 1;
    {
        CManagerSession session(manager);
        RemoveFormula(ctx);
        m_formula = std::make_unique<FormulaData>();
        m_formula->live = ostrel::cells_detail::FormulaHandover::Take(formula);
        if (!m_formula->live) m_formula->live.reset(formula->Copy());
        CCFormula* live = m_formula->live.get();
        if (IsEditSource(ctx) && !live->IsEditSourceRef(ctx, GetRef()) && !quiet && manager)
            manager->ErrorMessage(13038);
        if (!RegisterFormula(ctx)) {
            // Refused (a hidden cell of a protected document): the formula goes, so that no
            // later recalculation can read what it was refused.
            UnregisterFormula(ctx);
            std::unique_ptr<CCFormula> refused = std::move(m_formula->live);
            m_formula.reset();
            FormulaAsText(ctx, refused.get());
            result = 0;
            OnChange(ctx);
            if (manager) manager->InitIdleRecalc(this, 0);
        } else {
            EvalFormula(ctx, m_value, live, GetRef());
            UpdateNumberFormat(ctx);
            if (!MayCloseCycle(ctx, this) || !IsCirc(ctx)) {
                m_circular = 0;
                if (manager)
                    manager->InitFormulaRecalc(
                        this, !live->AlwaysRecalc() && !live->ContainsTodayLinks());
            } else {
                UnregisterFormula(ctx);
                SetFormulaCirc(1);
                m_value.Set(5);
                if (manager) {
                    manager->InitIdleRecalc(this, 0);
                    if (!quiet) manager->ErrorMessage(13033);
                }
            }
            NoteValueStored(ctx);
            OnChange(ctx);
        }
    }
    OnValueChanged(ctx);
    return result;
}

int CCCell::SetFormula1(cells::CTX* ctx, CCFormula* formula) {
    if (!formula) return 0;
    CCCellManager* manager = cells::ManagerOf(ctx);
    int result = 1;
    {
        CManagerSession session(manager);
        RemoveFormula(ctx);
        if (IsEditSource(ctx) && !formula->IsEditSourceRef(ctx, GetRef()) && manager)
            manager->ErrorMessage(13038);
        std::unique_ptr<CCRef> own = QualifiedRef(ctx);
        if (!own || !formula->RegisterDependents(ctx, own.get())) {
            if (own) formula->UnRegisterDependents(ctx, own.get());
            FormulaAsText(ctx, formula);
            result = 0;
            OnChange(ctx);
            if (manager) manager->InitIdleRecalc(this, 0);
        } else {
            FollowVolatile(ctx, formula, own.get(), true);
            EvalFormula(ctx, m_value, formula, GetRef());
            NoteValueStored(ctx);
            m_formula = std::make_unique<FormulaData>();
            m_formula->live.reset(formula->Copy());
            UpdateNumberFormat(ctx);
        }
    }
    OnValueChanged(ctx);
    return result;
}

int CCCell::SetEditSource(cells::CTX* ctx, const CCRef* ref, unsigned char flags) {
    if (!ref) return 0;
    CCRefFormula formula(ref, flags);
    int result = SetFormula(ctx, &formula, false);
    CCCellFormat editSource;
    editSource.SetEditSource(1);
    DoSetFormat(ctx, editSource);
    return result;
}

void CCCell::Recalc(cells::CTX* ctx) {
    if (!IsFormulaLink()) return;
    CCCellValue before = m_value;
    CCFormula* formula = LoadFormula(ctx);
    if (!formula) return;
    if (m_circular > 0) {
        m_value.Set(5);
    } else {
        bool saved = CCRemoteOpFormula::RefRemoteChanged;
        CCRemoteOpFormula::RefRemoteChanged = false;
        EvalFormula(ctx, m_value, formula, GetRef());
        if (CCRemoteOpFormula::RefRemoteChanged)
            SwapLive(ctx, std::unique_ptr<CCFormula>(formula->Copy()));
        CCRemoteOpFormula::RefRemoteChanged = saved;
    }
    UpdateNumberFormat(ctx);
    if (!SameStoredValue(before, m_value)) NoteValueStored(ctx);
    bool same = before.GetType() == m_value.GetType() && before.IsEqual(m_value);
    if (same && m_value.IsText())
        same = std::u16string_view(before.GetText() ? before.GetText() : u"") ==
               std::u16string_view(m_value.GetText() ? m_value.GetText() : u"");
    if (!same) {
        OnChange(ctx);
        OnValueChanged(ctx);
    }
}

void CCCell::ValidateFormulaRef(cells::CTX* ctx, const CCRef* ref) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager || !IsValidFormula()) return;
    CCFormula* formula = LoadFormula(ctx);
    if (!formula || !formula->ContainsLink(ctx, ref, GetRef())) return;
    std::unique_ptr<CCRef> own = QualifiedRef(ctx);
    if (!own) return;
    if (!manager->RegisterDependent(ref, own.get())) {
        std::unique_ptr<CCFormula> refused = std::move(m_formula->live);
        m_formula.reset();
        FormulaAsText(ctx, refused.get());
    } else {
        manager->InitIdleRecalc(this, 0);
    }
}

// A replacement tree from an invalidation takes the live formula's place: computed,
// registered instead of the old one, and queued for the cells that read this one.
void CCCell::TakeReplacement(cells::CTX* ctx, CCFormula* produced, int changed) {
    std::unique_ptr<CCFormula> replacement(produced);
    if (!changed || !replacement) return;
    CCCellManager* manager = cells::ManagerOf(ctx);
    EvalFormula(ctx, m_value, replacement.get(), GetRef());
    NoteValueStored(ctx);
    UnregisterFormula(ctx);
    m_formula->live.reset(replacement->Copy());
    RegisterFormula(ctx);
    UpdateNumberFormat(ctx);
    OnChange(ctx);
    OnValueChanged(ctx);
    if (manager) manager->InitIdleRecalc(this, 0);
}

void CCCell::SwapLive(cells::CTX* ctx, std::unique_ptr<CCFormula> tree) {
    // The old tree's nodes stop listening as they are destroyed.
    m_formula->live = std::move(tree);
    ListenToSheets(ctx, GetRef());
}

void CCCell::ListenToSheets(cells::CTX* ctx, const CCRef* at) {
    CCFormula* live = m_formula ? m_formula->live.get() : nullptr;
    if (!live || !at || m_circular > 0 || !cells::ManagerOf(ctx)) return;
    CCRef3D qualified(ctx, at);
    live->ListenToSheets(ctx, &qualified);
}

void CCCell::InvalidateRef(cells::CTX* ctx, const CCRef* ref) {
    CCFormula* live = LoadFormula(ctx);
    if (!live) return;
    CCFormula* produced = nullptr;
    int changed = live->InvalidateRef(ctx, ref, produced, GetRef());
    TakeReplacement(ctx, produced, changed);
}

void CCCell::InvalidateItem(cells::CTX* ctx, const CCItem* item) {
    CCFormula* live = LoadFormula(ctx);
    if (!live) return;
    CCFormula* produced = nullptr;
    int changed = live->InvalidateItem(ctx, item, produced, GetRef());
    TakeReplacement(ctx, produced, changed);
}

void CCCell::UpdateFormula(cells::CTX* ctx, const CCRef* oldRef, const CCRef* newRef, int flag) {
    CCFormula* live = LoadFormula(ctx);
    if (live) {
        CCFormula* produced = nullptr;
        int changed = live->UpdateRef(ctx, oldRef, GetRef(), oldRef, newRef, flag, produced);
        std::unique_ptr<CCFormula> replacement(produced);
        if (changed && replacement) SwapLive(ctx, std::move(replacement));
    }
    if (CCCellManager* manager = cells::ManagerOf(ctx)) manager->SetDirty();
}

// A formula whose references cannot all follow (one would leave the grid) keeps reading
// the cells it read; the cell and its dependents move all the same.
void CCCell::Move(cells::CTX* ctx, const CCRef* newRef, CCItem* other) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    // Values change at both places, and at the other's when the two swap.
    if (manager)
        manager->NoteValueStored(nullptr);
    else
        ostrel::engine::ValueChanges::NoteAnywhere();
    {
        CManagerSession session(manager);
        if (CCFormula* live = LoadFormula(ctx)) {
            if (live->MoveFormula(ctx, GetRef(), newRef) && manager) manager->SetDirty();
            // Arguments that followed are copies, which listen to no sheet yet.
            ListenToSheets(ctx, newRef);
            if (manager && m_circular <= 0 && live->AlwaysRecalc()) {
                manager->UnRegisterVolatile(GetRef());
                manager->RegisterVolatile(newRef);
            }
        }
    }
    CCItem::Move(ctx, newRef, other);
}

bool CCCell::IsHyperLink() const {
    return m_formula && m_formula->live && m_formula->live->IsHyperLink();
}

int CCCell::GetHyperLink(cells::CTX* ctx, CString& link) {
    CCFormula* live = LoadFormula(ctx);
    if (!live || !live->IsHyperLink() || live->GetType() != FORMULA_OP) return 0;
    const CCFormulaList* args = static_cast<CCOpFormula*>(live)->GetArgs();
    if (!args || !args->m_pFormula) return 0;
    CCCellValue value;
    EvalFormula(ctx, value, args->m_pFormula, GetRef());
    if (!value.IsText() || !value.GetText()) return 0;
    link = value.GetText();
    return 1;
}

CCRefList* CCCell::GetPrecedents(cells::CTX* ctx) {
    CCFormula* live = LoadFormula(ctx);
    return live ? live->GetPrecedents(ctx) : nullptr;
}

// The tree's own references: placing a formula in the order reads them for every cell typed.
void CCCell::ForEachPrecedent(cells::CTX* ctx, const std::function<void(const CCRef*)>& visit) {
    if (CCFormula* live = LoadFormula(ctx)) live->ForEachPrecedent(visit);
}

void* CCCell::FormulaData::operator new(size_t size) {
    return ostrel::platform::PooledNew<FormulaData>(size);
}

void CCCell::FormulaData::operator delete(void* object, size_t size) noexcept {
    ostrel::platform::PooledDelete<FormulaData>(object, size);
}
