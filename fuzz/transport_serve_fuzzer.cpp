// SPDX-License-Identifier: Apache-2.0
// The serving side of the request protocol on arbitrary bytes: a workbook of two sheets with
// values, a range and a formula answers a few requests in a row (so that an OpenRef's handle
// can be used by the next), each routed by its item's sheet prefix as another document's
// request is. Input: a count byte, then per request a u16 length and that many bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facade/host_workbook.h"
#include "ostrel/engine/module.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/file.h"
#include "platform/names.h"

namespace {

bool Started() {
    static const bool started = QXCellInit() == 1;
    return started;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Started() || size == 0) return 0;
    ostrel::host::HostWorkbook book;
    ostrel::host::HostSheet* first = book.AddSheet(u"Sheet1");
    ostrel::host::HostSheet* second = book.AddSheet(u"Data");
    first->SetCellText(0u, 0u, u"1");
    first->SetCellText(0u, 1u, u"two");
    first->SetCellText(1u, 0u, u"=SUM(A1:A3)+Data!B2");
    second->SetCellText(1u, 1u, u"40");
    book.RecalculateAll();
    size_t at = 1;
    for (unsigned n = 0; n < data[0] % 5 && at + 2 <= size; ++n) {
        const size_t length =
            std::min<size_t>(size_t(data[at]) | size_t(data[at + 1]) << 8, size - at - 2);
        std::vector<uint8_t> request(data + at + 2, data + at + 2 + length);
        at += 2 + length;
        CMemFile file(1024);
        if (!request.empty()) file.Write(request.data(), request.size());
        try {
            book.TransportFile(first->GetCTX(), &file);
        } catch (const CArchiveException&) {
        }
    }
    book.RecalculateAll();
    return 0;
}
