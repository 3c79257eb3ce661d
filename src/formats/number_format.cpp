// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formats/number_format.h"

#include <algorithm>

#include "formats/number_format_locale.h"
#include "ostrel/formula/lctx.h"

namespace {

using number_format_detail::LocaleOf;

uint8_t ClampPrecision(int precision) {
    return static_cast<uint8_t>(std::clamp(precision, 0, 15));
}

}  // namespace

CCNumberFormat::CCNumberFormat() = default;

CCNumberFormat::CCNumberFormat(unsigned char kind) {
    SetDefault(cells::invariant_LCTX(), kind);
    Set(kind);
}

CCNumberFormat::CCNumberFormat(const CCNumberFormat& other, RawCopy)
    : m_setMask(other.m_setMask),
      m_type(other.m_type),
      m_flagsA(other.m_flagsA),
      m_flagsB(other.m_flagsB),
      m_custom(other.m_custom),
      m_slot(other.m_slot),
      m_code(other.m_code) {}

CCNumberFormat& CCNumberFormat::AssignCustom(const CCNumberFormat& other) {
    if (this != &other) {
        CopyClassicFields(other);
        CopyCustom(other);
    }
    return *this;
}

void CCNumberFormat::CopyCustom(const CCNumberFormat& other) {
    if (other.m_custom) {
        if (&other == this) return;
        setCustomFormat(other.m_code.str());
    } else {
        m_custom = false;
        m_code.clear();
    }
}

void CCNumberFormat::SetDefault(cells::LCTX* lctx, unsigned char kind) {
    const auto& locale = LocaleOf(lctx);
    m_setMask = 0;
    m_flagsA = 0;
    m_flagsB = 0;
    m_slot = 0;
    m_custom = false;
    m_code.clear();
    m_type = kind;
    switch (kind) {
        case C_NF_NUMBER:
        case C_NF_PERCENT:
        case C_NF_SCIENTIFIC:
            m_flagsA = ClampPrecision(locale.numberPrecision());
            m_setMask = kSetPrecision;
            break;
        case C_NF_CURRENCY:
            m_flagsA = ClampPrecision(locale.currencyPrecision());
            m_setMask = kSetPrecision;
            break;
        case C_NF_FRACTION:
            m_setMask = kSetPrecision;
            break;
        case C_NF_TIME:
            m_flagsB = kTimeRangeBit;
            m_setMask = kSetTimeRange;
            break;
        case C_NF_DATE:
            m_flagsB = static_cast<uint8_t>(locale.defaultDateFormat());
            m_setMask = 0x3B80;
            break;
        default:
            break;
    }
}

void CCNumberFormat::Set(unsigned char kind) {
    m_setMask |= kSetType;
    m_custom = false;
    m_code.clear();
    m_type = kind;
    m_flagsA = 0;
    m_slot = 0;
    if (kind == C_NF_DATE) {
        m_setMask = (m_setMask & 0xFFC1) | 0x3B80;
        m_flagsB = static_cast<uint8_t>(LocaleOf(nullptr).defaultDateFormat());
    } else {
        m_setMask = (m_setMask & 0xC47F) | 0x003C;
        m_flagsB = 0;
    }
}

void CCNumberFormat::SetType(int kind) {
    m_type = static_cast<uint8_t>(kind);
    m_setMask |= kSetType;
    m_custom = false;
    m_code.clear();
}

int CCNumberFormat::GetLTStringMode() const {
    if (m_slot == 0) return 0;
    return (m_flagsA & kLeadingBit) ? 1 : 2;
}

void CCNumberFormat::ApplyLTStringMode(int mode) {
    if (mode == 1) {
        m_flagsA |= kLeadingBit;
    } else if (mode == 2) {
        m_flagsA &= static_cast<uint8_t>(~kLeadingBit);
    } else {
        m_slot = 0;
        return;
    }
    if (m_slot == 0) {
        m_slot = 1;
        m_setMask |= kSetLTString;
    }
}

void CCNumberFormat::SetLTStringMode(int mode) {
    m_setMask |= kSetLTStringMode;
    ApplyLTStringMode(mode);
}

namespace {
// The slot of a list index; an index the slot cannot hold means no unit text.
char16_t SlotOf(int index) {
    return index >= 0 && index < 0xFFFF ? static_cast<char16_t>(index + 1) : char16_t(0);
}
}  // namespace

void CCNumberFormat::SetLTString(int index) {
    m_slot = SlotOf(index);
    m_setMask |= kSetLTString;
}

void CCNumberFormat::SetLTString(int index, int mode) {
    m_setMask |= kSetLTString | kSetLTStringMode;
    m_slot = SlotOf(index);
    ApplyLTStringMode(mode);
}
