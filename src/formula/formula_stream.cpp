// SPDX-License-Identifier: Apache-2.0
// The stream form of formula trees: a type tag per node, the node's body, argument lists
// ended by a 0 tag.
#include <memory>

#include "formats/string_field.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "platform/names.h"

namespace {

// Nesting of ReadFormula calls on this thread: crafted bytes cannot drive the reader (or
// any later walk of the tree) deeper than a parsed formula could be.
thread_local int g_readDepth = 0;

class ReadDepthGuard {
public:
    ReadDepthGuard() {
        if (g_readDepth >= kMaxFormulaDepth) throw CArchiveException(CArchiveException::badFormat);
        ++g_readDepth;
    }
    ~ReadDepthGuard() { --g_readDepth; }
    ReadDepthGuard(const ReadDepthGuard&) = delete;
    ReadDepthGuard& operator=(const ReadDepthGuard&) = delete;
};

CCFormula* NewNodeOfType(uint8_t tag) {
    switch (tag) {
        case FORMULA_CONST:
            return new CCConstFormula;
        case FORMULA_CONST_ARRAY:
            return new CCConstArrayFormula;
        case FORMULA_REF:
            return new CCRefFormula;
        case FORMULA_OP:
            return new CCOpFormula;
        case FORMULA_CHOOSE:
            return new CCChooseOpFormula;
        case FORMULA_REMOTE:
            return new CCRemoteOpFormula;
        case FORMULA_DOC:
            return new CCDocOpFormula;
        case FORMULA_REFOP:
            return new CCRefOpFormula;
        default:
            return nullptr;
    }
}

}  // namespace

void WriteFormula(cells::CTX* ctx, CArchive& ar, const CCFormula* formula) {
    if (!formula) {
        ar << uint8_t(0);
        return;
    }
    ar << uint8_t(formula->GetType());
    formula->Write(ctx, ar);
}

CCFormula* ReadFormula(cells::CTX* ctx, CArchive& ar) {
    ReadDepthGuard guard;
    uint8_t tag = 0;
    ar >> tag;
    std::unique_ptr<CCFormula> node(NewNodeOfType(tag));
    if (node) node->Read(ctx, ar);
    return node.release();
}

void FormulaListWrite(cells::CTX* ctx, const CCFormulaList* list, CArchive& ar) {
    for (; list; list = list->m_pNext)
        WriteFormula(ctx, ar, list->m_pFormula);
    ar << uint8_t(0);
}

CCFormulaList* FormulaListRead(cells::CTX* ctx, CArchive& ar) {
    CCFormulaList* head = nullptr;
    CCFormulaList** tail = &head;
    try {
        while (CCFormula* f = ReadFormula(ctx, ar)) {
            *tail = FormulaListCreate1Item(f);
            tail = &(*tail)->m_pNext;
        }
    } catch (...) {
        FreeFormulaList(head, 1);
        throw;
    }
    return head;
}

void CCOpFormula::Read(cells::CTX* ctx, CArchive& ar) {
    unsigned char kind = 0;
    std::u16string name;
    const CCFunc* func = ReadFunc(ctx, ar, &kind, &name);
    CCFormulaList* args = FormulaListRead(ctx, ar);
    FreeFormulaList(m_args, 1);
    m_args = args;
    m_func = func;
    m_validated = 0;
    if (func) {
        SetStored(0, std::u16string());
    } else {
        SetStored(kind, std::move(name));
    }
}

void CCOpFormula::Write(cells::CTX* ctx, CArchive& ar) const {
    if (m_func) {
        WriteFunc(ctx, ar, m_func);
    } else {
        // Written back exactly as it was stored, so that a later build that knows the entry
        // reads it.
        ar << uint8_t(m_storedKind);
        WriteString(ctx, ar, m_hasStoredName ? GetStoredName().c_str() : nullptr);
    }
    FormulaListWrite(ctx, m_args, ar);
}

void CCRemoteOpFormula::Read(cells::CTX* ctx, CArchive& ar) {
    CCRemoteRef remote;
    remote.Read(ctx, ar);
    CCOpFormula::Read(ctx, ar);
    m_remote = remote;
}

void CCRemoteOpFormula::Write(cells::CTX* ctx, CArchive& ar) const {
    m_remote.Write(ctx, ar);
    CCOpFormula::Write(ctx, ar);
}
