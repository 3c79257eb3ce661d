// SPDX-License-Identifier: Apache-2.0
#include "shop_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <stdexcept>

#include "ostrel/functions/func.h"

namespace database_testing {

int CourierSheet::DoTransport(const CCRemoteRef* ref, ostrel::platform::CFile* file) {
    auto found = ref ? documents.find(ref->GetDocument()) : documents.end();
    return found == documents.end() ? 0 : found->second->OnTransport(file);
}

void ShopDatabase::Execute(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open");
    char* error = nullptr;
    const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (code != SQLITE_OK) throw std::runtime_error(message);
}

std::string ShopDatabase::Scalar(const std::string& sql) const {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string out = "?";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        out = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return out;
}

ShopDatabase::ShopDatabase(const ostrel::database::DatabaseLimits& limits) {
    static std::atomic<int> serial{0};
    dir = std::filesystem::temp_directory_path() /
          ("ostrel-db-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(dir);
    path = (dir / "shop.sqlite").string();
    Execute(path, R"(
        PRAGMA foreign_keys = ON;
        CREATE TABLE customers(id INTEGER PRIMARY KEY, name TEXT, city TEXT);
        CREATE TABLE orders(id INTEGER PRIMARY KEY, customer INTEGER REFERENCES customers(id),
                            amount REAL, note TEXT, data BLOB);
        CREATE TABLE tags(label TEXT PRIMARY KEY, weight INTEGER) WITHOUT ROWID;
        CREATE TABLE lines(order_id INTEGER REFERENCES orders, tag TEXT REFERENCES tags(label));
        CREATE VIEW big_orders AS SELECT amount, id FROM orders WHERE amount > 10;
        CREATE VIEW cities AS SELECT DISTINCT city FROM customers;
        INSERT INTO customers VALUES (2, 'Bo', 'Bern'), (1, 'Ada', 'Oslo'), (3, 'Cy', NULL);
        INSERT INTO orders VALUES (3, 1, 30, NULL, NULL), (1, 1, 12.5, 'first', NULL),
                                  (4, 3, 10, 'fourth', NULL), (2, 2, 7, 'second', x'00ff');
        INSERT INTO tags VALUES ('zeta', 1), ('alpha', 2);
        INSERT INTO lines VALUES (1, 'zeta'), (3, 'alpha');
    )");
    std::string error;
    document = ostrel::database::DatabaseDocument::Open(path, u"Shop", error, limits);
    if (!document) throw std::runtime_error(error);
    InitBuiltinFunctions();
    sheet.documents[u"Shop"] = document.get();
}

ShopDatabase::~ShopDatabase() {
    // The sheet outlives the document: what it still sends on its way out is not delivered.
    sheet.ReleaseContents();
    sheet.documents.clear();
    document.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

std::string ShopDatabase::Show(std::u16string_view formula) {
    sheet.Type(0, 0, formula);
    sheet.Settle();
    return sheet.Shown(0, 0);
}

}  // namespace database_testing
