// SPDX-License-Identifier: Apache-2.0
#include <cmath>
#include <string>
#include <string_view>

#include "formats/text_helpers.h"
#include "ostrel/cells/cell_value.h"

namespace {

constexpr double kEpsilon = 2.220446049250313e-16;

void SetBool(CCCellValue& v, bool b) {
    v.Set(b ? 1.0 : 0.0, C_NF_BOOL);
}

// Two texts: concatenation or comparison.
void EvalTexts(int op, CCCellValue& a, const char16_t* x, const char16_t* y) {
    if (op == EV_ADD) {
        const std::u16string_view left(x ? x : u""), right(y ? y : u"");
        if (left.size() + right.size() > kMaxBuiltTextLength) {
            a.Set(3);
            return;
        }
        std::u16string joined;
        joined.reserve(left.size() + right.size());
        joined.append(left).append(right);
        a.Set(std::u16string_view(joined));
        return;
    }
    if (op >= EV_EQ && op <= EV_LE) {
        int c = StrColl(x, y, 1);
        bool r = op == EV_EQ   ? c == 0
                 : op == EV_NE ? c != 0
                 : op == EV_GT ? c > 0
                 : op == EV_GE ? c >= 0
                 : op == EV_LT ? c < 0
                               : c <= 0;
        SetBool(a, r);
        return;
    }
    a.Set(3);
}

void EvalNumbers(int op, CCCellValue& a, double x, double y) {
    switch (op) {
        case EV_ADD:
            a.Set(x + y, C_NF_GENERAL);
            break;
        case EV_SUB:
            a.Set(x - y, C_NF_GENERAL);
            break;
        case EV_MUL:
            a.Set(x * y, C_NF_GENERAL);
            break;
        case EV_DIV:
            if (y == 0.0)
                a.Set(2);
            else
                a.Set(x / y, C_NF_GENERAL);
            break;
        case EV_POW:
            a.Set(std::pow(x, y), C_NF_GENERAL);
            break;
        case EV_AND:
            SetBool(a, x != 0 && y != 0);
            break;
        case EV_OR:
            SetBool(a, x != 0 || y != 0);
            break;
        case EV_EQ:
            SetBool(a, std::fabs(x - y) < kEpsilon);
            break;
        case EV_NE:
            SetBool(a, !(std::fabs(x - y) < kEpsilon));
            break;
        case EV_GT:
            SetBool(a, x > y);
            break;
        case EV_GE:
            SetBool(a, x >= y);
            break;
        case EV_LT:
            SetBool(a, x < y);
            break;
        case EV_LE:
            SetBool(a, x <= y);
            break;
        default:
            break;
    }
}

}  // namespace

void EvalCellValue(int op, CCCellValue& a, const CCCellValue& b) {
    if (a.IsError()) return;
    if (b.IsError()) {
        a = b;
        return;
    }
    if (a.IsEmpty() && b.IsEmpty()) return;
    if (op < EV_ADD || op > EV_LE) return;

    // Working kinds: an empty side becomes "" against a text, else the number 0. Texts are
    // read in place; b may be a itself.
    bool textA = a.IsText() || (a.IsEmpty() && b.IsText());
    bool textB = b.IsText() || (b.IsEmpty() && a.IsText());
    double nx = a.IsNumber() ? a.GetNumber() : 0.0;
    double ny = b.IsNumber() ? b.GetNumber() : 0.0;
    // Only numbers, texts and empties take part; a reference side counts as 0.
    if (textA && textB) {
        // Copies, since setting a may free the text b points into.
        std::u16string x = a.IsText() && a.GetText() ? a.GetText() : u"";
        std::u16string y = b.IsText() && b.GetText() ? b.GetText() : u"";
        const char16_t* px = a.IsText() ? (a.GetText() ? x.c_str() : nullptr) : x.c_str();
        const char16_t* py = b.IsText() ? (b.GetText() ? y.c_str() : nullptr) : y.c_str();
        EvalTexts(op, a, px, py);
        return;
    }
    if (textA || textB) {
        if (op <= EV_POW) {
            a.Set(3);
            return;
        }
        if (op == EV_AND || op == EV_OR) {
            // Text does not affect AND and OR.
            double t = op == EV_AND ? 1.0 : 0.0;
            EvalNumbers(op, a, textA ? t : nx, textB ? t : ny);
            return;
        }
        SetBool(a, op == EV_NE);
        return;
    }
    EvalNumbers(op, a, nx, ny);
}

void EvalCellValue(int op, CCCellValue& v) {
    if (v.IsError()) return;
    if (v.IsEmpty() || v.IsText()) {
        if (op == EV_PLUS) return;
        v.Set(0.0, C_NF_GENERAL);
    }
    double x = v.IsNumber() ? v.GetNumber() : 0.0;
    switch (op) {
        case EV_PLUS:
            v.Set(x, C_NF_GENERAL);
            break;
        case EV_NEGATE:
            v.Set(-x, C_NF_GENERAL);
            break;
        case EV_NOT:
            v.Set(x == 0.0 ? 1.0 : 0.0, C_NF_BOOL);
            break;
        case EV_PERCENT:
            v.Set(x / 100, C_NF_GENERAL);
            break;
        default:
            break;
    }
}
