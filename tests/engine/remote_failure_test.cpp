// SPDX-License-Identifier: Apache-2.0
// Requests to other documents that fail on the way: a request cut short in transit makes the
// serving document raise the archive exception, a host out of memory raises bad_alloc. The
// requesting document must come out as it went in: every session it opened closed, and no
// circularity check left half done.
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>

#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/file.h"
#include "ostrel/platform/utf.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"
#include "support/test_host.h"

using testing_support::TestSheet;

namespace {

// Carries request files to a peer document, as a host does, or fails as told.
struct Courier : TestSheet {
    using TestSheet::TestSheet;
    enum class Fault { none, cutShort, outOfMemory };
    CCCellManager* peer = nullptr;
    Fault fault = Fault::none;
    int DoTransport(const CCRemoteRef*, CFile* file) override {
        if (fault == Fault::outOfMemory) throw std::bad_alloc();
        if (fault == Fault::cutShort) file->SetLength(4);  // the request code only
        return peer ? peer->OnTransport(file) : 0;
    }
};

struct Pair {
    Pair() {
        InitBuiltinFunctions();
        a.peer = &b;
        // A1 of A is read by a formula of Budget, which learned of it remotely.
        a.RegisterDependent(&a1, &reader);
    }
    void Type(const CCRCRef& ref, std::u16string_view text) { a.SetCellText(&ref, text); }
    Courier a{u"A"}, b{u"Budget"};
    CCRCRef a1{0, 0};
    CCRemoteRef reader{u"Budget", u"C3"};
};

}  // namespace

TEST(RemoteFailure, RequestsAndFunctionsCloseTheirSessions) {
    Pair p;
    CCRemoteRef remote(u"Budget", u"C3");
    CCCellValue value;
    p.a.fault = Courier::Fault::cutShort;
    EXPECT_THROW(remote.GetValue(p.a.GetCTX(), &value), CArchiveException);
    EXPECT_EQ(p.a.openSessions, 0);
    p.a.fault = Courier::Fault::outOfMemory;
    EXPECT_THROW(remote.GetValue(p.a.GetCTX(), &value), std::bad_alloc);
    EXPECT_EQ(p.a.openSessions, 0);

    // A function routine runs in a session of its own, ended by its number.
    const char16_t* name = u"SUM";
    std::unique_ptr<CCFormula> sum(
        ConstructOpFormula(FindFunctionByName(name), new CCRefFormula(&remote, 0)));
    ASSERT_NE(sum, nullptr);
    EXPECT_THROW(sum->Eval(p.a.GetCTX(), value, &p.a1), std::bad_alloc);
    EXPECT_EQ(p.a.openSessions, 0);
}

TEST(RemoteFailure, RecalculatingRemoteDependentsClosesTheSession) {
    Pair p;
    p.Type(p.a1, u"5");
    p.a.fault = Courier::Fault::cutShort;
    // The idle slice hands Budget its dependent's recalculation, which fails in transit.
    EXPECT_THROW(p.a.DoIdle(1), CArchiveException);
    EXPECT_EQ(p.a.openSessions, 0);
}

TEST(RemoteFailure, AFailedCircularityCheckLeavesLaterChecksAlone) {
    Pair p;
    CCRCRef c1(2, 0);
    p.Type(c1, u"=A1*10");
    p.a.Settle();
    // A formula over a range may close a cycle: the check asks Budget, which is not reached.
    p.a.fault = Courier::Fault::cutShort;
    EXPECT_THROW(p.Type(p.a1, u"=SUM(B1:B2)"), CArchiveException);
    EXPECT_EQ(p.a.openSessions, 0);
    // The next formula of A1 is checked afresh, not taken for a cycle, and C1 follows it.
    p.a.fault = Courier::Fault::none;
    p.a.Settle();
    p.Type(p.a1, u"=SUM(B1:B2)+1");
    p.a.Settle();
    EXPECT_EQ(p.a.Shown(0, 0), "1");
    EXPECT_EQ(p.a.Shown(2, 0), "10");
    EXPECT_TRUE(p.a.messages.empty());
    EXPECT_EQ(p.a.openSessions, 0);
}
