// SPDX-License-Identifier: Apache-2.0
// A range argument of the lookup functions seen as positions of one sheet: the manager that
// serves it and the cell or region it names there. Such a range answers the value at any
// position without walking to it, and tells which of its positions a changed cell is, which
// is what its lookup index needs. Ranges of other documents, spans of sheets and names are
// not seen this way: the functions walk them.
#pragma once

#include <cstdint>

#include "functions/reference_support.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"

class CCCellManager;

namespace ostrel::functions::lookup {

class SheetRange {
public:
    SheetRange() = default;
    // The reference may live in the range's own holder: never copied.
    SheetRange(const SheetRange&) = delete;
    SheetRange& operator=(const SheetRange&) = delete;

    // False when ref is not a cell or region of one sheet (possibly another sheet of the
    // workbook) whose manager serves it as the grid's rectangle, row by row.
    bool Resolve(cells::CTX* ctx, const CCRef* ref);
    // The same for the range an argument names.
    bool Resolve(cells::CTX* ctx, CCFormula* node, const CCRef* cell);

    CCCellManager* Manager() const { return m_manager; }
    // The cell or region on the manager's sheet (borrowed from the argument).
    const CCRef* Ref() const { return m_ref; }
    uint32_t Size() const { return m_width * m_height; }
    unsigned FirstColumn() const { return m_column; }
    unsigned FirstRow() const { return m_row; }
    uint32_t Width() const { return m_width; }
    unsigned LastColumn() const { return m_column + m_width - 1; }
    // The position of a cell within the range, counted row by row from 0; false outside it.
    bool PositionOf(unsigned column, unsigned row, uint32_t& position) const;
    // The value at a position, exactly as a walk of the range reads it there.
    void ValueAt(cells::CTX* ctx, uint32_t position, CCCellValue& value) const;

private:
    CCCellManager* m_manager = nullptr;
    const CCRef* m_ref = nullptr;
    CCCellValue m_holder;
    unsigned m_column = 0;
    unsigned m_row = 0;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
};

}  // namespace ostrel::functions::lookup
