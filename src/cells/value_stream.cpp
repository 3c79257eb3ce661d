// SPDX-License-Identifier: Apache-2.0
// Optional values and value arrays in archive form.
#include <memory>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/ptr_array.h"
#include "platform/names.h"

void WriteCellValue(cells::CTX* ctx, CArchive& ar, const CCCellValue* value) {
    ar << uint8_t(value ? 1 : 0);
    if (value) value->Write(ctx, ar);
}

CCCellValue* ReadCellValue(cells::CTX* ctx, CArchive& ar) {
    uint8_t present;
    ar >> present;
    if (present == 0) return nullptr;
    if (present != 1) throw CArchiveException(CArchiveException::badFormat);
    auto value = std::make_unique<CCCellValue>();
    value->Read(ctx, ar);
    return value.release();
}

void WriteValueArray(cells::CTX* ctx, CArchive& ar, const CPtrArray& values) {
    ar << int32_t(values.GetSize());
    for (int32_t i = 0; i < int32_t(values.GetSize()); ++i)
        WriteCellValue(ctx, ar, static_cast<const CCCellValue*>(values.GetAt(i)));
}

void ReadValueArray(cells::CTX* ctx, CArchive& ar, CPtrArray& values) {
    int32_t count;
    ar >> count;
    // Every element takes at least its presence byte.
    if (count < 0) throw CArchiveException(CArchiveException::badFormat);
    ar.RequireBytes(uint64_t(count));
    FreeValueArray(values);
    values.SetSize(count);
    try {
        for (int32_t i = 0; i < count; ++i)
            values.SetAt(i, ReadCellValue(ctx, ar));
    } catch (...) {
        FreeValueArray(values);
        throw;
    }
}

void FreeValueArray(CPtrArray& values) {
    for (int32_t i = 0; i < int32_t(values.GetSize()); ++i)
        delete static_cast<CCCellValue*>(values.GetAt(i));
    values.RemoveAll();
}
