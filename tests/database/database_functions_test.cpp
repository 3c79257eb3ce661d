// SPDX-License-Identifier: Apache-2.0
// Every database function typed into a cell and answered by a database document over the shop
// database (shop_database.h): the catalogue in name order, values by table, field and record
// in the documented orders, queries, filters and sorts, aggregations over record sets, and
// each failure's error value. Expected values follow from the rows the fixture inserts.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/string_array.h"
#include "ostrel/platform/utf.h"
#include "ostrel/remote/database_item.h"
#include "shop_database.h"

using database_testing::ShopDatabase;

namespace {

// Each formula typed into A1 of one shop sheet, against what A1 then shows.
void ExpectShown(std::initializer_list<std::pair<std::u16string_view, const char*>> cases) {
    ShopDatabase shop;
    for (const auto& [formula, shown] : cases)
        EXPECT_EQ(shop.Show(formula), shown) << ostrel::ToUtf8(formula);
}

}  // namespace

TEST(DatabaseItem, EncodesEachRequestAsOneTextAndRefusesEveryOther) {
    ostrel::DatabaseItem item;
    item.source = ostrel::DatabaseItem::Source::table;
    item.name = u"a;b\\c";
    item.filter = u"x = 'k=v'";
    item.field = u"f";
    item.record = 12;
    const std::u16string text = u"table=a\\;b\\\\c;filter=x = 'k=v';field=f;record=12";
    EXPECT_EQ(item.Encode(), text);
    EXPECT_EQ(ostrel::DatabaseItem::Decode(text), item);
    EXPECT_EQ(ostrel::DatabaseItem::Decode(u"list=tables;count=1")->list,
              ostrel::DatabaseItem::List::tables);
    for (const char16_t* bad : {
             u"field=f;table=t",            // out of order
             u"table=t;table=u",            // repeated
             u"table=t;colour=red",         // unknown
             u"table=",                     // empty value
             u"table=t;",                   // trailing separator
             u"table=t;record=01",          // leading zero
             u"table=t;record=-1",          // sign
             u"table=t;record=4294967296",  // past 32 bits
             u"table=a\\b",                 // escape of nothing
             u"table=t;sql=s",              // two sources
             u"list=tables;filter=x",       // a filter on the catalogue
             u"table=t;list=tables",        // the catalogue with a source
             u"list=fields",                // fields of nothing
             u"table=t;field=f;column=2",   // a field twice
             u"record=2",                   // a record of nothing
         })
        EXPECT_FALSE(ostrel::DatabaseItem::Decode(bad)) << ostrel::ToUtf8(bad);
}

TEST(DatabaseFunctions, ListTheCatalogueAndReadValuesInTheirOrders) {
    ExpectShown({
        {uR"(=DBTABLECOUNT("Shop"))", "4"},
        {uR"(=DBTABLENAME("Shop",1))", "customers"},
        {uR"(=DBTABLENAME("Shop",2))", "lines"},
        {uR"(=DBTABLENAME("Shop",4))", "tags"},
        {uR"(=DBQUERYCOUNT("Shop"))", "2"},
        {uR"(=DBQUERYNAME("Shop",2))", "cities"},
        // A foreign key without its parent's columns points at the parent's primary key.
        {uR"(=DBRELATIONCOUNT("Shop"))", "3"},
        {uR"(=DBRELATIONNAME("Shop",1))", "lines(order_id) -> orders(id)"},
        {uR"(=DBRELATIONNAME("Shop",2))", "lines(tag) -> tags(label)"},
        {uR"(=DBRELATIONNAME("Shop",3))", "orders(customer) -> customers(id)"},
        {uR"(=DBFIELDCOUNT("Shop","orders"))", "5"},
        {uR"(=DBFIELDNAME("Shop","orders",3))", "amount"},
        {uR"(=DBFIELDNAME("Shop","big_orders",1))", "amount"},
        // Tables in rowid order, whatever the order of insertion.
        {uR"(=DBGET("Shop","orders"))", "1"},
        {uR"(=DBGET("Shop","orders","amount",2))", "7"},
        {uR"(=DBGET("Shop","ORDERS","Amount"))", "12.5"},
        {uR"(=DBGET("Shop","orders",3,3))", "30"},
        {uR"(=DBGET("Shop","orders","note",4))", "fourth"},
        {uR"(=DBGET("Shop","orders","note",3))", ""},         // NULL
        {uR"(=DBGET("Shop","orders","data",2))", "#VALUE!"},  // a blob
        // Without rowid: primary key order. A view: the order of all its columns (NULL first).
        {uR"(=DBGET("Shop","tags","label"))", "alpha"},
        {uR"(=DBGET("Shop","big_orders","id",1))", "1"},
        {uR"(=DBGET("Shop","cities",1,1))", ""},
        {uR"(=DBGET("Shop","cities",1,2))", "Bern"},
    });
}

TEST(DatabaseFunctions, QueryFilterSortAndAggregateRecords) {
    ExpectShown({
        {uR"(=DBSQL("Shop","SELECT name FROM customers ORDER BY name DESC"))", "Cy"},
        // An ORDER BY inside parentheses is not the query's own: the order of all its columns.
        {uR"x(=DBSQL("Shop","SELECT * FROM (SELECT name FROM customers ORDER BY name DESC)"))x",
         "Ada"},
        // No ORDER BY of its own: the order of all its columns, city first.
        {uR"(=DBSQL("Shop","SELECT city, name FROM customers;","name",2))", "Bo"},
        {uR"(=DBFILTER("Shop","orders","amount > 8","id",2))", "3"},
        {uR"(=DBFILTER("Shop","orders","","id",4))", "4"},
        // Ties of a sort fall back to rowid order.
        {uR"(=DBSORT("Shop","orders","customer","id",2))", "3"},
        {uR"(=DBSORT("Shop","orders","customer DESC, amount","id",3))", "1"},
        {uR"(=DBSORT("Shop","orders",CONCATENATE(CHAR(34),"amount",CHAR(34)," desc"),"id"))", "3"},
        {uR"(=DBFILTERSORT("Shop","orders","note IS NOT NULL","amount DESC","note",3))", "second"},
        {uR"(=DBSQLFILTER("Shop","SELECT name, city FROM customers","city IS NOT NULL","name",2))",
         "Bo"},
        {uR"(=DBSQLSORT("Shop","SELECT name FROM customers","name DESC"))", "Cy"},
        {uR"(=DBSQLFILTERSORT("Shop","SELECT id, amount FROM orders","amount < 20","amount","id"))",
         "2"},
        // Aggregations read the whole record set.
        {uR"(=SUM(DBFILTER("Shop","orders","amount > 8","amount")))", "52.5"},
        {uR"(=SUM(DBGET("Shop","orders","amount",2)))", "7"},
        {uR"(=SUM(DBTABLECOUNT("Shop"),DBQUERYCOUNT("Shop")))", "6"},
        {uR"(=SUM(DBGET("Shop","nope")))", "#NAME?"},
        {uR"(=SUM(DBGET("Elsewhere","orders")))", "#REF!"},
    });
}

TEST(DatabaseFunctions, ShowWhyThereIsNoValue) {
    ExpectShown({
        {uR"(=DBGET("Elsewhere","orders"))", "#REF!"},
        {uR"(=DBTABLECOUNT("Elsewhere"))", "#REF!"},
        {uR"(=DBGET("Shop","nope"))", "#NAME?"},
        {uR"(=DBFIELDCOUNT("Shop","nope"))", "#NAME?"},
        {uR"(=DBGET("Shop","orders","nope"))", "#NAME?"},
        {uR"(=DBSORT("Shop","orders","nope"))", "#NAME?"},
        {uR"(=DBGET("Shop","orders","id",5))", "#N/A"},
        {uR"(=DBGET("Shop","orders",6))", "#N/A"},
        {uR"(=DBTABLENAME("Shop",5))", "#N/A"},
        {uR"(=DBFILTER("Shop","orders","amount > 99"))", "#N/A"},
        {uR"(=DBGET("Shop","orders","id",0))", "#VALUE!"},
        {uR"(=DBGET("Shop",""))", "#VALUE!"},
        {uR"(=DBSQL("Shop","SELEC 1"))", "#ARG!"},
        {uR"(=DBSORT("Shop","orders","id sideways"))", "#ARG!"},
    });
}

TEST(DatabaseDocument, WalksARecordSetThroughItsHandle) {
    ShopDatabase shop;
    CCCellManager& sheet = shop.sheet;
    auto number = [](ostrel::platform::CPtrArray& record, intptr_t i) {
        return static_cast<CCCellValue*>(record[i])->GetNumber();
    };
    const CCRemoteRef amounts(u"Shop", u"table=orders;field=amount");
    const uint16_t handle = sheet.DoRemoteOpenRef(&amounts);
    ASSERT_NE(handle, 0);
    ostrel::platform::CSize size;
    ASSERT_EQ(sheet.DoRemoteRefSize(&amounts, handle, &size), 1);
    EXPECT_EQ(size, ostrel::platform::CSize(1, 4));
    CCCellValue value;
    std::vector<double> values;
    while (sheet.DoRemoteNextValue(&amounts, handle, &value))
        values.push_back(value.GetNumber());
    EXPECT_EQ(values, (std::vector<double>{12.5, 7, 30, 10}));
    ostrel::platform::CPtrArray record;
    // The amount of the record a step lands on; NaN when it lands on none.
    auto landed = [&](int found) { return found == 1 ? number(record, 0) : std::nan(""); };
    EXPECT_EQ(sheet.DoRemoteGetPreviousRecord(&amounts, handle, &record), 0);  // none yet
    EXPECT_EQ(landed(sheet.DoRemoteGetLastRecord(&amounts, handle, &record)), 10);
    EXPECT_EQ(landed(sheet.DoRemoteGetPreviousRecord(&amounts, handle, &record)), 30);
    EXPECT_EQ(landed(sheet.DoRemoteGetRecord(&amounts, handle, 2, &record)), 7);
    EXPECT_EQ(landed(sheet.DoRemoteGetNextRecord(&amounts, handle, &record)), 30);
    EXPECT_EQ(sheet.DoRemoteGetRecord(&amounts, handle, 5, &record), 0);
    FreeValueArray(record);
    EXPECT_EQ(sheet.DoRemoteCloseRef(&amounts, handle), 1);
    EXPECT_EQ(sheet.DoRemoteCloseRef(&amounts, handle), 0);
    EXPECT_EQ(sheet.DoRemoteRefSize(&amounts, handle, &size), 0);

    // A whole record, and the field names as items.
    const CCRemoteRef second(u"Shop", u"table=customers;record=2");
    const uint16_t other = sheet.DoRemoteOpenRef(&second);
    ASSERT_EQ(sheet.DoRemoteGetFirstRecord(&second, other, &record), 1);
    ASSERT_EQ(record.GetSize(), 3);
    EXPECT_EQ(number(record, 0), 2);
    EXPECT_EQ(std::u16string(static_cast<CCCellValue*>(record[2])->GetText()), u"Bern");
    FreeValueArray(record);
    sheet.DoRemoteCloseRef(&second, other);
    ostrel::platform::CStringArray fields;
    ASSERT_EQ(sheet.DoRemoteGetItems(&second, &fields), 1);
    ASSERT_EQ(fields.GetSize(), 3);
    EXPECT_EQ(fields[2], u"city");
}

TEST(DatabaseDocument, OpensExistingDatabasesOnly) {
    ShopDatabase shop;
    std::string error;
    const std::filesystem::path missing = shop.dir / "missing.sqlite";
    EXPECT_FALSE(ostrel::database::DatabaseDocument::Open(missing.string(), u"M", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(missing));  // never created
    const std::filesystem::path text = shop.dir / "notes.txt";
    std::ofstream(text) << "not a database, just text\n";
    EXPECT_FALSE(ostrel::database::DatabaseDocument::Open(text.string(), u"T", error));
    EXPECT_FALSE(ostrel::database::DatabaseDocument::Open(shop.path, u"", error));
}
