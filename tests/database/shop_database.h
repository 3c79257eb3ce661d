// SPDX-License-Identifier: Apache-2.0
// A small shop database built with SQLite for each test, served by a database document, and a
// sheet whose requests a courier carries to it as a host would: the whole road of a database
// function, from the typed formula through the request file to the SQLite file and back.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "database/database_document.h"
#include "ostrel/platform/file.h"
#include "ostrel/refs/remote_ref.h"
#include "support/test_host.h"

namespace database_testing {

// Hands every request to the document of the name the reference gives; a name no document has
// is not delivered.
class CourierSheet : public testing_support::TestSheet {
public:
    using TestSheet::TestSheet;
    std::map<std::u16string, CCCellManager*> documents;
    int DoTransport(const CCRemoteRef* ref, ostrel::platform::CFile* file) override;
};

// customers(id INTEGER PRIMARY KEY, name, city), orders(id INTEGER PRIMARY KEY, customer
// REFERENCES customers(id), amount, note, data BLOB), tags(label PRIMARY KEY, weight) WITHOUT
// ROWID, lines(order_id REFERENCES orders, tag REFERENCES tags(label)); views big_orders and
// cities. Rows are inserted out of rowid order.
class ShopDatabase {
public:
    explicit ShopDatabase(const ostrel::database::DatabaseLimits& limits = {});
    ~ShopDatabase();

    // Runs SQL on the file with SQLite directly, outside the document.
    static void Execute(const std::string& path, const std::string& sql);
    // The first column of the first row, as text, read outside the document.
    std::string Scalar(const std::string& sql) const;

    std::filesystem::path dir;
    std::string path;
    std::unique_ptr<ostrel::database::DatabaseDocument> document;
    CourierSheet sheet{u"Sheet1"};

    // Types the formula into A1 and shows what A1 shows.
    std::string Show(std::u16string_view formula);
};

}  // namespace database_testing
