// SPDX-License-Identifier: Apache-2.0
// Workbooks that read each other through the documents a host added: values, ranges and
// other sheets of another workbook, recalculation when they change there, the refusal of a
// name nobody added, the bound on requests that ask back, and the document properties the
// document functions read.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "facade/document_hub.h"
#include "ostrel/calc_book.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/file.h"
#include "ostrel/refs/remote_ref.h"
#include "ostrel/remote/transport_interface.h"
#include "platform/names.h"

namespace {

using ostrel::CalcBook;
using ostrel::CalcSheet;
using Kind = ostrel::CellValue::Kind;

constexpr int kRefError = 1;
constexpr int kNotAvailable = 9;

struct TwoBooks {
    TwoBooks() {
        reader = ostrel::MakeCalcBook("");
        data = ostrel::MakeCalcBook("");
        sheet = reader->AddSheet(u"Report");
        prices = data->AddSheet(u"Prices");
        extra = data->AddSheet(u"Extra");
        for (int row = 0; row < 9; ++row)
            prices->SetCellText(0, row, std::to_string(row + 1));  // 1..9, summing to 45
        extra->SetCellText(1, 0, "10");
        data->RecalculateAll();
    }
    std::unique_ptr<CalcBook> reader, data;
    CalcSheet *sheet, *prices, *extra;
};

}  // namespace

TEST(Documents, AWorkbookReadsAnotherAndFollowsItsChanges) {
    TwoBooks t;
    ASSERT_TRUE(t.reader->AddDocument(u"data", *t.data));
    EXPECT_EQ(t.reader->DocumentName(), u"Book");
    EXPECT_EQ(t.data->DocumentName(), u"data");
    t.sheet->SetCellText(0, 0, "=REMOTE(\"data\",\"A2\")");
    t.sheet->SetCellText(0, 1, "=SUM(REMOTE(\"DATA\",\"A1:A9\"))");
    t.sheet->SetCellText(0, 2, "=SSGET(\"data\",\"Extra!B1\")*2");
    t.sheet->SetCellText(0, 3, "=COUNT(SSGET(\"data\",\"Prices!A1:A9\"))");
    t.reader->RecalculateAll();
    EXPECT_EQ(t.sheet->GetCellValue(0, 0).number, 2);
    EXPECT_EQ(t.sheet->GetCellValue(0, 1).number, 45);
    EXPECT_EQ(t.sheet->GetCellValue(0, 2).number, 20);
    EXPECT_EQ(t.sheet->GetCellValue(0, 3).number, 9);

    // A change there reaches the formulas here once both are recalculated; cells nobody
    // reads stay as they were.
    t.prices->SetCellText(0, 1, "100");
    t.extra->SetCellText(1, 0, "-1");
    t.data->RecalculateAll();
    t.reader->RecalculateAll();
    EXPECT_EQ(t.sheet->GetCellValue(0, 0).number, 100);
    EXPECT_EQ(t.sheet->GetCellValue(0, 1).number, 45 - 2 + 100);
    EXPECT_EQ(t.sheet->GetCellValue(0, 2).number, -2);

    // The other workbook reads this one back by its name.
    t.extra->SetCellText(2, 0, "=REMOTE(\"Book\",\"Report!A1\")+1");
    t.data->RecalculateAll();
    EXPECT_EQ(t.extra->GetCellValue(2, 0).number, 101);

    // A workbook file keeps the values read then; loaded beside other documents, the
    // formulas read what those hold now, not what the file remembers.
    std::string bytes;
    ASSERT_TRUE(t.reader->SaveBookBytes(bytes));
    auto loaded = CalcBook::LoadBookBytes(bytes, "");
    ASSERT_TRUE(loaded);
    TwoBooks now;
    now.prices->SetCellText(0, 1, "7");
    now.data->RecalculateAll();
    ASSERT_TRUE(loaded->AddDocument(u"data", *now.data));
    loaded->RecalculateAll();
    CalcSheet* report = loaded->Sheet(0);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->GetCellValue(0, 0).number, 7);
    EXPECT_EQ(report->GetCellValue(0, 1).number, 45 - 2 + 7);
}

TEST(Documents, OnlyDocumentsAHostAddedAreReached) {
    TwoBooks t;
    t.sheet->SetCellText(0, 0, "=REMOTE(\"data\",\"A1\")");  // not added yet
    t.reader->RecalculateAll();
    EXPECT_EQ(t.sheet->GetCellValue(0, 0).error, kRefError);
    ASSERT_TRUE(t.reader->AddDocument(u"data", *t.data));
    EXPECT_FALSE(t.reader->AddDocument(u"Data", *t.data));  // a name taken
    EXPECT_FALSE(t.reader->AddDocument(u"other", *t.reader));
    t.sheet->SetCellText(0, 1, "=REMOTE(\"nobody\",\"A1\")");
    t.sheet->SetCellText(0, 2, "=REMOTE(\"/etc/passwd\",\"A1\")");
    t.sheet->SetCellText(0, 3, "=REMOTE(\"?Report\",\"A1\")");
    t.sheet->SetCellText(0, 4, "=REMOTE(\"data\",\"Nowhere!A1\")");
    t.sheet->SetCellText(0, 5, "=WPGET(\"letter\",\"field1\")");
    t.reader->RecalculateAll();
    EXPECT_EQ(t.sheet->GetCellValue(0, 1).error, kRefError);
    EXPECT_EQ(t.sheet->GetCellValue(0, 2).error, kRefError);
    EXPECT_EQ(t.sheet->GetCellValue(0, 3).kind, Kind::error);
    EXPECT_EQ(t.sheet->GetCellValue(0, 4).error, kRefError);
    EXPECT_EQ(t.sheet->GetCellValue(0, 5).error, kNotAvailable);

    // A document that goes leaves the set: what reads it then finds nothing.
    t.data.reset();
    t.sheet->SetCellText(1, 0, "=REMOTE(\"data\",\"A1\")");
    t.reader->RecalculateAll();
    EXPECT_EQ(t.sheet->GetCellValue(1, 0).error, kRefError);
}

TEST(Documents, WorkbooksReadingEachOtherStopAtTheDepthLimit) {
    TwoBooks t;
    ASSERT_TRUE(t.reader->AddDocument(u"data", *t.data));
    // Each reads the other: every change asks the other to recalculate, which asks back.
    t.sheet->SetCellText(0, 0, "=REMOTE(\"data\",\"Extra!A1\")+1");
    t.extra->SetCellText(0, 0, "=REMOTE(\"Book\",\"Report!A1\")+1");
    t.data->RecalculateAll();
    t.reader->RecalculateAll();
    t.sheet->SetCellText(0, 1, "=A1");
    t.extra->SetCellText(1, 0, "5");
    t.data->RecalculateAll();
    t.reader->RecalculateAll();
    EXPECT_EQ(t.sheet->GetCellValue(0, 0).kind, Kind::number);
    EXPECT_EQ(t.sheet->GetCellValue(0, 1).number, t.sheet->GetCellValue(0, 0).number);
}

namespace {

// A document of the host's own that serves requests without cells of its own.
struct Server : CCTransportInterface {
    cells::CTX* GetCTX() override { return nullptr; }
    cells::CTX* GetCTX() const override { return nullptr; }
};

// Serves every request by sending it on to itself through the set of documents, as a
// document whose answers need the asker's, which needs its own, and so on.
struct Echo : Server {
    ostrel::host::DocumentHub* hub = nullptr;
    int deepest = 0;
    int OnTransport(CFile* file) override {
        deepest = std::max(deepest, hub->Depth());
        CCRemoteRef again(u"echo", u"A1");
        return hub->Carry(&again, file);
    }
};

}  // namespace

TEST(Documents, RequestsThatAskBackEndAtTheDepthLimit) {
    ostrel::host::DocumentHub hub;
    Echo echo;
    echo.hub = &hub;
    ASSERT_TRUE(hub.Add(u"echo", &echo));
    EXPECT_FALSE(hub.Add(u"ECHO", &echo));
    CMemFile file;
    CCRemoteRef ref(u"echo", u"A1");
    EXPECT_EQ(hub.Carry(&ref, &file), 0);
    EXPECT_EQ(echo.deepest, ostrel::host::DocumentHub::kMaxDepth);
    EXPECT_EQ(hub.Depth(), 0);
}

// A formula that stops reading another document unregisters there, though the request
// travels with the reference of its own cell. A document that does not answer is an error
// of the formula, not a value.
TEST(Documents, AFormulaThatStopsReadingADocumentLeavesItsDependents) {
    struct Counting : Server {
        int registered = 0;
        int OnRemoteGetValue(const CCRemoteRef*, CCCellValue* value, unsigned long) override {
            if (value) value->Set(7.0);
            return 1;
        }
        int OnRemoteRegisterDependent(const CCRemoteRef*, const CCRemoteRef*) override {
            return ++registered, 1;
        }
        int OnRemoteUnRegisterDependent(const CCRemoteRef*, const CCRemoteRef*) override {
            return --registered, 1;
        }
    } counting;
    struct Refuse : Server {
        int OnTransport(CFile*) override { return 0; }
    } refuse;
    auto book = ostrel::MakeCalcBook("");
    CalcSheet* sheet = book->AddSheet(u"S");
    ASSERT_TRUE(book->AddDocument(u"counting", counting));
    ASSERT_TRUE(book->AddDocument(u"silent", refuse));
    sheet->SetCellText(0, 0, "=REMOTE(\"counting\",\"A1\")");
    sheet->SetCellText(0, 1, "=REMOTE(\"silent\",\"A1\")");
    book->RecalculateAll();
    EXPECT_EQ(sheet->GetCellValue(0, 0).number, 7);
    EXPECT_EQ(sheet->GetCellValue(0, 1).error, kRefError);
    EXPECT_EQ(counting.registered, 1);
    sheet->SetCellText(0, 0, "5");
    book->RecalculateAll();
    EXPECT_EQ(counting.registered, 0);
    ASSERT_TRUE(book->RemoveDocument(u"counting"));
    ASSERT_TRUE(book->RemoveDocument(u"silent"));
}

TEST(Documents, PropertiesFeedTheDocumentFunctions) {
    auto book = ostrel::MakeCalcBook("");
    CalcSheet* sheet = book->AddSheet(u"S");
    ASSERT_TRUE(book->SetProperty(u"title", u"Budget"));
    ASSERT_TRUE(book->SetProperty(u"Created", u"2024-02-29T13:30"));
    ASSERT_TRUE(book->SetProperty(u"edittime", u"90"));
    ASSERT_TRUE(book->SetProperty(u"revision", u"7"));
    EXPECT_FALSE(book->SetProperty(u"saved", u"2023-02-29"));  // no such day
    EXPECT_FALSE(book->SetProperty(u"pages", u"-1"));
    EXPECT_FALSE(book->SetProperty(u"colour", u"red"));
    sheet->SetCellText(0, 0, "=TITLE()");
    sheet->SetCellText(0, 1, "=YEAR(CREATEDATE())*10000+MONTH(CREATEDATE())*100+DAY(CREATEDATE())");
    sheet->SetCellText(0, 2, "=EDITTIME()*24");
    sheet->SetCellText(0, 3, "=REVNUM()+1");
    sheet->SetCellText(0, 4, "=AUTHOR()");
    sheet->SetCellText(0, 5, "=HYPERLINK(\"https://example.org\",\"Site\")");
    sheet->SetCellText(0, 6, "=HYPERLINK(\"https://example.org\")");
    book->RecalculateAll();
    EXPECT_EQ(sheet->GetCellValueText(0, 0), u"Budget");
    EXPECT_EQ(sheet->GetCellValue(0, 1).number, 20240229);
    EXPECT_DOUBLE_EQ(sheet->GetCellValue(0, 2).number, 1.5);
    EXPECT_EQ(sheet->GetCellValue(0, 3).number, 8);
    EXPECT_EQ(sheet->GetCellValue(0, 4).error, kNotAvailable);
    EXPECT_EQ(sheet->GetCellValueText(0, 5), u"Site");
    EXPECT_EQ(sheet->GetCellValueText(0, 6), u"https://example.org");

    // A changed property recalculates what reads it; the file keeps them all.
    ASSERT_TRUE(book->SetProperty(u"title", u"Forecast"));
    ASSERT_TRUE(book->SetProperty(u"author", u"Ada"));
    book->RecalculateAll();
    EXPECT_EQ(sheet->GetCellValueText(0, 0), u"Forecast");
    EXPECT_EQ(sheet->GetCellValueText(0, 4), u"Ada");
    std::string bytes;
    ASSERT_TRUE(book->SaveBookBytes(bytes));
    std::unique_ptr<CalcBook> loaded = CalcBook::LoadBookBytes(bytes, "");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->GetProperty(u"TITLE"), u"Forecast");
    EXPECT_EQ(loaded->GetProperty(u"created"), u"2024-02-29T13:30:00");
    ASSERT_TRUE(loaded->SetProperty(u"author", u"Grace"));
    loaded->RecalculateAll();
    EXPECT_EQ(loaded->Sheet(0)->GetCellValueText(0, 4), u"Grace");
}
