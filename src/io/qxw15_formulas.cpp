// SPDX-License-Identifier: Apache-2.0
// The linked records of the legacy exchange: references and their lists, formulas and
// their argument lists, and cells. Lists are freed in loops, so a long one cannot exhaust
// the stack; nesting is bounded when reading (io/qxw15_depth.h).
#include <memory>
#include <utility>

#include "io/qxw15_depth.h"
#include "ostrel/io/qxw15_exchange.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"

using ostrel::platform::CArchive;
using X = CCQXW15Exchange;

namespace {

// The body of a reference or operation record starts with a value that carries nothing.
void WritePlaceholder(CArchive& ar) {
    X::CCQXW15_CellValue().Write(ar);
}

void SkipPlaceholder(CArchive& ar) {
    X::CCQXW15_CellValue placeholder;
    placeholder.Read(ar);
}

// The record lists are chains of nodes owning their items (m_pRef or m_pFormula).
template <class Node>
size_t ChainLength(const Node* list) {
    size_t length = 0;
    for (; list; list = list->m_pNext)
        ++length;
    return length;
}

template <class Node, class Item>
void FreeChain(Node* list, Item* Node::*item) {
    while (list) {
        Node* next = list->m_pNext;
        delete (list->*item);
        delete list;
        list = next;
    }
}

}  // namespace

// ---- references ----

X::CCQXW15_Ref::~CCQXW15_Ref() {
    delete m_coords;
}

void X::CCQXW15_Ref::Read(CArchive& ar) {
    delete std::exchange(m_coords, nullptr);
    m_coords = ReadCoords(ar);
}

void X::CCQXW15_Ref::Write(CArchive& ar) const {
    WriteCoords(ar, m_coords);
}

void X::CCQXW15_RemoteRef::Read(CArchive& ar) {
    delete std::exchange(m_coords, nullptr);
    m_file.Read(ar);
    m_coords = ReadCoords(ar);
}

void X::CCQXW15_RemoteRef::Write(CArchive& ar) const {
    m_file.Write(ar);
    WriteCoords(ar, m_coords);
}

void X::WriteRef(CArchive& ar, const CCQXW15_Ref* ref) {
    ar << static_cast<uint8_t>(ref ? ref->GetType() : 0);
    if (ref) ref->Write(ar);
}

X::CCQXW15_Ref* X::ReadRef(CArchive& ar) {
    uint8_t tag = 0;
    ar >> tag;
    std::unique_ptr<CCQXW15_Ref> ref;
    if (tag == 1)
        ref = std::make_unique<CCQXW15_Ref>();
    else if (tag == 2)
        ref = std::make_unique<CCQXW15_RemoteRef>();
    else
        return nullptr;
    ref->Read(ar);
    return ref.release();
}

size_t X::GetRefListLen(const SCQXW15_RefList* list) {
    return ChainLength(list);
}

void X::FreeRefList(SCQXW15_RefList* list) {
    FreeChain(list, &SCQXW15_RefList::m_pRef);
}

void X::RefListAddLast(SCQXW15_RefList*& list, CCQXW15_Ref* ref) {
    std::unique_ptr<CCQXW15_Ref> owned(ref);
    SCQXW15_RefList** end = &list;
    while (*end)
        end = &(*end)->m_pNext;
    *end = new SCQXW15_RefList{owned.release(), nullptr};
}

void X::WriteRefList(CArchive& ar, const SCQXW15_RefList* list) {
    ar << static_cast<uint32_t>(GetRefListLen(list));
    for (; list; list = list->m_pNext)
        WriteRef(ar, list->m_pRef);
}

X::SCQXW15_RefList* X::ReadRefList(CArchive& ar) {
    SCQXW15_RefList* head = nullptr;
    SCQXW15_RefList** end = &head;
    try {
        for (uint32_t n = ostrel::io::ReadQXW15Count(ar, 1); n > 0; --n) {
            *end = new SCQXW15_RefList{ReadRef(ar), nullptr};
            end = &(*end)->m_pNext;
        }
    } catch (...) {
        FreeRefList(head);
        throw;
    }
    return head;
}

// ---- formulas ----

void X::FreeFormulaList(SCQXW15_FormulaList* list) {
    FreeChain(list, &SCQXW15_FormulaList::m_pFormula);
}

X::CCQXW15_FormulaOp::~CCQXW15_FormulaOp() {
    FreeFormulaList(m_args);
}

void X::CCQXW15_FormulaOp::Release() {
    FreeFormulaList(std::exchange(m_args, nullptr));
    m_last = nullptr;
    m_name.reset();
}

size_t X::CCQXW15_FormulaOp::GetNumArgs() const {
    return ChainLength(m_args);
}

void X::CCQXW15_FormulaOp::AddArg(CCQXW15_Formula* formula) {
    std::unique_ptr<CCQXW15_Formula> owned(formula);
    auto* node = new SCQXW15_FormulaList{owned.release(), nullptr};
    if (m_last)
        m_last->m_pNext = node;
    else
        m_args = node;
    m_last = node;
}

void X::CCQXW15_FormulaOp::Read(CArchive& ar) {
    Release();
    SkipPlaceholder(ar);
    m_name = ReadString16(ar);
    for (uint32_t n = ostrel::io::ReadQXW15Count(ar, 1); n > 0; --n)
        AddArg(ReadFormula(ar));
}

void X::CCQXW15_FormulaOp::Write(CArchive& ar) const {
    WritePlaceholder(ar);
    WriteString16(ar, m_name);
    ar << static_cast<uint32_t>(GetNumArgs());
    for (const SCQXW15_FormulaList* it = m_args; it; it = it->m_pNext)
        WriteFormula(ar, it->m_pFormula);
}

void X::CCQXW15_FormulaConst::Read(CArchive& ar) {
    Release();
    m_value.Read(ar);
}

void X::CCQXW15_FormulaConst::Write(CArchive& ar) const {
    m_value.Write(ar);
}

X::CCQXW15_FormulaRef::~CCQXW15_FormulaRef() {
    delete m_ref;
}

void X::CCQXW15_FormulaRef::Release() {
    delete std::exchange(m_ref, nullptr);
}

void X::CCQXW15_FormulaRef::Read(CArchive& ar) {
    Release();
    SkipPlaceholder(ar);
    m_ref = ReadRef(ar);
}

void X::CCQXW15_FormulaRef::Write(CArchive& ar) const {
    WritePlaceholder(ar);
    WriteRef(ar, m_ref);
}

void X::WriteFormula(CArchive& ar, const CCQXW15_Formula* formula) {
    ar << static_cast<uint8_t>(formula ? formula->GetType() : 0);
    if (formula) formula->Write(ar);
}

X::CCQXW15_Formula* X::ReadFormula(CArchive& ar) {
    ostrel::io::QXW15DepthGuard depth;
    uint8_t tag = 0;
    ar >> tag;
    std::unique_ptr<CCQXW15_Formula> formula;
    switch (tag) {
        case 1:
            formula = std::make_unique<CCQXW15_FormulaOp>();
            break;
        case 2:
            formula = std::make_unique<CCQXW15_FormulaConst>();
            break;
        case 3:
            formula = std::make_unique<CCQXW15_FormulaRef>();
            break;
        default:
            return nullptr;
    }
    formula->Read(ar);
    return formula.release();
}

// ---- cells ----

void X::CCQXW15_Cell::Release() {
    delete std::exchange(m_position, nullptr);
    delete std::exchange(m_formula, nullptr);
    FreeRefList(std::exchange(m_dependents, nullptr));
    FreeRefList(std::exchange(m_editSources, nullptr));
    m_value = CCQXW15_CellValue();
}

void X::CCQXW15_Cell::Read(CArchive& ar) {
    Release();
    try {
        m_position = ReadCoords(ar);
        m_value.Read(ar);
        m_formula = ReadFormula(ar);
        m_dependents = ReadRefList(ar);
        m_editSources = ReadRefList(ar);
    } catch (...) {
        Release();
        throw;
    }
}

void X::CCQXW15_Cell::Write(CArchive& ar) const {
    WriteCoords(ar, m_position);
    m_value.Write(ar);
    WriteFormula(ar, m_formula);
    WriteRefList(ar, m_dependents);
    WriteRefList(ar, m_editSources);
}
