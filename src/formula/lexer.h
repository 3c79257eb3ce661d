// SPDX-License-Identifier: Apache-2.0
// The formula tokenizer: turns formula text into the tokens of the grammar, resolving
// constants, references, sheet names and function names on the way. Not part of the public
// interface; the parser and the tests use it.
#pragma once

#include <memory>

#include "ostrel/engine/ctx.h"

class CCFormula;
class CCFunc;
class CCRef;

namespace ostrel::grammar {

// Token codes as the parser sees them; 0 is the end of the text, and every other code is a
// character returned as itself.
enum TokenCode : int {
    kTokPercent = 257,
    kTokPower = 258,
    kTokMultiply = 259,
    kTokDivide = 260,
    kTokPlus = 261,
    kTokMinus = 262,
    kTokGreater = 263,
    kTokLess = 264,
    kTokGreaterEqual = 265,
    kTokLessEqual = 266,
    kTokNotEqual = 267,
    kTokEqual = 268,
    kTokNot = 269,
    kTokAnd = 270,
    kTokOr = 271,
    kTokRangeDots = 272,
    kTokColon = 273,
    kTokSheetMark = 274,
    kTokConstant = 275,
    kTokReference = 276,
    kTokFunction = 277,
    kTokSheetName = 279,
    kTokArgSeparator = 280,
    kTokRowSeparator = 281,
    kTokAt = 282,
    // No production uses it: a token the lexer could not complete fails the parse.
    kTokInvalid = 0xFFFF,
};

// What a token carries: a new constant or reference node, the registry entry of a function,
// or a newly allocated sheet name. The owned parts are freed with the value unless taken.
struct TokenValue {
    std::unique_ptr<CCFormula> node;
    const CCFunc* func = nullptr;
    std::unique_ptr<char16_t[]> name;
};

}  // namespace ostrel::grammar

// The next token at cursor (past it on return). alternate selects the alternate function
// names; the reference is handed on to the reference scanner, which ignores it.
int yylex(cells::CTX* ctx, const char16_t*& cursor, int alternate, const CCRef* ref,
          ostrel::grammar::TokenValue& value);
