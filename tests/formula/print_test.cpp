// SPDX-License-Identifier: Apache-2.0
// Printing trees back as formula text: precedence, brackets, kinds, separators, quoting.
#include "tree_support.h"

using namespace tree_test;

namespace {

class PrintTest : public TreeTest {};

TEST_F(PrintTest, PrecedenceDecidesBrackets) {
    struct Case {
        FormulaPtr tree;
        const char16_t* text;
    };
    Case cases[] = {
        {FormulaPtr(Op(ADDFunc, Num(1), Op(MULFunc, Num(2), Num(3)))), u"1 + 2 * 3"},
        {FormulaPtr(Op(MULFunc, Op(ADDFunc, Num(1), Num(2)), Num(3))), u"(1 + 2) * 3"},
        {FormulaPtr(Op(SUBFunc, Num(1), Op(SUBFunc, Num(2), Num(3)))), u"1 - (2 - 3)"},
        {FormulaPtr(Op(SUBFunc, Op(SUBFunc, Num(1), Num(2)), Num(3))), u"1 - 2 - 3"},
        {FormulaPtr(Op(UnMinusFunc, Op(ADDFunc, Cell(0, 0), Num(1)))), u"-(A1 + 1)"},
        {FormulaPtr(Op(UnMinusFunc, Cell(0, 0))), u"-A1"},
        {FormulaPtr(Op(PercentFunc, Cell(0, 0))), u"A1%"},
        {FormulaPtr(Op(PowerFunc, Op(UnMinusFunc, Num(2)), Num(2))), u"-2 ^ 2"},
    };
    for (Case& c : cases)
        EXPECT_EQ(PrintOf(ctx(), c.tree.get()), c.text);
}

TEST_F(PrintTest, FunctionsTakeBracketedListsAndUnknownEntriesTheirStoredName) {
    FormulaPtr sum(Op(Fn(u"SUM"), Range(0, 0, 0, 2), Num(2)));
    EXPECT_EQ(PrintOf(ctx(), sum.get()), u"SUM (A1:A3, 2)");
    EXPECT_EQ(Print2FileOf(ctx(), sum.get()), u"SUM (A1:A3, 2)");
    FormulaPtr now(Op(Fn(u"NOW")));
    EXPECT_EQ(PrintOf(ctx(), now.get()), u"NOW ()");
    // A function inside an operator needs no brackets of its own.
    FormulaPtr mixed(Op(MULFunc, Op(Fn(u"SUM"), Num(1)), Num(2)));
    EXPECT_EQ(PrintOf(ctx(), mixed.get()), u"SUM (1) * 2");

    auto* unknown = new CCOpFormula(nullptr, FormulaListCreate1Item(Num(1)));
    unknown->SetStored(FUNC_FUNCTION, u"FUTUREFN");
    FormulaPtr holder(unknown);
    EXPECT_EQ(PrintOf(ctx(), unknown), u"FUTUREFN (1)");
}

TEST_F(PrintTest, ConstantsQuoteTextsAndArraysUseTheLocaleSeparators) {
    FormulaPtr quoted(Text(u"say \"hi\""));
    const std::u16string special(1, CCCellValue::m_chSpecial);
    EXPECT_EQ(PrintOf(ctx(), quoted.get()), u"\"say " + special + u"\"hi" + special + u"\"\"");

    SCCellValueList* rows = nullptr;  // 1, 2 / "x": a null entry ends a row
    CellValueListAddLast(rows, new CCCellValue(testing_support::NumberValue(1)));
    CellValueListAddLast(rows, new CCCellValue(testing_support::NumberValue(2)));
    CellValueListAddLast(rows, nullptr);
    CellValueListAddLast(rows, new CCCellValue(u"x"));
    FormulaPtr array(new CCConstArrayFormula(rows));
    CellValueListFree(rows, 1);
    const auto& loc = *ctx()->GetLCTX();
    const std::u16string list(1, loc->listSeparartor()), list2(1, loc->listSeparartor2());
    // The short second row is padded with an empty value, which prints as nothing.
    EXPECT_EQ(PrintOf(ctx(), array.get()), u"{1" + list + u" 2" + list2 + u" \"x\"" + list + u" }");
}

}  // namespace
