// SPDX-License-Identifier: Apache-2.0
#include "ostrel/cells/cell.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ostrel/formats/cell_format_table.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/zmk/environment.h"
#include "platform/names.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

using testing_support::Load;
using testing_support::Store;
using testing_support::TestCell;
using testing_support::TestSheet;

namespace {

// A format that sets one part.
CCCellFormat With(void (CCCellFormat::*set)(int), int value) {
    CCCellFormat f;
    (f.*set)(value);
    return f;
}

// What the cell shows after the text is typed into it.
std::string TypedShown(TestSheet& sheet, unsigned char column, uint16_t row,
                       std::u16string_view text) {
    sheet.Type(column, row, text);
    return sheet.Shown(column, row);
}

}  // namespace

TEST(Cell, TypedTextIsKeptExactly) {
    TestSheet sheet;
    EXPECT_EQ(TypedShown(sheet, 0, 0, u"  padded text  "), "  padded text  ");
    // The whole typed text, apostrophe included.
    EXPECT_EQ(TypedShown(sheet, 0, 1, u"'123"), "'123");
    EXPECT_TRUE(sheet.Cell(0, 1)->GetValue().IsText());
    sheet.Type(0, 2, u"   ");
    EXPECT_TRUE(sheet.Cell(0, 2)->GetValue().IsEmpty());
    sheet.Type(0, 3, u"1,234.5");
    EXPECT_EQ(std::tuple(sheet.Cell(0, 3)->GetValue().GetNumber(), sheet.Formula(0, 3)),
              std::tuple(1234.5, "1234.5"));
    EXPECT_EQ(TypedShown(sheet, 0, 4, u"12/3/2001"), "12/03/2001");
    EXPECT_EQ(sheet.Cell(0, 4)->GetValue().GetFormat().GetType(), C_NF_DATE);
}

TEST(Cell, PlainNumbersKeepTheCellsFormat) {
    TestSheet sheet;
    EXPECT_EQ(TypedShown(sheet, 0, 0, u"$12.50"), "$12.50");
    EXPECT_EQ(TypedShown(sheet, 0, 0, u"7"), "$7.00");
    EXPECT_EQ(TypedShown(sheet, 0, 0, u"25%"), "25%");
}

TEST(Cell, UnparsableFormulasBecomeTextWithAMessage) {
    TestSheet sheet;
    EXPECT_EQ(TypedShown(sheet, 0, 0, u"=1+("), "=1+(");
    sheet.Type(0, 1, u"=1+");
    EXPECT_EQ(sheet.messages, (std::vector<unsigned>{13034, 13042}));
    sheet.Cell(0, 2)->SetText(sheet.GetCTX(), u"=1+", 1);  // quiet
    EXPECT_EQ(sheet.messages.size(), 2u);
}

TEST(Cell, ProtectionRefusesLockedCells) {
    TestSheet sheet;
    TestCell* cell = sheet.Cell(0, 0);
    cell->SetFormat(sheet.GetCTX(), With(&CCCellFormat::SetLock, 1));
    sheet.Type(0, 0, u"1");
    sheet.Protect(u"x");
    sheet.Type(0, 0, u"2");
    cell->Clear(sheet.GetCTX(), 7);
    cell->Delete(sheet.GetCTX());
    cell->SetFormat(sheet.GetCTX(), With(&CCCellFormat::SetHideZero, 1));
    EXPECT_EQ(cell->GetValue().GetNumber(), 1);
    EXPECT_EQ(sheet.messages, (std::vector<unsigned>{13036, 13036, 13036, 13036}));
    // Hidden cells of a protected document show nothing and print "0" as formula text.
    sheet.UnProtect();
    cell->SetFormat(sheet.GetCTX(), With(&CCCellFormat::SetHide, 1));
    sheet.Protect(u"x");
    EXPECT_EQ(std::tuple(sheet.Shown(0, 0), sheet.Formula(0, 0)), std::tuple("", "0"));
}

TEST(Cell, ClearBitsAndHiddenValues) {
    TestSheet sheet;
    TestCell* cell = sheet.Cell(0, 0);
    sheet.Type(0, 0, u"12%");
    cell->Clear(sheet.GetCTX(), 4);  // the format only
    EXPECT_EQ(std::tuple(cell->GetValue().GetFormat().GetType(), sheet.Shown(0, 0)),
              std::tuple(C_NF_GENERAL, "0.12"));
    cell->Clear(sheet.GetCTX(), 1);
    EXPECT_TRUE(cell->GetValue().IsEmpty() && cell->IsEmpty());

    sheet.Type(0, 1, u"0");
    sheet.Cell(0, 1)->SetFormat(sheet.GetCTX(), With(&CCCellFormat::SetHideZero, 1));
    EXPECT_EQ(std::tuple(sheet.Shown(0, 1), sheet.Formula(0, 1)), std::tuple("", "0"));
    // A format that sets the precision turns a general number into a fixed one.
    sheet.Type(0, 2, u"3.14159");
    sheet.Cell(0, 2)->SetFormat(sheet.GetCTX(), With(&CCCellFormat::SetNFPrecision, 2));
    EXPECT_EQ(std::tuple(sheet.Shown(0, 2), sheet.Formula(0, 2)), std::tuple("3.14", "3.14159"));
}

TEST(Cell, TextGettersNeverOverrun) {
    TestSheet sheet;
    TestCell* cell = sheet.Cell(0, 0);
    sheet.Type(0, 0, u"abcdef");
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    cell->GetValueText(sheet.GetCTX(), buffer, 8);  // 8 bytes: three characters
    EXPECT_EQ(std::u16string(buffer), u"abc");
    EXPECT_EQ(buffer[4], u'#');
    cell->GetFormulaText(sheet.GetCTX(), buffer, 1);  // too small for the terminator
    EXPECT_EQ(buffer[0], u'a');
}

TEST(Cell, FindAndReplaceWorkOnAnyLength) {
    TestSheet sheet;
    const std::u16string x5000(5000, u'x');
    sheet.Type(0, 0, x5000 + u" needle");
    TestCell* cell = sheet.Cell(0, 0);
    cells::CTX* ctx = sheet.GetCTX();
    EXPECT_EQ(cell->Find(ctx, CCFindData{.m_find = u"needle", .m_replace = {}}), 1);
    EXPECT_EQ(cell->Find(ctx, CCFindData{.m_find = u"NEEDLE", .m_replace = {}}), 1);
    EXPECT_EQ(cell->Find(ctx, CCFindData{.m_find = u"NEEDLE", .m_replace = {}, .m_matchCase = 1}),
              0);
    // An empty text finds and replaces nothing.
    EXPECT_EQ(cell->Find(ctx, CCFindData{.m_find = {}, .m_replace = u"pin"}), 0);
    EXPECT_EQ(cell->Replace(ctx, CCFindData{.m_find = {}, .m_replace = u"pin"}), 0);
    EXPECT_EQ(cell->Replace(ctx, CCFindData{.m_find = u"needle", .m_replace = u"pin"}), 1);
    EXPECT_EQ(sheet.ValueText(0, 0), x5000 + u" pin");

    sheet.Type(0, 1, u"cat catalog cat");
    EXPECT_EQ(sheet.Cell(0, 1)->Replace(
                  ctx, CCFindData{.m_find = u"cat", .m_replace = u"dog", .m_wholeWord = 1}),
              1);
    EXPECT_EQ(sheet.Shown(0, 1), "dog catalog dog");
    // Replacing in a number types the result again.
    sheet.Type(0, 2, u"1200");
    EXPECT_EQ(sheet.Cell(0, 2)->Replace(ctx, CCFindData{.m_find = u"2", .m_replace = u"5"}), 1);
    EXPECT_EQ(sheet.Cell(0, 2)->GetValue().GetNumber(), 1500);
}

TEST(Cell, WriteAndReadBack) {
    TestSheet sheet;
    sheet.Type(0, 0, u"$12.50");
    TestCell* cell = sheet.Cell(0, 0);
    cell->SetFormat(sheet.GetCTX(), With(&CCCellFormat::SetLock, 1));
    CCRCRef b1(1, 0);
    cell->RegisterDependent(sheet.GetCTX(), &b1);
    auto bytes = Store([&](CArchive& ar) { cell->Write(sheet.GetCTX(), ar); });
    TestCell back(0, 0);
    Load(bytes, [&](CArchive& ar) { back.Read(sheet.GetCTX(), ar); });
    EXPECT_TRUE(back.GetValue().IsEqual(cell->GetValue()));
    EXPECT_EQ(std::tuple(back.GetFormatIndex(), back.IsLocked(sheet.GetCTX()),
                         back.GetDependentCount(), back.IsFormulaLink()),
              std::tuple(cell->GetFormatIndex(), true, 1, false));
    // A formula block is kept packed, type byte and all.
    std::vector<uint8_t> withFormula = bytes;
    size_t formulaAt = bytes.size() - (4 + 13 + 1) - 4;  // before the item block
    std::vector<uint8_t> block = {3, 0, 0, 0, 'F', 9, 8, 7};
    withFormula.erase(withFormula.begin() + long(formulaAt),
                      withFormula.begin() + long(formulaAt) + 4);
    withFormula.insert(withFormula.begin() + long(formulaAt), block.begin(), block.end());
    Load(withFormula, [&](CArchive& ar) { back.Read(sheet.GetCTX(), ar); });
    EXPECT_EQ(std::tuple(back.IsFormulaLink(), back.GetFormulaType(), back.IsValidFormula()),
              std::tuple(true, 0, true));
    auto again = Store([&](CArchive& ar) { back.Write(sheet.GetCTX(), ar); });
    EXPECT_EQ(again, withFormula);
    // A formula length beyond the stream is refused and the cell stays as it was.
    withFormula[formulaAt] = 0xFF;
    withFormula[formulaAt + 3] = 0x7F;
    Load(withFormula,
         [&](CArchive& ar) { EXPECT_THROW(back.Read(sheet.GetCTX(), ar), CArchiveException); });
    EXPECT_TRUE(back.IsFormulaLink());
}

TEST(Cell, CompareCellsPutsMissingCellsLast) {
    TestCell a(0, 0), b(0, 1);
    EXPECT_GT(CompareCells(nullptr, &b, 1), 0);
    EXPECT_LT(CompareCells(&a, nullptr, 1), 0);
    EXPECT_EQ(CompareCells(nullptr, nullptr, 1), 0);
}

TEST(Cell, GermanInput) {
    TestSheet sheet;
    zmk::multilang::CLegacyLocaleContext german(
        zmk::globals::global_environment().locales_cache().get("de_DE"));
    cells::LCTX lctx{&german};
    sheet.Ctx().SetLCTX(&lctx);
    // Typed and shown in the context's locale (its conventions: the scanner tests).
    EXPECT_EQ(TypedShown(sheet, 0, 1, u"24.12.2026"), "24.12.2026");
    EXPECT_EQ(TypedShown(sheet, 0, 2, u"12,50 €"), "12,50 €");
    sheet.Ctx().SetLCTX(cells::invariant_LCTX());
}
