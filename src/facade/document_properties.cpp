// SPDX-License-Identifier: Apache-2.0
#include "facade/document_properties.h"

#include <algorithm>
#include <cmath>

#include "ostrel/formats/date_serial.h"
#include "platform/text/unicode.h"

namespace ostrel::host {

namespace {

using Item = CCDocumentRef::ECDocRefType;
using Kind = DocumentProperties::Kind;

struct Row {
    std::u16string_view key;
    Item item;
    Kind kind;
};

constexpr Row kRows[] = {
    {u"title", CCDocumentRef::DOC_TITLE, Kind::text},
    {u"subject", CCDocumentRef::DOC_SUBJECT, Kind::text},
    {u"author", CCDocumentRef::DOC_AUTHOR, Kind::text},
    {u"keywords", CCDocumentRef::DOC_KEYWORDS, Kind::text},
    {u"comments", CCDocumentRef::DOC_COMMENTS, Kind::text},
    {u"filename", CCDocumentRef::DOC_FILENAME, Kind::text},
    {u"created", CCDocumentRef::DOC_CREATEDATE, Kind::date},
    {u"saved", CCDocumentRef::DOC_SAVEDATE, Kind::date},
    {u"printed", CCDocumentRef::DOC_PRINTDATE, Kind::date},
    {u"edittime", CCDocumentRef::DOC_EDITTIME, Kind::duration},
    {u"revision", CCDocumentRef::DOC_REVNUM, Kind::count},
    {u"pages", CCDocumentRef::DOC_NUMPAGES, Kind::count},
    {u"words", CCDocumentRef::DOC_NUMWORDS, Kind::count},
    {u"characters", CCDocumentRef::DOC_NUMCHARS, Kind::count},
    {u"filesize", CCDocumentRef::DOC_FILESIZE, Kind::size},
};

const Row* RowOf(Item item) {
    for (const Row& row : kRows)
        if (row.item == item) return &row;
    return nullptr;
}

// Reads digits exactly: count of them at text[at], false for anything else.
bool Digits(std::u16string_view text, size_t at, size_t count, int& out) {
    if (at + count > text.size()) return false;
    out = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < u'0' || text[i] > u'9') return false;
        out = out * 10 + (text[i] - u'0');
    }
    return true;
}

std::optional<DocumentProperties::DateTime> ParseDate(std::u16string_view text) {
    DocumentProperties::DateTime d{0, 0, 0, 0, 0, 0};
    if (!Digits(text, 0, 4, d.year) || text.size() < 10 || text[4] != u'-' ||
        !Digits(text, 5, 2, d.month) || text[7] != u'-' || !Digits(text, 8, 2, d.day))
        return std::nullopt;
    if (text.size() > 10) {
        if ((text[10] != u'T' && text[10] != u' ') || text.size() < 16 ||
            !Digits(text, 11, 2, d.hour) || text[13] != u':' || !Digits(text, 14, 2, d.minute))
            return std::nullopt;
        if (text.size() > 16 &&
            (text.size() != 19 || text[16] != u':' || !Digits(text, 17, 2, d.second)))
            return std::nullopt;
    }
    // The years dates of the engine cover, and a time of day.
    if (d.year < 1900 || d.year > 2071 || CheckDate(d.day, d.month, d.year, 2071, 1900) == 0 ||
        d.hour > 23 || d.minute > 59 || d.second > 59)
        return std::nullopt;
    return d;
}

std::optional<double> ParseWhole(std::u16string_view text, double largest) {
    if (text.empty() || text.size() > 16) return std::nullopt;
    double value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    if (value > largest) return std::nullopt;
    return value;
}

std::u16string Two(int n) {
    return {char16_t(u'0' + n / 10), char16_t(u'0' + n % 10)};
}

// The value in the form Get gives back; nullopt when it is not of the kind.
std::optional<std::u16string> Canonical(Kind kind, std::u16string_view value) {
    switch (kind) {
        case Kind::text:
            if (value.size() > DocumentProperties::kLongestValue) return std::nullopt;
            return std::u16string(value);
        case Kind::date: {
            auto d = ParseDate(value);
            if (!d) return std::nullopt;
            std::u16string out;
            for (char c : std::to_string(d->year))
                out += char16_t(c);
            out += u'-' + Two(d->month) + u'-' + Two(d->day) + u'T' + Two(d->hour) + u':' +
                   Two(d->minute) + u':' + Two(d->second);
            return out;
        }
        case Kind::duration:
        case Kind::count:
        case Kind::size: {
            const double largest = kind == Kind::size ? 9007199254740992.0 : 4294967295.0;
            auto n = ParseWhole(value, largest);
            if (!n) return std::nullopt;
            std::u16string out;
            for (char c : std::to_string(uint64_t(*n)))
                out += char16_t(c);
            return out;
        }
    }
    return std::nullopt;
}

}  // namespace

CCDocumentRef::ECDocRefType DocumentProperties::ItemOf(std::u16string_view key) {
    for (const Row& row : kRows)
        if (text::SameIgnoringCase(row.key, key)) return row.item;
    return CCDocumentRef::DOC_NONE;
}

DocumentProperties::Kind DocumentProperties::KindOf(Item item) {
    const Row* row = RowOf(item);
    return row ? row->kind : Kind::text;
}

std::u16string_view DocumentProperties::KeyOf(Item item) {
    const Row* row = RowOf(item);
    return row ? row->key : std::u16string_view();
}

bool DocumentProperties::Set(std::u16string_view key, std::u16string_view value) {
    const Item item = ItemOf(key);
    if (item == CCDocumentRef::DOC_NONE) return false;
    auto at = std::find_if(m_values.begin(), m_values.end(),
                           [&](const auto& entry) { return entry.first == item; });
    if (value.empty()) {
        if (at != m_values.end()) m_values.erase(at);
        return true;
    }
    std::optional<std::u16string> canonical = Canonical(KindOf(item), value);
    if (!canonical) return false;
    if (at != m_values.end())
        at->second = std::move(*canonical);
    else
        m_values.emplace_back(item, std::move(*canonical));
    return true;
}

std::u16string DocumentProperties::Get(std::u16string_view key) const {
    return Text(ItemOf(key)).value_or(std::u16string());
}

std::optional<std::u16string> DocumentProperties::Text(Item item) const {
    for (const auto& [stored, value] : m_values)
        if (stored == item) return value;
    return std::nullopt;
}

std::optional<DocumentProperties::DateTime> DocumentProperties::Date(Item item) const {
    std::optional<std::u16string> value = Text(item);
    return value ? ParseDate(*value) : std::nullopt;
}

std::optional<double> DocumentProperties::Number(Item item) const {
    std::optional<std::u16string> value = Text(item);
    return value ? ParseWhole(*value, 9007199254740992.0) : std::nullopt;
}

std::vector<std::pair<std::u16string, std::u16string>> DocumentProperties::All() const {
    std::vector<std::pair<std::u16string, std::u16string>> all;
    for (const Row& row : kRows)
        if (std::optional<std::u16string> value = Text(row.item))
            all.emplace_back(std::u16string(row.key), std::move(*value));
    return all;
}

}  // namespace ostrel::host
