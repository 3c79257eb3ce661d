// SPDX-License-Identifier: Apache-2.0
// Cell access by reference: every operation looks the item up in the host's store and
// forwards to it; 1 when an item was found, 0 when there was none.
#include <memory>
#include <unordered_set>

#include "ostrel/cells/cell.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/cells/item.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/engine/module.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

CCCell* CCCellManager::CellAt(const CCRef* ref) const {
    if (!ref) return nullptr;
    CCItem* item = const_cast<CCCellManager*>(this)->LookupItem(ref);
    return item ? item->AsCell() : nullptr;
}

int CCCellManager::SetCellText(const CCRef* ref, std::u16string_view text) {
    return SetItemText(ref ? LookupItem(ref) : nullptr, text);
}

int CCCellManager::SetItemText(CCItem* item, std::u16string_view text) {
    if (RefuseUnlessStarted() || !item) return 0;
    if (CCCell* cell = item->AsCell()) cell->SetText(GetCTX(), text, 0);
    DoRecalc(-1);
    return 1;
}

int CCCellManager::ClearCell(const CCRef* ref, int what) {
    if (!ref) return 0;
    CCItem* item = LookupItem(ref);
    if (!item) return 0;
    if (CCCell* cell = item->AsCell()) cell->Clear(GetCTX(), what);
    DoRecalc(-1);
    return 1;
}

int CCCellManager::SetValue(const CCRef* ref, const CCCellValue* value) {
    CCItem* item = ref ? LookupItem(ref) : nullptr;
    if (!item) return 0;
    if (CCCell* cell = item->AsCell(); cell && value) cell->SetValue(GetCTX(), *value);
    return 1;
}

int CCCellManager::GetValue(const CCRef* ref, CCCellValue* value, unsigned long index) {
    if (index != 0) return 0;
    CCItem* item = ref ? LookupItem(ref) : nullptr;
    if (!item) return 0;
    if (CCCell* cell = item->AsCell(); cell && value) cell->GetValue(*value);
    return 1;
}

int CCCellManager::GetCellValueText(const CCRef* ref, char16_t* buffer, int size) const {
    CCItem* item = ref ? const_cast<CCCellManager*>(this)->LookupItem(ref) : nullptr;
    if (!item) return 0;
    if (CCCell* cell = item->AsCell())
        cell->GetValueText(GetCTX(), buffer, size);
    else if (buffer && size >= int(sizeof(char16_t)))
        buffer[0] = 0;
    return 1;
}

int CCCellManager::GetCellValueText(const CCRef* ref, std::u16string& text) const {
    CCItem* item = ref ? const_cast<CCCellManager*>(this)->LookupItem(ref) : nullptr;
    GetItemValueText(item, text);
    return item ? 1 : 0;
}

void CCCellManager::GetItemValueText(CCItem* item, std::u16string& text) const {
    CCCell* cell = item ? item->AsCell() : nullptr;
    if (!cell) {
        text.clear();
        return;
    }
    // Written into the caller's text, whose storage a host reuses for every cell it shows.
    CWideOutStream out(std::move(text));
    cell->GetValueText(GetCTX(), out);
    text = out.take();
}

int CCCellManager::GetCellFormula(const CCRef* ref, char16_t* buffer, int size) {
    CCItem* item = ref ? LookupItem(ref) : nullptr;
    if (!item) return 0;
    if (CCCell* cell = item->AsCell())
        cell->GetFormulaText(GetCTX(), buffer, size);
    else if (buffer && size >= int(sizeof(char16_t)))
        buffer[0] = 0;
    return 1;
}

int CCCellManager::GetCellFormula(const CCRef* ref, std::u16string& text) {
    text.clear();
    CCItem* item = ref ? LookupItem(ref) : nullptr;
    if (!item) return 0;
    if (CCCell* cell = item->AsCell()) {
        CWideOutStream out;
        cell->GetFormulaText(GetCTX(), out);
        text = out.take();
    }
    return 1;
}

int CCCellManager::IsValidRef(const CCRef* ref) {
    return ref && LookupItem(ref) ? 1 : 0;
}

int CCCellManager::IsSingleValue(const CCRef* ref) {
    return ref && LookupItem(ref) ? 1 : 0;
}

int CCCellManager::GetDataSources(CStringArray*, int) {
    return 0;
}

int CCCellManager::GetItems(const CCRef*, CStringArray*) {
    return 0;
}

int CCCellManager::SetValueInCompound(const char16_t*, unsigned long, const CCCellValue*) {
    return 0;
}

int CCCellManager::RecalcCell(const CCRef* ref) {
    if (!ref) return 0;
    // A sheet-qualified reference names its sheet by index or by manager; the cell is
    // recalculated there, with that sheet's context.
    if (ref->GetType() == REF_TYPE_3D) {
        const auto* r3 = static_cast<const CCRef3D*>(ref);
        CCCellManager* sheet = r3->GetFirstSheetManager(GetCTX());
        if (sheet && r3->GetInnerRef()) {
            if (CCItem* item = sheet->LookupItem(r3->GetInnerRef())) {
                item->Recalc(sheet->GetCTX());
                return 1;
            }
        }
    }
    CCItem* item = LookupItem(ref);
    if (!item) return 0;
    item->Recalc(GetCTX());
    return 1;
}

int CCCellManager::SetSourceValue(const CCRef* ref, const CCCellValue* value) {
    if (!ref) return 0;
    if (!GetAutoCalc()) return 1;
    CCItem* item = LookupItem(ref);
    if (!item) return 0;
    cells::CTX* ctx = GetCTX();
    // The walk follows edit sources from cell to cell; a chain that comes back to a cell
    // it has seen, or loses its way, ends without storing anything.
    std::unordered_set<const CCItem*> seen;
    for (;;) {
        if (!seen.insert(item).second) return 0;
        CCCell* cell = item->AsCell();
        const CCRef* source = cell ? cell->GetEditSourceRef(ctx) : nullptr;
        if (!source) break;
        if (source->GetType() == REF_TYPE_REMOTE)
            return DoRemoteSetSourceValue(static_cast<const CCRemoteRef*>(source), value);
        item = LookupItem(source);
        if (!item) return 0;
    }
    if (CCCell* cell = item->AsCell(); cell && value) cell->SetValue(ctx, *value);
    return 1;
}

int CCCellManager::RegisterDependent(const CCRef* precedent, const CCRef* dependent) {
    CCItem* item = precedent ? LookupItem(precedent) : nullptr;
    if (!item) return 1;
    return item->RegisterDependent(GetCTX(), dependent);
}

int CCCellManager::UnRegisterDependent(CCItem* item, const CCRef* dependent) {
    if (!item) return 0;
    item->UnRegisterDependent(GetCTX(), dependent);
    return 1;
}

int CCCellManager::UnRegisterDependent(const CCRef* precedent, const CCRef* dependent) {
    return UnRegisterDependent(precedent ? LookupItem(precedent) : nullptr, dependent);
}

int CCCellManager::InvalidateRef(const CCRef* ref, const CCRef* invalidated) {
    CCCell* cell = CellAt(ref);
    if (!cell) return 0;
    cell->InvalidateRef(GetCTX(), invalidated);
    return 1;
}

int CCCellManager::MoveFormula(const CCRef* ref, const CCRef* from, const CCRef* to) {
    CCItem* item = ref ? LookupItem(ref) : nullptr;
    if (!item) return 0;
    item->UpdateDependent(GetCTX(), from, to);
    return 1;
}

int CCCellManager::MoveDependent(const CCRef* ref, const CCRef* from, const CCRef* to, int flag) {
    CCCell* cell = CellAt(ref);
    if (!cell) return 0;
    cell->UpdateFormula(GetCTX(), from, to, flag);
    return 1;
}

CCRefList* CCCellManager::LoadDependencies(const CCRef* ref) {
    CCItem* item = ref ? LookupItem(ref) : nullptr;
    return item ? item->LoadDependents(GetCTX()) : nullptr;
}

void CCCellManager::ForEachDependentGroup(const CCRef* ref,
                                          const std::function<void(const CCRef*)>& visit) {
    std::unique_ptr<CCRefList, void (*)(CCRefList*)> list(
        LoadDependencies(ref), [](CCRefList* nodes) { RefListFree(nodes, 0); });
    for (CCRefList* node = list.get(); node; node = node->m_pNext)
        visit(node->m_pRef);
}
