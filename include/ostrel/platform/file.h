// SPDX-License-Identifier: Apache-2.0
/// \file
/// Byte files under an archive: the abstract CFile, a growable memory file and a disk file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ostrel/export.h"

namespace ostrel::platform {

class OSTREL_API CFile {
public:
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile() = default;

    /// Reads up to count bytes; returns how many were read (fewer only at the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    /// Writes all count bytes or throws CFileException.
    virtual void Write(const void* buffer, size_t count) = 0;
    /// Moves the position; a target before the start throws CFileException(badSeek).
    virtual uint64_t Seek(int64_t offset, SeekPosition from) = 0;
    virtual uint64_t GetPosition() const = 0;
    virtual uint64_t GetLength() const = 0;
    virtual void SetLength(uint64_t length) = 0;
    virtual void Flush() {}
    virtual void Close() {}

    uint64_t SeekToBegin() { return Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
};

/// A file in memory. It owns its buffer unless the buffer was attached without a growth
/// step; Detach hands the buffer (allocated with malloc) to the caller.
class OSTREL_API CMemFile : public CFile {
public:
    explicit CMemFile(size_t growBytes = 1024);
    /// Wraps an existing buffer of size bytes, all of them readable. With growBytes 0 the
    /// file cannot grow past the buffer and never frees it; otherwise the buffer must come
    /// from malloc and the file takes it over.
    CMemFile(uint8_t* buffer, size_t size, size_t growBytes = 0);
    ~CMemFile() override;

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    uint64_t Seek(int64_t offset, SeekPosition from) override;
    uint64_t GetPosition() const override { return m_position; }
    uint64_t GetLength() const override { return m_length; }
    void SetLength(uint64_t length) override;

    void Attach(uint8_t* buffer, size_t size, size_t growBytes = 0);
    /// Returns the buffer and leaves the file empty; the caller frees it with free().
    uint8_t* Detach();
    /// The bytes written so far, without giving them away.
    const uint8_t* Data() const { return m_buffer; }
    size_t GetBufferSize() const { return m_capacity; }

private:
    void Release();
    void GrowTo(size_t capacity);

    uint8_t* m_buffer = nullptr;  // owned when m_autoDelete is set (malloc'ed)
    size_t m_capacity = 0;
    size_t m_length = 0;
    size_t m_position = 0;
    size_t m_growBytes = 1024;
    bool m_autoDelete = true;
};

/// A file on disk.
class OSTREL_API CDiskFile : public CFile {
public:
    enum OpenFlags { modeRead = 0, modeWrite = 1, modeReadWrite = 2, modeCreate = 0x1000 };

    CDiskFile() = default;
    ~CDiskFile() override;

    /// Returns false (and leaves the file closed) when the file cannot be opened.
    bool Open(const std::string& path, unsigned flags);
    bool IsOpen() const { return m_file != nullptr; }

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    uint64_t Seek(int64_t offset, SeekPosition from) override;
    uint64_t GetPosition() const override;
    uint64_t GetLength() const override;
    void SetLength(uint64_t length) override;
    void Flush() override;
    void Close() override;

private:
    std::FILE* m_file = nullptr;
};

}  // namespace ostrel::platform
