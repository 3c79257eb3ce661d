// SPDX-License-Identifier: Apache-2.0
// Several sheets of one family: sheet-qualified references reach the others, and the
// remote protocol carries requests from one document to another.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/file.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

using testing_support::Store;
using testing_support::TestSheet;

namespace {

struct Family {
    TestSheet s1{u"Sheet1"}, s2{u"Sheet2"}, s3{u"Sheet3"};
    std::vector<TestSheet*> members{&s1, &s2, &s3};
    Family() {
        double x = 1;
        for (TestSheet* s : members) {
            s->Join(&members);
            s->SetNumber(0, 0, x++);
            s->SetNumber(0, 1, x++);
        }
    }
};

}  // namespace

TEST(Sheets, ValuesAndIterationAcrossASpan) {
    Family f;
    CCRef3D one(2, 0, new CCRCRef(0, 1));
    CCCellValue v;
    EXPECT_EQ(one.GetValue(f.s1.GetCTX(), &v), 1);
    EXPECT_EQ(v.GetNumber(), 4);
    EXPECT_TRUE(one.IsSingleValue(f.s1.GetCTX()));
    CCRef3D gone(9, 0, new CCRCRef(0, 0));
    EXPECT_EQ(gone.GetValue(f.s1.GetCTX(), &v), 1);
    EXPECT_EQ(std::u16string(v.GetText()), u" ");

    CCRef3D span(1, 3, new CCRegionRef(0, 0, 0, 1));
    EXPECT_FALSE(span.IsSingleValue(f.s1.GetCTX()));
    uint16_t handle = span.OpenRef(f.s1.GetCTX());
    ASSERT_NE(handle, 0);
    std::vector<double> seen;
    while (span.NextValue(f.s1.GetCTX(), handle, &v))
        seen.push_back(v.GetNumber());
    span.CloseRef(f.s1.GetCTX(), handle);
    EXPECT_EQ(seen, (std::vector<double>{1, 2, 3, 4, 5, 6}));

    CCRefList* list = span.TranslateToRefList(f.s1.GetCTX());
    ASSERT_EQ(RefListCount(list), 3u);
    EXPECT_EQ(static_cast<CCRef3D*>(list->m_pRef)->GetKey(), f.s3.GetIdentity());
    RefListFree(list, 1);
}

TEST(Sheets, RegistrationRecordsTheDependentsSheet) {
    Family f;
    CCRef3D onSheet2(2, 0, new CCRCRef(0, 0));
    CCRCRef b1(1, 0);
    EXPECT_EQ(onSheet2.RegisterDependent(f.s1.GetCTX(), &b1), 1);
    CCRCRef a1(0, 0);
    CCRefList* deps = f.s2.LoadDependencies(&a1);
    ASSERT_EQ(RefListCount(deps), 1u);
    auto* dep = static_cast<const CCRef3D*>(deps->m_pRef);
    EXPECT_EQ(dep->GetKey(), f.s1.GetIdentity());
    RefListFree(deps, 0);
    EXPECT_EQ(onSheet2.UnRegisterDependent(f.s1.GetCTX(), &b1), 1);
    EXPECT_EQ(f.s2.Cell(0, 0)->GetDependentCount(), 0);
    CCRef3D noInner(2);
    EXPECT_EQ(noInner.RegisterDependent(f.s1.GetCTX(), &b1), 0);
    EXPECT_EQ(noInner.RegisterDependent(f.s1.GetCTX(), nullptr), 1);
}

TEST(Sheets, StreamsNameSheetsByIndex) {
    Family f;
    CCRef3D byManager(f.s1.GetCTX(), static_cast<const CCRef*>(nullptr));
    byManager.SetKey(f.s3.GetIdentity());
    byManager.SetInnerRef(new CCRCRef(0, 0));
    auto bytes = Store([&](CArchive& ar) { WriteRef(f.s1.GetCTX(), ar, &byManager); });
    EXPECT_EQ(bytes, (std::vector<uint8_t>{6, 1, 0, 0, 0, 3, 0, 3, 0, 1, 0, 0, 0}));
}

namespace {

// Carries request files between two documents, as a host does.
struct Linked : TestSheet {
    using TestSheet::TestSheet;
    CCCellManager* peer = nullptr;
    int deliveries = 0;
    int DoTransport(const CCRemoteRef*, CFile* file) override {
        ++deliveries;
        return peer ? peer->OnTransport(file) : 0;
    }
};

}  // namespace

TEST(Remote, RequestsTravelAndAreServed) {
    Linked a{u"A"}, b{u"Budget"};
    a.peer = &b;
    b.SetNumber(2, 2, 12.5);
    CCRCRef c3(2, 2);

    CCRemoteRef remote(u"Budget", u"C3");
    CCCellValue got;
    EXPECT_EQ(remote.GetValue(a.GetCTX(), &got), 1);
    EXPECT_EQ(a.deliveries, 1);
    EXPECT_EQ(got.GetNumber(), 12.5);
    // Ranges open remotely and are read value by value through the serving document.
    CCRemoteRef range(u"budget", u"C3:D3");
    uint16_t handle = range.OpenRef(a.GetCTX());
    ASSERT_NE(handle, 0);
    CSize size;
    EXPECT_EQ(range.RefSize(a.GetCTX(), handle, &size), 1);
    EXPECT_EQ(size, CSize(2, 1));
    std::vector<double> values;
    while (range.NextValue(a.GetCTX(), handle, &got))
        values.push_back(got.GetNumber());
    EXPECT_EQ(values, (std::vector<double>{12.5, 0}));
    EXPECT_EQ(range.CloseRef(a.GetCTX(), handle), 1);
    // A reference the other document cannot read, or a document it is not, answers 0.
    CCRemoteRef nonsense(u"Budget", u"C3 and more");
    EXPECT_EQ(nonsense.GetValue(a.GetCTX(), &got), 0);
    CCRemoteRef elsewhere(u"Other", u"C3");
    EXPECT_EQ(elsewhere.GetValue(a.GetCTX(), &got), 0);
    // Dependents registered remotely arrive as remote references on the served cell.
    CCRCRef mine(0, 0);
    EXPECT_EQ(a.DoRemoteRegisterDependent(&remote, &mine), 1);
    CCRefList* deps = b.LoadDependencies(&c3);
    ASSERT_EQ(RefListCount(deps), 1u);
    EXPECT_EQ(deps->m_pRef->GetType(), REF_TYPE_REMOTE);
    RefListFree(deps, 0);

    // A request to a document that is not there is not delivered: 0, output untouched.
    Linked lonely{u"L"};
    CCCellValue untouched(7);
    EXPECT_EQ(remote.GetValue(lonely.GetCTX(), &untouched), 0);
    EXPECT_EQ(untouched.GetError(), 7);
    CSize kept(5, 5);
    EXPECT_EQ(lonely.DoRemoteRefSize(&remote, 1, &kept), 0);
    EXPECT_EQ(kept, CSize(5, 5));
}

TEST(Remote, RejectedFunctionsLeaveTheFileAsReceived) {
    struct Refusing : TestSheet {
        int IsFunctionAvailable(unsigned long) override { return 0; }
    } server;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << uint32_t(2);
        CCRemoteRef(u"x", u"A1").Write(nullptr, ar);
        ar << uint32_t(0);
    }
    std::vector<uint8_t> before(file.Data(), file.Data() + file.GetLength());
    EXPECT_EQ(server.OnTransport(&file), 0);
    EXPECT_EQ(std::vector<uint8_t>(file.Data(), file.Data() + file.GetLength()), before);
}
