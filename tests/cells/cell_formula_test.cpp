// SPDX-License-Identifier: Apache-2.0
// Formulas in cells: typed, computed, recalculated through their precedents, circular,
// stored and read back, edit sources.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "ostrel/cells/cell.h"
#include "ostrel/engine/module.h"
#include "ostrel/events/events.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

using testing_support::Load;
using testing_support::Store;
using testing_support::TestCell;
using testing_support::TestSheet;

namespace {

struct Sheet : TestSheet {
    Sheet() { InitBuiltinFunctions(); }
};

}  // namespace

TEST(CellFormula, TypedFormulasComputeAndPrint) {
    Sheet sheet;
    sheet.Type(0, 0, u"=1+2*3");
    EXPECT_EQ(std::tuple(sheet.Shown(0, 0), sheet.Formula(0, 0), sheet.Cell(0, 0)->GetFormulaType(),
                         sheet.Cell(0, 0)->IsValidFormula()),
              std::tuple("7", "= 1 + 2 * 3", CELL_FORMULA, 1));
    sheet.Type(0, 1, u"=1/0");
    EXPECT_EQ(sheet.Shown(0, 1), "#DIV/0!");
    EXPECT_TRUE(sheet.messages.empty());
}

// Changes reaching formulas through filled cells are checked on random sheets with the
// recalculation; a formula that reads an empty cell hears of it when the cell is filled.
TEST(CellFormula, FormulasReadingEmptyCellsHearOfThemWhenFilled) {
    Sheet sheet;
    sheet.Type(3, 0, u"=D2+1");
    EXPECT_EQ(sheet.Shown(3, 0), "1");
    sheet.Type(3, 1, u"41");
    sheet.Settle();
    EXPECT_EQ(sheet.Shown(3, 0), "42");
}

TEST(CellFormula, CircularFormulasAreErrorFive) {
    Sheet sheet;
    sheet.Type(0, 0, u"=A1+1");
    EXPECT_EQ(std::tuple(sheet.Cell(0, 0)->GetValue().GetError(),
                         sheet.Cell(0, 0)->GetFormulaType(), sheet.Cell(0, 0)->IsValidFormula()),
              std::tuple(5, CELL_CIRCULAR, 0));
    EXPECT_EQ(sheet.messages, std::vector<unsigned>{13033});
    // Through several cells: the formula that closes the loop is the circular one.
    sheet.Type(1, 0, u"=C1");
    sheet.Type(2, 0, u"=D1");
    sheet.Type(3, 0, u"=B1");
    EXPECT_EQ(sheet.Cell(3, 0)->GetValue().GetError(), 5);
    EXPECT_EQ(sheet.messages.size(), 2u);
    // Quiet formulas say nothing.
    sheet.Cell(4, 0)->SetText(sheet.GetCTX(), u"=E1", 1);
    EXPECT_EQ(sheet.messages.size(), 2u);
}

TEST(CellFormula, AMoveOffTheGridKeepsTheFormulaAndMovesTheDependents) {
    Sheet sheet;
    sheet.Type(1, 1, u"=A1+C1*2");  // B2
    sheet.Type(3, 4, u"=B2");       // D5 reads B2
    TestCell* b2 = sheet.Cell(1, 1);
    // One column left would take A1 to column -1: the formula keeps reading A1 and C1, but
    // the cell's dependents follow it to A2, and every session is closed.
    CCRCRef a2(0, 1);
    EXPECT_NO_THROW(b2->Move(sheet.GetCTX(), &a2, nullptr));
    EXPECT_EQ(std::tuple(sheet.Formula(1, 1), sheet.Formula(3, 4), sheet.openSessions),
              std::tuple("= A1 + C1 * 2", "= A2", 0));
    // One row and column on, every relative reference follows.
    CCRCRef c3(2, 2);
    b2->Move(sheet.GetCTX(), &c3, nullptr);
    EXPECT_EQ(sheet.Formula(1, 1), "= B2 + D2 * 2");
    // Past the last row, through a range.
    sheet.Type(5, 65534, u"=SUM(F65535:F65536)");
    const std::string typed = sheet.Formula(5, 65534);
    CCRCRef below(5, 65535);
    EXPECT_NO_THROW(sheet.Cell(5, 65534)->Move(sheet.GetCTX(), &below, nullptr));
    EXPECT_EQ(std::tuple(sheet.Formula(5, 65534), sheet.openSessions), std::tuple(typed, 0));
}

TEST(CellFormula, StoredFormulasStayPackedUntilNeeded) {
    Sheet sheet;
    sheet.Type(0, 0, u"2");
    sheet.Type(1, 0, u"=A1^10");
    TestCell* cell = sheet.Cell(1, 0);
    auto bytes = Store([&](CArchive& ar) { cell->Write(sheet.GetCTX(), ar); });
    TestCell back(1, 0);
    Load(bytes, [&](CArchive& ar) { back.Read(sheet.GetCTX(), ar); });
    // A formula, not loaded yet, with its value.
    EXPECT_EQ(std::tuple(back.IsFormulaLink(), back.GetFormulaType(), back.IsValidFormula(),
                         back.GetValue().GetNumber()),
              std::tuple(1, 0, 1, 1024.0));
    CWideOutStream text;
    back.GetFormulaText(sheet.GetCTX(), text);
    EXPECT_EQ(ostrel::ToUtf8(text.str()), "= A1 ^ 10");
    EXPECT_EQ(back.GetFormulaType(), CELL_FORMULA);
    auto again = Store([&](CArchive& ar) { back.Write(sheet.GetCTX(), ar); });
    EXPECT_EQ(again, bytes);
}

TEST(CellFormula, ClearRemovesTheFormulaButKeepsItsValue) {
    Sheet sheet;
    sheet.Type(0, 0, u"=2+2");
    TestCell* cell = sheet.Cell(0, 0);
    cell->Clear(sheet.GetCTX(), 3);
    EXPECT_EQ(std::tuple(cell->IsFormulaLink(), cell->GetValue().GetNumber()), std::tuple(0, 4.0));
}

TEST(CellFormula, RefusedRegistrationLeavesTheTextOnly) {
    Sheet sheet;
    CCCellFormat hidden;
    hidden.SetHide(1);
    sheet.Cell(0, 0)->SetFormat(sheet.GetCTX(), hidden);
    sheet.Protect(u"");
    sheet.Type(1, 0, u"=A1+1");
    TestCell* cell = sheet.Cell(1, 0);
    EXPECT_FALSE(cell->IsFormulaLink());
    EXPECT_EQ(ostrel::ToUtf8(cell->GetValue().GetText()), "= A1 + 1");
    cell->Recalc(sheet.GetCTX());  // nothing left to bypass the refusal
    EXPECT_TRUE(cell->GetValue().IsText());
}

TEST(CellFormula, EditSourcesHandValuesOn) {
    Sheet sheet;
    TestCell* source = sheet.Cell(1, 0);
    CCRCRef a1(0, 0);
    EXPECT_EQ(source->SetEditSource(sheet.GetCTX(), &a1, 0), 1);
    EXPECT_EQ(sheet.Formula(1, 0), "! A1");
    source->SetValue(sheet.GetCTX(), testing_support::NumberValue(9));
    EXPECT_EQ(std::tuple(sheet.Cell(0, 0)->GetValue().GetNumber(), source->IsFormulaLink()),
              std::tuple(9.0, 1));
}

// A formula whose tree is rebuilt (a cell it reads moved) or that moves itself keeps
// following the sheet it names: a rename reaches its text, and the sheet's end leaves no node
// listening to it.
TEST(CellFormula, RebuiltAndMovedFormulasFollowTheSheetTheyName) {
    std::vector<TestSheet*> family;  // outlives its members
    Sheet one;
    auto two = std::make_unique<TestSheet>(u"Sheet2");
    family = {&one, two.get()};
    one.Join(&family);
    two->Join(&family);
    CCRCRef b5(1, 4), d3(3, 2);
    two->SetNumber(0, 0, 7);
    one.Type(1, 0, u"1");
    one.Type(2, 0, u"=Sheet2!A1+B1");  // C1, rebuilt when B1 moves
    one.Type(3, 0, u"=Sheet2!A1*2");   // D1, moves to D3
    one.Type(4, 0, u"=Sheet2!B1+B1");  // E1: only its second B1 is the cell that moves
    one.Type(5, 0, u"=Sheet1!B1*3");   // F1 names its own sheet
    EXPECT_EQ(one.Shown(2, 0), "8");
    one.Cell(1, 0)->Move(one.GetCTX(), &b5, nullptr);
    one.Cell(3, 0)->Move(one.GetCTX(), &d3, nullptr);
    EXPECT_EQ(std::tuple(one.Formula(2, 0), one.Formula(4, 0), one.Formula(5, 0)),
              std::tuple("= Sheet2 ! A1 + B5", "= Sheet2 ! B1 + B5", "= Sheet1 ! B5 * 3"));

    two->SetName(u"Input");
    two->FireEvent(CCSheetRenameEvent(u"Sheet2", u"Input"));
    EXPECT_EQ(std::tuple(one.Formula(2, 0), one.Formula(3, 0)),
              std::tuple("= Input ! A1 + B5", "= Input ! A3 * 2"));
    one.Cell(2, 0)->Recalc(one.GetCTX());
    EXPECT_EQ(one.Shown(2, 0), "7");  // B5 is empty

    two->FireEvent(CCDestroySheetEvent());
    family.pop_back();
    two.reset();  // a node still listening would touch it when the formulas go
    for (unsigned char column : {2, 3}) {
        one.Cell(column, 0)->Recalc(one.GetCTX());
        EXPECT_EQ(one.Shown(column, 0), "#REF!");
    }
}
