// SPDX-License-Identifier: Apache-2.0
/// \file
/// A spreadsheet document that is also an item, so that formulas elsewhere can depend on the
/// sheet as a whole, and that may belong to a workbook. The host derives its sheets from it
/// and says which workbook a sheet belongs to, its name and the reference that designates it.
#pragma once

#include <string>
#include <string_view>

#include "ostrel/cells/item.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/export.h"

class OSTREL_API CCSheet : public CCCellManager, public CCItem {
public:
    CCSheet() = default;
    ~CCSheet() override;

    CCWorkbook* GetWorkbook() override { return nullptr; }
    void GetSheetName(std::u16string& name) const override { name.clear(); }
    /// The workbook's answer; 0 without a workbook.
    int IsValidSheetName(std::u16string_view name) override;
    /// A new link ("?" and this sheet's name, the reference's text), owned by the caller.
    CCRemoteRef* TranslateToSheetRef(const CCRef* ref) override;

    /// Called by the host after it renamed the sheet: the formulas that name this sheet
    /// store their text again, naming it by its new name.
    virtual void OnRename(std::u16string_view newName);
    /// Renames the sheet in the links this sheet's item keeps, and keeps them packed.
    virtual void UpdateOnRename(std::u16string_view oldName, std::u16string_view newName);

    /// The item side: the reference that designates the sheet (none by default). Two sheet
    /// items are equal when they are one sheet or designate the same.
    const CCRef* GetRef() const override { return nullptr; }
    bool IsEqual(const CCItem* other) const override;
    /// The listener side keeps its own meaning (the same object); a sheet compared with a
    /// sheet is compared as an item.
    bool IsEqual(const CCBaseListener* other) const override {
        return CCBaseListener::IsEqual(other);
    }
    bool IsEqual(const CCSheet* other) const { return IsEqual(static_cast<const CCItem*>(other)); }

    /// Both bases name these; each form keeps its meaning.
    using CCCellManager::Read;
    using CCCellManager::RegisterDependent;
    using CCCellManager::UnRegisterDependent;
    using CCCellManager::Write;
    using CCItem::Read;
    using CCItem::RegisterDependent;
    using CCItem::UnRegisterDependent;
    using CCItem::Write;
};
