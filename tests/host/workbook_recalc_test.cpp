// SPDX-License-Identifier: Apache-2.0
// Recalculation of sheets that belong to a workbook: the shared evaluation order, renames,
// removed cells and sheets that go, checked on the reference host's workbook.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "facade/host_workbook.h"
#include "ostrel/engine/calc_cache.h"
#include "ostrel/engine/module.h"
#include "ostrel/platform/utf.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"

using ostrel::host::HostSheet;
using ostrel::host::HostWorkbook;

namespace {

std::u16string A1Name(unsigned column, unsigned row) {
    std::u16string text(1, char16_t(u'A' + column));
    for (char c : std::to_string(row + 1))
        text += char16_t(c);
    return text;
}

struct Book {
    bool started = (QXCellInit(), true);
    HostWorkbook book;
    HostSheet* one = book.AddSheet(u"One");
    HostSheet* two = book.AddSheet(u"Two");

    long Position(HostSheet* sheet, unsigned column, unsigned row) {
        CCRCRef ref(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
        auto key = CCCalcCache::MakeKey(sheet, &ref);
        return book.GetCalcCache().GetPosition(key.get());
    }
};

// Cells on two sheets; each formula reads inputs and other formulas, possibly on the other
// sheet, without a cycle (formula k reads only formulas before k).
struct RandomBook {
    struct Cell {
        int sheet;
        unsigned column, row;
    };
    std::vector<Cell> inputs, formulas;
    std::vector<std::vector<size_t>> reads;
    std::vector<std::u16string> texts;

    RandomBook(std::mt19937& rng, size_t inputCount, size_t formulaCount) {
        std::vector<Cell> grid;
        for (int s = 0; s < 2; ++s)
            for (unsigned c = 0; c < 4; ++c)
                for (unsigned r = 0; r < 6; ++r)
                    grid.push_back({s, c, r});
        std::shuffle(grid.begin(), grid.end(), rng);
        inputs.assign(grid.begin(), grid.begin() + long(inputCount));
        formulas.assign(grid.begin() + long(inputCount),
                        grid.begin() + long(inputCount + formulaCount));
        for (size_t k = 0; k < formulaCount; ++k) {
            std::vector<size_t> mine;
            const size_t before = inputCount + k;
            for (size_t j = 0; j < before; ++j)
                if (rng() % 3 == 0) mine.push_back(j);
            if (mine.empty()) mine.push_back(rng() % before);
            std::u16string text = u"=";
            for (size_t i = 0; i < mine.size(); ++i) {
                const Cell& read = At(mine[i]);
                if (i) text += rng() % 2 ? u"+" : u"-";
                if (read.sheet != formulas[k].sheet) text += read.sheet == 0 ? u"One!" : u"Two!";
                text += A1Name(read.column, read.row);
            }
            reads.push_back(mine);
            texts.push_back(text);
        }
    }
    const Cell& At(size_t j) const {
        return j < inputs.size() ? inputs[j] : formulas[j - inputs.size()];
    }
    static HostSheet* SheetOf(Book& b, const Cell& cell) { return cell.sheet == 0 ? b.one : b.two; }
    void Type(Book& b, const Cell& cell, const std::u16string& text) const {
        SheetOf(b, cell)->SetCellText(cell.column, cell.row, text);
    }
    std::u16string Shown(Book& b, const Cell& cell) const {
        return SheetOf(b, cell)->GetCellValueText(cell.column, cell.row);
    }
};

}  // namespace

TEST(WorkbookRecalc, NodesPlacedOutOfOrderEndUpBehindWhatTheyRead) {
    Book b;
    // Typed from the end of the chain backwards, across both sheets, so that every new
    // formula is read by formulas placed before it.
    b.one->SetCellText(0, 3, u"=Two!A3+1");  // A4 on One
    b.two->SetCellText(0, 2, u"=One!A3*2");  // A3 on Two
    b.one->SetCellText(0, 2, u"=A2+A1");     // A3 on One
    b.one->SetCellText(0, 1, u"=A1*10");     // A2 on One
    b.one->SetCellText(0, 0, u"3");
    b.book.RecalculateAll();
    EXPECT_EQ(b.one->GetCellValueText(0, 3), u"67");  // ((3*10+3)*2)+1
    const long a2 = b.Position(b.one, 0, 1), a3 = b.Position(b.one, 0, 2);
    const long twoA3 = b.Position(b.two, 0, 2), a4 = b.Position(b.one, 0, 3);
    ASSERT_GE(a2, 0);
    EXPECT_LT(a2, a3);
    EXPECT_LT(a3, twoA3);
    EXPECT_LT(twoA3, a4);

    // A formula changed to read a cell that stands after it moves behind that cell.
    b.one->SetCellText(0, 3, u"=Two!B1+1");
    b.one->SetCellText(0, 1, u"=One!A4-60");
    b.two->SetCellText(1, 0, u"5");
    b.book.RecalculateAll();
    EXPECT_LT(b.Position(b.one, 0, 3), b.Position(b.one, 0, 1));
    EXPECT_EQ(b.one->GetCellValueText(0, 1), u"-54");
    EXPECT_EQ(b.two->GetCellValueText(0, 2), u"-102");  // (-54 + 3) * 2
}

TEST(WorkbookRecalc, IncrementalResultsMatchComputingFromScratch) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 120; ++round) {
        RandomBook shape(rng, 2 + rng() % 4, 3 + rng() % 14);
        std::vector<size_t> typing(shape.formulas.size());
        for (size_t k = 0; k < typing.size(); ++k)
            typing[k] = k;
        std::shuffle(typing.begin(), typing.end(), rng);
        std::vector<int> values(shape.inputs.size());
        for (int& v : values)
            v = int(rng() % 10);
        Book live;
        for (size_t i = 0; i < shape.inputs.size(); ++i)
            shape.Type(live, shape.inputs[i], std::u16string(1, char16_t(u'0' + values[i])));
        for (size_t k : typing)
            shape.Type(live, shape.formulas[k], shape.texts[k]);
        live.book.RecalculateAll();
        // Some formulas change what they read: they may now read cells placed after them.
        for (size_t k = 0; k < shape.formulas.size(); ++k) {
            if (rng() % 4 != 0) continue;
            size_t read = rng() % (shape.inputs.size() + k);
            const RandomBook::Cell& cell = shape.At(read);
            std::u16string text = u"=2*";
            if (cell.sheet != shape.formulas[k].sheet) text += cell.sheet == 0 ? u"One!" : u"Two!";
            shape.texts[k] = text + A1Name(cell.column, cell.row);
            shape.Type(live, shape.formulas[k], shape.texts[k]);
        }
        live.book.RecalculateAll();
        for (size_t i = 0; i < shape.inputs.size(); ++i) {
            values[i] = int(rng() % 10);
            shape.Type(live, shape.inputs[i], std::u16string(1, char16_t(u'0' + values[i])));
            live.book.RecalculateAll();
            ASSERT_EQ(live.book.GetCalcCache().GetDirtyCount(), 0u);

            Book scratch;  // typed in reading order: every value computed once, correctly
            for (size_t j = 0; j < shape.inputs.size(); ++j)
                shape.Type(scratch, shape.inputs[j], std::u16string(1, char16_t(u'0' + values[j])));
            for (size_t k = 0; k < shape.formulas.size(); ++k)
                shape.Type(scratch, shape.formulas[k], shape.texts[k]);
            scratch.book.RecalculateAll();
            for (size_t j = 0; j < shape.inputs.size() + shape.formulas.size(); ++j)
                ASSERT_EQ(shape.Shown(live, shape.At(j)), shape.Shown(scratch, shape.At(j)))
                    << "round " << round << " input " << i << " cell " << j;
        }
    }
}

// A cycle through both sheets ends every walk and shows as a cycle on one sheet does.
TEST(WorkbookRecalc, CyclesEndTheWalksAndStayCircular) {
    Book b;
    HostSheet alone;
    alone.SetCellText(0, 0, u"=B1+1");
    alone.SetCellText(1, 0, u"=A1+1");
    alone.RecalculateAll();
    b.one->SetCellText(0, 0, u"=B1+1");
    b.one->SetCellText(1, 0, u"=Two!A1+1");
    b.two->SetCellText(0, 0, u"=One!A1+1");
    b.book.RecalculateAll();
    EXPECT_EQ(b.book.GetCalcCache().GetDirtyCount(), 0u);
    EXPECT_EQ(b.two->GetCellValueText(0, 0), alone.GetCellValueText(1, 0));
    b.one->SetCellText(2, 0, u"=A1");
    b.one->DoNonIdleCalc(b.one->FindCell(0, 0), 0);  // marks through the cycle and ends
    EXPECT_EQ(b.book.GetCalcCache().GetDirtyCount(), 0u);
}

TEST(WorkbookRecalc, RemovedCellsAndGoneSheetsLeaveTheOrder) {
    Book b;
    b.one->SetCellText(0, 0, u"1");
    b.one->SetCellText(1, 0, u"=A1+1");
    b.one->SetCellText(2, 0, u"=B1+1");
    b.book.RecalculateAll();
    CCCalcCache& cache = b.book.GetCalcCache();
    const size_t before = cache.GetCount();
    ASSERT_GE(b.Position(b.one, 1, 0), 0);
    b.one->OnRemoveItem(b.one->FindCell(1, 0));
    EXPECT_EQ(b.Position(b.one, 1, 0), -1);
    EXPECT_EQ(cache.GetCount(), before - 1);
    b.one->SetCellText(0, 0, u"2");  // a change reaching the cell again gives it a node
    b.book.RecalculateAll();
    EXPECT_EQ(b.one->GetCellValueText(2, 0), u"4");
    const size_t settled = cache.GetCount();
    EXPECT_EQ(settled, before);

    // A sheet that takes the workbook's road and then goes takes its nodes along.
    {
        HostSheet guest("", u"Guest");
        guest.SetWorkbook(&b.book);
        guest.SetCellText(0, 0, u"1");
        guest.SetCellText(0, 1, u"=A1*2");
        guest.SetCellText(0, 2, u"=A2*2");
        EXPECT_GT(cache.GetCount(), settled);
        EXPECT_GT(cache.GetDirtyCount(), 0u);
    }
    EXPECT_EQ(cache.GetCount(), settled);
    EXPECT_EQ(cache.GetDirtyCount(), 0u);
    b.book.RecalculateAll();  // nothing of the guest is left to run
}

TEST(WorkbookRecalc, RenamingASheetRenamesItInFormulasAndLinks) {
    Book b;
    b.two->SetCellText(0, 0, u"21");
    b.one->SetCellText(0, 0, u"=Two!A1*2");
    b.book.RecalculateAll();
    ASSERT_EQ(b.one->GetCellValueText(0, 0), u"42");

    // A link from One's A1 to a cell of Two is also recorded on Two's sheet item.
    CCRemoteRef toTwo(u"?Two", u"A1");
    CCRCRef a1(0, 0);
    b.one->DoRemoteRegisterDependent(&toTwo, &a1);
    CCRefList* deps = b.two->LoadDependents(b.two->GetCTX());
    ASSERT_NE(deps, nullptr);
    ASSERT_EQ(deps->m_pRef->GetType(), REF_TYPE_REMOTE);
    EXPECT_EQ(static_cast<CCRemoteRef*>(deps->m_pRef)->GetDocument(), u"?One");
    RefListFree(deps, 0);

    ASSERT_TRUE(b.book.RenameSheet(1, u"First"));
    ASSERT_TRUE(b.book.RenameSheet(2, u"Data"));
    EXPECT_EQ(b.one->GetCellFormula(0, 0), u"= Data ! A1 * 2");
    deps = b.two->LoadDependents(b.two->GetCTX());
    ASSERT_NE(deps, nullptr);
    EXPECT_EQ(static_cast<CCRemoteRef*>(deps->m_pRef)->GetDocument(), u"?First");
    RefListFree(deps, 0);
    EXPECT_EQ(b.book.IsValidSheetName(u"?Data"), 1);
    EXPECT_EQ(b.book.IsValidSheetName(u"Two"), 0);

    b.two->SetCellText(0, 0, u"5");
    b.book.RecalculateAll();
    EXPECT_EQ(b.one->GetCellValueText(0, 0), u"10");
    EXPECT_FALSE(b.book.RenameSheet(1, u"data"));  // taken, ignoring case
    EXPECT_FALSE(b.book.RenameSheet(9, u"Nine"));

    // The unregistering link leaves the sheet item.
    CCRemoteRef toData(u"?Data", u"A1");
    b.one->DoRemoteUnRegisterDependent(&toData, &a1);
    EXPECT_EQ(b.two->LoadDependents(b.two->GetCTX()), nullptr);
}

TEST(WorkbookRecalc, RemoteReferencesAreCheckedAgainstSheetsAndDocuments) {
    Book b;
    CCRemoteRef onTwo(u"?Two", u"B2"), junk(u"?Two", u"B2 "), nowhere(u"?Three", u"A1");
    EXPECT_EQ(b.one->IsValidRemoteRef(&onTwo, 2), 1);
    EXPECT_EQ(b.one->IsValidRemoteRef(&junk, 2), 0);
    EXPECT_EQ(b.one->IsValidRemoteRef(&nowhere, 2), 0);
    EXPECT_EQ(b.one->IsValidRemoteRef(nullptr, 2), 0);
    CCRemoteRef self(u"one", u"C3"), selfSources(u"One", u"not a reference");
    EXPECT_EQ(b.one->IsValidRemoteRef(&self, 2), 1);
    EXPECT_EQ(b.one->IsValidRemoteRef(&selfSources, 2), 0);
    EXPECT_EQ(b.one->IsValidRemoteRef(&selfSources, 3), 1);  // data sources name no cell
}

TEST(WorkbookRecalc, ALongChainTypedFromTheBottomKeepsItsOrder) {
    // Every new formula is read by the one typed before it and goes to the front: the
    // labels of the order run out near the front again and again and are spread anew.
    Book b;
    const unsigned rows = 1500;
    for (unsigned row = rows; row-- > 1;)
        b.one->SetCellText(0, row, u"=" + A1Name(0, row - 1) + u"+1");
    b.one->SetCellText(0, 0, u"1");
    b.book.RecalculateAll();
    EXPECT_EQ(b.one->GetCellValueText(0, rows - 1), u"1500");
    long previous = -1;
    for (unsigned row = 1; row < rows; ++row) {
        const long position = b.Position(b.one, 0, row);
        ASSERT_GT(position, previous) << "row " << row;
        previous = position;
    }
}

// A change inside a range reaches every formula registered on it, however many changes come
// between two calculations and whenever the formulas were typed: the order walks from a cell
// to the ranges holding it, and stops at a range already marked.
TEST(WorkbookRecalc, ChangesInsideRangesReachEveryFormulaOnThem) {
    std::mt19937 rng(77);
    constexpr unsigned kRows = 12;
    for (int round = 0; round < 20; ++round) {
        Book b;
        std::vector<int> a(kRows, 0);
        struct Window {
            HostSheet* sheet;
            unsigned row, first, last;
        };
        std::vector<Window> windows;
        auto typeInput = [&](unsigned r, int v) {
            a[r] = v;
            b.one->SetCellText(0, r, ostrel::FromUtf8(std::to_string(v)));
        };
        // Column B doubles column A, so that ranges over A:B hold formulas too.
        for (unsigned r = 0; r < kRows; ++r) {
            if (rng() % 2) typeInput(r, int(rng() % 10));
            b.one->SetCellText(1, r, u"=2*A" + ostrel::FromUtf8(std::to_string(r + 1)));
        }
        for (unsigned k = 0; k < 8; ++k) {
            unsigned first = rng() % kRows, last = rng() % kRows;
            if (first > last) std::swap(first, last);
            HostSheet* sheet = k % 2 ? b.two : b.one;
            std::string text = std::string("=SUM(") + (sheet == b.two ? "One!" : "") + "A" +
                               std::to_string(first + 1) + ":B" + std::to_string(last + 1) + ")";
            sheet->SetCellText(2, k, ostrel::FromUtf8(text));
            windows.push_back({sheet, k, first, last});
            typeInput(rng() % kRows, int(rng() % 10));
        }
        for (int step = 0; step < 6; ++step) {
            for (unsigned n = 1 + rng() % 3; n > 0; --n)
                typeInput(rng() % kRows, int(rng() % 10));
            b.book.RecalculateAll();
            for (const Window& w : windows) {
                int sum = 0;
                for (unsigned r = w.first; r <= w.last; ++r)
                    sum += 3 * a[r];
                ASSERT_EQ(w.sheet->GetCellValueText(2, w.row),
                          ostrel::FromUtf8(std::to_string(sum)))
                    << "round " << round << " step " << step << " window " << w.row;
            }
        }
    }
}

// Typing in any order, retyping formulas and inputs, with calculations at random moments,
// ends with every value as computed directly. It catches a formula evaluated as it was
// stored and not computed again though something it reads changed after, a formula that
// starts reading a range left before the cells in it, and a range read again after a time
// when nothing read it (its old place in the order went unkept).
TEST(WorkbookRecalc, TypingInAnyOrderEndsWithTheValuesComputedDirectly) {
    std::mt19937 rng(2026);
    constexpr unsigned kCells = 10;  // A1..A10 on One; the first three are inputs
    for (int round = 0; round < 200; ++round) {
        Book b;
        std::vector<std::vector<unsigned>> reads(kCells);
        std::vector<long> input(kCells, 0);
        std::vector<bool> typed(kCells, false);
        auto typeFormula = [&](unsigned k) {
            reads[k].clear();
            std::u16string text = u"=1";
            for (unsigned j = 0; j < k; ++j)
                if (rng() % 3 == 0) {
                    reads[k].push_back(j);
                    text += (j % 2 ? u"+" : u"+2*") + A1Name(0, j);
                }
            // Sometimes through a range, which registers on the range rather than the cell.
            if (k > 1 && rng() % 4 == 0) {
                text += u"+SUM(A1:" + A1Name(0, k - 1) + u")";
                for (unsigned j = 0; j < k; ++j)
                    reads[k].push_back(kCells + j);
            }
            b.one->SetCellText(0, k, text);
            typed[k] = true;
        };
        for (int step = 0; step < 30; ++step) {
            const unsigned k = rng() % kCells;
            if (k < 3) {
                input[k] = long(rng() % 10);
                b.one->SetCellText(0, k, ostrel::FromUtf8(std::to_string(input[k])));
                typed[k] = true;
            } else {
                typeFormula(k);
            }
            if (rng() % 5 == 0) b.book.RecalculateAll();
        }
        b.book.RecalculateAll();
        std::vector<long> want(kCells, 0);
        for (unsigned k = 0; k < kCells; ++k) {
            if (k < 3) {
                want[k] = typed[k] ? input[k] : 0;
                continue;
            }
            if (!typed[k]) continue;
            long value = 1;
            for (unsigned j : reads[k])
                value += j >= kCells ? want[j - kCells] : (j % 2 ? 1 : 2) * want[j];
            want[k] = value;
        }
        for (unsigned k = 0; k < kCells; ++k) {
            if (!typed[k]) continue;
            ASSERT_EQ(b.one->GetCellValueText(0, k), ostrel::FromUtf8(std::to_string(want[k])))
                << "round " << round << " cell " << k;
        }
    }
}
