// SPDX-License-Identifier: Apache-2.0
// An SQLite database served to formulas as a document of kind 0 (no cells), read-only. Its
// tables, views (its queries) and foreign keys (its relations) are its catalogue; a table's
// or query's columns are its fields. It answers the requests the database functions send
// through the transport (the item texts of ostrel/remote/database_item.h):
//
// - GetDataSources(selector 1, 2, 3): the names of the tables, queries or relations, in name
//   order (by code point). A relation is named "Child(from, ...) -> Parent(to, ...)".
// - GetItems: the field names of the item's source, in their order.
// - GetValue: the item's value: a field of a record, an entry of a list, or a count.
// - OpenRef and the record requests: the item's record set, materialised within the limits;
//   a field or record named in the item narrows it to that column or row. A set that cannot
//   be made opens as one record of one error value, so that an aggregation over it shows why.
// - IsSingleValue 1 (a cell shows one value), IsValidRef, and dependents accepted and not
//   kept: nothing a formula can do changes the database.
//
// Records of a table come in rowid order (a table without rowid in primary key order), of a
// view in the order of all its columns, of an SQL query in its own order when it has ORDER
// BY at its top, else in the order of all its columns. A filter keeps the records for which
// the SQL condition holds; a sort orders by the fields it names, and the order above breaks
// ties (for an SQL query with a filter or sort: the order of all its columns).
//
// Failures are answered as error values: a missing table, query or field is #NAME?, a record,
// field or entry past the last #N/A, a query (or filter, or sort) that does not compile or
// would do more than read #ARG!, a query past its time or size limit #NUM!, a blob #VALUE!.
// LastFailure() says why in words.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database/sqlite_connection.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/engine/ctx.h"
#include "ostrel/remote/database_item.h"

namespace ostrel::database {

class DatabaseDocument : public CCCellManager {
public:
    // The database file opened read-only as the document NAME (what formulas give as their
    // database argument, matched ignoring case). Null with error set when it cannot be.
    static std::unique_ptr<DatabaseDocument> Open(const std::string& path, std::u16string name,
                                                  std::string& error,
                                                  const DatabaseLimits& limits = {});
    ~DatabaseDocument() override;

    cells::CTX* GetCTX() override { return &m_ctx; }
    cells::CTX* GetCTX() const override { return const_cast<Context*>(&m_ctx); }
    int GetType() const override { return 0; }
    CCItem* LookupItem(const CCRef*) override { return nullptr; }
    void GetDocumentName(std::u16string& name) const override { name = m_name; }
    int IsValidDocument(std::u16string_view name) const override;
    int IsValidRemoteRef(const CCRemoteRef* ref, unsigned long request) override;

    // Why the last request failed ("" when it did not).
    const std::string& LastFailure() const { return m_lastFailure; }

    int OnRemoteIsValidRef(const CCRemoteRef* ref) override;
    int OnRemoteGetValue(const CCRemoteRef* ref, CCCellValue* value, unsigned long flags) override;
    int OnRemoteGetDataSources(const CCRemoteRef* ref, ostrel::platform::CStringArray* out,
                               int selector) override;
    int OnRemoteGetItems(const CCRemoteRef* ref, ostrel::platform::CStringArray* out) override;
    uint16_t OnRemoteOpenRef(const CCRemoteRef* ref) override;
    int OnRemoteGetFirstRecord(const CCRemoteRef* ref, uint16_t handle,
                               ostrel::platform::CPtrArray* record) override;
    int OnRemoteGetNextRecord(const CCRemoteRef* ref, uint16_t handle,
                              ostrel::platform::CPtrArray* record) override;
    int OnRemoteGetPreviousRecord(const CCRemoteRef* ref, uint16_t handle,
                                  ostrel::platform::CPtrArray* record) override;
    int OnRemoteGetLastRecord(const CCRemoteRef* ref, uint16_t handle,
                              ostrel::platform::CPtrArray* record) override;
    int OnRemoteGetRecord(const CCRemoteRef* ref, uint16_t handle, unsigned long n,
                          ostrel::platform::CPtrArray* record) override;
    int OnRemoteRefSize(const CCRemoteRef* ref, uint16_t handle,
                        ostrel::platform::CSize* size) override;
    int OnRemoteNextValue(const CCRemoteRef* ref, uint16_t handle, CCCellValue* value) override;
    int OnRemoteCloseRef(const CCRemoteRef* ref, uint16_t handle) override;
    int OnRemoteRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent) override;
    int OnRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent) override;
    int OnRemoteIsSingleValue(const CCRemoteRef* ref) override;

private:
    class Context : public cells::CTX {
    public:
        explicit Context(CCCellManager* manager) : m_manager(manager) {}
        cells::LCTX* GetLCTX() override { return cells::invariant_LCTX(); }
        CCCellManager* GetManager() override { return m_manager; }

    private:
        CCCellManager* m_manager;
    };

    // A record set: its values row by row, and where the reading stands.
    struct RecordSet {
        size_t width = 0;
        size_t height = 0;
        std::vector<CCCellValue> values;
        long current = -1;  // the record the record requests last gave
        size_t next = 0;    // the value NextValue gives next
    };

    // What an item designates, made into SQL and names.
    struct Query;

    DatabaseDocument(std::unique_ptr<SqliteConnection> connection, std::u16string name);
    // The item of a request to this document; nothing when the reference is not one.
    std::optional<DatabaseItem> ItemOf(const CCRemoteRef* ref) const;
    bool Names(DatabaseItem::List list, std::vector<std::string>& out, Failure& failure);
    bool MakeQuery(const DatabaseItem& item, Query& query, Failure& failure);
    bool Fields(const DatabaseItem& item, std::vector<std::string>& out, Failure& failure);
    // The item's values (one column or all, one record or all), within the limits.
    bool Collect(const DatabaseItem& item, RecordSet& set, Failure& failure);
    bool ReadValue(const DatabaseItem& item, CCCellValue& value, Failure& failure);
    RecordSet* Set(uint16_t handle);
    int Record(RecordSet* set, long index, ostrel::platform::CPtrArray* record);
    void Note(const Failure& failure) { m_lastFailure = failure.message; }

    std::unique_ptr<SqliteConnection> m_connection;
    std::u16string m_name;
    Context m_ctx{this};
    std::vector<std::unique_ptr<RecordSet>> m_sets;  // by handle - 1; null when free
    std::string m_lastFailure;
};

}  // namespace ostrel::database
