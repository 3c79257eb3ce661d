// SPDX-License-Identifier: Apache-2.0
/// \file
/// A typed, little-endian byte stream over a CFile, opened either to store or to load.
/// Reading from a storing archive, writing to a loading one and reading past the end raise
/// CArchiveException; nothing is ever read from or written to memory the stream describes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ostrel/export.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/file.h"

namespace ostrel::platform {

class OSTREL_API CArchive {
public:
    enum Mode { store = 0, load = 1 };

    /// The archive does not own the file.
    CArchive(CFile* file, Mode mode) : m_file(file), m_mode(mode) {}
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }
    CFile* GetFile() const { return m_file; }

    /// Raw bytes. Read returns how many bytes it got; ReadExact raises endOfFile when the
    /// stream holds fewer than count.
    void Write(const void* buffer, size_t count);
    size_t Read(void* buffer, size_t count);
    void ReadExact(void* buffer, size_t count);

    /// Bytes between the position and the end of a loading archive: the upper bound for
    /// every count read from the stream before anything is allocated for it.
    uint64_t GetBytesLeft() const;
    /// Raises badFormat unless bytes more bytes are left.
    void RequireBytes(uint64_t bytes) const;

    void Flush();
    void Close() { Flush(); }

    CArchive& operator<<(uint8_t v) { return WriteLE(v); }
    CArchive& operator<<(int8_t v) { return WriteLE(static_cast<uint8_t>(v)); }
    CArchive& operator<<(uint16_t v) { return WriteLE(v); }
    CArchive& operator<<(int16_t v) { return WriteLE(static_cast<uint16_t>(v)); }
    CArchive& operator<<(char16_t v) { return WriteLE(static_cast<uint16_t>(v)); }
    CArchive& operator<<(uint32_t v) { return WriteLE(v); }
    CArchive& operator<<(int32_t v) { return WriteLE(static_cast<uint32_t>(v)); }
    CArchive& operator<<(uint64_t v) { return WriteLE(v); }
    CArchive& operator<<(int64_t v) { return WriteLE(static_cast<uint64_t>(v)); }
    CArchive& operator<<(bool v) { return WriteLE(static_cast<uint8_t>(v ? 1 : 0)); }
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);

    CArchive& operator>>(uint8_t& v) { return ReadLE(v); }
    CArchive& operator>>(int8_t& v);
    CArchive& operator>>(uint16_t& v) { return ReadLE(v); }
    CArchive& operator>>(int16_t& v);
    CArchive& operator>>(char16_t& v);
    CArchive& operator>>(uint32_t& v) { return ReadLE(v); }
    CArchive& operator>>(int32_t& v);
    CArchive& operator>>(uint64_t& v) { return ReadLE(v); }
    CArchive& operator>>(int64_t& v);
    CArchive& operator>>(bool& v);
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);

    /// The count form: u16 below 0xFFFF, else 0xFFFF and a u32 (and 0xFFFFFFFF and a u64).
    void WriteCount(uint64_t count);
    uint64_t ReadCount();

    /// The framework string form: tag (byte 0xFF, u16 0xFFFE), a length prefix (one byte
    /// below 255; else 0xFF and a u16 below 0xFFFE; else 0xFF, u16 0xFFFF and a u32), then
    /// the UTF-16 units. The reader also accepts the untagged 8-bit form, in the 8-bit code
    /// page. A length beyond what is left raises badFormat before anything is allocated.
    void WriteCString(std::u16string_view text);
    std::u16string ReadCString();
    /// Writes the untagged 8-bit form (characters outside the code page become '?').
    void WriteCStringA(std::u16string_view text);

    CArchive& operator<<(std::u16string_view text) {
        WriteCString(text);
        return *this;
    }
    CArchive& operator>>(std::u16string& text) {
        text = ReadCString();
        return *this;
    }

private:
    void CheckStoring() const;
    void CheckLoading() const;
    uint64_t ReadStringLength(bool& wide);

    template <class T>
    CArchive& WriteLE(T v) {
        uint8_t bytes[sizeof(T)];
        for (size_t i = 0; i < sizeof(T); ++i)
            bytes[i] = static_cast<uint8_t>(v >> (8 * i));
        Write(bytes, sizeof(T));
        return *this;
    }
    template <class T>
    CArchive& ReadLE(T& v) {
        uint8_t bytes[sizeof(T)];
        ReadExact(bytes, sizeof(T));
        T r = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            r = static_cast<T>(r | (T(bytes[i]) << (8 * i)));
        v = r;
        return *this;
    }

    CFile* m_file;
    Mode m_mode;
};

}  // namespace ostrel::platform
