// SPDX-License-Identifier: Apache-2.0
// Owning values of the formula grammar.
#include "formula/grammar_support.h"

#include <algorithm>
#include <utility>

#include "ostrel/cells/cell_value.h"

namespace ostrel::grammar {

ArgList& ArgList::operator=(ArgList&& other) noexcept {
    if (this != &other) {
        FreeFormulaList(m_head, 1);
        m_head = std::exchange(other.m_head, nullptr);
        m_tail = std::exchange(other.m_tail, nullptr);
        m_depth = std::exchange(other.m_depth, 0);
    }
    return *this;
}

ArgList::~ArgList() {
    FreeFormulaList(m_head, 1);
}

void ArgList::Append(NodeValue&& value) {
    auto* element = new CCFormulaList;
    element->m_pFormula = value.node.release();
    (m_tail ? m_tail->m_pNext : m_head) = element;
    m_tail = element;
    m_depth = std::max(m_depth, value.depth);
}

CCFormulaList* ArgList::Release() {
    m_tail = nullptr;
    m_depth = 0;
    return std::exchange(m_head, nullptr);
}

ValueRows& ValueRows::operator=(ValueRows&& other) noexcept {
    if (this != &other) {
        CellValueListFree(m_head, 1);
        m_head = std::exchange(other.m_head, nullptr);
        m_tail = std::exchange(other.m_tail, nullptr);
    }
    return *this;
}

ValueRows::~ValueRows() {
    CellValueListFree(m_head, 1);
}

void ValueRows::AddValue(OwnedValue value) {
    SCCellValueList* element = CellValueListCreate(value.release());
    (m_tail ? m_tail->m_pNext : m_head) = element;
    m_tail = element;
}

void ValueRows::AddRow(ValueRows&& row) {
    if (!row.m_head) return;
    SCCellValueList* separator = CellValueListCreate(nullptr);
    (m_tail ? m_tail->m_pNext : m_head) = separator;
    separator->m_pNext = std::exchange(row.m_head, nullptr);
    m_tail = std::exchange(row.m_tail, nullptr);
}

}  // namespace ostrel::grammar
