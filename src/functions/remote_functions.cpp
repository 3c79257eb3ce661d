// SPDX-License-Identifier: Apache-2.0
// The functions that read other documents and databases. Their routines come with the
// documents that serve them; until then a cell using one shows an error and the host hears of it.
#include "functions/function_row.h"

namespace {

const FunctionRow kRows[] = {
    {u"REMOTE", 13245, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"REMOTE(document, item)\n"
     u"Returns the value of an item of another open document.\n"
     u"document: the name of the document\n"
     u"item: the reference of the cells, or the designation of the item, within that document",
     EntryClass::remote},
    {u"DBGET", 13264, kDatabaseAndRemote, RULE(2, 4, kNone, 0), nullptr,
     u"DBGET(database, table, [field], [record])\n"
     u"Returns the value of a field of a record of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote},
    {u"DBSQL", 13265, kDatabaseAndRemote, RULE(2, 4, kNone, 0), nullptr,
     u"DBSQL(database, sql, [field], [record])\n"
     u"Returns the value of a field of a record of the result of an SQL query on a database.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote},
    {u"DBFIELDCOUNT", 13266, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"DBFIELDCOUNT(database, table)\n"
     u"Returns the number of fields of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database",
     EntryClass::remote},
    {u"DBFIELDNAME", 13267, kDatabaseAndRemote, RULE(3, 3, kNone, 0), nullptr,
     u"DBFIELDNAME(database, table, number)\n"
     u"Returns the name of a field of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"number: the number of the field, counted from 1",
     EntryClass::remote},
    {u"DBTABLECOUNT", 13268, kDatabaseAndRemote, RULE(1, 1, kNone, 0), nullptr,
     u"DBTABLECOUNT(database)\n"
     u"Returns the number of tables of a database.\n"
     u"database: the name of the database document",
     EntryClass::remote},
    {u"DBTABLENAME", 13269, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"DBTABLENAME(database, number)\n"
     u"Returns the name of a table of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the table, counted from 1",
     EntryClass::remote},
    {u"DBQUERYCOUNT", 13270, kDatabaseAndRemote, RULE(1, 1, kNone, 0), nullptr,
     u"DBQUERYCOUNT(database)\n"
     u"Returns the number of queries of a database.\n"
     u"database: the name of the database document",
     EntryClass::remote},
    {u"DBQUERYNAME", 13271, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"DBQUERYNAME(database, number)\n"
     u"Returns the name of a query of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the query, counted from 1",
     EntryClass::remote},
    {u"DBRELATIONCOUNT", 13272, kDatabaseAndRemote, RULE(1, 1, kNone, 0), nullptr,
     u"DBRELATIONCOUNT(database)\n"
     u"Returns the number of relations of a database.\n"
     u"database: the name of the database document",
     EntryClass::remote},
    {u"DBRELATIONNAME", 13273, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"DBRELATIONNAME(database, number)\n"
     u"Returns the name of a relation of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the relation, counted from 1",
     EntryClass::remote},
    {u"DBFILTER", 13277, kDatabaseAndRemote, RULE(3, 5, kNone, 0), nullptr,
     u"DBFILTER(database, table, filter, [field], [record])\n"
     u"Returns the value of a field of a record among the records of a database table that meet a "
     u"condition.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"filter: the condition that the records must meet\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote},
    {u"DBSORT", 13278, kDatabaseAndRemote, RULE(3, 5, kNone, 0), nullptr,
     u"DBSORT(database, table, sort, [field], [record])\n"
     u"Returns the value of a field of a record of a database table sorted by fields.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote},
    {u"DBFILTERSORT", 13279, kDatabaseAndRemote, RULE(4, 6, kNone, 0), nullptr,
     u"DBFILTERSORT(database, table, filter, sort, [field], [record])\n"
     u"Returns the value of a field of a record among the records of a database table that meet a "
     u"condition, sorted by fields.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"filter: the condition that the records must meet\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote},
    {u"DBSQLFILTER", 13280, kDatabaseAndRemote, RULE(3, 5, kNone, 0), nullptr,
     u"DBSQLFILTER(database, sql, filter, [field], [record])\n"
     u"Returns the value of a field of a record among the records of an SQL query that meet a "
     u"condition.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"filter: the condition that the records must meet\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote},
    {u"DBSQLSORT", 13281, kDatabaseAndRemote, RULE(3, 5, kNone, 0), nullptr,
     u"DBSQLSORT(database, sql, sort, [field], [record])\n"
     u"Returns the value of a field of a record of an SQL query sorted by fields.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote},
    {u"DBSQLFILTERSORT", 13282, kDatabaseAndRemote, RULE(4, 6, kNone, 0), nullptr,
     u"DBSQLFILTERSORT(database, sql, filter, sort, [field], [record])\n"
     u"Returns the value of a field of a record among the records of an SQL query that meet a "
     u"condition, sorted by fields.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"filter: the condition that the records must meet\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted",
     EntryClass::remote},
    {u"SSGET", 13283, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"SSGET(document, reference)\n"
     u"Returns the value of cells of another open spreadsheet.\n"
     u"document: the name of the spreadsheet document\n"
     u"reference: the reference of the cells, as text",
     EntryClass::remote},
    {u"WPGET", 13284, kDatabaseAndRemote, RULE(2, 2, kNone, 0), nullptr,
     u"WPGET(document, item)\n"
     u"Returns the value of an item of an open word-processor document.\n"
     u"document: the name of the word-processor document\n"
     u"item: the designation of the table cell or field within the document, as text",
     EntryClass::remote},
    {u"HYPERLINK", 13288, kDatabaseAndRemote, RULE(1, 2, kNone, 0), nullptr,
     u"HYPERLINK(address, [text])\n"
     u"Makes the cell a hyperlink to an address and shows a text for it.\n"
     u"address: the address the link leads to\n"
     u"text: the text shown in the cell; the address when omitted",
     EntryClass::plain, kFlagHyperlink},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::RemoteRows() {
    return kRows;
}
