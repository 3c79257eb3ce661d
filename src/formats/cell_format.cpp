// SPDX-License-Identifier: Apache-2.0
// Construction, accessors, number format access and the stored forms of a cell format.
#include "ostrel/formats/cell_format.h"

#include "ostrel/formats/number_format_table.h"
#include "ostrel/platform/archive.h"
#include "platform/names.h"

void CCCellFormat::InitDefault() {
    m_setMask &= static_cast<uint16_t>(~kAllBits);
    m_flagMask = 0;
    m_flags = 0;
    CCNumberFormat general;
    general.Set(C_NF_GENERAL);
    PutNFmt(general);
    m_setMask |= kSetNF | kStyleBits;
}

const CCNumberFormat& CCCellFormat::GetNumberFormatW() const {
    return *GetNumberFormatTable().GetAt(m_nfIndex);
}

void CCCellFormat::PutNFmt(const CCNumberFormat& nf) {
    m_nfIndex = GetNumberFormatTable().AddExact(nf);
}

void CCCellFormat::SetNumberFormat(const CCNumberFormat& nf) {
    PutNFmt(nf);
    m_setMask |= kSetNF;
}

void CCCellFormat::MergeNumberFormat(const CCNumberFormat& nf) {
    CCNumberFormat merged(GetNFmt());
    merged.set(nf);
    PutNFmt(merged);
    m_setMask |= kSetNF;
}

void CCCellFormat::SetNFType(int kind) {
    CCNumberFormat changed(GetNFmt());
    changed.SetType(kind);
    PutNFmt(changed);
    m_setMask |= kSetNFType;
}

void CCCellFormat::SetNFPrecision(int precision) {
    CCNumberFormat changed(GetNFmt());
    changed.SetPrecision(precision);
    PutNFmt(changed);
    m_setMask |= kSetNFPrecision;
}

void CCCellFormat::SetNFCommas(int commas) {
    CCNumberFormat changed(GetNFmt());
    changed.SetCommas(commas);
    PutNFmt(changed);
    m_setMask |= kSetNFCommas;
}

void CCCellFormat::Clear(unsigned short mask) {
    m_setMask &= static_cast<uint16_t>(~mask);
    m_flags = 0;
    m_flagMask = 0;
}

CCCellFormat CCCellFormat::operator-(const CCCellFormat&) const {
    return *this;
}

CCCellFormat& CCCellFormat::operator+=(const CCCellFormat&) {
    return *this;
}

void CCCellFormat::FillBuff(unsigned char* buffer) const {
    uint32_t index = static_cast<uint32_t>(m_nfIndex);
    buffer[0] = static_cast<unsigned char>(m_setMask & 0xFF);
    buffer[1] = static_cast<unsigned char>(m_setMask >> 8);
    for (int i = 0; i < 4; ++i)
        buffer[2 + i] = static_cast<unsigned char>(index >> (8 * i));
    buffer[6] = static_cast<unsigned char>(m_flags & 0xFF);
    buffer[7] = static_cast<unsigned char>(m_flags >> 8);
}

void CCCellFormat::ReadBuff(const unsigned char* buffer) {
    m_setMask = static_cast<uint16_t>(buffer[0] | buffer[1] << 8);
    uint32_t index = 0;
    for (int i = 0; i < 4; ++i)
        index |= uint32_t(buffer[2 + i]) << (8 * i);
    m_nfIndex = static_cast<int32_t>(index);
    m_flags = static_cast<uint16_t>(buffer[6] | buffer[7] << 8);
}

bool CCCellFormat::IsSame(const CCCellFormat& other) const {
    return m_setMask == other.m_setMask && m_nfIndex == other.m_nfIndex && m_flags == other.m_flags;
}

void CCCellFormat::Write(CArchive& ar) const {
    ar << m_setMask << static_cast<uint8_t>(m_flags & 0xFF);
    GetNFmt().Write(ar);
}

void CCCellFormat::Read(CArchive& ar) {
    // Everything is read and interned before anything is assigned, so a stream that ends
    // early leaves the format as it was.
    uint16_t mask = 0;
    uint8_t flags = 0;
    ar >> mask >> flags;
    CCNumberFormat nf(GetNFmt());
    nf.Read(ar);
    int index = GetNumberFormatTable().AddExact(nf);
    m_setMask = mask;
    m_flags = flags;
    m_nfIndex = index;
}
