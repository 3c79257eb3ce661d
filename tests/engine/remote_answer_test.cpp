// SPDX-License-Identifier: Apache-2.0
// Answers that do not fit their request: cut short, with bytes left over, or claiming more
// strings or values than they hold. Each fails the request (result 0) without allocating for
// what it claims and leaves the caller's outputs as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/formats/number_format.h"
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

// A value as its stream form has it: what a value read one by one is, byte for byte.
std::vector<uint8_t> StreamForm(const CCCellValue& value) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    value.Write(nullptr, ar);
    ar.Flush();
    return std::vector<uint8_t>(file.Data(), file.Data() + file.GetLength());
}

// A column of every kind of value: numbers in formats that change and come back, a custom
// format, a boolean, texts (one longer than a string field holds, whose cut would split a
// surrogate pair), an error and an empty cell.
void FillKinds(TestSheet& sheet) {
    CCNumberFormat custom;
    custom.setCustomFormat(u"0.0\" kg\"");
    CCCellValue weight;
    std::u16string longText(4095, u'a');
    longText += u"\U0001F600tail";
    const std::u16string_view typed[] = {u"1",    u"12%",   u"15%",  u"-0.1", u"TRUE",
                                         u"text", longText, u"=1/0", u"",     u"3"};
    uint16_t row = 0;
    for (std::u16string_view text : typed)
        sheet.Type(0, row++, text);
    for (double x : {2.5, -0.0}) {
        CCRCRef ref(0, row);
        sheet.Type(0, row++, u"0");
        weight.Set(x, custom);
        sheet.SetValue(&ref, &weight);
    }
    sheet.Settle();
}

// A range read value by value comes in batches, and whole from a server that serves one
// value at a time only; both give every value as its stream form would.
TEST(RemoteAnswers, ValuesOfARangeComeInBatchesOrOneByOne) {
    InitBuiltinFunctions();
    std::vector<std::vector<uint8_t>> read[2];
    std::vector<CCNumberFormat> formats;
    for (bool batches : {true, false}) {
        Tampering asker(u"A");
        TestSheet budget(u"Budget");
        asker.peer = &budget;
        FillKinds(budget);
        int requests = 0;
        asker.tamper = [&](CFile&) { ++requests; };
        if (!batches) {
            // The request for many values is refused as a server that does not know it.
            asker.refuse = 23;
        }
        CCRemoteRef range(u"Budget", u"A1:A12");
        const uint16_t handle = asker.DoRemoteOpenRef(&range);
        ASSERT_NE(handle, 0);
        CCCellValue value;
        while (asker.DoRemoteNextValue(&range, handle, &value)) {
            read[batches].push_back(StreamForm(value));
            formats.push_back(value.GetFormat());
        }
        // Opening, one batch, and at the end an empty batch and a single request (an empty
        // answer cannot tell the end from a server that reads one value at a time); or a
        // request per value.
        EXPECT_EQ(requests, batches ? 4 : 1 + 12 + 1) << batches;
        EXPECT_EQ(asker.DoRemoteCloseRef(&range, handle), 1);
    }
    ASSERT_EQ(read[1].size(), 12u);
    for (size_t i = 0; i < read[1].size(); ++i)
        EXPECT_EQ(read[1][i], read[0][i]) << "value " << i;
    // The formats are there to be told apart: the column is not all General.
    EXPECT_EQ(formats[1].getType(), C_NF_PERCENT);
    EXPECT_EQ(formats[4].getType(), C_NF_BOOL);
    EXPECT_TRUE(formats[10].isCustomFormat());
}

// An answer of many values is read whole or not at all: cut anywhere, with a byte over, more
// values than asked for, a text longer than the answer or a string field holds, or a kind
// that does not exist, it fails and the values the caller had stay.
TEST(RemoteAnswers, ABatchThatDoesNotFitFailsItsRequest) {
    InitBuiltinFunctions();
    Tampering asker(u"A");
    TestSheet budget(u"Budget");
    asker.peer = &budget;
    FillKinds(budget);
    CCRemoteRef range(u"Budget", u"A1:A12");
    const uint16_t handle = asker.DoRemoteOpenRef(&range);
    std::vector<uint8_t> whole;
    asker.tamper = [&](CFile& f) {
        whole.resize(size_t(f.GetLength()));
        f.SeekToBegin();
        f.Read(whole.data(), whole.size());
    };
    std::vector<CCCellValue> values;
    ASSERT_EQ(asker.DoRemoteNextValues(&range, handle, 100, values), 12);

    auto serve = [&](const std::vector<uint8_t>& answer, uint32_t most) {
        asker.tamper = [&answer](CFile& f) {
            f.SetLength(0);
            f.SeekToBegin();
            f.Write(answer.data(), answer.size());
        };
        return asker.DoRemoteNextValues(&range, handle, most, values);
    };
    const CCCellValue kept(u"kept");
    auto fails = [&](const std::vector<uint8_t>& answer, uint32_t most = 100) {
        values.assign(1, kept);
        return serve(answer, most) == 0 && values.size() == 1 && values[0].IsEqual(kept);
    };
    for (size_t size = 4; size < whole.size(); ++size)
        EXPECT_TRUE(fails(std::vector<uint8_t>(whole.begin(), whole.begin() + size))) << size;
    std::vector<uint8_t> over = whole;
    over.push_back(0);
    EXPECT_TRUE(fails(over));
    EXPECT_TRUE(fails(whole, 11));

    // Result and count, then the values as the transport interface describes them.
    // Sized once and copied into: GCC 12 at -O3 warns falsely (array-bounds) on an insert
    // behind an eight-byte header.
    auto answer = [](const std::vector<uint8_t>& values) {
        std::vector<uint8_t> bytes(8 + values.size());
        bytes[0] = bytes[4] = 1;
        std::copy(values.begin(), values.end(), bytes.begin() + 8);
        return bytes;
    };
    auto text = [&](uint32_t length) {  // a text of length units "aa"
        std::vector<uint8_t> field{2, uint8_t(length + 1), uint8_t((length + 1) >> 8), 0, 0};
        field.resize(field.size() + 2 * length, 'a');
        return answer(field);
    };
    EXPECT_TRUE(fails(answer({2, 100, 0, 0, 0, 'a', 0})));
    EXPECT_TRUE(fails(text(4097)));
    EXPECT_TRUE(fails(answer({6})));
    ASSERT_EQ(serve(text(4096), 100), 1);
    EXPECT_EQ(std::u16string_view(values[0].GetText()), std::u16string(4096, char16_t(0x6161)));
}
