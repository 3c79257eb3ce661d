// SPDX-License-Identifier: Apache-2.0
// A criterion of the conditional functions (SUMIF and its kin): a number matches equal
// numbers; a text may start with one of = <> < <= > >= and compares what follows, as a number
// when it reads as one, else as text without regard to case. Only values of the operand's
// kind match, except under <>, which every other kind satisfies.
#pragma once

#include "ostrel/cells/cell_value.h"

class CCCriterion {
public:
    explicit CCCriterion(const CCCellValue& criterion);
    bool Matches(const CCCellValue& value) const;

private:
    enum class Op { kEq, kNe, kLt, kLe, kGt, kGe };
    Op m_op = Op::kEq;
    CCCellValue m_operand;
};
