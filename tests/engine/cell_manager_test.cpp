// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/cell_manager.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/ui.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"
#include "support/test_host.h"

using testing_support::TestCell;
using testing_support::TestSheet;

namespace {

struct RecordingUI : ostrel::CUserInterface {
    std::vector<unsigned> shown;
    bool answer = false;
    std::u16string typed;
    int dialogs = 0;
    void ShowMessage(unsigned id, std::u16string_view, ostrel::MessageIcon) override {
        shown.push_back(id);
    }
    bool AskYesNo(unsigned id, std::u16string_view) override {
        shown.push_back(id);
        return answer;
    }
    void ReferenceReadAsName(std::u16string_view text) override {
        referencesAsNames.emplace_back(text);
    }
    std::vector<std::u16string> referencesAsNames;
    bool ProtectionDialog(bool, std::u16string& password,
                          bool (*check)(const std::u16string&, void*), void* data) override {
        ++dialogs;
        password = typed;
        return !check || check(typed, data);
    }
};

struct InstallUI {
    RecordingUI ui;
    InstallUI() { ostrel::SetUserInterface(&ui); }
    ~InstallUI() { ostrel::SetUserInterface(nullptr); }
};

// The values of the record a call loaded (errors as -error code); the record is freed.
std::vector<double> Loaded(int result, CPtrArray& record) {
    EXPECT_EQ(result, 1);
    std::vector<double> out;
    for (intptr_t i = 0; i < record.GetSize(); ++i) {
        auto* v = static_cast<CCCellValue*>(record.GetAt(i));
        out.push_back(v->IsError() ? -v->GetError() : v->IsNumber() ? v->GetNumber() : 0);
    }
    FreeValueArray(record);
    return out;
}

}  // namespace

TEST(CellManager, CellAccessThroughTheStore) {
    TestSheet sheet;
    CCRCRef a1(0, 0);
    EXPECT_EQ(sheet.SetCellText(&a1, u"42"), 1);
    CCCellValue v;
    EXPECT_EQ(sheet.GetValue(&a1, &v, 0), 1);
    EXPECT_EQ(v.GetNumber(), 42);
    EXPECT_EQ(sheet.GetValue(&a1, &v, 1), 0);
    EXPECT_EQ(sheet.ValueText(0, 0), u"42");

    // A store without the cell: every operation reports 0 (registration reports 1).
    sheet.createOnLookup = false;
    CCRCRef b9(1, 8);
    EXPECT_EQ(sheet.SetCellText(&b9, u"1"), 0);
    EXPECT_EQ(sheet.IsValidRef(&b9), 0);
    EXPECT_EQ(sheet.RegisterDependent(&b9, &a1), 1);
    EXPECT_EQ(sheet.UnRegisterDependent(&b9, &a1), 0);
    EXPECT_EQ(sheet.ClearCell(nullptr, 1), 0);
    EXPECT_EQ(sheet.LoadDependencies(&b9), nullptr);

    // Buffer forms count bytes and never overrun.
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    sheet.SetCellText(&a1, u"hello");
    EXPECT_EQ(sheet.GetCellValueText(&a1, buffer, sizeof buffer), 1);
    EXPECT_EQ(std::u16string(buffer), u"hel");
    char16_t tiny[1] = {u'z'};
    sheet.GetCellValueText(&a1, tiny, 1);
    EXPECT_EQ(tiny[0], u'z');
}

// A document that is not a spreadsheet reads B2 as a name; its host hears so once, and a
// spreadsheet never.
TEST(CellManager, ReferencesReadAsNamesAreToldOncePerDocument) {
    InstallUI install;
    TestSheet other(u"Notes", 0);
    TestSheet spreadsheet;
    CCRCRef a1(0, 0), a2(0, 1);
    other.SetCellText(&a1, u"=B2+1");
    other.SetCellText(&a2, u"=C3:D4");
    spreadsheet.SetCellText(&a1, u"=B2+1");
    EXPECT_EQ(install.ui.referencesAsNames, std::vector<std::u16string>{u"B2"});
    EXPECT_TRUE(other.Cell(0, 0)->GetValue().IsError());
}

TEST(CellManager, ProtectionAndMessages) {
    InstallUI install;
    TestSheet sheet;
    CCRCRef a1(0, 0);
    TestCell* cell = sheet.Cell(0, 0);
    CCCellFormat locked;
    locked.SetLock(1);
    cell->SetFormat(sheet.GetCTX(), locked);
    EXPECT_FALSE(sheet.IsProtLock(cell, true));  // unprotected: never locked
    sheet.Protect(u"pw");
    EXPECT_TRUE(sheet.IsProtLock(cell, true));
    EXPECT_EQ(sheet.messages, std::vector<unsigned>{13036});
    sheet.SetCellText(&a1, u"5");
    EXPECT_TRUE(cell->GetValue().IsEmpty());
    EXPECT_EQ(sheet.messages.size(), 2u);

    // Messages are silent while the notify flag is 0 (the base manager's form too).
    struct Plain : TestSheet {
        void ErrorMessage(unsigned id) override { CCCellManager::ErrorMessage(id); }
    } plain;
    plain.SetNotifyEnable(0);
    plain.ErrorMessage(13036);
    EXPECT_TRUE(install.ui.shown.empty());
    plain.SetNotifyEnable(1);
    plain.ErrorMessage(13036);
    EXPECT_EQ(install.ui.shown, std::vector<unsigned>{13036});

    // The dialog: a wrong password shows 13035 and keeps the protection.
    install.ui.shown.clear();
    install.ui.typed = u"wrong";
    sheet.DoProtectionDialog();
    EXPECT_TRUE(sheet.IsProtected());
    EXPECT_EQ(install.ui.shown, std::vector<unsigned>{13035});
    install.ui.typed = u"pw";
    sheet.DoProtectionDialog();
    EXPECT_FALSE(sheet.IsProtected());
    // An empty password unprotects without a dialog.
    sheet.Protect(u"");
    int dialogs = install.ui.dialogs;
    sheet.DoProtectionDialog();
    EXPECT_FALSE(sheet.IsProtected());
    EXPECT_EQ(install.ui.dialogs, dialogs);

    // The remote question is asked once, whatever the notify flag.
    install.ui.answer = true;
    sheet.SetNotifyEnable(0);
    EXPECT_EQ(sheet.GetRecalcRemote(1), 1);
    EXPECT_EQ(sheet.GetTrueRecalcRemote(), RECALC_REMOTE_YES);
    install.ui.answer = false;
    EXPECT_EQ(sheet.GetRecalcRemote(1), 1);
    sheet.Revert();
    EXPECT_EQ(sheet.GetTrueRecalcRemote(), RECALC_REMOTE_NOT_ASKED);
    EXPECT_EQ(sheet.GetRecalcRemote(0), 0);
}

TEST(CellManager, ValuesAndRecordsThroughHandles) {
    TestSheet sheet;
    for (uint16_t r = 0; r < 2; ++r)
        for (unsigned char c = 0; c < 3; ++c)
            sheet.SetNumber(c, r, r * 10 + c);
    CCRegionRef range(0, 0, 2, 1);
    uint16_t h = sheet.OpenRef(&range);
    ASSERT_NE(h, 0);
    CSize size;
    EXPECT_EQ(sheet.RefSize(h, &size), 1);
    EXPECT_EQ(size, CSize(3, 2));
    CCCellValue v;
    std::vector<double> seen;
    while (sheet.NextValue(h, &v))
        seen.push_back(v.GetNumber());
    EXPECT_EQ(seen, (std::vector<double>{0, 1, 2, 10, 11, 12}));

    using Values = std::vector<double>;
    CPtrArray record;
    EXPECT_EQ(Loaded(sheet.GetLastRecord(h, &record), record), (Values{10, 11, 12}));
    // Past the end: error 1 values, and the host is never asked for them.
    EXPECT_EQ(Loaded(sheet.GetNextRecord(h, &record), record), (Values{-1, -1, -1}));
    // Position 6 = 2 x width: row 0.
    EXPECT_EQ(Loaded(sheet.GetPreviousRecord(h, &record), record), (Values{0, 1, 2}));
    // Below two rows in there is no previous row: nothing loaded, position kept.
    EXPECT_EQ(sheet.GetPreviousRecord(h, &record), 0);
    EXPECT_EQ(Loaded(sheet.GetNextRecord(h, &record), record), (Values{10, 11, 12}));
    EXPECT_EQ(sheet.GetRecord(h, 0, &record), 0);
    EXPECT_EQ(sheet.GetRecord(h, 3, &record), 0);
    EXPECT_EQ(Loaded(sheet.GetRecord(h, 1, &record), record), (Values{0, 1, 2}));

    // Handles: a closed one is reused; bad ones are refused.
    uint16_t h2 = sheet.OpenRef(&range);
    EXPECT_EQ(sheet.CloseRef(h), 1);
    EXPECT_EQ(sheet.CloseRef(h), 0);
    EXPECT_EQ(sheet.NextValue(h, &v), 0);
    EXPECT_EQ(sheet.OpenRef(&range), h);
    EXPECT_EQ(sheet.RefSize(0, &size), 0);
    EXPECT_EQ(sheet.RefSize(999, &size), 0);
    sheet.CloseRef(h);
    sheet.CloseRef(h2);
}

TEST(CellManager, OpenRefRefusesImpossibleSizesAndCapsHandles) {
    struct Sized : TestSheet {
        long w = 1, h = 1;
        void GetRefSize(const CCRef*, long& width, long& height) override { width = w, height = h; }
    } sheet;
    CCRCRef a1(0, 0);
    sheet.w = 0;
    EXPECT_EQ(sheet.OpenRef(&a1), 0);
    sheet.w = 70000, sheet.h = 70000;  // 4.9e9 values: beyond 32 bits
    EXPECT_EQ(sheet.OpenRef(&a1), 0);
    sheet.w = sheet.h = 1;
    uint16_t last = 0;
    for (int i = 0; i < 65535; ++i)
        last = sheet.OpenRef(&a1);
    EXPECT_EQ(last, 65535);
    EXPECT_EQ(sheet.OpenRef(&a1), 0);  // the table is full
    EXPECT_EQ(sheet.CloseRef(100), 1);
    EXPECT_EQ(sheet.OpenRef(&a1), 100);
}

TEST(CellManager, SetSourceValueFollowsEditSourcesAndStopsOnCycles) {
    TestSheet sheet;
    CCRCRef a1(0, 0);
    CCCellValue v = testing_support::NumberValue(7);
    EXPECT_EQ(sheet.SetSourceValue(&a1, &v), 1);
    EXPECT_EQ(sheet.Cell(0, 0)->GetValue().GetNumber(), 7);
    EXPECT_EQ(sheet.SetSourceValue(nullptr, &v), 0);
    struct Manual : TestSheet {
        int GetAutoCalc() override { return 0; }
    } manual;
    EXPECT_EQ(manual.SetSourceValue(&a1, &v), 1);
    EXPECT_TRUE(manual.Cell(0, 0)->GetValue().IsEmpty());
}

TEST(CellManager, DependencyForwardingQualifiesWithTheSheet) {
    TestSheet sheet;
    CCRCRef a1(0, 0), b1(1, 0);
    EXPECT_EQ(sheet.RegisterDependent(&a1, &b1), 1);
    CCRefList* deps = sheet.LoadDependencies(&a1);
    ASSERT_NE(deps, nullptr);
    ASSERT_EQ(deps->m_pRef->GetType(), REF_TYPE_3D);
    auto* q = static_cast<const CCRef3D*>(deps->m_pRef);
    EXPECT_EQ(q->GetKey(), sheet.GetIdentity());
    EXPECT_TRUE(q->GetInnerRef()->IsEqual(&b1));
    RefListFree(deps, 0);
    // The plain reference is not what was stored; the qualified one is.
    sheet.UnRegisterDependent(&a1, &b1);
    EXPECT_EQ(sheet.Cell(0, 0)->GetDependentCount(), 1);
    CCRef3D qualified(sheet.GetCTX(), &b1);
    sheet.UnRegisterDependent(&a1, &qualified);
    EXPECT_EQ(sheet.Cell(0, 0)->GetDependentCount(), 0);
}

TEST(CellManager, IdentitiesResolveOnlyWhileTheManagerLives) {
    uint32_t identity;
    {
        TestSheet sheet;
        identity = sheet.GetIdentity();
        EXPECT_GE(identity & 0xFFFF, 256u);
        EXPECT_EQ(CCCellManager::FromIdentity(identity), &sheet);
        TestSheet other;
        EXPECT_NE(other.GetIdentity(), identity);
    }
    EXPECT_EQ(CCCellManager::FromIdentity(identity), nullptr);
}

namespace {

// A cell that hands its values on to another cell, as an edit-source formula does.
struct ForwardingCell : testing_support::TestCell {
    using TestCell::TestCell;
    std::unique_ptr<CCRef> source;
    const CCRef* GetEditSourceRef(cells::CTX*) override { return source.get(); }
};

struct ForwardingSheet : TestSheet {
    std::map<std::pair<int, int>, std::unique_ptr<ForwardingCell>> cells;
    ForwardingCell* Make(unsigned char c, uint16_t r) {
        auto& slot = cells[{c, r}];
        slot = std::make_unique<ForwardingCell>(c, r);
        return slot.get();
    }
    CCItem* LookupItem(const CCRef* ref) override {
        if (ref && ref->GetType() == REF_TYPE_RC) {
            auto* rc = static_cast<const CCRCRef*>(ref);
            auto it = cells.find({rc->GetColumn(), rc->GetRow()});
            if (it != cells.end()) return it->second.get();
        }
        return nullptr;
    }
};

}  // namespace

TEST(CellManager, EditSourceWalksEndOnCyclesAndMissingCells) {
    ForwardingSheet sheet;
    ForwardingCell* a = sheet.Make(0, 0);
    ForwardingCell* b = sheet.Make(1, 0);
    ForwardingCell* c = sheet.Make(2, 0);
    a->source = std::make_unique<CCRCRef>(1, 0);  // A1 -> B1 -> C1
    b->source = std::make_unique<CCRCRef>(2, 0);
    CCCellValue v = testing_support::NumberValue(3);
    CCRCRef a1(0, 0);
    EXPECT_EQ(sheet.SetSourceValue(&a1, &v), 1);
    EXPECT_EQ(c->GetValue().GetNumber(), 3);
    EXPECT_TRUE(a->GetValue().IsEmpty());
    c->source = std::make_unique<CCRCRef>(0, 0);  // ... -> A1: a cycle
    EXPECT_EQ(sheet.SetSourceValue(&a1, &v), 0);
    c->source = std::make_unique<CCRCRef>(9, 9);  // leads nowhere
    EXPECT_EQ(sheet.SetSourceValue(&a1, &v), 0);

    // Clearing an edit-source cell clears its target, and a cycle of them ends.
    CCCellFormat editSource;
    editSource.SetEditSource(1);
    for (ForwardingCell* cell : {a, b, c})
        cell->SetFormat(sheet.GetCTX(), editSource);
    c->source = std::make_unique<CCRCRef>(0, 0);
    a->SetValue(sheet.GetCTX(), v);
    EXPECT_EQ(sheet.ClearCell(&a1, 1), 1);  // ends: every cell of the cycle edits another
    EXPECT_EQ(a->GetValue().GetNumber(), 3);
    c->source.reset();  // now C1 is the end of the chain and is cleared
    c->SetValue(sheet.GetCTX(), v);
    sheet.ClearCell(&a1, 1);
    EXPECT_TRUE(c->GetValue().IsEmpty());
}
