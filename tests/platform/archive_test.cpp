// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/archive.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/names.h"
#include "support/archive_bytes.h"

using testing_support::ArchiveCause;
using testing_support::Load;
using testing_support::LoadCause;
using testing_support::Store;
using Bytes = std::vector<uint8_t>;

TEST(Archive, TypedValuesAreLittleEndian) {
    Bytes b = Store([](CArchive& ar) {
        ar << uint8_t(0x12) << uint16_t(0x3456) << int32_t(-2) << 1.0 << true << char16_t(u'A');
    });
    Bytes expected = {0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0,    0,
                      0,    0,    0,    0,    0xF0, 0x3F, 0x01, 0x41, 0x00};
    EXPECT_EQ(b, expected);
    Load(b, [](CArchive& ar) {
        uint8_t u8;
        uint16_t u16;
        int32_t i32;
        double d;
        bool flag;
        char16_t c;
        ar >> u8 >> u16 >> i32 >> d >> flag >> c;
        EXPECT_EQ(std::tuple(u8, u16, i32, d, flag, c, ar.GetBytesLeft()),
                  std::tuple(0x12, 0x3456, -2, 1.0, true, u'A', 0u));
    });
}

TEST(Archive, WrongDirectionAndShortReadsRaiseTheirCauses) {
    CMemFile file;
    CArchive storing(&file, CArchive::store);
    uint8_t v;
    EXPECT_EQ(ArchiveCause([&] { storing >> v; }), CArchiveException::writeOnly);
    EXPECT_EQ(LoadCause({1, 2, 3}, [](CArchive& loading) { loading << uint8_t(1); }),
              CArchiveException::readOnly);
    EXPECT_EQ(LoadCause({1, 2, 3},
                        [](CArchive& ar) {
                            uint32_t u32;
                            ar >> u32;
                        }),
              CArchiveException::endOfFile);
}

TEST(Archive, CountFormSwitchesWidthAtFFFF) {
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0xFFFE); }), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0xFFFF); }),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
    Load({0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00},
         [](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), 0x10000u); });
}

TEST(Archive, FrameworkStringForms) {
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCString(u""); }), (Bytes{0xFF, 0xFE, 0xFF, 0x00}));
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCString(u"ab"); }),
              (Bytes{0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b', 0}));
    // 255 units need the 16-bit length; 0xFFFE units the 32-bit one.
    Bytes b255 = Store([](CArchive& ar) { ar.WriteCString(std::u16string(255, u'x')); });
    EXPECT_EQ(Bytes(b255.begin(), b255.begin() + 6), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}));
    Bytes big = Store([](CArchive& ar) { ar.WriteCString(std::u16string(0xFFFE, u'y')); });
    EXPECT_EQ(Bytes(big.begin(), big.begin() + 10),
              (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    Load(b255, [](CArchive& ar) { EXPECT_EQ(ar.ReadCString(), std::u16string(255, u'x')); });
    Load(big, [](CArchive& ar) {
        EXPECT_EQ(ar.ReadCString(), std::u16string(0xFFFE, u'y'));
        EXPECT_EQ(ar.GetBytesLeft(), 0u);
    });
    // The untagged 8-bit form, in the 8-bit code page.
    Load({0x03, 'a', 0x80, 'c'}, [](CArchive& ar) { EXPECT_EQ(ar.ReadCString(), u"a\u20ACc"); });
}

TEST(Archive, StringLengthBeyondTheStreamIsRefusedBeforeAllocation) {
    auto read = [](CArchive& ar) { ar.ReadCString(); };
    EXPECT_EQ(LoadCause({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0}, read),
              CArchiveException::badFormat);
    // Two tags in a row are malformed, not a longer string.
    EXPECT_NE(LoadCause({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}, read), CArchiveException::none);
}

TEST(MemFile, GrowsSeeksAttachesAndDetaches) {
    CMemFile file(16);
    std::string text(100, 'z');
    file.Write(text.data(), text.size());
    EXPECT_EQ(file.GetLength(), 100u);
    EXPECT_GE(file.GetBufferSize(), 100u);
    file.Seek(-10, CFile::end);
    char buf[20];
    EXPECT_EQ(file.Read(buf, sizeof buf), 10u);
    EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
    // Writing past the end fills the gap with zeros.
    file.Seek(110, CFile::begin);
    file.Write("!", 1);
    EXPECT_EQ(file.GetLength(), 111u);
    EXPECT_EQ(file.Data()[105], 0);

    uint8_t* data = file.Detach();
    EXPECT_EQ(file.GetLength(), 0u);
    free(data);

    uint8_t fixed[4] = {1, 2, 3, 4};
    CMemFile attached(fixed, sizeof fixed);
    attached.Seek(0, CFile::end);
    EXPECT_THROW(attached.Write("x", 1), CFileException);  // no growth step: cannot grow
}

TEST(DiskFile, WritesAndReadsBack) {
    std::string path = testing::TempDir() + "ostrel-disk-file.bin";
    {
        CDiskFile file;
        ASSERT_TRUE(file.Open(path, CDiskFile::modeCreate | CDiskFile::modeWrite));
        CArchive ar(&file, CArchive::store);
        ar << uint32_t(42);
        ar.WriteCString(u"disk");
        ar.Flush();
    }
    CDiskFile file;
    ASSERT_TRUE(file.Open(path, CDiskFile::modeRead));
    CArchive ar(&file, CArchive::load);
    uint32_t v;
    ar >> v;
    EXPECT_EQ(v, 42u);
    EXPECT_EQ(ar.ReadCString(), u"disk");
    EXPECT_EQ(ar.GetBytesLeft(), 0u);
    CDiskFile missing;
    EXPECT_FALSE(missing.Open(path + ".missing", CDiskFile::modeRead));
}
