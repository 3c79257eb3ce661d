// SPDX-License-Identifier: Apache-2.0
// Helpers to write objects into a memory archive and compare or read back exact bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "ostrel/platform/archive.h"
#include "platform/names.h"

namespace testing_support {

// The bytes that write() stores into a fresh archive.
inline std::vector<uint8_t> Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Flush();
    }
    return std::vector<uint8_t>(file.Data(), file.Data() + file.GetLength());
}

// Runs read() over an archive loading the given bytes.
inline void Load(const std::vector<uint8_t>& bytes, const std::function<void(CArchive&)>& read) {
    std::vector<uint8_t> copy = bytes;
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    read(ar);
}

// The cause of the archive exception f raises, or CArchiveException::none when it raises none.
template <typename F>
int ArchiveCause(F&& f) {
    try {
        f();
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

// The cause of the archive exception read() raises over the bytes, or none.
inline int LoadCause(const std::vector<uint8_t>& bytes,
                     const std::function<void(CArchive&)>& read) {
    return ArchiveCause([&] { Load(bytes, read); });
}

}  // namespace testing_support
