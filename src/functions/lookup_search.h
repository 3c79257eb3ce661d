// SPDX-License-Identifier: Apache-2.0
// The searches the lookup functions share, over range arguments read value by value in row
// order. Each is answered from the range's lookup index when the range is a rectangle of a
// sheet and the value searched for a number or a text, and by reading the range from the
// top otherwise; the two give the same result on any data. Only elements of the value's
// kind are compared, as CompareEQTypeValues compares them; texts with case for the sorted
// and exact lookups, without it for MATCH and FINDEX. A range that cannot be opened gives
// error 1.
#pragma once

#include <cstdint>

#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"

namespace ostrel::functions::lookup {

// LOOKUP: keys and results read in step; the result beside the last key not beyond the
// value, walking until a key lies beyond it or a range runs out. Error 9 when there is no
// such key, or when the keys ran out and the last one compared was smaller than the value.
void SortedLookup(cells::CTX* ctx, const CCCellValue& value, CCFormula* keys, CCFormula* results,
                  const CCRef* cell, CCCellValue& result);

enum class Found : uint8_t { yes, no, failed };
// The result beside the first key equal to the value (texts with case), keys and results
// read in step, the search ending with either range: yes with result set, no (result
// untouched), or failed with error 1 in result.
Found ExactLookup(cells::CTX* ctx, const CCCellValue& value, CCFormula* keys, CCFormula* results,
                  const CCRef* cell, CCCellValue& result);

// MATCH: the position counted from 1 of the first element equal to the value for type 0;
// for a positive type, the last position before the first element beyond the value, or the
// last equal one when none lies beyond; for a negative type, the first element not above
// the value, or the position before it when it is below. Error 9 when there is none, or
// when the first element already lies beyond; error 1 for an empty range.
void MatchSearch(cells::CTX* ctx, const CCCellValue& value, CCFormula* range, int64_t type,
                 const CCRef* cell, CCCellValue& result);

// The first element of one range equal to the value (texts without case): 0 with its
// position counted from 0 (kNone when there is none) and the number of values the range
// holds, or 1 when it cannot be opened.
int FindInRange(cells::CTX* ctx, const CCCellValue& value, CCFormula* range, const CCRef* cell,
                uint32_t& position, uint64_t& count);

}  // namespace ostrel::functions::lookup
