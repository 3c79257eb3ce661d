// SPDX-License-Identifier: Apache-2.0
// The semantic values the formula grammar passes between its reductions, and the state of
// one parse. Every value owns what it holds, so whatever a failed parse leaves on the
// parser's stacks is freed with them. Not part of the public interface.
#pragma once

#include <cstddef>
#include <memory>

#include "ostrel/engine/ctx.h"
#include "ostrel/formula/formula.h"

class CCCellValue;
class CCFunc;
class CCRef;
struct SCCellValueList;

namespace ostrel::grammar {

using OwnedNode = std::unique_ptr<CCFormula>;
using OwnedName = std::unique_ptr<char16_t[]>;
using OwnedValue = std::unique_ptr<CCCellValue>;

// A subtree with its height. chain names the operator entry when the node is a chain of
// that left-associative operator built by a binary reduction (not one that came from
// parentheses); a further operand of the same operator is then appended to it through
// tail, the last element of its argument list, instead of nesting one level deeper.
struct NodeValue {
    OwnedNode node;
    int depth = 0;
    const CCFunc* chain = nullptr;
    CCFormulaList* tail = nullptr;
    // The operator of a unary node not closed by parentheses, which limits where it may stand.
    const CCFunc* bare = nullptr;
};

// An argument list under construction; appending is constant time.
class ArgList {
public:
    ArgList() = default;
    ArgList(ArgList&& other) noexcept { *this = std::move(other); }
    ArgList& operator=(ArgList&& other) noexcept;
    ~ArgList();

    void Append(NodeValue&& value);
    // The list for a node to own (null when empty).
    CCFormulaList* Release();
    int Depth() const { return m_depth; }

private:
    CCFormulaList* m_head = nullptr;
    CCFormulaList* m_tail = nullptr;
    int m_depth = 0;
};

// The values of an array constant, row by row; a node without a value separates rows.
class ValueRows {
public:
    ValueRows() = default;
    ValueRows(ValueRows&& other) noexcept { *this = std::move(other); }
    ValueRows& operator=(ValueRows&& other) noexcept;
    ~ValueRows();

    void AddValue(OwnedValue value);
    void AddRow(ValueRows&& row);
    const SCCellValueList* Get() const { return m_head; }

private:
    SCCellValueList* m_head = nullptr;
    SCCellValueList* m_tail = nullptr;
};

struct ParseState {
    cells::CTX* ctx = nullptr;
    const char16_t*& cursor;
    int alternate = 0;
    const CCRef* ref = nullptr;
    NodeValue result;
};

// What the parser works on: the state of the parse running now (null between parses).
struct ParseSlot {
    ParseState* state = nullptr;
};

// The parser never holds more than this many stack entries.
constexpr size_t kMaxParserStack = 1024;

// 0 with the tree in state.result on success, 1 on failure (nothing left allocated).
int RunFormulaGrammar(ParseState& state);

}  // namespace ostrel::grammar
