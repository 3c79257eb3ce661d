// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formats/number_format_table.h"

#include <algorithm>
#include <string>

#include "ostrel/formula/lctx.h"
#include "ostrel/platform/exceptions.h"

namespace {

size_t Combine(size_t seed, size_t value) {
    return seed ^ (value + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2));
}

}  // namespace

bool CCNumberFormatTable::HasVolatileKey(const CCNumberFormat& f) {
    return !f.isCustomFormat() && f.getType() == C_NF_NUMBER && f.getLTString() != 0;
}

// Equal formats give equal keys: two custom formats are equal by code, a classic and a
// custom one when the classic's code (invariant locale) is the custom one's, and two
// classic ones by attributes that give the same code. Kinds without a code form are keyed
// by the bytes their comparison reads.
size_t CCNumberFormatTable::EqualityKey(const CCNumberFormat& f) {
    std::u16string key;
    if (f.isCustomFormat()) {
        key = f.getFormatString();
    } else if (f.getType() <= C_NF_BOOL) {
        key = f.getConvertedFormatString(cells::invariant_LCTX());
    } else {
        unsigned char bytes[5];
        f.FillBuff(bytes);
        key = {u'\xFFFF', bytes[0], bytes[1]};
        // Radix kinds compare their kind and flag byte A, unknown kinds every packed byte.
        if (f.getType() > C_NF_BIN) key += {bytes[2], f.getDelimiter()};
    }
    return std::hash<std::u16string>{}(key);
}

bool CCNumberFormatTable::IsIdentical(const CCNumberFormat& a, const CCNumberFormat& b) {
    unsigned char pa[5], pb[5];
    a.FillBuff(pa);
    b.FillBuff(pb);
    if (a.getSetMask() != b.getSetMask() || !std::equal(pa, pa + 5, pb) ||
        a.isCustomFormat() != b.isCustomFormat())
        return false;
    // A classic format's code field is only a conversion cache that copies drop.
    return !a.isCustomFormat() || a.getFormatString() == b.getFormatString();
}

namespace {

size_t IdentityKey(const CCNumberFormat& f) {
    size_t h = f.isCustomFormat() ? std::hash<std::u16string>{}(f.getFormatString()) : 0;
    h = Combine(h, f.getSetMask());
    h = Combine(h, f.GetData());  // kind, both flag bytes and the slot's low byte
    h = Combine(h, f.getLTString() >> 8);
    return Combine(h, f.isCustomFormat());
}

}  // namespace

CCNumberFormatTable::CCNumberFormatTable() {
    GetNumberFormatTable().Add(CCNumberFormat());
}

CCNumberFormatTable::CCNumberFormatTable(ProcessWide) : m_interning(true) {
    Add(CCNumberFormat());
}

CCNumberFormatTable::CCNumberFormatTable(const CCNumberFormatTable& other) : CCNumberFormatTable() {
    Append(other);
}

CCNumberFormatTable::~CCNumberFormatTable() = default;

void CCNumberFormatTable::Append(const CCNumberFormatTable& table) {
    if (&table == this) {
        size_t n = m_formats.size();
        for (size_t i = 0; i < n; ++i)
            Append(*m_formats[i]);
        return;
    }
    m_formats.reserve(m_formats.size() + table.m_formats.size());
    for (const auto& f : table.m_formats)
        Append(*f);
}

int CCNumberFormatTable::Append(const CCNumberFormat& format) {
    return AppendOwned(std::make_unique<CCNumberFormat>(format));
}

int CCNumberFormatTable::AppendOwned(std::unique_ptr<CCNumberFormat> format) {
    m_formats.push_back(std::move(format));
    int index = GetSize() - 1;
    if (m_equalIndexBuilt) IndexEqual(index);
    m_exact.Appended(m_formats, index, IdentityKey);
    return index;
}

void CCNumberFormatTable::InsertAt(int index, const CCNumberFormat& format) {
    index = std::clamp(index, 0, GetSize());
    m_formats.insert(m_formats.begin() + index, std::make_unique<CCNumberFormat>(format));
    InvalidateIndexes();
}

int CCNumberFormatTable::Add(const CCNumberFormat& format) {
    if (m_interning) return AddExact(format);
    int found = FindEqual(format);
    return found >= 0 ? found : Append(format);
}

int CCNumberFormatTable::Find(const CCNumberFormat& format) const {
    return m_interning ? FindExact(format) : FindEqual(format);
}

int CCNumberFormatTable::FindEqual(const CCNumberFormat& format) const {
    if (!m_equalIndexBuilt) {
        m_equalIndexBuilt = true;
        for (int i = 0; i < GetSize(); ++i)
            IndexEqual(i);
    }
    cells::LCTX* invariant = cells::invariant_LCTX();
    int best = -1;
    auto bucket = m_equalBuckets.find(EqualityKey(format));
    if (bucket != m_equalBuckets.end()) {
        for (int i : bucket->second) {
            if (m_formats[i]->IsEqual(invariant, format)) {
                best = i;
                break;
            }
        }
    }
    // A classic Number format with a unit text can equal a custom format or another such
    // Number format; nothing else equals one.
    if (format.isCustomFormat() || HasVolatileKey(format)) {
        for (int i : m_withUnitText) {
            if (best >= 0 && i > best) break;
            if (m_formats[i]->IsEqual(invariant, format)) {
                best = i;
                break;
            }
        }
    }
    return best;
}

int CCNumberFormatTable::FindExact(const CCNumberFormat& format) const {
    return m_exact.Find(m_formats, format, IdentityKey, IsIdentical);
}

int CCNumberFormatTable::AddExact(const CCNumberFormat& format) {
    int found = FindExact(format);
    if (found >= 0) return found;
    auto copy = std::make_unique<CCNumberFormat>(format);
    if (!IsIdentical(*copy, format)) {
        found = FindExact(*copy);
        if (found >= 0) return found;
    }
    return AppendOwned(std::move(copy));
}

const CCNumberFormat* CCNumberFormatTable::GetAt(int index) const {
    if (m_formats.empty()) throw CInvalidArgException();
    if (index < 0 || index >= GetSize()) index = 0;
    return m_formats[index].get();
}

int CCNumberFormatTable::DeleteAt(int index) {
    return RemoveAt(index) != nullptr ? 1 : 0;
}

std::unique_ptr<CCNumberFormat> CCNumberFormatTable::RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) return nullptr;
    std::unique_ptr<CCNumberFormat> removed = std::move(m_formats[index]);
    m_formats.erase(m_formats.begin() + index);
    InvalidateIndexes();
    return removed;
}

void CCNumberFormatTable::IndexEqual(int index) const {
    const CCNumberFormat& f = *m_formats[index];
    if (HasVolatileKey(f))
        m_withUnitText.push_back(index);
    else
        m_equalBuckets[EqualityKey(f)].push_back(index);
}

void CCNumberFormatTable::InvalidateIndexes() {
    m_equalBuckets.clear();
    m_withUnitText.clear();
    m_equalIndexBuilt = false;
    m_exact.Reset();
}

CCNumberFormatTable& GetNumberFormatTable() {
    static CCNumberFormatTable table{CCNumberFormatTable::ProcessWide{}};
    return table;
}
