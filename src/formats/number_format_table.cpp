#include "formats/number_format_table.h"

#include <algorithm>
#include <string>

#include "formula/lctx.h"
#include "platform/exceptions.h"

namespace {

bool HasUnitText(const CCNumberFormat& f) {
    return !f.isCustomFormat() && f.getType() == C_NF_NUMBER && f.getLTString() != 0;
}

// Equal formats give equal keys: two custom formats are equal by code, a classic and a
// custom one when the classic's code (invariant locale) is the custom one's, and two
// classic ones by attributes that give the same code. Kinds without a code form are keyed
// by the bytes their comparison reads.
size_t KeyOf(const CCNumberFormat& f) {
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

}  // namespace

CCNumberFormatTable::CCNumberFormatTable() {
    GetNumberFormatTable().Add(CCNumberFormat());
}

CCNumberFormatTable::CCNumberFormatTable(ProcessWide) {
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
    m_formats.push_back(std::make_unique<CCNumberFormat>(format));
    int index = GetSize() - 1;
    if (m_indexValid) IndexElement(index);
    return index;
}

void CCNumberFormatTable::InsertAt(int index, const CCNumberFormat& format) {
    index = std::clamp(index, 0, GetSize());
    m_formats.insert(m_formats.begin() + index, std::make_unique<CCNumberFormat>(format));
    m_indexValid = false;
}

int CCNumberFormatTable::Add(const CCNumberFormat& format) {
    int found = Find(format);
    return found >= 0 ? found : Append(format);
}

int CCNumberFormatTable::Find(const CCNumberFormat& format) const {
    if (!m_indexValid) RebuildIndex();
    cells::LCTX* invariant = cells::invariant_LCTX();
    int best = -1;
    auto bucket = m_buckets.find(KeyOf(format));
    if (bucket != m_buckets.end()) {
        for (int i : bucket->second) {
            if (m_formats[i]->IsEqual(invariant, format)) {
                best = i;
                break;
            }
        }
    }
    // A classic Number format with a unit text can equal a custom format or another such
    // Number format; nothing else equals one.
    if (format.isCustomFormat() || HasUnitText(format)) {
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
    m_indexValid = false;
    return removed;
}

void CCNumberFormatTable::IndexElement(int index) const {
    const CCNumberFormat& f = *m_formats[index];
    if (HasUnitText(f))
        m_withUnitText.push_back(index);
    else
        m_buckets[KeyOf(f)].push_back(index);
}

void CCNumberFormatTable::RebuildIndex() const {
    m_buckets.clear();
    m_withUnitText.clear();
    m_indexValid = true;
    for (int i = 0; i < GetSize(); ++i)
        IndexElement(i);
}

CCNumberFormatTable& GetNumberFormatTable() {
    static CCNumberFormatTable table{CCNumberFormatTable::ProcessWide{}};
    return table;
}
