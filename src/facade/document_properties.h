// SPDX-License-Identifier: Apache-2.0
// The properties of a workbook as a document (title, author, dates, counts), kept as text by
// key, as a workbook file and the command line carry them. Each key stands for one document
// item of the engine, so that setting a property tells the formulas that read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ostrel/refs/document_ref.h"

namespace ostrel::host {

class DocumentProperties {
public:
    enum class Kind : uint8_t {
        text,      // any text up to kLongestValue units
        date,      // YYYY-MM-DD, optionally followed by THH:MM or THH:MM:SS (or a blank)
        duration,  // whole minutes
        count,     // a whole number from 0 to 4294967295
        size,      // a number of bytes (a whole number up to 2^53)
    };
    static constexpr size_t kLongestValue = 32767;

    // The document item a key stands for (keys compare ignoring case); DOC_NONE for a key
    // that is none of title, subject, author, keywords, comments, filename, created, saved,
    // printed, edittime, revision, pages, words, characters, filesize.
    static CCDocumentRef::ECDocRefType ItemOf(std::u16string_view key);
    static Kind KindOf(CCDocumentRef::ECDocRefType item);
    static std::u16string_view KeyOf(CCDocumentRef::ECDocRefType item);

    // Sets the property to value in its canonical form (an empty value removes it); false,
    // with nothing changed, for an unknown key or a value not of the key's kind.
    bool Set(std::u16string_view key, std::u16string_view value);
    // The value as set, empty when it is not set or the key is unknown.
    std::u16string Get(std::u16string_view key) const;

    // The value of an item, by kind; nullopt when it is not set.
    std::optional<std::u16string> Text(CCDocumentRef::ECDocRefType item) const;
    // A date as year, month, day, hour, minute, second.
    struct DateTime {
        int year, month, day, hour, minute, second;
    };
    std::optional<DateTime> Date(CCDocumentRef::ECDocRefType item) const;
    std::optional<double> Number(CCDocumentRef::ECDocRefType item) const;

    // Every property set, in key order of the table above, as (key, value).
    std::vector<std::pair<std::u16string, std::u16string>> All() const;

private:
    std::vector<std::pair<CCDocumentRef::ECDocRefType, std::u16string>> m_values;
};

}  // namespace ostrel::host
