// SPDX-License-Identifier: Apache-2.0
// Classification of what a user typed into a cell: nothing, a constant, a text or a formula.
#include "formula/scan_internal.h"
#include "formula/shape_cache.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/scanner.h"

using namespace ostrel::scan;
using ostrel::formula::ParseFormulaTextAt;

namespace {

// Dates, times and booleans keep their meaning only when typed as they are: "-12/3/2001" or
// "(TRUE)" are not negated dates or booleans.
bool IsSignable(const ScannedNumber& number) {
    unsigned char kind = number.format.getType();
    return kind != C_NF_DATE && kind != C_NF_TIME && kind != C_NF_BOOL;
}

}  // namespace

int _Parse(cells::CTX* ctx, const char16_t* text, CCCellValue& value, CCFormula*& formula,
           const CCRef* ref) {
    value.Set();
    value.Set(CCNumberFormat());
    formula = nullptr;
    const Locale& loc = LocaleOf(LctxOf(ctx));
    const char16_t* p = text ? text : u"";
    SkipWhite(p);
    if (*p == 0) return 1;

    ScannedNumber number;
    switch (*p) {
        case u'\'':
            value.Set(p + 1);
            return 1;
        case u'@':  // a token of the grammar: it stays
            ParseFormulaTextAt(ctx, p, formula, ref);
            return 2;
        case u'=':
            ParseFormulaTextAt(ctx, p + 1, formula, ref);
            return 2;
        case u'!':
            ParseFormulaTextAt(ctx, p + 1, formula, ref);
            return 3;
        case u'+':
        case u'-': {
            const char16_t* q = p + 1;
            if (ScanAnyNumber(loc, q, false, number) && IsSignable(number) && OnlyWhite(q)) {
                value.Set(*p == u'-' ? Negate(number.value) : number.value, number.format);
                return 1;
            }
            if (ParseFormulaTextAt(ctx, p, formula, ref)) return 2;
            value.Set(p);
            return 1;
        }
        case u'(': {
            const char16_t* q = p + 1;
            if (ScanAnyNumber(loc, q, false, number) && IsSignable(number)) {
                SkipWhite(q);
                if (*q == u')' && OnlyWhite(q + 1)) {
                    number.format.setNegBr(1);
                    value.Set(Negate(number.value), number.format);
                    return 1;
                }
            }
            break;
        }
        default:
            break;
    }
    const char16_t* q = p;
    if (ScanAnyNumber(loc, q, true, number) && OnlyWhite(q)) {
        value.Set(number.value, number.format);
        return 1;
    }
    value.Set(p);
    return 1;
}

int Parse(cells::CTX* ctx, char16_t* text, CCCellValue& value, CCFormula*& formula,
          const CCRef* ref) {
    return _Parse(ctx, text, value, formula, ref);
}

int _IsFormulaPrefix(cells::LCTX*, const char16_t* text) {
    if (!text) return 0;
    SkipWhite(text);
    switch (*text) {
        case u'=':
        case u'@':
        case u'!':
        case u'+':
        case u'-':
        case u'(':
            return 1;
        default:
            return 0;
    }
}

int IsFormulaPrefix(cells::LCTX* lctx, char16_t* text) {
    return _IsFormulaPrefix(lctx, text);
}
