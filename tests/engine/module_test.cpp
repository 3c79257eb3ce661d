// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/module.h"

#include <gtest/gtest.h>

#include "formats/format_code_cache.h"
#include "formats/intl_settings.h"
#include "formats/lt_strings.h"
#include "ostrel/platform/ui.h"
#include "ostrel/refs/rc_ref.h"
#include "support/test_host.h"

TEST(Module, StartAndEndSetUpAndReleaseTheSharedState) {
    QXCellInit();
    EXPECT_TRUE(CFormatCodeCache::Exists());
    EXPECT_GT(GetNumberLTStrings(), 0);              // the default unit texts
    EXPECT_EQ(GetNumberDeciamalSeparartor(), u'.');  // the test runs in the C locale
    int units = GetNumberLTStrings();
    QXCellInit();  // a second start does not pile up unit texts
    EXPECT_EQ(GetNumberLTStrings(), units);
    QXCellExit();
    EXPECT_FALSE(CFormatCodeCache::Exists());
    EXPECT_EQ(GetNumberLTStrings(), 0);
    QXCellInit();  // the tests after this one run on a started engine
}

TEST(Module, TextTypedBeforeTheStartIsRefusedAloud) {
    struct Recorder : ostrel::CUserInterface {
        std::u16string shown;
        void ShowMessage(unsigned, std::u16string_view text, ostrel::MessageIcon) override {
            shown = text;
        }
    } ui;
    ostrel::SetUserInterface(&ui);
    QXCellExit();
    EXPECT_FALSE(QXCellStarted());
    testing_support::TestSheet sheet;
    CCRCRef a1(0, 0);
    EXPECT_EQ(sheet.SetCellText(&a1, u"=1+1"), 0);
    EXPECT_NE(ui.shown.find(u"QXCellInit()"), std::u16string::npos);
    sheet.Cell(0, 0)->SetText(sheet.GetCTX(), u"=2+2", 0);
    EXPECT_FALSE(sheet.Cell(0, 0)->IsFormulaLink());
    ASSERT_EQ(QXCellInit(), 1);
    ui.shown.clear();
    EXPECT_EQ(sheet.SetCellText(&a1, u"=1+1"), 1);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(sheet.Cell(0, 0)->GetValue().GetNumber(), 2);
    ostrel::SetUserInterface(nullptr);
}
