#include <gtest/gtest.h>

#include <memory>

#include "platform/TClock.h"
#include "world/TTicker.h"
#include "world/TWaiter.h"

namespace {

class TickerTest : public testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<TManualClock>(10000);
        TClock::SetSource(clock);
    }
    void TearDown() override { TClock::SetSource(nullptr); }
    std::shared_ptr<TManualClock> clock;
};

TEST_F(TickerTest, GetHandsOutWholeTicksOnce) {
    auto t = TTicker::Create(25);
    EXPECT_EQ(t->FPS, 25);
    EXPECT_EQ(t->startms, 10000);
    EXPECT_EQ(t->Get(), 0);
    clock->Advance(120);
    EXPECT_EQ(t->Get(), 3);
    EXPECT_EQ(t->lastms, 10120);
    EXPECT_EQ(t->Get(), 0);
    // The partly passed fourth tick is not handed out early...
    clock->Advance(39);
    EXPECT_EQ(t->Get(), 0);
    EXPECT_EQ(t->lastms, 10120);
    // ...and is counted from the start, not from the last query.
    clock->Advance(1);
    EXPECT_EQ(t->Get(), 1);
    clock->Advance(1000);
    EXPECT_EQ(t->Get(), 25);
}

TEST_F(TickerTest, WholeTickBoundariesAreExact) {
    auto t = TTicker::Create(60);
    clock->Advance(999);
    EXPECT_EQ(t->Get(), 59);
    clock->Advance(1);
    EXPECT_EQ(t->Get(), 1);
    auto third = TTicker::Create(3);
    clock->Advance(1000);
    EXPECT_EQ(third->Get(), 3);
}

TEST_F(TickerTest, GetFCountsFractionsAndPeekChangesNothing) {
    auto t = TTicker::Create(60);
    clock->Advance(25);
    EXPECT_NEAR(t->GetF(1), 1.5f, 1e-5f);
    EXPECT_NEAR(t->GetF(1), 1.5f, 1e-5f);
    EXPECT_EQ(t->lasttick, 0);
    EXPECT_NEAR(t->GetF(0), 1.5f, 1e-5f);
    EXPECT_EQ(t->lastms, 10025);
    // Twice in the same millisecond: nothing new has passed.
    EXPECT_EQ(t->GetF(0), 0);
    EXPECT_EQ(t->GetF(1), 0);
    clock->Advance(10);
    EXPECT_NEAR(t->GetF(0), 0.6f, 1e-5f);
    // Peek reports the ticks since Reset, not since the last count.
    clock->Advance(15);
    EXPECT_NEAR(t->GetF(1), 3.0f, 1e-5f);
    // Get continues from the fractional count: tick 3 is whole, 2.1 were handed out.
    EXPECT_EQ(t->Get(), 0);
    EXPECT_EQ(t->lasttick, 3);
}

TEST_F(TickerTest, ResetRestartsTheCount) {
    auto t = TTicker::Create(10);
    clock->Advance(450);
    EXPECT_EQ(t->Get(), 4);
    clock->Advance(20);
    t->Reset();
    EXPECT_EQ(t->startms, 10470);
    EXPECT_EQ(t->lasttick, 0);
    EXPECT_EQ(t->lastms, 10450);  // kept from the last counted tick
    clock->Advance(99);
    EXPECT_EQ(t->Get(), 0);
    clock->Advance(1);
    EXPECT_EQ(t->Get(), 1);
}

TEST_F(TickerTest, SurvivesTheClockWrapping) {
    clock->now = 0xFFFFFF00u;
    auto t = TTicker::Create(25);
    clock->Advance(1000);
    EXPECT_EQ(t->Get(), 25);
    clock->now = 0x7FFFFF00u;  // the signed view turns negative here
    auto u = TTicker::Create(25);
    clock->Advance(1000);
    EXPECT_NEAR(u->GetF(1), 25.0f, 1e-4f);
}

TEST_F(TickerTest, RateOfZeroNeverTicks) {
    auto t = TTicker::Create(0);
    clock->Advance(100000);
    EXPECT_EQ(t->Get(), 0);
    EXPECT_EQ(t->GetF(0), 0);
    auto n = TTicker::Create(-5);
    clock->Advance(100000);
    EXPECT_EQ(n->Get(), 0);
}

TEST_F(TickerTest, WaiterCountsDownAndRestarts) {
    auto w = TWaiter::Create(100);
    EXPECT_EQ(w->Get(), -100);
    clock->Advance(60);
    EXPECT_EQ(w->Get(), -40);
    clock->Advance(40);
    EXPECT_EQ(w->Get(), 0);
    clock->Advance(25);
    EXPECT_EQ(w->Get(), 25);
    // -1 keeps the length and only restarts the wait.
    w->Reset(-1);
    EXPECT_EQ(w->waitms, 100);
    EXPECT_EQ(w->Get(), -100);
    w->Reset(30);
    EXPECT_EQ(w->waitms, 30);
    EXPECT_EQ(w->Get(), -30);
    clock->Advance(30);
    EXPECT_EQ(w->Get(), 0);
    w->Reset();
    EXPECT_EQ(w->Get(), -30);
}

TEST_F(TickerTest, WaiterSurvivesTheClockWrapping) {
    clock->now = 0xFFFFFFF0u;
    auto w = TWaiter::Create(50);
    clock->Advance(40);
    EXPECT_EQ(w->Get(), -10);
    clock->Advance(20);
    EXPECT_EQ(w->Get(), 10);
}

}  // namespace
