// SPDX-License-Identifier: Apache-2.0
// Workbook files: random workbooks saved, loaded and saved again; the files kept from every
// format version; and files that are cut short, lie about their lengths, repeat a sheet or
// come from a newer version, all refused before any workbook holds anything of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "facade/book_file.h"
#include "facade/book_layout.h"
#include "formats/lt_strings.h"
#include "ostrel/calc_book.h"
#include "ostrel/platform/utf.h"
#include "sheet_seen.h"

namespace {

using host_testing::Seen;
namespace fs = std::filesystem;
using ostrel::host::HostCell;
using ostrel::host::HostSheet;
using ostrel::host::HostWorkbook;

// A workbook of every kind of content: typed numbers, dates, times, percents, currencies,
// fractions, booleans, texts (one now and then longer than a command holds), errors,
// formulas reading cells and ranges of every sheet, custom formats, protection flags, unit
// texts, protected sheets and host data.
std::unique_ptr<HostWorkbook> RandomBook(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const char16_t* names[] = {u"Alpha", u"Beta_2", u"Gamma"};
    const char16_t* codes[] = {u"#,##0.00;[Red](#,##0.00)", u"0.0%", u"yyyy-mm-dd", u"# ?/?",
                               u"0.00E+00"};
    const int kg = DoGetLTStringIndex(u"kg"), eur = DoGetLTStringIndex(u"EUR ");
    auto book = std::make_unique<HostWorkbook>();
    const int sheets = 1 + pick(3);
    for (int s = 0; s < sheets; ++s)
        book->AddSheet(names[s])->SetHostData(std::string(size_t(pick(5)), char('a' + s)));
    auto address = [&] {
        std::u16string text = ostrel::CellAddress(pick(5), pick(12));
        return pick(3) == 0 ? std::u16string(names[pick(sheets)]) + u"!" + text : text;
    };
    auto number = [&] { return ostrel::FromUtf8(std::to_string(pick(20000) - 9000)); };
    auto small = [&](int n) { return ostrel::FromUtf8(std::to_string(1 + pick(n))); };
    const std::function<std::u16string()> typings[] = {
        [&] { return number() + u".25"; },
        [&] { return small(12) + u"/" + small(28) + u"/20" + small(50); },
        [&] { return number() + u"%"; },
        [&] { return u"$" + number() + u".5"; },
        [&] { return pick(2) ? u"TRUE" : u"false"; },
        [&] { return pick(9) ? u"w\u00F6rd " + number() : std::u16string(40000, u'x'); },
        // A plain reference shows what it reads through that cell's format.
        [&] { return u"=" + address() + (pick(2) ? u"*2" : u""); },
        [&] { return u"=SUM(A" + small(6) + u":D" + small(12) + u")"; },
        [&] { return u"=IF(" + address() + u">0,\"up\",1/0)"; },
        [&] { return u"9:" + small(50) + u" PM"; },
        [&] { return u"1 " + small(3) + u"/4"; },
    };
    for (int s = 1; s <= sheets; ++s) {
        HostSheet& sheet = *book->SheetAt(size_t(s));
        for (int n = 10 + pick(30); n > 0; --n) {
            const unsigned column = unsigned(pick(5)), row = unsigned(pick(12));
            const int kind = pick(int(std::size(typings)) + 1);
            if (kind < int(std::size(typings))) {
                sheet.SetCellText(column, row, typings[kind]());
            } else {
                CCNumberFormat unit(C_NF_NUMBER);
                unit.SetLTString(pick(2) ? kg : eur, 1 + pick(2));
                CCCellValue value;
                value.Set(double(pick(500)), unit);
                sheet.GetCell(column, row).SetValue(sheet.GetCTX(), value);
            }
            CCCellFormat format;
            if (pick(5) == 0) {
                CCNumberFormat custom;
                custom.setCustomFormat(codes[pick(5)]);
                format.SetNumberFormat(custom);
            }
            if (pick(6) == 0) format.SetHide(1);
            if (pick(6) == 0) format.SetLock(0);
            if (pick(8) == 0) format.SetHideZero(1);
            if (!format.IsEmpty()) sheet.GetCell(column, row).SetFormat(sheet.GetCTX(), format);
        }
        if (pick(3) == 0) sheet.Protect(u"pw" + std::u16string(size_t(s), u'!'));
    }
    book->RecalculateAll();
    return book;
}

// The file with its checksum made right again after a change, so that what is tested is
// the part changed, not the checksum.
std::string Resealed(std::string bytes) {
    const uint32_t sum =
        ostrel::host::BookChecksum(std::string_view(bytes).substr(0, bytes.size() - 4));
    for (int i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + size_t(i)] = char(uint8_t(sum >> (8 * i)));
    return bytes;
}

std::string LoadError(const std::string& bytes) {
    std::string error;
    EXPECT_EQ(ostrel::CalcBook::LoadBookBytes(bytes, "", &error), nullptr);
    return error;
}

std::string Saved(const char* csv) {
    std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
    ostrel::CalcSheet* first = book->AddSheet(u"First");
    ostrel::CalcSheet* second = book->AddSheet(u"Other");
    std::istringstream lines(csv);
    int row = 0;
    for (std::string line; std::getline(lines, line); ++row) {
        first->SetCellText(0, row, line);
        second->SetCellText(0, row, "=First!A" + std::to_string(row + 1) + "&\"!\"");
    }
    std::string bytes;
    EXPECT_TRUE(book->SaveBookBytes(bytes));
    return bytes;
}

}  // namespace

TEST(BookFile, ChecksumIsZlibsCrc32) {
    EXPECT_EQ(ostrel::host::BookChecksum("123456789"), 0xCBF43926u);
    EXPECT_EQ(ostrel::host::BookChecksum("The quick brown fox jumps over the lazy dog"),
              0x414FA339u);
    EXPECT_EQ(ostrel::host::BookChecksum(""), 0u);
}

TEST(BookFile, RandomWorkbooksReadBackAsTheyWereAndWriteTheSameBytes) {
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(seed);
        std::unique_ptr<HostWorkbook> book = RandomBook(seed);
        std::string first, second, error;
        ASSERT_TRUE(ostrel::host::WriteBook(*book, first, error)) << error;
        std::unique_ptr<HostWorkbook> loaded = ostrel::host::ReadBook(first, "", error);
        ASSERT_TRUE(loaded) << error;
        loaded->RecalculateAll();
        ASSERT_EQ(loaded->SheetCount(), book->SheetCount());
        for (size_t s = 1; s <= book->SheetCount(); ++s) {
            HostSheet& a = *book->SheetAt(s);
            HostSheet& b = *loaded->SheetAt(s);
            std::u16string nameA, nameB;
            a.GetSheetName(nameA);
            b.GetSheetName(nameB);
            EXPECT_EQ(nameB, nameA);
            EXPECT_EQ(b.GetHostData(), a.GetHostData());
            EXPECT_EQ(b.IsProtected(), a.IsProtected());
            EXPECT_EQ(b.GetPassword(), a.GetPassword());
            EXPECT_EQ(Seen(b, true), Seen(a, true));
        }
        ASSERT_TRUE(ostrel::host::WriteBook(*loaded, second, error)) << error;
        EXPECT_EQ(second, first);
    }
}

TEST(BookFile, UnitTextsTravelWithTheFileLeadingAndTrailing) {
    // Another process numbers its unit texts its own way: the file must carry each text.
    HostWorkbook book;
    HostSheet& sheet = *book.AddSheet(u"Units");
    for (int mode : {1, 2}) {
        CCNumberFormat unit(C_NF_NUMBER);
        unit.SetLTString(DoGetLTStringIndex(mode == 1 ? u"lead-unit" : u"trail-unit"), mode);
        CCCellValue value;
        value.Set(5.0, unit);
        sheet.GetCell(0, unsigned(mode)).SetValue(sheet.GetCTX(), value);
    }
    std::string bytes, error;
    ASSERT_TRUE(ostrel::host::WriteBook(book, bytes, error)) << error;
    for (std::u16string text : {u"lead-unit", u"trail-unit"}) {
        std::string utf16;
        for (char16_t c : text)
            utf16 += {char(c), '\0'};
        EXPECT_NE(bytes.find(utf16), std::string::npos) << ostrel::ToUtf8(text);
    }
}

TEST(BookFile, TextsAndFormulasLongerThanACommandGoInPieces) {
    HostWorkbook book;
    HostSheet& sheet = *book.AddSheet(u"Long");
    std::u16string sum = u"=1";
    for (int i = 0; i < 20000; ++i)
        sum += u"+1";
    sheet.SetCellText(0u, 0u, std::u16string(100000, u'y') + u"\U0001F600");
    sheet.SetCellText(1u, 0u, sum);
    std::string bytes, error;
    ASSERT_TRUE(ostrel::host::WriteBook(book, bytes, error)) << error;
    std::unique_ptr<HostWorkbook> loaded = ostrel::host::ReadBook(bytes, "", error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(loaded->SheetAt(1)->GetCellValueText(0u, 0u), sheet.GetCellValueText(0u, 0u));
    EXPECT_EQ(loaded->SheetAt(1)->GetCellValueText(1u, 0u), u"20001");
    EXPECT_EQ(loaded->SheetAt(1)->GetCellFormula(1u, 0u), sheet.GetCellFormula(1u, 0u));
}

TEST(BookFile, FormulasReadTheSameInEveryLocaleAndOnlyVolatileOnesStart) {
    std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("de_DE");
    ostrel::CalcSheet* sheet = book->AddSheet(u"Data");
    sheet->SetCellText(0, 0, "1,5");
    sheet->SetCellText(1, 0, "=SUM(A1;2,5)*2");
    sheet->SetCellText(0, 1, "=RAND()");
    sheet->SetCellText(1, 1, "=A2+100");
    book->RecalculateAll();
    std::string bytes;
    ASSERT_TRUE(book->SaveBookBytes(bytes));
    std::unique_ptr<ostrel::CalcBook> plain = ostrel::CalcBook::LoadBookBytes(bytes, "C");
    ASSERT_TRUE(plain);
    plain->RecalculateAll();
    ostrel::CalcSheet* loaded = plain->Sheet(0);
    EXPECT_EQ(loaded->GetCellValueText(1, 0), u"8");
    EXPECT_EQ(loaded->GetCellFormula(1, 0).find(u"1.5"), std::u16string::npos);
    EXPECT_NE(loaded->GetCellFormula(1, 0).find(u"2.5"), std::u16string::npos);
    // A random number is drawn again, and what reads it follows.
    EXPECT_NE(loaded->GetCellValue(0, 1).number, sheet->GetCellValue(0, 1).number);
    EXPECT_DOUBLE_EQ(loaded->GetCellValue(1, 1).number, loaded->GetCellValue(0, 1).number + 100);
}

TEST(BookFile, EveryFormatVersionKeepsLoadingAndFormatTwoKeepsTheProperties) {
    const char* root = std::getenv("OSTREL_TEST_DATA");
    ASSERT_NE(root, nullptr);
    for (const char* name : {"format-1.ocb", "format-2.ocb"}) {
        const fs::path file = fs::path(root) / "books" / name;
        std::string error;
        std::unique_ptr<ostrel::CalcBook> book =
            ostrel::CalcBook::LoadBook(file.string(), "", &error);
        ASSERT_TRUE(book) << name << ": " << error;
        ASSERT_EQ(book->SheetCount(), 2u);
        const bool withProperties = name == std::string("format-2.ocb");
        if (withProperties) {
            EXPECT_EQ(book->GetProperty(u"title"), u"Orders of March");
            EXPECT_EQ(book->GetProperty(u"saved"), u"2026-03-14T09:26:53");
        }
        book->RecalculateAll();
        // What the files were made from (tests/data/books/README.md): 2 and 21 on Prices,
        // and on Orders a product of them and a sum shown through a custom format.
        ostrel::CalcSheet* orders = book->Sheet(1);
        EXPECT_EQ(orders->GetCellValueText(0, 0), u"42");
        EXPECT_EQ(orders->GetCellValueText(1, 0), u"1,234.50");
        EXPECT_EQ(orders->GetCellValueText(0, 1), u"text, with a comma");
        EXPECT_EQ(orders->GetHostData(), "kept");
        if (withProperties) {
            EXPECT_EQ(orders->GetCellValueText(1, 1), u"Orders of March");
        }
    }
}

TEST(BookFile, FilesThatCannotBeReadWholeAreRefused) {
    const std::string good = Saved("1\n=A1+1\nthree\n");
    ASSERT_TRUE(ostrel::CalcBook::LoadBookBytes(good, ""));
    // Where the parts of this file are: a 12-byte header, then per sheet a u16 name length,
    // the five-letter name, the manager's nine-byte block and no host data (29 bytes), then
    // the cells' u32 length.
    const size_t firstBlock = 12 + 2 + 10 + 4, cellsLength = 12 + 2 * 29;
    const std::string early = "the file ends early: it is cut short or damaged";
    EXPECT_EQ(LoadError("1,2,3\n"), "not a workbook file");
    for (size_t length : {size_t(9), size_t(13), size_t(40), good.size() / 2, good.size() - 1})
        EXPECT_EQ(LoadError(good.substr(0, length)), early) << length;
    EXPECT_EQ(LoadError(good + "x"), "the file goes on past its end");
    std::string flipped = good;
    flipped[good.size() / 2] ^= 1;
    EXPECT_EQ(LoadError(flipped), "the file is damaged: its checksum does not match its contents");

    // Lengths beyond the file, with a right checksum: the sheet count, a name, the cells.
    std::string sheets = good, name = good, cells = good;
    sheets[10] = char(200);
    name[12] = name[13] = char(0xFF);
    cells[cellsLength + 3] = char(0x7F);
    for (const std::string& lying : {sheets, name, cells})
        EXPECT_EQ(LoadError(Resealed(lying)), early);

    // Two sheets of one name, ignoring case; a newer format; damaged cells and blocks.
    std::string twice = good;
    const size_t other = twice.find(std::string("O\0t\0h\0e\0r\0", 10));
    ASSERT_NE(other, std::string::npos);
    twice.replace(other, 10, std::string("f\0I\0r\0s\0T\0", 10));
    EXPECT_EQ(LoadError(Resealed(twice)), "the file names two sheets 'First' and 'fIrsT'");
    std::string newer = good;
    newer[8] = 3;
    EXPECT_EQ(LoadError(Resealed(newer)),
              "the file is in workbook format 3, which this version cannot read (it reads "
              "format 2 and older)");
    std::string badCell = good;
    ASSERT_EQ(badCell[cellsLength + 4 + 5], 22);  // the first cell's position command
    badCell[cellsLength + 4 + 5] = 99;
    EXPECT_EQ(LoadError(Resealed(badCell)), "the file's cells are damaged in sheet 'First'");
    std::string badBlock = good;
    badBlock[firstBlock + 8] = 2;
    EXPECT_EQ(LoadError(Resealed(badBlock)),
              "the protection and document data of sheet 'First' are damaged");

    // A property no version knows, or a value not of its kind, is refused with the file.
    std::unique_ptr<ostrel::CalcBook> titled = ostrel::MakeCalcBook("");
    titled->AddSheet(u"S");
    ASSERT_TRUE(titled->SetProperty(u"pages", u"12"));
    std::string withPages;
    ASSERT_TRUE(titled->SaveBookBytes(withPages));
    const size_t key = withPages.find(std::string("p\0a\0g\0e\0s\0", 10));
    ASSERT_NE(key, std::string::npos);
    std::string unknown = withPages, notCount = withPages;
    unknown.replace(key, 10, std::string("c\0o\0l\0o\0r\0", 10));
    EXPECT_EQ(LoadError(Resealed(unknown)), "the document property 'color' is damaged");
    notCount[key + 10 + 4] = 'x';  // the value's first unit
    EXPECT_EQ(LoadError(Resealed(notCount)), "the document property 'pages' is damaged");
}

TEST(BookFile, SavingReplacesTheFileWholeOrLeavesItAsItWas) {
    const fs::path dir = fs::temp_directory_path() / ("ostrel-books-" + std::to_string(::getpid()));
    fs::create_directories(dir / "sub");
    const std::string path = (dir / "book.ocb").string();
    std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
    book->AddSheet(u"Sheet1")->SetCellText(0, 0, "old");
    std::string error;
    ASSERT_TRUE(book->SaveBook(path, &error)) << error;
    book->Sheet(0)->SetCellText(0, 0, "new");
    // A folder stands where the file would go: nothing changes, nothing is left behind.
    EXPECT_FALSE(book->SaveBook((dir / "sub").string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(book->SaveBook((dir / "missing" / "book.ocb").string(), &error));
    ASSERT_TRUE(book->SaveBook(path, &error)) << error;
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"book.ocb", "sub"}));
    std::unique_ptr<ostrel::CalcBook> loaded = ostrel::CalcBook::LoadBook(path, "", &error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(loaded->Sheet(0)->GetCellValueText(0, 0), u"new");
    EXPECT_FALSE(ostrel::CalcBook::LoadBook((dir / "sub").string(), "", &error));
    EXPECT_EQ(error, "Is a directory");
    fs::remove_all(dir);
}
