// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <tuple>
#include <vector>

#include "ostrel/platform/archive.h"
#include "ostrel/refs/document_ref.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/region_ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"
#include "support/archive_bytes.h"

using testing_support::Load;
using testing_support::LoadCause;
using testing_support::Store;
using Bytes = std::vector<uint8_t>;

namespace {
Bytes Written(const CCRef* ref) {
    return Store([&](CArchive& ar) { WriteRef(nullptr, ar, ref); });
}

std::unique_ptr<CCRef> RoundTrip(const CCRef* ref) {
    std::unique_ptr<CCRef> back;
    Load(Written(ref), [&](CArchive& ar) {
        back.reset(ReadRef(nullptr, ar));
        EXPECT_EQ(ar.GetBytesLeft(), 0u);
    });
    return back;
}

// A list of copies of the references, in their order.
CCRefList* ListOf(std::initializer_list<const CCRef*> refs) {
    CCRefList* list = nullptr;
    for (const CCRef* ref : refs)
        RefListAddLastItem(list, ref);
    return list;
}
}  // namespace

TEST(RefStream, ExactBytesOfEachClass) {
    CCRef3D span(1, 2, new CCRegionRef(0, 0, 1, 1));
    EXPECT_EQ(Written(&span), (Bytes{6, 1, 0, 0, 0, 1, 0, 2, 0, 2, 0, 0, 0, 1, 1, 0}));
    CCRCRef cell(3, 0x0102);
    EXPECT_EQ(Written(&cell), (Bytes{1, 3, 2, 1}));
    CCNameRef name(u"ab"), nullName;
    EXPECT_EQ(Written(&name), (Bytes{3, 3, 0, 0, 0, 'a', 0, 'b', 0}));
    EXPECT_EQ(Written(&nullName), (Bytes{3, 0, 0, 0, 0}));
    CCRemoteRef remote(u"D", u"A1");
    EXPECT_EQ(Written(&remote),
              (Bytes{4, 0xFF, 0xFE, 0xFF, 1, 'D', 0, 0xFF, 0xFE, 0xFF, 2, 'A', 0, '1', 0}));
    CCDocumentRef none;
    EXPECT_EQ(Written(&none), (Bytes{5, 0xFF}));
    EXPECT_EQ(Written(nullptr), (Bytes{0}));
    CCRef3D empty(4);
    EXPECT_EQ(Written(&empty), (Bytes{6, 0, 0, 0, 0}));
}

TEST(RefStream, RoundTripsAndDocumentKindWidening) {
    CCRegionRef range(1, 2, 3, 4);
    EXPECT_TRUE(RoundTrip(&range)->IsEqual(&range));
    CCRemoteRef remote(u"?Sheet 2", u"B7");
    EXPECT_TRUE(RoundTrip(&remote)->IsEqual(&remote));
    CCRef3D span(1, 2, new CCRCRef(5, 6));
    EXPECT_TRUE(RoundTrip(&span)->IsEqual(&span));
    CCDocumentRef none;
    auto back = RoundTrip(&none);
    EXPECT_EQ(static_cast<CCDocumentRef*>(back.get())->GetDocRefType(), 255);
    EXPECT_EQ(RoundTrip(nullptr), nullptr);
}

TEST(RefStream, MalformedInputIsRefused) {
    // A sheet-qualified reference nested in another.
    auto read = [](CArchive& ar) { delete ReadRef(nullptr, ar); };
    EXPECT_EQ(LoadCause({6, 1, 0, 0, 0, 1, 0, 1, 0, 6, 1, 0, 0, 0}, read),
              CArchiveException::badFormat);
    // An unknown type byte is the end of a list; nothing more is read.
    Load({9, 1, 2, 3}, [](CArchive& ar) {
        EXPECT_EQ(ReadRef(nullptr, ar), nullptr);
        EXPECT_EQ(ar.GetBytesLeft(), 3u);
    });
    // A truncated list raises end-of-file, and what was read is freed (ASan sees leaks).
    EXPECT_EQ(LoadCause({1, 0, 0, 0, 2, 0, 0}, [](CArchive& ar) { RefListRead(nullptr, ar); }),
              CArchiveException::endOfFile);
    // A name whose count exceeds the stream.
    EXPECT_NE(LoadCause({3, 0xFF, 0xFF, 0, 0, 'a', 0}, read), CArchiveException::none);
}

TEST(RefList, OrderDuplicatesAndOwnership) {
    CCRCRef a1(0, 0), b1(1, 0), c1(2, 0), d1(3, 0);
    CCRefList* list = ListOf({&a1, &b1, &c1});
    RefListAddUItem(list, &b1);  // present: unchanged
    EXPECT_EQ(RefListCount(list), 3u);
    RefListAddUItem(list, &d1);  // new: at the head
    EXPECT_EQ(std::tuple(list->m_pRef->IsEqual(&d1), RefListHasMember(list, &c1),
                         RefListHasMember(nullptr, &c1)),
              std::tuple(1, 1, 0));
    RefListFree(list, 0);

    // (A1, B1, C1) joined with (B1, D1) gives (A1, C1, B1, D1); the destination's B1 freed.
    CCRefList* dest = ListOf({&a1, &b1, &c1});
    CCRefList* src = ListOf({&b1, &d1});
    CCRefList* srcHead = src;
    JoinRefList(&dest, src);
    const CCRef* expected[] = {&a1, &c1, &b1, &d1};
    int i = 0;
    for (CCRefList* n = dest; n; n = n->m_pNext, ++i)
        EXPECT_TRUE(n->m_pRef->IsEqual(expected[i]));
    EXPECT_EQ(i, 4);
    EXPECT_EQ(dest->m_pNext->m_pNext, srcHead);  // src's nodes themselves, not copies
    RefListFree(dest, 0);
    CCRefList* empty = nullptr;
    CCRefList* only = ListOf({&a1});
    JoinRefList(&empty, only);
    EXPECT_EQ(empty, only);
    RefListFree(empty, 0);

    // Borrowed references survive a free without freeRefs; owned ones do not (ASan checks).
    auto* borrowed = new CCRCRef(9, 9);
    CCRefList* mixed =
        new CCRefList(borrowed, new CCRefList(new CCRCRef(1, 1), nullptr, true), false);
    RefListFree(mixed, 0);
    EXPECT_EQ(borrowed->GetColumn(), 9);
    delete borrowed;
}

TEST(RefList, StreamFormSkipsHostReferencesAndKeepsOrder) {
    CCRCRef a1(0, 0);
    CCNameRef name(u"x");
    CCRefList* list = ListOf({&a1, &name});
    Bytes bytes = Store([&](CArchive& ar) { RefListWrite(nullptr, list, ar); });
    EXPECT_EQ(bytes, (Bytes{1, 0, 0, 0, 3, 2, 0, 0, 0, 'x', 0, 0}));
    Load(bytes, [&](CArchive& ar) {
        CCRefList* back = RefListRead(nullptr, ar);
        ASSERT_EQ(RefListCount(back), 2u);
        EXPECT_TRUE(back->m_pRef->IsEqual(&a1) && back->m_pNext->m_pRef->IsEqual(&name));
        RefListFree(back, 1);
    });
    Load({0}, [](CArchive& ar) { EXPECT_EQ(RefListRead(nullptr, ar), nullptr); });
    RefListFree(list, 1);
}
