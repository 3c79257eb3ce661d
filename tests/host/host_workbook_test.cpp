// SPDX-License-Identifier: Apache-2.0
#include "facade/host_workbook.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ostrel/engine/module.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/remote_ref.h"

using ostrel::host::HostSheet;
using ostrel::host::HostWorkbook;

namespace {

// Three sheets named as their files would be.
struct Book {
    bool started = (QXCellInit(), true);
    HostWorkbook book;
    HostSheet* first = book.AddSheet(u"Alpha");
    HostSheet* second = book.AddSheet(u"Beta");
    HostSheet* third = book.AddSheet(u"Gamma");
};

}  // namespace

TEST(HostWorkbook, SheetsAreFoundByNameIgnoringCaseAndNamesAreUnique) {
    Book b;
    ASSERT_TRUE(b.first && b.second && b.third);
    EXPECT_EQ(b.book.SheetCount(), 3u);
    EXPECT_EQ(b.book.IndexOf(u"beta"), 2);
    EXPECT_EQ(b.first->GetNameIndex(u"GAMMA"), 3);
    CCNameRef name(u"Beta");
    EXPECT_EQ(b.third->GetNameIndex(&name), 2);
    EXPECT_EQ(b.first->GetManForNameIndex(2), b.second);
    EXPECT_EQ(b.first->GetManForNameIndex(0), nullptr);
    EXPECT_EQ(b.first->GetManForNameIndex(4), nullptr);
    EXPECT_EQ(b.first->GetNameIndex(u"Fourth"), 0);

    for (const char16_t* refused : {u"BETA", u"", u"a!b"})
        EXPECT_EQ(b.book.AddSheet(refused), nullptr);
    EXPECT_EQ(b.book.SheetCount(), 3u);

    EXPECT_EQ(b.first->IsValidSheetName(u"gamma"), 1);
    EXPECT_EQ(b.first->IsValidSheetName(u"?Gamma"), 1);
    EXPECT_EQ(b.first->IsValidSheetName(u"?Nowhere"), 0);
    CCNameRef unknown(u"Nowhere");
    EXPECT_EQ(b.first->IsValidRef(&name), 1);
    EXPECT_EQ(b.first->IsValidRef(&unknown), 0);

    CCRCRef b2(1, 1);
    std::unique_ptr<CCRemoteRef> link(b.second->TranslateToSheetRef(&b2));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetDocument(), u"?Beta");
    EXPECT_EQ(link->GetItem(), u"B2");
}

TEST(HostWorkbook, AnUnknownSheetFailsCleanlyAndLeavesTheOthersAlone) {
    Book b;
    b.second->SetCellText(0, 0, u"3");
    b.first->SetCellText(0, 0, u"=Nowhere!A1");
    b.first->SetCellText(1, 0, u"=Beta!A1");
    b.book.RecalculateAll();
    EXPECT_EQ(b.first->GetCellValueText(0, 0), u"#REF!");
    EXPECT_EQ(b.first->GetCellValueText(1, 0), u"3");

    // A sheet on its own knows no other sheet at all.
    QXCellInit();
    HostSheet alone;
    alone.SetCellText(0, 0, u"=Beta!A1");
    alone.RecalculateAll();
    EXPECT_EQ(alone.GetManForNameIndex(1), nullptr);
    EXPECT_EQ(alone.IsValidSheetName(u"Sheet1"), 0);
}
