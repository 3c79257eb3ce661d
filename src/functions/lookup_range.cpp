// SPDX-License-Identifier: Apache-2.0
#include "functions/lookup_range.h"

#include "ostrel/engine/cell_manager.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/region_ref.h"

namespace ostrel::functions::lookup {

bool SheetRange::Resolve(cells::CTX* ctx, const CCRef* ref) {
    m_manager = nullptr;
    if (!ref) return false;
    CCCellManager* manager = cells::ManagerOf(ctx);
    // A sheet-qualified reference opens its inner reference on that sheet's manager.
    if (ref->GetType() == REF_TYPE_3D) {
        const auto* qualified = static_cast<const CCRef3D*>(ref);
        if (!qualified->IsSingleSheet()) return false;
        manager = qualified->GetFirstSheetManager(ctx);
        ref = qualified->GetInnerRef();
        if (!ref) return false;
    }
    if (!manager) return false;
    if (ref->GetType() == REF_TYPE_RC) {
        const auto* rc = static_cast<const CCRCRef*>(ref);
        m_column = rc->GetColumn();
        m_row = rc->GetRow();
        m_width = m_height = 1;
    } else if (ref->GetType() == REF_TYPE_REGION) {
        const auto* region = static_cast<const CCRegionRef*>(ref);
        if (!region->IsNormal()) return false;
        m_column = region->GetFirstColumn();
        m_row = region->GetFirstRow();
        m_width = uint32_t(region->GetWidth());
        m_height = uint32_t(region->GetHeight());
    } else {
        return false;
    }
    // Opening reads the size from the manager; a manager that sees another shape serves
    // positions of its own, which a change of a cell cannot be matched with.
    long width = 0, height = 0;
    manager->GetRefSize(ref, width, height);
    if (width != long(m_width) || height != long(m_height)) return false;
    m_manager = manager;
    m_ref = ref;
    return true;
}

bool SheetRange::Resolve(cells::CTX* ctx, CCFormula* node, const CCRef* cell) {
    m_holder.Set();
    return Resolve(ctx, ReferenceOf(ctx, node, m_holder, cell));
}

bool SheetRange::PositionOf(unsigned column, unsigned row, uint32_t& position) const {
    if (column < m_column || column - m_column >= m_width) return false;
    if (row < m_row || row - m_row >= m_height) return false;
    position = (row - m_row) * m_width + (column - m_column);
    return true;
}

void SheetRange::ValueAt(cells::CTX* ctx, uint32_t position, CCCellValue& value) const {
    // What the manager's NextValue does at this position, then the walk's dereference.
    if (!m_manager || !m_manager->GetValue(m_ref, &value, position)) value.Set(1);
    DereferenceValue(ctx, value);
}

}  // namespace ostrel::functions::lookup
