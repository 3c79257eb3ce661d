// SPDX-License-Identifier: Apache-2.0
// The tree itself: construction by kind, checking once, copies, dependents, flags and the
// structural updates.
#include <tuple>
#include <utility>
#include <vector>

#include "ostrel/refs/clipboard_data.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"
#include "tree_support.h"

using namespace tree_test;

namespace {

int g_checks = 0;
int CountingCheck(cells::CTX*, const CCFormulaList*, const CCRef*) {
    return ++g_checks > 0;
}

class TreeNodes : public TreeTest {};

TEST_F(TreeNodes, KindSelectsTheNodeClassAndCheckRunsOnce) {
    FormulaPtr ref(Op(RANGEFunc, Cell(0, 0), Cell(0, 1))), plain(Op(ADDFunc, Num(1), Num(2)));
    EXPECT_EQ(std::tuple(ref->GetType(), plain->GetType()), std::tuple(FORMULA_REFOP, FORMULA_OP));
    EXPECT_EQ(ConstructOpFormula(nullptr, Num(1)), nullptr);

    CCFunc counted;
    counted.Init(u"cnt", 100, FUNC_FUNCTION, 0, CountingCheck, nullptr);
    g_checks = 0;
    FormulaPtr f(Op(counted, Range(0, 0, 0, 2)));
    EXPECT_EQ(f->Check(ctx(), nullptr), 0);
    EXPECT_EQ(f->Check(ctx(), nullptr), 0);
    EXPECT_EQ(g_checks, 1);
    // A copy is checked afresh.
    FormulaPtr copy(f->Copy());
    EXPECT_FALSE(copy->IsValidated());
    EXPECT_EQ(copy->Check(ctx(), nullptr), 0);
    EXPECT_EQ(g_checks, 2);
}

TEST_F(TreeNodes, CopiesShareNothingWithTheirSource) {
    FormulaPtr f(Op(ADDFunc, Cell(0, 0), Op(MULFunc, Num(2), Cell(1, 0))));
    FormulaPtr copy(f->Copy());
    const CCFormulaList* a = static_cast<CCOpFormula*>(f.get())->GetArgs();
    const CCFormulaList* b = static_cast<CCOpFormula*>(copy.get())->GetArgs();
    EXPECT_NE(a, b);
    EXPECT_NE(static_cast<CCRefFormula*>(a->m_pFormula)->GetRef(),
              static_cast<CCRefFormula*>(b->m_pFormula)->GetRef());
    f.reset();  // the copy survives its source
    EXPECT_EQ(PrintOf(ctx(), copy.get()), u"A1 + 2 * B1");
}

TEST_F(TreeNodes, RowsRegistersNothingSumDoes) {
    CCRef3D self(ctx(), std::make_unique<CCRCRef>(5, 5).get());
    FormulaPtr rows(Op(Fn(u"ROWS"), Cell(0, 0)));
    EXPECT_TRUE(rows->RegisterDependents(ctx(), &self));
    EXPECT_EQ(sheet.Cell(0, 0)->GetDependentCount(), 0);
    FormulaPtr sum(Op(Fn(u"SUM"), Cell(0, 0)));
    EXPECT_TRUE(sum->RegisterDependents(ctx(), &self));
    EXPECT_EQ(sheet.Cell(0, 0)->GetDependentCount(), 1);
    sum->UnRegisterDependents(ctx(), &self);
    EXPECT_EQ(sheet.Cell(0, 0)->GetDependentCount(), 0);
}

TEST_F(TreeNodes, TreeWideFlagsAndLinks) {
    FormulaPtr rnd(Op(ADDFunc, Op(Fn(u"RAND")), Num(1))), today(Op(Fn(u"TODAY")));
    EXPECT_EQ(std::tuple(rnd->AlwaysRecalc(), rnd->ContainsTodayLinks()), std::tuple(true, false));
    EXPECT_EQ(std::tuple(today->AlwaysRecalc(), today->ContainsTodayLinks()),
              std::tuple(false, true));

    CCRemoteRef remote(u"Data", u"A1");
    CCRemoteRef other(u"DataX", u"A1");
    FormulaPtr links(Op(ADDFunc, new CCRefFormula(&remote, 0), new CCRefFormula(&other, 0)));
    EXPECT_TRUE(links->ContainsRemoteLinks() && !links->ContainsSheetLinks());
    links->OnSheetRename(u"data", u"Input");
    EXPECT_EQ(PrintOf(ctx(), links.get()), u"Input!A1 + DataX!A1");
    CCRCRef a1(0, 0);
    FormulaPtr withA1(Op(ADDFunc, Num(1), Cell(0, 0)));
    EXPECT_TRUE(withA1->ContainsLink(ctx(), &a1, nullptr));

    CCRefList* precedents = withA1->GetPrecedents(ctx());
    ASSERT_EQ(RefListCount(precedents), 1u);
    EXPECT_TRUE(precedents->m_pRef->IsEqual(&a1));
    RefListFree(precedents, 1);

    // A walk over another tree started from within a visit leaves the outer walk whole.
    FormulaPtr nested(Op(ADDFunc, Op(ADDFunc, Cell(1, 1), Cell(2, 2)), Cell(3, 3)));
    std::vector<std::pair<int, int>> seen;
    nested->ForEachPrecedent([&](const CCRef* ref) {
        const auto* rc = static_cast<const CCRCRef*>(ref);
        seen.emplace_back(rc->GetColumn(), rc->GetRow());
        CCRefList* inner = withA1->GetPrecedents(ctx());
        EXPECT_EQ(RefListCount(inner), 1u);
        RefListFree(inner, 1);
    });
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {3, 3}}));

    // Nesting far deeper than the walk keeps on the machine stack, with a reference at
    // every level after the nested part, and long lists at the bottom: still in text order.
    constexpr int kDepth = 100;
    CCFormula* bottom = Op(ADDFunc, Cell(0, 0), Cell(0, 1));
    for (int level = 1; level <= 3; ++level)
        bottom = Op(ADDFunc, Op(ADDFunc, Cell(level, 0), bottom), Cell(level, 1));
    CCFormula* deep = bottom;
    for (int level = 4; level < kDepth; ++level)
        deep = Op(ADDFunc, deep, Cell(level, 1));
    FormulaPtr tall(deep);
    std::vector<std::pair<int, int>> expected{{3, 0}, {2, 0}, {1, 0}, {0, 0},
                                              {0, 1}, {1, 1}, {2, 1}, {3, 1}};
    for (int level = 4; level < kDepth; ++level)
        expected.emplace_back(level, 1);
    seen.clear();
    tall->ForEachPrecedent([&](const CCRef* ref) {
        const auto* rc = static_cast<const CCRCRef*>(ref);
        seen.emplace_back(rc->GetColumn(), rc->GetRow());
    });
    EXPECT_EQ(seen, expected);
}

TEST_F(TreeNodes, EditSourceIsOneReferenceToAnotherCell) {
    FormulaPtr a1(Cell(0, 0)), range(Range(0, 0, 0, 1));
    CCRCRef self(0, 0), other(1, 1);
    EXPECT_EQ(std::tuple(a1->IsEditSourceRef(ctx(), &other), a1->IsEditSourceRef(ctx(), &self),
                         range->IsEditSourceRef(ctx(), &other)),
              std::tuple(1, 0, 0));
    FormulaPtr op(Op(UnPlusFunc, Cell(0, 0)));
    EXPECT_EQ(op->GetEditSourceRef(ctx(), &other), nullptr);
}

TEST_F(TreeNodes, UpdatesRebuildOrLeaveTheFormulaAlone) {
    CCRCRef a1(0, 0), c3(2, 2);
    FormulaPtr f(Op(Fn(u"SUM"), Op(RANGEFunc, Cell(0, 0), Cell(0, 1)), Cell(0, 0)));
    CCFormula* replaced = nullptr;
    EXPECT_TRUE(f->UpdateRef(ctx(), nullptr, nullptr, &a1, &c3, 0, replaced));
    FormulaPtr r(replaced);
    EXPECT_EQ(PrintOf(ctx(), r.get()), u"SUM (C3 .. A2, C3)");
    // The reference-operation node keeps its class in the rebuilt tree.
    EXPECT_EQ(static_cast<CCOpFormula*>(r.get())->GetArgs()->m_pFormula->GetType(), FORMULA_REFOP);

    CCFormula* invalidated = nullptr;
    EXPECT_TRUE(f->InvalidateRef(ctx(), &a1, invalidated, nullptr));
    FormulaPtr inv(invalidated);
    const CCFormula* last = static_cast<CCOpFormula*>(inv.get())->GetArgs()->m_pNext->m_pFormula;
    ASSERT_EQ(last->GetType(), FORMULA_CONST);
    EXPECT_EQ(static_cast<const CCConstFormula*>(last)->GetValue().GetError(), 3);

    // A move or paste that would take B2 off the grid reports 0 and leaves the formula as
    // it was, F6 included.
    FormulaPtr moving(Op(ADDFunc, Cell(5, 5), Cell(1, 1)));
    CCRCRef from(3, 3), to(0, 0);
    EXPECT_EQ(moving->MoveFormula(ctx(), &from, &to), 0);
    EXPECT_EQ(moving->UpdateInPaste(ctx(), &from, &to, nullptr), 0);
    EXPECT_EQ(PrintOf(ctx(), moving.get()), u"F6 + B2");
    CCRCRef down(4, 4);
    EXPECT_EQ(moving->MoveFormula(ctx(), &from, &down), 1);
    EXPECT_EQ(PrintOf(ctx(), moving.get()), u"G7 + C3");
}

TEST_F(TreeNodes, MovesOffTheGridAreRefusedWholeAtAnyDepth) {
    // A range node and a sheet link deep in the tree: the link's A1:B2 cannot move two
    // columns left, so nothing moves, the range C3..D4 that could included.
    CCRemoteRef link(u"?Sheet2", u"A1:B2");
    FormulaPtr f(Op(Fn(u"SUM"), Op(RANGEFunc, Cell(2, 2), Cell(3, 3)),
                    Op(ADDFunc, new CCRefFormula(&link, 0), Range(0, 0, 1, 1))));
    auto linkItem = [&] {
        const CCFormulaList* args = static_cast<CCOpFormula*>(f.get())->GetArgs();
        const CCFormula* add = args->m_pNext->m_pFormula;
        const CCFormula* node = static_cast<const CCOpFormula*>(add)->GetArgs()->m_pFormula;
        const CCRef* ref = static_cast<const CCRefFormula*>(node)->GetRef();
        return std::u16string(static_cast<const CCRemoteRef*>(ref)->GetItem());
    };
    const std::u16string before = PrintOf(ctx(), f.get());
    CCRCRef from(3, 3), left(1, 3), down(3, 5);
    EXPECT_EQ(f->MoveFormula(ctx(), &from, &left), 0);
    EXPECT_EQ(PrintOf(ctx(), f.get()), before);
    EXPECT_EQ(linkItem(), u"A1:B2");
    // Two rows down, every reference follows.
    EXPECT_EQ(f->MoveFormula(ctx(), &from, &down), 1);
    EXPECT_EQ(linkItem(), u"A3:B4");
    EXPECT_EQ(PrintOf(ctx(), f.get()), u"SUM (C5 .. D6, Sheet2!A3:B4 + A3:B4)");
}

TEST_F(TreeNodes, ListRoutinesCountExactly) {
    using CountTest = bool (*)(const CCFormulaList*);
    const CountTest atLeast[] = {FormulaList0Item, FormulaList1Item, FormulaList2Item,
                                 FormulaList3Item, FormulaList4Item, FormulaList5Item,
                                 FormulaList6Item, FormulaList7Item, FormulaList8Item};
    const CountTest exactly[] = {FormulaList0ItemEx, FormulaList1ItemEx, FormulaList2ItemEx,
                                 FormulaList3ItemEx, FormulaList4ItemEx, FormulaList5ItemEx,
                                 FormulaList6ItemEx, FormulaList7ItemEx, FormulaList8ItemEx};
    CCFormulaList* list = nullptr;
    for (size_t length = 0; length <= 9; ++length) {
        if (length) FormulaListAddLast(list, Num(double(length)));
        EXPECT_EQ(FormulaListCount(list), length);
        for (size_t n = 0; n <= 8; ++n) {
            EXPECT_EQ(atLeast[n](list), length >= n) << length << " items, n = " << n;
            EXPECT_EQ(exactly[n](list), length == n) << length << " items, n = " << n;
        }
    }
    CCFormulaList* copy = CopyFormulaList(list);
    EXPECT_NE(copy->m_pFormula, list->m_pFormula);
    FreeFormulaList(list, 1);
    FreeFormulaList(copy, 1);
}

TEST_F(TreeNodes, EightBitSheetNamesReadAsWindows1252) {
    auto names = [](const CCFormula* f) {
        std::vector<std::u16string> out;
        for (const CCFormulaList* a = static_cast<const CCOpFormula*>(f)->GetArgs(); a;
             a = a->m_pNext) {
            const CCRef* ref = static_cast<const CCRefFormula*>(a->m_pFormula)->GetRef();
            out.emplace_back(static_cast<const CCNameRef*>(ref)->GetName());
        }
        return out;
    };
    // 0x80 is the euro sign and 0x9F a Y with diaeresis in the code page; 0xE9 is Latin-1.
    FormulaPtr one(ConstructOpFormula(&SheetRangeFunc, "\x80 Caf\xe9"));
    FormulaPtr span(ConstructOpFormula(&SheetRangeFunc, "Q1", "\x9f"));
    EXPECT_EQ(names(one.get()), std::vector<std::u16string>{u"\u20AC Caf\u00E9"});
    EXPECT_EQ(names(span.get()), (std::vector<std::u16string>{u"Q1", u"\u0178"}));
    EXPECT_EQ(ConstructOpFormula(nullptr, "Q1"), nullptr);
}

TEST_F(TreeNodes, SheetPrefixFollowsRenameAndSurvivesDestruction) {
    auto second = std::make_unique<testing_support::TestSheet>(u"Data");
    std::vector<testing_support::TestSheet*> family{&sheet, second.get()};
    sheet.Join(&family);
    second->Join(&family);
    second->SetNumber(0, 0, 7);
    FormulaPtr full(Op(FULLREFFunc, ConstructOpFormula(&SheetRangeFunc, u"Data"), Cell(0, 0)));
    CCRCRef b1(1, 0);
    CCRef3D self(ctx(), &b1);
    full->RegisterDependents(ctx(), &self);
    second->FireEvent(CCSheetRenameEvent(u"Data", u"Input"));
    EXPECT_EQ(PrintOf(ctx(), full.get()), u"Input ! A1");
    second->FireEvent(CCDestroySheetEvent());
    family.pop_back();
    second.reset();  // the node must not touch the destroyed broadcaster afterwards
    full->UnRegisterDependents(ctx(), &self);
    full.reset();
    sheet.Join(nullptr);
}

}  // namespace
