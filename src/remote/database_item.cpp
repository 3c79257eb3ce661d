// SPDX-License-Identifier: Apache-2.0
// The item text of database requests: written by the database functions, read by the
// database document. Decoding is strict so that a text and a request correspond one to one.
#include "ostrel/remote/database_item.h"

#include <array>
#include <limits>

namespace ostrel {

namespace {

enum Key : size_t { kTable, kSql, kList, kFilter, kSort, kField, kColumn, kRecord, kCount, kKeys };

constexpr std::array<std::u16string_view, kKeys> kKeyNames = {
    u"table", u"sql", u"list", u"filter", u"sort", u"field", u"column", u"record", u"count"};

constexpr std::array<std::u16string_view, 5> kListNames = {u"", u"tables", u"queries", u"relations",
                                                           u"fields"};

void Append(std::u16string& out, Key key, std::u16string_view value) {
    if (!out.empty()) out += u';';
    out += kKeyNames[key];
    out += u'=';
    for (char16_t c : value) {
        if (c == u'\\' || c == u';') out += u'\\';
        out += c;
    }
}

std::u16string Number(uint32_t n) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), char16_t(u'0' + n % 10));
        n /= 10;
    } while (n);
    return digits;
}

// A count from 1: digits only, no leading zero, within 32 bits.
bool ParseNumber(std::u16string_view text, uint32_t& out) {
    if (text.empty() || text.size() > 10 || text[0] == u'0') return false;
    uint64_t n = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
        n = n * 10 + uint64_t(c - u'0');
    }
    if (n > std::numeric_limits<uint32_t>::max()) return false;
    out = static_cast<uint32_t>(n);
    return true;
}

}  // namespace

std::u16string DatabaseItem::Encode() const {
    std::u16string out;
    if (source == Source::table) Append(out, kTable, name);
    if (source == Source::sql) Append(out, kSql, name);
    if (list != List::none) Append(out, kList, kListNames[size_t(list)]);
    if (!filter.empty()) Append(out, kFilter, filter);
    if (!sort.empty()) Append(out, kSort, sort);
    if (!field.empty()) Append(out, kField, field);
    if (column) Append(out, kColumn, Number(column));
    if (record) Append(out, kRecord, Number(record));
    if (count) Append(out, kCount, u"1");
    return out;
}

std::optional<DatabaseItem> DatabaseItem::Decode(std::u16string_view text) {
    DatabaseItem item;
    size_t next = 0;  // keys must come in order: the first one allowed
    size_t at = 0;
    while (at < text.size()) {
        const size_t equals = text.find(u'=', at);
        if (equals == std::u16string_view::npos) return std::nullopt;
        const std::u16string_view keyName = text.substr(at, equals - at);
        size_t key = next;
        while (key < kKeys && kKeyNames[key] != keyName)
            ++key;
        if (key == kKeys) return std::nullopt;
        next = key + 1;
        std::u16string value;
        at = equals + 1;
        for (; at < text.size() && text[at] != u';'; ++at) {
            if (text[at] == u'\\') {
                if (++at == text.size() || (text[at] != u'\\' && text[at] != u';'))
                    return std::nullopt;
            }
            value += text[at];
        }
        if (at < text.size() && ++at == text.size()) return std::nullopt;  // a trailing ';'
        if (value.empty()) return std::nullopt;
        switch (Key(key)) {
            case kTable:
                item.source = Source::table;
                item.name = std::move(value);
                break;
            case kSql:
                if (item.source != Source::none) return std::nullopt;
                item.source = Source::sql;
                item.name = std::move(value);
                break;
            case kList: {
                size_t found = 1;
                while (found < kListNames.size() && kListNames[found] != value)
                    ++found;
                if (found == kListNames.size()) return std::nullopt;
                item.list = List(found);
                break;
            }
            case kFilter:
                item.filter = std::move(value);
                break;
            case kSort:
                item.sort = std::move(value);
                break;
            case kField:
                item.field = std::move(value);
                break;
            case kColumn:
                if (!item.field.empty() || !ParseNumber(value, item.column)) return std::nullopt;
                break;
            case kRecord:
                if (!ParseNumber(value, item.record)) return std::nullopt;
                break;
            case kCount:
                if (value != u"1") return std::nullopt;
                item.count = true;
                break;
            case kKeys:
                return std::nullopt;
        }
    }
    // What a list may go with: the catalogue stands alone, the fields need a source, and
    // neither has fields to pick, filter or sort.
    const bool hasSource = item.source != Source::none;
    const bool picksOrOrders =
        !item.filter.empty() || !item.sort.empty() || !item.field.empty() || item.column != 0;
    switch (item.list) {
        case List::none:
            if (!hasSource && (picksOrOrders || item.record || item.count)) return std::nullopt;
            break;
        case List::fields:
            if (!hasSource || picksOrOrders) return std::nullopt;
            break;
        default:
            if (hasSource || picksOrOrders) return std::nullopt;
            break;
    }
    return item;
}

}  // namespace ostrel
