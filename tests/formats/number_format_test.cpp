// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formats/number_format.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "number_format_support.h"
#include "ostrel/platform/archive.h"
#include "platform/names.h"
#include "support/archive_bytes.h"

using nf_test::CacheWithFakeParser;
using nf_test::GermanData;
using nf_test::TestLocale;
using testing_support::Load;
using testing_support::LoadCause;
using testing_support::Store;
using Bytes = std::vector<uint8_t>;

namespace {

// The packed bytes, mask and custom state: everything a format holds.
struct State {
    uint32_t data;
    unsigned slotHigh;
    uint16_t mask;
    bool custom;
    std::u16string code;
    bool operator==(const State&) const = default;
};

State StateOf(const CCNumberFormat& f) {
    return {f.GetData(), unsigned(f.getDelimiter()) >> 8, f.getSetMask(), f.isCustomFormat(),
            f.getFormatString()};
}

}  // namespace

TEST(NumberFormatRecord, ConstructionAndDefaults) {
    // From a kind: the default's precision bit survives while Set zeroes the precision.
    CCNumberFormat number(C_NF_NUMBER);
    EXPECT_EQ(std::tuple(number.getSetMask(), number.GetPrecision()), std::tuple(0x003F, 0));
    // Month as digits: the invariant default.
    EXPECT_EQ(CCNumberFormat(C_NF_DATE).GetData(), 0x07001000u);

    // Locale defaults, as mask and packed data: precision digits, the 24-hour bit, the date
    // sub-format.
    TestLocale german(GermanData());
    CCNumberFormat f;
    for (auto [kind, mask, data] :
         {std::tuple(C_NF_NUMBER, 0x0002, 0x01030000u),
          std::tuple(C_NF_CURRENCY, 0x0002, 0x02020000u),
          std::tuple(C_NF_FRACTION, 0x0002, 0x04000000u),
          std::tuple(C_NF_TIME, 0x0080, 0x06000100u), std::tuple(C_NF_DATE, 0x3B80, 0x07009000u),
          std::tuple(C_NF_HEX, 0x0000, 0x09000000u)}) {
        f.SetDefault(german.get(), kind);
        EXPECT_EQ(std::tuple(f.getSetMask(), f.GetData()), std::tuple(mask, data)) << int(kind);
    }

    // Set keeps unrelated bits: the unit text and delimiter survive Set(Number), the
    // option bytes do not.
    CCNumberFormat g;
    g.SetLTString(2, 1);
    g.SetPrecision(4);
    g.SetMDOrder(1);
    g.Set(C_NF_NUMBER);
    EXPECT_EQ(std::tuple(g.getSetMask(), g.GetData()), std::tuple(0x007F, 0x01000000u));
    g.Set(C_NF_DATE);
    EXPECT_EQ(g.getSetMask(), 0x3BC1);
}

TEST(NumberFormatRecord, AccessorsKeepTheirFieldsAndQuirks) {
    // Lower case: clearing drops only the set bit; fields keep the low bits of a value; the
    // delimiter and the unit text share one slot.
    CCNumberFormat f;
    f.SetPrecision(3);
    f.clearPrecision();
    EXPECT_EQ(std::tuple(f.GetPrecision(), f.isPrecision()), std::tuple(3, false));
    f.setPrecision(0x1F);
    f.setDelimiter(u'-');
    EXPECT_EQ(std::tuple(f.getPrecision(), f.getLTString(), f.isLTString()),
              std::tuple(0x0F, u'-', false));

    // Upper case: flags read back as their bits; the 24-hour clock and day-first order
    // take exactly 1.
    f.SetCommas(5);
    f.SetTimeRange(2);
    f.SetMDOrder(2);
    EXPECT_EQ(std::tuple(f.GetCommas(), f.GetTimeRange(), f.GetMDOrder(), f.isTimeRange()),
              std::tuple(16, 0, 0, true));
    f.SetTimeRange(1);
    f.SetMDOrder(1);
    EXPECT_EQ(std::tuple(f.GetTimeRange(), f.GetMDOrder()), std::tuple(1, 1));

    // SetType drops a custom code, setType does not.
    CacheWithFakeParser cache;
    f.setCustomFormat(u"%0");
    EXPECT_EQ(f.GetType(), C_NF_PERCENT);
    f.setType(C_NF_DATE);
    EXPECT_TRUE(f.isCustomFormat());
    f.SetType(C_NF_NUMBER);
    EXPECT_EQ(std::tuple(f.isCustomFormat(), f.getFormatString()), std::tuple(false, u""));
}

// The unit text as list index and mode, each step from the one before.
TEST(NumberFormatRecord, UnitTextModes) {
    auto unit = [](const CCNumberFormat& f) {
        return std::tuple(f.GetLTString(), f.GetLTStringMode(), f.IsLTString());
    };
    CCNumberFormat f(C_NF_NUMBER);
    EXPECT_EQ(unit(f), std::tuple(-1, 0, false));
    // A mode on an empty slot picks the first list entry.
    f.clearLTString();
    f.SetLTStringMode(1);
    EXPECT_EQ(unit(f), std::tuple(0, 1, true));
    EXPECT_TRUE(f.isLTString());
    f.SetLTStringMode(2);  // clears the leading bit
    f.SetLTString(4);
    EXPECT_EQ(unit(f), std::tuple(4, 2, true));
    f.SetLTString(6, 1);
    EXPECT_EQ(unit(f), std::tuple(6, 1, true));
    f.SetLTString(6, 3);
    EXPECT_EQ(f.GetLTString(), -1);
    EXPECT_EQ(f.getSetMask() & 0x0060, 0x0060);
    f.SetLTString(-5);  // no such index: no unit text
    EXPECT_EQ(f.getLTString(), 0);

    CCNumberFormat currency(C_NF_CURRENCY);
    currency.SetLTString(1, 1);
    EXPECT_FALSE(currency.IsLTString());  // unit texts belong to Number formats
}

TEST(NumberFormatRecord, CopiesTakeCustomCodesThroughTheCache) {
    CacheWithFakeParser cache;
    CCNumberFormat custom;
    custom.setCustomFormat(u"dd.mm");
    EXPECT_EQ(custom.getType(), C_NF_DATE);
    custom.SetPrecision(2);
    custom.setType(C_NF_BOOL);  // a kind that the code does not report

    // The copy's kind is derived from the code again.
    CCNumberFormat copy(custom);
    EXPECT_EQ(std::tuple(copy.isCustomFormat(), copy.getFormatString(), copy.getType(),
                         copy.GetPrecision()),
              std::tuple(true, u"dd.mm", C_NF_DATE, 2));

    copy = CCNumberFormat(C_NF_PERCENT);
    EXPECT_EQ(std::tuple(copy.isCustomFormat(), copy.getFormatString()), std::tuple(false, u""));
    copy.Set(custom);
    EXPECT_EQ(copy.getFormatString(), u"dd.mm");
    copy = copy;  // self-assignment keeps the code
    EXPECT_EQ(copy.getFormatString(), u"dd.mm");
    copy.setCustomFormat(copy.getFormatString());  // from its own text
    EXPECT_EQ(copy.getFormatString(), u"dd.mm");
}

TEST(NumberFormatAlgebra, SetAndFlattern) {
    CCNumberFormat overlay;
    overlay.setSetMask(0);
    overlay.setType(C_NF_CURRENCY);
    overlay.setPrecision(4);  // the only attribute it sets
    overlay.setMDOrder(1);
    overlay.clearMDOrder();

    // The kind is always taken, the other attributes when the overlay sets them.
    CCNumberFormat target(C_NF_NUMBER);
    target.SetCommas(1);
    target.SetMonthType(1);
    target.set(overlay);
    EXPECT_EQ(std::tuple(target.getType(), target.GetPrecision(), target.GetCommas(),
                         target.GetMDOrder(), target.getSetMask()),
              std::tuple(C_NF_CURRENCY, 4, 16, 0, 0x003F | 0x0800));

    CCNumberFormat base(C_NF_NUMBER);
    base.SetPrecision(2);
    base.SetCommas(1);
    CCNumberFormat out;
    overlay.flattern(base, out);
    EXPECT_EQ(std::tuple(out.GetPrecision(), out.GetCommas(), out.getSetMask(), out.getType()),
              std::tuple(4, 16, base.getSetMask(), C_NF_CURRENCY));
}

TEST(NumberFormatAlgebra, MergeAndCommonsByKind) {
    CCNumberFormat a(C_NF_DATE);
    a.SetDelimiter(u'-');
    a.SetYearType(2);
    CCNumberFormat b(C_NF_DATE);
    b.SetDelimiter(u'-');
    b.SetYearType(0);
    b.SetTime(1);

    CCNumberFormat merged = a;
    merged.merge(b, 0x1000);  // only the year type
    EXPECT_EQ(std::tuple(merged.GetYearType(), merged.GetTime()), std::tuple(0, 0));

    CCNumberFormat common;
    a.extractCommons(b, common);
    EXPECT_EQ(std::tuple(common.getSetMask(), common.GetDelimiter(), common.getType()),
              std::tuple((a.getSetMask() & b.getSetMask()) & ~0x1000 & ~0x0200, u'-', C_NF_DATE));

    CCNumberFormat diff;
    a.substract(b, diff);
    EXPECT_EQ(std::tuple(diff.getSetMask(), diff.GetYearType()), std::tuple(0x1000 | 0x0200, 2));
    // With the result in the second operand the shared slot is compared before it changes.
    CCNumberFormat d = b;
    d.SetDelimiter(u'/');
    a.substract(d, d);
    EXPECT_EQ(std::tuple(d.getSetMask() & 0x0440, d.GetDelimiter()), std::tuple(0x0400, u'-'));

    CCNumberFormat number(C_NF_NUMBER), kinds;
    a.extractCommons(number, kinds);
    EXPECT_FALSE(kinds.getSetMask() & 0x0001);
    a.substract(number, kinds);
    EXPECT_EQ(kinds.getType(), C_NF_DATE);
    EXPECT_TRUE(kinds.getSetMask() & 0x0001);
}

TEST(NumberFormatStreams, PackedForms) {
    CCNumberFormat f(C_NF_NUMBER);
    f.SetPrecision(2);
    f.SetCommas(1);
    f.SetLTString(0x1233, 2);
    unsigned char buffer[5];
    f.FillBuff(buffer);
    EXPECT_EQ(Bytes(buffer, buffer + 5), (Bytes{0x01, 0x12, 0x00, 0x34, 0x12}));
    EXPECT_EQ(f.GetData(), 0x01120034u);

    // Packed bytes replace a custom code.
    CacheWithFakeParser cache;
    CCNumberFormat g;
    g.setCustomFormat(u"%");
    const unsigned char packed[5] = {0x07, 0x40, 0x9C, 0x2D, 0x00};
    g.ReadBuff(packed);
    EXPECT_EQ(std::tuple(g.getType(), g.GetNegRed(), g.GetMDOrder(), g.GetMonthType(),
                         g.GetDelimiter(), g.isCustomFormat(), g.getSetMask()),
              std::tuple(C_NF_DATE, 64, 1, 3, u'-', false, 0x003D));

    g.setCustomFormat(u"%");
    g.SetData(0x0B0A09FFu);
    EXPECT_EQ(std::tuple(g.getType(), g.GetData(), g.getSetMask(), g.isCustomFormat()),
              std::tuple(C_NF_BIN, 0x0B0A09FFu, 0x3BBF, false));
}

TEST(NumberFormatStreams, ArchiveFormRoundTrips) {
    CCNumberFormat f(C_NF_DATE);
    f.SetDelimiter(u'\u20AC');
    Bytes bytes = Store([&](CArchive& ar) { f.Write(ar); });
    EXPECT_EQ(bytes,
              (Bytes{0x07, 0x00, 0x10, 0xAC, 0x20, 0x81, 0x3F, 0x00, 0xFF, 0xFE, 0xFF, 0x00}));
    CCNumberFormat back;
    Load(bytes, [&](CArchive& ar) { back.Read(ar); });
    EXPECT_EQ(StateOf(back), StateOf(f));

    // A custom format stores its code and gets its kind back from it.
    CacheWithFakeParser cache;
    CCNumberFormat custom;
    custom.setCustomFormat(u"%0");
    custom.setType(C_NF_BOOL);
    bytes = Store([&](CArchive& ar) { custom.Write(ar); });
    EXPECT_EQ(bytes, (Bytes{0x08, 0x00, 0x00, 0x00, 0x00, 0x3D, 0x00, 0x01, 0xFF, 0xFE, 0xFF, 0x02,
                            '%', 0x00, '0', 0x00}));
    auto kind = [](const CCNumberFormat& x) {
        return std::tuple(x.isCustomFormat(), x.getFormatString(), x.getType());
    };
    Load(bytes, [&](CArchive& ar) { back.Read(ar); });
    EXPECT_EQ(kind(back), std::tuple(true, u"%0", C_NF_PERCENT));
    // A code stored beside a classic format is not taken.
    bytes[7] = 0x00;
    Load(bytes, [&](CArchive& ar) { back.Read(ar); });
    EXPECT_EQ(kind(back), std::tuple(false, u"", C_NF_BOOL));
}

TEST(NumberFormatStreams, MalformedArchivesLeaveTheFormatAsItWas) {
    CCNumberFormat original(C_NF_CURRENCY);
    original.SetNegBr(1);
    Bytes full = {0x01, 0x05, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x01,
                  0xFF, 0xFE, 0xFF, 0x02, '0',  0x00, '0',  0x00};
    for (size_t cut = 0; cut < full.size(); ++cut) {
        Bytes truncated(full.begin(), full.begin() + cut);
        CCNumberFormat f = original;
        const int cause = LoadCause(truncated, [&](CArchive& ar) { f.Read(ar); });
        EXPECT_TRUE(cause == CArchiveException::endOfFile || cause == CArchiveException::badFormat)
            << "cut at " << cut;
        EXPECT_EQ(StateOf(f), StateOf(original)) << "cut at " << cut;
    }
    // A code length beyond the stream is refused before anything is allocated.
    Bytes huge = {0x01, 0x05, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x01, 0xFF,
                  0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    CCNumberFormat f = original;
    Load(huge, [&](CArchive& ar) { EXPECT_THROW(f.Read(ar), CArchiveException); });
    EXPECT_EQ(StateOf(f), StateOf(original));
}

TEST(NumberFormatStreams, OlderFormCarriesTheSlotAsOneCodePageByte) {
    CCNumberFormat f(C_NF_DATE);
    // The euro sign is 0x80 in the code page; U+0394 has no code-page character, nor has
    // U+0141, whose low byte is a character of its own.
    for (auto [delimiter, byte] : {std::pair{u'\u20AC', 0x80}, std::pair{u'\u0394', 0x00},
                                   std::pair{u'\u0141', 0x00}, std::pair{u'.', 0x2E}}) {
        f.SetDelimiter(delimiter);
        EXPECT_EQ(Store([&](CArchive& ar) { f.WriteA(ar); }),
                  (Bytes{0x07, 0x00, 0x10, uint8_t(byte)}));
    }

    CCNumberFormat back;
    Load(Bytes{0x01, 0x92, 0x00, 0x80}, [&](CArchive& ar) { back.ReadA(ar); });
    EXPECT_EQ(std::tuple(back.getType(), back.GetPrecision(), back.GetLTStringMode(),
                         back.getLTString(), back.getSetMask()),
              std::tuple(C_NF_NUMBER, 2, 1, u'\u20AC', 0xFFFF));

    CCNumberFormat untouched(C_NF_TIME);
    Load(Bytes{0x01, 0x92, 0x00},
         [&](CArchive& ar) { EXPECT_THROW(untouched.ReadA(ar), CArchiveException); });
    EXPECT_EQ(StateOf(untouched), StateOf(CCNumberFormat(C_NF_TIME)));
}
