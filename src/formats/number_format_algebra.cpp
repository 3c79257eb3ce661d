// SPDX-License-Identifier: Apache-2.0
// The attribute algebra of partial number formats: each rule runs attribute by attribute
// over the set bits; an attribute is one field of flag byte A, flag byte B or the text slot.
#include <iterator>

#include "ostrel/formats/number_format.h"

namespace {

enum class Field { A, B, Slot };

struct Attribute {
    uint16_t bit;
    Field field;
    uint8_t bits;  // within flag byte A or B
};

constexpr Attribute kAttributes[] = {
    {CCNumberFormat::kSetPrecision, Field::A, CCNumberFormat::kPrecisionBits},
    {CCNumberFormat::kSetCommas, Field::A, CCNumberFormat::kCommasBit},
    {CCNumberFormat::kSetNegBr, Field::A, CCNumberFormat::kNegBrBit},
    {CCNumberFormat::kSetNegRed, Field::A, CCNumberFormat::kNegRedBit},
    {CCNumberFormat::kSetLTStringMode, Field::A, CCNumberFormat::kLeadingBit},
    {CCNumberFormat::kSetLTString, Field::Slot, 0},
    {CCNumberFormat::kSetTimeRange, Field::B, CCNumberFormat::kTimeRangeBit},
    {CCNumberFormat::kSetTimeSeconds, Field::B, CCNumberFormat::kTimeSecondsBit},
    {CCNumberFormat::kSetTime, Field::B, CCNumberFormat::kTimeBit},
    {CCNumberFormat::kSetDelimiter, Field::Slot, 0},
    {CCNumberFormat::kSetMonthType, Field::B, CCNumberFormat::kMonthTypeBits},
    {CCNumberFormat::kSetYearType, Field::B, CCNumberFormat::kYearTypeBits},
    {CCNumberFormat::kSetMDOrder, Field::B, CCNumberFormat::kMDOrderBit},
};
static_assert(std::size(kAttributes) == 13, "every set bit but the kind's");

const Attribute& AttributeOf(uint16_t bit) {
    for (const auto& a : kAttributes)
        if (a.bit == bit) return a;
    return kAttributes[0];
}

}  // namespace

unsigned CCNumberFormat::AttributeValue(uint16_t maskBit) const {
    if (maskBit == kSetType) return m_type;
    const Attribute& a = AttributeOf(maskBit);
    switch (a.field) {
        case Field::A:
            return m_flagsA & a.bits;
        case Field::B:
            return m_flagsB & a.bits;
        case Field::Slot:
            return m_slot;
    }
    return 0;
}

void CCNumberFormat::CopyAttribute(const CCNumberFormat& from, uint16_t maskBit) {
    if (maskBit == kSetType) {
        m_type = from.m_type;
        return;
    }
    const Attribute& a = AttributeOf(maskBit);
    switch (a.field) {
        case Field::A:
            m_flagsA = static_cast<uint8_t>((m_flagsA & ~a.bits) | (from.m_flagsA & a.bits));
            break;
        case Field::B:
            m_flagsB = static_cast<uint8_t>((m_flagsB & ~a.bits) | (from.m_flagsB & a.bits));
            break;
        case Field::Slot:
            m_slot = from.m_slot;
            break;
    }
}

void CCNumberFormat::set(const CCNumberFormat& other) {
    if (&other == this) return;
    m_type = other.m_type;
    m_setMask |= other.m_setMask & kSetType;
    for (const auto& a : kAttributes) {
        if (other.m_setMask & a.bit) {
            CopyAttribute(other, a.bit);
            m_setMask |= a.bit;
        }
    }
    CopyCustom(other);
}

void CCNumberFormat::copy(const CCNumberFormat& other) {
    if (&other == this) return;
    m_setMask = 0;
    set(other);
}

void CCNumberFormat::flattern(const CCNumberFormat& base, CCNumberFormat& out) const {
    if (&out == this || &out == &base) {
        CCNumberFormat top(*this, RawCopy{});
        CCNumberFormat bottom(base, RawCopy{});
        out.m_setMask = 0;
        out.set(bottom);
        out.set(top);
        return;
    }
    out.m_setMask = 0;
    out.set(base);
    out.set(*this);
}

void CCNumberFormat::merge(const CCNumberFormat& other, uint16_t mask) {
    CCNumberFormat limited(other, RawCopy{});
    limited.m_setMask &= mask;
    set(limited);
}

void CCNumberFormat::extract(CCNumberFormat& out, uint16_t mask) const {
    CCNumberFormat limited(*this, RawCopy{});
    limited.m_setMask = mask;
    extractCommons(limited, out);
}

void CCNumberFormat::extractCommons(const CCNumberFormat& other, CCNumberFormat& out) const {
    // An attribute is copied only where both values are equal, so out may be either operand.
    uint16_t common = m_setMask & other.m_setMask;
    bool sameType = m_type == other.m_type;
    out.m_setMask = common;
    if (sameType)
        out.m_type = m_type;
    else
        out.m_setMask &= ~kSetType;
    for (const auto& a : kAttributes) {
        if (!(common & a.bit)) continue;
        if (AttributeValue(a.bit) == other.AttributeValue(a.bit))
            out.CopyAttribute(*this, a.bit);
        else
            out.m_setMask &= ~a.bit;
    }
}

void CCNumberFormat::mergeCommons(const CCNumberFormat& other) {
    m_type = other.m_type;
    uint16_t common = m_setMask & other.m_setMask;
    for (const auto& a : kAttributes)
        if (common & a.bit) CopyAttribute(other, a.bit);
}

void CCNumberFormat::substract(const CCNumberFormat& other, CCNumberFormat& out) const {
    if (&out == &other) {
        // The two slot attributes share one field: compare against the untouched values.
        CCNumberFormat before(other, RawCopy{});
        substract(before, out);
        return;
    }
    uint16_t common = m_setMask & other.m_setMask;
    out.m_setMask = common;
    if (m_type != other.m_type)
        out.m_type = m_type;
    else
        out.m_setMask &= ~kSetType;
    for (const auto& a : kAttributes) {
        if (!(common & a.bit)) continue;
        if (AttributeValue(a.bit) != other.AttributeValue(a.bit))
            out.CopyAttribute(*this, a.bit);
        else
            out.m_setMask &= ~a.bit;
    }
}
