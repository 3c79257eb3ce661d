// SPDX-License-Identifier: Apache-2.0
// The database functions. Each one's remote routine writes what it asks for as the item of a
// remote reference to the database document (ostrel/remote/database_item.h); its evaluation
// routine sends that reference through the cell's manager: the catalogue functions ask for
// the data sources, the field functions for the items of a table or query, the others for a
// value. A database nobody opened is #REF!; the database document's own failures (#NAME? for
// a missing table, query or field, #N/A past the last record or entry, #ARG! for a refused
// query, #NUM! for one past its limits) come back as they are; an argument of the wrong kind
// or below 1 is #VALUE!.
//
// Inside an aggregation (=SUM(DBFILTER(...))) the node opens the same reference, so the
// aggregation reads the record set through the open-reference requests: every record when
// the function names no record, the one field when it names one.
#include <cstdint>
#include <limits>

#include "functions/arguments.h"
#include "functions/function_row.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/platform/string_array.h"
#include "ostrel/refs/remote_ref.h"
#include "ostrel/remote/database_item.h"

using ostrel::DatabaseItem;
using ostrel::functions::ArgumentCount;
using ostrel::functions::EvaluateArgument;
using ostrel::functions::Rounding;

namespace {

// What a database function asks for.
enum class Ask : uint8_t { value, catalogue, fields };

// The arguments of one database function, in order after the database: its source, the
// filter, the sort, the number of a list's entry, then an optional field and record.
struct Shape {
    DatabaseItem::Source source = DatabaseItem::Source::none;
    DatabaseItem::List list = DatabaseItem::List::none;
    bool count = false;
    bool filter = false;
    bool sort = false;
    bool pick = false;  // optional field and record arguments follow
    Ask ask = Ask::value;
};

constexpr int kNotOpened = 1;  // #REF!: no database document answered
constexpr int kWrongKind = 3;  // #VALUE!
constexpr int kPastEnd = 9;    // #N/A

constexpr int64_t kLargestCount = std::numeric_limits<uint32_t>::max();

// The n-th argument as a text that is not empty.
int NamedText(cells::CTX* ctx, const CCFormulaList* args, int n, std::u16string& out,
              const CCRef* cell) {
    if (int error = ostrel::functions::TextArgument(ctx, args, n, out, cell)) return error;
    return out.empty() ? kWrongKind : 0;
}

int Count(cells::CTX* ctx, const CCFormulaList* args, int n, uint32_t& out, const CCRef* cell) {
    int64_t value = 0;
    if (int error = ostrel::functions::IntegerArgument(ctx, args, n, Rounding::trunc, 1,
                                                       kLargestCount, value, cell))
        return error;
    out = uint32_t(value);
    return 0;
}

// A field by name (a text) or by number; an empty value, as an omitted one, is the first.
int FieldArgument(cells::CTX* ctx, const CCFormulaList* args, int n, DatabaseItem& item,
                  const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, n, value, cell);
    if (value.IsError()) return value.GetError();
    if (value.IsEmpty()) return 0;
    if (value.IsText()) {
        item.field = value.GetText() ? value.GetText() : u"";
        return 0;
    }
    if (!value.IsNumber()) return kWrongKind;
    int64_t column = 0;
    if (int error = ostrel::functions::ToInteger(value.GetNumber(), Rounding::trunc, 1,
                                                 kLargestCount, column))
        return error;
    item.column = uint32_t(column);
    return 0;
}

int BuildItem(const Shape& shape, cells::CTX* ctx, std::u16string& database, DatabaseItem& item,
              const CCFormulaList* args, const CCRef* cell) {
    int n = 0;
    if (int error = NamedText(ctx, args, n++, database, cell)) return error;
    item.source = shape.source;
    item.list = shape.list;
    item.count = shape.count;
    if (shape.source != DatabaseItem::Source::none)
        if (int error = NamedText(ctx, args, n++, item.name, cell)) return error;
    // An empty filter or sort keeps every record in its own order.
    if (shape.filter)
        if (int error = ostrel::functions::TextArgument(ctx, args, n++, item.filter, cell))
            return error;
    if (shape.sort)
        if (int error = ostrel::functions::TextArgument(ctx, args, n++, item.sort, cell))
            return error;
    if (shape.list != DatabaseItem::List::none && !shape.count)
        if (int error = Count(ctx, args, n++, item.record, cell)) return error;
    if (shape.pick) {
        const int given = ArgumentCount(args);
        if (n < given)
            if (int error = FieldArgument(ctx, args, n, item, cell)) return error;
        if (++n < given)
            if (int error = Count(ctx, args, n, item.record, cell)) return error;
    }
    return 0;
}

template <Shape S>
int DatabaseRef(cells::CTX* ctx, CCRemoteRef& out, const CCFormulaList* args, const CCRef* cell) {
    std::u16string database;
    DatabaseItem item;
    if (int error = BuildItem(S, ctx, database, item, args, cell)) return error;
    out = CCRemoteRef(database, item.Encode());
    return 0;
}

// The answer of a request without a value: the code of a failure, or 0.
int FailureOf(int result) {
    if (result == 0) return kNotOpened;
    const int code = ostrel::DatabaseFailureCode(result);
    return code < 0 ? 0 : code;
}

template <Shape S>
void EvalDatabase(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    std::u16string database;
    DatabaseItem item;
    if (int error = BuildItem(S, ctx, database, item, args, cell)) {
        result.Set(error);
        return;
    }
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager) {
        result.Set(kNotOpened);
        return;
    }
    if (S.ask == Ask::value) {
        const CCRemoteRef ref(database, item.Encode());
        CCCellValue answer;
        if (!manager->DoRemoteGetValue(&ref, &answer, 0))
            result.Set(kNotOpened);
        else
            result = answer;
        return;
    }
    ostrel::platform::CStringArray names;
    int answer = 0;
    if (S.ask == Ask::catalogue) {
        const CCRemoteRef ref(database, item.Encode());
        const int selector = S.list == DatabaseItem::List::tables    ? ostrel::kDatabaseTables
                             : S.list == DatabaseItem::List::queries ? ostrel::kDatabaseQueries
                                                                     : ostrel::kDatabaseRelations;
        answer = manager->DoRemoteGetDataSources(&ref, &names, selector);
    } else {
        // The items of the source itself: its field names.
        DatabaseItem source;
        source.source = item.source;
        source.name = item.name;
        const CCRemoteRef ref(database, source.Encode());
        answer = manager->DoRemoteGetItems(&ref, &names);
    }
    if (int error = FailureOf(answer)) {
        result.Set(error);
    } else if (S.count) {
        ostrel::functions::SetNumber(result, double(names.GetSize()));
    } else if (item.record > uint64_t(names.GetSize())) {
        result.Set(kPastEnd);
    } else {
        ostrel::functions::SetText(result, names[intptr_t(item.record) - 1]);
    }
}

using Source = DatabaseItem::Source;
using List = DatabaseItem::List;

constexpr Shape CatalogueCount(List list) {
    return {Source::none, list, true, false, false, false, Ask::catalogue};
}
constexpr Shape CatalogueName(List list) {
    return {Source::none, list, false, false, false, false, Ask::catalogue};
}
constexpr Shape Records(Source source, bool filter, bool sort) {
    return {source, List::none, false, filter, sort, true, Ask::value};
}
constexpr Shape kFieldCount{Source::table, List::fields, true, false, false, false, Ask::fields};
constexpr Shape kFieldName{Source::table, List::fields, false, false, false, false, Ask::fields};

const FunctionRow kRows[] = {
    {u"DBGET", 13264, kDatabaseAndRemote, RULE(2, 4, kNone, 0),
     EvalDatabase<Records(Source::table, false, false)>,
     u"DBGET(database, table, [field], [record])\n"
     u"Returns the value of a field of a record of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote, 0, nullptr, DatabaseRef<Records(Source::table, false, false)>},
    {u"DBSQL", 13265, kDatabaseAndRemote, RULE(2, 4, kNone, 0),
     EvalDatabase<Records(Source::sql, false, false)>,
     u"DBSQL(database, sql, [field], [record])\n"
     u"Returns the value of a field of a record of the result of an SQL query on a database.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote, 0, nullptr, DatabaseRef<Records(Source::sql, false, false)>},
    {u"DBFIELDCOUNT", 13266, kDatabaseAndRemote, RULE(2, 2, kNone, 0), EvalDatabase<kFieldCount>,
     u"DBFIELDCOUNT(database, table)\n"
     u"Returns the number of fields of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database",
     EntryClass::remote, 0, nullptr, DatabaseRef<kFieldCount>},
    {u"DBFIELDNAME", 13267, kDatabaseAndRemote, RULE(3, 3, kNone, 0), EvalDatabase<kFieldName>,
     u"DBFIELDNAME(database, table, number)\n"
     u"Returns the name of a field of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"number: the number of the field, counted from 1",
     EntryClass::remote, 0, nullptr, DatabaseRef<kFieldName>},
    {u"DBTABLECOUNT", 13268, kDatabaseAndRemote, RULE(1, 1, kNone, 0),
     EvalDatabase<CatalogueCount(List::tables)>,
     u"DBTABLECOUNT(database)\n"
     u"Returns the number of tables of a database.\n"
     u"database: the name of the database document",
     EntryClass::remote, 0, nullptr, DatabaseRef<CatalogueCount(List::tables)>},
    {u"DBTABLENAME", 13269, kDatabaseAndRemote, RULE(2, 2, kNone, 0),
     EvalDatabase<CatalogueName(List::tables)>,
     u"DBTABLENAME(database, number)\n"
     u"Returns the name of a table of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the table, counted from 1",
     EntryClass::remote, 0, nullptr, DatabaseRef<CatalogueName(List::tables)>},
    {u"DBQUERYCOUNT", 13270, kDatabaseAndRemote, RULE(1, 1, kNone, 0),
     EvalDatabase<CatalogueCount(List::queries)>,
     u"DBQUERYCOUNT(database)\n"
     u"Returns the number of queries of a database.\n"
     u"database: the name of the database document",
     EntryClass::remote, 0, nullptr, DatabaseRef<CatalogueCount(List::queries)>},
    {u"DBQUERYNAME", 13271, kDatabaseAndRemote, RULE(2, 2, kNone, 0),
     EvalDatabase<CatalogueName(List::queries)>,
     u"DBQUERYNAME(database, number)\n"
     u"Returns the name of a query of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the query, counted from 1",
     EntryClass::remote, 0, nullptr, DatabaseRef<CatalogueName(List::queries)>},
    {u"DBRELATIONCOUNT", 13272, kDatabaseAndRemote, RULE(1, 1, kNone, 0),
     EvalDatabase<CatalogueCount(List::relations)>,
     u"DBRELATIONCOUNT(database)\n"
     u"Returns the number of relations of a database.\n"
     u"database: the name of the database document",
     EntryClass::remote, 0, nullptr, DatabaseRef<CatalogueCount(List::relations)>},
    {u"DBRELATIONNAME", 13273, kDatabaseAndRemote, RULE(2, 2, kNone, 0),
     EvalDatabase<CatalogueName(List::relations)>,
     u"DBRELATIONNAME(database, number)\n"
     u"Returns the name of a relation of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the relation, counted from 1",
     EntryClass::remote, 0, nullptr, DatabaseRef<CatalogueName(List::relations)>},
    {u"DBFILTER", 13277, kDatabaseAndRemote, RULE(3, 5, kNone, 0),
     EvalDatabase<Records(Source::table, true, false)>,
     u"DBFILTER(database, table, filter, [field], [record])\n"
     u"Returns the value of a field of a record among the records of a database table that meet a "
     u"condition.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"filter: the condition that the records must meet\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote, 0, nullptr, DatabaseRef<Records(Source::table, true, false)>},
    {u"DBSORT", 13278, kDatabaseAndRemote, RULE(3, 5, kNone, 0),
     EvalDatabase<Records(Source::table, false, true)>,
     u"DBSORT(database, table, sort, [field], [record])\n"
     u"Returns the value of a field of a record of a database table sorted by fields.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote, 0, nullptr, DatabaseRef<Records(Source::table, false, true)>},
    {u"DBFILTERSORT", 13279, kDatabaseAndRemote, RULE(4, 6, kNone, 0),
     EvalDatabase<Records(Source::table, true, true)>,
     u"DBFILTERSORT(database, table, filter, sort, [field], [record])\n"
     u"Returns the value of a field of a record among the records of a database table that meet a "
     u"condition, sorted by fields.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"filter: the condition that the records must meet\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote, 0, nullptr, DatabaseRef<Records(Source::table, true, true)>},
    {u"DBSQLFILTER", 13280, kDatabaseAndRemote, RULE(3, 5, kNone, 0),
     EvalDatabase<Records(Source::sql, true, false)>,
     u"DBSQLFILTER(database, sql, filter, [field], [record])\n"
     u"Returns the value of a field of a record among the records of an SQL query that meet a "
     u"condition.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"filter: the condition that the records must meet\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote, 0, nullptr, DatabaseRef<Records(Source::sql, true, false)>},
    {u"DBSQLSORT", 13281, kDatabaseAndRemote, RULE(3, 5, kNone, 0),
     EvalDatabase<Records(Source::sql, false, true)>,
     u"DBSQLSORT(database, sql, sort, [field], [record])\n"
     u"Returns the value of a field of a record of an SQL query sorted by fields.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote, 0, nullptr, DatabaseRef<Records(Source::sql, false, true)>},
    {u"DBSQLFILTERSORT", 13282, kDatabaseAndRemote, RULE(4, 6, kNone, 0),
     EvalDatabase<Records(Source::sql, true, true)>,
     u"DBSQLFILTERSORT(database, sql, filter, sort, [field], [record])\n"
     u"Returns the value of a field of a record among the records of an SQL query that meet a "
     u"condition, sorted by fields.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"filter: the condition that the records must meet\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote, 0, nullptr, DatabaseRef<Records(Source::sql, true, true)>},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::DatabaseRows() {
    return kRows;
}
