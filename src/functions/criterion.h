// SPDX-License-Identifier: Apache-2.0
// A criterion of the conditional functions (SUMIF and its kin): a number matches equal
// numbers; a text may start with one of = <> < <= > >= and compares what follows, as a number
// when it reads as one, else as text without regard to case. Only values of the operand's
// kind match, except under <>, which every other kind satisfies.
#pragma once

#include "ostrel/cells/cell_value.h"

class CCCriterion {
public:
    enum class Op { kEq, kNe, kLt, kLe, kGt, kGe };

    explicit CCCriterion(const CCCellValue& criterion);
    bool Matches(const CCCellValue& value) const;
    // The comparison, and its number when the operand is one.
    Op Comparison() const { return m_op; }
    bool NumberOperand(double& number) const {
        if (!m_operand.IsNumber()) return false;
        number = m_operand.GetNumber();
        return true;
    }
    // The text when the operand is one (null otherwise).
    const char16_t* TextOperand() const {
        return m_operand.IsText() ? m_operand.GetText() : nullptr;
    }
    // Of the values below the operand, equal to it and above it (by any measure that adds
    // up: how many, their sum), the part the comparison takes; for <>, those below and above.
    double Take(double below, double equal, double above) const;

private:
    Op m_op = Op::kEq;
    CCCellValue m_operand;
};
