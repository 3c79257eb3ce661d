// SPDX-License-Identifier: Apache-2.0
#include "formats/string_field.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/names.h"
#include "support/archive_bytes.h"

using testing_support::Load;
using testing_support::Store;
using Bytes = std::vector<uint8_t>;

namespace {

// Reads one field back; "null" marks a null text.
std::u16string ReadBack(const Bytes& bytes, uint64_t* left = nullptr) {
    std::u16string result;
    Load(bytes, [&](CArchive& ar) {
        std::unique_ptr<char16_t[]> text(ReadString(nullptr, ar));
        result = text ? std::u16string(text.get()) : u"null";
        if (left) *left = ar.GetBytesLeft();
    });
    return result;
}

int Cause(const Bytes& bytes) {
    return testing_support::ArchiveCause([&] { ReadBack(bytes); });
}

Bytes Count(uint32_t count, size_t units) {
    Bytes b = {uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24)};
    for (size_t i = 0; i < units; ++i) {
        b.push_back('a');
        b.push_back(0);
    }
    return b;
}

}  // namespace

TEST(StringField, ExactBytes) {
    EXPECT_EQ(Store([](CArchive& ar) { WriteString(nullptr, ar, u"H\u00e9"); }),
              (Bytes{3, 0, 0, 0, 'H', 0, 0xE9, 0}));
    EXPECT_EQ(Store([](CArchive& ar) { WriteString(nullptr, ar, nullptr); }), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Store([](CArchive& ar) { WriteString(nullptr, ar, u""); }), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(ReadBack({3, 0, 0, 0, 'H', 0, 0xE9, 0}), u"H\u00e9");
    EXPECT_EQ(ReadBack({0, 0, 0, 0}), u"null");
    EXPECT_EQ(ReadBack({1, 0, 0, 0}), u"");
}

TEST(StringField, LongTextsAreCutWithoutSplittingACharacter) {
    std::u16string longText(5000, u'x');
    Bytes b = Store([&](CArchive& ar) { WriteString(nullptr, ar, longText.c_str()); });
    ASSERT_EQ(b.size(), 4u + 2 * 4096);
    EXPECT_EQ(b[0] | (b[1] << 8), 4097);
    EXPECT_EQ(ReadBack(b), longText.substr(0, 4096));

    std::u16string pair = std::u16string(4095, u'a') + u"\U0001F600" + u"tail";
    b = Store([&](CArchive& ar) { WriteString(nullptr, ar, pair.c_str()); });
    EXPECT_EQ(b[0] | (b[1] << 8), 4096);
    EXPECT_EQ(ReadBack(b), std::u16string(4095, u'a'));

    // A pair that ends exactly at the limit is kept whole.
    std::u16string fits = std::u16string(4094, u'a') + u"\U0001F600" + u"tail";
    b = Store([&](CArchive& ar) { WriteString(nullptr, ar, fits.c_str()); });
    EXPECT_EQ(ReadBack(b), fits.substr(0, 4096));
}

TEST(StringField, RefusesCountsTheStreamCannotHold) {
    EXPECT_EQ(Cause(Count(4097, 4096)), CArchiveException::none);
    EXPECT_EQ(Cause(Count(4098, 4097)), CArchiveException::badFormat);
    EXPECT_EQ(Cause(Count(0xFFFFFFFF, 8)), CArchiveException::badFormat);
    EXPECT_EQ(Cause(Count(10, 8)), CArchiveException::badFormat);
    EXPECT_EQ(Cause({5, 0}), CArchiveException::endOfFile);
    EXPECT_EQ(Cause({}), CArchiveException::endOfFile);

    uint64_t left = 99;
    Bytes two = Count(3, 2);
    two.push_back(0x42);
    EXPECT_EQ(ReadBack(two, &left), u"aa");
    EXPECT_EQ(left, 1u);
}
