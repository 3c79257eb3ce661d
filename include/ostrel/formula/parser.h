// SPDX-License-Identifier: Apache-2.0
/// \file
/// Entry points of the formula parser: formula text to a formula tree. Function names are
/// resolved against the registry while reading, so a tree never holds an unresolved name.
/// InitBuiltinFunctions must have run before the first parse. Parses share no state, so
/// several may run at once.
#pragma once

#include "ostrel/engine/ctx.h"
#include "ostrel/export.h"

class CCFormula;
class CCRef;

/// A new tree (owned by the caller) for formula text without its leading "=", or null when
/// the text does not parse or anything but white space follows the formula. alternateNames
/// reads functions by their alternate (invariant) names. The reference is not used. A null
/// text is empty.
OSTREL_API CCFormula* ParseFormula(cells::CTX* ctx, char16_t* text, int alternateNames,
                                   const CCRef* ref = nullptr);
OSTREL_API CCFormula* _ParseFormula(cells::CTX* ctx, const char16_t* text, int alternateNames,
                                    const CCRef* ref = nullptr);

/// Text that may be a formula typed without "=": null for empty text, text beginning with
/// "*", "'" or a double quote, and text that cell input would take as a number; otherwise
/// the tree of the whole text (primary names), or null when it does not parse. The cursor
/// ends after the last token read.
OSTREL_API CCFormula* QXDOSParse(cells::CTX* ctx, char16_t*& cursor);
OSTREL_API CCFormula* _QXDOSParse(cells::CTX* ctx, const char16_t*& cursor);

/// One run of the grammar from the cursor, which ends after the last token read. 0 with the
/// tree in result (owned by the caller), or 1 with result null. Text may follow the formula.
OSTREL_API int yyparse(cells::CTX* ctx, const char16_t*& cursor, int alternateNames,
                       const CCRef* ref, CCFormula*& result);
