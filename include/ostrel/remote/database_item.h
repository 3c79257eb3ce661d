// SPDX-License-Identifier: Apache-2.0
/// \file
/// What a database function asks a database document for, written as the item text of its
/// remote reference. The requesting functions encode it and the database document decodes it,
/// so both sides share this one definition.
///
/// The text is a list of `key=value` pairs joined by `;`, the keys in this order and each at
/// most once; in a value `\` is written `\\` and `;` is written `\;`, and no value is empty:
///
/// | key | value |
/// |---|---|
/// | `table` | a table or view (query) of the database, by name |
/// | `sql` | the text of one SQL query |
/// | `list` | `tables`, `queries` or `relations` (the catalogue, without a source), or `fields`
/// (the field names of the source) | | `filter` | an SQL condition over the source's fields | |
/// `sort` | field names separated by `,`, each optionally followed by `ASC` or `DESC` | | `field` |
/// the field, by name | | `column` | the field, by number counted from 1 | | `record` | the record
/// (or the entry of a list), counted from 1 | | `count` | `1`: the number of records (or entries)
/// instead of a value |
///
/// So `table=Orders;filter=amount > 10;field=amount;record=2` is the amount of the second
/// order above 10. Each request has exactly one text and each text one request: the decoder
/// refuses keys out of order, repeated or unknown, empty values, numbers with signs or
/// leading zeros, and combinations that mean nothing (a filter on the catalogue).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ostrel/export.h"

namespace ostrel {

struct OSTREL_API DatabaseItem {
    enum class Source : uint8_t { none, table, sql };
    enum class List : uint8_t { none, tables, queries, relations, fields };

    Source source = Source::none;
    std::u16string name;  // the table's name or the SQL text
    List list = List::none;
    std::u16string filter;
    std::u16string sort;
    std::u16string field;
    uint32_t column = 0;  // 0: not given (a field by name, or the first)
    uint32_t record = 0;  // 0: not given (the first)
    bool count = false;

    /// The item text; empty for the item of the database itself (no source, no list).
    std::u16string Encode() const;
    /// The item a text encodes, or nothing when the text is not one.
    static std::optional<DatabaseItem> Decode(std::u16string_view text);

    friend bool operator==(const DatabaseItem&, const DatabaseItem&) = default;
};

/// The selectors of GetDataSources on a database document (what DatabaseItem::List names
/// `tables`, `queries` and `relations`).
enum DatabaseCatalogue : int { kDatabaseTables = 1, kDatabaseQueries = 2, kDatabaseRelations = 3 };

/// The requests a database document serves without an answer value (GetDataSources, GetItems)
/// answer a failure as this result, which carries the error value's code. Result 0 stays what
/// it is for every request: not delivered, no such document.
constexpr int DatabaseFailureResult(int errorCode) {
    return -1 - errorCode;
}
/// The error code a result carries, or -1 when it is no failure.
constexpr int DatabaseFailureCode(int result) {
    return result < 0 ? -1 - result : -1;
}

}  // namespace ostrel
