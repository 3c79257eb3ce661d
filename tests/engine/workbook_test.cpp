// SPDX-License-Identifier: Apache-2.0
// Sheets and workbooks as the engine defines them, before a host fills them in: defaults,
// protection, renaming the links a sheet item keeps, and document items.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ostrel/engine/doc_item.h"
#include "ostrel/engine/sheet.h"
#include "ostrel/engine/workbook.h"
#include "ostrel/platform/ui.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"
#include "support/test_host.h"

using testing_support::TestCtx;
using testing_support::TestSheet;

namespace {

// A sheet with no cells of its own.
struct LoneSheet : CCSheet {
    LoneSheet() : ctx(this, cells::invariant_LCTX()) {}
    ~LoneSheet() override { ReleaseContents(); }
    cells::CTX* GetCTX() override { return &ctx; }
    cells::CTX* GetCTX() const override { return const_cast<TestCtx*>(&ctx); }
    CCItem* LookupItem(const CCRef*) override { return nullptr; }
    TestCtx ctx;
};

struct BareBook : CCWorkbook {
    unsigned char count = 0;
    std::vector<unsigned> visited;
    LoneSheet sheet;
    unsigned char GetSheetCount() override { return count; }
    CCSheet* GetSheetByNumber(unsigned char number) override {
        visited.push_back(number);
        return &sheet;
    }
};

struct DialogUI : ostrel::CUserInterface {
    std::u16string typed;
    bool ProtectionDialog(bool, std::u16string& password,
                          bool (*check)(const std::u16string&, void*), void* data) override {
        password = typed;
        return !check || check(typed, data);
    }
};

std::vector<std::u16string> Links(CCSheet& sheet) {
    std::vector<std::u16string> out;
    CCRefList* list = sheet.LoadDependents(sheet.GetCTX());
    for (CCRefList* node = list; node; node = node->m_pNext) {
        auto* link = static_cast<CCRemoteRef*>(node->m_pRef);
        out.push_back(link->GetDocument() + u"|" + link->GetItem());
    }
    RefListFree(list, 0);
    return out;
}

}  // namespace

TEST(Workbook, DefaultsOfSheetsAndWorkbooksWithoutAHost) {
    LoneSheet sheet;
    EXPECT_EQ(sheet.GetType(), 0);  // the host says what kind of document it is
    EXPECT_EQ(sheet.IsValidSheetName(u"Sheet1"), 0);
    sheet.OnRename(u"New");           // no workbook: nothing to do
    sheet.DoNonIdleCalc(nullptr, 0);  // likewise
    CCRCRef b2(1, 1);
    std::unique_ptr<CCRemoteRef> link(sheet.TranslateToSheetRef(&b2));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetItem(), u"B2");
    EXPECT_TRUE(link->IsSheetLink());

    BareBook book;
    book.UpdateAllOnRename(u"a", u"b");
    EXPECT_TRUE(book.visited.empty());
    EXPECT_EQ(book.GetSheet(u"Sheet1"), nullptr);
    EXPECT_EQ(book.GetDefaultSheet(), nullptr);
    EXPECT_EQ(book.IsValidSheetName(u"Sheet1"), 0);
    EXPECT_EQ(book.HasManager(&sheet), -1);
    EXPECT_EQ(book.TransportFile(nullptr, nullptr), 0);

    // The sheet count is a byte: at most sheets 0 to 254 are visited.
    book.count = 255;
    book.UpdateAllOnRename(u"a", u"b");
    ASSERT_EQ(book.visited.size(), 255u);
    EXPECT_EQ(book.visited.back(), 254u);
}

TEST(Workbook, ProtectionIsSharedStateWithItsDialog) {
    BareBook book;
    DialogUI ui;
    ostrel::SetUserInterface(&ui);
    EXPECT_EQ(book.IsProtected(), 0);
    ui.typed = u"secret";
    book.DoProtectionDialog();  // not protected: protects with what was typed
    EXPECT_EQ(book.IsProtected(), 1);
    EXPECT_EQ(book.GetPassword(), u"secret");
    ui.typed = u"guess";
    book.DoProtectionDialog();
    EXPECT_EQ(book.IsProtected(), 1);
    ui.typed = u"secret";
    book.DoProtectionDialog();
    EXPECT_EQ(book.IsProtected(), 0);
    EXPECT_EQ(book.GetPassword(), u"");
    book.Protect(u"");
    book.DoProtectionDialog();  // an empty password lifts it at once
    EXPECT_EQ(book.IsProtected(), 0);
    ostrel::SetUserInterface(nullptr);
}

TEST(Workbook, RenamingRewritesTheLinksOfASheetItemAndKeepsThemPacked) {
    LoneSheet sheet;
    cells::CTX* ctx = sheet.GetCTX();
    CCRemoteRef a(u"?Old", u"A1"), b(u"?other", u"B2"), c(u"OLD", u"C3");
    ASSERT_EQ(sheet.CCItem::RegisterDependent(ctx, &a), 1);
    ASSERT_EQ(sheet.CCItem::RegisterDependent(ctx, &b), 1);
    ASSERT_EQ(sheet.CCItem::RegisterDependent(ctx, &c), 1);
    const std::vector<std::u16string> before = Links(sheet);
    sheet.UpdateOnRename(u"old", u"New");
    EXPECT_EQ(sheet.GetDependentCount(), 0);  // packed only
    EXPECT_NE(sheet.GetDependents(), nullptr);
    std::vector<std::u16string> expected;
    for (const auto& link : before) {
        if (link == u"?Old|A1")
            expected.push_back(u"?New|A1");
        else if (link == u"OLD|C3")
            expected.push_back(u"New|C3");
        else
            expected.push_back(link);
    }
    EXPECT_EQ(Links(sheet), expected);
}

TEST(Workbook, TwoFormulasReadingOneDocumentPropertyShareOneItem) {
    struct Counting : TestSheet {
        std::vector<std::u16string> ran;
        int RecalcCell(const CCRef* ref) override {
            if (ref->GetType() == REF_TYPE_3D)
                ref = static_cast<const CCRef3D*>(ref)->GetInnerRef();
            auto* rc = static_cast<const CCRCRef*>(ref);
            ran.push_back(std::u16string(1, char16_t(u'A' + rc->GetColumn())));
            return TestSheet::RecalcCell(ref);
        }
    } sheet;
    CCDocumentRef title(CCDocumentRef::ECDocRefType(13)), author(CCDocumentRef::ECDocRefType(4));
    const CCRCRef b1Cell(1, 0), c1Cell(2, 0);
    CCRef3D b1(sheet.GetCTX(), &b1Cell), c1(sheet.GetCTX(), &c1Cell);
    EXPECT_EQ(sheet.RegisterDocumentDependent(&title, &b1), 1);
    CCCellManager::CCDocItem* item = sheet.GetDocumentItem(CCDocumentRef::ECDocRefType(13));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(sheet.RegisterDocumentDependent(&title, &c1), 1);
    EXPECT_EQ(sheet.GetDocumentItem(CCDocumentRef::ECDocRefType(13)), item);
    EXPECT_EQ(item->GetDependentCount(), 2);
    EXPECT_EQ(sheet.GetDocumentItem(CCDocumentRef::ECDocRefType(4)), nullptr);

    // A new title recalculates both formulas, and only them.
    sheet.RecalcDocumentItems(CCDocumentRef::ECDocRefType(4));
    EXPECT_EQ(sheet.GetCurProcessCount(), 0u);
    sheet.RecalcDocumentItems(CCDocumentRef::ECDocRefType(13));
    sheet.Settle();
    std::vector<std::u16string> ran = sheet.ran;
    std::sort(ran.begin(), ran.end());
    EXPECT_EQ(ran, (std::vector<std::u16string>{u"B", u"C"}));

    EXPECT_EQ(sheet.UnRegisterDocumentDependent(&title, &b1), 1);
    EXPECT_NE(sheet.GetDocumentItem(CCDocumentRef::ECDocRefType(13)), nullptr);
    EXPECT_EQ(sheet.UnRegisterDocumentDependent(&title, &c1), 1);
    EXPECT_EQ(sheet.GetDocumentItem(CCDocumentRef::ECDocRefType(13)), nullptr);
    EXPECT_EQ(sheet.UnRegisterDocumentDependent(&author, &c1), 1);  // no item: still 1
}
