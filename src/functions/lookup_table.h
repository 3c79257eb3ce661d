// SPDX-License-Identifier: Apache-2.0
// The table argument of VLOOKUP and HLOOKUP and the two ranges they read from it: the keys,
// the table's first column (row), and the results, its n-th, both spanning the table's rows
// (columns). The ranges stay where the table is: on its sheet, or in its document for a
// table of another document.
#pragma once

#include <memory>
#include <string>

#include "ostrel/formula/formula.h"
#include "ostrel/refs/ref_3d.h"

namespace ostrel::functions::lookup {

class TableRanges {
public:
    // 0 when the argument names cells, else its error: 1 for a name that does not translate,
    // 3 for anything else that is not a cell or a range (a remote item included).
    int Resolve(cells::CTX* ctx, CCFormula* table, const CCRef* cell);
    unsigned Width() const { return m_lastColumn - m_firstColumn + 1u; }
    unsigned Height() const { return m_lastRow - m_firstRow + 1u; }
    // The ranges of result column (vertical) or row n, counted from 1 within the table.
    void Make(cells::CTX* ctx, bool vertical, unsigned n);
    CCFormula* Keys() const { return m_keys.get(); }
    CCFormula* Results() const { return m_results.get(); }

private:
    std::unique_ptr<CCFormula> Range(cells::CTX* ctx, unsigned firstColumn, unsigned firstRow,
                                     unsigned lastColumn, unsigned lastRow) const;

    std::unique_ptr<CCRef3D> m_sheet;  // the table's sheet, when it names one
    bool m_remote = false;
    std::u16string m_document;  // of a remote table
    unsigned m_firstColumn = 0, m_firstRow = 0, m_lastColumn = 0, m_lastRow = 0;
    std::unique_ptr<CCFormula> m_keys;
    std::unique_ptr<CCFormula> m_results;
};

}  // namespace ostrel::functions::lookup
