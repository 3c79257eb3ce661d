// SPDX-License-Identifier: Apache-2.0
// Workbooks: protection shared by the sheets, renaming across them, and the list of live
// workbooks through which a sheet that goes leaves every calculation order.
#include "ostrel/engine/workbook.h"

#include <algorithm>
#include <vector>

#include "engine/protection_dialog.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/engine/sheet.h"

namespace {

std::vector<CCWorkbook*>& LiveWorkbooks() {
    static std::vector<CCWorkbook*> books;
    return books;
}

}  // namespace

CCWorkbook::CCWorkbook() {
    LiveWorkbooks().push_back(this);
}

CCWorkbook::~CCWorkbook() {
    auto& books = LiveWorkbooks();
    books.erase(std::remove(books.begin(), books.end(), this), books.end());
}

void CCWorkbook::ForgetSheet(const CCCellManager* sheet) {
    for (CCWorkbook* book : LiveWorkbooks())
        book->m_cache.ForgetManager(sheet);
}

void CCWorkbook::Protect(std::u16string_view password) {
    m_protected = 1;
    m_password = password;
}

void CCWorkbook::UnProtect() {
    m_protected = 0;
    m_password.clear();
}

void CCWorkbook::DoProtectionDialog() {
    ostrel::engine::RunProtectionDialog(*this, m_protected != 0, m_password);
}

void CCWorkbook::DoCalc(CCCellManager* manager) {
    m_cache.DoCalc(manager);
}

void CCWorkbook::UpdateAllOnRename(std::u16string_view oldName, std::u16string_view newName) {
    unsigned count = GetSheetCount();
    for (unsigned number = 0; number < count && number < 255; ++number)
        if (CCSheet* sheet = GetSheetByNumber(static_cast<unsigned char>(number)))
            sheet->UpdateOnRename(oldName, newName);
}
