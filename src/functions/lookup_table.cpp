// SPDX-License-Identifier: Apache-2.0
#include "functions/lookup_table.h"

#include "functions/lookup_range.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/region_ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

namespace ostrel::functions::lookup {

int TableRanges::Resolve(cells::CTX* ctx, CCFormula* table, const CCRef* cell) {
    CCCellValue holder;
    const CCRef* ref = ReferenceOf(ctx, table, holder, cell);
    if (!ref) return 3;
    // Translations and scans are new references owned here.
    std::unique_ptr<CCRef> translated, inner, scanned;
    if (ref->GetType() == REF_TYPE_NAME) {
        CCCellManager* manager = cells::ManagerOf(ctx);
        translated.reset(manager ? manager->TranslateNameRef(ref) : nullptr);
        ref = translated.get();
        if (!ref) return 1;
    }
    if (ref->GetType() == REF_TYPE_3D) {
        const auto* qualified = static_cast<const CCRef3D*>(ref);
        m_sheet = std::make_unique<CCRef3D>(*qualified);
        ref = qualified->GetInnerRef();
        if (ref && ref->GetType() == REF_TYPE_NAME) {
            CCCellManager* sheet = qualified->GetFirstSheetManager(ctx);
            inner.reset(sheet ? sheet->TranslateNameRef(ref) : nullptr);
            ref = inner.get();
            if (!ref) return 1;
        }
    } else if (ref->GetType() == REF_TYPE_REMOTE) {
        const auto* remote = static_cast<const CCRemoteRef*>(ref);
        m_remote = true;
        m_document = remote->GetDocument();
        const std::u16string item = remote->GetItem();
        const char16_t* cursor = item.c_str();
        _EatWhite(cursor);
        CCRef* read = nullptr;
        unsigned char flags = 0;
        const int ok = _EatRef(ctx, cursor, read, flags);
        scanned.reset(read);
        if (!ok || !_IsEmpty(cursor)) return 3;
        ref = scanned.get();
    }
    if (!ref) return 3;
    if (ref->GetType() == REF_TYPE_RC) {
        const auto* rc = static_cast<const CCRCRef*>(ref);
        m_firstColumn = m_lastColumn = rc->GetColumn();
        m_firstRow = m_lastRow = rc->GetRow();
        return 0;
    }
    if (ref->GetType() != REF_TYPE_REGION) return 3;
    const auto* region = static_cast<const CCRegionRef*>(ref);
    if (!region->IsNormal()) return 3;
    m_firstColumn = region->GetFirstColumn();
    m_firstRow = region->GetFirstRow();
    m_lastColumn = region->GetLastColumn();
    m_lastRow = region->GetLastRow();
    return 0;
}

void TableRanges::Make(cells::CTX* ctx, bool vertical, unsigned n) {
    if (vertical) {
        const unsigned column = m_firstColumn + n - 1;
        m_keys = Range(ctx, m_firstColumn, m_firstRow, m_firstColumn, m_lastRow);
        m_results = Range(ctx, column, m_firstRow, column, m_lastRow);
    } else {
        const unsigned row = m_firstRow + n - 1;
        m_keys = Range(ctx, m_firstColumn, m_firstRow, m_lastColumn, m_firstRow);
        m_results = Range(ctx, m_firstColumn, row, m_lastColumn, row);
    }
}

std::unique_ptr<CCFormula> TableRanges::Range(cells::CTX* ctx, unsigned firstColumn,
                                              unsigned firstRow, unsigned lastColumn,
                                              unsigned lastRow) const {
    CCRegionRef region(static_cast<unsigned char>(firstColumn), static_cast<uint16_t>(firstRow),
                       static_cast<unsigned char>(lastColumn), static_cast<uint16_t>(lastRow));
    if (m_remote) {
        CWideOutStream text;
        region.Print(ctx, text, 0);
        CCRemoteRef remote(m_document, text.str());
        return std::make_unique<CCRefFormula>(&remote, 0);
    }
    if (m_sheet) {
        CCRef3D qualified(*m_sheet);
        qualified.SetInnerRef(region.Copy());
        return std::make_unique<CCRefFormula>(&qualified, 0);
    }
    return std::make_unique<CCRefFormula>(&region, 0);
}

}  // namespace ostrel::functions::lookup
