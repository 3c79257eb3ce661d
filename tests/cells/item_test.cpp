// SPDX-License-Identifier: Apache-2.0
#include "ostrel/cells/item.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "ostrel/platform/archive.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/region_ref.h"
#include "platform/names.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

using testing_support::Load;
using testing_support::Store;
using testing_support::TestCell;
using testing_support::TestSheet;

namespace {

std::vector<const CCRef*> Inners(CCRefList* list) {
    std::vector<const CCRef*> out;
    for (; list; list = list->m_pNext)
        out.push_back(static_cast<const CCRef3D*>(list->m_pRef)->GetInnerRef());
    return out;
}

// Registers "column reads row/column of the item": cell (c, r) depends on the item.
void Reads(TestSheet& sheet, unsigned char c, uint16_t r, unsigned char pc, uint16_t pr) {
    CCRCRef dependent(c, r), precedent(pc, pr);
    ASSERT_EQ(sheet.RegisterDependent(&precedent, &dependent), 1);
}

// An item, the cell A1 of a sheet.
class Item : public ::testing::Test {
protected:
    TestSheet sheet;
    cells::CTX* ctx = sheet.GetCTX();
    TestCell* item = sheet.Cell(0, 0);
};

}  // namespace

TEST_F(Item, DependentsMostRecentFirstAndOnce) {
    CCRCRef x(1, 0), y(2, 0), z(3, 0);
    for (const CCRCRef* ref : {&x, &y, &z, &y})  // y twice: one entry
        EXPECT_EQ(item->RegisterDependent(ctx, ref), 1);
    EXPECT_EQ(item->GetDependentCount(), 3);
    CCRefList* list = item->LoadDependents(ctx);
    auto inner = Inners(list);
    ASSERT_EQ(inner.size(), 3u);
    EXPECT_TRUE(inner[0]->IsEqual(&z));
    EXPECT_TRUE(inner[2]->IsEqual(&x));
    RefListFree(list, 0);

    // Removing the last dependent leaves the item empty, packed block included.
    CCRef3D qx(ctx, &x), qy(ctx, &y), qz(ctx, &z);
    item->UnRegisterDependent(ctx, &qx);
    item->UnRegisterDependent(ctx, &qy);
    Store([&](CArchive& ar) { item->CCItem::Write(ctx, ar); });  // packs
    item->UnRegisterDependent(ctx, &qz);
    EXPECT_TRUE(item->CCItem::IsEmpty());
    EXPECT_EQ(item->GetDependents(), nullptr);
}

TEST_F(Item, ManyDependentsStayFastAndExact) {
    for (uint16_t r = 1; r <= 3000; ++r) {
        CCRCRef dep(1, r);
        item->RegisterDependent(ctx, &dep);
        item->RegisterDependent(ctx, &dep);
    }
    EXPECT_EQ(item->GetDependentCount(), 3000);
    CCRCRef middle(1, 1500);
    CCRef3D q(ctx, &middle);
    EXPECT_EQ(item->HasDependentsRef(ctx, &q), 1499);
    item->UnRegisterDependent(ctx, &q);
    CCRCRef after(1, 1501);
    CCRef3D qa(ctx, &after);
    EXPECT_EQ(std::tuple(item->HasDependentsRef(ctx, &q), item->HasDependentsRef(ctx, &qa)),
              std::tuple(-1, 1499));
}

// Cells of a sheet are kept packed, anything else as objects: the two kinds keep one order,
// each is found only by what equals it, and a packed one comes back as the reference it was.
TEST_F(Item, PackedAndObjectDependentsKeepOneOrder) {
    CCRCRef b1(1, 0), c1(2, 0);
    CCRef3D byIndex(3, 0, new CCRCRef(1, 0));  // B1 of the sheet at index 3: no identity
    CCRef3D region(ctx, static_cast<const CCRef*>(nullptr));
    region.SetInnerRef(new CCRegionRef(1, 0, 1, 0));  // B1:B1 of this sheet
    item->RegisterDependent(ctx, &b1);
    item->RegisterDependent(ctx, &byIndex);
    item->RegisterDependent(ctx, &region);
    item->RegisterDependent(ctx, &c1);
    EXPECT_EQ(item->GetDependentCount(), 4);  // alike in place, different in kind

    CCRef3D qb(ctx, &b1), qc(ctx, &c1);
    EXPECT_EQ(std::tuple(item->HasDependentsRef(ctx, &qb), item->HasDependentsRef(ctx, &byIndex),
                         item->HasDependentsRef(ctx, &region), item->HasDependentsRef(ctx, &qc)),
              std::tuple(0, 1, 2, 3));
    item->UnRegisterDependent(ctx, &byIndex);
    CCRefList* list = item->LoadDependents(ctx);
    std::vector<const CCRef*> refs;
    for (CCRefList* node = list; node; node = node->m_pNext)
        refs.push_back(node->m_pRef);
    ASSERT_EQ(refs.size(), 3u);
    EXPECT_TRUE(refs[0]->IsEqual(&qc));
    EXPECT_TRUE(refs[1]->IsEqual(&region));
    EXPECT_TRUE(refs[2]->IsEqual(&qb));
    EXPECT_EQ(refs[2]->Hash(), qb.Hash());
    // Visited without a list, in the list's order.
    size_t visited = 0;
    item->ForEachDependent(ctx, [&](const CCRef* ref) {
        EXPECT_TRUE(visited < refs.size() && ref->IsEqual(refs[visited])) << visited;
        ++visited;
    });
    EXPECT_EQ(visited, refs.size());
    RefListFree(list, 0);

    // A packed dependent moved to a region, and back.
    item->UpdateDependent(ctx, &c1, region.GetInnerRef());
    EXPECT_EQ(std::tuple(item->GetDependentCount(), item->HasDependentsRef(ctx, &qc)),
              std::tuple(2, -1));
    item->UpdateDependent(ctx, region.GetInnerRef(), &c1);
    EXPECT_EQ(item->HasDependentsRef(ctx, &qc), 1);
}

TEST_F(Item, WriteReadRoundTripKeepsDependentsUsable) {
    std::vector<TestSheet*> family{&sheet};
    sheet.Join(&family);
    CCRCRef b1(1, 0), c1(2, 0);
    item->RegisterDependent(ctx, &b1);
    item->RegisterDependent(ctx, &c1);
    auto bytes = Store([&](CArchive& ar) { item->CCItem::Write(ctx, ar); });
    // u32 length, then twice 6 (u32 1, u16 index, u16 index, 1, col, u16 row), then 0.
    EXPECT_EQ(bytes.size(), 4u + 2 * 13 + 1);
    TestCell copy(5, 5);
    Load(bytes, [&](CArchive& ar) { copy.CCItem::Read(ctx, ar); });
    // Unpacked at once.
    EXPECT_EQ(std::tuple(copy.GetDependentCount(), copy.GetDependents()), std::tuple(2, nullptr));
    // Streamed sheet indexes became this sheet's identity again: the plain registration
    // form finds them, so a reloaded formula can unregister.
    CCRef3D q(ctx, &b1);
    EXPECT_GE(copy.HasDependentsRef(ctx, &q), 0);

    // A length beyond the stream is refused before anything is allocated.
    Load({0xFF, 0xFF, 0xFF, 0x7F, 1, 2},
         [&](CArchive& ar) { EXPECT_THROW(copy.CCItem::Read(ctx, ar), CArchiveException); });
    EXPECT_TRUE(copy.CCItem::IsEmpty());
}

TEST_F(Item, CopiesTakeTheAuthoritativeForm) {
    CCRCRef b1(1, 0);
    item->RegisterDependent(ctx, &b1);
    TestCell copy(*item);
    EXPECT_EQ(copy.GetDependentCount(), 1);
    CCRef3D q(ctx, &b1);
    EXPECT_GE(copy.HasDependentsRef(ctx, &q), 0);

    // A lone dependent is stored and read back like any other, and goes when unregistered.
    std::vector<TestSheet*> family{&sheet};
    sheet.Join(&family);
    auto bytes = Store([&](CArchive& ar) { copy.CCItem::Write(ctx, ar); });
    TestCell back(5, 5);
    Load(bytes, [&](CArchive& ar) { back.CCItem::Read(ctx, ar); });
    EXPECT_EQ(std::tuple(back.GetDependentCount(), back.HasDependentsRef(ctx, &q)),
              std::tuple(1, 0));
    item->UnRegisterDependent(ctx, &q);
    EXPECT_TRUE(item->CCItem::IsEmpty());
}

TEST_F(Item, UpdateDependentNeverDuplicates) {
    CCRCRef b1(1, 0), c1(2, 0), d1(3, 0);
    item->RegisterDependent(ctx, &b1);
    item->RegisterDependent(ctx, &c1);
    item->UpdateDependent(ctx, &b1, &c1);  // c1 already there: b1 simply goes
    EXPECT_EQ(item->GetDependentCount(), 1);
    item->UpdateDependent(ctx, &c1, &d1);
    CCRef3D qd(ctx, &d1);
    EXPECT_EQ(item->HasDependentsRef(ctx, &qd), 0);
    item->UpdateDependent(ctx, &b1, &b1);  // not found: registers
    EXPECT_EQ(item->GetDependentCount(), 2);
}

TEST_F(Item, ProtectedHiddenItemsRefuseNewDependents) {
    CCCellFormat hidden;
    hidden.SetHide(1);
    item->SetFormat(ctx, hidden);
    sheet.Protect(u"");
    CCRCRef b1(1, 0);
    EXPECT_EQ(item->RegisterDependent(ctx, &b1), 0);
    EXPECT_EQ(sheet.messages, std::vector<unsigned>{13037});
}

TEST_F(Item, CircularityFollowsChainsAndEnds) {
    // A1 reads itself.
    Reads(sheet, 0, 0, 0, 0);
    EXPECT_EQ(sheet.Cell(0, 0)->IsCirc(ctx), 1);
    // B1 reads B2, B2 reads B3: no cycle anywhere.
    Reads(sheet, 1, 0, 1, 1);
    Reads(sheet, 1, 1, 1, 2);
    for (uint16_t r = 0; r < 3; ++r)
        EXPECT_EQ(sheet.Cell(1, r)->IsCirc(ctx), 0) << r;
    // C1 -> C2 -> C3 -> C1.
    Reads(sheet, 2, 1, 2, 0);
    Reads(sheet, 2, 2, 2, 1);
    Reads(sheet, 2, 0, 2, 2);
    EXPECT_EQ(sheet.Cell(2, 0)->IsCirc(ctx), 1);
    // A diamond that also loops among its branches ends (each cell examined once).
    for (auto [dependent, precedent] : {std::pair{1, 0}, {2, 0}, {3, 1}, {3, 2}, {1, 2}, {2, 1}})
        Reads(sheet, 4, uint16_t(dependent), 4, uint16_t(precedent));
    EXPECT_EQ(sheet.Cell(4, 0)->IsCirc(ctx), 0);
}

TEST_F(Item, InvalidationWalksACopy) {
    // Each dependent's invalidation unregisters from the array being walked.
    struct Unregistering : TestSheet {
        TestCell* target = Cell(0, 0);
        int InvalidateRef(const CCRef* ref, const CCRef* invalidated) override {
            ++calls;
            target->UnRegisterDependent(GetCTX(), ref);
            return TestSheet::InvalidateRef(ref, invalidated);
        }
        int calls = 0;
    } walked;
    for (unsigned char c = 1; c <= 5; ++c) {
        CCRCRef dep(c, 0);
        walked.target->RegisterDependent(walked.GetCTX(), &dep);
    }
    walked.target->InvalidateDependents(walked.GetCTX());
    EXPECT_EQ(walked.calls, 5);
    EXPECT_EQ(walked.target->GetDependentCount(), 0);
}

TEST(ItemList, FindRemoveFree) {
    SCItemList* list = nullptr;
    ItemListAdd(list, new TestCell(0, 0));
    ItemListAdd(list, new TestCell(1, 0));
    CCRCRef b1(1, 0), z9(25, 8);
    EXPECT_NE(ItemListFind(list, &b1), nullptr);
    EXPECT_EQ(ItemListFind(list, &z9), nullptr);
    ItemListRemove(list, &b1);
    EXPECT_EQ(ItemListFind(list, &b1), nullptr);
    ItemListRemove(list, &z9);
    ItemListFree(list, 1);
}
