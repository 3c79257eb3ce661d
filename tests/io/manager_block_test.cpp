// SPDX-License-Identifier: Apache-2.0
// The cell manager's own archive block: protection, password and document items.
#include <gtest/gtest.h>

#include <vector>

#include "ostrel/engine/doc_item.h"
#include "ostrel/refs/document_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

using testing_support::Load;
using testing_support::Store;
using testing_support::TestSheet;

TEST(ManagerBlock, AnUnprotectedManagerWithoutItemsIsNineBytes) {
    TestSheet sheet;
    // i32 0; the framework string's UTF-16 tag (0xFF, u16 0xFFFE) and length byte 0; the end.
    EXPECT_EQ(Store([&](CArchive& ar) { sheet.Write(ar); }),
              (std::vector<uint8_t>{0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0, 0}));
}

TEST(ManagerBlock, AnItemTwoFormulasReadIsWrittenOnceAndReadsBackWithBoth) {
    const auto title = CCDocumentRef::ECDocRefType(13);
    TestSheet sheet;
    CCDocumentRef titleRef(title);
    const CCRCRef b1(1, 0), c1(2, 0);
    CCRef3D b1Qualified(sheet.GetCTX(), &b1), c1Qualified(sheet.GetCTX(), &c1);
    ASSERT_EQ(sheet.RegisterDocumentDependent(&titleRef, &b1Qualified), 1);
    ASSERT_EQ(sheet.RegisterDocumentDependent(&titleRef, &c1Qualified), 1);
    sheet.Protect(u"pw");

    const std::vector<uint8_t> bytes = Store([&](CArchive& ar) { sheet.Write(ar); });
    const std::vector<uint8_t> head = {1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 2, 'p', 0, 'w', 0};
    ASSERT_GT(bytes.size(), head.size() + 3);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(head.size())), head);
    // One presence byte, the reference type, the item block, the end byte.
    EXPECT_EQ(bytes[head.size()], 1);
    EXPECT_EQ(bytes[head.size() + 1], 13);
    const size_t itemLength = bytes[head.size() + 2] | bytes[head.size() + 3] << 8 |
                              bytes[head.size() + 4] << 16 | size_t(bytes[head.size() + 5]) << 24;
    EXPECT_EQ(bytes.size(), head.size() + 2 + 4 + itemLength + 1);
    EXPECT_EQ(bytes.back(), 0);

    TestSheet back;
    Load(bytes, [&](CArchive& ar) { back.Read(ar); });
    EXPECT_EQ(back.IsProtected(), 1);
    EXPECT_EQ(back.GetPassword(), u"pw");
    CCCellManager::CCDocItem* item = back.GetDocumentItem(title);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetDependentCount(), 2);
    EXPECT_EQ(Store([&](CArchive& ar) { back.Write(ar); }), bytes);
}

TEST(ManagerBlock, AMalformedBlockLeavesTheManagerAsItWas) {
    TestSheet sheet;
    sheet.Protect(u"kept");
    const std::vector<std::vector<uint8_t>> malformed = {
        {0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0, 2},                  // a presence byte of 2
        {0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0, 1, 13, 9, 0, 0, 0},  // an item longer than the block
        {0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 200, 'x', 0},           // a password longer than the block
        {1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0},                     // no end byte
    };
    for (const auto& bytes : malformed) {
        EXPECT_NE(testing_support::LoadCause(bytes, [&](CArchive& ar) { sheet.Read(ar); }),
                  CArchiveException::none);
        EXPECT_EQ(sheet.GetPassword(), u"kept");
    }
}
