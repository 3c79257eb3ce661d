// SPDX-License-Identifier: Apache-2.0
// Building formula trees by hand for the tree, evaluation, printing and stream tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"
#include "support/test_host.h"

namespace tree_test {

using FormulaPtr = std::unique_ptr<CCFormula>;

inline CCFormula* Num(double x) {
    return new CCConstFormula(testing_support::NumberValue(x));
}

inline CCFormula* Text(const char16_t* text) {
    return new CCConstFormula(CCCellValue(text));
}

inline CCFormula* Cell(int column, int row) {
    return new CCRefFormula(static_cast<unsigned char>(column), static_cast<uint16_t>(row), 0);
}

inline CCFormula* Range(int c1, int r1, int c2, int r2) {
    return new CCRefFormula(static_cast<unsigned char>(c1), static_cast<uint16_t>(r1),
                            static_cast<unsigned char>(c2), static_cast<uint16_t>(r2), 0);
}

// An operation node over up to three arguments, which it takes over.
template <typename... Args>
CCFormula* Op(const CCFunc& f, Args*... args) {
    return ConstructOpFormula(&f, args...);
}

// The registry entry of a function by its primary name (the registry is set up first).
inline const CCFunc& Fn(const char16_t* name) {
    InitBuiltinFunctions();
    const char16_t* cursor = name;
    CCFunc* f = FindFunctionByName(cursor);
    if (!f || *cursor) throw std::runtime_error("no such function");
    return *f;
}

inline std::u16string PrintOf(cells::CTX* ctx, const CCFormula* f) {
    CWideOutStream out;
    f->Print(ctx, out, 0);
    return out.take();
}

inline std::u16string Print2FileOf(cells::CTX* ctx, const CCFormula* f) {
    CWideOutStream out;
    f->Print2File(ctx, out, 0);
    return out.take();
}

inline CCCellValue Evaluate(cells::CTX* ctx, CCFormula* f, const CCRef* cell = nullptr) {
    CCCellValue v;
    EvalFormula(ctx, v, f, cell);
    return v;
}

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override { InitBuiltinFunctions(); }
    testing_support::TestSheet sheet;
    cells::CTX* ctx() { return sheet.GetCTX(); }
};

}  // namespace tree_test
