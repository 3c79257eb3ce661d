// SPDX-License-Identifier: Apache-2.0
// The stored forms of a number format: the packed five bytes and data word, the archive
// form and the older one-byte-slot archive form.
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/utf.h"
#include "platform/names.h"

void CCNumberFormat::FillBuff(unsigned char* buffer) const {
    buffer[0] = m_type;
    buffer[1] = m_flagsA;
    buffer[2] = m_flagsB;
    buffer[3] = static_cast<unsigned char>(m_slot & 0xFF);
    buffer[4] = static_cast<unsigned char>(m_slot >> 8);
}

void CCNumberFormat::ReadBuff(const unsigned char* buffer) {
    m_type = buffer[0];
    m_flagsA = buffer[1];
    m_flagsB = buffer[2];
    m_slot = static_cast<char16_t>(buffer[3] | (buffer[4] << 8));
    m_custom = false;
    m_code.clear();
}

uint32_t CCNumberFormat::GetData() const {
    return uint32_t(m_type) << 24 | uint32_t(m_flagsA) << 16 | uint32_t(m_flagsB) << 8 |
           uint32_t(m_slot & 0xFF);
}

void CCNumberFormat::SetData(uint32_t data) {
    m_type = static_cast<uint8_t>(data >> 24);
    m_flagsA = static_cast<uint8_t>(data >> 16);
    m_flagsB = static_cast<uint8_t>(data >> 8);
    m_slot = static_cast<char16_t>(data & 0xFF);
    m_setMask = 0x3BBF;
    m_custom = false;
    m_code.clear();
}

void CCNumberFormat::Write(CArchive& ar) const {
    ar << m_type << m_flagsA << m_flagsB << static_cast<uint16_t>(m_slot) << m_setMask
       << static_cast<uint8_t>(m_custom ? 1 : 0);
    ar.WriteCString(m_custom ? std::u16string_view(m_code) : std::u16string_view());
}

void CCNumberFormat::Read(CArchive& ar) {
    // Everything is read before anything is assigned, so a stream that ends early leaves
    // the format as it was.
    uint8_t kind = 0, a = 0, b = 0, custom = 0;
    uint16_t slot = 0, mask = 0;
    ar >> kind >> a >> b >> slot >> mask >> custom;
    CString code = ar.ReadCString();
    m_type = kind;
    m_flagsA = a;
    m_flagsB = b;
    m_slot = static_cast<char16_t>(slot);
    m_setMask = mask;
    if (custom == 1) {
        setCustomFormat(code);
    } else {
        m_custom = false;
        m_code.clear();
    }
}

void CCNumberFormat::WriteA(CArchive& ar) const {
    // A slot the one-byte form cannot carry (no code-page character) is stored as 0 rather
    // than as some other character.
    unsigned char slot = 0;
    if (!ostrel::WideToCodePage(m_slot, slot)) slot = 0;
    ar << m_type << m_flagsA << m_flagsB << slot;
}

void CCNumberFormat::ReadA(CArchive& ar) {
    uint8_t kind = 0, a = 0, b = 0, slot = 0;
    ar >> kind >> a >> b >> slot;
    m_type = kind;
    m_flagsA = a;
    m_flagsB = b;
    m_slot = ostrel::CodePageToWide(slot);
    m_setMask = 0xFFFF;
    m_custom = false;
    m_code.clear();
}
