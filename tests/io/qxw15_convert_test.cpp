// SPDX-License-Identifier: Apache-2.0
// Conversion between the legacy records and the engine: coordinates with their origin,
// the value and format tables, and what the old form cannot carry.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "formats/lt_strings.h"
#include "io/qxw15_support.h"
#include "ostrel/formula/formula.h"
#include "ostrel/io/qxw15_convert.h"
#include "ostrel/platform/geometry.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

using qxw15_testing::PutOpHead;
using testing_support::Load;
using testing_support::Store;
using testing_support::TestSheet;
using X = CCQXW15Exchange;

namespace {

std::unique_ptr<CCFormula> FormulaOf(TestSheet& sheet, unsigned char column, uint16_t row) {
    CCCell* cell = sheet.Cell(column, row);
    return std::unique_ptr<CCFormula>(cell->LoadFormula(sheet.GetCTX())->Copy());
}

}  // namespace

TEST(QXW15Coordinates, RelativeOffsetsFromTheCellAndNothingOffTheGrid) {
    TestSheet sheet;
    sheet.Type(1, 2, u"=B4+$C$1");  // in B3: one row below, and an absolute cell
    CCQXW15Convert convert(&sheet);
    const CPoint origin(2, 3);
    std::unique_ptr<CCFormula> formula = FormulaOf(sheet, 1, 2);
    std::unique_ptr<X::CCQXW15_Formula> record(convert.ConvertTo15(formula.get(), &origin));
    ASSERT_TRUE(record && record->GetType() == 1);
    const auto* op = static_cast<const X::CCQXW15_FormulaOp*>(record.get());
    ASSERT_EQ(op->GetNumArgs(), 2u);
    auto coords = [](const CCQXW15Exchange::CCQXW15_Formula* f) {
        const auto* ref = static_cast<const X::CCQXW15_FormulaRef*>(f);
        const auto& rc = static_cast<const X::CCQXW15_CoordsRC&>(*ref->m_ref->m_coords);
        return std::tuple(rc.m_row, rc.m_column, rc.m_absRow != 0, rc.m_absColumn != 0);
    };
    EXPECT_EQ(coords(op->m_args->m_pFormula), std::tuple(1, 0, false, false));
    EXPECT_EQ(coords(op->m_args->m_pNext->m_pFormula), std::tuple(1, 3, true, true));
    // From another cell, the same record reads relative to that cell.
    std::unique_ptr<CCFormula> back(convert.ConvertTo95(record.get(), &origin));
    ASSERT_TRUE(back);
    const std::string typed = sheet.Formula(1, 2);
    sheet.Cell(1, 2)->SetFormula(sheet.GetCTX(), back.get(), true);
    EXPECT_EQ(sheet.Formula(1, 2), typed);

    // Column 257 and row 65537 once the origin is applied, and column 0 absolute: the old
    // program's 8- and 16-bit fields would have named A and row 1.
    unsigned char mask = 0;
    auto convertRC = [&](int16_t column, int16_t row, bool absolute) {
        X::CCQXW15_CoordsRC coords;
        coords.m_column = column;
        coords.m_row = row;
        coords.m_absColumn = coords.m_absRow = absolute;
        return std::unique_ptr<CCRef>(convert.ConvertTo95(&coords, &origin, mask));
    };
    EXPECT_FALSE(convertRC(255, 0, false));
    EXPECT_TRUE(convertRC(254, 0, false));
    EXPECT_FALSE(convertRC(0, -3, false));
    EXPECT_TRUE(convertRC(0, -2, false));
    EXPECT_FALSE(convertRC(0, 1, true));
    EXPECT_FALSE(convertRC(257, 1, true));
    // The old program's fields are signed 16 bits: rows past 32767 are not carried.
    const CCRCRef far(0, 40000);
    EXPECT_EQ(convert.ConvertTo15(&far, 0, nullptr), nullptr);
    const CPoint top(1, 1);
    EXPECT_EQ(convert.ConvertTo15(&far, 0, &top), nullptr);
    const CCRCRef last(0, 32766);
    EXPECT_NE(std::unique_ptr<X::CCQXW15_Coords>(convert.ConvertTo15(&last, 0, nullptr)), nullptr);
    X::CCQXW15_CoordsRC pastLastRow;
    pastLastRow.m_row = 1;
    const CPoint lastRow(1, 65536);
    EXPECT_EQ(convert.ConvertTo95(&pastLastRow, &lastRow, mask), nullptr);
    std::unique_ptr<CCRef> corner = convertRC(256, 65, true);
    ASSERT_TRUE(corner);
    const auto& cornerCell = static_cast<const CCRCRef&>(*corner);
    EXPECT_EQ(std::tuple(cornerCell.GetColumn(), cornerCell.GetRow(), mask),
              std::tuple(255, 64, REF_ABS_COL1 | REF_ABS_ROW1));
}

TEST(QXW15Formulas, WhatTheOldFormCannotCarryIsNone) {
    TestSheet sheet;
    sheet.Type(0, 0, u"=CHOOSE(2,10,20)");
    sheet.Type(0, 1, u"=A1*2.5");  // a fractional constant reads back as a rounded one
    sheet.Type(0, 2, u"=SUM(A1:A2)*2");
    CCQXW15Convert convert(&sheet);
    X::CCQXW15_Cell choose, fraction, sum;
    EXPECT_FALSE(convert.ConvertTo15(*sheet.Cell(0, 0), choose));
    EXPECT_FALSE(convert.ConvertTo15(*sheet.Cell(0, 1), fraction));
    EXPECT_TRUE(convert.ConvertTo15(*sheet.Cell(0, 2), sum));
    // The cell keeps its value; its formula is tag 0 right after the value.
    EXPECT_EQ(choose.m_value.m_number, 20);
    const std::vector<uint8_t> bytes = Store([&](CArchive& ar) { choose.Write(ar); });
    const size_t position = 1 + 16, value = 1 + 8 + 4;
    ASSERT_GT(bytes.size(), position + value);
    EXPECT_EQ(bytes[position + value], 0);

    // An operation naming no function of the registry reads back as no formula.
    std::vector<uint8_t> unknown;
    PutOpHead(unknown, "NOSUCHFUNC", 0);
    Load(unknown, [&](CArchive& ar) {
        std::unique_ptr<X::CCQXW15_Formula> record(X::ReadFormula(ar));
        ASSERT_TRUE(record);
        const CPoint origin(1, 1);
        EXPECT_EQ(convert.ConvertTo95(record.get(), &origin), nullptr);
    });
    // Nor does a name that only begins with one, or a tree deeper than a reader accepts.
    auto chain = [](int depth, const std::string& name) {
        auto* constant = new X::CCQXW15_FormulaConst;
        constant->m_value.m_type = X::kValueNumber;
        std::unique_ptr<X::CCQXW15_Formula> top(constant);
        for (int i = 1; i < depth; ++i) {
            auto op = std::make_unique<X::CCQXW15_FormulaOp>();
            op->m_name = name;
            op->AddArg(top.release());
            top = std::move(op);
        }
        return top;
    };
    const CPoint origin(1, 1);
    std::unique_ptr<CCFormula> shallow(
        convert.ConvertTo95(chain(X::kMaxDepth, "ABS").get(), &origin));
    EXPECT_NE(shallow, nullptr);
    EXPECT_EQ(convert.ConvertTo95(chain(X::kMaxDepth + 1, "ABS").get(), &origin), nullptr);
    EXPECT_EQ(convert.ConvertTo95(chain(2, std::string("ABS\0X", 5)).get(), &origin), nullptr);
}

TEST(QXW15Values, TheTableBothWays) {
    TestSheet sheet;
    CCQXW15Convert convert(&sheet);
    const int codes[6][2] = {{0, 0}, {1, 2}, {2, 6}, {3, 7}, {4, 8}, {5, 7}};
    const int back[6] = {1, 1, 2, 3, 4, 3};
    for (int i = 0; i < 6; ++i) {
        X::CCQXW15_CellValue record;
        convert.ConvertTo15(CCCellValue(codes[i][0]), record);
        CCCellValue read;
        convert.ConvertTo95(record, read);
        EXPECT_EQ(std::tuple(record.m_type, record.m_code, read.GetError()),
                  std::tuple(X::kValueError, codes[i][1], back[i]))
            << "error " << codes[i][0];
    }
    // A boolean is a plain number of the old program.
    CCCellValue truth;
    truth.Set(1.0, C_NF_BOOL);
    X::CCQXW15_CellValue record;
    convert.ConvertTo15(truth, record);
    EXPECT_EQ(std::tuple(record.m_type, record.m_decimals), std::tuple(X::kValueNumber, 0));
    CCCellValue read;
    convert.ConvertTo95(record, read);
    EXPECT_EQ(std::tuple(read.GetFormat().getType(), read.GetNumber()),
              std::tuple(C_NF_NUMBER, 1.0));
    // Decimals are the format's precision; a text past 254 bytes is cut and said so.
    CCNumberFormat percent;
    percent.Set(C_NF_PERCENT);
    percent.SetPrecision(3);
    convert.ConvertTo15(CCCellValue(), record);
    EXPECT_EQ(record.m_type, X::kValuePlaceholder);
    CCCellValue share;
    share.Set(0.125, percent);
    convert.ConvertTo15(share, record);
    EXPECT_EQ(std::tuple(record.m_type, record.m_decimals), std::tuple(X::kValuePercent, 3));
    const std::u16string longText(300, u'x');
    EXPECT_FALSE(convert.ConvertTo15(CCCellValue(longText.c_str()), record));
    EXPECT_EQ(record.m_text->size(), X::kMaxString16);
}

TEST(QXW15NumberFormats, KindsWordsAndDefinedBytes) {
    TestSheet sheet;
    CCQXW15Convert convert(&sheet);
    CCNumberFormat fraction;
    fraction.Set(C_NF_FRACTION);
    fraction.SetPrecision(2);
    X::CCQXW15_NumberFormat record;
    convert.ConvertTo15(fraction, record);
    EXPECT_EQ(std::tuple(record.GetWord(0), record.GetWord(1)), std::tuple(5, 2));
    CCNumberFormat read;
    convert.ConvertTo95(record, read);
    EXPECT_EQ(std::tuple(read.getType(), read.getPrecision()), std::tuple(C_NF_FRACTION, 1));

    // Every byte written is defined: a time format is two words of the table, then zeros,
    // whatever the record held before.
    CCNumberFormat clock;
    clock.Set(C_NF_TIME);
    clock.SetTimeSeconds(1);
    clock.SetTimeRange(1);
    X::CCQXW15_NumberFormat reused;
    reused.SetUnitText("garbage");
    convert.ConvertTo15(clock, reused);
    const std::vector<uint8_t> expected = {
        2, 0, CCNumberFormat::kTimeSecondsBit, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Store([&](CArchive& ar) { reused.Write(ar); }), expected);

    // Dates: each code of the table maps back to the attribute it came from.
    CCNumberFormat date;
    date.Set(C_NF_DATE);
    date.SetDelimiter(u'.');
    date.SetMonthType(1);
    date.SetYearType(2);
    date.SetMDOrder(1);
    convert.ConvertTo15(date, record);
    EXPECT_EQ(
        std::tuple(record.GetWord(1), record.GetWord(2), record.GetWord(3), record.GetWord(7)),
        std::tuple(2, 2, 1, 0));
    CCNumberFormat dateBack;
    convert.ConvertTo95(record, dateBack);
    EXPECT_EQ(std::tuple(dateBack.getDelimiter(), dateBack.getMonthType(), dateBack.getYearType(),
                         dateBack.getMDOrder()),
              std::tuple(u'.', 1, 2, 1));

    // A unit text of eight bytes without a terminator ends with its field.
    std::vector<uint8_t> bytes(20, 0);
    bytes[10] = 2;  // trailing
    for (int i = 0; i < 8; ++i)
        bytes[12 + size_t(i)] = uint8_t('a' + i);
    Load(bytes, [&](CArchive& ar) { record.Read(ar); });
    CCNumberFormat unit;
    convert.ConvertTo95(record, unit);
    EXPECT_EQ(
        std::tuple(unit.IsLTString(), unit.GetLTStringMode(), GetLTString(unit.GetLTString())),
        std::tuple(true, 2, u"abcdefgh"));
}
