// SPDX-License-Identifier: Apache-2.0
// Parsing formula text typed into a cell, reusing the tree of an earlier formula of the same
// shape (the same text but for relative references) moved to the new cell.
#pragma once

class CCFormula;
class CCRef;
namespace cells {
class CTX;
}

namespace ostrel::formula {

// As ParseFormulaText, for text typed into the cell at position (a cell reference; anything
// else parses without reuse). The tree is the one the parser builds for that cell.
int ParseFormulaTextAt(cells::CTX* ctx, const char16_t* text, CCFormula*& formula,
                       const CCRef* position);

// Drops the remembered shapes.
void ForgetFormulaShapes();

}  // namespace ostrel::formula
