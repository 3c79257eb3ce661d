// SPDX-License-Identifier: Apache-2.0
// A sheet is untrusted input: every statement a formula can hand the database document that
// would do more than read the opened database is refused (and the file stays as it was), and
// queries that run too long or give too much are refused rather than cut.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shop_database.h"

using database_testing::ShopDatabase;

namespace {

std::u16string Quoted(const std::string& sql) {
    std::u16string out = u"\"";
    for (char c : sql) {
        if (c == '"') out += u'"';
        out += char16_t(c);
    }
    return out + u"\"";
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(DatabaseSecurity, FormulasMayOnlyReadTheOpenedDatabase) {
    ShopDatabase shop;
    const std::filesystem::path copy = shop.dir / "copy.sqlite";
    const std::filesystem::path attached = shop.dir / "attached.sqlite";
    ShopDatabase::Execute(attached.string(), "CREATE TABLE secrets(x)");
    const std::string before = Contents(shop.path);
    const std::string refused[] = {
        "INSERT INTO orders(id) VALUES (9)",
        "UPDATE orders SET amount = 0",
        "DELETE FROM orders",
        "DROP TABLE orders",
        "CREATE TEMP TABLE t(x)",
        "CREATE TEMP VIEW v AS SELECT 1",
        "SELECT * FROM temp.sqlite_master",
        "ATTACH '" + attached.string() + "' AS other",
        "SELECT * FROM other.secrets",
        "VACUUM INTO '" + copy.string() + "'",
        "PRAGMA user_version",
        "PRAGMA query_only = 0",
        "SELECT * FROM pragma_table_info('orders')",
        "SELECT load_extension('libm')",
        "SELECT readfile('/etc/passwd')",
        "SELECT random()",
        "SELECT 1; DELETE FROM orders",
        "BEGIN",
        "EXPLAIN SELECT 1",
    };
    for (const std::string& sql : refused) {
        EXPECT_EQ(shop.Show(u"=DBSQL(\"Shop\"," + Quoted(sql) + u")"), "#ARG!") << sql;
        EXPECT_FALSE(shop.document->LastFailure().empty()) << sql;
    }
    // A filter stays one condition: it cannot close the statement's parenthesis or comment
    // the rest away.
    EXPECT_EQ(shop.Show(u"=DBFILTER(\"Shop\",\"orders\",\"1) UNION SELECT 1,2,3,4,5 --\")"),
              "#ARG!");
    EXPECT_EQ(shop.Show(u"=DBFILTER(\"Shop\",\"orders\",\"1) OR (1\")"), "#ARG!");
    EXPECT_EQ(shop.Show(u"=DBFILTER(\"Shop\",\"orders\",\"id = 1; DELETE FROM orders\")"), "#ARG!");
    // What stays allowed: reading, with functions that compute from their arguments.
    EXPECT_EQ(shop.Show(u"=DBSQL(\"Shop\",\"SELECT upper(min(name)) || count(*) FROM customers\")"),
              "ADA3");

    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(Contents(shop.path), before);
    EXPECT_EQ(shop.Scalar("SELECT count(*) || '/' || sum(amount) FROM orders"), "4/59.5");
}

TEST(DatabaseSecurity, QueriesStayWithinTimeAndSize) {
    ostrel::database::DatabaseLimits limits;
    limits.time = std::chrono::milliseconds(250);
    limits.rows = 3;
    limits.bytes = 4096;
    ShopDatabase shop(limits);
    EXPECT_EQ(shop.Show(u"=DBSQL(\"Shop\",\"WITH RECURSIVE r(x) AS (SELECT 1 UNION ALL "
                        u"SELECT x + 1 FROM r) SELECT count(*) FROM r\")"),
              "#NUM!");
    EXPECT_NE(shop.document->LastFailure().find("time limit"), std::string::npos);
    // The next request has its own time.
    EXPECT_EQ(shop.Show(u"=DBTABLECOUNT(\"Shop\")"), "4");

    // Four amounts are more records than a set may hold; three are not.
    EXPECT_EQ(shop.Show(u"=SUM(DBGET(\"Shop\",\"orders\",\"amount\"))"), "#NUM!");
    EXPECT_NE(shop.document->LastFailure().find("more than 3 records"), std::string::npos);
    EXPECT_EQ(shop.Show(u"=SUM(DBFILTER(\"Shop\",\"orders\",\"amount > 8\",\"amount\"))"), "52.5");
    // Three texts of 1,500 characters are more bytes than a set may hold; one is not.
    const std::u16string texts =
        u"DBSQL(\"Shop\",\"SELECT printf('%.*c', 1500, 'x') FROM customers\")";
    EXPECT_EQ(shop.Show(u"=SUM(" + texts + u")"), "#NUM!");
    EXPECT_NE(shop.document->LastFailure().find("more than 4096 bytes"), std::string::npos);
    EXPECT_EQ(shop.Show(u"=LEN(" + texts + u")"), "1500");
    // A value longer than the limit is refused by SQLite itself, not cut.
    EXPECT_EQ(shop.Show(u"=DBSQL(\"Shop\",\"WITH RECURSIVE r(x) AS (SELECT 1 UNION ALL SELECT "
                        u"x + 1 FROM r WHERE x < 3000) SELECT group_concat('xx', '') FROM r\")"),
              "#NUM!");
}
