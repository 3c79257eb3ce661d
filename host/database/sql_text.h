// SPDX-License-Identifier: Apache-2.0
// Reading the SQL pieces a formula hands a database document before any of them is put into
// a statement: whether a query orders its own records, whether a filter stays one condition
// inside parentheses, and which fields a sort names. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostrel::database {

// Whether the query has ORDER BY outside every parenthesis (its own order, not a subquery's).
// Literals, quoted names and comments are skipped.
bool HasOwnOrder(std::string_view sql);

// Whether the condition, put between "(" and ")", stays one parenthesised expression: its
// parentheses balance without closing more than they open, and it holds no ";" and no
// comment outside literals, and no literal or quoted name left open.
bool IsEnclosableCondition(std::string_view condition);

struct SortKey {
    size_t column = 0;  // index into the fields
    bool descending = false;
};

// The sort text: field names separated by ",", each optionally followed by ASC or DESC
// (any case). A name is bare (letters, digits, "_" and any non-ASCII character) or
// between double quotes (with "" for a quote). Names match the fields as SQLite matches
// names, ignoring ASCII case; the first field of that name wins. False for anything else,
// with unknownName set when the text is such a list but names a field there is not.
bool ParseSort(std::string_view sort, const std::vector<std::string>& fields,
               std::vector<SortKey>& keys, bool& unknownName);

// The index of the field with this name, ignoring ASCII case, or -1.
long FindField(const std::vector<std::string>& fields, std::string_view name);

// A name as an SQL identifier: between double quotes, inner quotes doubled.
std::string QuoteName(std::string_view name);

}  // namespace ostrel::database
