// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/file.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "ostrel/platform/exceptions.h"
#include "platform/names.h"

namespace ostrel::platform {

CMemFile::CMemFile(size_t growBytes) : m_growBytes(growBytes == 0 ? 1024 : growBytes) {}

CMemFile::CMemFile(uint8_t* buffer, size_t size, size_t growBytes) {
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile() {
    Release();
}

void CMemFile::Release() {
    if (m_autoDelete) std::free(m_buffer);
    m_buffer = nullptr;
    m_capacity = m_length = m_position = 0;
    m_autoDelete = true;
}

void CMemFile::Attach(uint8_t* buffer, size_t size, size_t growBytes) {
    Release();
    m_buffer = buffer;
    m_capacity = m_length = buffer ? size : 0;
    m_growBytes = growBytes;
    m_autoDelete = growBytes != 0;
}

uint8_t* CMemFile::Detach() {
    uint8_t* buffer = m_buffer;
    m_buffer = nullptr;
    m_capacity = m_length = m_position = 0;
    m_autoDelete = true;
    if (m_growBytes == 0) m_growBytes = 1024;
    return buffer;
}

void CMemFile::GrowTo(size_t needed) {
    if (needed <= m_capacity) return;
    if (m_growBytes == 0) throw CFileException(CFileException::diskFull);
    // Grow by whole steps, and at least double, so that a stream written byte by byte
    // costs amortised constant time per byte.
    size_t capacity = (needed + m_growBytes - 1) / m_growBytes * m_growBytes;
    if (capacity < m_capacity * 2) capacity = m_capacity * 2;
    auto* grown = static_cast<uint8_t*>(std::realloc(m_buffer, capacity));
    if (!grown) throw CMemoryException();
    m_buffer = grown;
    m_capacity = capacity;
}

size_t CMemFile::Read(void* buffer, size_t count) {
    if (m_position >= m_length) return 0;
    size_t n = std::min(count, m_length - m_position);
    std::memcpy(buffer, m_buffer + m_position, n);
    m_position += n;
    return n;
}

void CMemFile::Write(const void* buffer, size_t count) {
    if (count == 0) return;
    if (count > std::numeric_limits<size_t>::max() - m_position) throw CMemoryException();
    size_t end = m_position + count;
    GrowTo(end);
    if (m_position > m_length) std::memset(m_buffer + m_length, 0, m_position - m_length);
    std::memcpy(m_buffer + m_position, buffer, count);
    m_position = end;
    if (end > m_length) m_length = end;
}

uint64_t CMemFile::Seek(int64_t offset, SeekPosition from) {
    int64_t base = from == begin ? 0 : from == current ? int64_t(m_position) : int64_t(m_length);
    int64_t target = base + offset;
    if (target < 0) throw CFileException(CFileException::badSeek);
    m_position = size_t(target);
    return m_position;
}

void CMemFile::SetLength(uint64_t length) {
    if (length > m_capacity) GrowTo(size_t(length));
    if (length > m_length) std::memset(m_buffer + m_length, 0, size_t(length) - m_length);
    m_length = size_t(length);
    if (m_position > m_length) m_position = m_length;
}

CDiskFile::~CDiskFile() {
    Close();
}

bool CDiskFile::Open(const std::string& path, unsigned flags) {
    Close();
    const char* mode = "rb";
    unsigned access = flags & 3;
    if (flags & modeCreate)
        mode = access == modeReadWrite ? "w+b" : "wb";
    else if (access == modeWrite || access == modeReadWrite)
        mode = "r+b";
    m_file = std::fopen(path.c_str(), mode);
    return m_file != nullptr;
}

size_t CDiskFile::Read(void* buffer, size_t count) {
    if (!m_file) throw CFileException(CFileException::generic);
    return std::fread(buffer, 1, count, m_file);
}

void CDiskFile::Write(const void* buffer, size_t count) {
    if (!m_file) throw CFileException(CFileException::generic);
    if (std::fwrite(buffer, 1, count, m_file) != count)
        throw CFileException(CFileException::diskFull);
}

uint64_t CDiskFile::Seek(int64_t offset, SeekPosition from) {
    if (!m_file) throw CFileException(CFileException::generic);
    int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    if (fseeko(m_file, offset, whence) != 0) throw CFileException(CFileException::badSeek);
    return GetPosition();
}

uint64_t CDiskFile::GetPosition() const {
    if (!m_file) return 0;
    off_t pos = ftello(m_file);
    return pos < 0 ? 0 : uint64_t(pos);
}

uint64_t CDiskFile::GetLength() const {
    if (!m_file) return 0;
    off_t pos = ftello(m_file);
    fseeko(m_file, 0, SEEK_END);
    off_t len = ftello(m_file);
    fseeko(m_file, pos, SEEK_SET);
    return len < 0 ? 0 : uint64_t(len);
}

void CDiskFile::SetLength(uint64_t length) {
    if (!m_file) throw CFileException(CFileException::generic);
    std::fflush(m_file);
    if (ftruncate(fileno(m_file), off_t(length)) != 0)
        throw CFileException(CFileException::accessDenied);
}

void CDiskFile::Flush() {
    if (m_file) std::fflush(m_file);
}

void CDiskFile::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

}  // namespace ostrel::platform
