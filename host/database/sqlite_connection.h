// SPDX-License-Identifier: Apache-2.0
// One SQLite database opened read-only, and the statements run on it. Formulas are untrusted
// input, so every statement a formula's text goes into is prepared under an authorizer that
// lets it read the opened database and do nothing else (no writes, no ATTACH, no PRAGMA, no
// temp schema, only functions that compute from their arguments), and runs within a time
// limit. The document's own catalogue queries are prepared as trusted.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace ostrel::database {

// What one query may cost. Past either size the query is refused as a whole, never cut.
struct DatabaseLimits {
    std::chrono::milliseconds time{2000};  // per request
    uint64_t rows = 100000;                // records one record set may hold
    uint64_t bytes = 16u << 20;            // bytes one record set may hold; also the longest value
    size_t openRecordSets = 32;            // record sets open at once
};

// Why a request failed: the error value a cell shows, and a sentence for the host.
struct Failure {
    int code = 0;
    std::string message;
};

// Error values of database answers. Never 0: a code of 0 reads as no error.
enum : int {
    kWrongKind = 3,  // #VALUE!: a value a cell cannot show (a blob), an argument of no use
    kRefused = 4,    // #ARG!: the query (or filter, or sort) does not compile or would do more
                     // than read
    kTooMuch = 6,    // #NUM!: the query ran past its time or gave more than a record set holds
    kNoName = 7,     // #NAME?: no such table, query or field
    kPastEnd = 9,    // #N/A: a record, field or entry past the last
};

enum class Trust { formula, document };

class SqliteConnection;

// A prepared statement, finalized when it goes.
class Statement {
public:
    Statement(SqliteConnection& connection, sqlite3_stmt* statement, Trust trust)
        : m_connection(connection), m_statement(statement), m_trust(trust) {}
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // The next row: 1, 0 at the end, -1 on failure (set).
    int Step(Failure& failure);
    sqlite3_stmt* get() const { return m_statement; }
    int ColumnCount() const;
    std::string ColumnName(int column) const;

private:
    SqliteConnection& m_connection;
    sqlite3_stmt* m_statement;
    Trust m_trust;
};

class SqliteConnection {
public:
    // The file opened read-only, as a file name (never a URI) and never created; null with
    // error set when it cannot be opened or is no database.
    static std::unique_ptr<SqliteConnection> Open(const std::string& path,
                                                  const DatabaseLimits& limits, std::string& error);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Starts the time of a request: statements stepped until the next call share it.
    void StartRequest();
    // One statement of SQL; anything after it but blanks, ";" and comments refuses it, and a
    // formula's statement must be a query that only reads. Null with failure set otherwise.
    // length (when given) receives how much of sql the statement is, without a final ";".
    std::unique_ptr<Statement> Prepare(std::string_view sql, Trust trust, Failure& failure,
                                       size_t* length = nullptr);

    const DatabaseLimits& Limits() const { return m_limits; }

private:
    friend class Statement;
    SqliteConnection(sqlite3* db, const DatabaseLimits& limits) : m_db(db), m_limits(limits) {}
    static int Authorize(void* self, int action, const char* a, const char* b, const char* db,
                         const char* inner);
    static int Progress(void* self);
    // The failure of the last call on the connection.
    Failure Failed(const char* what) const;

    sqlite3* m_db;
    DatabaseLimits m_limits;
    bool m_trusted = false;  // while the document's own statements are prepared or run
    bool m_timedOut = false;
    std::chrono::steady_clock::time_point m_deadline;
};

}  // namespace ostrel::database
