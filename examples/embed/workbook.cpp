// SPDX-License-Identifier: Apache-2.0
// The shortest road: a workbook from the library, filled with typed text and read back.
#include <iostream>

#include <ostrel/calc_book.h>
#include <ostrel/platform/utf.h>

int main() {
    std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
    if (!book) {
        std::cerr << "engine: " << ostrel::EngineStartFailure() << '\n';
        return 1;
    }
    ostrel::CalcSheet* rates = book->AddSheet(u"Rates");
    ostrel::CalcSheet* sheet = book->AddSheet(u"Sales");
    rates->SetCellText(0, 0, "0.2");           // Rates!A1
    sheet->SetCellText(0, 0, "120");           // A1
    sheet->SetCellText(0, 2, "80");            // A3 (A2 stays empty)
    sheet->SetCellText(1, 0, "=SUM(A1:A3)");   // B1
    sheet->SetCellText(1, 1, "=B1*Rates!A1");  // B2
    sheet->SetCellText(1, 2, "=IF(A2=0,\"gap\",\"full\")");
    book->RecalculateAll();

    std::cout << sheet->GetCellValue(1, 0).number << '\n';               // 200
    std::cout << ostrel::ToUtf8(sheet->GetCellValueText(1, 1)) << '\n';  // 40
    std::cout << ostrel::ToUtf8(sheet->GetCellValueText(1, 2)) << '\n';  // gap
    sheet->SaveCsv(std::cout);
    return 0;
}
