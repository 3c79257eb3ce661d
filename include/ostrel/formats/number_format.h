// SPDX-License-Identifier: Apache-2.0
/// \file
/// CCNumberFormat: how a number is displayed. A kind (general, number, currency, ...), packed
/// options (decimals, grouping, negatives, date and time sub-formats, a unit text) or a custom
/// format code; every attribute carries a "set" bit, so a format can also be a partial overlay
/// that the attribute algebra combines with others.
#pragma once

#include <cstdint>
#include <string_view>

#include "ostrel/export.h"
#include "ostrel/formats/interned_code.h"
#include "ostrel/platform/string_types.h"

namespace ostrel::platform {
class CArchive;
class CWideOutStream;
}  // namespace ostrel::platform
namespace cells {
struct LCTX;
}

/// Kinds.
constexpr unsigned char C_NF_GENERAL = 0;
constexpr unsigned char C_NF_NUMBER = 1;
constexpr unsigned char C_NF_CURRENCY = 2;
constexpr unsigned char C_NF_PERCENT = 3;
constexpr unsigned char C_NF_FRACTION = 4;
constexpr unsigned char C_NF_SCIENTIFIC = 5;
constexpr unsigned char C_NF_TIME = 6;
constexpr unsigned char C_NF_DATE = 7;
constexpr unsigned char C_NF_BOOL = 8;
constexpr unsigned char C_NF_HEX = 9;
constexpr unsigned char C_NF_OCT = 10;
constexpr unsigned char C_NF_BIN = 11;

class OSTREL_API CCNumberFormat {
public:
    /// Set-mask bits, one per attribute. 0x4000 and 0x8000 belong to no attribute.
    static constexpr uint16_t kSetType = 0x0001;
    static constexpr uint16_t kSetPrecision = 0x0002;
    static constexpr uint16_t kSetCommas = 0x0004;
    static constexpr uint16_t kSetNegBr = 0x0008;
    static constexpr uint16_t kSetNegRed = 0x0010;
    static constexpr uint16_t kSetLTStringMode = 0x0020;
    static constexpr uint16_t kSetLTString = 0x0040;
    static constexpr uint16_t kSetTimeRange = 0x0080;
    static constexpr uint16_t kSetTimeSeconds = 0x0100;
    static constexpr uint16_t kSetTime = 0x0200;
    static constexpr uint16_t kSetDelimiter = 0x0400;
    static constexpr uint16_t kSetMonthType = 0x0800;
    static constexpr uint16_t kSetYearType = 0x1000;
    static constexpr uint16_t kSetMDOrder = 0x2000;

    /// Flag byte A.
    static constexpr uint8_t kPrecisionBits = 0x0F;
    static constexpr uint8_t kCommasBit = 0x10;
    static constexpr uint8_t kNegBrBit = 0x20;
    static constexpr uint8_t kNegRedBit = 0x40;
    static constexpr uint8_t kLeadingBit = 0x80;
    /// Flag byte B.
    static constexpr uint8_t kTimeRangeBit = 0x01;
    static constexpr uint8_t kTimeSecondsBit = 0x02;
    static constexpr uint8_t kTimeBit = 0x04;
    static constexpr uint8_t kMonthTypeBits = 0x18;
    static constexpr uint8_t kYearTypeBits = 0x60;
    static constexpr uint8_t kMDOrderBit = 0x80;

    /// General, no options, mask 0x003D (kind, commas, brackets, red, unit-text mode).
    CCNumberFormat();
    /// The invariant locale's default for the kind, then Set(kind).
    explicit CCNumberFormat(unsigned char kind);
    /// Copies take a custom code through setCustomFormat, so the kind follows the code; a
    /// classic format (nearly every value's) copies its fields inline.
    CCNumberFormat(const CCNumberFormat& other) { *this = other; }
    CCNumberFormat& operator=(const CCNumberFormat& other) {
        if (other.m_custom) return AssignCustom(other);
        CopyClassicFields(other);
        m_custom = false;
        m_code.clear();
        return *this;
    }
    ~CCNumberFormat() = default;

    /// Clears the mask and every option, stores the kind (without its set bit) and fills the
    /// locale's default for it. A null context means the invariant locale.
    void SetDefault(cells::LCTX* lctx, unsigned char kind);
    /// Makes the format a classic one of this kind with cleared options (dates take the
    /// invariant locale's default date sub-format).
    void Set(unsigned char kind);
    void Set(const CCNumberFormat& other) { *this = other; }

    /// Kind.
    unsigned char getType() const { return m_type; }
    void setType(unsigned char kind) { m_type = kind; }
    bool isType() const { return true; }
    int GetType() const { return m_type; }
    /// Stores the kind, marks it set and drops a custom code.
    void SetType(int kind);

    /// Lower-case family: get returns the raw bits (0/1 for flags); set stores the value
    /// (multi-bit fields keep its low bits, flags take any non-zero as on) and marks the
    /// attribute set; is tests the set bit; clear clears only the set bit.
    unsigned char getPrecision() const { return m_flagsA & kPrecisionBits; }
    void setPrecision(unsigned char v) { SetBits(m_flagsA, kPrecisionBits, v, kSetPrecision); }
    bool isPrecision() const { return m_setMask & kSetPrecision; }
    void clearPrecision() { m_setMask &= ~kSetPrecision; }

    unsigned char getCommas() const { return Flag(m_flagsA, kCommasBit); }
    void setCommas(unsigned char v) { SetFlag(m_flagsA, kCommasBit, v, kSetCommas); }
    bool isCommas() const { return m_setMask & kSetCommas; }
    void clearCommas() { m_setMask &= ~kSetCommas; }

    unsigned char getNegBr() const { return Flag(m_flagsA, kNegBrBit); }
    void setNegBr(unsigned char v) { SetFlag(m_flagsA, kNegBrBit, v, kSetNegBr); }
    bool isNegBr() const { return m_setMask & kSetNegBr; }
    void clearNegBr() { m_setMask &= ~kSetNegBr; }

    unsigned char getNegRed() const { return Flag(m_flagsA, kNegRedBit); }
    void setNegRed(unsigned char v) { SetFlag(m_flagsA, kNegRedBit, v, kSetNegRed); }
    bool isNegRed() const { return m_setMask & kSetNegRed; }
    void clearNegRed() { m_setMask &= ~kSetNegRed; }

    /// 1 leading, 0 trailing.
    unsigned char getLTStringMode() const { return Flag(m_flagsA, kLeadingBit); }
    void setLTStringMode(unsigned char v) { SetFlag(m_flagsA, kLeadingBit, v, kSetLTStringMode); }
    bool isLTStringMode() const { return m_setMask & kSetLTStringMode; }
    void clearLTStringMode() { m_setMask &= ~kSetLTStringMode; }

    /// The text slot as stored: index + 1 of the unit text (0 none).
    char16_t getLTString() const { return m_slot; }
    void setLTString(char16_t slot) {
        m_slot = slot;
        m_setMask |= kSetLTString;
    }
    bool isLTString() const { return m_setMask & kSetLTString; }
    void clearLTString() { m_setMask &= ~kSetLTString; }

    unsigned char getTimeRange() const { return Flag(m_flagsB, kTimeRangeBit); }
    void setTimeRange(unsigned char v) { SetFlag(m_flagsB, kTimeRangeBit, v, kSetTimeRange); }
    bool isTimeRange() const { return m_setMask & kSetTimeRange; }
    void clearTimeRange() { m_setMask &= ~kSetTimeRange; }

    unsigned char getTimeSeconds() const { return Flag(m_flagsB, kTimeSecondsBit); }
    void setTimeSeconds(unsigned char v) { SetFlag(m_flagsB, kTimeSecondsBit, v, kSetTimeSeconds); }
    bool isTimeSeconds() const { return m_setMask & kSetTimeSeconds; }
    void clearTimeSeconds() { m_setMask &= ~kSetTimeSeconds; }

    /// Time after the date.
    unsigned char getTime() const { return Flag(m_flagsB, kTimeBit); }
    void setTime(unsigned char v) { SetFlag(m_flagsB, kTimeBit, v, kSetTime); }
    bool isTime() const { return m_setMask & kSetTime; }
    void clearTime() { m_setMask &= ~kSetTime; }

    /// 0 long name, 1 short name, 2 two digits, 3 nothing.
    unsigned char getMonthType() const { return (m_flagsB & kMonthTypeBits) >> 3; }
    void setMonthType(unsigned char v) {
        SetBits(m_flagsB, kMonthTypeBits, static_cast<uint8_t>(v << 3), kSetMonthType);
    }
    bool isMonthType() const { return m_setMask & kSetMonthType; }
    void clearMonthType() { m_setMask &= ~kSetMonthType; }

    /// 0 full year, 1 none, 2 two digits, 3 none.
    unsigned char getYearType() const { return (m_flagsB & kYearTypeBits) >> 5; }
    void setYearType(unsigned char v) {
        SetBits(m_flagsB, kYearTypeBits, static_cast<uint8_t>(v << 5), kSetYearType);
    }
    bool isYearType() const { return m_setMask & kSetYearType; }
    void clearYearType() { m_setMask &= ~kSetYearType; }

    /// 1: day before month.
    unsigned char getMDOrder() const { return Flag(m_flagsB, kMDOrderBit); }
    void setMDOrder(unsigned char v) { SetFlag(m_flagsB, kMDOrderBit, v, kSetMDOrder); }
    bool isMDOrder() const { return m_setMask & kSetMDOrder; }
    void clearMDOrder() { m_setMask &= ~kSetMDOrder; }

    /// The date delimiter shares the text slot with the unit text (0: the locale's).
    char16_t getDelimiter() const { return m_slot; }
    void setDelimiter(char16_t c) {
        m_slot = c;
        m_setMask |= kSetDelimiter;
    }
    bool isDelimiter() const { return m_setMask & kSetDelimiter; }
    void clearDelimiter() { m_setMask &= ~kSetDelimiter; }

    /// Upper-case family: Set stores and marks set. GetCommas, GetNegBr, GetNegRed,
    /// GetTimeSeconds and GetTime return the bit itself (16, 32, 64, 2, 4).
    int GetPrecision() const { return getPrecision(); }
    void SetPrecision(int v) { setPrecision(static_cast<unsigned char>(v)); }
    int GetCommas() const { return m_flagsA & kCommasBit; }
    void SetCommas(int v) { setCommas(v != 0); }
    int GetNegBr() const { return m_flagsA & kNegBrBit; }
    void SetNegBr(int v) { setNegBr(v != 0); }
    int GetNegRed() const { return m_flagsA & kNegRedBit; }
    void SetNegRed(int v) { setNegRed(v != 0); }
    /// 0 without a unit text, else 1 leading, 2 trailing.
    int GetLTStringMode() const;
    /// Mode 1 leading, 2 trailing (an empty slot becomes the first list entry), any other
    /// mode drops the unit text.
    void SetLTStringMode(int mode);
    /// The list index of the unit text (-1 none).
    int GetLTString() const { return static_cast<int>(m_slot) - 1; }
    void SetLTString(int index);
    void SetLTString(int index, int mode);
    bool IsLTString() const { return m_type == C_NF_NUMBER && m_slot != 0; }
    int GetTimeRange() const { return getTimeRange(); }
    /// Only exactly 1 means the 24-hour clock.
    void SetTimeRange(int v) { setTimeRange(v == 1); }
    int GetTimeSeconds() const { return m_flagsB & kTimeSecondsBit; }
    void SetTimeSeconds(int v) { setTimeSeconds(v != 0); }
    int GetTime() const { return m_flagsB & kTimeBit; }
    void SetTime(int v) { setTime(v != 0); }
    int GetMonthType() const { return getMonthType(); }
    void SetMonthType(int v) { setMonthType(static_cast<unsigned char>(v)); }
    int GetYearType() const { return getYearType(); }
    void SetYearType(int v) { setYearType(static_cast<unsigned char>(v)); }
    int GetMDOrder() const { return getMDOrder(); }
    /// Only exactly 1 means day first.
    void SetMDOrder(int v) { setMDOrder(v == 1); }
    int GetDelimiter() const { return m_slot; }
    void SetDelimiter(int c) { setDelimiter(static_cast<char16_t>(c)); }

    uint16_t getSetMask() const { return m_setMask; }
    void setSetMask(uint16_t mask) { m_setMask = mask; }
    uint16_t getCommonSetMask(const CCNumberFormat& other) const {
        return m_setMask & other.m_setMask;
    }
    const ostrel::platform::CString& getFormatString() const { return m_code.str(); }
    bool isCustomFormat() const { return m_custom; }
    /// Makes the format custom with this code; the code is registered with the format-code
    /// cache and the kind becomes the category the parsed code reports (0 when unknown).
    void setCustomFormat(std::u16string_view code);

    /// Attribute algebra over the fourteen set bits.
    /// Takes the kind and every attribute that other sets; a custom code as operator=.
    void set(const CCNumberFormat& other);
    void copy(const CCNumberFormat& other);
    /// out = base overlaid with this format.
    void flattern(const CCNumberFormat& base, CCNumberFormat& out) const;
    /// set() of other limited to mask.
    void merge(const CCNumberFormat& other, uint16_t mask);
    /// out receives this format's attributes limited to mask.
    void extract(CCNumberFormat& out, uint16_t mask) const;
    /// out keeps the attributes both set with equal values.
    void extractCommons(const CCNumberFormat& other, CCNumberFormat& out) const;
    /// The kind, and each attribute both set, take other's value.
    void mergeCommons(const CCNumberFormat& other);
    /// out keeps (with this format's values) the attributes both set with different values.
    void substract(const CCNumberFormat& other, CCNumberFormat& out) const;

    /// Packed forms: five bytes kind, A, B, slot (u16 little-endian); ReadBuff restores
    /// those fields and drops a custom code, leaving the set mask. GetData packs
    /// kind<<24 | A<<16 | B<<8 | low byte of the slot; SetData sets the mask to 0x3BBF.
    void FillBuff(unsigned char* buffer) const;
    void ReadBuff(const unsigned char* buffer);
    uint32_t GetData() const;
    void SetData(uint32_t data);

    /// Archive forms. Read leaves the format unchanged when the stream ends early or is
    /// malformed (the archive exception passes through). The older form stores the text slot
    /// as one byte of the 8-bit code page; ReadA sets the mask to 0xFFFF.
    void Write(ostrel::platform::CArchive& ar) const;
    /// Whether Write writes the same bytes for both formats (so that Read gives one format
    /// back for either): cheap enough to ask once per value.
    bool HasSameStreamForm(const CCNumberFormat& other) const {
        return m_setMask == other.m_setMask && m_type == other.m_type &&
               m_flagsA == other.m_flagsA && m_flagsB == other.m_flagsB && m_slot == other.m_slot &&
               m_custom == other.m_custom && (!m_custom || m_code == other.m_code);
    }
    void Read(ostrel::platform::CArchive& ar);
    void WriteA(ostrel::platform::CArchive& ar) const;
    void ReadA(ostrel::platform::CArchive& ar);

    /// Display (null contexts mean the invariant locale). Non-finite values print the text of
    /// error code 3. With full set, a custom format prints by its kind instead of its code.
    void Print(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
               int full) const;
    /// As Print, but a Number format takes this unit text instead of its list entry.
    void Print(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
               std::u16string_view unitText, int full) const;
    void PrintGeneral(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value) const;
    void PrintNumber(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
                     std::u16string_view unitText, int full) const;
    void PrintNumber(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
                     int full) const;
    void PrintCurrency(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
                       int full) const;
    void PrintPercent(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
                      int full) const;
    void PrintFraction(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
                       int full) const;
    void PrintScientific(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out,
                         double value) const;
    void PrintTime(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value) const;
    void PrintTime(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, int hour, int minute,
                   int second) const;
    void PrintDate(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value) const;
    void PrintDate(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, int day, int month,
                   int year) const;
    void PrintBool(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value) const;
    /// The value truncated to a 32-bit integer (two's complement for negatives); a value that
    /// does not fit, or is not finite, is taken as 0x80000000.
    void PrintHex(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value) const;
    void PrintOct(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value) const;
    void PrintBin(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value) const;

    /// 1 when both display alike: classic formats by the attributes their kind uses, a
    /// classic and a custom one by the classic's converted code, two custom ones by code.
    int IsEqual(cells::LCTX* lctx, const CCNumberFormat& other) const;
    /// Stores the format code a classic format corresponds to in the code field (a custom
    /// format keeps its code). The custom flag is not changed.
    void convertToFormatString(cells::LCTX* lctx);
    /// The code convertToFormatString would store, without changing the format.
    ostrel::platform::CString getConvertedFormatString(cells::LCTX* lctx) const;

protected:
    /// The magnitude of value in the kind's digits, separators and grouping.
    void PrintGeneralNumber(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
                            int full) const;
    /// Walks a currency pattern: '#' the number, '$' the currency, '-' the negative sign.
    void PrintFormatNumber(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
                           std::u16string_view pattern, int full) const;
    void PrintMonth(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, int month) const;
    void PrintYear(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, int year) const;

private:
    /// A copy of every field as it stands, the custom code included without registering it
    /// again: for the algebra's temporaries, whose kind must not change.
    struct RawCopy {};
    CCNumberFormat(const CCNumberFormat& other, RawCopy);

    static unsigned char Flag(uint8_t byte, uint8_t bit) { return (byte & bit) ? 1 : 0; }
    void SetBits(uint8_t& byte, uint8_t bits, uint8_t value, uint16_t maskBit) {
        byte = static_cast<uint8_t>((byte & ~bits) | (value & bits));
        m_setMask |= maskBit;
    }
    void SetFlag(uint8_t& byte, uint8_t bit, unsigned char on, uint16_t maskBit) {
        byte = static_cast<uint8_t>(on ? (byte | bit) : (byte & ~bit));
        m_setMask |= maskBit;
    }
    void CopyClassicFields(const CCNumberFormat& other) {
        m_setMask = other.m_setMask;
        m_type = other.m_type;
        m_flagsA = other.m_flagsA;
        m_flagsB = other.m_flagsB;
        m_slot = other.m_slot;
    }
    void CopyCustom(const CCNumberFormat& other);
    CCNumberFormat& AssignCustom(const CCNumberFormat& other);
    void ApplyLTStringMode(int mode);
    void PrintDigits(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, double value,
                     int full, int precision) const;
    void PrintDateParts(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, int day,
                        int month, int year, bool japanese) const;
    void PrintYearText(ostrel::platform::CWideOutStream& out, int year, bool japanese) const;
    void PrintDay(cells::LCTX* lctx, ostrel::platform::CWideOutStream& out, int day) const;
    void AppendTimeCode(ostrel::platform::CString& code) const;

    /// The value of one attribute (by its set bit), for the algebra.
    unsigned AttributeValue(uint16_t maskBit) const;
    void CopyAttribute(const CCNumberFormat& from, uint16_t maskBit);

    /// Ordered so that the whole record takes twelve bytes: every cell value holds one.
    uint16_t m_setMask = 0x003D;
    uint8_t m_type = C_NF_GENERAL;
    uint8_t m_flagsA = 0;
    uint8_t m_flagsB = 0;
    bool m_custom = false;
    char16_t m_slot = 0;
    CInternedCode m_code;
};
