// SPDX-License-Identifier: Apache-2.0
// Answers that do not fit their request: cut short, with bytes left over, or claiming more
// strings or values than they hold. Each fails the request (result 0) without allocating for
// what it claims and leaves the caller's outputs as they were.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/file.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/string_array.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"
#include "support/test_host.h"

using testing_support::TestSheet;

namespace {

// Carries requests to a peer and lets the test change the answer on the way back.
struct Tampering : TestSheet {
    using TestSheet::TestSheet;
    CCCellManager* peer = nullptr;
    std::function<void(CFile&)> tamper;
    uint32_t refuse = 0;  // a request code the peer does not know
    int DoTransport(const CCRemoteRef*, CFile* file) override {
        uint32_t code = 0;
        file->SeekToBegin();
        file->Read(&code, sizeof code);
        if (code == refuse) return 0;
        const int served = peer->OnTransport(file);
        if (tamper) tamper(*file);
        return served;
    }
};

// An answer made from scratch: the result, then what write puts after it.
std::function<void(CFile&)> Answer(std::function<void(CArchive&)> write) {
    return [write](CFile& file) {
        file.SetLength(0);
        file.SeekToBegin();
        CArchive ar(&file, CArchive::store);
        ar << uint32_t(1);
        write(ar);
        ar.Flush();
    };
}

}  // namespace

TEST(RemoteAnswers, AnAnswerThatDoesNotFitFailsItsRequest) {
    InitBuiltinFunctions();
    Tampering asker(u"A");
    TestSheet budget(u"Budget");
    asker.peer = &budget;
    budget.Type(2, 2, u"42");
    CCRemoteRef c3(u"Budget", u"C3");

    CCCellValue value;
    ASSERT_EQ(asker.DoRemoteGetValue(&c3, &value, 0), 1);
    EXPECT_EQ(value.GetNumber(), 42);

    const CCCellValue sentinel(u"untouched");
    auto fails = [&](std::function<void(CFile&)> tamper) {
        asker.tamper = std::move(tamper);
        value = sentinel;
        const int result = asker.DoRemoteGetValue(&c3, &value, 0);
        return result == 0 && value.IsEqual(sentinel);
    };
    EXPECT_TRUE(fails([](CFile& f) { f.SetLength(f.GetLength() - 1); }));
    EXPECT_TRUE(fails([](CFile& f) { f.SetLength(6); }));
    EXPECT_TRUE(fails([](CFile& f) {
        f.SeekToEnd();
        const uint8_t extra = 0;
        f.Write(&extra, 1);
    }));
    EXPECT_EQ(asker.openSessions, 0);

    // Counts far beyond the answer's bytes are refused before anything is made for them.
    CStringArray items;
    items.Add(u"kept");
    asker.tamper = Answer([](CArchive& ar) { ar.WriteCount(0xFFFFFFFFull); });
    EXPECT_EQ(asker.DoRemoteGetItems(&c3, &items), 0);
    ASSERT_EQ(items.GetSize(), 1);
    EXPECT_EQ(items[0], u"kept");
    CPtrArray record;
    asker.tamper = Answer([](CArchive& ar) { ar << int32_t(0x7FFFFFFF); });
    EXPECT_EQ(asker.DoRemoteGetRecord(&c3, 1, 0, &record), 0);
    EXPECT_EQ(record.GetSize(), 0);
    CSize size(3, 4);
    asker.tamper = Answer([](CArchive& ar) { ar << int32_t(5); });  // half a size
    EXPECT_EQ(asker.DoRemoteRefSize(&c3, 1, &size), 0);
    EXPECT_EQ(size, CSize(3, 4));
    asker.tamper = Answer([](CArchive& ar) { ar << int32_t(5) << int32_t(6); });
    EXPECT_EQ(asker.DoRemoteRefSize(&c3, 1, &size), 1);
    EXPECT_EQ(size, CSize(5, 6));
}

// A range read value by value comes in batches, and whole from a server that serves one
// value at a time only.
TEST(RemoteAnswers, ValuesOfARangeComeInBatchesOrOneByOne) {
    InitBuiltinFunctions();
    for (bool batches : {true, false}) {
        Tampering asker(u"A");
        TestSheet budget(u"Budget");
        asker.peer = &budget;
        for (uint16_t row = 0; row < 5; ++row)
            budget.SetNumber(0, row, row + 1);
        int requests = 0;
        asker.tamper = [&](CFile&) { ++requests; };
        if (!batches) {
            // The request for many values is refused as a server that does not know it.
            asker.refuse = 23;
        }
        CCRemoteRef range(u"Budget", u"A1:A5");
        const uint16_t handle = asker.DoRemoteOpenRef(&range);
        ASSERT_NE(handle, 0);
        std::vector<double> read;
        CCCellValue value;
        while (asker.DoRemoteNextValue(&range, handle, &value))
            read.push_back(value.GetNumber());
        EXPECT_EQ(read, (std::vector<double>{1, 2, 3, 4, 5})) << batches;
        // Opening, one batch, and at the end an empty batch and a single request (an empty
        // answer cannot tell the end from a server that reads one value at a time); or a
        // request per value.
        EXPECT_EQ(requests, batches ? 4 : 1 + 5 + 1) << batches;
        EXPECT_EQ(asker.DoRemoteCloseRef(&range, handle), 1);
    }
}
