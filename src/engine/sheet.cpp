// SPDX-License-Identifier: Apache-2.0
// Sheets: their item side, their names within a workbook, and renaming.
#include "ostrel/engine/sheet.h"

#include <memory>
#include <vector>

#include "ostrel/cells/cell.h"
#include "ostrel/engine/workbook.h"
#include "ostrel/formula/formula.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"
#include "platform/text/unicode.h"

namespace {

bool SameSheetName(std::u16string_view a, std::u16string_view b) {
    return ostrel::text::SameIgnoringCase(CCRemoteRef::SheetName(a), CCRemoteRef::SheetName(b));
}

// Stores the formula of the cell a dependent designates again, so that its stored text is
// printed from the sheet names of now.
void ResaveFormula(CCCellManager* sheet, const CCRef* ref) {
    if (!sheet || !ref) return;
    CCItem* item = sheet->GetItem(ref);
    CCCell* cell = item ? item->AsCell() : nullptr;
    if (!cell) return;
    cells::CTX* ctx = sheet->GetCTX();
    CCFormula* loaded = nullptr;
    char16_t type = 0;
    cell->LoadFormula(ctx, loaded, type);
    std::unique_ptr<CCFormula> formula(loaded);
    if (formula) cell->SaveFormula(ctx, formula.get(), type);
}

}  // namespace

CCSheet::~CCSheet() {
    CCWorkbook::ForgetSheet(this);
}

int CCSheet::IsValidSheetName(std::u16string_view name) {
    CCWorkbook* book = GetWorkbook();
    return book ? book->IsValidSheetName(name) : 0;
}

CCRemoteRef* CCSheet::TranslateToSheetRef(const CCRef* ref) {
    if (!ref) return nullptr;
    std::u16string name;
    GetSheetName(name);
    CWideOutStream item;
    ref->Print(GetCTX(), item, 0);
    return new CCRemoteRef(u"?" + name, item.str());
}

bool CCSheet::IsEqual(const CCItem* other) const {
    if (other == this) return true;
    const CCRef* own = GetRef();
    return other && own && other->GetRef() && own->IsEqual(other->GetRef());
}

void CCSheet::OnRename(std::u16string_view) {
    CCWorkbook* book = GetWorkbook();
    if (!book) return;
    // A copy: storing formulas again may touch this sheet's dependents.
    CCRefList* borrowed = LoadDependents(GetCTX());
    CCRefList* dependents = RefListCopy(borrowed);
    RefListFree(borrowed, 0);
    for (CCRefList* node = dependents; node; node = node->m_pNext) {
        const CCRef* ref = node->m_pRef;
        if (ref->GetType() == REF_TYPE_REMOTE) {
            const auto* link = static_cast<const CCRemoteRef*>(ref);
            CCSheet* sheet = book->GetSheet(link->GetDocument());
            if (!sheet) continue;
            std::unique_ptr<CCRef> local(sheet->TranslateToInternalRef(link));
            ResaveFormula(sheet, local.get());
        } else if (ref->GetType() == REF_TYPE_3D) {
            const auto* r3 = static_cast<const CCRef3D*>(ref);
            CCCellManager* sheet = r3->GetFirstSheetManager(GetCTX());
            ResaveFormula(sheet, r3->GetInnerRef());
        }
    }
    RefListFree(dependents, 1);
}

void CCSheet::UpdateOnRename(std::u16string_view oldName, std::u16string_view newName) {
    cells::CTX* ctx = GetCTX();
    CCRefList* borrowed = LoadDependents(ctx);
    if (!borrowed) return;
    CCRefList* renamed = nullptr;
    for (CCRefList* node = borrowed; node; node = node->m_pNext) {
        const CCRef* ref = node->m_pRef;
        if (ref->GetType() == REF_TYPE_REMOTE) {
            const auto* link = static_cast<const CCRemoteRef*>(ref);
            if (SameSheetName(link->GetDocument(), oldName)) {
                std::u16string document(link->IsSheetLink() ? u"?" : u"");
                document += CCRemoteRef::SheetName(newName);
                renamed = new CCRefList(new CCRemoteRef(document, link->GetItem()), renamed, true);
                continue;
            }
        }
        renamed = new CCRefList(ref->Copy(), renamed, true);
    }
    RefListFree(borrowed, 0);
    // Loaded most recent first, built back to front: stored in the order they came.
    SaveDependents(ctx, renamed);
    RefListFree(renamed, 1);
    DeleteDependentRefs(ctx);
}
