// SPDX-License-Identifier: Apache-2.0
// Formulas that read cells no dependency of theirs names (INDIRECT, OFFSET) show what those
// cells hold after every recalculation across a workbook's sheets, also when what they read
// is recalculated by the same change (a sheet alone: the reference function tests).
#include <gtest/gtest.h>

#include <memory>

#include "ostrel/calc_book.h"

namespace {

TEST(VolatileRecalc, AChangeOnOneSheetReachesOffsetsOnAnother) {
    std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
    ASSERT_TRUE(book);
    ostrel::CalcSheet* data = book->AddSheet(u"data");
    ostrel::CalcSheet* main = book->AddSheet(u"main");
    ASSERT_TRUE(data && main);
    data->SetCellText(0, 2, u"3");                 // data!A3
    data->SetCellText(1, 0, u"0");                 // data!B1
    main->SetCellText(3, 0, u"10");                // main!D1
    main->SetCellText(3, 2, u"30");                // main!D3
    main->SetCellText(1, 0, u"=data!B1");          // main!B1
    main->SetCellText(2, 0, u"=OFFSET(D1,B1,0)");  // reads B1 without depending on it
    main->SetCellText(2, 1, u"=INDIRECT(\"data!A3\")");
    book->RecalculateAll();
    EXPECT_EQ(main->GetCellValueText(2, 0), u"10");
    EXPECT_EQ(main->GetCellValueText(2, 1), u"3");

    data->SetCellText(1, 0, u"2");
    data->SetCellText(0, 2, u"30");
    book->RecalculateAll();
    EXPECT_EQ(main->GetCellValueText(2, 0), u"30");
    EXPECT_EQ(main->GetCellValueText(2, 1), u"30");
}

}  // namespace
