// SPDX-License-Identifier: Apache-2.0
// What the reference functions share: the reference an argument stands for before any value
// is read through it, and the area of the grid such a reference covers.
#pragma once

#include "ostrel/engine/ctx.h"

class CCCellValue;
class CCFormula;
class CCRef;
class CCRef3D;
class CCRegionRef;

namespace ostrel::functions {

// The reference a node stands for: a reference node's own, what a reference-yielding node
// yields, or that of the argument a choice node picks; null for any other node. holder
// keeps a yielded reference alive.
const CCRef* ReferenceOf(cells::CTX* ctx, CCFormula* node, CCCellValue& holder, const CCRef* cell);

// The cells a cell or range reference covers, behind at most one sheet qualification of a
// single sheet (qualifier points to it, or is null). False for any other reference.
bool GridArea(const CCRef* ref, CCRegionRef& area, const CCRef3D*& qualifier);

}  // namespace ostrel::functions
