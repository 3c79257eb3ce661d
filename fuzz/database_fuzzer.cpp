// SPDX-License-Identifier: Apache-2.0
// The database document's server entry (OnTransport) on arbitrary request files: any request
// code, remote reference, item text and arguments, against a small database built once.
// Record sets a request leaves open stay open across inputs, as they would between requests.
#include <sqlite3.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "database/database_document.h"
#include "ostrel/engine/module.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/file.h"

namespace {

std::unique_ptr<ostrel::database::DatabaseDocument> MakeDocument() {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("ostrel-db-fuzz-" + std::to_string(::getpid()) + ".sqlite");
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, R"(
        CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, amount REAL, data BLOB);
        CREATE TABLE k(label TEXT PRIMARY KEY, t_id INTEGER REFERENCES t) WITHOUT ROWID;
        CREATE VIEW v AS SELECT name, amount FROM t WHERE amount > 1;
        INSERT INTO t VALUES (2, 'b', 2.5, x'01'), (1, 'a', NULL, NULL), (3, NULL, 7, NULL);
        INSERT INTO k VALUES ('x', 1), ('y', 3);
    )",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ostrel::database::DatabaseLimits limits;
    limits.time = std::chrono::milliseconds(200);
    limits.rows = 1000;
    limits.bytes = 1 << 20;
    std::string error;
    auto document = ostrel::database::DatabaseDocument::Open(path.string(), u"db", error, limits);
    std::filesystem::remove(path);  // the open file stays readable
    return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = QXCellInit() == 1;
    static std::unique_ptr<ostrel::database::DatabaseDocument> document = MakeDocument();
    if (!started || !document) return 0;
    ostrel::platform::CMemFile file;
    file.Write(data, size);
    try {
        document->OnTransport(&file);
    } catch (const ostrel::CException&) {
    }
    return 0;
}
