// SPDX-License-Identifier: Apache-2.0
// The cells recalculated after every change: formulas that read what no dependency names
// (a random number, a reference computed from a text or an offset). Each manager keeps its
// own; a change queues them once per batch, so that typing many cells between two
// calculations costs one pass over them, not one per cell typed.
#include <memory>

#include "ostrel/engine/calc_cache.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/engine/sheet.h"
#include "ostrel/engine/workbook.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_3d.h"

namespace {

// The form dependencies name cells in: qualified by the manager's own sheet.
std::unique_ptr<CCRef> Qualified(CCCellManager& manager, const CCRef* cell) {
    if (!cell) return nullptr;
    if (cell->GetType() == REF_TYPE_3D) return std::unique_ptr<CCRef>(cell->Copy());
    return std::make_unique<CCRef3D>(manager.GetCTX(), cell);
}

}  // namespace

void CCCellManager::RegisterVolatile(const CCRef* cell) {
    std::unique_ptr<CCRef> key = Qualified(*this, cell);
    if (!key || m_volatile.Contains(key.get())) return;
    // The cell is computed as it registers, and typing it queues it; in a workbook whose
    // volatile cells are marked already it still runs after the others of this batch.
    if (CCWorkbook* book = GetWorkbook()) {
        CCCalcCache& cache = book->GetCalcCache();
        if (cache.IsVolatileMarked())
            if (std::unique_ptr<CCRef> node = CCCalcCache::MakeKey(this, key.get()))
                cache.KeepLast(node.get());
    }
    m_volatile.AddLast(std::move(key));
}

void CCCellManager::UnRegisterVolatile(const CCRef* cell) {
    if (m_volatile.IsEmpty()) return;
    if (std::unique_ptr<CCRef> key = Qualified(*this, cell)) m_volatile.ExcludeDelete(key.get());
}

void CCCellManager::QueueVolatile() {
    if (m_volatileQueued || m_volatile.IsEmpty()) return;
    m_volatileQueued = true;
    for (const auto& cell : m_volatile.GetStdList()) {
        // A cell typed just now waits in its plain form: it runs once.
        const CCRef* plain = static_cast<const CCRef3D*>(cell.get())->GetInnerRef();
        if (m_processList.Contains(cell.get()) || (plain && m_processList.Contains(plain)))
            continue;
        m_processList.AddLast(cell.get());
    }
}

void CCCellManager::MarkVolatile(CCWorkbook& book) {
    CCCalcCache& cache = book.GetCalcCache();
    if (cache.IsVolatileMarked()) return;
    // Set first: marking a volatile cell is a change that comes back here.
    cache.SetVolatileMarked();
    bool listed = false;
    const unsigned count = book.GetSheetCount();
    for (unsigned number = 0; number < count && number < 255; ++number) {
        CCCellManager* sheet = book.GetSheetByNumber(static_cast<unsigned char>(number));
        if (!sheet) continue;
        listed = listed || sheet == this;
        for (const auto& cell : sheet->m_volatile.GetStdList())
            sheet->MarkInWorkbook(book, cell.get(), WorkbookPlacing::last);
    }
    // A host that does not list its sheets still has this one's cells follow its changes.
    if (!listed)
        for (const auto& cell : m_volatile.GetStdList())
            MarkInWorkbook(book, cell.get(), WorkbookPlacing::last);
}

bool CCCellManager::IsVolatile(const CCRef* cell) {
    if (m_volatile.IsEmpty() || !cell) return false;
    // Asked of every cell a recalculation meets: most are qualified already.
    if (cell->GetType() == REF_TYPE_3D) return m_volatile.Contains(cell);
    CCRef3D key(GetCTX(), cell);
    return m_volatile.Contains(&key);
}
