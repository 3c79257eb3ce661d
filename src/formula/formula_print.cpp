// SPDX-License-Identifier: Apache-2.0
// Printing operation nodes and argument lists back as formula text.
#include "ostrel/formula/formula.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

namespace {

char16_t ArgumentSeparator(cells::CTX* ctx) {
    cells::LCTX* lctx = ctx ? ctx->GetLCTX() : nullptr;
    if (!lctx || !lctx->lctx) lctx = cells::invariant_LCTX();
    return (*lctx)->listSeparartor();
}

void PrintNode(cells::CTX* ctx, CWideOutStream& out, const CCFormula* f, int precedence,
               bool toFile) {
    if (toFile)
        f->Print2File(ctx, out, precedence);
    else
        f->Print(ctx, out, precedence);
}

void PrintList(cells::CTX* ctx, CWideOutStream& out, const CCFormulaList* list, int precedence,
               int forceBrackets, bool toFile) {
    const bool brackets = forceBrackets || (list && list->m_pNext);
    if (brackets) out << u" (";
    const char16_t separator = ArgumentSeparator(ctx);
    for (const CCFormulaList* a = list; a; a = a->m_pNext) {
        if (a != list) out << separator << u' ';
        PrintNode(ctx, out, a->m_pFormula, precedence, toFile);
    }
    if (brackets) out << u')';
}

// The one printer of all operation classes; the two forms differ only in the name used for
// functions.
void PrintOperation(cells::CTX* ctx, CWideOutStream& out, const CCOpFormula& node, int enclosing,
                    bool toFile) {
    const CCFunc* func = node.GetFunc();
    unsigned char kind;
    int p;
    std::u16string_view name;
    if (func) {
        kind = func->GetKind();
        p = func->GetPrecedence();
        name = (toFile && kind == FUNC_FUNCTION) ? func->GetAltName() : func->GetName();
    } else {
        // An entry this build does not know prints as it was stored; an unknown operator
        // gets the lowest precedence so that its operands stay bracketed.
        kind = node.GetStoredKind();
        p = kind == FUNC_FUNCTION ? 100 : 0;
        name = node.GetStoredName();
    }
    const bool brackets = p < enclosing;
    if (brackets) out << u'(';
    const CCFormulaList* args = node.GetArgs();
    switch (kind) {
        case FUNC_PREFIX:
            out << name;
            PrintList(ctx, out, args, p, 0, toFile);
            break;
        case FUNC_POSTFIX:
            PrintList(ctx, out, args, p, 0, toFile);
            out << name;
            break;
        case FUNC_INFIX:
            for (const CCFormulaList* a = args; a; a = a->m_pNext) {
                const CCFormula* arg = a->m_pFormula;
                if (a == args) {
                    PrintNode(ctx, out, arg, p, toFile);
                    continue;
                }
                out << u' ' << name << u' ';
                // A right operand of the same level is bracketed: 1 - (2 - 3).
                bool same = false;
                if (arg->GetType() == FORMULA_OP) {
                    const CCFunc* af = static_cast<const CCOpFormula*>(arg)->GetFunc();
                    same = af && af->GetPrecedence() == p;
                }
                if (same) out << u'(';
                PrintNode(ctx, out, arg, p, toFile);
                if (same) out << u')';
            }
            break;
        default:
            out << name;
            PrintList(ctx, out, args, 0, 1, toFile);
            break;
    }
    if (brackets) out << u')';
}

}  // namespace

void CCOpFormula::Print2File(cells::CTX* ctx, CWideOutStream& out, int precedence) const {
    PrintOperation(ctx, out, *this, precedence, true);
}

void CCOpFormula::Print(cells::CTX* ctx, CWideOutStream& out, int precedence) const {
    PrintOperation(ctx, out, *this, precedence, false);
}

void PrintFormulaList(cells::CTX* ctx, CWideOutStream& out, const CCFormulaList* list,
                      int precedence, int forceBrackets) {
    PrintList(ctx, out, list, precedence, forceBrackets, false);
}

void PrintFormulaList2File(cells::CTX* ctx, CWideOutStream& out, const CCFormulaList* list,
                           int precedence, int forceBrackets) {
    PrintList(ctx, out, list, precedence, forceBrackets, true);
}
