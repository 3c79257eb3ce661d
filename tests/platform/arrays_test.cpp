// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/string_array.h"
#include "platform/names.h"
#include "support/archive_bytes.h"

using testing_support::Load;
using testing_support::LoadCause;
using testing_support::Store;
using Bytes = std::vector<uint8_t>;

namespace {
int a, b, c;

std::vector<void*> Elements(const CPtrArray& arr) {
    return std::vector<void*>(arr.GetData(), arr.GetData() + arr.GetSize());
}
}  // namespace

TEST(PtrArray, GrowsShrinksAndInsertsInPlace) {
    CPtrArray arr;
    EXPECT_EQ(arr.GetUpperBound(), -1);
    EXPECT_EQ(arr.Add(&a), 0);
    EXPECT_EQ(arr.Add(&c), 1);
    arr.InsertAt(1, &b);
    arr.InsertAt(3, nullptr, 2);  // at the end: appends
    EXPECT_EQ(Elements(arr), (std::vector<void*>{&a, &b, &c, nullptr, nullptr}));
    arr.RemoveAt(0, 2);
    EXPECT_EQ(arr.GetCount(), 3);
    EXPECT_EQ(arr.GetAt(0), &c);

    arr.SetSize(5);  // new slots are null
    EXPECT_EQ(arr.GetAt(4), nullptr);
    arr.ElementAt(4) = &a;
    EXPECT_EQ(arr.GetData()[4], &a);
    arr.SetSize(1);
    // Appending an array to itself must read the original elements, not a moved buffer.
    arr.Add(&b);
    EXPECT_EQ(arr.Append(arr), 2);
    EXPECT_EQ(Elements(arr), (std::vector<void*>{&c, &b, &c, &b}));

    CPtrArray copy;
    copy.Copy(arr);
    arr.RemoveAll();
    EXPECT_EQ(copy.GetSize(), 4);
    EXPECT_TRUE(arr.IsEmpty());
}

TEST(PtrArray, OutOfRangeRaisesInsteadOfTouchingMemory) {
    CPtrArray arr;
    arr.Add(&a);
    EXPECT_THROW(arr.GetAt(1), CInvalidArgException);
    EXPECT_THROW(arr.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(arr[1] = &b, CInvalidArgException);
    EXPECT_THROW(arr.SetAt(5, &b), CInvalidArgException);
    EXPECT_THROW(arr.ElementAt(-3), CInvalidArgException);
    EXPECT_THROW(arr.SetSize(-1), CInvalidArgException);
    EXPECT_THROW(arr.InsertAt(2, &b), CInvalidArgException);
    EXPECT_THROW(arr.InsertAt(0, &b, -1), CInvalidArgException);
    EXPECT_THROW(arr.RemoveAt(0, 2), CInvalidArgException);
    EXPECT_THROW(arr.RemoveAt(1), CInvalidArgException);
    EXPECT_THROW(arr.RemoveAt(-1), CInvalidArgException);
    EXPECT_THROW(arr.SetSize(INTPTR_MAX), CMemoryException);
    // Nothing was changed by the refused calls.
    ASSERT_EQ(arr.GetSize(), 1);
    EXPECT_EQ(arr[0], &a);
}

TEST(StringArray, InsertingACopyOfItsOwnElement) {
    CStringArray arr;
    arr.Add(u"first");
    arr.Add(u"second");
    // The value refers to an element that the insertion moves.
    arr.InsertAt(0, arr[1], 3);
    arr.SetSize(7);
    EXPECT_EQ(
        std::vector<CString>(arr.GetData(), arr.GetData() + arr.GetSize()),
        (std::vector<CString>{u"second", u"second", u"second", u"first", u"second", u"", u""}));
}

TEST(StringArray, SerializedFormIsCountThenFrameworkStrings) {
    CStringArray arr;
    arr.Add(u"A");
    arr.Add(u"");
    Bytes bytes = Store([&](CArchive& ar) { arr.Serialize(ar); });
    Bytes expected = {0x02, 0x00,                          // count
                      0xFF, 0xFE, 0xFF, 0x01, 0x41, 0x00,  // "A"
                      0xFF, 0xFE, 0xFF, 0x00};             // ""
    EXPECT_EQ(bytes, expected);

    CStringArray back;
    back.Add(u"old contents are replaced");
    Load(bytes, [&](CArchive& ar) {
        back.Serialize(ar);
        EXPECT_EQ(ar.GetBytesLeft(), 0u);
    });
    EXPECT_EQ(std::vector<CString>(back.GetData(), back.GetData() + back.GetSize()),
              (std::vector<CString>{u"A", u""}));
}

TEST(StringArray, MalformedStreamsAreRefusedAndLeaveTheArrayEmpty) {
    CStringArray arr;
    arr.Add(u"kept?");
    // A count of 0xFFFFFFFE strings with three bytes behind it: refused before allocating.
    auto read = [&](CArchive& ar) { arr.Serialize(ar); };
    EXPECT_EQ(LoadCause({0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00}, read),
              CArchiveException::badFormat);
    EXPECT_EQ(arr.GetSize(), 0);

    // Two strings announced, one present: the first is not left behind as if complete.
    arr.Add(u"kept?");
    EXPECT_NE(LoadCause({0x02, 0x00, 0x01, 0x41, 0x05}, read), CArchiveException::none);
    EXPECT_EQ(arr.GetSize(), 0);
}
