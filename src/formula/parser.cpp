// SPDX-License-Identifier: Apache-2.0
// Entry points of the formula parser over the generated grammar.
#include "ostrel/formula/parser.h"

#include "formula/grammar_support.h"
#include "formula/scan_internal.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/scanner.h"

using namespace ostrel::scan;

namespace {

// Dates, times and booleans are not signed or bracketed numbers.
bool IsSignable(const ScannedNumber& number) {
    unsigned char kind = number.format.getType();
    return kind != C_NF_DATE && kind != C_NF_TIME && kind != C_NF_BOOL;
}

// Whether cell input would take the text (at its first non-white character) as a number.
bool IsTypedNumber(const Locale& loc, const char16_t* p) {
    ScannedNumber number;
    if (*p == u'+' || *p == u'-') {
        const char16_t* q = p + 1;
        if (ScanAnyNumber(loc, q, false, number) && IsSignable(number) && OnlyWhite(q)) return true;
    } else if (*p == u'(') {
        const char16_t* q = p + 1;
        if (ScanAnyNumber(loc, q, false, number) && IsSignable(number)) {
            SkipWhite(q);
            if (*q == u')' && OnlyWhite(q + 1)) return true;
        }
    }
    const char16_t* q = p;
    return ScanAnyNumber(loc, q, true, number) && OnlyWhite(q);
}

}  // namespace

int yyparse(cells::CTX* ctx, const char16_t*& cursor, int alternateNames, const CCRef* ref,
            CCFormula*& result) {
    result = nullptr;
    ostrel::grammar::ParseState state{ctx, cursor, alternateNames, ref, {}};
    if (ostrel::grammar::RunFormulaGrammar(state) != 0) return 1;
    result = state.result.node.release();
    return 0;
}

CCFormula* _ParseFormula(cells::CTX* ctx, const char16_t* text, int alternateNames,
                         const CCRef* ref) {
    const char16_t* cursor = text ? text : u"";
    SkipWhite(cursor);
    CCFormula* tree = nullptr;
    if (yyparse(ctx, cursor, alternateNames, ref, tree) != 0) return nullptr;
    if (!OnlyWhite(cursor)) {
        delete tree;
        return nullptr;
    }
    return tree;
}

CCFormula* ParseFormula(cells::CTX* ctx, char16_t* text, int alternateNames, const CCRef* ref) {
    return _ParseFormula(ctx, text, alternateNames, ref);
}

CCFormula* _QXDOSParse(cells::CTX* ctx, const char16_t*& cursor) {
    if (!cursor) return nullptr;
    SkipWhite(cursor);
    if (*cursor == 0 || *cursor == u'*' || *cursor == u'\'' || *cursor == u'"') return nullptr;
    if (IsTypedNumber(LocaleOf(LctxOf(ctx)), cursor)) return nullptr;
    CCFormula* tree = nullptr;
    if (yyparse(ctx, cursor, 0, nullptr, tree) != 0) return nullptr;
    if (!OnlyWhite(cursor)) {
        delete tree;
        return nullptr;
    }
    return tree;
}

CCFormula* QXDOSParse(cells::CTX* ctx, char16_t*& cursor) {
    const char16_t* p = cursor;
    CCFormula* tree = _QXDOSParse(ctx, p);
    if (cursor) cursor += p - cursor;
    return tree;
}

int ParseFormulaText(cells::CTX* ctx, const char16_t* text, CCFormula*& formula) {
    formula = _ParseFormula(ctx, text, 0);
    return formula ? 1 : 0;
}
