// SPDX-License-Identifier: Apache-2.0
// The answer readers of the request protocol on arbitrary bytes: a document whose every
// request comes back with the input as its answer. The first byte picks the request; a
// request either reads its answer whole or fails with result 0.
#include <cstddef>
#include <cstdint>

#include "facade/host_sheet.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/module.h"
#include "ostrel/platform/file.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/string_array.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

namespace {

bool Started() {
    static const bool started = QXCellInit() == 1;
    return started;
}

// Answers every request with the bytes it was given.
class Replier : public ostrel::host::HostSheet {
public:
    Replier(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    int DoTransport(const CCRemoteRef*, CFile* file) override {
        file->SetLength(0);
        file->SeekToBegin();
        if (m_size) file->Write(m_data, m_size);
        return 1;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Started() || size == 0) return 0;
    Replier asker(data + 1, size - 1);
    CCRemoteRef ref(u"other", u"A1:B4");
    CCCellValue value;
    CStringArray strings;
    CPtrArray record;
    CSize extent;
    switch (data[0] % 8) {
        case 0:
            asker.DoRemoteGetValue(&ref, &value, 0);
            break;
        case 1:
            asker.DoRemoteNextValue(&ref, 1, &value);
            break;
        case 2:
            asker.DoRemoteGetDataSources(&ref, &strings, 0);
            break;
        case 3:
            asker.DoRemoteGetItems(&ref, &strings);
            break;
        case 4:
            asker.DoRemoteGetRecord(&ref, 1, 2, &record);
            break;
        case 5:
            asker.DoRemoteGetFirstRecord(&ref, 1, &record);
            break;
        case 6:
            asker.DoRemoteRefSize(&ref, 1, &extent);
            break;
        default:
            asker.DoRemoteOpenRef(&ref);
            break;
    }
    FreeValueArray(record);
    return 0;
}
