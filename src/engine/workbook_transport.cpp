// SPDX-License-Identifier: Apache-2.0
// A request for a workbook goes to one of its sheets: the one the item's sheet prefix names
// ("Sheet2!B4"), served with the prefix taken off, or the default sheet.
#include <memory>
#include <vector>

#include "ostrel/engine/sheet.h"
#include "ostrel/engine/workbook.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/file.h"
#include "ostrel/refs/name_ref.h"
#include "platform/names.h"

int CCWorkbook::TransportFile(cells::CTX* ctx, CFile* file) {
    if (!file) return 0;
    uint32_t code = 0;
    std::u16string document, item;
    std::vector<uint8_t> rest;
    try {
        file->SeekToBegin();
        CArchive in(file, CArchive::load);
        in >> code;
        document = in.ReadCString();
        item = in.ReadCString();
        rest.resize(size_t(in.GetBytesLeft()));
        if (!rest.empty()) in.ReadExact(rest.data(), rest.size());
    } catch (const CArchiveException&) {
        return 0;
    }
    const char16_t* cursor = item.c_str();
    CCRef* prefix = nullptr;
    CCSheet* sheet = nullptr;
    if (_EatSheetRef(ctx, cursor, prefix)) {
        std::unique_ptr<CCRef> owned(prefix);
        const char16_t* name = static_cast<CCNameRef*>(prefix)->GetName();
        sheet = name ? GetSheet(name) : nullptr;
        if (!sheet) return 0;
        // The sheet reads the item as one of its own references.
        const std::u16string shortened(cursor);
        file->SeekToBegin();
        file->SetLength(0);
        CArchive out(file, CArchive::store);
        out << code;
        out.WriteCString(document);
        out.WriteCString(shortened);
        if (!rest.empty()) out.Write(rest.data(), rest.size());
        out.Flush();
    } else {
        sheet = GetDefaultSheet();
    }
    return sheet ? sheet->OnTransport(file) : 0;
}
