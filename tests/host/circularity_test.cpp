// SPDX-License-Identifier: Apache-2.0
// Which typed formula is refused as circular, checked against a model of the sheets kept
// here: a formula closes a cycle exactly when its cell is among the cells that the cells it
// reads read, transitively, through the formulas accepted so far.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "facade/host_sheet.h"
#include "facade/host_workbook.h"
#include "ostrel/cells/cell.h"
#include "ostrel/engine/module.h"

using ostrel::host::HostSheet;
using ostrel::host::HostWorkbook;

namespace {

constexpr int kSide = 6;  // each sheet's formulas live in A1:F6

using Cell = std::tuple<int, int, int>;  // sheet, column, row

class Model {
public:
    // Whether a formula at cell reading these cells closes a cycle; records it when not.
    bool Type(const Cell& cell, const std::set<Cell>& reads) {
        m_reads.erase(cell);  // typing replaces the cell's formula
        std::set<Cell> seen;
        std::vector<Cell> todo(reads.begin(), reads.end());
        while (!todo.empty()) {
            Cell next = todo.back();
            todo.pop_back();
            if (next == cell) return true;
            if (!seen.insert(next).second) continue;
            auto it = m_reads.find(next);
            if (it != m_reads.end()) todo.insert(todo.end(), it->second.begin(), it->second.end());
        }
        m_reads[cell] = reads;
        return false;
    }
    void Clear(const Cell& cell) { m_reads.erase(cell); }

private:
    std::map<Cell, std::set<Cell>> m_reads;  // accepted formulas only: a circular one reads nothing
};

std::string Name(int column, int row) {
    return std::string(1, char('A' + column)) + std::to_string(row + 1);
}

// Types random formulas (cells, cells of the other sheet, small ranges) and constants into
// the sheets and compares each formula's fate with the model.
void TypeAtRandom(const std::vector<HostSheet*>& sheets, unsigned seed, int steps) {
    static const char* const kNames[] = {"ping", "pong"};
    std::mt19937 random(seed);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    Model model;
    int circularCount = 0;
    for (int step = 0; step < steps; ++step) {
        const int sheet = pick(int(sheets.size()));
        const Cell cell{sheet, pick(kSide), pick(kSide)};
        if (pick(8) == 0) {
            sheets[size_t(sheet)]->SetCellText(unsigned(std::get<1>(cell)),
                                               unsigned(std::get<2>(cell)), u"7");
            model.Clear(cell);
            continue;
        }
        std::string text = "=1";
        std::set<Cell> reads;
        for (int terms = 1 + pick(3); terms > 0; --terms) {
            const int other = sheets.size() > 1 && pick(4) == 0 ? 1 - sheet : sheet;
            const std::string prefix = other == sheet ? "" : std::string(kNames[other]) + "!";
            const int c = pick(kSide), r = pick(kSide);
            if (pick(5) == 0) {
                const int c2 = std::min(kSide - 1, c + pick(2)),
                          r2 = std::min(kSide - 1, r + pick(3));
                text += "+SUM(" + prefix + Name(c, r) + ":" + Name(c2, r2) + ")";
                for (int x = c; x <= c2; ++x)
                    for (int y = r; y <= r2; ++y)
                        reads.insert({other, x, y});
            } else {
                text += "+" + prefix + Name(c, r);
                reads.insert({other, c, r});
            }
        }
        HostSheet* target = sheets[size_t(sheet)];
        const auto [column, row] =
            std::pair(unsigned(std::get<1>(cell)), unsigned(std::get<2>(cell)));
        target->SetCellText(column, row, std::u16string(text.begin(), text.end()));
        const bool circular = model.Type(cell, reads);
        circularCount += circular;
        const CCCell* typed = target->FindCell(column, row);
        ASSERT_NE(typed, nullptr);
        ASSERT_EQ(typed->GetFormulaType(), circular ? CELL_CIRCULAR : CELL_FORMULA)
            << sheets.size() << " sheet(s), seed " << seed << ", step " << step << ": "
            << kNames[sheet] << "!" << Name(int(column), int(row)) << " " << text;
    }
    // Both answers must be common for the comparison to mean anything.
    EXPECT_GT(circularCount, steps / 10) << sheets.size() << " sheet(s), seed " << seed;
    EXPECT_LT(circularCount, steps * 9 / 10) << sheets.size() << " sheet(s), seed " << seed;
}

}  // namespace

TEST(Circularity, LoneAndWorkbookSheetsRefuseExactlyTheFormulasThatCloseACycle) {
    QXCellInit();
    for (unsigned seed = 1; seed <= 6; ++seed) {
        HostSheet sheet("", u"ping");
        TypeAtRandom({&sheet}, seed, 400);
        HostWorkbook book;
        TypeAtRandom({book.AddSheet(u"ping"), book.AddSheet(u"pong")}, seed, 400);
    }
}
