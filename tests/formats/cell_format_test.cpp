// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

#include "formats/lt_strings.h"
#include "number_format_support.h"
#include "ostrel/formats/cell_format.h"
#include "ostrel/formats/cell_format_table.h"
#include "ostrel/formats/number_format_table.h"
#include "ostrel/platform/exceptions.h"
#include "platform/names.h"
#include "support/archive_bytes.h"

using nf_test::CacheWithFakeParser;
using nf_test::Custom;
using nf_test::Make;
using testing_support::Load;
using testing_support::LoadCause;
using testing_support::Store;

namespace {

// A Number format with precision 0 and the unit text in front (mode 1) or behind (mode 2).
CCNumberFormat WithUnit(int unit, int mode) {
    CCNumberFormat f = Make(C_NF_NUMBER);
    f.SetLTString(unit, mode);
    return f;
}

CCCellFormat WithNF(const CCNumberFormat& nf) {
    CCCellFormat f;
    f.SetNumberFormat(nf);
    return f;
}

std::vector<uint8_t> Written(const CCCellFormat& f) {
    return Store([&](CArchive& ar) { f.Write(ar); });
}

// The lower-case family's view: flag mask, lock, hide, zero hidden.
auto Marks(const CCCellFormat& f) {
    return std::tuple(f.getFlagMask(), f.getLock(), f.getHide(), f.getZeroHidden());
}

CCCellFormat ReadFrom(const std::vector<uint8_t>& bytes) {
    CCCellFormat f;
    Load(bytes, [&](CArchive& ar) { f.Read(ar); });
    return f;
}

// The unit-text list holds "kg" (entry 0) for the test's duration.
class UnitTexts : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseLTStrings();
        kg = AddLTString(u"kg");
    }
    void TearDown() override { ReleaseLTStrings(); }
    int kg = -1;
};

}  // namespace

TEST(CellFormat, FlagFamiliesShareFlagsButNotMasks) {
    CCCellFormat f;
    EXPECT_TRUE(f.IsEmpty());
    // The lower-case family reads a flag as 1, the upper-case one as its bit; only a part
    // whose set bit is on counts as hidden.
    f.setHide(5);
    EXPECT_EQ(std::tuple(f.getHide(), f.GetHide(), f.isHide(), f.IsHide(), f.IsHidden()),
              std::tuple(1, 2, true, false, false));
    f.SetHideZero(7);
    f.SetHideError(1);
    f.SetLock(0);
    EXPECT_EQ(std::tuple(f.GetHideZero(), f.GetHideError(), f.isZeroHidden(), f.IsLocked()),
              std::tuple(16, 8, false, false));
    EXPECT_EQ(f.GetSetMask(), 0x0190);
    EXPECT_TRUE(f.IsStyle() && !f.IsNF() && !f.IsEmpty());
    // Clearing drops only the mark.
    f.clearHide();
    f.ClearHideError();
    EXPECT_EQ(std::tuple(f.GetHide(), f.IsHideError(), f.getFlagMask()), std::tuple(2, false, 0));

    f.InitDefault();
    EXPECT_EQ(std::tuple(f.GetSetMask(), f.getFlagMask(), f.GetNFIndex()),
              std::tuple(0x01F1, 0, 0));
    EXPECT_FALSE(f.IsLocked() || f.IsHidden() || f.IsErrorHidden() || f.IsZeroHidden());
}

TEST(CellFormat, NumberFormatAccess) {
    CCCellFormat f;
    EXPECT_EQ(&f.GetNFmt(), GetNumberFormatTable().GetAt(0));
    f.SetNumberFormat(Make(C_NF_PERCENT, 1));
    int percent = f.GetNFIndex();
    // Each attribute setter changes a copy and leaves the interned format alone.
    f.SetNFPrecision(3);
    f.SetNFCommas(1);
    EXPECT_EQ(std::tuple(f.GetSetMask(), f.GetNFType(), f.GetNFPrecision(), f.GetNFCommas()),
              std::tuple(0x000D, C_NF_PERCENT, 3, 16));
    EXPECT_EQ(GetNumberFormatTable().GetAt(percent)->GetPrecision(), 1);
    {
        CacheWithFakeParser cache;
        f.SetNumberFormat(Custom(u"%0"));
        ASSERT_TRUE(f.GetNFmt().isCustomFormat());
        f.SetNFType(C_NF_SCIENTIFIC);  // drops the code
        EXPECT_EQ(std::tuple(f.GetNFmt().isCustomFormat(), f.GetNFType()),
                  std::tuple(false, C_NF_SCIENTIFIC));
    }

    CCNumberFormat overlay;
    overlay.setSetMask(0);
    overlay.setCommas(0);
    overlay.setType(C_NF_CURRENCY);
    f.ClearNumberFormat();
    f.MergeNumberFormat(overlay);
    EXPECT_EQ(std::tuple(f.IsNumberFormat(), f.GetNFType(), f.GetNFCommas()),
              std::tuple(true, C_NF_CURRENCY, 0));

    // An index outside the table (from a packed buffer) reads entry 0.
    unsigned char packed[8] = {0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0};
    f.ReadBuff(packed);
    EXPECT_EQ(&f.GetNFmt(), GetNumberFormatTable().GetAt(0));
}

TEST_F(UnitTexts, UnitTextFormatsInternByExactIdentity) {
    CCNumberFormat trailing = WithUnit(kg, 2), leading = WithUnit(kg, 1);
    ASSERT_TRUE(trailing.IsEqual(nullptr, leading));  // display comparison ignores the side

    // Interned after a "5 kg" format, a "kg 5" cell keeps its own format: it prints, reports
    // and stores the leading unit text (flag byte A of the stored number format).
    CCCellFormat five_kg = WithNF(trailing), kg_five = WithNF(leading);
    EXPECT_NE(kg_five.GetNFIndex(), five_kg.GetNFIndex());
    EXPECT_EQ(std::tuple(kg_five.GetNFmt().GetLTStringMode(), kg_five.IsNFLTString(),
                         kg_five.GetNFLTString(), Written(kg_five)[4]),
              std::tuple(1, true, kg, 0x80));
    EXPECT_EQ(nf_test::Print(kg_five.GetNFmt(), 5), "kg 5");
    EXPECT_EQ(nf_test::Print(five_kg.GetNFmt(), 5), "5 kg");
    EXPECT_EQ(ReadFrom(Written(kg_five)).GetNFmt().GetLTStringMode(), 1);

    // Cell formats: equal for comparisons, distinct for the process-wide table, one entry
    // in a table that collects equal formats.
    EXPECT_TRUE(kg_five.IsEqual(five_kg));
    CCCellFormatTable& shared = GetCellFormatTable();
    EXPECT_NE(shared.Add(kg_five), shared.Add(five_kg));
    EXPECT_EQ(shared.Find(kg_five), shared.Add(kg_five));
    CCCellFormatTable collected;
    EXPECT_EQ(collected.Add(kg_five), collected.Add(five_kg));

    // A set mask alone makes a different entry; the same format twice makes none.
    CCNumberFormat marked = trailing;
    marked.clearCommas();
    int size = GetNumberFormatTable().GetSize();
    int index = WithNF(marked).GetNFIndex();
    EXPECT_NE(index, five_kg.GetNFIndex());
    EXPECT_EQ(WithNF(marked).GetNFIndex(), index);
    EXPECT_LE(GetNumberFormatTable().GetSize(), size + 1);
}

TEST(CellFormat, CustomAndClassicFormsOfOneCodeStayApart) {
    CacheWithFakeParser cache;
    CCNumberFormat classic = Make(C_NF_NUMBER, 3), custom = Custom(u"0.000");
    ASSERT_TRUE(classic.IsEqual(nullptr, custom));
    CCCellFormat a = WithNF(classic), b = WithNF(custom);
    EXPECT_NE(a.GetNFIndex(), b.GetNFIndex());
    EXPECT_TRUE(a.IsEqual(b));
    EXPECT_EQ(std::tuple(Written(a)[10], Written(b)[10]), std::tuple(0, 1));  // custom byte

    // A custom format whose kind was changed after its code is copied with the kind the
    // code gives: interning it again must find that copy, not add one more.
    CCNumberFormat odd = Custom(u"%0");
    odd.setType(C_NF_DATE);
    int first = WithNF(odd).GetNFIndex();
    int size = GetNumberFormatTable().GetSize();
    EXPECT_EQ(WithNF(odd).GetNFIndex(), first);
    EXPECT_EQ(GetNumberFormatTable().GetSize(), size);
    EXPECT_EQ(WithNF(odd).GetNFType(), C_NF_PERCENT);
}

TEST_F(UnitTexts, StreamFormsAreExact) {
    CCCellFormat f = WithNF(WithUnit(kg, 1));
    f.SetLock(1);
    f.SetHideZero(0);
    f.setHide(1);
    std::vector<uint8_t> bytes = Written(f);
    const std::vector<uint8_t> expected = {
        0x11, 0x01, 0x03,                         // set mask, flags
        0x01, 0x80, 0x00, 0x01, 0x00,             // kind, flag bytes, slot (kg + 1)
        0x7F, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x00  // number format mask, custom, no code
    };
    EXPECT_EQ(bytes, expected);

    // Reading back: the flag mask is not stored, the number format is found, not added.
    int size = GetNumberFormatTable().GetSize();
    CCCellFormat back = ReadFrom(bytes);
    EXPECT_EQ(GetNumberFormatTable().GetSize(), size);
    EXPECT_EQ(std::tuple(back.GetNFIndex(), back.GetSetMask(), back.getFlagMask(), back.getHide()),
              std::tuple(f.GetNFIndex(), 0x0111, 0, 1));
    EXPECT_EQ(Written(back), bytes);

    // Every premature end raises endOfFile and leaves the target as it was.
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CCCellFormat target;
        target.SetHide(1);
        target.SetNFPrecision(4);
        unsigned char before[8], after[8];
        target.FillBuff(before);
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
        EXPECT_EQ(LoadCause(part, [&](CArchive& ar) { target.Read(ar); }),
                  CArchiveException::endOfFile)
            << cut;
        target.FillBuff(after);
        EXPECT_TRUE(std::equal(before, before + 8, after)) << cut;
        EXPECT_EQ(target.GetNFPrecision(), 4);
    }

    unsigned char packed[8];
    f.FillBuff(packed);
    uint32_t index = static_cast<uint32_t>(f.GetNFIndex());
    std::vector<unsigned char> expectedPacked = {0x11, 0x01, 0, 0, 0, 0, 0x03, 0x00};
    for (int i = 0; i < 4; ++i)
        expectedPacked[2 + i] = static_cast<unsigned char>(index >> (8 * i));
    EXPECT_EQ(std::vector<unsigned char>(packed, packed + 8), expectedPacked);
    CCCellFormat unpacked;
    unpacked.setEditSource(1);
    unpacked.ReadBuff(packed);
    EXPECT_TRUE(unpacked.IsSame(f));
    EXPECT_EQ(unpacked.getFlagMask(), 0x04);  // kept from before
    unpacked.SetEditSource(1);
    EXPECT_FALSE(unpacked.IsSame(f));
}

TEST(CellFormatAlgebra, MergeCollectsCommonPartsAndConflicts) {
    CCCellFormat a, b;
    a.SetNFPrecision(2);
    a.SetLock(1);
    a.SetHide(1);
    b.SetNFPrecision(3);
    b.SetLock(1);
    b.SetHide(0);
    b.SetHideZero(1);
    unsigned short conflicts = 0x0040;  // accumulated from earlier cells
    a.Merge(b, conflicts);
    EXPECT_EQ(conflicts, 0x0040 | 0x0004 | 0x0020);
    EXPECT_EQ(std::tuple(a.GetNFPrecision(), a.GetHide(), a.IsHideZero(), a.GetHideZero()),
              std::tuple(2, 2, true, 16));

    // Taking over the other's number format must not cost this format its precision.
    CCCellFormat c, d = WithNF(Make(C_NF_NUMBER, 3));
    c.SetNFPrecision(2);
    d.SetNFPrecision(3);
    conflicts = 0;
    c.Merge(d, conflicts);
    EXPECT_EQ(std::tuple(conflicts, c.IsNumberFormat(), c.GetNFType(), c.GetNFPrecision()),
              std::tuple(0x0004, true, C_NF_NUMBER, 2));

    // Different whole number formats conflict; a format that sets nothing copies.
    CCCellFormat e = WithNF(Make(C_NF_PERCENT)), g;
    conflicts = 0;
    e.Merge(d, conflicts);
    EXPECT_EQ(std::tuple(conflicts, e.GetNFType()), std::tuple(0x0001, C_NF_PERCENT));
    g.setLock(1);
    g.Merge(d, conflicts);
    EXPECT_TRUE(g.IsSame(d));
    EXPECT_EQ(g.getFlagMask(), 0);

    // Without conflicts, other wins.
    a.Merge(b);
    EXPECT_EQ(std::tuple(a.GetNFPrecision(), a.GetHide()), std::tuple(3, 0));
    CCCellFormat before = a;
    a.Merge(CCCellFormat());
    EXPECT_TRUE(a.IsSame(before));
}

TEST(CellFormatAlgebra, RelativeMergeClearAndEquality) {
    CCCellFormat a, b, target;
    a.SetLock(1);
    a.SetNFPrecision(2);
    a.SetHide(1);
    b.SetLock(1);
    b.SetNFPrecision(3);
    target.SetLock(0);
    target.SetEditSource(1);
    target.Merge(a, b);
    // Lock has the same value in b: cleared. Hide and precision are taken, edit source kept.
    EXPECT_EQ(std::tuple(target.IsLock(), target.IsHide(), target.GetHide(), target.IsNFPrecision(),
                         target.GetNFPrecision(), target.IsEditSource()),
              std::tuple(false, true, 2, true, 2, true));

    CCCellFormat empty;
    empty.Merge(a, CCCellFormat());
    EXPECT_TRUE(empty.IsSame(a));
    {
        CacheWithFakeParser cache;
        CCCellFormat custom = WithNF(Custom(u"0.0"));
        custom.SetNFPrecision(5);
        CCCellFormat t;
        t.SetHide(1);
        t.Merge(custom, CCCellFormat());
        EXPECT_EQ(std::tuple(t.IsNumberFormat(), t.IsNFPrecision()), std::tuple(true, false));
    }

    CCCellFormat x = a, y;
    y.SetLock(1);
    y.SetHide(0);
    x.Clear(y);
    EXPECT_EQ(x.GetSetMask(), 0x0024);

    CCCellFormat p, q;
    p.SetNFCommas(1);
    q.SetNFCommas(1);
    p.setLock(1);  // flag-mask family and unset parts do not count
    p.SetHide(1);
    p.ClearHide();
    EXPECT_TRUE(p.IsEqual(q));
    p.SetHide(0);
    EXPECT_FALSE(p.IsEqual(q));
}

TEST(CellFormatAlgebra, FlagMaskFamily) {
    CCNumberFormat precision4;
    precision4.setSetMask(0);
    precision4.setPrecision(4);
    CCCellFormat top, base;
    top.setHide(0);
    top.SetLock(1);  // set-mask family: ignored here
    top.PutNFmt(precision4);
    base.setHide(1);
    base.setLock(1);
    base.SetNumberFormat(Make(C_NF_NUMBER, 1, true));

    CCCellFormat out;
    top.flattern(base, out);
    EXPECT_EQ(Marks(out), std::tuple(0x03, 1, 0, 0));
    EXPECT_EQ(std::tuple(out.GetNFPrecision(), out.GetNFCommas(), out.IsLock()),
              std::tuple(4, 16, false));
    top.flattern(base, top);  // out may be an operand
    EXPECT_EQ(top.GetNFmt().getSetMask(), out.GetNFmt().getSetMask());

    CCCellFormat m;
    int nf = m.GetNFIndex();
    m.setNoNumF(base);
    EXPECT_EQ(std::tuple(m.GetNFIndex(), m.getFlagMask()), std::tuple(nf, 0x03));
    m.merge(out, CCCellFormat::kHide, CCNumberFormat::kSetPrecision);
    EXPECT_EQ(std::tuple(m.getHide(), m.getLock(), m.GetNFPrecision(), m.GetNFCommas()),
              std::tuple(0, 1, 4, 0));

    CCCellFormat ex;
    base.extract(ex, CCCellFormat::kLock | CCCellFormat::kZeroHidden, CCNumberFormat::kSetCommas);
    EXPECT_EQ(Marks(ex), std::tuple(CCCellFormat::kLock, 1, 0, 0));
    EXPECT_EQ(ex.GetNFmt().getSetMask(), CCNumberFormat::kSetCommas);

    CCCellFormat u, v, commons, diff;
    u.setLock(1);
    u.setHide(1);
    u.setEditSource(1);
    v.setLock(1);
    v.setHide(0);
    u.extractCommons(v, commons);
    EXPECT_EQ(Marks(commons), std::tuple(CCCellFormat::kLock, 1, 0, 0));
    u.substract(v, diff);
    EXPECT_EQ(Marks(diff), std::tuple(CCCellFormat::kHide, 0, 1, 0));
    u.substract(v, u);  // out may be an operand
    EXPECT_EQ(u.getFlagMask(), CCCellFormat::kHide);
    v.setZeroHidden(1);
    diff.mergeCommons(v);  // common parts take v's value
    EXPECT_EQ(std::tuple(diff.getHide(), diff.getZeroHidden()), std::tuple(0, 0));
    diff.setZeroHidden(0);
    diff.mergeCommons(v);
    EXPECT_EQ(diff.getZeroHidden(), 1);
}

TEST(CellFormatTable, FindAddAndIndexFallback) {
    CCCellFormatTable table;
    EXPECT_THROW(table.GetAt(0), CInvalidArgException);
    EXPECT_EQ(table.Find(CCCellFormat()), -1);
    EXPECT_EQ(table.DeleteAt(0), 0);

    CCCellFormat locked, hidden, lockedAgain;
    locked.SetLock(1);
    hidden.SetHide(1);
    lockedAgain.SetLock(1);
    lockedAgain.setZeroHidden(1);  // not compared
    EXPECT_EQ(table.Add(locked), 0);
    EXPECT_EQ(table.Add(hidden), 1);
    EXPECT_EQ(table.Add(lockedAgain), 0);
    EXPECT_EQ(table.GetAt(7), table.GetAt(0));
    EXPECT_EQ(table.GetAt(-1), table.GetAt(0));

    EXPECT_EQ(table.Append(locked), 2);
    table.InsertAt(0, hidden);
    EXPECT_EQ(std::tuple(table.Find(locked), table.Find(hidden)), std::tuple(1, 0));
    std::unique_ptr<CCCellFormat> removed = table.RemoveAt(0);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(std::tuple(removed->IsHide(), table.Find(hidden)), std::tuple(true, 1));
    EXPECT_EQ(table.DeleteAt(0), 1);
    EXPECT_EQ(table.Find(locked), 1);

    CCCellFormatTable copy(table);
    copy.Append(copy);  // appending itself reads the elements as they were
    EXPECT_EQ(std::tuple(copy.GetSize(), copy.Find(locked)), std::tuple(4, 1));

    // The process-wide table starts with the empty format and interns exactly.
    CCCellFormatTable& shared = CCCellFormatTable::CCellFormats();
    EXPECT_EQ(shared.Add(CCCellFormat()), 0);
    EXPECT_NE(shared.Add(locked), shared.Add(lockedAgain));  // the flag mask counts
}

TEST_F(UnitTexts, CollectingTableComparesUnitTextsAsTheyConvertNow) {
    CacheWithFakeParser cache;
    auto locked = [](const CCNumberFormat& nf, int lock = 1) {
        CCCellFormat f = WithNF(nf);
        f.SetLock(lock);
        return f;
    };
    CCNumberFormat trailing = Make(C_NF_NUMBER, 1);
    trailing.SetLTString(kg, 2);
    CCCellFormatTable table;
    CCCellFormat plain;
    plain.SetLock(1);
    table.Add(plain);
    int unit = table.Add(locked(trailing));
    EXPECT_EQ(table.Find(locked(Custom(u"0.0\" kg\""))), unit);
    EXPECT_EQ(table.Find(locked(Custom(u"0.0\" kg\""), 0)), -1);
    ReleaseLTStrings();
    EXPECT_EQ(table.Find(locked(Custom(u"0.0\" kg\""))), -1);
    EXPECT_EQ(table.Find(WithNF(Custom(u"0.0"))), -1);
    EXPECT_EQ(table.Find(locked(Custom(u"0.0"))), unit);
}
