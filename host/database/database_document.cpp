// SPDX-License-Identifier: Apache-2.0
#include "database/database_document.h"

#include <sqlite3.h>

#include <algorithm>

#include "database/sql_text.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/string_array.h"
#include "ostrel/platform/utf.h"
#include "ostrel/refs/remote_ref.h"

namespace ostrel::database {

using ostrel::platform::CPtrArray;
using ostrel::platform::CSize;
using ostrel::platform::CStringArray;

struct DatabaseDocument::Query {
    std::string select;               // the records, ordered
    std::vector<std::string> fields;  // the names of its columns
};

namespace {

bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string Positions(size_t count) {
    std::string out;
    for (size_t i = 1; i <= count; ++i) {
        if (i > 1) out += ", ";
        out += std::to_string(i);
    }
    return out;
}

// A column of the current row as a cell value, and the bytes it takes.
size_t ReadColumn(sqlite3_stmt* statement, int column, CCCellValue& value) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            value.Set(double(sqlite3_column_int64(statement, column)), CCNumberFormat());
            return sizeof(CCCellValue);
        case SQLITE_FLOAT:
            value.Set(sqlite3_column_double(statement, column), CCNumberFormat());
            return sizeof(CCCellValue);
        case SQLITE_TEXT: {
            const auto* text =
                static_cast<const char16_t*>(sqlite3_column_text16(statement, column));
            const size_t units = size_t(sqlite3_column_bytes16(statement, column)) / 2;
            if (units > kMaxBuiltTextLength) {
                value.Set(kWrongKind);  // longer than any cell's text
                return sizeof(CCCellValue);
            }
            value.Set(std::u16string_view(text ? text : u"", text ? units : 0));
            return sizeof(CCCellValue) + units * 2;
        }
        case SQLITE_NULL:
            value.Set();
            return sizeof(CCCellValue);
        default:
            value.Set(kWrongKind);  // a blob: no cell shows bytes
            return sizeof(CCCellValue);
    }
}

}  // namespace

std::unique_ptr<DatabaseDocument> DatabaseDocument::Open(const std::string& path,
                                                         std::u16string name, std::string& error,
                                                         const DatabaseLimits& limits) {
    if (name.empty()) {
        error = "a database document needs a name";
        return nullptr;
    }
    auto connection = SqliteConnection::Open(path, limits, error);
    if (!connection) return nullptr;
    return std::unique_ptr<DatabaseDocument>(
        new DatabaseDocument(std::move(connection), std::move(name)));
}

DatabaseDocument::DatabaseDocument(std::unique_ptr<SqliteConnection> connection,
                                   std::u16string name)
    : m_connection(std::move(connection)), m_name(std::move(name)) {}

DatabaseDocument::~DatabaseDocument() {
    ReleaseContents();
}

int DatabaseDocument::IsValidDocument(std::u16string_view name) const {
    return SameIgnoringAsciiCase(name, m_name);
}

int DatabaseDocument::IsValidRemoteRef(const CCRemoteRef* ref, unsigned long) {
    return ref && IsValidDocument(ref->GetDocument());
}

std::optional<DatabaseItem> DatabaseDocument::ItemOf(const CCRemoteRef* ref) const {
    if (!ref || !IsValidDocument(ref->GetDocument())) return std::nullopt;
    return DatabaseItem::Decode(ref->GetItem());
}

bool DatabaseDocument::Names(DatabaseItem::List list, std::vector<std::string>& out,
                             Failure& failure) {
    out.clear();
    const bool views = list == DatabaseItem::List::queries;
    const std::string sql = std::string("SELECT name FROM sqlite_schema WHERE type = '") +
                            (views ? "view" : "table") +
                            "' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name";
    auto names = m_connection->Prepare(sql, Trust::document, failure);
    if (!names) return false;
    int step;
    while ((step = names->Step(failure)) > 0) {
        const auto* text = sqlite3_column_text(names->get(), 0);
        out.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    if (step < 0) return false;
    if (list != DatabaseItem::List::relations) return true;

    // A relation is a foreign key: the child's columns and the parent's they point to (its
    // primary key when the key does not say).
    std::vector<std::string> tables = std::move(out);
    out.clear();
    auto keys = m_connection->Prepare(
        "SELECT id, \"table\", \"from\", \"to\" FROM pragma_foreign_key_list(?1) ORDER BY id, seq",
        Trust::document, failure);
    auto primary =
        m_connection->Prepare("SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk",
                              Trust::document, failure);
    if (!keys || !primary) return false;
    auto text = [](sqlite3_stmt* s, int column) {
        const auto* t = sqlite3_column_text(s, column);
        return std::string(t ? reinterpret_cast<const char*>(t) : "");
    };
    for (const std::string& table : tables) {
        sqlite3_reset(keys->get());
        sqlite3_bind_text(keys->get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
        long id = -1;
        std::string parent, from, to;
        bool toGiven = true;
        auto finish = [&]() -> bool {
            if (id < 0) return true;
            if (!toGiven) {
                to.clear();
                sqlite3_reset(primary->get());
                sqlite3_bind_text(primary->get(), 1, parent.c_str(), -1, SQLITE_TRANSIENT);
                int s;
                while ((s = primary->Step(failure)) > 0)
                    to += (to.empty() ? "" : ", ") + text(primary->get(), 0);
                if (s < 0) return false;
            }
            out.push_back(table + "(" + from + ") -> " + parent + "(" + to + ")");
            return true;
        };
        while ((step = keys->Step(failure)) > 0) {
            const long rowId = long(sqlite3_column_int64(keys->get(), 0));
            if (rowId != id) {
                if (!finish()) return false;
                id = rowId;
                parent = text(keys->get(), 1);
                from.clear();
                to.clear();
                toGiven = true;
            }
            from += (from.empty() ? "" : ", ") + text(keys->get(), 2);
            if (sqlite3_column_type(keys->get(), 3) == SQLITE_NULL)
                toGiven = false;
            else
                to += (to.empty() ? "" : ", ") + text(keys->get(), 3);
        }
        if (step < 0 || !finish()) return false;
    }
    std::sort(out.begin(), out.end());
    return true;
}

bool DatabaseDocument::MakeQuery(const DatabaseItem& item, Query& query, Failure& failure) {
    const std::string name = ToUtf8(item.name);
    std::string from;       // what the records are selected from
    std::string tiebreak;   // the order that makes the records' order total
    bool ownOrder = false;  // an SQL query that orders its records itself
    std::string sqlText;
    if (item.source == DatabaseItem::Source::table) {
        auto find = m_connection->Prepare(
            "SELECT name, type FROM sqlite_schema WHERE type IN ('table', 'view') AND "
            "name = ?1 COLLATE NOCASE AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name",
            Trust::document, failure);
        if (!find) return false;
        sqlite3_bind_text(find->get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
        const int found = find->Step(failure);
        if (found < 0) return false;
        if (found == 0 || name.find('\0') != std::string::npos) {
            failure = {kNoName, "the database has no table or query named " + name};
            return false;
        }
        const std::string canonical =
            reinterpret_cast<const char*>(sqlite3_column_text(find->get(), 0));
        const bool view =
            std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(find->get(), 1))) ==
            "view";
        from = QuoteName(canonical);
        auto all = m_connection->Prepare("SELECT * FROM " + from, Trust::formula, failure);
        if (!all) return false;
        for (int i = 0; i < all->ColumnCount(); ++i)
            query.fields.push_back(all->ColumnName(i));
        if (!view) {
            // A table's own order is its rowid, unless a column takes the rowid's names
            // or the table has none (then its primary key).
            Failure ignored;
            for (const char* alias : {"rowid", "_rowid_", "oid"}) {
                if (FindField(query.fields, alias) >= 0) continue;
                if (m_connection->Prepare(std::string("SELECT ") + alias + " FROM " + from,
                                          Trust::document, ignored))
                    tiebreak = alias;
                break;
            }
            if (tiebreak.empty()) {
                auto primary = m_connection->Prepare(
                    "SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk",
                    Trust::document, failure);
                if (!primary) return false;
                sqlite3_bind_text(primary->get(), 1, canonical.c_str(), -1, SQLITE_TRANSIENT);
                int step;
                while ((step = primary->Step(failure)) > 0)
                    tiebreak += (tiebreak.empty() ? "" : ", ") +
                                QuoteName(reinterpret_cast<const char*>(
                                    sqlite3_column_text(primary->get(), 0)));
                if (step < 0) return false;
            }
        }
    } else {
        size_t length = 0;
        auto statement = m_connection->Prepare(name, Trust::formula, failure, &length);
        if (!statement) return false;
        for (int i = 0; i < statement->ColumnCount(); ++i)
            query.fields.push_back(statement->ColumnName(i));
        sqlText = name.substr(0, length);
        ownOrder = HasOwnOrder(sqlText);
        // Line breaks around it, so that a comment at its end cannot reach the ")".
        from = "(\n" + sqlText + "\n)";
    }
    if (tiebreak.empty()) tiebreak = Positions(query.fields.size());

    std::string where;
    if (!item.filter.empty()) {
        const std::string filter = ToUtf8(item.filter);
        if (!IsEnclosableCondition(filter)) {
            failure = {kRefused, "the filter is not one condition: " + filter};
            return false;
        }
        where = " WHERE (\n" + filter + "\n)";
    }
    std::string order;
    if (!item.sort.empty()) {
        const std::string sort = ToUtf8(item.sort);
        std::vector<SortKey> keys;
        bool unknown = false;
        if (!ParseSort(sort, query.fields, keys, unknown)) {
            failure = {unknown ? kNoName : kRefused,
                       unknown ? "the sort names a field the records do not have: " + sort
                               : "the sort is not a list of fields: " + sort};
            return false;
        }
        for (const SortKey& key : keys)
            order += std::to_string(key.column + 1) + (key.descending ? " DESC, " : ", ");
    }
    if (item.source == DatabaseItem::Source::sql && ownOrder && where.empty() && order.empty())
        query.select = sqlText;
    else
        query.select = "SELECT * FROM " + from + where + " ORDER BY " + order + tiebreak;
    // The whole statement is checked again as a formula's: the filter is a formula's text.
    return m_connection->Prepare(query.select, Trust::formula, failure) != nullptr;
}

bool DatabaseDocument::Fields(const DatabaseItem& item, std::vector<std::string>& out,
                              Failure& failure) {
    if (item.source == DatabaseItem::Source::none) {
        out = {"name"};  // the catalogue's lists
        return item.list != DatabaseItem::List::none ||
               (failure = {kWrongKind, "the database itself has no fields"}, false);
    }
    if (item.list == DatabaseItem::List::fields) {
        out = {"name"};
        return true;
    }
    Query query;
    if (!MakeQuery(item, query, failure)) return false;
    out = std::move(query.fields);
    return true;
}

bool DatabaseDocument::Collect(const DatabaseItem& item, RecordSet& set, Failure& failure) {
    set = RecordSet();
    const DatabaseLimits& limits = m_connection->Limits();
    m_connection->StartRequest();
    auto single = [&set](CCCellValue value) {
        set.width = set.height = 1;
        set.values.push_back(std::move(value));
        return true;
    };
    auto pastEnd = [&failure](const char* what, uint32_t n) {
        failure = {kPastEnd, std::string("there is no ") + what + " " + std::to_string(n)};
        return false;
    };

    std::vector<std::string> names;
    if (item.list != DatabaseItem::List::none) {
        if (item.list == DatabaseItem::List::fields) {
            Query query;
            if (!MakeQuery(item, query, failure)) return false;
            names = std::move(query.fields);
        } else if (!Names(item.list, names, failure)) {
            return false;
        }
        if (item.count) {
            CCCellValue n;
            n.Set(double(names.size()), CCNumberFormat());
            return single(n);
        }
        if (item.record) {
            if (item.record > names.size()) return pastEnd("entry", item.record);
            return single(CCCellValue(FromUtf8(names[item.record - 1]).c_str()));
        }
        set.width = 1;
        set.height = names.size();
        for (const std::string& n : names)
            set.values.emplace_back(FromUtf8(n).c_str());
        return true;
    }
    if (item.source == DatabaseItem::Source::none) {
        failure = {kWrongKind, "the database itself has no value"};
        return false;
    }

    Query query;
    if (!MakeQuery(item, query, failure)) return false;
    size_t first = 0, width = query.fields.size();
    if (!item.field.empty()) {
        const long found = FindField(query.fields, ToUtf8(item.field));
        if (found < 0) {
            failure = {kNoName, "the records have no field named " + ToUtf8(item.field)};
            return false;
        }
        first = size_t(found);
        width = 1;
    } else if (item.column) {
        if (item.column > query.fields.size()) return pastEnd("field", item.column);
        first = item.column - 1;
        width = 1;
    }
    if (item.count) {
        auto count = m_connection->Prepare("SELECT count(*) FROM (\n" + query.select + "\n)",
                                           Trust::formula, failure);
        if (!count || count->Step(failure) <= 0) return false;
        CCCellValue n;
        n.Set(double(sqlite3_column_int64(count->get(), 0)), CCNumberFormat());
        return single(n);
    }
    auto records = m_connection->Prepare(query.select, Trust::formula, failure);
    if (!records) return false;
    set.width = width;
    uint64_t bytes = 0;
    uint64_t row = 0;
    int step;
    while ((step = records->Step(failure)) > 0) {
        ++row;
        if (item.record && row < item.record) continue;
        if (set.height == limits.rows) {
            failure = {kTooMuch,
                       "the query gives more than " + std::to_string(limits.rows) + " records"};
            return false;
        }
        for (size_t c = first; c < first + width; ++c) {
            set.values.emplace_back();
            bytes += ReadColumn(records->get(), int(c), set.values.back());
        }
        if (bytes > limits.bytes) {
            failure = {kTooMuch,
                       "the query gives more than " + std::to_string(limits.bytes) + " bytes"};
            return false;
        }
        ++set.height;
        if (item.record) break;
    }
    if (step < 0) return false;
    if (item.record && set.height == 0) return pastEnd("record", item.record);
    return true;
}

bool DatabaseDocument::ReadValue(const DatabaseItem& item, CCCellValue& value, Failure& failure) {
    DatabaseItem one = item;
    if (!one.count) {
        if (!one.record) one.record = 1;
        if (one.source != DatabaseItem::Source::none && one.list == DatabaseItem::List::none &&
            one.field.empty() && !one.column)
            one.column = 1;
    }
    RecordSet set;
    if (!Collect(one, set, failure)) return false;
    if (set.values.empty()) {
        failure = {kPastEnd, "there is no such value"};
        return false;
    }
    value = set.values.front();
    return true;
}

int DatabaseDocument::OnRemoteIsValidRef(const CCRemoteRef* ref) {
    auto item = ItemOf(ref);
    if (!item) return 0;
    if (item->source == DatabaseItem::Source::none) return 1;
    Failure failure;
    Query query;
    m_connection->StartRequest();
    return MakeQuery(*item, query, failure) ? 1 : 0;
}

int DatabaseDocument::OnRemoteGetValue(const CCRemoteRef* ref, CCCellValue* value, unsigned long) {
    auto item = ItemOf(ref);
    if (!item) return 0;
    Failure failure;
    CCCellValue answer;
    if (!ReadValue(*item, answer, failure)) answer.Set(failure.code);
    Note(failure);
    if (value) *value = answer;
    return 1;
}

int DatabaseDocument::OnRemoteGetDataSources(const CCRemoteRef* ref, CStringArray* out,
                                             int selector) {
    if (!ItemOf(ref)) return 0;
    Failure failure;
    std::vector<std::string> names;
    m_connection->StartRequest();
    const auto list = selector == kDatabaseTables    ? DatabaseItem::List::tables
                      : selector == kDatabaseQueries ? DatabaseItem::List::queries
                                                     : DatabaseItem::List::relations;
    if (selector < kDatabaseTables || selector > kDatabaseRelations) {
        failure = {kWrongKind, "no such catalogue list: " + std::to_string(selector)};
    } else if (Names(list, names, failure)) {
        Note(failure);
        if (out) {
            out->RemoveAll();
            for (const std::string& name : names)
                out->Add(FromUtf8(name));
        }
        return 1;
    }
    Note(failure);
    return DatabaseFailureResult(failure.code);
}

int DatabaseDocument::OnRemoteGetItems(const CCRemoteRef* ref, CStringArray* out) {
    auto item = ItemOf(ref);
    if (!item) return 0;
    Failure failure;
    std::vector<std::string> fields;
    m_connection->StartRequest();
    const bool done = Fields(*item, fields, failure);
    Note(failure);
    if (!done) return DatabaseFailureResult(failure.code);
    if (out) {
        out->RemoveAll();
        for (const std::string& field : fields)
            out->Add(FromUtf8(field));
    }
    return 1;
}

uint16_t DatabaseDocument::OnRemoteOpenRef(const CCRemoteRef* ref) {
    auto item = ItemOf(ref);
    if (!item) return 0;
    size_t slot = 0;
    while (slot < m_sets.size() && m_sets[slot])
        ++slot;
    if (slot >= m_connection->Limits().openRecordSets || slot >= 65535) return 0;
    auto set = std::make_unique<RecordSet>();
    Failure failure;
    if (!Collect(*item, *set, failure)) {
        // One error value: an aggregation over the set shows why there is none.
        *set = RecordSet();
        set->width = set->height = 1;
        set->values.emplace_back(failure.code);
    }
    Note(failure);
    if (slot == m_sets.size()) m_sets.emplace_back();
    m_sets[slot] = std::move(set);
    return uint16_t(slot + 1);
}

DatabaseDocument::RecordSet* DatabaseDocument::Set(uint16_t handle) {
    if (handle == 0 || handle > m_sets.size()) return nullptr;
    return m_sets[handle - 1].get();
}

int DatabaseDocument::Record(RecordSet* set, long index, CPtrArray* record) {
    if (!set || index < 0 || size_t(index) >= set->height) return 0;
    set->current = index;
    if (record) {
        FreeValueArray(*record);
        record->SetSize(intptr_t(set->width));
        for (size_t i = 0; i < set->width; ++i)
            record->SetAt(intptr_t(i),
                          new CCCellValue(set->values[size_t(index) * set->width + i]));
    }
    return 1;
}

int DatabaseDocument::OnRemoteGetFirstRecord(const CCRemoteRef* ref, uint16_t handle,
                                             CPtrArray* record) {
    return ItemOf(ref) ? Record(Set(handle), 0, record) : 0;
}

int DatabaseDocument::OnRemoteGetNextRecord(const CCRemoteRef* ref, uint16_t handle,
                                            CPtrArray* record) {
    RecordSet* set = ItemOf(ref) ? Set(handle) : nullptr;
    return set ? Record(set, set->current + 1, record) : 0;
}

int DatabaseDocument::OnRemoteGetPreviousRecord(const CCRemoteRef* ref, uint16_t handle,
                                                CPtrArray* record) {
    RecordSet* set = ItemOf(ref) ? Set(handle) : nullptr;
    return set ? Record(set, set->current - 1, record) : 0;
}

int DatabaseDocument::OnRemoteGetLastRecord(const CCRemoteRef* ref, uint16_t handle,
                                            CPtrArray* record) {
    RecordSet* set = ItemOf(ref) ? Set(handle) : nullptr;
    return set ? Record(set, long(set->height) - 1, record) : 0;
}

int DatabaseDocument::OnRemoteGetRecord(const CCRemoteRef* ref, uint16_t handle, unsigned long n,
                                        CPtrArray* record) {
    RecordSet* set = ItemOf(ref) ? Set(handle) : nullptr;
    if (!set || n < 1 || n > set->height) return 0;
    return Record(set, long(n - 1), record);
}

int DatabaseDocument::OnRemoteRefSize(const CCRemoteRef* ref, uint16_t handle, CSize* size) {
    RecordSet* set = ItemOf(ref) ? Set(handle) : nullptr;
    if (!set) return 0;
    if (size) *size = CSize(int32_t(set->width), int32_t(set->height));
    return 1;
}

int DatabaseDocument::OnRemoteNextValue(const CCRemoteRef* ref, uint16_t handle,
                                        CCCellValue* value) {
    RecordSet* set = ItemOf(ref) ? Set(handle) : nullptr;
    if (!set || set->next >= set->values.size()) return 0;
    if (value) *value = set->values[set->next];
    ++set->next;
    return 1;
}

int DatabaseDocument::OnRemoteCloseRef(const CCRemoteRef* ref, uint16_t handle) {
    if (!ItemOf(ref) || !Set(handle)) return 0;
    m_sets[handle - 1].reset();
    while (!m_sets.empty() && !m_sets.back())
        m_sets.pop_back();
    return 1;
}

// Nothing a formula does changes the database, so no dependent ever needs telling.
int DatabaseDocument::OnRemoteRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef*) {
    return ItemOf(ref) ? 1 : 0;
}

int DatabaseDocument::OnRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef*) {
    return ItemOf(ref) ? 1 : 0;
}

int DatabaseDocument::OnRemoteIsSingleValue(const CCRemoteRef* ref) {
    return ItemOf(ref) ? 1 : 0;
}

}  // namespace ostrel::database
