// SPDX-License-Identifier: Apache-2.0
// Evaluating trees: whole-formula rules, folding over ranges, defaults, unary and reference
// operators.
#include <cmath>
#include <limits>
#include <tuple>

#include "formula/operators.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/region_ref.h"
#include "tree_support.h"

using namespace tree_test;

namespace {

class EvalTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        sheet.SetNumber(0, 0, 1);
        sheet.SetNumber(0, 1, 2);
        sheet.SetNumber(0, 2, 4);
    }
};

TEST_F(EvalTest, WholeFormulaRules) {
    EXPECT_EQ(Evaluate(ctx(), nullptr).GetError(), 4);
    // A lone reference yields the cell's value, not the reference.
    FormulaPtr a2(Cell(0, 1));
    CCCellValue v = Evaluate(ctx(), a2.get());
    EXPECT_EQ(std::tuple(v.IsNumber(), v.GetNumber()), std::tuple(true, 2.0));
    // An infinite result is error 3.
    FormulaPtr huge(Op(MULFunc, Num(1e308), Num(1e308)));
    EXPECT_EQ(Evaluate(ctx(), huge.get()).GetError(), 3);
    // An array constant without values fails its check with 3; one with values yields its
    // first value.
    FormulaPtr empty(new CCConstArrayFormula(nullptr));
    EXPECT_EQ(Evaluate(ctx(), empty.get()).GetError(), 3);
    // An unknown stored entry fails with 4 instead of being evaluated.
    auto* unknown = new CCOpFormula(nullptr, nullptr);
    FormulaPtr holder(unknown);
    EXPECT_EQ(Evaluate(ctx(), unknown).GetError(), 4);
}

TEST_F(EvalTest, FoldingTakesEveryValueOfEveryArgument) {
    FormulaPtr sum(Op(ADDFunc, Range(0, 0, 0, 2), Num(1)));
    EXPECT_EQ(Evaluate(ctx(), sum.get()).GetNumber(), 8);
    FormulaPtr diff(Op(SUBFunc, Num(10), Range(0, 0, 0, 2)));
    EXPECT_EQ(Evaluate(ctx(), diff.get()).GetNumber(), 3);
    // A1:A2 > 0 compares A1 > A2 first, then that boolean with 0.
    FormulaPtr cmp(Op(GTFunc, Range(0, 0, 0, 1), Num(0)));
    CCCellValue v = Evaluate(ctx(), cmp.get());
    EXPECT_EQ(std::tuple(v.IsNumber(), v.GetNumber()), std::tuple(true, 0.0));
    // An error anywhere wins.
    CCCellValue err(2);
    FormulaPtr withError(Op(ADDFunc, Num(1), new CCConstFormula(err), Num(3)));
    EXPECT_EQ(Evaluate(ctx(), withError.get()).GetError(), 2);
}

TEST_F(EvalTest, EmptyArgumentsGiveTheOperatorDefaults) {
    struct Case {
        void (*routine)(cells::CTX*, CCCellValue&, const CCFormulaList*, const CCRef*);
        double value;
    };
    const Case cases[] = {{EvalAdd, 0}, {EvalMul, 0}, {EvalPower, 1}, {EvalAnd, 0},
                          {EvalEQ, 1},  {EvalNE, 0},  {EvalGE, 1},    {EvalLT, 0}};
    // B1 and B2 are empty cells.
    CCFormulaList* args = FormulaListCreate2Item(Cell(1, 0), Cell(1, 1));
    for (const Case& c : cases) {
        CCCellValue v;
        c.routine(ctx(), v, args, nullptr);
        EXPECT_EQ(std::tuple(v.IsNumber(), v.GetNumber()), std::tuple(true, c.value));
    }
    CCCellValue none;
    none.Set(5.0);
    EvalAdd(ctx(), none, nullptr, nullptr);
    EXPECT_TRUE(none.IsEmpty());
    FreeFormulaList(args, 1);
}

TEST_F(EvalTest, UnaryOperators) {
    struct Case {
        FormulaPtr tree;
        double value;
    } cases[] = {{FormulaPtr(Op(UnMinusFunc, Cell(0, 2))), -4},
                 {FormulaPtr(Op(PercentFunc, Num(50))), 0.5},
                 {FormulaPtr(Op(NotFunc, Num(0))), 1},
                 {FormulaPtr(Op(NotFunc, Text(u"abc"))), 1},
                 {FormulaPtr(Op(NotFunc, Num(2))), 0}};
    for (Case& c : cases)
        EXPECT_DOUBLE_EQ(Evaluate(ctx(), c.tree.get()).GetNumber(), c.value);
    FormulaPtr minusText(Op(UnMinusFunc, Text(u"t")));
    CCCellValue t = Evaluate(ctx(), minusText.get());
    ASSERT_TRUE(t.IsText());
    EXPECT_EQ(std::u16string(t.GetText()), u"t");
}

TEST_F(EvalTest, RangeOperatorBuildsAnOrderedRegionAndKeepsOneRegistration) {
    // A3..A1 becomes A1:A3 whatever the order of the ends.
    FormulaPtr range(Op(RANGEFunc, Cell(0, 2), Cell(0, 0)));
    ASSERT_EQ(range->GetType(), FORMULA_REFOP);
    FormulaPtr sum(Op(ADDFunc, range.release()));
    CCRCRef cell(3, 3);
    EXPECT_EQ(Evaluate(ctx(), sum.get(), &cell).GetNumber(), 7);
    auto* node =
        static_cast<CCRefOpFormula*>(static_cast<CCOpFormula*>(sum.get())->GetArgs()->m_pFormula);
    ASSERT_NE(node->GetKeptRef(), nullptr);
    CCRegionRef expected(0, 0, 0, 2);
    EXPECT_TRUE(node->GetKeptRef()->IsEqual(&expected));
    // Unregistering drops the kept reference, so the next evaluation registers afresh.
    CCRef3D qualified(ctx(), &cell);
    node->UnRegisterDependents(ctx(), &qualified);
    EXPECT_EQ(node->GetKeptRef(), nullptr);

    // An end that is no reference is error 1; a range end is error 3.
    FormulaPtr bad(Op(RANGEFunc, Num(1), Cell(0, 0)));
    EXPECT_EQ(Evaluate(ctx(), bad.get()).GetError(), 1);
    FormulaPtr wide(Op(RANGEFunc, Range(0, 0, 0, 1), Cell(0, 0)));
    EXPECT_EQ(Evaluate(ctx(), wide.get()).GetError(), 3);
}

TEST_F(EvalTest, SheetOperatorsResolveNamesThroughTheFamily) {
    testing_support::TestSheet second(u"Data");
    std::vector<testing_support::TestSheet*> family{&sheet, &second};
    sheet.Join(&family);
    second.Join(&family);
    second.SetNumber(1, 1, 42);
    // Data!B2
    FormulaPtr full(Op(FULLREFFunc, ConstructOpFormula(&SheetRangeFunc, u"Data"), Cell(1, 1)));
    CCCellValue v;
    full->Eval(ctx(), v, nullptr);
    DereferenceValue(ctx(), v);
    EXPECT_EQ(std::tuple(v.IsNumber(), v.GetNumber()), std::tuple(true, 42.0));
    FormulaPtr missing(ConstructOpFormula(&SheetRangeFunc, u"Nowhere"));
    CCCellValue m;
    missing->Eval(ctx(), m, nullptr);
    EXPECT_EQ(m.GetError(), 1);
    sheet.Join(nullptr);
    second.Join(nullptr);
}

}  // namespace
