// SPDX-License-Identifier: Apache-2.0
#include "functions/criterion.h"

#include <charconv>
#include <string>

#include "ostrel/platform/utf.h"

namespace {

// The whole text as a number, independent of any locale; false when it is not one.
bool ReadNumber(std::u16string_view text, double& number) {
    const std::string ascii = ostrel::ToUtf8(std::u16string(text));
    if (ascii.empty()) return false;
    const char* end = ascii.data() + ascii.size();
    auto [ptr, ec] = std::from_chars(ascii.data(), end, number);
    return ec == std::errc() && ptr == end;
}

}  // namespace

CCCriterion::CCCriterion(const CCCellValue& criterion) {
    if (!criterion.IsText() || !criterion.GetText()) {
        m_operand.Set(criterion);
        return;
    }
    std::u16string_view text = criterion.GetText();
    static const struct {
        std::u16string_view prefix;
        Op op;
    } kPrefixes[] = {{u"<=", Op::kLe}, {u">=", Op::kGe}, {u"<>", Op::kNe},
                     {u"<", Op::kLt},  {u">", Op::kGt},  {u"=", Op::kEq}};
    for (const auto& p : kPrefixes) {
        if (text.substr(0, p.prefix.size()) == p.prefix) {
            m_op = p.op;
            text.remove_prefix(p.prefix.size());
            break;
        }
    }
    double number = 0;
    if (ReadNumber(text, number))
        m_operand.Set(number);
    else
        m_operand.Set(text);
}

bool CCCriterion::Matches(const CCCellValue& value) const {
    if (value.GetType() != m_operand.GetType()) return m_op == Op::kNe;
    const int c = CompareEQTypeValues(value, m_operand, 0);
    switch (m_op) {
        case Op::kEq:
            return c == 0;
        case Op::kNe:
            return c != 0;
        case Op::kLt:
            return c < 0;
        case Op::kLe:
            return c <= 0;
        case Op::kGt:
            return c > 0;
        case Op::kGe:
            return c >= 0;
    }
    return false;
}

double CCCriterion::Take(double below, double equal, double above) const {
    switch (m_op) {
        case Op::kEq:
            return equal;
        case Op::kNe:
            return below + above;
        case Op::kLt:
            return below;
        case Op::kLe:
            return below + equal;
        case Op::kGt:
            return above;
        case Op::kGe:
            return above + equal;
    }
    return 0;
}
