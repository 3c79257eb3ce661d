// SPDX-License-Identifier: Apache-2.0
/// \file
/// Conversion between the legacy records of CCQXW15Exchange and the engine's objects:
/// ConvertTo15 builds a record from an engine object, ConvertTo95 an engine object from a
/// record. The caller owns every record and object returned.
///
/// Legacy coordinates count from 1 when absolute; a relative one is an offset from an
/// origin (x column, y row, legacy counting). Without an origin every coordinate is
/// absolute. Whatever the old form cannot hold exactly converts to none: a reference other
/// than a cell, range or name, a name or text beyond 254 bytes or outside the 8-bit code
/// page, a choice, array or reference-operator node, a constant that would read back
/// differently, a tree deeper than CCQXW15Exchange::kMaxDepth, a coordinate beyond the old
/// program's signed 16 bits (rows past 32767). Coordinates that leave the grid once the
/// origin is applied give no reference.
#pragma once

#include <cstdint>

#include "ostrel/export.h"
#include "ostrel/io/qxw15_exchange.h"

class CCCell;
class CCCellManager;
class CCCellValue;
class CCFormula;
class CCNumberFormat;
class CCRef;
namespace ostrel::platform {
class CPoint;
}  // namespace ostrel::platform

class OSTREL_API CCQXW15Convert {
public:
    using X = CCQXW15Exchange;

    /// Texts and formulas are read and printed in the manager's context.
    explicit CCQXW15Convert(CCCellManager* manager) : m_manager(manager) {}

    /// Coordinates of a cell, range or name; absMask holds REF_ABS_COL1 .. REF_ABS_ROW2.
    X::CCQXW15_Coords* ConvertTo15(const CCRef* ref, unsigned char absMask,
                                   const ostrel::platform::CPoint* origin);
    /// A new reference and its absolute mask; null for a query, an absent record, or
    /// coordinates off the grid.
    CCRef* ConvertTo95(const X::CCQXW15_Coords* coords, const ostrel::platform::CPoint* origin,
                       unsigned char& absMask);

    /// A plain reference record around converted coordinates (null when they convert to
    /// none).
    void ConvertTo15(const CCRef* ref, unsigned char absMask,
                     const ostrel::platform::CPoint* origin, X::CCQXW15_Ref*& out);
    /// The reference's coordinates; the file part of a remote one is ignored.
    CCRef* ConvertTo95(const X::CCQXW15_Ref* ref, const ostrel::platform::CPoint* origin,
                       unsigned char& absMask);

    /// False when a text was cut to its first 254 bytes (characters outside the 8-bit code
    /// page become '?'); an empty or reference value becomes the placeholder (type 3).
    bool ConvertTo15(const CCCellValue& value, X::CCQXW15_CellValue& out);
    void ConvertTo95(const X::CCQXW15_CellValue& in, CCCellValue& out);

    /// By kind; a custom format code is carried by the kind it displays as.
    void ConvertTo15(const CCNumberFormat& format, X::CCQXW15_NumberFormat& out);
    void ConvertTo95(const X::CCQXW15_NumberFormat& in, CCNumberFormat& out);

    /// Functions by their registry names; null when the tree has no legacy form.
    X::CCQXW15_Formula* ConvertTo15(const CCFormula* formula,
                                    const ostrel::platform::CPoint* origin);
    /// Null when an argument converts to none or a name names no function.
    CCFormula* ConvertTo95(const X::CCQXW15_Formula* formula,
                           const ostrel::platform::CPoint* origin);

    /// The cell's position, value, formula (or edit source) and dependents. False when the
    /// cell has a formula the old form cannot carry: the record then holds its value only.
    bool ConvertTo15(CCCell& cell, X::CCQXW15_Cell& out);
    /// Sets the cell's value and attaches its formula (queued for recalculation, not
    /// computed) or its edit source; returns the record's position, null when it has none.
    CCRef* ConvertTo95(const X::CCQXW15_Cell& in, CCCell& cell);

private:
    X::CCQXW15_Formula* FormulaTo15(const CCFormula* formula,
                                    const ostrel::platform::CPoint* origin, int depth);
    CCFormula* FormulaTo95(const X::CCQXW15_Formula* formula,
                           const ostrel::platform::CPoint* origin, int depth);
    CCCellManager* m_manager;
};
