// SPDX-License-Identifier: Apache-2.0
// Recalculation of a manager without a workbook: which cells run, in which order, in which
// slices; cycles; and the ordering checked against the plain list walk on random graphs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "literal_recalc.h"
#include "ostrel/cells/cell.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/utf.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "support/test_host.h"

using testing_support::LiteralRecalcOrder;
using testing_support::TestSheet;

namespace {

using Pos = std::pair<unsigned char, uint16_t>;

// Dependents are recorded sheet-qualified; the cell is the inner reference.
Pos PosOf(const CCRef* ref) {
    if (ref->GetType() == REF_TYPE_3D) ref = static_cast<const CCRef3D*>(ref)->GetInnerRef();
    auto* rc = static_cast<const CCRCRef*>(ref);
    return {rc->GetColumn(), rc->GetRow()};
}

std::u16string Name(Pos p) {
    std::string text(1, static_cast<char>('A' + p.first));
    text += std::to_string(p.second + 1);
    return std::u16string(text.begin(), text.end());
}

// A sheet that records the cells it recalculates.
struct Sheet : TestSheet {
    Sheet() { InitBuiltinFunctions(); }
    void Type(Pos p, std::u16string_view text) { TestSheet::Type(p.first, p.second, text); }
    void Settle() {
        TestSheet::Settle();
        ran.clear();
    }
    std::string Shown(Pos p) { return TestSheet::Shown(p.first, p.second); }
    int RecalcCell(const CCRef* ref) override {
        ran.push_back(PosOf(ref));
        return TestSheet::RecalcCell(ref);
    }
    int GetAutoCalc() override { return autoCalc; }
    void OnUpdateIdleRecalc() override { ++progress; }
    using CCCellManager::DoProcess;
    using CCCellManager::PatchDoProcess;

    std::vector<Pos> ran;
    int autoCalc = 1;
    long progress = 0;
};

size_t IndexOf(const std::vector<Pos>& order, Pos p) {
    return static_cast<size_t>(std::find(order.begin(), order.end(), p) - order.begin());
}

}  // namespace

// Exclude hands one entry to the caller and Abort all of them: the very objects, in list
// order, alive; the list is left empty and usable.
TEST(Recalc, RecalcListHandsEntriesOverWithoutDestroyingThem) {
    CCCellManager::CCRecalcList list;
    CCRCRef a1(0, 0), b1(1, 0), c1(2, 0);
    for (const CCRef* ref : {&a1, &b1, &a1, &c1})
        list.AddLast(ref);
    std::unique_ptr<CCRef> excluded = list.Exclude(&a1);
    ASSERT_NE(excluded, nullptr);
    EXPECT_TRUE(excluded->IsEqual(&a1));
    EXPECT_TRUE(list.ComesBefore(&b1, &a1));  // the second A1 stays

    std::vector<const CCRef*> held;
    for (const auto& entry : list.GetStdList())
        held.push_back(entry.get());
    CCCellManager::CCRecalcList::StdList taken = list.Abort();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_FALSE(list.Contains(&b1));
    ASSERT_EQ(taken.size(), 3u);
    auto it = taken.begin();
    for (size_t i = 0; i < held.size(); ++i, ++it)
        EXPECT_EQ(it->get(), held[i]);
    EXPECT_TRUE(taken.front()->IsEqual(&b1));
    EXPECT_TRUE(taken.back()->IsEqual(&c1));

    list.AddLast(&c1);
    list.AddLast(&b1);
    EXPECT_TRUE(list.ComesBefore(&c1, &b1));
    EXPECT_EQ(list.GetCount(), 2u);
}

TEST(Recalc, ChainDiamondAndFanOutKeepTheirOrderAndSlices) {
    Sheet chain;
    chain.Type({0, 0}, u"1");
    chain.Type({1, 0}, u"=A1*2");
    chain.Type({2, 0}, u"=B1+1");
    chain.Settle();
    chain.Type({0, 0}, u"5");
    EXPECT_EQ(chain.GetCurProcessCount(), 1u);
    EXPECT_EQ(chain.DoIdle(0), 0);
    EXPECT_EQ(chain.ran, (std::vector<Pos>{{1, 0}, {2, 0}}));
    EXPECT_EQ(chain.Shown({2, 0}), "11");

    Sheet diamond;
    diamond.Type({0, 0}, u"1");
    diamond.Type({1, 0}, u"=A1+1");
    diamond.Type({2, 0}, u"=A1*3");
    diamond.Type({3, 0}, u"=B1*C1");
    diamond.Settle();
    diamond.Type({0, 0}, u"2");
    auto literal = LiteralRecalcOrder(diamond, diamond.GetProcessList());
    EXPECT_EQ(diamond.DoIdle(0), 0);
    ASSERT_EQ(diamond.ran.size(), 3u);
    EXPECT_EQ(diamond.ran[2], Pos(3, 0));
    for (size_t i = 0; i < literal.size(); ++i)
        EXPECT_EQ(diamond.ran[i], PosOf(literal[i].get()));
    EXPECT_EQ(diamond.Shown({3, 0}), "18");

    Sheet fan;
    fan.Type({0, 0}, u"1");
    for (uint16_t r = 0; r < 100; ++r)
        fan.Type({1, r}, u"=A1+1");
    fan.Settle();
    fan.Type({0, 0}, u"7");
    EXPECT_EQ(fan.DoIdle(0), 1);
    EXPECT_EQ(fan.ran.size(), 64u);
    EXPECT_EQ(fan.GetCurRecalcCount(), 36u);
    EXPECT_EQ(fan.GetAllRecalcCount(), 100u);
    EXPECT_EQ(fan.DoIdle(0), 0);
    EXPECT_EQ(fan.ran.size(), 100u);
    EXPECT_EQ(fan.GetAllRecalcCount(), 0u);
    fan.ran.clear();
    fan.Type({0, 0}, u"8");
    EXPECT_EQ(fan.DoIdle(1), 0);
    EXPECT_EQ(fan.ran.size(), 100u);
    EXPECT_EQ(fan.Shown({1, 99}), "9");
}

TEST(Recalc, AutoCalcOffAndRecalcLimits) {
    Sheet sheet;
    sheet.Type({0, 0}, u"1");
    sheet.Type({1, 0}, u"=A1+1");
    sheet.Settle();
    sheet.autoCalc = 0;
    sheet.Type({0, 0}, u"4");
    EXPECT_EQ(sheet.GetCurProcessCount(), 0u);
    EXPECT_EQ(sheet.DoIdle(1), 0);
    EXPECT_EQ(sheet.Shown({1, 0}), "2");

    sheet.autoCalc = 1;
    for (uint16_t r = 0; r < 70; ++r)
        sheet.Type({2, r}, u"=A1*2");
    sheet.Settle();
    sheet.Type({0, 0}, u"3");
    EXPECT_EQ(sheet.DoIdle(0), 1);
    size_t left = sheet.GetCurRecalcCount();
    ASSERT_GT(left, 0u);
    sheet.DoRecalc(0);
    EXPECT_EQ(sheet.GetCurRecalcCount(), left);
    sheet.DoRecalc(-1);
    EXPECT_EQ(sheet.GetCurRecalcCount(), 0u);
    EXPECT_EQ(sheet.GetAllRecalcCount(), 0u);
    EXPECT_EQ(sheet.Shown({2, 69}), "6");
}

TEST(Recalc, CyclesEndEveryWalk) {
    // D1 feeds the loop A1 -> B1 -> C1 -> A1, and E1 reads the loop. A typed formula that
    // closes a loop is refused, so the last link is registered by hand.
    auto build = [](Sheet& sheet) {
        sheet.Type({3, 0}, u"1");
        sheet.Type({0, 0}, u"=D1");
        sheet.Type({1, 0}, u"=A1+1");
        sheet.Type({2, 0}, u"=B1+1");
        sheet.Type({4, 0}, u"=C1");
        CCRefList* readers = sheet.Cell(3, 0)->LoadDependents(sheet.GetCTX());
        ASSERT_NE(readers, nullptr);
        CCRCRef c1(2, 0);
        EXPECT_EQ(sheet.RegisterDependent(&c1, readers->m_pRef), 1);
        RefListFree(readers, 0);
        sheet.Settle();
    };
    Sheet idle;
    build(idle);
    idle.Type({3, 0}, u"2");
    EXPECT_EQ(idle.DoIdle(1), 0);
    std::vector<Pos> ran = idle.ran;
    std::sort(ran.begin(), ran.end());
    ASSERT_EQ(ran, (std::vector<Pos>{{0, 0}, {1, 0}, {2, 0}, {4, 0}}));
    EXPECT_EQ(idle.ran.back(), Pos(4, 0));

    Sheet process;
    build(process);
    process.Type({3, 0}, u"3");
    process.DoProcess(-1);
    EXPECT_EQ(process.GetCurProcessCount(), 0u);
    EXPECT_EQ(process.GetCurRecalcCount(), 4u);

    // The circularity check ends on a loop, whether it starts on it or before it.
    Sheet check;
    build(check);
    check.InitFormulaRecalc(check.Cell(1, 0));
    EXPECT_LE(check.GetCurProcessCount(), 1u);
    check.Settle();
    check.Type({3, 0}, u"=F1");
    check.Settle();
    EXPECT_EQ(check.InitFormulaRecalc(check.Cell(3, 0)), 1);
    ASSERT_EQ(check.GetCurProcessCount(), 1u);
    EXPECT_EQ(PosOf(check.GetProcessList().GetFirst()), Pos(3, 0));
}

namespace {

// A random acyclic sheet: inputs hold numbers, formula k reads inputs and earlier formulas.
struct RandomSheet {
    std::vector<Pos> inputs;
    std::vector<Pos> formulas;
    std::vector<std::vector<size_t>> reads;  // indexes into inputs + formulas
    std::vector<std::u16string> texts;

    RandomSheet(std::mt19937& rng, size_t inputCount, size_t formulaCount) {
        std::vector<Pos> grid;
        for (unsigned char c = 0; c < 5; ++c)
            for (uint16_t r = 0; r < 8; ++r)
                grid.push_back({c, r});
        std::shuffle(grid.begin(), grid.end(), rng);
        inputs.assign(grid.begin(), grid.begin() + inputCount);
        formulas.assign(grid.begin() + inputCount, grid.begin() + inputCount + formulaCount);
        const char16_t* ops[] = {u"+", u"-", u"*"};
        for (size_t k = 0; k < formulaCount; ++k) {
            std::vector<size_t> mine;
            size_t before = inputCount + k;
            for (size_t j = 0; j < before; ++j)
                if (rng() % 3 == 0) mine.push_back(j);
            if (mine.empty()) mine.push_back(rng() % before);
            std::shuffle(mine.begin(), mine.end(), rng);
            std::u16string text = u"=";
            for (size_t i = 0; i < mine.size(); ++i) {
                if (i) text += ops[rng() % 3];
                text += rng() % 4 == 0 ? u"ABS(" + Name(At(mine[i])) + u")" : Name(At(mine[i]));
            }
            reads.push_back(mine);
            texts.push_back(text);
        }
    }
    Pos At(size_t j) const { return j < inputs.size() ? inputs[j] : formulas[j - inputs.size()]; }
    std::vector<Pos> FormulaPrecedents(Pos p) const {
        std::vector<Pos> out;
        size_t k = IndexOf(formulas, p);
        if (k < formulas.size())
            for (size_t j : reads[k])
                if (j >= inputs.size()) out.push_back(At(j));
        return out;
    }
    // Types everything; formulas in an order of the generator's choosing.
    void Fill(Sheet& sheet, const std::vector<size_t>& formulaOrder,
              const std::vector<int>& values) const {
        for (size_t i = 0; i < inputs.size(); ++i)
            sheet.Type(inputs[i], std::u16string(1, u'0' + values[i]));
        for (size_t k : formulaOrder)
            sheet.Type(formulas[k], texts[k]);
        sheet.Settle();
    }
};

}  // namespace

TEST(Recalc, OrderingAgreesWithThePlainWalkOnRandomAcyclicSheets) {
    std::mt19937 rng(20240611);
    int differentOrders = 0;
    const int rounds = 3000;
    for (int round = 0; round < rounds; ++round) {
        RandomSheet shape(rng, 1 + rng() % 3, 1 + rng() % 9);
        std::vector<size_t> typing(shape.formulas.size());
        for (size_t k = 0; k < typing.size(); ++k)
            typing[k] = k;
        std::shuffle(typing.begin(), typing.end(), rng);
        std::vector<int> values(shape.inputs.size());
        for (int& v : values)
            v = static_cast<int>(rng() % 10);
        Sheet real, plain;
        shape.Fill(real, typing, values);
        shape.Fill(plain, typing, values);

        Pos changed = shape.inputs[rng() % shape.inputs.size()];
        std::u16string value(1, static_cast<char16_t>(u'0' + rng() % 10));
        real.Type(changed, value);
        plain.Type(changed, value);
        auto literal = LiteralRecalcOrder(plain, plain.GetProcessList());
        plain.GetProcessList().Empty();
        std::vector<Pos> expected;
        for (const auto& ref : literal) {
            expected.push_back(PosOf(ref.get()));
            plain.RecalcCell(ref.get());
        }
        EXPECT_EQ(real.DoIdle(1), 0);

        std::vector<Pos> got = real.ran, want = expected;
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        ASSERT_EQ(got, want) << "round " << round;
        ASSERT_TRUE(std::adjacent_find(got.begin(), got.end()) == got.end()) << "round " << round;
        for (size_t i = 0; i < real.ran.size(); ++i)
            for (Pos p : shape.FormulaPrecedents(real.ran[i])) {
                size_t at = IndexOf(real.ran, p);
                ASSERT_TRUE(at == real.ran.size() || at < i) << "round " << round;
            }
        for (size_t j = 0; j < shape.inputs.size() + shape.formulas.size(); ++j)
            ASSERT_EQ(real.Shown(shape.At(j)), plain.Shown(shape.At(j))) << "round " << round;
        if (real.ran != expected) ++differentOrders;
    }
    // Independent cells may come in another order; most sheets keep the plain walk's order.
    EXPECT_LT(differentOrders, rounds / 2);
}

TEST(Recalc, IncrementalResultsMatchComputingFromScratch) {
    std::mt19937 rng(77);
    for (int round = 0; round < 150; ++round) {
        RandomSheet shape(rng, 2 + rng() % 4, 4 + rng() % 20);
        std::vector<size_t> typing(shape.formulas.size()), topological(shape.formulas.size());
        for (size_t k = 0; k < typing.size(); ++k)
            typing[k] = topological[k] = k;
        std::shuffle(typing.begin(), typing.end(), rng);
        std::vector<int> values(shape.inputs.size());
        for (int& v : values)
            v = static_cast<int>(rng() % 10);
        Sheet sheet;
        shape.Fill(sheet, typing, values);
        for (size_t i = 0; i < shape.inputs.size(); ++i) {
            values[i] = static_cast<int>(rng() % 10);
            sheet.Type(shape.inputs[i], std::u16string(1, u'0' + values[i]));
            int slices = 0;
            while (sheet.DoIdle(0))
                ASSERT_LT(++slices, 100);
            Sheet scratch;
            shape.Fill(scratch, topological, values);
            for (size_t j = 0; j < shape.inputs.size() + shape.formulas.size(); ++j)
                ASSERT_EQ(sheet.Shown(shape.At(j)), scratch.Shown(shape.At(j)))
                    << "round " << round << " input " << i;
        }
    }
}

TEST(Recalc, RunningTotalWithAFixedCellRecalculatesInLinearWork) {
    // Row k adds $C$1 to row k-1: every row depends on C1 and on the row above.
    const uint16_t rows = 50000;
    Sheet sheet;
    sheet.Type({2, 0}, u"1");
    sheet.Type({0, 0}, u"=$C$1");
    for (uint16_t r = 1; r < rows; ++r)
        sheet.Type({0, r}, u"=" + Name({0, static_cast<uint16_t>(r - 1)}) + u"+$C$1");
    sheet.Settle();
    sheet.progress = 0;
    sheet.Type({2, 0}, u"2");
    EXPECT_EQ(sheet.GetCurProcessCount(), rows);
    EXPECT_EQ(sheet.DoIdle(1), 0);
    ASSERT_EQ(sheet.ran.size(), rows);
    EXPECT_EQ(sheet.ran.front(), Pos(0, 0));
    EXPECT_EQ(sheet.ran.back(), Pos(0, rows - 1));
    // One progress call per 16 expanded cells and per 64 recalculated ones.
    EXPECT_LE(sheet.progress, rows / 16 + rows / 64 + 2);
    EXPECT_EQ(sheet.Shown({0, rows - 1}), std::to_string(2 * rows));
}
