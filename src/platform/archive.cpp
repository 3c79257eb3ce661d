// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/archive.h"

#include <bit>
#include <cstring>
#include <vector>

#include "ostrel/platform/utf.h"
#include "platform/names.h"

namespace ostrel::platform {

void CArchive::CheckStoring() const {
    if (m_mode != store) throw CArchiveException(CArchiveException::readOnly);
}

void CArchive::CheckLoading() const {
    if (m_mode != load) throw CArchiveException(CArchiveException::writeOnly);
}

void CArchive::Write(const void* buffer, size_t count) {
    CheckStoring();
    if (count) m_file->Write(buffer, count);
}

size_t CArchive::Read(void* buffer, size_t count) {
    CheckLoading();
    return count ? m_file->Read(buffer, count) : 0;
}

void CArchive::ReadExact(void* buffer, size_t count) {
    if (Read(buffer, count) != count) throw CArchiveException(CArchiveException::endOfFile);
}

uint64_t CArchive::GetBytesLeft() const {
    uint64_t length = m_file->GetLength();
    uint64_t position = m_file->GetPosition();
    return position < length ? length - position : 0;
}

void CArchive::RequireBytes(uint64_t bytes) const {
    if (bytes > GetBytesLeft()) throw CArchiveException(CArchiveException::badFormat);
}

void CArchive::Flush() {
    if (m_mode == store) m_file->Flush();
}

CArchive& CArchive::operator<<(float v) {
    return WriteLE(std::bit_cast<uint32_t>(v));
}
CArchive& CArchive::operator<<(double v) {
    return WriteLE(std::bit_cast<uint64_t>(v));
}

CArchive& CArchive::operator>>(int8_t& v) {
    uint8_t u;
    ReadLE(u);
    v = static_cast<int8_t>(u);
    return *this;
}
CArchive& CArchive::operator>>(int16_t& v) {
    uint16_t u;
    ReadLE(u);
    v = static_cast<int16_t>(u);
    return *this;
}
CArchive& CArchive::operator>>(char16_t& v) {
    uint16_t u;
    ReadLE(u);
    v = static_cast<char16_t>(u);
    return *this;
}
CArchive& CArchive::operator>>(int32_t& v) {
    uint32_t u;
    ReadLE(u);
    v = static_cast<int32_t>(u);
    return *this;
}
CArchive& CArchive::operator>>(int64_t& v) {
    uint64_t u;
    ReadLE(u);
    v = static_cast<int64_t>(u);
    return *this;
}
CArchive& CArchive::operator>>(bool& v) {
    uint8_t u;
    ReadLE(u);
    v = u != 0;
    return *this;
}
CArchive& CArchive::operator>>(float& v) {
    uint32_t u;
    ReadLE(u);
    v = std::bit_cast<float>(u);
    return *this;
}
CArchive& CArchive::operator>>(double& v) {
    uint64_t u;
    ReadLE(u);
    v = std::bit_cast<double>(u);
    return *this;
}

void CArchive::WriteCount(uint64_t count) {
    if (count < 0xFFFF) {
        *this << static_cast<uint16_t>(count);
        return;
    }
    *this << static_cast<uint16_t>(0xFFFF);
    if (count < 0xFFFFFFFFu) {
        *this << static_cast<uint32_t>(count);
        return;
    }
    *this << static_cast<uint32_t>(0xFFFFFFFFu) << count;
}

uint64_t CArchive::ReadCount() {
    uint16_t w;
    *this >> w;
    if (w != 0xFFFF) return w;
    uint32_t d;
    *this >> d;
    if (d != 0xFFFFFFFFu) return d;
    uint64_t q;
    *this >> q;
    return q;
}

namespace {
void WriteLengthPrefix(CArchive& ar, size_t length) {
    if (length < 0xFF) {
        ar << static_cast<uint8_t>(length);
    } else if (length < 0xFFFE) {
        ar << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(length);
    } else {
        ar << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(0xFFFF)
           << static_cast<uint32_t>(length);
    }
}
}  // namespace

void CArchive::WriteCString(std::u16string_view text) {
    CheckStoring();
    if (text.size() > 0xFFFFFFFEu) throw CArchiveException(CArchiveException::generic);
    *this << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(0xFFFE);
    WriteLengthPrefix(*this, text.size());
    std::vector<uint8_t> bytes(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<uint8_t>(text[i]);
        bytes[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    Write(bytes.data(), bytes.size());
}

void CArchive::WriteCStringA(std::u16string_view text) {
    CheckStoring();
    if (text.size() > 0xFFFFFFFEu) throw CArchiveException(CArchiveException::generic);
    WriteLengthPrefix(*this, text.size());
    std::string bytes = ostrel::WideToCodePage(text);
    Write(bytes.data(), bytes.size());
}

uint64_t CArchive::ReadStringLength(bool& wide) {
    // The UTF-16 tag may stand once before the length; a second tag is malformed.
    for (int pass = 0; pass < 2; ++pass) {
        uint8_t b;
        *this >> b;
        if (b < 0xFF) return b;
        uint16_t w;
        *this >> w;
        if (w == 0xFFFE) {
            if (wide) break;
            wide = true;
            continue;
        }
        if (w < 0xFFFF) return w;
        uint32_t d;
        *this >> d;
        return d;
    }
    throw CArchiveException(CArchiveException::badFormat);
}

std::u16string CArchive::ReadCString() {
    CheckLoading();
    bool wide = false;
    uint64_t length = ReadStringLength(wide);
    uint64_t bytes = wide ? length * 2 : length;
    RequireBytes(bytes);
    std::vector<uint8_t> raw(static_cast<size_t>(bytes));
    ReadExact(raw.data(), raw.size());
    std::u16string text;
    if (wide) {
        text.resize(static_cast<size_t>(length));
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    } else {
        text = ostrel::CodePageToWide(
            std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size()));
    }
    return text;
}

}  // namespace ostrel::platform
