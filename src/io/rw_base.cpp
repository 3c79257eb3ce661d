// SPDX-License-Identifier: Apache-2.0
// The command layer of the exchange stream: code, length, payload, and the read loop.
#include "ostrel/io/rw_base.h"

#include <new>

#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "platform/names.h"

CCRWBase::CCRWBase(int fileVersion)
    : m_ansi(fileVersion == RW_VERSION_ANSI), m_fileVersion(fileVersion) {}

CCRWBase::~CCRWBase() = default;

void CCRWBase::Begin(CArchive* ar) {
    m_archive = ar;
}

void CCRWBase::Read() {
    m_reading = 1;
    DoReadLoop();
}

void CCRWBase::Stop() {
    m_reading = 0;
}

void CCRWBase::End() {
    m_archive = nullptr;
    m_reading = 0;
}

CArchive& CCRWBase::Archive() const {
    if (!m_archive) throw CArchiveException(CArchiveException::generic);
    return *m_archive;
}

void CCRWBase::GrowDataBuffer(uint16_t size) {
    if (size <= m_capacity && m_data) return;
    std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[size ? size : 1]);
    if (!grown) throw CMemoryException();
    m_data = std::move(grown);
    m_capacity = size;
}

void CCRWBase::ReadCommand(uint16_t& code, const uint8_t*& data, uint16_t& length) {
    CArchive& ar = Archive();
    uint16_t readCode = 0, readLength = 0;
    ar >> readCode >> readLength;
    // The length is at most 64 KiB, so the buffer never grows past that whatever it says.
    GrowDataBuffer(readLength);
    ar.ReadExact(m_data.get(), readLength);
    code = readCode;
    length = readLength;
    data = m_data.get();
}

void CCRWBase::WriteCommand(uint16_t code, const void* data, size_t length) {
    if (length > kMaxPayload) throw CArchiveException(CArchiveException::generic);
    CArchive& ar = Archive();
    ar << code << static_cast<uint16_t>(length);
    ar.Write(data, length);
}

void CCRWBase::OnCommand(uint16_t, const uint8_t*, size_t) {}

void CCRWBase::DoReadLoop() {
    while (m_reading) {
        uint16_t code = 0, length = 0;
        const uint8_t* data = nullptr;
        ReadCommand(code, data, length);
        OnCommand(code, data, length);
    }
}
