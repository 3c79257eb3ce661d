// SPDX-License-Identifier: Apache-2.0
// The exchange stream: byte forms of its commands, what reading them does to cells, and the
// refusals of payloads that do not hold what their code needs.
#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <tuple>
#include <vector>

#include "formats/lt_strings.h"
#include "io/exchange_support.h"
#include "ostrel/formats/cell_format.h"
#include "ostrel/platform/utf.h"

using exchange_testing::Command;
using exchange_testing::PositionedExchange;
using exchange_testing::ReadCells;
using exchange_testing::WriteCells;
using testing_support::TestSheet;

namespace {

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> bytes;
    for (const auto& part : parts)
        for (uint8_t byte : part)
            bytes.push_back(byte);
    return bytes;
}

const std::vector<uint8_t> kAtA1 = Command(21, {0, 0, 0});
const std::vector<uint8_t> kEnd = Command(23, {});

// The codes of a stream's commands, walking their lengths; the last is 0xFFFF when the
// bytes do not end with a whole command.
std::vector<int> Codes(const std::vector<uint8_t>& bytes) {
    std::vector<int> codes;
    size_t at = 0;
    while (at + 4 <= bytes.size()) {
        codes.push_back(bytes[at] | bytes[at + 1] << 8);
        at += 4 + size_t(bytes[at + 2] | bytes[at + 3] << 8);
    }
    if (at != bytes.size()) codes.push_back(0xFFFF);
    return codes;
}

std::vector<uint8_t> Le32(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

std::vector<uint8_t> NumberPayload(double x, uint32_t word) {
    std::vector<uint8_t> payload;
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    for (int i = 0; i < 8; ++i)
        payload.push_back(uint8_t(bits >> (8 * i)));
    return Join({payload, Le32(word)});
}

}  // namespace

TEST(ExchangeStream, TextIsCodeSeventeenInUtf16AndCodeFourInTheCodePage) {
    TestSheet sheet;
    sheet.Type(0, 0, u"abc");
    sheet.Type(1, 0, u"\u20AC5");  // the euro sign is byte 0x80 of Windows-1252
    EXPECT_EQ(WriteCells(sheet, RW_VERSION_WIDE, {{0, 0}}),
              Join({kAtA1, {17, 0, 8, 0, 'a', 0, 'b', 0, 'c', 0, 0, 0}, kEnd}));
    EXPECT_EQ(WriteCells(sheet, RW_VERSION_ANSI, {{0, 0}, {1, 0}}),
              Join({kAtA1,
                    {4, 0, 4, 0, 'a', 'b', 'c', 0},
                    Command(21, {1, 0, 0}),
                    {4, 0, 3, 0, 0x80, '5', 0},
                    kEnd}));

    TestSheet back;
    ReadCells(back, RW_VERSION_ANSI, WriteCells(sheet, RW_VERSION_ANSI, {{0, 0}, {1, 0}}));
    EXPECT_EQ(std::tuple(back.ValueText(0, 0), back.ValueText(1, 0)),
              std::tuple(u"abc", u"\u20AC5"));
}

TEST(ExchangeStream, AUnitTextIsWrittenOnceAndReadIntoTheModulesNumbering) {
    const int kg = DoGetLTStringIndex(u"kg (exchange test)");
    CCNumberFormat withUnit(C_NF_NUMBER);
    withUnit.SetLTString(kg, 2);
    TestSheet sheet;
    for (uint16_t row = 0; row < 3; ++row) {
        CCCellValue value;
        value.Set(row + 1.0, withUnit);
        sheet.Cell(0, row)->SetValue(sheet.GetCTX(), value);
    }
    const std::vector<uint8_t> bytes = WriteCells(sheet, RW_VERSION_WIDE, {{0, 0}, {0, 1}, {0, 2}});
    EXPECT_EQ(Codes(bytes), (std::vector<int>{21, 19, 5, 21, 5, 21, 5, 23}));
    TestSheet back;
    ReadCells(back, RW_VERSION_WIDE, bytes);
    EXPECT_EQ(std::tuple(back.Cell(0, 2)->GetValue().GetFormat().GetLTString(), back.Shown(0, 1)),
              std::tuple(kg, sheet.Shown(0, 1)));

    // A stream numbers its texts its own way: its text 7 is whatever the module calls it,
    // and a number naming a text the stream never gave keeps the index it holds.
    const std::u16string fresh = u"lb (exchange test)";
    ASSERT_LT(GetLTStringIndex(fresh), 0);
    std::vector<uint8_t> text = Le32(7);
    for (char16_t c : fresh + u'\0') {
        text.push_back(uint8_t(c));
        text.push_back(uint8_t(c >> 8));
    }
    ReadCells(back, RW_VERSION_WIDE,
              Join({Command(19, text), kAtA1, Command(5, NumberPayload(2.5, 0x01000008)),
                    Command(21, {0, 1, 0}), Command(5, NumberPayload(2.5, 0x01000032)), kEnd}));
    EXPECT_EQ(std::tuple(back.Cell(0, 0)->GetValue().GetFormat().GetLTString(),
                         back.Cell(0, 1)->GetValue().GetFormat().GetLTString()),
              std::tuple(GetLTStringIndex(fresh), 0x32 - 1));
}

TEST(ExchangeStream, ValuesComeFromTheStreamAndOnlyFormulasThatCannotTrustThemStart) {
    TestSheet sheet;
    sheet.Type(0, 0, u"5");
    sheet.Type(1, 0, u"=A1*2");
    // A1 changes behind B1's back: the stream carries B1's 10, not the 12 it would compute.
    sheet.Cell(0, 0)->SetValue(sheet.GetCTX(), testing_support::NumberValue(6));
    sheet.Type(2, 0, u"=NOW()");
    const std::vector<std::pair<int, int>> plain = {{0, 0}, {1, 0}};

    TestSheet wide;
    ReadCells(wide, RW_VERSION_WIDE, WriteCells(sheet, RW_VERSION_WIDE, plain));
    EXPECT_EQ(wide.GetCurProcessCount() + wide.GetCurRecalcCount(), 0u);
    wide.Settle();
    EXPECT_EQ(std::tuple(wide.Shown(1, 0), wide.Formula(1, 0)),
              std::tuple("10", sheet.Formula(1, 0)));
    // Formulas that read the clock start at once; so does every formula of the 8-bit form.
    TestSheet clock, ansi;
    ReadCells(clock, RW_VERSION_WIDE, WriteCells(sheet, RW_VERSION_WIDE, {{0, 0}, {2, 0}}));
    EXPECT_GT(clock.GetCurProcessCount(), 0u);
    ReadCells(ansi, RW_VERSION_ANSI, WriteCells(sheet, RW_VERSION_ANSI, plain));
    ansi.Settle();
    EXPECT_EQ(ansi.Shown(1, 0), "12");

    // Text that no longer parses stays as the cell's text.
    TestSheet odd;
    std::vector<uint8_t> formula = {'F', 0};
    for (char c : std::string("SUM(1,"))
        formula.insert(formula.end(), {uint8_t(c), 0});
    ReadCells(odd, RW_VERSION_WIDE, Join({kAtA1, Command(18, Join({formula, {0, 0}})), kEnd}));
    EXPECT_EQ(std::tuple(odd.Shown(0, 0), odd.Cell(0, 0)->IsFormulaLink()),
              std::tuple("SUM(1,", 0));
}

TEST(ExchangeStream, EveryKindOfContentReadsBackToTheSameCellsAndBytes) {
    const char16_t* typed[] = {u"1,234.5", u"3/14/2026", u"15%",    u"$12.50",
                               u"TRUE",    u"hello",     u"=1/0",   u"=A1*2+SUM(A1:A3)",
                               u"=B8",     u"1 1/2",     u"9:30 PM"};
    for (int version : {RW_VERSION_WIDE, RW_VERSION_ANSI}) {
        SCOPED_TRACE(version);
        TestSheet sheet;
        std::vector<std::pair<int, int>> cells;
        for (uint16_t row = 0; row < std::size(typed); ++row) {
            sheet.Type(0, row, typed[row]);
            cells.emplace_back(0, row);
        }
        CCCellFormat parts;
        parts.SetLock(0);
        parts.SetHideZero(1);
        parts.SetNFPrecision(3);
        sheet.Cell(0, 0)->SetFormat(sheet.GetCTX(), parts);
        CCNumberFormat custom;
        custom.setCustomFormat(u"#,##0.00;[Red](#,##0.00)");
        CCCellFormat customFormat;
        customFormat.SetNumberFormat(custom);
        sheet.Cell(0, 7)->SetFormat(sheet.GetCTX(), customFormat);
        sheet.Protect(u"secret");
        sheet.Settle();

        const std::vector<uint8_t> bytes = WriteCells(sheet, version, cells);
        TestSheet back;
        ReadCells(back, version, bytes);
        back.Settle();
        EXPECT_EQ(back.GetPassword(), u"secret");
        for (uint16_t row = 0; row < std::size(typed); ++row) {
            EXPECT_EQ(std::tuple(back.Shown(0, row), back.Formula(0, row)),
                      std::tuple(sheet.Shown(0, row), sheet.Formula(0, row)))
                << row;
        }
        EXPECT_EQ(WriteCells(back, version, cells), bytes);
    }
}

TEST(ExchangeStream, CommandsOfTheHostAndUnknownCodesChangeNothing) {
    TestSheet sheet;
    sheet.Type(0, 0, u"7");
    PositionedExchange reader(RW_VERSION_WIDE, sheet);
    reader.SetCellManager(&sheet);
    reader.SetCurCell(sheet.Cell(0, 0));
    const uint8_t payload[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (uint16_t code : {0, 21, 22, 23, 25, 26, 300, 0xFFFF})
        reader.CCRWExchange::OnCommand(code, payload, sizeof payload);
    EXPECT_EQ(std::tuple(sheet.Shown(0, 0), sheet.Cell(0, 0)->GetFormatIndex()),
              std::tuple("7", 0));
    // Without a current cell, only the commands that need none apply.
    reader.SetCurCell(nullptr);
    reader.CCRWExchange::OnCommand(RW_ERROR, payload, 1);
    EXPECT_EQ(sheet.Shown(0, 0), "7");
}

TEST(ExchangeStream, PayloadsThatDoNotHoldWhatTheirCodeNeedsAreRefused) {
    const std::vector<std::vector<uint8_t>> malformed = {
        Command(RW_ERROR, {}),
        Command(RW_NUMBER, std::vector<uint8_t>(11, 0)),
        Command(RW_NUMBER_FORMAT, {1, 0, 0}),
        Command(RW_NF_PRECISION, {}),
        Command(RW_TEXT_W, {'a', 0, 'b'}),  // no terminator, an odd byte over
        Command(RW_TEXT_A, {'a', 'b'}),
        Command(RW_FORMULA_W, {'F'}),
        Command(RW_FORMULA_A, {'F', '1'}),
        Command(RW_CUSTOM_FORMAT, {'0', 0}),
        Command(RW_PASSWORD_W, {'p', 0}),
        Command(RW_LT_STRING_A, {0, 0, 0}),
        Command(RW_LT_STRING_W, Join({Le32(0), {'x', 0}})),
        Command(RW_LT_STRING_W, Join({Le32(0xFFFFFFFF), {'x', 0, 0, 0}})),
        Command(RW_LT_STRING_W, Join({Le32(0x80000000), {'x', 0, 0, 0}})),
        Command(RW_LT_STRING_A, Join({Le32(0x7FFFFFFF), {'x', 0}})),
        Command(RW_LT_STRING_A, Join({Le32(CCRWExchange::kMaxLTStringIndex + 1), {'x', 0}})),
    };
    for (const auto& command : malformed) {
        TestSheet sheet;
        sheet.Type(0, 0, u"7");
        EXPECT_EQ(testing_support::ArchiveCause([&] {
                      ReadCells(sheet, RW_VERSION_WIDE, Join({kAtA1, command, kEnd}));
                  }),
                  CArchiveException::badFormat)
            << "code " << (command[0] | command[1] << 8);
        EXPECT_EQ(sheet.Shown(0, 0), "7");
    }
    // A command whose payload the stream does not hold, and a stream without its end.
    TestSheet sheet;
    for (const auto& bytes : {Join({kAtA1, {17, 0, 10, 0, 'a', 0}}), kAtA1})
        EXPECT_EQ(testing_support::ArchiveCause([&] { ReadCells(sheet, RW_VERSION_WIDE, bytes); }),
                  CArchiveException::endOfFile);
}

TEST(ExchangeStream, NoLengthIsEverWrittenThatWrapped) {
    TestSheet sheet;
    // A surrogate pair across the limit goes whole or not at all.
    std::u16string text(CCRWExchange::kMaxTextW - 1, u'x');
    text += u"\U0001F600";
    sheet.Cell(0, 0)->SetValue(sheet.GetCTX(), CCCellValue(text.c_str()));
    sheet.Cell(0, 1)->SetValue(sheet.GetCTX(), CCCellValue(text.substr(0, 32766).c_str()));
    std::vector<bool> whole;
    const std::vector<uint8_t> bytes = testing_support::Store([&](CArchive& ar) {
        PositionedExchange writer(RW_VERSION_WIDE, sheet);
        writer.Begin(&ar);
        for (uint16_t row = 0; row < 2; ++row)
            whole.push_back(writer.WriteCell(sheet.Cell(0, row)));
    });
    EXPECT_EQ(whole, (std::vector<bool>{false, true}));
    // 32765 units and the terminator, then 32766 units and the terminator.
    ASSERT_EQ(Codes(bytes), (std::vector<int>{17, 17}));
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 2 * 32766);
    EXPECT_EQ(bytes[4 + 2 * 32766 + 2] | bytes[4 + 2 * 32766 + 3] << 8, 2 * 32767);

    // A formula too long for a command is refused before any of its bytes.
    std::u16string sum = u"=1";
    for (int i = 0; i < 16400; ++i)
        sum += u"+1";
    sheet.Type(1, 0, sum);
    ASSERT_TRUE(sheet.Cell(1, 0)->IsFormulaLink());
    const std::vector<uint8_t> partial = testing_support::Store([&](CArchive& ar) {
        PositionedExchange writer(RW_VERSION_WIDE, sheet);
        writer.Begin(&ar);
        writer.SetCellManager(&sheet);
        EXPECT_EQ(testing_support::ArchiveCause([&] { writer.WriteCell(sheet.Cell(1, 0)); }),
                  CArchiveException::generic);
    });
    EXPECT_EQ(Codes(partial), (std::vector<int>{RW_NUMBER}));
    // So is a unit text past what a data word can name.
    const std::vector<uint8_t> none = testing_support::Store([&](CArchive& ar) {
        PositionedExchange writer(RW_VERSION_WIDE, sheet);
        writer.Begin(&ar);
        EXPECT_EQ(testing_support::ArchiveCause(
                      [&] { writer.WriteLTString(CCRWExchange::kMaxLTStringIndex + 1); }),
                  CArchiveException::generic);
    });
    EXPECT_TRUE(none.empty());
}
