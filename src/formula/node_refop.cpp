// SPDX-License-Identifier: Apache-2.0
// Reference-operation nodes: operations whose routine yields a reference (ranges, sheet
// prefixes, INDIRECT, OFFSET). The node keeps the cell registered with exactly the
// reference it last yielded, and a sheet-prefixed node follows its sheet's rename and
// destruction.
#include <memory>
#include <optional>

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/events/events.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "platform/names.h"
#include "platform/text/unicode.h"

namespace {

constexpr unsigned kSheetRenameEvent = 1;
constexpr unsigned kSheetDestroyEvent = 2;

// The cell in the form dependents are kept in: qualified by the context's sheet.
class SheetQualified {
public:
    SheetQualified(cells::CTX* ctx, const CCRef* cell) {
        if (!cell || cell->GetType() == REF_TYPE_3D || !ctx || !ctx->GetManager())
            m_ref = cell;
        else
            m_ref = &m_owned.emplace(ctx, cell);
    }
    const CCRef* get() const { return m_ref; }

private:
    std::optional<CCRef3D> m_owned;
    const CCRef* m_ref = nullptr;
};

}  // namespace

CCRefOpFormula::~CCRefOpFormula() {
    if (m_sheet) m_sheet->UnRegisterListener(this);
}

CCFormula* CCRefOpFormula::Copy() const {
    return new CCRefOpFormula(m_func, CopyFormulaList(m_args));
}

void CCRefOpFormula::Eval(cells::CTX* ctx, CCCellValue& result, const CCRef* cell) {
    CCOpFormula::Eval(ctx, result, cell);
    const CCRef* yielded = result.IsRef() ? result.GetRef() : nullptr;
    if (yielded && m_kept && m_kept->IsEqual(yielded)) return;
    SheetQualified dependent(ctx, cell);
    if (m_kept && dependent.get()) m_kept->UnRegisterDependent(ctx, dependent.get());
    m_kept.reset(yielded ? yielded->Copy() : nullptr);
    if (m_kept && dependent.get()) m_kept->RegisterDependent(ctx, dependent.get());
}

int CCRefOpFormula::IsSingleValue(cells::CTX* ctx, const CCRef* cell) {
    // Asked before the first evaluation too: evaluate without touching what the node keeps
    // registered.
    CCCellValue value;
    CCOpFormula::Eval(ctx, value, cell);
    return value.IsRef() && value.GetRef() ? value.GetRef()->IsSingleValue(ctx) : 1;
}

bool CCRefOpFormula::NamesRegion() const {
    return m_func == &RANGEFunc || m_func == &SheetRangeFunc || m_func == &FULLREFFunc;
}

void CCRefOpFormula::ListenToSheetOf(cells::CTX* ctx, const CCRef* yielded) {
    if (m_func != &FULLREFFunc || m_sheet || !ctx || !ctx->GetManager()) return;
    if (!yielded || yielded->GetType() != REF_TYPE_3D) return;
    CCCellManager* sheet = static_cast<const CCRef3D*>(yielded)->GetFirstSheetManager(ctx);
    if (!sheet) return;
    SetListenerManager(ctx->GetManager());
    m_sheet = sheet;
    m_sheet->RegisterListener(kSheetRenameEvent, this);
    m_sheet->RegisterListener(kSheetDestroyEvent, this);
}

int CCRefOpFormula::RegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    if (m_func && m_func->HasFlag(kFlagUnregistered)) return 1;
    if (NamesRegion()) {
        CCCellValue value;
        Eval(ctx, value, dependent);
        if (m_kept && m_kept->GetType() == REF_TYPE_3D) {
            ListenToSheetOf(ctx, m_kept.get());
            return 1;
        }
    }
    return CCOpFormula::RegisterDependents(ctx, dependent);
}

// Walks as RegisterDependents does, but evaluates without keeping what the node yields, so
// that the cell's registrations stay as they are.
void CCRefOpFormula::ListenToSheets(cells::CTX* ctx, const CCRef* cell) {
    if (m_func && m_func->HasFlag(kFlagUnregistered)) return;
    if (NamesRegion()) {
        CCCellValue value;
        CCOpFormula::Eval(ctx, value, cell);
        const CCRef* yielded = value.IsRef() ? value.GetRef() : nullptr;
        if (yielded && yielded->GetType() == REF_TYPE_3D) {
            ListenToSheetOf(ctx, yielded);
            return;
        }
    }
    CCOpFormula::ListenToSheets(ctx, cell);
}

int CCRefOpFormula::UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    if (m_sheet) {
        m_sheet->UnRegisterListener(this);
        m_sheet = nullptr;
    }
    if (m_kept) {
        SheetQualified qualified(ctx, dependent);
        if (qualified.get()) m_kept->UnRegisterDependent(ctx, qualified.get());
        // Dropped, so that the next evaluation registers the cell afresh.
        m_kept.reset();
    }
    if (m_func && m_func->HasFlag(kFlagUnregistered)) {
        // Its arguments registered nothing, but evaluating them with the cell keeps the cell
        // registered with what reference nodes among them yield.
        CCOpFormula::UnRegisterDependents(ctx, dependent);
        return 1;
    }
    return CCOpFormula::UnRegisterDependents(ctx, dependent);
}

int CCRefOpFormula::MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) {
    if (m_kept && from) {
        SheetQualified qualified(ctx, from);
        m_kept->UnRegisterDependent(ctx, qualified.get());
    }
    m_kept.reset();
    return CCOpFormula::MoveFormula(ctx, from, to);
}

// A moved cell names its new place by a reference of the dependent's own sheet. Inside a
// sheet prefix the same address means a cell of the named sheet, which did not move unless
// the prefix names the dependent's own sheet.
int CCRefOpFormula::UpdateRef(cells::CTX* ctx, const CCRef* region, const CCRef* cell,
                              const CCRef* oldRef, const CCRef* newRef, int unregister,
                              CCFormula*& replacement) {
    const bool local =
        oldRef && oldRef->GetType() != REF_TYPE_REMOTE && oldRef->GetType() != REF_TYPE_3D;
    if (m_func == &FULLREFFunc && local) {
        CCCellValue value;
        CCOpFormula::Eval(ctx, value, cell);
        const CCRef* yielded = value.IsRef() ? value.GetRef() : nullptr;
        const bool ownSheet =
            yielded && yielded->GetType() == REF_TYPE_3D && ctx && ctx->GetManager() &&
            static_cast<const CCRef3D*>(yielded)->GetFirstSheetManager(ctx) == ctx->GetManager();
        if (!ownSheet) {
            replacement = Copy();
            return 0;
        }
    }
    return CCOpFormula::UpdateRef(ctx, region, cell, oldRef, newRef, unregister, replacement);
}

uint16_t CCRefOpFormula::OpenRef(cells::CTX* ctx, const CCRef* cell) {
    // Brings the kept reference up to date before iterating it.
    CCCellValue value;
    Eval(ctx, value, cell);
    return m_kept ? m_kept->OpenRef(ctx) : 0;
}

int CCRefOpFormula::NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value, const CCRef*) {
    return m_kept ? m_kept->NextValue(ctx, handle, &value) : 0;
}

int CCRefOpFormula::RefSize(cells::CTX* ctx, uint16_t handle, CSize& size, const CCRef*) {
    return m_kept ? m_kept->RefSize(ctx, handle, &size) : 0;
}

int CCRefOpFormula::CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef*) {
    return m_kept ? m_kept->CloseRef(ctx, handle) : 0;
}

bool CCRefOpFormula::OnEvent(const CCBaseEvent& event) {
    if (event.GetId() == kSheetRenameEvent) {
        const auto* rename = dynamic_cast<const CCSheetRenameEvent*>(&event);
        if (!rename || !m_args || !m_args->m_pFormula) return false;
        if (m_args->m_pFormula->GetType() != FORMULA_REFOP) return false;
        // The sheet part's name arguments: the one that names the old sheet (or the only
        // one) takes the new name.
        auto* sheetPart = static_cast<CCRefOpFormula*>(m_args->m_pFormula);
        CCFormulaList* parts = sheetPart->GetArgsRef();
        CCFormulaList* target = nullptr;
        for (CCFormulaList* p = parts; p; p = p->m_pNext) {
            if (p->m_pFormula->GetType() != FORMULA_REF) continue;
            const CCRef* ref = static_cast<CCRefFormula*>(p->m_pFormula)->GetRef();
            if (!ref || ref->GetType() != REF_TYPE_NAME) continue;
            const char16_t* name = static_cast<const CCNameRef*>(ref)->GetName();
            std::u16string_view old = rename->GetOldName();
            if (name && std::u16string_view(name).size() == old.size() &&
                ostrel::text::Collate(name, old, false) == 0) {
                target = p;
                break;
            }
        }
        if (!target && parts && !parts->m_pNext) target = parts;
        if (!target) return false;
        auto* renamed = new CCRefFormula(rename->GetNewName().c_str(), 0);
        delete target->m_pFormula;
        target->m_pFormula = renamed;
        return true;
    }
    if (event.GetId() == kSheetDestroyEvent) {
        // The sheet goes away: never touch its broadcaster again.
        if (m_sheet) m_sheet->UnRegisterListener(this);
        m_sheet = nullptr;
        m_kept.reset();
        CCCellManager* manager = GetListenerManager();
        cells::CTX* ctx = manager ? manager->GetCTX() : nullptr;
        if (ctx && m_args && m_args->m_pFormula) {
            CCCellValue value;
            m_args->m_pFormula->Eval(ctx, value, nullptr);
            if (value.IsRef() && value.GetRef()) m_kept.reset(value.GetRef()->Copy());
        }
        return true;
    }
    return false;
}
