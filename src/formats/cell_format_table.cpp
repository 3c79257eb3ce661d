// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formats/cell_format_table.h"

#include <algorithm>

#include "ostrel/formats/number_format_table.h"
#include "ostrel/platform/exceptions.h"

namespace {

size_t Combine(size_t seed, size_t value) {
    return seed ^ (value + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2));
}

// The number format index a cell format reads: one outside the table reads entry 0.
int32_t EffectiveNFIndex(int32_t index) {
    return index >= 0 && index < GetNumberFormatTable().GetSize() ? index : 0;
}

// What IsEqual compares, hashed: the nine set bits and the value of each part they set. The
// number format contributes its equality key, which for a unit-text format holds only for
// the moment (volatile).
struct EqualityKey {
    size_t parts = 0;  // every part but the number format
    size_t full = 0;   // with the number format's key
    bool hasNF = false;
    bool volatileNF = false;
    bool customNF = false;
};

EqualityKey KeyOf(const CCCellFormat& f) {
    EqualityKey k;
    uint16_t mask = f.GetSetMask() & CCCellFormat::kAllBits;
    size_t h = mask;
    if (f.IsNFType()) h = Combine(h, static_cast<size_t>(f.GetNFType()));
    if (f.IsNFPrecision()) h = Combine(h, static_cast<size_t>(f.GetNFPrecision()));
    if (f.IsNFCommas()) h = Combine(h, static_cast<size_t>(f.GetNFCommas()));
    int flags = (f.IsLock() ? f.GetLock() : 0) | (f.IsHide() ? f.GetHide() : 0) |
                (f.IsEditSource() ? f.GetEditSource() : 0) |
                (f.IsHideError() ? f.GetHideError() : 0) | (f.IsHideZero() ? f.GetHideZero() : 0);
    h = Combine(h, static_cast<size_t>(flags));
    k.parts = h;
    k.full = h;
    if (f.IsNumberFormat()) {
        const CCNumberFormat& nf = f.GetNFmt();
        k.hasNF = true;
        k.volatileNF = CCNumberFormatTable::HasVolatileKey(nf);
        k.customNF = nf.isCustomFormat();
        k.full = Combine(h, CCNumberFormatTable::EqualityKey(nf));
    }
    return k;
}

}  // namespace

bool CCCellFormatTable::IsIdentical(const CCCellFormat& a, const CCCellFormat& b) {
    return a.m_setMask == b.m_setMask && a.m_flagMask == b.m_flagMask && a.m_flags == b.m_flags &&
           EffectiveNFIndex(a.m_nfIndex) == EffectiveNFIndex(b.m_nfIndex);
}

namespace {

size_t IdentityKey(const CCCellFormat& f) {
    unsigned char packed[CCCellFormat::kBuffSize];
    f.FillBuff(packed);
    size_t h = Combine(f.GetSetMask(), f.getFlagMask());
    h = Combine(h, static_cast<size_t>(EffectiveNFIndex(f.GetNFIndex())));
    return Combine(h, static_cast<size_t>(packed[6] | packed[7] << 8));
}

}  // namespace

CCCellFormatTable::CCCellFormatTable() {
    GetCellFormatTable().Add(CCCellFormat());
}

CCCellFormatTable::CCCellFormatTable(ProcessWide) : m_interning(true) {
    Add(CCCellFormat());
}

CCCellFormatTable::CCCellFormatTable(const CCCellFormatTable& other) : CCCellFormatTable() {
    Append(other);
}

CCCellFormatTable::~CCCellFormatTable() = default;

int CCCellFormatTable::Add(const CCCellFormat& format) {
    if (m_interning) return AddExact(format);
    int found = FindEqual(format);
    return found >= 0 ? found : Append(format);
}

int CCCellFormatTable::Append(const CCCellFormat& format) {
    return AppendOwned(std::make_unique<CCCellFormat>(format));
}

void CCCellFormatTable::Append(const CCCellFormatTable& table) {
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

int CCCellFormatTable::AppendOwned(std::unique_ptr<CCCellFormat> format) {
    m_formats.push_back(std::move(format));
    int index = GetSize() - 1;
    if (m_equalIndexBuilt) IndexEqual(index);
    m_exact.Appended(m_formats, index, IdentityKey);
    return index;
}

void CCCellFormatTable::InsertAt(int index, const CCCellFormat& format) {
    index = std::clamp(index, 0, GetSize());
    m_formats.insert(m_formats.begin() + index, std::make_unique<CCCellFormat>(format));
    InvalidateIndexes();
}

int CCCellFormatTable::Find(const CCCellFormat& format) const {
    return m_interning ? FindExact(format) : FindEqual(format);
}

int CCCellFormatTable::FindEqual(const CCCellFormat& format) const {
    if (!m_equalIndexBuilt) {
        m_equalIndexBuilt = true;
        for (int i = 0; i < GetSize(); ++i)
            IndexEqual(i);
    }
    EqualityKey key = KeyOf(format);
    int best = -1;
    auto bucket = m_equalBuckets.find(key.full);
    if (bucket != m_equalBuckets.end()) {
        for (int i : bucket->second) {
            if (m_formats[i]->IsEqual(format)) {
                best = i;
                break;
            }
        }
    }
    // A number format with a unit text equals only a custom one or another with a unit
    // text (see CCNumberFormatTable::FindEqual).
    if (key.hasNF && (key.customNF || key.volatileNF)) {
        auto apart = m_withUnitText.find(key.parts);
        if (apart != m_withUnitText.end()) {
            for (int i : apart->second) {
                if (best >= 0 && i > best) break;
                if (m_formats[i]->IsEqual(format)) {
                    best = i;
                    break;
                }
            }
        }
    }
    return best;
}

int CCCellFormatTable::FindExact(const CCCellFormat& format) const {
    return m_exact.Find(m_formats, format, IdentityKey, IsIdentical);
}

int CCCellFormatTable::AddExact(const CCCellFormat& format) {
    int found = FindExact(format);
    if (found >= 0) return found;
    auto copy = std::make_unique<CCCellFormat>(format);
    copy->m_nfIndex = EffectiveNFIndex(copy->m_nfIndex);
    return AppendOwned(std::move(copy));
}

const CCCellFormat* CCCellFormatTable::GetAt(int index) const {
    if (m_formats.empty()) throw CInvalidArgException();
    if (index < 0 || index >= GetSize()) index = 0;
    return m_formats[index].get();
}

int CCCellFormatTable::DeleteAt(int index) {
    return RemoveAt(index) != nullptr ? 1 : 0;
}

std::unique_ptr<CCCellFormat> CCCellFormatTable::RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) return nullptr;
    std::unique_ptr<CCCellFormat> removed = std::move(m_formats[index]);
    m_formats.erase(m_formats.begin() + index);
    InvalidateIndexes();
    return removed;
}

void CCCellFormatTable::IndexEqual(int index) const {
    EqualityKey key = KeyOf(*m_formats[index]);
    if (key.hasNF && key.volatileNF)
        m_withUnitText[key.parts].push_back(index);
    else
        m_equalBuckets[key.full].push_back(index);
}

void CCCellFormatTable::InvalidateIndexes() {
    m_equalBuckets.clear();
    m_withUnitText.clear();
    m_equalIndexBuilt = false;
    m_exact.Reset();
}

CCCellFormatTable& CCCellFormatTable::CCellFormats() {
    return GetCellFormatTable();
}

CCCellFormatTable& GetCellFormatTable() {
    static CCCellFormatTable table{CCCellFormatTable::ProcessWide{}};
    return table;
}
