// SPDX-License-Identifier: Apache-2.0
// The two algebras of partial cell formats: the set-mask family (Merge, Clear, IsEqual),
// which treats the number format, its kind, precision and commas and the five flags as
// nine parts, and the flag-mask family (set, merge, extract, ...), which applies the number
// format algebra to the interned number formats and the same rules to the flags.
#include <iterator>

#include "ostrel/formats/cell_format.h"
#include "ostrel/formats/number_format_table.h"
#include "ostrel/formula/lctx.h"

namespace {

struct FlagPart {
    uint16_t flag;
    uint16_t part;
};

constexpr FlagPart kFlagParts[] = {
    {CCCellFormat::kLock, CCCellFormat::kSetLock},
    {CCCellFormat::kHide, CCCellFormat::kSetHide},
    {CCCellFormat::kEditSource, CCCellFormat::kSetEditSource},
    {CCCellFormat::kErrorHidden, CCCellFormat::kSetHideError},
    {CCCellFormat::kZeroHidden, CCCellFormat::kSetHideZero},
};
static_assert(std::size(kFlagParts) == 5, "every flag");

// The three number-format attributes that are parts of their own.
struct NFPart {
    uint16_t part;
    int (CCCellFormat::*get)() const;
    void (CCCellFormat::*set)(int);
};

constexpr NFPart kNFParts[] = {
    {CCCellFormat::kSetNFType, &CCCellFormat::GetNFType, &CCCellFormat::SetNFType},
    {CCCellFormat::kSetNFPrecision, &CCCellFormat::GetNFPrecision, &CCCellFormat::SetNFPrecision},
    {CCCellFormat::kSetNFCommas, &CCCellFormat::GetNFCommas, &CCCellFormat::SetNFCommas},
};

bool SameNumberFormat(const CCCellFormat& a, const CCCellFormat& b) {
    if (a.GetNFIndex() == b.GetNFIndex()) return true;
    return a.GetNFmt().IsEqual(cells::invariant_LCTX(), b.GetNFmt()) != 0;
}

}  // namespace

void CCCellFormat::Merge(const CCCellFormat& other) {
    if (other.IsEmpty() || &other == this) return;
    if (IsEmpty()) {
        *this = other;
        return;
    }
    if (other.IsNumberFormat()) SetNumberFormat(other.GetNFmt());
    for (const auto& p : kNFParts)
        if (other.m_setMask & p.part) (this->*p.set)((other.*p.get)());
    for (const auto& p : kFlagParts)
        if (other.m_setMask & p.part) SetFlagPart(p.flag, p.part, other.m_flags & p.flag);
}

void CCCellFormat::Merge(const CCCellFormat& other, unsigned short& conflicts) {
    if (other.IsEmpty() || &other == this) return;
    if (IsEmpty()) {
        *this = other;
        return;
    }
    // Kind, precision and commas are read from the number format, which taking over
    // other's number format replaces: compare and keep the values this format had.
    int before[std::size(kNFParts)];
    for (size_t i = 0; i < std::size(kNFParts); ++i)
        before[i] = (this->*kNFParts[i].get)();
    bool replaced = false;
    if (other.IsNumberFormat()) {
        if (IsNumberFormat() && !SameNumberFormat(*this, other)) {
            conflicts |= kSetNF;
        } else {
            SetNumberFormat(other.GetNFmt());
            replaced = true;
        }
    }
    for (size_t i = 0; i < std::size(kNFParts); ++i) {
        const NFPart& p = kNFParts[i];
        if (!(other.m_setMask & p.part)) continue;
        int theirs = (other.*p.get)();
        if ((m_setMask & p.part) && before[i] != theirs) {
            conflicts |= p.part;
            if (replaced) (this->*p.set)(before[i]);
        } else {
            (this->*p.set)(theirs);
        }
    }
    for (const auto& p : kFlagParts) {
        if (!(other.m_setMask & p.part)) continue;
        if ((m_setMask & p.part) && ((m_flags ^ other.m_flags) & p.flag))
            conflicts |= p.part;
        else
            SetFlagPart(p.flag, p.part, other.m_flags & p.flag);
    }
}

void CCCellFormat::Merge(const CCCellFormat& a, const CCCellFormat& b) {
    if (IsEmpty() && b.IsEmpty()) {
        *this = a;
        return;
    }
    // Copies, so that this format may also be a or b.
    const CCCellFormat from(a), base(b);
    if (from.IsNumberFormat()) {
        if (base.IsNumberFormat() && SameNumberFormat(from, base))
            m_setMask &= ~kSetNF;
        else
            SetNumberFormat(from.GetNFmt());
    }
    if (!from.GetNFmt().isCustomFormat()) {
        for (const auto& p : kNFParts) {
            if (!(from.m_setMask & p.part)) continue;
            int value = (from.*p.get)();
            if ((base.m_setMask & p.part) && (base.*p.get)() == value)
                m_setMask &= ~p.part;
            else
                (this->*p.set)(value);
        }
    }
    for (const auto& p : kFlagParts) {
        if (!(from.m_setMask & p.part)) continue;
        if ((base.m_setMask & p.part) && !((base.m_flags ^ from.m_flags) & p.flag))
            m_setMask &= ~p.part;
        else
            SetFlagPart(p.flag, p.part, from.m_flags & p.flag);
    }
}

void CCCellFormat::Clear(const CCCellFormat& other) {
    uint16_t both = m_setMask & other.m_setMask;
    uint16_t clear = 0;
    if ((both & kSetNF) && SameNumberFormat(*this, other)) clear |= kSetNF;
    for (const auto& p : kNFParts)
        if ((both & p.part) && (this->*p.get)() == (other.*p.get)()) clear |= p.part;
    for (const auto& p : kFlagParts)
        if ((both & p.part) && !((m_flags ^ other.m_flags) & p.flag)) clear |= p.part;
    m_setMask &= static_cast<uint16_t>(~clear);
}

int CCCellFormat::IsEqual(const CCCellFormat& other) const {
    if ((m_setMask ^ other.m_setMask) & kAllBits) return 0;
    if (IsNumberFormat() && !SameNumberFormat(*this, other)) return 0;
    for (const auto& p : kNFParts)
        if ((m_setMask & p.part) && (this->*p.get)() != (other.*p.get)()) return 0;
    for (const auto& p : kFlagParts)
        if ((m_setMask & p.part) && ((m_flags ^ other.m_flags) & p.flag)) return 0;
    return 1;
}

void CCCellFormat::set(const CCCellFormat& other) {
    CCNumberFormat nf(GetNFmt());
    nf.set(other.GetNFmt());
    PutNFmt(nf);
    setNoNumF(other);
}

void CCCellFormat::setNoNumF(const CCCellFormat& other) {
    uint16_t bits = other.m_flagMask & kAllFlags;
    CopyFlags(other, bits);
    m_flagMask |= bits;
}

void CCCellFormat::flattern(const CCCellFormat& base, CCCellFormat& out) const {
    const CCCellFormat top(*this), bottom(base);
    out.set(bottom);
    out.set(top);
}

void CCCellFormat::merge(const CCCellFormat& other, uint16_t flagMask, uint16_t nfMask) {
    CCNumberFormat nf(GetNFmt());
    nf.merge(other.GetNFmt(), nfMask);
    PutNFmt(nf);
    uint16_t bits = other.m_flagMask & flagMask & kAllFlags;
    CopyFlags(other, bits);
    m_flagMask |= bits;
}

void CCCellFormat::extract(CCCellFormat& out, uint16_t flagMask, uint16_t nfMask) const {
    CCNumberFormat nf(out.GetNFmt());
    GetNFmt().extract(nf, nfMask);
    uint16_t bits = m_flagMask & flagMask & kAllFlags;
    uint16_t flags = m_flags;
    out.PutNFmt(nf);
    out.m_flagMask = bits;
    out.m_flags = static_cast<uint16_t>((out.m_flags & ~bits) | (flags & bits));
}

void CCCellFormat::extractCommons(const CCCellFormat& other, CCCellFormat& out) const {
    CCNumberFormat nf(out.GetNFmt());
    GetNFmt().extractCommons(other.GetNFmt(), nf);
    uint16_t common = m_flagMask & other.m_flagMask & kAllFlags;
    uint16_t equal = common & static_cast<uint16_t>(~(m_flags ^ other.m_flags));
    uint16_t flags = m_flags;
    out.PutNFmt(nf);
    out.m_flagMask = equal;
    out.m_flags = static_cast<uint16_t>((out.m_flags & ~equal) | (flags & equal));
}

void CCCellFormat::mergeCommons(const CCCellFormat& other) {
    CCNumberFormat nf(GetNFmt());
    nf.mergeCommons(other.GetNFmt());
    PutNFmt(nf);
    CopyFlags(other, m_flagMask & other.m_flagMask & kAllFlags);
}

void CCCellFormat::substract(const CCCellFormat& other, CCCellFormat& out) const {
    CCNumberFormat nf(out.GetNFmt());
    GetNFmt().substract(other.GetNFmt(), nf);
    uint16_t common = m_flagMask & other.m_flagMask & kAllFlags;
    uint16_t differ = common & (m_flags ^ other.m_flags);
    uint16_t flags = m_flags;
    out.PutNFmt(nf);
    out.m_flagMask = differ;
    out.m_flags = static_cast<uint16_t>((out.m_flags & ~differ) | (flags & differ));
}
