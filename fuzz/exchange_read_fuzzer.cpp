// SPDX-License-Identifier: Apache-2.0
// The exchange stream's reader (CCRWExchange) on arbitrary bytes, in a workbook of two
// sheets so that formulas may read the other: the first byte picks the 8-bit or the UTF-16
// form, code 21 (u8 column, u16 row) makes a cell current and code 23 ends the stream, as a
// host's commands would. What was read shows its texts and is written back in both forms.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facade/host_workbook.h"
#include "formats/lt_strings.h"
#include "ostrel/engine/module.h"
#include "ostrel/io/rw_exchange.h"
#include "ostrel/platform/archive.h"
#include "platform/names.h"

namespace {

class Reader : public CCRWExchange {
public:
    Reader(int version, ostrel::host::HostSheet& sheet) : CCRWExchange(version), m_sheet(sheet) {}
    void OnCommand(uint16_t code, const uint8_t* data, size_t length) override {
        if (code == 21 && length == 3) {
            SetCurCell(&m_sheet.GetCell(data[0], unsigned(data[1] | data[2] << 8)));
            cells.push_back(GetCurCell());
        } else if (code == 23) {
            Stop();
        } else {
            CCRWExchange::OnCommand(code, data, length);
        }
    }
    std::vector<CCCell*> cells;

private:
    ostrel::host::HostSheet& m_sheet;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = QXCellInit() == 1;
    if (!started || size == 0) return 0;
    // Unit texts a stream adds stay in the module's list; each input starts from the defaults.
    InitLTStrings();
    ostrel::host::HostWorkbook book;
    ostrel::host::HostSheet& sheet = *book.AddSheet(u"Sheet1");
    book.AddSheet(u"Other");
    std::vector<uint8_t> copy(data + 1, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    Reader reader(data[0] & 1 ? RW_VERSION_ANSI : RW_VERSION_WIDE, sheet);
    try {
        reader.Begin(&ar);
        reader.SetCellManager(&sheet);
        reader.Read();
    } catch (const CArchiveException&) {
    }
    reader.End();
    book.RecalculateAll();
    for (int version : {RW_VERSION_ANSI, RW_VERSION_WIDE}) {
        CMemFile back;
        CArchive store(&back, CArchive::store);
        CCRWExchange writer(version);
        writer.Begin(&store);
        writer.SetCellManager(&sheet);
        for (CCCell* cell : reader.cells) {
            sheet.GetCellValueText(static_cast<ostrel::host::HostCell*>(cell)->Column(),
                                   static_cast<ostrel::host::HostCell*>(cell)->Row());
            try {
                writer.WriteCell(cell);
            } catch (const CArchiveException&) {
            }
        }
        writer.End();
    }
    return 0;
}
