// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formats/number_format.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(number.getSetMask(), 0x003F);
    EXPECT_EQ(number.GetPrecision(), 0);
    CCNumberFormat date(C_NF_DATE);
    EXPECT_EQ(date.GetData(), 0x07001000u);  // month as digits: the invariant default

    TestLocale german(GermanData());
    // Locale defaults: precision digits, the 24-hour bit, the date sub-format.
    struct Default {
        unsigned char kind;
        uint16_t mask;
        uint32_t data;
    };
    CCNumberFormat f;
    for (Default d : {Default{C_NF_NUMBER, 0x0002, 0x01030000},
                      {C_NF_CURRENCY, 0x0002, 0x02020000},
                      {C_NF_FRACTION, 0x0002, 0x04000000},
                      {C_NF_TIME, 0x0080, 0x06000100},
                      {C_NF_DATE, 0x3B80, 0x07009000},
                      {C_NF_HEX, 0, 0x09000000}}) {
        f.SetDefault(german.get(), d.kind);
        EXPECT_EQ(f.getSetMask(), d.mask) << int(d.kind);
        EXPECT_EQ(f.GetData(), d.data) << int(d.kind);
    }

    // Set keeps unrelated bits: the unit text and delimiter survive Set(Number), the
    // option bytes do not.
    CCNumberFormat g;
    g.SetLTString(2, 1);
    g.SetPrecision(4);
    g.SetMDOrder(1);
    g.Set(C_NF_NUMBER);
    EXPECT_EQ(g.getSetMask(), 0x007F);
    EXPECT_EQ(g.GetData(), 0x01000000u);
    g.Set(C_NF_DATE);
    EXPECT_EQ(g.getSetMask(), 0x3BC1);
}

TEST(NumberFormatRecord, AccessorsKeepTheirFieldsAndQuirks) {
    // Lower case: clearing drops only the set bit; fields keep the low bits of a value.
    CCNumberFormat f;
    f.SetPrecision(3);
    f.clearPrecision();
    EXPECT_EQ(f.GetPrecision(), 3);
    EXPECT_FALSE(f.isPrecision());
    f.setPrecision(0x1F);
    EXPECT_EQ(f.getPrecision(), 0x0F);
    f.setDelimiter(u'-');
    EXPECT_EQ(f.getLTString(), u'-');  // one slot for both
    EXPECT_FALSE(f.isLTString());

    // Upper case: flags read back as their bits; the 24-hour clock and day-first order
    // take exactly 1.
    f.SetCommas(5);
    EXPECT_EQ(f.GetCommas(), 16);
    f.SetTimeRange(2);
    f.SetMDOrder(2);
    EXPECT_EQ(f.GetTimeRange(), 0);
    EXPECT_EQ(f.GetMDOrder(), 0);
    EXPECT_TRUE(f.isTimeRange());
    f.SetTimeRange(1);
    f.SetMDOrder(1);
    EXPECT_EQ(f.GetTimeRange(), 1);
    EXPECT_EQ(f.GetMDOrder(), 1);

    // SetType drops a custom code, setType does not.
    CacheWithFakeParser cache;
    f.setCustomFormat(u"%0");
    EXPECT_EQ(f.GetType(), C_NF_PERCENT);
    f.setType(C_NF_DATE);
    EXPECT_TRUE(f.isCustomFormat());
    f.SetType(C_NF_NUMBER);
    EXPECT_FALSE(f.isCustomFormat());
    EXPECT_TRUE(f.getFormatString().empty());
}

TEST(NumberFormatRecord, UnitTextModes) {
    CCNumberFormat f(C_NF_NUMBER);
    EXPECT_EQ(f.GetLTStringMode(), 0);
    EXPECT_EQ(f.GetLTString(), -1);
    EXPECT_FALSE(f.IsLTString());

    // A mode on an empty slot picks the first list entry.
    f.clearLTString();
    f.SetLTStringMode(1);
    EXPECT_EQ(f.GetLTString(), 0);
    EXPECT_EQ(f.GetLTStringMode(), 1);
    EXPECT_TRUE(f.isLTString());
    EXPECT_TRUE(f.IsLTString());
    f.SetLTStringMode(2);
    f.SetLTString(4);
    EXPECT_EQ(f.GetLTString(), 4);
    EXPECT_EQ(f.GetLTStringMode(), 2);  // the leading bit was cleared by mode 2
    f.SetLTString(6, 1);
    EXPECT_EQ(f.GetLTString(), 6);
    EXPECT_EQ(f.GetLTStringMode(), 1);
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

    CCNumberFormat copy(custom);
    EXPECT_TRUE(copy.isCustomFormat());
    EXPECT_EQ(copy.getFormatString(), u"dd.mm");
    EXPECT_EQ(copy.getType(), C_NF_DATE);  // re-derived from the code
    EXPECT_EQ(copy.GetPrecision(), 2);

    CCNumberFormat classic(C_NF_PERCENT);
    copy = classic;
    EXPECT_FALSE(copy.isCustomFormat());
    EXPECT_TRUE(copy.getFormatString().empty());
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

    CCNumberFormat target(C_NF_NUMBER);
    target.SetCommas(1);
    target.SetMonthType(1);
    target.set(overlay);
    EXPECT_EQ(target.getType(), C_NF_CURRENCY);  // the kind is always taken
    EXPECT_EQ(target.GetPrecision(), 4);
    EXPECT_EQ(target.GetCommas(), 16);
    EXPECT_EQ(target.GetMDOrder(), 0);  // not set in the overlay
    EXPECT_EQ(target.getSetMask(), 0x003F | 0x0800);

    CCNumberFormat base(C_NF_NUMBER);
    base.SetPrecision(2);
    base.SetCommas(1);
    CCNumberFormat out;
    overlay.flattern(base, out);
    EXPECT_EQ(out.GetPrecision(), 4);
    EXPECT_EQ(out.GetCommas(), 16);
    EXPECT_EQ(out.getSetMask(), base.getSetMask());
    EXPECT_EQ(out.getType(), C_NF_CURRENCY);
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
    EXPECT_EQ(merged.GetYearType(), 0);
    EXPECT_EQ(merged.GetTime(), 0);

    CCNumberFormat common;
    a.extractCommons(b, common);
    EXPECT_EQ(common.getSetMask(), (a.getSetMask() & b.getSetMask()) & ~0x1000 & ~0x0200);
    EXPECT_EQ(common.GetDelimiter(), u'-');
    EXPECT_EQ(common.getType(), C_NF_DATE);

    CCNumberFormat diff;
    a.substract(b, diff);
    EXPECT_EQ(diff.getSetMask(), 0x1000 | 0x0200);
    EXPECT_EQ(diff.GetYearType(), 2);
    // With the result in the second operand the shared slot is compared before it changes.
    CCNumberFormat c = b;
    c.SetDelimiter(u'/');
    CCNumberFormat d = c;
    a.substract(d, d);
    EXPECT_EQ(d.getSetMask() & 0x0440, 0x0400);
    EXPECT_EQ(d.GetDelimiter(), u'-');

    CCNumberFormat number(C_NF_NUMBER);
    CCNumberFormat kinds;
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

    CacheWithFakeParser cache;
    CCNumberFormat g;
    g.setCustomFormat(u"%");
    const unsigned char packed[5] = {0x07, 0x40, 0x9C, 0x2D, 0x00};
    g.ReadBuff(packed);
    EXPECT_EQ(g.getType(), C_NF_DATE);
    EXPECT_EQ(g.GetNegRed(), 64);
    EXPECT_EQ(g.GetMDOrder(), 1);
    EXPECT_EQ(g.GetMonthType(), 3);
    EXPECT_EQ(g.GetDelimiter(), u'-');
    EXPECT_FALSE(g.isCustomFormat());
    EXPECT_EQ(g.getSetMask(), 0x003D);

    g.setCustomFormat(u"%");
    g.SetData(0x0B0A09FFu);
    EXPECT_EQ(g.getType(), C_NF_BIN);
    EXPECT_EQ(g.GetData(), 0x0B0A09FFu);
    EXPECT_EQ(g.getSetMask(), 0x3BBF);
    EXPECT_FALSE(g.isCustomFormat());
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
    Load(bytes, [&](CArchive& ar) { back.Read(ar); });
    EXPECT_TRUE(back.isCustomFormat());
    EXPECT_EQ(back.getFormatString(), u"%0");
    EXPECT_EQ(back.getType(), C_NF_PERCENT);

    // A code stored beside a classic format is not taken.
    bytes[7] = 0x00;
    Load(bytes, [&](CArchive& ar) { back.Read(ar); });
    EXPECT_FALSE(back.isCustomFormat());
    EXPECT_TRUE(back.getFormatString().empty());
    EXPECT_EQ(back.getType(), C_NF_BOOL);
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
    f.SetDelimiter(u'\u20AC');  // 0x80 in the code page
    EXPECT_EQ(Store([&](CArchive& ar) { f.WriteA(ar); }), (Bytes{0x07, 0x00, 0x10, 0x80}));
    f.SetDelimiter(u'\u0394');  // no code-page character
    EXPECT_EQ(Store([&](CArchive& ar) { f.WriteA(ar); }), (Bytes{0x07, 0x00, 0x10, 0x00}));
    f.SetDelimiter(0x0141);  // above 0xFF, and its low byte is a character of its own
    EXPECT_EQ(Store([&](CArchive& ar) { f.WriteA(ar); }), (Bytes{0x07, 0x00, 0x10, 0x00}));
    f.SetDelimiter(u'.');
    EXPECT_EQ(Store([&](CArchive& ar) { f.WriteA(ar); }), (Bytes{0x07, 0x00, 0x10, 0x2E}));

    CCNumberFormat back;
    Load(Bytes{0x01, 0x92, 0x00, 0x80}, [&](CArchive& ar) { back.ReadA(ar); });
    EXPECT_EQ(back.getType(), C_NF_NUMBER);
    EXPECT_EQ(back.GetPrecision(), 2);
    EXPECT_EQ(back.GetLTStringMode(), 1);
    EXPECT_EQ(back.getLTString(), u'\u20AC');
    EXPECT_EQ(back.getSetMask(), 0xFFFF);

    CCNumberFormat untouched(C_NF_TIME);
    Load(Bytes{0x01, 0x92, 0x00},
         [&](CArchive& ar) { EXPECT_THROW(untouched.ReadA(ar), CArchiveException); });
    EXPECT_EQ(StateOf(untouched), StateOf(CCNumberFormat(C_NF_TIME)));
}
