// SPDX-License-Identifier: Apache-2.0
// The engine as a host meets it: this program links the shared library alone and includes
// the public headers only. What the library builds with hidden visibility must still cross
// the boundary: its exceptions caught by their types, its objects' run-time types, the
// explicitly instantiated arrays, and one live count per engine class, whichever side of
// the boundary makes or destroys an object.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <typeinfo>

#include "ostrel/cells.h"

namespace {

using ostrel::debug::CInstanceCounter;
using ostrel::platform::CArchive;
using ostrel::platform::CFile;
using ostrel::platform::CMemFile;
using ostrel::platform::CStringArray;

// An item of the host's own: made here, destroyed through the library's destructor.
class HostItem : public CCItem {
public:
    const CCRef* GetRef() const override { return nullptr; }
    bool IsEqual(const CCItem* other) const override { return other == this; }
};

// A reference written by the host and read back by the library, which makes the object.
std::unique_ptr<CCRef> RoundTrip(const CCRef& ref) {
    CMemFile file;
    {
        CArchive out(&file, CArchive::store);
        WriteRef(nullptr, out, &ref);
    }
    file.SeekToBegin();
    CArchive in(&file, CArchive::load);
    return std::unique_ptr<CCRef>(ReadRef(nullptr, in));
}

TEST(SharedLibraryExceptions, ReachTheHostAsTheirOwnTypesAndAsTheEnginesBase) {
    uint8_t two[] = {1, 2};
    CMemFile shortFile(two, sizeof two);
    CArchive in(&shortFile, CArchive::load);
    int32_t value = 0;
    try {
        in >> value;
        ADD_FAILURE() << "four bytes read from two";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_THROW(in >> value, ostrel::CException);

    CMemFile empty;
    try {
        empty.Seek(-1, CFile::begin);
        ADD_FAILURE() << "a seek before the start";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::badSeek);
    }
    EXPECT_THROW(CCCellFormatTable().GetAt(0), CInvalidArgException);
}

TEST(SharedLibraryTypes, ObjectsTheLibraryMakesHaveTheHostsRunTimeTypes) {
    std::unique_ptr<CCRef> read = RoundTrip(CCRegionRef(0, 0, 2, 4));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(typeid(*read), typeid(CCRegionRef));
    const auto* range = dynamic_cast<const CCRegionRef*>(read.get());
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->GetLastColumn(), 2);
    EXPECT_EQ(range->GetLastRow(), 4);
    EXPECT_EQ(dynamic_cast<const CCRCRef*>(read.get()), nullptr);
}

TEST(SharedLibraryTypes, StringArraysTravelThroughTheLibrarysInstantiation) {
    CStringArray names;
    names.Add(u"prices");
    names.Add(u"Sheet 2");
    CMemFile file;
    {
        CArchive out(&file, CArchive::store);
        names.Serialize(out);
    }
    file.SeekToBegin();
    CStringArray back;
    CArchive in(&file, CArchive::load);
    back.Serialize(in);
    ASSERT_EQ(back.GetSize(), 2);
    EXPECT_EQ(back[0], u"prices");
    EXPECT_EQ(back[1], u"Sheet 2");

    // A count of 200 strings over the one byte left is refused before anything is read.
    uint8_t claim[] = {200, 0, 0};
    CMemFile bogus(claim, sizeof claim);
    CArchive bogusIn(&bogus, CArchive::load);
    EXPECT_THROW(back.Serialize(bogusIn), CArchiveException);
    EXPECT_EQ(back.GetSize(), 0);
}

TEST(SharedLibraryCounters, CountEachObjectOnceOnEitherSideOfTheBoundary) {
    using Items = CInstanceCounter<CCItem>;
    using Refs = CInstanceCounter<CCRef>;
    if (Items::Live() < 0) GTEST_SKIP() << "built without instance counters";
    const long items = Items::Live();
    {
        // The counting constructor runs here; the destructor runs in the library.
        HostItem item;
        EXPECT_EQ(Items::Live(), items + 1);
    }
    EXPECT_EQ(Items::Live(), items);

    const long refs = Refs::Live();
    std::unique_ptr<CCRef> read = RoundTrip(CCRCRef(1, 1));
    EXPECT_EQ(Refs::Live(), refs + 1);
    read.reset();
    EXPECT_EQ(Refs::Live(), refs);
}

}  // namespace
