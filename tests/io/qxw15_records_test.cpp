// SPDX-License-Identifier: Apache-2.0
// The legacy records: byte layouts read back to the same bytes, and readers that refuse
// bad records instead of following them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/qxw15_support.h"
#include "ostrel/io/qxw15_exchange.h"
#include "support/archive_bytes.h"

using qxw15_testing::Put32;
using qxw15_testing::PutOpHead;
using testing_support::ArchiveCause;
using testing_support::Load;
using testing_support::LoadCause;
using testing_support::Store;
using X = CCQXW15Exchange;

TEST(QXW15Strings, NullIsOneByteAndLongTextsAreRefusedWhole) {
    EXPECT_EQ(Store([](CArchive& ar) { X::WriteString16(ar, std::nullopt); }),
              std::vector<uint8_t>{0xFF});
    Load({0xFF, 2, 'h', 'i'}, [](CArchive& ar) {
        EXPECT_FALSE(X::ReadString16(ar).has_value());
        EXPECT_EQ(X::ReadString16(ar), std::string("hi"));
    });
    EXPECT_EQ(Store([](CArchive& ar) { X::WriteString16(ar, std::string(254, 'a')); }).size(),
              255u);
    // A length byte of 255 would read as null and the text as the records after it.
    std::vector<uint8_t> written;
    EXPECT_EQ(ArchiveCause([&] {
                  written =
                      Store([](CArchive& ar) { X::WriteString16(ar, std::string(255, 'a')); });
              }),
              CArchiveException::generic);
    EXPECT_TRUE(written.empty());
}

TEST(QXW15Reader, DepthAndCountsAreBoundedBeforeUse) {
    // kMaxDepth nested one-argument operations read; one more is refused.
    auto nested = [](int depth) {
        std::vector<uint8_t> bytes;
        for (int i = 1; i < depth; ++i)
            PutOpHead(bytes, "ABS", 1);
        bytes.insert(bytes.end(), {2, X::kValueNumber, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        return bytes;
    };
    auto readFormula = [](CArchive& ar) { delete X::ReadFormula(ar); };
    EXPECT_EQ(LoadCause(nested(X::kMaxDepth), readFormula), CArchiveException::none);
    EXPECT_EQ(LoadCause(nested(X::kMaxDepth + 1), readFormula), CArchiveException::badFormat);

    // Counts far beyond the bytes left: arguments, reference lists, a query's arrays.
    std::vector<uint8_t> arguments;
    PutOpHead(arguments, "SUM", 0xFFFFFFFF);
    EXPECT_EQ(LoadCause(arguments, readFormula), CArchiveException::badFormat);
    std::vector<uint8_t> list;
    Put32(list, 0x40000000);
    list.insert(list.end(), 16, 0);
    EXPECT_EQ(LoadCause(list, [](CArchive& ar) { X::FreeRefList(X::ReadRefList(ar)); }),
              CArchiveException::badFormat);
    for (int array = 0; array < 3; ++array) {
        std::vector<uint8_t> query = {4, 0, 0xFF, 0xFF};
        for (int i = 0; i < array; ++i)
            Put32(query, 0);
        Put32(query, 0x10000000);
        query.insert(query.end(), 32, 0);
        EXPECT_EQ(LoadCause(query, [](CArchive& ar) { delete X::ReadCoords(ar); }),
                  CArchiveException::badFormat)
            << "array " << array;
    }
}

TEST(QXW15Records, EveryKindReadsBackToTheSameBytes) {
    X::CCQXW15_Cell cell;
    auto* query = new X::CCQXW15_CoordsQuery;
    query->m_file.m_kind = 3;
    query->m_file.m_first = "db";
    query->m_fields = {std::string("name"), std::nullopt};
    query->m_conditions.emplace_back();
    query->m_conditions.back().m_field = "age";
    query->m_conditions.back().m_word = 7;
    auto* constant = new X::CCQXW15_FormulaConst;
    constant->m_value.m_type = X::kValueText;
    constant->m_value.m_text = "x";
    query->m_conditions.back().m_formula = constant;
    query->m_sortKeys.push_back({1, std::string("name")});
    auto* remote = new X::CCQXW15_RemoteRef;
    remote->m_file.m_second = "other";
    remote->m_coords = query;
    auto* region = new X::CCQXW15_CoordsRegion;
    region->m_first.m_column = -3;
    region->m_second.m_row = 9;
    region->m_second.m_absRow = 1;
    auto* op = new X::CCQXW15_FormulaOp;
    op->m_name = "SUM";
    auto* first = new X::CCQXW15_FormulaRef;
    first->m_ref = remote;
    auto* second = new X::CCQXW15_FormulaRef;
    second->m_ref = new X::CCQXW15_Ref(region);
    op->AddArg(first);
    op->AddArg(second);
    op->AddArg(nullptr);
    cell.m_formula = op;
    auto* name = new X::CCQXW15_CoordsName;
    name->m_name = "rate";
    cell.m_position = name;
    X::RefListAddLast(cell.m_dependents, new X::CCQXW15_Ref(new X::CCQXW15_CoordsRC));
    X::RefListAddLast(cell.m_dependents, nullptr);
    cell.m_value.m_number = 2.5;
    cell.m_value.m_type = X::kValueCurrency;
    cell.m_value.m_decimals = 2;

    const std::vector<uint8_t> bytes = Store([&](CArchive& ar) { cell.Write(ar); });
    X::CCQXW15_Cell read;
    Load(bytes, [&](CArchive& ar) { read.Read(ar); });
    EXPECT_EQ(Store([&](CArchive& ar) { read.Write(ar); }), bytes);
    EXPECT_EQ(X::GetRefListLen(read.m_dependents), 2u);
    EXPECT_EQ(static_cast<const X::CCQXW15_FormulaOp*>(read.m_formula)->GetNumArgs(), 3u);
    // Cut anywhere, the record raises the archive's exception and is left empty.
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + long(cut));
        EXPECT_NE(LoadCause(part, [&](CArchive& ar) { read.Read(ar); }), CArchiveException::none);
        EXPECT_EQ(read.m_formula, nullptr);
    }
}

// Reading an unterminated field: the number format conversion test.
TEST(QXW15Records, TheUnitTextFieldIsBounded) {
    X::CCQXW15_NumberFormat record;
    record.SetUnitText("kilograms");
    EXPECT_EQ(record.GetUnitText(), "kilogra");
    record.SetUnitText("g");
    const std::vector<uint8_t> expected = {0, 0, 0,   0, 0, 0, 0, 0, 0, 0,
                                           0, 0, 'g', 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Store([&](CArchive& ar) { record.Write(ar); }), expected);
}
