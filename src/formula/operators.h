// SPDX-License-Identifier: Apache-2.0
// The evaluation routines of the operator entries: the binary operators folded over their
// arguments, the unary operators, and the reference operators that yield references. Each
// has the shape of an EvalRoutine so that registry entries can point at it.
#pragma once

#include "ostrel/functions/func.h"

// Binary operators (and their function twins): FoldOperator with the matching code.
void EvalAdd(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalSub(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalMul(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalDiv(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalPower(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalAnd(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalOr(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalEQ(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalNE(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalGT(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalGE(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalLT(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalLE(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);

// Unary operators over their one argument (a reference result is read first).
void EvalUnPlus(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
void EvalUnMinus(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell);
void EvalPercent(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell);
void EvalNot(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);

// Reference operators: the result is a reference value, or an error.
// A1..B2 / A1:B2: a region between two single cells.
void EvalRange(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell);
// Sheet1 or Sheet1:Sheet3 (one or two sheet parts): a sheet-qualified reference.
void EvalSheetRange(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                    const CCRef* cell);
// Sheet part ! reference part.
void EvalFullRef(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell);
