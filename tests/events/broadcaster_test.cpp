// SPDX-License-Identifier: Apache-2.0
#include "ostrel/events/broadcaster.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder : CCBaseListener {
    std::vector<std::u16string> seen;
    bool OnEvent(const CCBaseEvent& event) override {
        if (event.GetId() == 1)
            seen.push_back(static_cast<const CCSheetRenameEvent&>(event).GetNewName());
        else
            seen.push_back(u"destroy");
        return true;
    }
};

}  // namespace

TEST(Events, CompareByIdAndClone) {
    CCSheetRenameEvent a(u"S1", u"S2"), b(u"X", u"Y");
    CCDestroySheetEvent d;
    EXPECT_TRUE(a.IsEqual(b));
    EXPECT_TRUE(a.IsEqual(&b));
    EXPECT_FALSE(a.IsEqual(d));
    EXPECT_FALSE(a.IsEqual(nullptr));
    auto clone = a.Clone();
    EXPECT_EQ(static_cast<CCSheetRenameEvent&>(*clone).GetOldName(), u"S1");
    EXPECT_EQ(CCBaseEvent::GetInstance(2).GetId(), 2u);
    EXPECT_EQ(CCBaseEvent::GetInstance(7).GetId(), 1u);  // any other id: the rename prototype
}

TEST(Broadcaster, RegistrationIsIdempotentAndOrdered) {
    CCBaseBroadcaster sheet;
    Recorder first, second;
    EXPECT_TRUE(sheet.RegisterListener(1u, &first));
    EXPECT_TRUE(sheet.RegisterListener(CCSheetRenameEvent(u"a", u"b"), &first));
    EXPECT_TRUE(sheet.RegisterListener(1u, &second));
    EXPECT_FALSE(sheet.RegisterListener(1u, nullptr));
    EXPECT_EQ(sheet.GetEventTable().GetListenersOf(CCSheetRenameEvent()).size(), 2u);

    sheet.FireEvent(CCSheetRenameEvent(u"old", u"new"));
    EXPECT_EQ(first.seen, std::vector<std::u16string>{u"new"});
    EXPECT_EQ(second.seen.size(), 1u);

    EXPECT_TRUE(sheet.UnRegisterListener(1u, &first));
    EXPECT_FALSE(sheet.UnRegisterListener(1u, &first));
    EXPECT_FALSE(sheet.UnRegisterListener(1u, nullptr));
    sheet.FireEvent(CCSheetRenameEvent(u"new", u"newer"));
    EXPECT_EQ(first.seen.size(), 1u);
    EXPECT_EQ(second.seen.size(), 2u);
    // Events nobody listens to do nothing; an unknown entry has an empty list.
    sheet.FireEvent(CCDestroySheetEvent());
    EXPECT_TRUE(sheet.GetEventTable().GetListenersOf(CCDestroySheetEvent()).empty());
}

TEST(Broadcaster, FrozenEventsAreDroppedNotDeferred) {
    CCBaseBroadcaster sheet;
    Recorder r;
    sheet.RegisterListener(2u, &r);
    EXPECT_EQ(sheet.FreezeEvents(1), 0);
    sheet.FireEvent(CCDestroySheetEvent());
    EXPECT_EQ(sheet.FreezeEvents(0), 1);
    EXPECT_TRUE(r.seen.empty());
    sheet.FireEvent(CCDestroySheetEvent());
    EXPECT_EQ(r.seen.size(), 1u);
}

TEST(Broadcaster, ListenerMayUnregisterDuringTheWalk) {
    CCBaseBroadcaster sheet;
    struct Leaver : Recorder {
        CCBaseBroadcaster* from = nullptr;
        CCBaseListener* alsoRemove = nullptr;
        bool OnEvent(const CCBaseEvent& event) override {
            Recorder::OnEvent(event);
            from->UnRegisterListener(this);
            if (alsoRemove) from->UnRegisterListener(alsoRemove);
            return true;
        }
    };
    Leaver a, b;
    Recorder c;
    a.from = b.from = &sheet;
    a.alsoRemove = &c;  // removed before its turn: must not be called
    sheet.RegisterListener(2u, &a);
    sheet.RegisterListener(2u, &b);
    sheet.RegisterListener(2u, &c);
    sheet.FireEvent(CCDestroySheetEvent());
    EXPECT_EQ(a.seen.size(), 1u);
    EXPECT_EQ(b.seen.size(), 1u);
    EXPECT_TRUE(c.seen.empty());
    EXPECT_TRUE(sheet.GetEventTable().GetListenersOf(CCDestroySheetEvent()).empty());
}

TEST(Broadcaster, UnregisterEverywhere) {
    CCBaseBroadcaster sheet;
    Recorder r;
    sheet.RegisterListener(1u, &r);
    sheet.RegisterListener(2u, &r);
    sheet.UnRegisterListener(&r);
    sheet.FireEvent(CCSheetRenameEvent(u"a", u"b"));
    sheet.FireEvent(CCDestroySheetEvent());
    EXPECT_TRUE(r.seen.empty());
}
