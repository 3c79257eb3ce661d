// SPDX-License-Identifier: Apache-2.0
// Tokenizing formula text on top of the scanners of typed input and the function registry.
#include "formula/lexer.h"

#include "formula/scan_internal.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/functions/func.h"
#include "ostrel/refs/ref.h"
#include "platform/text/unicode.h"

using namespace ostrel::grammar;

namespace {

// A function name counts only as a whole word: "SUMMARY" is a name, not SUM followed by
// something.
bool ContinuesWord(char16_t c) {
    return ostrel::text::IsAlpha(c) || ostrel::text::IsDigit(c) || c == u'_' || c == u'$';
}

// The operator at p, or 0; len receives the characters it takes.
int OperatorAt(const char16_t* p, int& len) {
    len = 1;
    switch (p[0]) {
        case u'+':
            return kTokPlus;
        case u'-':
            return kTokMinus;
        case u'%':
            return kTokPercent;
        case u'&':
            return kTokAnd;
        case u'*':
            return kTokMultiply;
        case u'/':
            return kTokDivide;
        case u':':
            return kTokColon;
        case u'@':
            return kTokAt;
        case u'^':
            return kTokPower;
        case u'|':
            return kTokOr;
        case u'!':
            return kTokSheetMark;
        case u'.':
            if (p[1] == u'.') {
                len = 2;
                return kTokRangeDots;
            }
            return kTokSheetMark;
        case u'<':
            len = 2;
            if (p[1] == u'=') return kTokLessEqual;
            if (p[1] == u'>') return kTokNotEqual;
            len = 1;
            return kTokLess;
        case u'=':
            len = 2;
            if (p[1] == u'<') return kTokLessEqual;
            if (p[1] == u'=') return kTokEqual;
            if (p[1] == u'>') return kTokGreaterEqual;
            len = 1;
            return kTokEqual;
        case u'>':
            if (p[1] == u'=') {
                len = 2;
                return kTokGreaterEqual;
            }
            return kTokGreater;
        case u'~':
            if (p[1] == u'=') {
                len = 2;
                return kTokNotEqual;
            }
            return kTokNot;
        default:
            return 0;
    }
}

}  // namespace

int yylex(cells::CTX* ctx, const char16_t*& cursor, int alternate, const CCRef* ref,
          TokenValue& value) {
    if (!cursor || *cursor == 0) return 0;
    _EatWhite(cursor);
    if (*cursor == 0) return 0;

    // Separators first: in a locale whose list separator is also an operator character the
    // separator wins.
    cells::LCTX* lctx = ostrel::scan::LctxOf(ctx);
    const ostrel::scan::Locale& loc = ostrel::scan::LocaleOf(lctx);
    if (ostrel::scan::At(cursor, loc.listSeparartor())) {
        ++cursor;
        return kTokArgSeparator;
    }
    if (ostrel::scan::At(cursor, loc.listSeparartor2())) {
        ++cursor;
        return kTokRowSeparator;
    }

    int len = 0;
    if (int op = OperatorAt(cursor, len)) {
        cursor += len;
        return op;
    }

    CCCellValue constant;
    if (_EatConstant(lctx, cursor, constant)) {
        value.node = std::make_unique<CCConstFormula>(constant);
        return kTokConstant;
    }

    const char16_t* start = cursor;
    const CCFunc* func = alternate ? FindFunctionByAltName(cursor) : FindFunctionByName(cursor);
    if (func) {
        if (!ContinuesWord(*cursor)) {
            value.func = func;
            return kTokFunction;
        }
        cursor = start;
    }

    if (char16_t* sheet = _EatName(ctx, cursor)) {
        value.name.reset(sheet);
        return kTokSheetName;
    }

    CCRef* scanned = nullptr;
    unsigned char flags = 0;
    if (_EatRef(ctx, cursor, scanned, flags, ref) || _EatNameRef(ctx, cursor, scanned, flags)) {
        std::unique_ptr<CCRef> owned(scanned);
        // A reference that could not be allocated is no token the grammar can use.
        if (!owned) return kTokInvalid;
        value.node = std::make_unique<CCRefFormula>(owned.get(), flags);
        return kTokReference;
    }

    return *cursor++;
}
