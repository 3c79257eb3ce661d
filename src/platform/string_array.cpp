// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/string_array.h"

#include <algorithm>
#include <vector>

#include "platform/names.h"

template class ostrel::CTypedArray<std::u16string>;

namespace ostrel::platform {

void CStringArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_items.size());
        for (const CString& item : m_items)
            ar.WriteCString(item);
        return;
    }
    RemoveAll();
    uint64_t count = ar.ReadCount();
    // Every stored string takes at least one byte (its length), so a count beyond the bytes
    // left cannot be genuine.
    if (count > ar.GetBytesLeft()) throw CArchiveException(CArchiveException::badFormat);
    // Read into a separate vector so that a failure part way leaves this array empty rather
    // than holding a prefix the caller might take for the whole.
    // The reservation is capped: a count can pass the check above while each string then
    // claims many bytes, and the strings themselves are far larger than one byte.
    std::vector<CString> items;
    Guarded([&] { items.reserve(static_cast<size_t>(std::min<uint64_t>(count, 4096))); });
    for (uint64_t i = 0; i < count; ++i)
        items.push_back(ar.ReadCString());
    m_items.swap(items);
}

}  // namespace ostrel::platform
