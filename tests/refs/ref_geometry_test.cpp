// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "ostrel/platform/geometry.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/clipboard_data.h"
#include "ostrel/refs/document_ref.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/region_ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

namespace {

std::string Printed(const CCRef& ref, unsigned char flags = 0) {
    CWideOutStream out;
    ref.Print(nullptr, out, flags);
    return ostrel::ToUtf8(out.str());
}

}  // namespace

// Column letters one by one: the text helpers' tests.
TEST(RefPrint, ColumnLettersAndAbsoluteFlags) {
    EXPECT_EQ(std::tuple(Printed(CCRCRef(0, 0)), Printed(CCRCRef(51, 9)),
                         Printed(CCRCRef(255, 65535)), Printed(CCRCRef(1, 1), 3)),
              std::tuple("A1", "AZ10", "IV65536", "$B$2"));
    EXPECT_EQ(Printed(CCRegionRef(0, 0, 1, 1), 4), "A1:$B2");
    EXPECT_EQ(Printed(CCRegionRef(2, 4, 2, 4), 15), "$C$5:$C$5");
    EXPECT_EQ(Printed(CCRemoteRef(u"?Sheet2", u"A1")), "Sheet2!A1");
    EXPECT_EQ(Printed(CCRemoteRef(u"Budget", u"A1")), "Budget!A1");
    EXPECT_EQ(Printed(CCNameRef(u"Total")), "Total");
    EXPECT_EQ(Printed(CCRef3D(1, 2, new CCRCRef(0, 0))), "");  // the formula prints the sheet
}

TEST(RefCompare, OrdersWithinAndAcrossClasses) {
    CCRCRef a2(0, 1), b1(1, 0), a1(0, 0);
    // Row first.
    EXPECT_EQ(std::tuple(b1.Compare(&a2), a2.Compare(&b1), a1.Compare(&a1), a1.Compare(nullptr)),
              std::tuple(-1, 1, 0, 1));
    CCRegionRef r(0, 0, 1, 1), r2(0, 0, 0, 5), r3(0, 0, 1, 1);
    // Last row 1 < 5 decides before the columns.
    EXPECT_EQ(std::tuple(r.Compare(&a1), a1.Compare(&r), r.Compare(&r2), r.Compare(&r3)),
              std::tuple(1, -1, -1, 0));
    // A document reference against the grid: 1 from its side, -1 from the cell's.
    CCDocumentRef title(CCDocumentRef::DOC_TITLE), author(CCDocumentRef::DOC_AUTHOR);
    EXPECT_EQ(std::tuple(title.Compare(&a1), a1.Compare(&title), author.Compare(&title),
                         title.Compare(nullptr)),
              std::tuple(1, -1, -1, 1));
    // Names compare ordinally, in the opposite sense, and case matters.
    CCNameRef total(u"Total"), upper(u"TOTAL"), abc(u"abc"), ab(u"ab");
    EXPECT_TRUE(total.IsEqual(&upper));
    EXPECT_NE(total.Compare(&upper), 0);
    EXPECT_EQ(abc.Compare(&ab), -1);
    EXPECT_EQ(total.Compare(&a1), 1);
    EXPECT_EQ(CCRemoteRef(u"x", u"A1").Compare(&a1), -1);
    // Sheet-qualified references: same inner cell on other sheets differ and order by key.
    CCRef3D s1(1, 0, new CCRCRef(0, 0)), s2(2, 0, new CCRCRef(0, 0));
    EXPECT_FALSE(s1.IsEqual(&s2));
    EXPECT_EQ(std::tuple(s1.Compare(&s2), s2.Compare(&s1), s1.Compare(&a1)), std::tuple(-1, 1, -1));
}

TEST(RefEquality, ClassesNeverMix) {
    CCRCRef a1(0, 0);
    CCRegionRef single(0, 0, 0, 0);
    // The range is exactly that cell: inside each other, but not equal.
    EXPECT_EQ(std::tuple(single.IsEqual(&a1), a1.IsEqual(&single), single.IsInside(&a1),
                         a1.IsInside(&single), a1.IsEqual(nullptr)),
              std::tuple(false, false, true, true, false));
    // Sheet-qualified: two empty inners are equal, exactly one empty is not (and no crash).
    CCRef3D empty1(3), empty2(3), full(3, 0, new CCRCRef(0, 0));
    EXPECT_EQ(std::tuple(empty1.IsEqual(&empty2), empty1.IsEqual(&full), full.IsEqual(&empty1)),
              std::tuple(true, false, false));
    // Remote: case-insensitive through the virtual, exact through the plain form.
    CCRemoteRef x(u"Budget", u"A1"), y(u"BUDGET", u"a1");
    EXPECT_TRUE(x.IsEqual(static_cast<const CCRef*>(&y)));
    EXPECT_FALSE(x.IsEqual(y));
    CCNameRef null1, null2, named(u"a");
    EXPECT_TRUE(null1.IsEqual(&null2));
    EXPECT_FALSE(null1.IsEqual(&named));
}

TEST(RefContainment, RangesCellsAndRectangles) {
    CCRegionRef big(0, 0, 9, 9), small(2, 2, 3, 3);
    CCRCRef inside(5, 5), outside(10, 0);
    EXPECT_EQ(std::tuple(big.Contain(&small), small.Contain(&big),
                         small.IsInside(static_cast<const CCRef*>(&big)), big.Contain(&inside),
                         big.Contain(&outside), inside.IsInside(&big), big.IsInside(&inside),
                         big.Contain(nullptr)),
              std::tuple(true, false, true, true, false, true, false, false));
    CRect rect(0, 0, 3, 3), row(2, 100, 3, 100);  // inclusive
    EXPECT_EQ(
        std::tuple(small.IsInside(rect), CCRCRef(3, 3).IsInside(rect), CCRCRef(4, 3).IsInside(rect),
                   ContainH(row, small), ContainV(row, small), Contain(big, CRect(1, 1, 2, 2))),
        std::tuple(true, true, false, true, false, true));
    // A sheet-qualified range contains sheet-qualified cells of its own sheet only.
    CCRef3D range(1, 0, new CCRegionRef(0, 0, 4, 4)), cell(1, 0, new CCRCRef(1, 1)),
        elsewhere(2, 0, new CCRCRef(1, 1));
    EXPECT_EQ(std::tuple(range.Contain(&cell), range.Contain(&elsewhere), cell.IsInside(&range)),
              std::tuple(true, false, true));
}

TEST(RefUpdate, FollowsMovesKeepingAbsoluteCoordinates) {
    CCRCRef from(0, 0), to(2, 0), down(0, 1);
    CCRCRef cell(1, 1);
    unsigned char flags = 0;
    cell.Update(nullptr, &from, &to, flags);
    EXPECT_EQ(Printed(cell), "D2");
    flags = 1;  // column absolute
    cell.Update(nullptr, &from, &down, flags);
    EXPECT_EQ(Printed(cell), "D3");

    // A1:B2 with the last column absolute, moved from A1 to C1: C1 and $B2 swap into B1:C2,
    // and the "$" stays on column B, now the first column.
    CCRegionRef range(0, 0, 1, 1);
    flags = REF_ABS_COL2;
    range.Update(nullptr, &from, &to, flags);
    EXPECT_EQ(std::tuple(Printed(range), flags, Printed(range, flags)),
              std::tuple("B1:C2", REF_ABS_COL1, "$B1:C2"));

    // Leaving the grid throws 1; the columns were already stored when the rows fail.
    CCRCRef last(3, 65535), rightMove(1, 0), edge(255, 65535);
    flags = 0;
    auto thrown = [&](CCRCRef& ref, const CCRCRef& to) {
        try {
            ref.Update(nullptr, &from, &to, flags);
        } catch (int e) {
            return e;
        }
        return 0;
    };
    EXPECT_EQ(std::tuple(thrown(last, down), thrown(edge, rightMove)), std::tuple(1, 1));
    // Move does not check: it wraps.
    last.Move(0, 1);
    EXPECT_EQ(last.GetRow(), 0);
    // A move between ranges is no move at all.
    CCRegionRef r(0, 0, 1, 1), other(5, 5, 6, 6);
    CCRCRef c(1, 1);
    c.Update(nullptr, &r, &other, flags);
    EXPECT_EQ(Printed(c), "B2");
}

TEST(RefUpdate, PastePlainAndTransposed) {
    CCClipboardData plain(0, 0, 2, 3, false);
    CCRegionRef range(0, 0, 1, 1);
    range.UpdateInPaste(nullptr, &plain);
    EXPECT_EQ(Printed(range), "C4:D5");
    CCClipboardData transposed(1, 1, 10, 20, true);
    CCRCRef cell(2, 5);  // 4 rows below and 1 column right of the origin
    cell.UpdateInPaste(nullptr, &transposed);
    EXPECT_EQ(Printed(cell), "O22");  // column 10 + 4, row 20 + 1
}

TEST(RefUpdate, SheetLinksFollowTheirItem) {
    CCRemoteRef link(u"?Sheet2", u"$A$1:B2"), other(u"Budget", u"A1");
    CCRCRef from(0, 0), to(1, 1);
    unsigned char flags = 0;
    link.Update(nullptr, &from, &to, flags);
    EXPECT_EQ(ostrel::ToUtf8(link.GetItem()), "$A$1:C3");
    other.Update(nullptr, &from, &to, flags);
    EXPECT_EQ(ostrel::ToUtf8(other.GetItem()), "A1");
    CCClipboardData paste(0, 0, 0, 10, false);
    link.UpdateInPaste(nullptr, &paste);
    EXPECT_EQ(ostrel::ToUtf8(link.GetItem()), "$A$11:C13");
}

TEST(Ref3D, CopiesOwnTheirInnerReference) {
    CCRef3D original(1, 2, new CCRegionRef(0, 0, 1, 1));
    CCRef3D copy(original);
    CCRef3D assigned;
    assigned = original;
    std::unique_ptr<CCRef> cloned(original.Copy());
    EXPECT_NE(copy.GetInnerRef(), original.GetInnerRef());
    EXPECT_NE(assigned.GetInnerRef(), original.GetInnerRef());
    EXPECT_TRUE(copy.IsEqual(&original) && cloned->IsEqual(&original));
}
