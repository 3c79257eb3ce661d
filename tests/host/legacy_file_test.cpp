// SPDX-License-Identifier: Apache-2.0
// Legacy exchange files: random sheets written and read back show the same texts and
// formulas; formulas the old records cannot carry are counted and keep their values; files
// that are damaged or of a newer version are refused.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "facade/book_layout.h"
#include "facade/legacy_file.h"
#include "ostrel/calc_book.h"
#include "ostrel/platform/utf.h"
#include "sheet_seen.h"

namespace {

using host_testing::Seen;
using ostrel::LegacySaveReport;
using ostrel::host::HostCell;
using ostrel::host::HostSheet;
using ostrel::host::HostWorkbook;

// Constants of every kind in A1:D12, formulas the old records carry in E1:F12 reading them.
std::unique_ptr<HostWorkbook> RandomSheet(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    auto number = [&] { return ostrel::FromUtf8(std::to_string(pick(20000) - 9000)); };
    auto small = [&](int n) { return ostrel::FromUtf8(std::to_string(1 + pick(n))); };
    auto cell = [&] { return ostrel::CellAddress(pick(4), pick(12)); };
    const std::function<std::u16string()> constants[] = {
        [&] { return number(); },
        [&] { return number() + u".25"; },
        [&] { return small(12) + u"/" + small(28) + u"/20" + small(50); },
        [&] { return number() + u"%"; },
        [&] { return u"$" + number() + u".5"; },
        [&] { return pick(2) ? u"TRUE" : u"false"; },
        [&] { return u"w\u00F6rd " + number(); },
        [&] { return u"9:" + small(50) + u" PM"; },
        [&] { return u"1 " + small(3) + u"/4"; },
    };
    const std::function<std::u16string()> formulas[] = {
        [&] { return u"=" + cell() + u"*" + small(9); },
        [&] { return u"=SUM(A" + small(6) + u":D" + small(12) + u")"; },
        [&] { return u"=$" + cell() + u"-" + cell(); },
        [&] { return u"=-" + cell(); },
        [&] { return u"=ROUND(" + cell() + u"," + small(3) + u")"; },
        [&] { return u"=MAX(A1:B" + small(12) + u")/" + small(4); },
    };
    auto book = std::make_unique<HostWorkbook>();
    HostSheet& sheet = *book->AddSheet(u"Data");
    for (int n = 10 + pick(30); n > 0; --n)
        sheet.SetCellText(unsigned(pick(4)), unsigned(pick(12)),
                          constants[pick(int(std::size(constants)))]());
    for (int n = 3 + pick(10); n > 0; --n)
        sheet.SetCellText(unsigned(4 + pick(2)), unsigned(pick(12)),
                          formulas[pick(int(std::size(formulas)))]());
    book->RecalculateAll();
    return book;
}

std::string Written(HostWorkbook& book, LegacySaveReport& report) {
    std::string bytes, error;
    EXPECT_TRUE(ostrel::host::WriteLegacy(book, bytes, report, error)) << error;
    return bytes;
}

std::string ReadError(const std::string& bytes) {
    std::string error;
    EXPECT_EQ(ostrel::host::ReadLegacy(bytes, "", error), nullptr);
    return error;
}

}  // namespace

TEST(LegacyFile, RandomSheetsComeBackAsTheyWere) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::unique_ptr<HostWorkbook> book = RandomSheet(seed);
        LegacySaveReport report;
        const std::string bytes = Written(*book, report);
        EXPECT_EQ(report.formulasAsValues, 0u);
        std::string error;
        std::unique_ptr<HostWorkbook> read = ostrel::host::ReadLegacy(bytes, "", error);
        ASSERT_TRUE(read) << error;
        EXPECT_EQ(Seen(*read->SheetAt(1), false), Seen(*book->SheetAt(1), false));
        // Written again, the same sheet gives the same bytes: nothing undefined goes out.
        LegacySaveReport again;
        EXPECT_TRUE(Written(*book, again) == bytes);
    }
}

TEST(LegacyFile, FormulasWithoutLegacyFormKeepTheirValuesAndAreCounted) {
    HostWorkbook book;
    HostSheet& sheet = *book.AddSheet(u"Sheet1");
    sheet.SetCellText(0u, 0u, u"4");
    sheet.SetCellText(1u, 0u, u"=A1*2");
    sheet.SetCellText(2u, 1u, u"=IF(A1>3,A1*3,0)");
    sheet.SetCellText(0u, 2u, u"=CHOOSE(2,A1,7)");
    sheet.SetCellText(1u, 2u, u"=A1*0.5");
    sheet.SetCellText(0u, 3u, std::u16string(300, u'x'));
    book.RecalculateAll();
    LegacySaveReport report;
    const std::string bytes = Written(book, report);
    EXPECT_EQ(report.formulasAsValues, 3u);
    EXPECT_EQ(report.firstFormula, u"C2");
    EXPECT_EQ(report.textsCut, 1u);
    EXPECT_EQ(report.firstText, u"A4");
    std::string error;
    std::unique_ptr<HostWorkbook> read = ostrel::host::ReadLegacy(bytes, "", error);
    ASSERT_TRUE(read) << error;
    HostSheet& back = *read->SheetAt(1);
    EXPECT_EQ(back.GetCellFormula(1u, 0u), sheet.GetCellFormula(1u, 0u));
    EXPECT_EQ(back.GetCellValueText(2u, 1u), u"12");
    EXPECT_FALSE(back.FindCell(2u, 1u)->IsFormulaLink());
    EXPECT_EQ(back.GetCellValueText(0u, 2u), u"7");
    EXPECT_EQ(back.GetCellValueText(1u, 2u), u"2");
    EXPECT_EQ(back.GetCellValueText(0u, 3u), std::u16string(254, u'x'));

    // A cell past the old program's last row is refused, naming it, rather than moved.
    sheet.SetCellText(0u, 39999u, u"1");
    std::string ignored, error2;
    EXPECT_FALSE(ostrel::host::WriteLegacy(book, ignored, report, error2));
    EXPECT_NE(error2.find("A40000"), std::string::npos);
}

TEST(LegacyFile, DamagedOrNewerFilesAreRefused) {
    std::unique_ptr<HostWorkbook> book = RandomSheet(7);
    LegacySaveReport report;
    const std::string bytes = Written(*book, report);
    ASSERT_TRUE(ostrel::host::HasLegacyMagic(bytes));
    for (size_t cut = 0; cut < bytes.size(); cut += 13)
        EXPECT_FALSE(ReadError(bytes.substr(0, cut)).empty());
    std::string flipped = bytes;
    flipped[bytes.size() / 2] = char(flipped[bytes.size() / 2] ^ 0x40);
    EXPECT_NE(ReadError(flipped).find("damaged"), std::string::npos);

    auto resealed = [](std::string changed) {
        const uint32_t sum =
            ostrel::host::BookChecksum(std::string_view(changed).substr(0, changed.size() - 4));
        for (int i = 0; i < 4; ++i)
            changed[changed.size() - 4 + size_t(i)] = char(uint8_t(sum >> (8 * i)));
        return changed;
    };
    std::string newer = bytes;
    newer[8] = 2;
    EXPECT_NE(ReadError(resealed(newer)).find("format 2"), std::string::npos);
    // A cell count larger than the cells the file holds.
    const size_t count = 8 + 2 + 1 + 4;  // magic, version, "Data", then the count
    std::string more = bytes;
    more[count] = char(uint8_t(more[count]) + 1);
    EXPECT_NE(ReadError(resealed(more)).find("damaged"), std::string::npos);
}
