#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TEvent.h"

namespace {

struct Log {
    std::vector<std::string> calls;
};

struct Hook {
    std::string name;
    Log* log;
    bool stop = false;
    bool removeSelf = false;
};

TEvent* Record(int32_t, TEvent* e, void* context) {
    auto* h = static_cast<Hook*>(context);
    h->log->calls.push_back(h->name);
    if (h->removeSelf) TEventHooks::RemoveHook(Record, h);
    return h->stop ? nullptr : e;
}

class EventTest : public testing::Test {
protected:
    void TearDown() override { TEventHooks::RemoveAllHooks(); }
    std::vector<std::string> Emit() {
        log.calls.clear();
        TEvent e;
        e.id = EVENT_USER + 1;
        TEventHooks::EmitEvent(&e);
        return log.calls;
    }
    Log log;
};

TEST_F(EventTest, HigherPrioritiesFirstEqualOnesInOrderOfRegistration) {
    Hook a{"a", &log}, b{"b", &log}, c{"c", &log}, d{"d", &log}, e{"e", &log};
    TEventHooks::AddHook(Record, &a, 0);
    TEventHooks::AddHook(Record, &b, 5);
    TEventHooks::AddHook(Record, &c, 0);
    TEventHooks::AddHook(Record, &d, 10);
    TEventHooks::AddHook(Record, &e, 5);
    EXPECT_EQ(Emit(), (std::vector<std::string>{"d", "b", "e", "a", "c"}));
    Hook low{"low", &log};
    TEventHooks::AddHook(Record, &low, -3);
    EXPECT_EQ(Emit().back(), "low");
}

TEST_F(EventTest, NullFromAHookStopsTheEvent) {
    Hook a{"a", &log}, b{"b", &log, true}, c{"c", &log};
    TEventHooks::AddHook(Record, &a, 3);
    TEventHooks::AddHook(Record, &b, 2);
    TEventHooks::AddHook(Record, &c, 1);
    TEvent ev;
    ev.id = EVENT_USER;
    EXPECT_EQ(TEventHooks::EmitEvent(&ev), nullptr);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"a", "b"}));
    b.stop = false;
    EXPECT_EQ(TEventHooks::EmitEvent(&ev), &ev);
}

TEST_F(EventTest, RemoveHookMatchesFunctionAndContext) {
    Hook a{"a", &log}, b{"b", &log};
    TEventHooks::AddHook(Record, &a);
    TEventHooks::AddHook(Record, &b);
    TEventHooks::RemoveHook(Record, &a);
    EXPECT_EQ(Emit(), (std::vector<std::string>{"b"}));
    TEventHooks::RemoveHook(Record, &a);  // absent: nothing happens
    TEventHooks::RemoveHook(Record, &b);
    EXPECT_TRUE(Emit().empty());
}

TEST_F(EventTest, HookRemovingItselfDuringEmissionDoesNotBreakTheWalk) {
    Hook a{"a", &log}, b{"b", &log}, c{"c", &log};
    b.removeSelf = true;
    TEventHooks::AddHook(Record, &a);
    TEventHooks::AddHook(Record, &b);
    TEventHooks::AddHook(Record, &c);
    EXPECT_EQ(Emit(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Emit(), (std::vector<std::string>{"a", "c"}));
    a.removeSelf = c.removeSelf = true;
    EXPECT_EQ(Emit(), (std::vector<std::string>{"a", "c"}));
    EXPECT_TRUE(Emit().empty());
}

}  // namespace
