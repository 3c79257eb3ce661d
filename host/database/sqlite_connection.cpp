// SPDX-License-Identifier: Apache-2.0
#include "database/sqlite_connection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace ostrel::database {

namespace {

// Functions that compute from their arguments alone. Everything else a formula may not call:
// load_extension and whatever reads or writes files, random values (a cell's value must not
// change when nothing changed), and what reports on the connection.
constexpr std::string_view kPureFunctions[] = {"abs",
                                               "acos",
                                               "acosh",
                                               "asin",
                                               "asinh",
                                               "atan",
                                               "atan2",
                                               "atanh",
                                               "avg",
                                               "ceil",
                                               "ceiling",
                                               "char",
                                               "coalesce",
                                               "concat",
                                               "concat_ws",
                                               "cos",
                                               "cosh",
                                               "count",
                                               "cume_dist",
                                               "date",
                                               "datetime",
                                               "degrees",
                                               "dense_rank",
                                               "exp",
                                               "first_value",
                                               "floor",
                                               "format",
                                               "glob",
                                               "group_concat",
                                               "hex",
                                               "ifnull",
                                               "iif",
                                               "instr",
                                               "json",
                                               "json_array",
                                               "json_array_length",
                                               "json_extract",
                                               "json_group_array",
                                               "json_group_object",
                                               "json_insert",
                                               "json_object",
                                               "json_patch",
                                               "json_quote",
                                               "json_remove",
                                               "json_replace",
                                               "json_set",
                                               "json_type",
                                               "json_valid",
                                               "julianday",
                                               "lag",
                                               "last_value",
                                               "lead",
                                               "length",
                                               "like",
                                               "likelihood",
                                               "likely",
                                               "ln",
                                               "log",
                                               "log10",
                                               "log2",
                                               "lower",
                                               "ltrim",
                                               "max",
                                               "min",
                                               "mod",
                                               "nth_value",
                                               "ntile",
                                               "nullif",
                                               "octet_length",
                                               "percent_rank",
                                               "pi",
                                               "pow",
                                               "power",
                                               "printf",
                                               "quote",
                                               "radians",
                                               "rank",
                                               "replace",
                                               "round",
                                               "row_number",
                                               "rtrim",
                                               "sign",
                                               "sin",
                                               "sinh",
                                               "soundex",
                                               "sqrt",
                                               "strftime",
                                               "string_agg",
                                               "substr",
                                               "substring",
                                               "sum",
                                               "tan",
                                               "tanh",
                                               "time",
                                               "timediff",
                                               "total",
                                               "trim",
                                               "trunc",
                                               "typeof",
                                               "unicode",
                                               "unixepoch",
                                               "unlikely",
                                               "upper"};

bool IsPureFunction(const char* name) {
    if (!name) return false;
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return std::find(std::begin(kPureFunctions), std::end(kPureFunctions), lower) !=
           std::end(kPureFunctions);
}

// Virtual machine steps between looks at the clock.
constexpr int kProgressSteps = 1000;

}  // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::Open(const std::string& path,
                                                         const DatabaseLimits& limits,
                                                         std::string& error) {
    // An absolute name cannot be read as a URI ("file:..."), whatever SQLite was built with.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec || path.empty()) {
        error = "not a file name";
        return nullptr;
    }
    if (!std::filesystem::is_regular_file(absolute, ec)) {
        error = "no such file";
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(absolute.c_str(), &db,
                                       SQLITE_OPEN_READONLY | SQLITE_OPEN_PRIVATECACHE, nullptr);
    if (opened != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<SqliteConnection> connection(new SqliteConnection(db, limits));
    sqlite3_extended_result_codes(db, 1);
    int off = 0;
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, &off);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &off);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, &off);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 1 << 20);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH,
                  int(std::min<uint64_t>(limits.bytes, uint64_t(1) << 30)));
    sqlite3_set_authorizer(db, &SqliteConnection::Authorize, connection.get());
    sqlite3_progress_handler(db, kProgressSteps, &SqliteConnection::Progress, connection.get());
    // A file that is no database fails here, not at the first formula.
    Failure failure;
    connection->StartRequest();
    auto probe =
        connection->Prepare("SELECT count(*) FROM sqlite_schema", Trust::document, failure);
    if (!probe || probe->Step(failure) < 0) {
        error = "not an SQLite database (" + failure.message + ")";
        return nullptr;
    }
    return connection;
}

SqliteConnection::~SqliteConnection() {
    sqlite3_close_v2(m_db);
}

void SqliteConnection::StartRequest() {
    m_timedOut = false;
    m_deadline = std::chrono::steady_clock::now() + m_limits.time;
}

int SqliteConnection::Progress(void* self) {
    auto* connection = static_cast<SqliteConnection*>(self);
    if (std::chrono::steady_clock::now() < connection->m_deadline) return 0;
    connection->m_timedOut = true;
    return 1;
}

int SqliteConnection::Authorize(void* self, int action, const char*, const char* b, const char* db,
                                const char*) {
    if (static_cast<SqliteConnection*>(self)->m_trusted) return SQLITE_OK;
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        case SQLITE_READ:
            // The opened database only: not the temp schema, nothing attached.
            return !db || std::strcmp(db, "main") == 0 ? SQLITE_OK : SQLITE_DENY;
        case SQLITE_FUNCTION:
            return IsPureFunction(b) ? SQLITE_OK : SQLITE_DENY;
        default:
            return SQLITE_DENY;
    }
}

Failure SqliteConnection::Failed(const char* what) const {
    if (m_timedOut)
        return {kTooMuch, "the query ran longer than its time limit of " +
                              std::to_string(m_limits.time.count()) + " ms"};
    const int code = sqlite3_errcode(m_db) == SQLITE_TOOBIG ? kTooMuch : kRefused;
    return {code, std::string(what) + ": " + sqlite3_errmsg(m_db)};
}

namespace {
// Marks the connection trusted while the document's own statements are prepared or stepped.
class TrustScope {
public:
    TrustScope(bool& flag, Trust trust) : m_flag(flag), m_saved(flag) {
        m_flag = trust == Trust::document;
    }
    ~TrustScope() { m_flag = m_saved; }
    TrustScope(const TrustScope&) = delete;
    TrustScope& operator=(const TrustScope&) = delete;

private:
    bool& m_flag;
    bool m_saved;
};

bool OnlyBlanks(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\f\v;") == std::string_view::npos;
}
}  // namespace

std::unique_ptr<Statement> SqliteConnection::Prepare(std::string_view sql, Trust trust,
                                                     Failure& failure, size_t* length) {
    TrustScope scope(m_trusted, trust);
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sql.size() > size_t(sqlite3_limit(m_db, SQLITE_LIMIT_SQL_LENGTH, -1))) {
        failure = {kRefused, "the query text is too long"};
        return nullptr;
    }
    if (sqlite3_prepare_v3(m_db, sql.data(), int(sql.size()), 0, &raw, &tail) != SQLITE_OK) {
        failure = Failed("the query is refused");
        sqlite3_finalize(raw);
        return nullptr;
    }
    auto statement = std::make_unique<Statement>(*this, raw, trust);
    if (!raw) {
        failure = {kRefused, "the query is empty"};
        return nullptr;
    }
    // What follows the statement may be blanks and comments only: a second statement
    // compiles to something.
    std::string_view rest(tail, size_t(sql.data() + sql.size() - tail));
    if (length) {
        size_t end = size_t(tail - sql.data());
        while (end > 0 &&
               (sql[end - 1] == ';' ||
                std::string_view(" \t\r\n\f\v").find(sql[end - 1]) != std::string_view::npos))
            --end;
        *length = end;
    }
    while (!OnlyBlanks(rest)) {
        sqlite3_stmt* next = nullptr;
        const char* nextTail = nullptr;
        const int code =
            sqlite3_prepare_v3(m_db, rest.data(), int(rest.size()), 0, &next, &nextTail);
        sqlite3_finalize(next);
        if (code != SQLITE_OK || next || nextTail == rest.data()) {
            failure = {kRefused, "the query holds more than one statement"};
            return nullptr;
        }
        rest = std::string_view(nextTail, size_t(rest.data() + rest.size() - nextTail));
    }
    if (trust == Trust::formula && (!sqlite3_stmt_readonly(raw) || sqlite3_stmt_isexplain(raw) ||
                                    sqlite3_column_count(raw) == 0)) {
        failure = {kRefused, "only a query that reads records is allowed"};
        return nullptr;
    }
    return statement;
}

Statement::~Statement() {
    sqlite3_finalize(m_statement);
}

int Statement::Step(Failure& failure) {
    TrustScope scope(m_connection.m_trusted, m_trust);
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW) return 1;
    if (code == SQLITE_DONE) return 0;
    failure = m_connection.Failed("the query failed");
    return -1;
}

int Statement::ColumnCount() const {
    return sqlite3_column_count(m_statement);
}

std::string Statement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(m_statement, column);
    return name ? name : "";
}

}  // namespace ostrel::database
