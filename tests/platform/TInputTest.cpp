#include <gtest/gtest.h>

#include <vector>

#include "platform/TEvent.h"
#include "platform/TInput.h"
#include "platform/TKeyMap.h"

namespace {

class InputTest : public testing::Test {
protected:
    void SetUp() override { TInput::Reset(); }
    void TearDown() override {
        TEventHooks::RemoveAllHooks();
        TInput::Reset();
    }
};

TEST_F(InputTest, KeyHitCountsAndResetsOnRead) {
    TInput::PostSystemEvent(EVENT_KEYDOWN, KEY_A);
    TInput::PostSystemEvent(EVENT_KEYUP, KEY_A);
    TInput::PostSystemEvent(EVENT_KEYDOWN, KEY_A);
    EXPECT_EQ(TInput::KeyHit(KEY_A), 2);
    EXPECT_EQ(TInput::KeyHit(KEY_A), 0);
    EXPECT_EQ(TInput::KeyHit(KEY_ESCAPE), 0);
    // Repeats are not new presses.
    TInput::PostSystemEvent(EVENT_KEYREPEAT, KEY_A);
    EXPECT_EQ(TInput::KeyHit(KEY_A), 0);
}

TEST_F(InputTest, KeyDownFollowsUpEvents) {
    EXPECT_EQ(TInput::KeyDown(KEY_LEFT), 0);
    TInput::PostSystemEvent(EVENT_KEYDOWN, KEY_LEFT);
    TInput::PostSystemEvent(EVENT_KEYDOWN, KEY_SHIFT);
    EXPECT_EQ(TInput::KeyDown(KEY_LEFT), 1);
    EXPECT_EQ(TInput::KeyHit(KEY_LEFT), 1);
    EXPECT_EQ(TInput::KeyDown(KEY_LEFT), 1) << "reading the hit leaves the key down";
    TInput::PostSystemEvent(EVENT_KEYUP, KEY_LEFT);
    EXPECT_EQ(TInput::KeyDown(KEY_LEFT), 0);
    EXPECT_EQ(TInput::KeyDown(KEY_SHIFT), 1);
    // Losing focus lets go of every key.
    TInput::PostSystemEvent(EVENT_APPSUSPEND);
    EXPECT_EQ(TInput::KeyDown(KEY_SHIFT), 0);
}

TEST_F(InputTest, OutOfRangeCodesAreIgnored) {
    for (int32_t bad : {0, -1, 256, 100000}) {
        TInput::PostSystemEvent(EVENT_KEYDOWN, bad);
        TInput::PostSystemEvent(EVENT_MOUSEDOWN, bad);
        EXPECT_EQ(TInput::KeyDown(bad), 0);
        EXPECT_EQ(TInput::KeyHit(bad), 0);
        EXPECT_EQ(TInput::MouseDown(bad), 0);
        EXPECT_EQ(TInput::MouseHit(bad), 0);
    }
    TInput::PostSystemEvent(EVENT_MOUSEDOWN, 6);
    EXPECT_EQ(TInput::MouseDown(6), 0);
}

TEST_F(InputTest, MouseButtonsPositionAndWheel) {
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, 120, 45);
    EXPECT_EQ(TInput::MouseX(), 120);
    EXPECT_EQ(TInput::MouseY(), 45);
    TInput::PostSystemEvent(EVENT_MOUSEDOWN, 1, 120, 45);
    TInput::PostSystemEvent(EVENT_MOUSEDOWN, 2, 120, 45);
    TInput::PostSystemEvent(EVENT_MOUSEUP, 2, 120, 45);
    EXPECT_EQ(TInput::MouseDown(1), 1);
    EXPECT_EQ(TInput::MouseDown(2), 0);
    EXPECT_EQ(TInput::MouseHit(1), 1);
    EXPECT_EQ(TInput::MouseHit(1), 0);
    EXPECT_EQ(TInput::MouseHit(2), 1);
    EXPECT_EQ(TInput::MouseHit(3), 0);
    TInput::PostSystemEvent(EVENT_MOUSEWHEEL, 1);
    TInput::PostSystemEvent(EVENT_MOUSEWHEEL, 2);
    TInput::PostSystemEvent(EVENT_MOUSEWHEEL, -1);
    EXPECT_EQ(TInput::MouseZ(), 2);
    EXPECT_EQ(TInput::MouseZ(), 2) << "the wheel is a position, not a hit";
    TInput::FlushMouse();
    EXPECT_EQ(TInput::MouseDown(1), 0);
}

TEST_F(InputTest, GetCharIsAQueue) {
    EXPECT_EQ(TInput::GetChar(), 0);
    TInput::PostSystemEvent(EVENT_KEYCHAR, 'a');
    TInput::PostSystemEvent(EVENT_KEYCHAR, 0xE4);
    TInput::PostSystemEvent(EVENT_KEYCHAR, 8);
    EXPECT_EQ(TInput::GetChar(), 'a');
    EXPECT_EQ(TInput::GetChar(), 0xE4);
    EXPECT_EQ(TInput::GetChar(), 8);
    EXPECT_EQ(TInput::GetChar(), 0);
}

TEST_F(InputTest, AppTerminateResetsOnRead) {
    EXPECT_EQ(TInput::AppTerminate(), 0);
    TInput::PostSystemEvent(EVENT_APPTERMINATE);
    TInput::PostSystemEvent(EVENT_APPTERMINATE);
    EXPECT_EQ(TInput::AppTerminate(), 1);
    EXPECT_EQ(TInput::AppTerminate(), 0);
}

TEST_F(InputTest, FlushKeysClearsKeysHitsAndCharacters) {
    TInput::PostSystemEvent(EVENT_KEYDOWN, KEY_ENTER);
    TInput::PostSystemEvent(EVENT_KEYCHAR, 13);
    TInput::PostSystemEvent(EVENT_MOUSEDOWN, 1);
    TInput::FlushKeys();
    EXPECT_EQ(TInput::KeyDown(KEY_ENTER), 0);
    EXPECT_EQ(TInput::KeyHit(KEY_ENTER), 0);
    EXPECT_EQ(TInput::GetChar(), 0);
    EXPECT_EQ(TInput::MouseHit(1), 1) << "the mouse is not a key";
}

struct Seen {
    std::vector<int32_t> ids;
    int32_t keyDownWhenSeen = -1;
};

TEvent* Watch(int32_t, TEvent* e, void* context) {
    auto* seen = static_cast<Seen*>(context);
    seen->ids.push_back(e->id);
    if (e->id == EVENT_KEYDOWN) seen->keyDownWhenSeen = TInput::KeyDown(e->data);
    return e;
}

TEST_F(InputTest, PostedEventsReachTheHooksAfterTheStateIsUpdated) {
    Seen seen;
    TEventHooks::AddHook(Watch, &seen);
    TInput::PostSystemEvent(EVENT_KEYDOWN, KEY_F1);
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, 1, 2);
    TInput::PostSystemEvent(EVENT_USER + 3);
    EXPECT_EQ(seen.ids, (std::vector<int32_t>{EVENT_KEYDOWN, EVENT_MOUSEMOVE, EVENT_USER + 3}));
    EXPECT_EQ(seen.keyDownWhenSeen, 1);
    // Without a window, polling only runs the timers and changes nothing.
    TInput::PollSystem();
    EXPECT_EQ(seen.ids.size(), 3u);
    EXPECT_EQ(TInput::KeyDown(KEY_F1), 1);
}

}  // namespace
