// SPDX-License-Identifier: Apache-2.0
// Argument lists, the construction of operation nodes by entry kind, and the precedents walk.
#include <memory>
#include <string>
#include <vector>

#include "formula/precedent_walk.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/utf.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_list.h"
#include "platform/fixed_pool.h"

CCFormulaList* FormulaListCreateEmpty() {
    return nullptr;
}

CCFormulaList* FormulaListCreate1Item(CCFormula* a) {
    auto* list = new CCFormulaList;
    list->m_pFormula = a;
    return list;
}

CCFormulaList* FormulaListCreate2Item(CCFormula* a, CCFormula* b) {
    CCFormulaList* list = FormulaListCreate1Item(a);
    list->m_pNext = FormulaListCreate1Item(b);
    return list;
}

CCFormulaList* FormulaListCreate3Item(CCFormula* a, CCFormula* b, CCFormula* c) {
    CCFormulaList* list = FormulaListCreate1Item(a);
    list->m_pNext = FormulaListCreate2Item(b, c);
    return list;
}

CCFormulaList* FormulaListAddLast(CCFormulaList*& list, CCFormula* formula) {
    CCFormulaList* element = FormulaListCreate1Item(formula);
    if (!list) {
        list = element;
        return list;
    }
    CCFormulaList* tail = list;
    while (tail->m_pNext)
        tail = tail->m_pNext;
    tail->m_pNext = element;
    return list;
}

CCFormulaList* CopyFormulaList(const CCFormulaList* list) {
    // Built through a tail pointer: long operator chains copy in linear time.
    CCFormulaList* head = nullptr;
    CCFormulaList** tail = &head;
    try {
        for (; list; list = list->m_pNext) {
            *tail = FormulaListCreate1Item(nullptr);
            (*tail)->m_pFormula = list->m_pFormula ? list->m_pFormula->Copy() : nullptr;
            tail = &(*tail)->m_pNext;
        }
    } catch (...) {
        FreeFormulaList(head, 1);
        throw;
    }
    return head;
}

void FreeFormulaList(CCFormulaList* list, int freeFormulas) {
    while (list) {
        CCFormulaList* next = list->m_pNext;
        if (freeFormulas) delete list->m_pFormula;
        delete list;
        list = next;
    }
}

size_t FormulaListCount(const CCFormulaList* list) {
    size_t n = 0;
    for (; list; list = list->m_pNext)
        ++n;
    return n;
}

bool FormulaListItems(const CCFormulaList* list, size_t n) {
    for (size_t i = 0; i < n; ++i, list = list->m_pNext)
        if (!list) return false;
    return true;
}

bool FormulaListItemsEx(const CCFormulaList* list, size_t n) {
    for (size_t i = 0; i < n; ++i, list = list->m_pNext)
        if (!list) return false;
    return !list;
}

#define OSTREL_FORMULA_LIST_COUNT_TESTS(n)                   \
    bool FormulaList##n##Item(const CCFormulaList* list) {   \
        return FormulaListItems(list, n);                    \
    }                                                        \
    bool FormulaList##n##ItemEx(const CCFormulaList* list) { \
        return FormulaListItemsEx(list, n);                  \
    }
OSTREL_FORMULA_LIST_COUNT_TESTS(0)
OSTREL_FORMULA_LIST_COUNT_TESTS(1)
OSTREL_FORMULA_LIST_COUNT_TESTS(2)
OSTREL_FORMULA_LIST_COUNT_TESTS(3)
OSTREL_FORMULA_LIST_COUNT_TESTS(4)
OSTREL_FORMULA_LIST_COUNT_TESTS(5)
OSTREL_FORMULA_LIST_COUNT_TESTS(6)
OSTREL_FORMULA_LIST_COUNT_TESTS(7)
OSTREL_FORMULA_LIST_COUNT_TESTS(8)
#undef OSTREL_FORMULA_LIST_COUNT_TESTS

// Ownership of args always passes to the call: when no node can be built (no entry, or a
// kind without a node class) the arguments are freed, so callers never leak them.
CCFormula* ConstructOpFormula(const CCFunc* func, CCFormulaList* args) {
    if (func) {
        switch (func->GetType()) {
            case 1:
                return new CCOpFormula(func, args);
            case 2:
                return new CCChooseOpFormula(func, args);
            case 3:
                return new CCRemoteOpFormula(func, args);
            case 4:
                return new CCDocOpFormula(func, args);
            case 5:
                return new CCRefOpFormula(func, args);
            default:
                break;
        }
    }
    FreeFormulaList(args, 1);
    return nullptr;
}

CCFormula* ConstructOpFormula(const CCFunc* func) {
    return ConstructOpFormula(func, static_cast<CCFormulaList*>(nullptr));
}

CCFormula* ConstructOpFormula(const CCFunc* func, CCFormula* a) {
    return ConstructOpFormula(func, FormulaListCreate1Item(a));
}

CCFormula* ConstructOpFormula(const CCFunc* func, CCFormula* a, CCFormula* b) {
    return ConstructOpFormula(func, FormulaListCreate2Item(a, b));
}

CCFormula* ConstructOpFormula(const CCFunc* func, CCFormula* a, CCFormula* b, CCFormula* c) {
    return ConstructOpFormula(func, FormulaListCreate3Item(a, b, c));
}

CCFormula* ConstructOpFormula(const CCFunc* func, const char16_t* sheet) {
    return ConstructOpFormula(func, new CCRefFormula(sheet, 0));
}

CCFormula* ConstructOpFormula(const CCFunc* func, const char16_t* first, const char16_t* last) {
    return ConstructOpFormula(func, new CCRefFormula(first, 0), new CCRefFormula(last, 0));
}

namespace {

// An 8-bit name as UTF-16 text; null stays null.
class WideName {
public:
    explicit WideName(const char* name) : m_null(!name) {
        if (name) m_text = ostrel::CodePageToWide(name);
    }
    const char16_t* get() const { return m_null ? nullptr : m_text.c_str(); }

private:
    std::u16string m_text;
    bool m_null;
};

}  // namespace

CCFormula* ConstructOpFormula(const CCFunc* func, const char* sheet) {
    return ConstructOpFormula(func, WideName(sheet).get());
}

CCFormula* ConstructOpFormula(const CCFunc* func, const char* first, const char* last) {
    return ConstructOpFormula(func, WideName(first).get(), WideName(last).get());
}

CCRefList* CCFormula::GetPrecedents(cells::CTX*) const {
    CCRefList* head = nullptr;
    CCRefList** tail = &head;
    ForEachPrecedent([&](const CCRef* ref) {
        *tail = new CCRefList(ref->Copy(), nullptr, true);
        tail = &(*tail)->m_pNext;
    });
    return head;
}

void CCFormula::ForEachPrecedent(const std::function<void(const CCRef*)>& visit) const {
    ostrel::formula::WalkPrecedents(this, visit);
}

void* CCFormula::operator new(size_t size) {
    return ostrel::platform::SizedPools::Take(size);
}

void CCFormula::operator delete(void* node, size_t size) noexcept {
    if (node) ostrel::platform::SizedPools::Give(node, size);
}

void* CCFormulaList::operator new(size_t size) {
    return ostrel::platform::SizedPools::Take(size);
}

void CCFormulaList::operator delete(void* node, size_t size) noexcept {
    if (node) ostrel::platform::SizedPools::Give(node, size);
}
