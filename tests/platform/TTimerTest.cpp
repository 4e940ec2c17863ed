#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/TClock.h"
#include "platform/TEvent.h"
#include "platform/TTimer.h"

namespace {

class TimerTest : public testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<TManualClock>(5000);
        TClock::SetSource(clock);
    }
    void TearDown() override {
        TEventHooks::RemoveAllHooks();
        TClock::SetSource(nullptr);
    }
    std::shared_ptr<TManualClock> clock;
};

TEST_F(TimerTest, MillisecsFollowTheInstalledClock) {
    EXPECT_EQ(Millisecs(), 5000);
    clock->Advance(250);
    EXPECT_EQ(Millisecs(), 5250);
    Delay(50);
    EXPECT_EQ(Millisecs(), 5300);
    Delay(-10);
    EXPECT_EQ(Millisecs(), 5300);
    // The signed view of the 32-bit counter.
    clock->now = 0xFFFFFFFFu;
    EXPECT_EQ(Millisecs(), -1);
    // SetSource hands back the clock it replaces.
    auto other = std::make_shared<TManualClock>(7);
    EXPECT_EQ(TClock::SetSource(other), clock);
    EXPECT_EQ(Millisecs(), 7);
}

TEST_F(TimerTest, CreateRefusesRatesOfZeroOrLess) {
    EXPECT_FALSE(TTimer::Create(0));
    EXPECT_FALSE(TTimer::Create(-60));
    EXPECT_TRUE(TTimer::Create(0.5f));
}

TEST_F(TimerTest, TicksCountFromCreation) {
    auto t = TTimer::Create(60);
    EXPECT_EQ(t->Ticks(), 0);
    clock->Advance(16);
    EXPECT_EQ(t->Ticks(), 0);
    clock->Advance(1);
    EXPECT_EQ(t->Ticks(), 1);
    clock->Advance(983);
    EXPECT_EQ(t->Ticks(), 60);
    auto slow = TTimer::Create(4);
    clock->Advance(999);
    EXPECT_EQ(slow->Ticks(), 3);
    EXPECT_EQ(t->Ticks(), 119);
}

TEST_F(TimerTest, TicksSurviveTheClockWrapping) {
    clock->now = 0xFFFFFF00u;
    auto t = TTimer::Create(50);
    clock->Advance(1000);
    EXPECT_EQ(t->Ticks(), 50);
}

TEST_F(TimerTest, WaitSleepsJustToTheNextTick) {
    auto t = TTimer::Create(60);
    EXPECT_EQ(t->Wait(), 1);
    EXPECT_EQ(clock->now, 5017u);  // tick 1 is due at 16.7 ms
    EXPECT_EQ(t->Wait(), 1);
    EXPECT_EQ(clock->now, 5034u);
    EXPECT_EQ(t->Wait(), 1);
    EXPECT_EQ(clock->now, 5050u);
    // After a long pause Wait returns at once with the ticks missed.
    clock->Advance(500);
    EXPECT_EQ(t->Wait(), 30);
    EXPECT_EQ(clock->now, 5550u);
    EXPECT_EQ(t->Wait(), 1);
}

TEST_F(TimerTest, StopFreezesTheTicks) {
    auto t = TTimer::Create(10);
    clock->Advance(350);
    t->Stop();
    EXPECT_EQ(t->Ticks(), 3);
    clock->Advance(10000);
    EXPECT_EQ(t->Ticks(), 3);
    EXPECT_EQ(t->Wait(), 0);
    t->Stop();
    EXPECT_EQ(t->Ticks(), 3);
}

struct TickLog {
    std::vector<std::pair<void*, int32_t>> ticks;
    std::vector<int32_t> mods;
};

TEvent* RecordTick(int32_t, TEvent* e, void* context) {
    if (e->id == EVENT_TIMERTICK) {
        static_cast<TickLog*>(context)->ticks.push_back({e->source, e->data});
        static_cast<TickLog*>(context)->mods.push_back(e->mods);
    }
    return e;
}

TEST_F(TimerTest, TicksReachTheHooksOncePerChange) {
    TickLog log;
    TEventHooks::AddHook(RecordTick, &log);
    auto t = TTimer::Create(10, TEvent::Create(EVENT_USER + 5, nullptr, 0, 42));
    TTimer::EmitTicks();
    EXPECT_TRUE(log.ticks.empty());
    clock->Advance(100);
    TTimer::EmitTicks();
    TTimer::EmitTicks();
    clock->Advance(250);
    TTimer::EmitTicks();
    ASSERT_EQ(log.ticks.size(), 2u);
    EXPECT_EQ(log.ticks[0].first, t.get());
    EXPECT_EQ(log.ticks[0].second, 1);
    EXPECT_EQ(log.ticks[1].second, 3);
    EXPECT_EQ(log.mods[0], 42);  // fields of the timer's own event are carried along
    // Stopped and destroyed timers are silent.
    t->Stop();
    clock->Advance(1000);
    TTimer::EmitTicks();
    EXPECT_EQ(log.ticks.size(), 2u);
    auto other = TTimer::Create(10);
    other.reset();
    clock->Advance(1000);
    TTimer::EmitTicks();
    EXPECT_EQ(log.ticks.size(), 2u);
}

}  // namespace

namespace {

struct Dropper {
    std::shared_ptr<TTimer> victim;
    int32_t ticks = 0;
};

TEvent* DropOther(int32_t, TEvent* e, void* context) {
    auto* d = static_cast<Dropper*>(context);
    if (e->id == EVENT_TIMERTICK) {
        ++d->ticks;
        d->victim.reset();
    }
    return e;
}

TEST_F(TimerTest, HookDestroyingAnotherTimerDuringTicksIsSafe) {
    Dropper d;
    auto first = TTimer::Create(10);
    d.victim = TTimer::Create(10);
    TEventHooks::AddHook(DropOther, &d);
    clock->Advance(100);
    TTimer::EmitTicks();
    EXPECT_FALSE(d.victim);
    EXPECT_EQ(d.ticks, 1) << "a timer destroyed during the walk sends nothing";
    clock->Advance(100);
    TTimer::EmitTicks();
    EXPECT_EQ(d.ticks, 2);
}

}  // namespace
