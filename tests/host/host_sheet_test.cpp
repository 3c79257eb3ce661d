// SPDX-License-Identifier: Apache-2.0
#include "facade/host_sheet.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/module.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/utf.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/region_ref.h"

using ostrel::host::HostCell;
using ostrel::host::HostSheet;

TEST(HostSheet, CellsExistOnlyWhereSomethingIsStored) {
    HostSheet sheet;
    EXPECT_EQ(sheet.GetCellValueText(3, 3), u"");
    CCRCRef d4(3, 3);
    CCCellValue value;
    EXPECT_EQ(sheet.GetValue(&d4, &value, 0), 1);  // an empty position reads as empty
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_EQ(sheet.CellCount(), 0u);
    EXPECT_EQ(sheet.SetCellText(3, 3, u"5"), 1);
    EXPECT_EQ(sheet.CellCount(), 1u);
    EXPECT_EQ(sheet.GetCellValueText(3, 3), u"5");
    // A formula that will read an empty cell registers on it, so the cell is made then.
    CCRCRef e9(4, 8), reader(0, 0);
    EXPECT_EQ(sheet.RegisterDependent(&e9, &reader), 1);
    ASSERT_NE(sheet.FindCell(4, 8), nullptr);
    CCRefList* deps = sheet.LoadDependencies(&e9);
    EXPECT_EQ(RefListCount(deps), 1u);
    RefListFree(deps, 0);
}

// Typed texts are copied for the parser on the stack when short and into an allocation when
// not; either way the cell keeps the whole text, and a formula reads to its end.
TEST(HostSheet, TextsAndFormulasOfEveryLengthAreTypedWhole) {
    HostSheet sheet;
    for (size_t length : {1u, 63u, 64u, 65u, 400u}) {
        SCOPED_TRACE(length);
        const std::u16string text = u"x" + std::u16string(length - 1, u'y');
        EXPECT_EQ(sheet.SetCellText(0, 0, text), 1);
        EXPECT_EQ(sheet.GetCellValueText(0, 0), text);
        // "=1+1+...+1" of about this length adds up its ones.
        std::u16string formula = u"=1";
        while (formula.size() + 2 <= length)
            formula += u"+1";
        EXPECT_EQ(sheet.SetCellText(1, 0, formula), 1);
        EXPECT_EQ(sheet.GetCellValueText(1, 0),
                  ostrel::FromUtf8(std::to_string(formula.size() / 2)));
    }
}

TEST(HostSheet, ManyCellsStayFindableAndSmall) {
    HostSheet sheet;
    for (unsigned row = 0; row < 20000; ++row)
        sheet.SetCellText(row % 7, row, u"1");
    EXPECT_EQ(sheet.CellCount(), 20000u);
    for (unsigned row = 0; row < 20000; row += 997) {
        const auto* cell = sheet.FindCell(row % 7, row);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(std::tuple(cell->Column(), cell->Row()), std::tuple(row % 7, row));
    }
    EXPECT_EQ(sheet.FindCell(7, 0), nullptr);
    // A constant cell: the item, its value and number format, its format index and its
    // own reference, with no allocation of its own.
    EXPECT_LE(sizeof(HostCell), 80u);
}

TEST(HostSheet, RangesAreValidAndServeTheirValues) {
    HostSheet sheet;
    sheet.SetCellText(0, 0, u"1");
    sheet.SetCellText(1, 1, u"2");
    CCRegionRef range(0, 0, 1, 1), backwards(1, 1, 0, 0);
    EXPECT_EQ(sheet.IsValidRef(&range), 1);
    EXPECT_EQ(sheet.IsValidRef(&backwards), 0);
    uint16_t h = sheet.OpenRef(&range);
    ASSERT_NE(h, 0);
    CCCellValue v;
    int count = 0;
    double sum = 0;
    while (sheet.NextValue(h, &v)) {
        ++count;
        if (v.IsNumber()) sum += v.GetNumber();
    }
    EXPECT_EQ(count, 4);
    EXPECT_EQ(sum, 3);
    sheet.CloseRef(h);
}

// Ranges are read a run of values at a time by the functions: every run must be what as
// many single reads give, wherever the runs start and end and whatever the region's shape.
TEST(HostSheet, RangesReadInRunsGiveWhatValueByValueGives) {
    QXCellInit();
    HostSheet sheet;
    std::mt19937 random(20261207);
    const char16_t* texts[] = {u"7", u"-2.5", u"x", u"=1/0", u"=A1", u"'3", u"TRUE"};
    for (int i = 0; i < 120; ++i)
        sheet.SetCellText(random() % 6, random() % 40, texts[random() % std::size(texts)]);
    for (int round = 0; round < 200; ++round) {
        const unsigned c1 = random() % 6, c2 = c1 + random() % (6 - c1);
        const unsigned r1 = random() % 40, r2 = r1 + random() % (45 - r1);
        CCRegionRef range(static_cast<unsigned char>(c1), static_cast<uint16_t>(r1),
                          static_cast<unsigned char>(c2), static_cast<uint16_t>(r2));
        const uint16_t single = sheet.OpenRef(&range), runs = sheet.OpenRef(&range);
        ASSERT_NE(single, 0);
        ASSERT_NE(runs, 0);
        CCCellValue expected, got[70];
        size_t read = 0;
        for (int n; (n = sheet.NextValues(runs, got, 1 + int(random() % 70))) > 0;) {
            for (int k = 0; k < n; ++k, ++read) {
                ASSERT_EQ(sheet.NextValue(single, &expected), 1) << "round " << round;
                EXPECT_TRUE(got[k].IsEqual(expected) && got[k].GetType() == expected.GetType())
                    << "round " << round << ", position " << read;
            }
        }
        EXPECT_EQ(sheet.NextValue(single, &expected), 0) << "round " << round;
        EXPECT_EQ(read, size_t(c2 - c1 + 1) * (r2 - r1 + 1));
        sheet.CloseRef(single);
        sheet.CloseRef(runs);
    }
}

TEST(HostSheet, FormulasOverRangesFollowEveryCellOfTheRange) {
    QXCellInit();
    HostSheet sheet;
    sheet.SetCellText(0, 0, u"1");
    sheet.SetCellText(0, 1, u"2");
    sheet.SetCellText(1, 0, u"=SUM(A1:A3)");
    sheet.SetCellText(1, 1, u"=SUM(A2:A4)*10");
    sheet.RecalculateAll();
    EXPECT_EQ(sheet.GetCellValueText(1, 0), u"3");
    EXPECT_EQ(sheet.GetCellValueText(1, 1), u"20");
    EXPECT_EQ(sheet.RangeCount(), 2u);
    // A cell inside both ranges, one that was empty before, one inside one range only.
    sheet.SetCellText(0, 2, u"4");
    sheet.RecalculateAll();
    EXPECT_EQ(sheet.GetCellValueText(1, 0), u"7");
    EXPECT_EQ(sheet.GetCellValueText(1, 1), u"60");
    sheet.SetCellText(0, 3, u"100");
    sheet.RecalculateAll();
    EXPECT_EQ(sheet.GetCellValueText(1, 0), u"7");
    EXPECT_EQ(sheet.GetCellValueText(1, 1), u"1060");
    // The range's cells were not created for it: only what was typed exists.
    EXPECT_EQ(sheet.CellCount(), 6u);
}

TEST(HostSheet, RangesOverFormulaCellsFollowTheirChanges) {
    QXCellInit();
    HostSheet sheet;
    sheet.SetCellText(0, 0, u"1");
    sheet.SetCellText(1, 0, u"=A1*2");        // B1 reads A1
    sheet.SetCellText(2, 0, u"=SUM(B1:B3)");  // C1 reads B1 through a range
    sheet.RecalculateAll();
    EXPECT_EQ(sheet.GetCellValueText(2, 0), u"2");
    sheet.SetCellText(0, 0, u"5");
    sheet.RecalculateAll();
    EXPECT_EQ(sheet.GetCellValueText(1, 0), u"10");
    EXPECT_EQ(sheet.GetCellValueText(2, 0), u"10");
}

TEST(HostSheet, RunningTotalTypedAheadOfItsFixedCell) {
    QXCellInit();
    HostSheet sheet;
    sheet.SetCellText(1, 0, u"=$C$1");  // B1 before C1 exists
    sheet.SetCellText(2, 0, u"1");
    for (unsigned row = 1; row < 200; ++row) {
        std::u16string formula = u"=B" + ostrel::FromUtf8(std::to_string(row)) + u"+$C$1";
        sheet.SetCellText(1, row, formula);
    }
    sheet.RecalculateAll();
    EXPECT_EQ(sheet.GetCellValueText(1, 199), u"200");
    sheet.SetCellText(2, 0, u"2");
    sheet.RecalculateAll();
    EXPECT_EQ(sheet.GetCellValueText(1, 199), u"400");
}

namespace {

// Where an entry of a list of work is: entries name their sheet, which differs between sheets.
std::pair<int, int> At(const CCRef* ref) {
    if (ref->GetType() == REF_TYPE_3D) ref = static_cast<const CCRef3D*>(ref)->GetInnerRef();
    if (ref->GetType() != REF_TYPE_RC) return {-1, -1};
    const auto* rc = static_cast<const CCRCRef*>(ref);
    return {rc->GetColumn(), rc->GetRow()};
}

struct ListingSheet : HostSheet {
    using CCCellManager::GetProcessList;
};

// The process list as it was made before ranges were answered as groups: every formula of
// every range holding a changed cell, listed for each change.
struct PlainSheet : ListingSheet {
    CCItem* ProcessDependents(const CCRef* ref, CCRecalcList& list) override {
        CCItem* item = LookupItem(ref);
        if (!item) return CCCellManager::ProcessDependents(ref, list);
        CCRefList* dependents = LoadDependencies(ref);
        for (CCRefList* node = dependents; node; node = node->m_pNext)
            if (!list.Contains(node->m_pRef)) list.AddLast(node->m_pRef);
        RefListFree(dependents, 0);
        return item;
    }
};

}  // namespace

// Numbers, formulas over ranges (some typed over again or cleared, which takes them off
// their ranges) and calculations at random moments: a lone sheet's list of work holds the
// same entries in the same order as with the plain walk, and ends with the same values.
TEST(HostSheet, ChangesInsideRangesListWhatThePlainWalkLists) {
    InitBuiltinFunctions();
    std::mt19937 rng(424242);
    auto pick = [&](unsigned n) { return unsigned(rng() % n); };
    auto name = [](unsigned column, unsigned row) {
        return std::string(1, char('A' + column)) + std::to_string(row + 1);
    };
    for (int round = 0; round < 30; ++round) {
        ListingSheet real;
        PlainSheet plain;
        for (int step = 0; step < 150; ++step) {
            const unsigned row = pick(40);
            std::string text;
            const unsigned what = pick(10);
            unsigned column = 0;
            if (what < 5) {
                text = std::to_string(pick(100));
            } else if (what < 9) {
                column = 1 + pick(2);
                // Mostly a few ranges, so that formulas come and go on a range between
                // changes inside it.
                unsigned first = pick(2) * 5, last = 30 + pick(2) * 9;
                if (pick(4) == 0) first = pick(40), last = first + pick(40 - first);
                text = "=SUM(" + name(0, first) + ":" + name(0, last) + ")";
                if (pick(3) == 0) text += "+" + name(pick(3), pick(40));
            } else {
                column = 1 + pick(2);  // a formula cleared or replaced by a number
                text = pick(2) ? "" : "7";
            }
            for (HostSheet* sheet :
                 {static_cast<ListingSheet*>(&real), static_cast<ListingSheet*>(&plain)}) {
                sheet->SetCellText(column, row, ostrel::FromUtf8(text));
                if (step % 17 == 16) sheet->DoIdle(0);
            }
            const auto& got = real.GetProcessList().GetStdList();
            const auto& want = plain.GetProcessList().GetStdList();
            ASSERT_EQ(got.size(), want.size()) << "round " << round << " step " << step;
            for (auto g = got.begin(), w = want.begin(); g != got.end(); ++g, ++w)
                ASSERT_EQ(At(g->get()), At(w->get())) << "round " << round << " step " << step;
        }
        real.RecalculateAll();
        plain.RecalculateAll();
        for (unsigned column = 0; column < 3; ++column)
            for (unsigned row = 0; row < 40; ++row)
                ASSERT_EQ(real.GetCellValueText(column, row), plain.GetCellValueText(column, row))
                    << "round " << round << " " << name(column, row);
    }
}
