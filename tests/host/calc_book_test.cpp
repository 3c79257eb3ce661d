// SPDX-License-Identifier: Apache-2.0
// The application facade as an application uses it: typed values out, the used area saved as
// CSV, addresses, and a recalculation stopped on request that the next one finishes.
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ostrel/calc_book.h"
#include "ostrel/platform/utf.h"
#include "support/memory_limit.h"

namespace {

using Kind = ostrel::CellValue::Kind;

TEST(CalcBook, ReadsTypedValuesAcrossSheetsRangesAndEmptyCells) {
    std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
    ASSERT_TRUE(book);
    ostrel::CalcSheet* prices = book->AddSheet(u"Prices");
    ostrel::CalcSheet* sheet = book->AddSheet(u"Sheet1");
    ASSERT_TRUE(prices && sheet);
    prices->SetCellText(1, 1, "2.5");  // Prices!B2
    sheet->SetCellText(0, 0, "4");
    sheet->SetCellText(0, 2, "6");  // A2 stays empty
    sheet->SetCellText(1, 0, "=SUM(A1:A3)*Prices!B2");
    sheet->SetCellText(1, 1, "=A2");
    sheet->SetCellText(1, 2, "=A1>3");
    sheet->SetCellText(1, 3, "=1/0");
    sheet->SetCellText(1, 4, "h\xC3\xA9llo");  // UTF-8 in, UTF-16 out
    EXPECT_TRUE(book->RecalculateAll());

    ostrel::CellValue total = sheet->GetCellValue(1, 0);
    EXPECT_EQ(total.kind, Kind::number);
    EXPECT_DOUBLE_EQ(total.number, 25);
    EXPECT_EQ(sheet->GetCellValue(1, 1).kind, Kind::empty);  // =A2 of an empty A2
    EXPECT_EQ(sheet->GetCellValue(1, 2).kind, Kind::boolean);
    EXPECT_EQ(sheet->GetCellValue(1, 2).number, 1);
    EXPECT_EQ(sheet->GetCellValue(1, 3).kind, Kind::error);
    EXPECT_NE(sheet->GetCellValue(1, 3).error, 0);
    EXPECT_EQ(sheet->GetCellValue(1, 4).kind, Kind::text);
    EXPECT_EQ(sheet->GetCellValue(1, 4).text, u"h\u00E9llo");
    EXPECT_EQ(sheet->GetCellValue(0, 1).kind, Kind::empty);
    EXPECT_EQ(sheet->GetCellValue(-1, 0).kind, Kind::empty);
    EXPECT_EQ(sheet->GetCellFormula(1, 0), u"= SUM (A1:A3) * Prices ! B2");
    // A buffer read into again holds the new text alone, and nothing off the grid.
    std::u16string reused = u"a longer text left from before";
    sheet->ReadCellValueText(1, 2, reused);
    EXPECT_EQ(reused, u"TRUE");
    sheet->ReadCellValueText(-1, 0, reused);
    EXPECT_EQ(reused, u"");

    int columns = 0, rows = 0;
    sheet->GetUsedSize(columns, rows);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(rows, 5);
    std::ostringstream csv;
    ASSERT_TRUE(sheet->SaveCsv(csv));
    EXPECT_EQ(csv.str(), "4,25\n,\n6,TRUE\n," + ostrel::ToUtf8(sheet->GetCellValueText(1, 3)) +
                             "\n,h\xC3\xA9llo\n");

    // The ASCII road gives whole numbers in the general format, as the wide one shows them,
    // and leaves every other cell to it.
    sheet->SetCellText(2, 0, "-7");
    sheet->SetCellText(2, 1, "2.5");
    sheet->SetCellText(2, 2, "=A1*1000000000000");
    sheet->SetCellText(2, 3, "12");
    ASSERT_TRUE(sheet->SetCustomFormat(2, 3, u"0.00"));
    EXPECT_TRUE(book->RecalculateAll());
    std::string ascii = "left from before";
    for (int column = -1; column <= 3; ++column) {
        for (int row = 0; row <= 5; ++row) {
            const bool whole = (column == 0 && row != 1 && row <= 2) || (column == 1 && row == 0) ||
                               (column == 2 && row == 0) || (column == 2 && row == 2);
            const std::string before = ascii;
            ASSERT_EQ(sheet->ReadCellValueAscii(column, row, ascii), whole) << column << row;
            if (whole)
                EXPECT_EQ(ascii, ostrel::ToUtf8(sheet->GetCellValueText(column, row)));
            else
                EXPECT_EQ(ascii, before);
        }
    }
    EXPECT_EQ(sheet->GetCellValueText(2, 3), u"12.00");
}

TEST(CalcBook, StopsWhenCancelledAndTheNextCallFinishes) {
    std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
    ASSERT_TRUE(book);
    ostrel::CalcSheet* sheet = book->AddSheet(u"chain");
    constexpr int kRows = 2000;
    sheet->SetCellText(0, 0, "1");
    for (int row = 1; row < kRows; ++row)
        sheet->SetCellText(0, row, "=A" + std::to_string(row) + "+1");
    ASSERT_TRUE(book->RecalculateAll());
    ASSERT_EQ(sheet->GetCellValue(0, kRows - 1).number, kRows);

    sheet->SetCellText(0, 0, "1001");
    int asked = 0;
    EXPECT_FALSE(book->RecalculateAll({}, [&] { return ++asked == 1; }));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(sheet->GetCellValue(0, kRows - 1).number, kRows);  // not reached yet

    double last = 0;
    EXPECT_TRUE(book->RecalculateAll([&](double done) { last = done; }, [] { return false; }));
    EXPECT_EQ(last, 1.0);
    for (int row : {1, kRows / 2, kRows - 1})
        EXPECT_EQ(sheet->GetCellValue(0, row).number, 1001 + row) << row;
}

// The engine's tables and pools are shared; the facade's lock keeps workbooks on different
// threads from meeting inside them.
TEST(CalcBook, WorkbooksOnSeveralThreadsAtOnce) {
    auto work = [](int seed, bool& right) {
        right = true;
        for (int round = 0; round < 3; ++round) {
            std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
            ostrel::CalcSheet* sheet =
                book ? book->AddSheet(u"S" + std::u16string(1, u'A' + seed)) : nullptr;
            if (!sheet) {
                right = false;
                return;
            }
            for (int row = 0; row < 300; ++row) {
                const std::string r = std::to_string(row + 1);
                sheet->SetCellText(0, row, std::to_string(seed + row));
                sheet->SetCellText(1, row, "=SUM(A$1:A" + r + ")");
                sheet->SetCellText(2, row, "=LEN(\"x" + r + "\")");
            }
            book->RecalculateAll();
            const int n = 300;
            const long sum = long(seed) * n + long(n) * (n - 1) / 2;
            right = right && sheet->GetCellValue(1, n - 1).number == double(sum) &&
                    sheet->GetCellValue(2, n - 1).number == 4;
        }
    };
    std::vector<std::thread> threads;
    bool right[3] = {false, false, false};
    for (int i = 0; i < 3; ++i)
        threads.emplace_back(work, i * 1000, std::ref(right[i]));
    for (std::thread& t : threads)
        t.join();
    for (bool r : right)
        EXPECT_TRUE(r);
}

TEST(CalcBook, AddressesReadAndWriteAsFormulasDo) {
    EXPECT_EQ(ostrel::CellAddress(1, 6), u"B7");
    EXPECT_EQ(ostrel::CellAddress(255, 65535), u"IV65536");
    EXPECT_EQ(ostrel::CellAddress(256, 0), u"");
    int column = -1, row = -1;
    EXPECT_TRUE(ostrel::ParseCellAddress(u"$iv$65536", column, row));
    EXPECT_EQ(column, 255);
    EXPECT_EQ(row, 65535);
    for (const char16_t* bad : {u"", u"B", u"7", u"B0", u"IW1", u"B65537", u"B7 ", u"AAAA1"})
        EXPECT_FALSE(ostrel::ParseCellAddress(bad, column, row)) << ostrel::ToUtf8(bad);
}

}  // namespace

// A workbook is often let go because memory ran out; its teardown must then need none, since
// a destructor cannot pass std::bad_alloc on (the process would end).
TEST(CalcBook, GoesWithoutMemoryToSpare) {
    if (!testing_support::MemoryLimitFailsAllocations())
        GTEST_SKIP() << "the sanitizer's allocator cannot be made to fail here";
    const auto run = testing_support::RunWithMemoryLimit(size_t(64) << 20, [] {
        std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
        ostrel::CalcSheet* sheet = book->AddSheet(u"Sheet1");
        for (int row = 0; row < 20000; ++row) {
            sheet->SetCellText(0, row, std::to_string(row));
            sheet->SetCellText(1, row, "=A" + std::to_string(row + 1) + "*2");
        }
        std::vector<std::unique_ptr<char[]>> hoard;
        for (size_t size = size_t(1) << 20; size >= 16;) {
            try {
                hoard.push_back(std::make_unique<char[]>(size));
            } catch (const std::bad_alloc&) {
                size /= 2;
            }
        }
        book.reset();
    });
    EXPECT_TRUE(run.finished) << run.outcome;
}
