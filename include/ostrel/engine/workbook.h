// SPDX-License-Identifier: Apache-2.0
/// \file
/// A workbook: the host's ordered set of sheets, as the engine needs it. It shares one
/// protection state and one calculation cache among its sheets; the host creates it by
/// deriving, keeps the sheets and answers the questions about them.
#pragma once

#include <string>
#include <string_view>

#include "ostrel/engine/calc_cache.h"
#include "ostrel/export.h"

class CCCellManager;
class CCSheet;
namespace ostrel::platform {
class CFile;
}  // namespace ostrel::platform
namespace cells {
class CTX;
}

class OSTREL_API CCWorkbook {
public:
    virtual ~CCWorkbook();
    CCWorkbook(const CCWorkbook&) = delete;
    CCWorkbook& operator=(const CCWorkbook&) = delete;

    /// The sheet with that name; sheet links put a "?" before it, which the host accepts.
    virtual CCSheet* GetSheet(std::u16string_view) { return nullptr; }
    virtual CCSheet* GetDefaultSheet() { return nullptr; }
    virtual int IsValidSheetName(std::u16string_view) { return 0; }
    /// Serves a request that another document sent to the workbook: the sheet the item's
    /// prefix names ("Sheet2!B4", served as "B4"), else the default sheet, answers it in
    /// the file. 0 when no sheet could (an unknown sheet, a request that does not read).
    virtual int TransportFile(cells::CTX* ctx, ostrel::platform::CFile* file);
    /// At most 255 sheets, numbered from 0.
    virtual unsigned char GetSheetCount() { return 0; }
    virtual CCSheet* GetSheetByNumber(unsigned char) { return nullptr; }
    virtual void Protect(std::u16string_view password);
    virtual void UnProtect();
    /// 1 when the manager is one of the sheets, 0 when not, -1 when not known.
    virtual int HasManager(CCCellManager*) { return -1; }

    int IsProtected() const { return m_protected; }
    const std::u16string& GetPassword() const { return m_password; }
    void DoProtectionDialog();

    CCCalcCache& GetCalcCache() { return m_cache; }
    const CCCalcCache& GetCalcCache() const { return m_cache; }
    /// Recalculates every dirty cell of every sheet, in the shared order, through manager.
    void DoCalc(CCCellManager* manager);
    /// UpdateOnRename on every sheet.
    void UpdateAllOnRename(std::u16string_view oldName, std::u16string_view newName);

    /// Called by each sheet as it goes, so that no workbook keeps its cells in its order.
    static void ForgetSheet(const CCCellManager* sheet);

protected:
    CCWorkbook();

private:
    CCCalcCache m_cache;
    int m_protected = 0;
    std::u16string m_password;
};
