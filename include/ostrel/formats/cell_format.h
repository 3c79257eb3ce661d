// SPDX-License-Identifier: Apache-2.0
/// \file
/// CCCellFormat: the engine's part of a cell's formatting, a number format and five
/// protection and display flags, as a small fixed-size value. The number format is held as an
/// index into the process-wide number format table. Every attribute carries a "set" bit, so
/// a cell format can be complete or partial (a style, an edit applied to a selection), and
/// two algebra families combine partial formats.
///
/// Number formats are interned by exact identity (CCNumberFormatTable::AddExact), not by
/// IsEqual: two cell formats whose number formats display alike but differ in a set bit or
/// in the leading/trailing bit of a unit text hold different indexes, and so do the cell
/// formats themselves in the process-wide cell format table. IsEqual still calls them equal.
#pragma once

#include <cstdint>

#include "ostrel/export.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/instance_counter.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform

class OSTREL_API CCCellFormat : public ostrel::debug::CInstanceCounter<CCCellFormat> {
public:
    /// Set-mask bits (the upper-case family).
    static constexpr uint16_t kSetNF = 0x0001;
    static constexpr uint16_t kSetNFType = 0x0002;
    static constexpr uint16_t kSetNFPrecision = 0x0004;
    static constexpr uint16_t kSetNFCommas = 0x0008;
    static constexpr uint16_t kSetLock = 0x0010;
    static constexpr uint16_t kSetHide = 0x0020;
    static constexpr uint16_t kSetEditSource = 0x0040;
    static constexpr uint16_t kSetHideError = 0x0080;
    static constexpr uint16_t kSetHideZero = 0x0100;
    static constexpr uint16_t kNFBits = 0x000F;
    static constexpr uint16_t kStyleBits = 0x01F0;
    static constexpr uint16_t kAllBits = 0x01FF;

    /// Flag bits, also the flag-mask bits of the lower-case family.
    static constexpr uint16_t kLock = 0x01;
    static constexpr uint16_t kHide = 0x02;
    static constexpr uint16_t kEditSource = 0x04;
    static constexpr uint16_t kErrorHidden = 0x08;
    static constexpr uint16_t kZeroHidden = 0x10;
    static constexpr uint16_t kAllFlags = 0x1F;

    /// Size of the packed form: set mask (u16), number format index (i32), flags (u16).
    static constexpr int kBuffSize = 8;

    /// Masks, index and flags 0: the number format is the table's first entry, General.
    CCCellFormat() = default;
    CCCellFormat(const CCCellFormat& other) = default;
    CCCellFormat& operator=(const CCCellFormat& other) = default;
    ~CCCellFormat() = default;
    void Set(const CCCellFormat& other) { *this = other; }

    /// A complete format: General, every flag off, every part but kind, precision and commas
    /// set (0x01F1). Set-mask bits above the nine parts are kept.
    void InitDefault();

    /// Lower-case family: the flags under the flag mask. get answers 0 or 1; set stores the
    /// flag (any non-zero is on) and marks it; is tests the mark; clear removes it.
    unsigned char getLock() const { return Flag(kLock); }
    void setLock(unsigned char v) { SetFlagMasked(kLock, v); }
    bool isLock() const { return m_flagMask & kLock; }
    void clearLock() { m_flagMask &= ~kLock; }
    unsigned char getHide() const { return Flag(kHide); }
    void setHide(unsigned char v) { SetFlagMasked(kHide, v); }
    bool isHide() const { return m_flagMask & kHide; }
    void clearHide() { m_flagMask &= ~kHide; }
    unsigned char getEditSource() const { return Flag(kEditSource); }
    void setEditSource(unsigned char v) { SetFlagMasked(kEditSource, v); }
    bool isEditSource() const { return m_flagMask & kEditSource; }
    void clearEditSource() { m_flagMask &= ~kEditSource; }
    unsigned char getErrorHidden() const { return Flag(kErrorHidden); }
    void setErrorHidden(unsigned char v) { SetFlagMasked(kErrorHidden, v); }
    bool isErrorHidden() const { return m_flagMask & kErrorHidden; }
    void clearErrorHidden() { m_flagMask &= ~kErrorHidden; }
    unsigned char getZeroHidden() const { return Flag(kZeroHidden); }
    void setZeroHidden(unsigned char v) { SetFlagMasked(kZeroHidden, v); }
    bool isZeroHidden() const { return m_flagMask & kZeroHidden; }
    void clearZeroHidden() { m_flagMask &= ~kZeroHidden; }
    uint16_t getFlagMask() const { return m_flagMask; }

    /// Upper-case family: the flags under the set mask. Get answers the flag's bit itself
    /// (GetHide gives 2); Set stores the flag (any non-zero is on) and sets the part's bit.
    int GetLock() const { return m_flags & kLock; }
    void SetLock(int v) { SetFlagPart(kLock, kSetLock, v); }
    bool IsLock() const { return m_setMask & kSetLock; }
    void ClearLock() { m_setMask &= ~kSetLock; }
    int GetHide() const { return m_flags & kHide; }
    void SetHide(int v) { SetFlagPart(kHide, kSetHide, v); }
    bool IsHide() const { return m_setMask & kSetHide; }
    void ClearHide() { m_setMask &= ~kSetHide; }
    int GetEditSource() const { return m_flags & kEditSource; }
    void SetEditSource(int v) { SetFlagPart(kEditSource, kSetEditSource, v); }
    bool IsEditSource() const { return m_setMask & kSetEditSource; }
    void ClearEditSource() { m_setMask &= ~kSetEditSource; }
    int GetHideError() const { return m_flags & kErrorHidden; }
    void SetHideError(int v) { SetFlagPart(kErrorHidden, kSetHideError, v); }
    bool IsHideError() const { return m_setMask & kSetHideError; }
    void ClearHideError() { m_setMask &= ~kSetHideError; }
    int GetHideZero() const { return m_flags & kZeroHidden; }
    void SetHideZero(int v) { SetFlagPart(kZeroHidden, kSetHideZero, v); }
    bool IsHideZero() const { return m_setMask & kSetHideZero; }
    void ClearHideZero() { m_setMask &= ~kSetHideZero; }

    /// The part is set and the flag on.
    bool IsLocked() const { return IsLock() && GetLock(); }
    bool IsHidden() const { return IsHide() && GetHide(); }
    bool IsErrorHidden() const { return IsHideError() && GetHideError(); }
    bool IsZeroHidden() const { return IsHideZero() && GetHideZero(); }

    uint16_t GetSetMask() const { return m_setMask; }
    bool IsEmpty() const { return (m_setMask & kAllBits) == 0; }
    bool IsNF() const { return m_setMask & kNFBits; }
    void ClearNF() { m_setMask &= ~kNFBits; }
    bool IsStyle() const { return m_setMask & kStyleBits; }

    /// Number format, through the process-wide table (an index outside it reads entry 0).
    const CCNumberFormat& GetNumberFormatW() const;
    void GetNumberFormatW(CCNumberFormat& out) const { out = GetNumberFormatW(); }
    const CCNumberFormat& GetNFmt() const { return GetNumberFormatW(); }
    int GetNFIndex() const { return m_nfIndex; }
    /// Interns nf (exact identity) and refers to it; no set bit changes.
    void PutNFmt(const CCNumberFormat& nf);
    /// Sets the number format part.
    void SetNumberFormat(const CCNumberFormat& nf);
    /// Sets the number format part to the current number format with nf's attributes set
    /// onto it.
    void MergeNumberFormat(const CCNumberFormat& nf);
    bool IsNumberFormat() const { return m_setMask & kSetNF; }
    void ClearNumberFormat() { m_setMask &= ~kSetNF; }

    /// One attribute of the number format changed in a copy that is then interned. A kind
    /// change drops a custom code.
    void SetNFType(int kind);
    int GetNFType() const { return GetNFmt().GetType(); }
    bool IsNFType() const { return m_setMask & kSetNFType; }
    void ClearNFType() { m_setMask &= ~kSetNFType; }
    void SetNFPrecision(int precision);
    int GetNFPrecision() const { return GetNFmt().GetPrecision(); }
    bool IsNFPrecision() const { return m_setMask & kSetNFPrecision; }
    void ClearNFPrecision() { m_setMask &= ~kSetNFPrecision; }
    void SetNFCommas(int commas);
    /// The commas bit itself (16), not 1.
    int GetNFCommas() const { return GetNFmt().GetCommas(); }
    bool IsNFCommas() const { return m_setMask & kSetNFCommas; }
    void ClearNFCommas() { m_setMask &= ~kSetNFCommas; }

    /// The unit-text list index of the number format (-1 none).
    int GetNFLTString() const { return GetNFmt().GetLTString(); }
    /// The number format part is set and is a Number format with a unit text.
    bool IsNFLTString() const { return IsNumberFormat() && GetNFmt().IsLTString(); }

    /// Clears those set-mask bits; the flags and the flag mask become 0.
    void Clear(unsigned short mask);

    /// Kept for callers written against the arithmetic form; combining goes through Merge, so
    /// both leave the format as it is.
    CCCellFormat operator-(const CCCellFormat& other) const;
    CCCellFormat& operator+=(const CCCellFormat& other);

    /// Packed form, little-endian: set mask, number format index, flags. ReadBuff keeps the
    /// flag mask.
    void FillBuff(unsigned char* buffer) const;
    void ReadBuff(const unsigned char* buffer);
    /// The three packed fields are equal.
    bool IsSame(const CCCellFormat& other) const;

    /// Archive form: u16 set mask, u8 flags, then the number format. Read interns the number
    /// format it reads; a stream that ends early or is malformed raises the archive
    /// exception and leaves the format unchanged. The flag mask is not stored.
    void Write(ostrel::platform::CArchive& ar) const;
    void Read(ostrel::platform::CArchive& ar);

    /// Set-mask algebra.
    /// Takes over every part other sets; a format that sets nothing becomes a copy of other.
    void Merge(const CCCellFormat& other);
    /// As Merge, but a part both set with different values keeps this value and its bit is
    /// added to conflicts: the common format of several cells and where they differ.
    void Merge(const CCCellFormat& other, unsigned short& conflicts);
    /// Applies a relative to b: each part a sets is taken over, unless b sets it with the
    /// same value, which clears it here. Kind, precision and commas only count when a's
    /// number format is not custom.
    void Merge(const CCCellFormat& a, const CCCellFormat& b);
    /// Clears each part both set with equal values.
    void Clear(const CCCellFormat& other);
    /// The same parts set, each with an equal value (number formats by IsEqual under the
    /// invariant locale).
    int IsEqual(const CCCellFormat& other) const;

    /// Flag-mask algebra: the number format under its own set mask, the flags under the flag
    /// mask; the rules of the number format operations of the same names.
    void set(const CCCellFormat& other);
    /// Only the flag step of set.
    void setNoNumF(const CCCellFormat& other);
    /// out overlaid with base, then with this (out's own marks are not cleared first).
    void flattern(const CCCellFormat& base, CCCellFormat& out) const;
    void merge(const CCCellFormat& other, uint16_t flagMask, uint16_t nfMask);
    void extract(CCCellFormat& out, uint16_t flagMask, uint16_t nfMask) const;
    void extractCommons(const CCCellFormat& other, CCCellFormat& out) const;
    void mergeCommons(const CCCellFormat& other);
    void substract(const CCCellFormat& other, CCCellFormat& out) const;

private:
    friend class CCCellFormatTable;  // its identity index reads every field

    unsigned char Flag(uint16_t bit) const { return (m_flags & bit) ? 1 : 0; }
    void SetFlagBit(uint16_t bit, bool on) {
        m_flags = static_cast<uint16_t>(on ? (m_flags | bit) : (m_flags & ~bit));
    }
    void SetFlagMasked(uint16_t bit, unsigned char v) {
        SetFlagBit(bit, v != 0);
        m_flagMask |= bit;
    }
    void SetFlagPart(uint16_t bit, uint16_t part, int v) {
        SetFlagBit(bit, v != 0);
        m_setMask |= part;
    }
    void CopyFlags(const CCCellFormat& from, uint16_t bits) {
        m_flags = static_cast<uint16_t>((m_flags & ~bits) | (from.m_flags & bits));
    }

    uint16_t m_flagMask = 0;
    uint16_t m_setMask = 0;
    int32_t m_nfIndex = 0;
    uint16_t m_flags = 0;  // low byte used
};
