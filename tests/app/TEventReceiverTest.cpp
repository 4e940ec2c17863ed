#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TEventReceiver.h"
#include "framework/TMultiTouch.h"
#include "framework/TWndProcCallback.h"
#include "platform/TEvent.h"
#include "platform/TGraphics.h"
#include "platform/TInput.h"

namespace {

struct TLog {
    std::vector<std::string> calls;
};

int32_t LogF1(void* game) {
    static_cast<TLog*>(game)->calls.push_back("F1");
    return 1;
}
int32_t LogLeft(void* game) {
    static_cast<TLog*>(game)->calls.push_back("left");
    return 1;
}
int32_t LogA(void* game) {
    static_cast<TLog*>(game)->calls.push_back("A");
    return 1;
}

class EventReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        TEventHooks::RemoveAllHooks();
        TInput::Reset();
        event = TEventReceiver::Create();
        event->Update();
    }
    void TearDown() override {
        event.reset();
        vesko::TMultiTouch::Deinit();
        vesko::TWndProcCallback::Deinit();
        TEventHooks::RemoveAllHooks();
    }
    std::shared_ptr<TEventReceiver> event;
    TLog log;
};

TEST_F(EventReceiverTest, KeepsItsValuesWithoutEvents) {
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, 30, 40);
    TInput::PostSystemEvent(EVENT_MOUSEWHEEL, 2, 30, 40);
    event->Update();
    EXPECT_EQ(event->MouseX(), 30);
    EXPECT_EQ(event->MouseY(), 40);
    EXPECT_EQ(event->MouseZ(), 2);
    EXPECT_EQ(event->MouseXSpeed(), 30);
    EXPECT_EQ(event->MouseZSpeed(), 2);
    event->Update();
    EXPECT_EQ(event->MouseX(), 30);
    EXPECT_EQ(event->MouseXSpeed(), 0);
    EXPECT_EQ(event->MouseYSpeed(), 0);
    EXPECT_EQ(event->MouseZSpeed(), 0);
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, 25, 40);
    event->Update();
    EXPECT_EQ(event->MouseXSpeed(), -5);
}

TEST_F(EventReceiverTest, EventsRequestPollsOfTheirGroupOnly) {
    EXPECT_EQ(event->_updateKeys + event->_updateMouseKeys + event->_updateMousePos + event->_updateKeyChar +
                  event->_updateAppTermin,
              0);
    TInput::PostSystemEvent(EVENT_KEYDOWN, 65);
    TInput::PostSystemEvent(EVENT_MOUSEUP, 1);
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, 1, 1);
    TInput::PostSystemEvent(EVENT_KEYCHAR, 'a');
    TInput::PostSystemEvent(EVENT_TIMERTICK);
    EXPECT_EQ(event->_updateKeys, 2);
    EXPECT_EQ(event->_updateMouseKeys, 2);
    EXPECT_EQ(event->_updateMousePos, 1);
    EXPECT_EQ(event->_updateKeyChar, 1);
    EXPECT_EQ(event->_updateAppTermin, 0);
    event->Update();
    EXPECT_EQ(event->_updateKeys, 1);
    EXPECT_EQ(event->_updateMouseKeys, 1);
    EXPECT_EQ(event->_updateMousePos, 0);
    EXPECT_EQ(event->_updateKeyChar, 0);
    event->Update();
    EXPECT_EQ(event->_updateKeys, 0);
    EXPECT_EQ(event->_updateMouseKeys, 0);
    // A hold of the key stays in the snapshot without further polls.
    EXPECT_EQ(event->KeyDown(65), 1);
    event->Update();
    EXPECT_EQ(event->KeyDown(65), 1);
}

TEST_F(EventReceiverTest, PressAndReleaseBetweenTwoFrames) {
    TInput::PostSystemEvent(EVENT_KEYDOWN, 65);
    TInput::PostSystemEvent(EVENT_KEYUP, 65);
    TInput::PostSystemEvent(EVENT_MOUSEDOWN, 2, 5, 5);
    TInput::PostSystemEvent(EVENT_MOUSEUP, 2, 5, 5);
    event->Update();
    EXPECT_EQ(event->KeyHit(65), 1);
    EXPECT_EQ(event->KeyDown(65), 0);
    EXPECT_EQ(event->MouseHit(2), 1);
    EXPECT_EQ(event->MouseDown(2), 0);
    EXPECT_EQ(event->MouseHit(1), 0);
    event->Update();
    EXPECT_EQ(event->KeyHit(65), 0);
    EXPECT_EQ(event->MouseHit(2), 0);
}

TEST_F(EventReceiverTest, EscapeOrWindowCloseForOneSnapshot) {
    TInput::PostSystemEvent(EVENT_KEYDOWN, 27);
    TInput::PostSystemEvent(EVENT_KEYUP, 27);
    event->Update();
    EXPECT_NE(event->EscapeEvent(), 0);
    EXPECT_EQ(event->AppTerminate(), 0);
    event->Update();
    EXPECT_EQ(event->EscapeEvent(), 0);

    TInput::PostSystemEvent(EVENT_APPTERMINATE);
    event->Update();
    EXPECT_EQ(event->AppTerminate(), 1);
    EXPECT_NE(event->EscapeEvent(), 0);
    event->Update();
    EXPECT_EQ(event->AppTerminate(), 0);
    EXPECT_EQ(event->EscapeEvent(), 0);
}

TEST_F(EventReceiverTest, TypedCharacterIsSeenForOneSnapshot) {
    TInput::PostSystemEvent(EVENT_KEYCHAR, 0xE4);  // ä
    event->Update();
    EXPECT_EQ(event->GetChar(), "\xC3\xA4");
    event->Update();
    EXPECT_EQ(event->GetChar(), "");
    // Everything typed between two snapshots comes in the next one, in order.
    TInput::PostSystemEvent(EVENT_KEYCHAR, 0xDF);  // ß
    TInput::PostSystemEvent(EVENT_KEYCHAR, 'x');
    TInput::PostSystemEvent(EVENT_KEYCHAR, TInput::charReturn);
    TInput::PostSystemEvent(EVENT_KEYCHAR, 'y');
    event->Update();
    EXPECT_EQ(event->GetChar(), "\xC3\x9Fx\ry");
    event->Update();
    EXPECT_EQ(event->GetChar(), "");
}

TEST_F(EventReceiverTest, ActionRunsOncePerHitDuringThatUpdate) {
    EXPECT_EQ(event->AddAction(112, &LogF1, &log), 1);
    TInput::PostSystemEvent(EVENT_KEYDOWN, 112);
    EXPECT_TRUE(log.calls.empty()) << "actions run in Update, not in the event hook";
    event->Update();
    EXPECT_EQ(log.calls.size(), 1u);
    event->Update();
    TInput::PostSystemEvent(EVENT_KEYUP, 112);
    event->Update();
    event->Update();
    EXPECT_EQ(log.calls.size(), 1u);

    event->disableActions();
    EXPECT_EQ(event->actionsEnabled(), 0);
    TInput::PostSystemEvent(EVENT_KEYDOWN, 112);
    event->Update();
    EXPECT_EQ(event->KeyHit(112), 1);
    EXPECT_EQ(log.calls.size(), 1u);
    event->enableActions();
    event->Update();
    EXPECT_EQ(log.calls.size(), 1u) << "a hit missed while disabled does not run later";
}

TEST_F(EventReceiverTest, ActionsRunInKeyCodeOrder) {
    event->AddAction(65, &LogA, &log);
    event->AddAction(37, &LogLeft, &log);
    event->AddAction(65, &LogF1, &log);
    TInput::PostSystemEvent(EVENT_KEYDOWN, 65);
    TInput::PostSystemEvent(EVENT_KEYDOWN, 37);
    event->Update();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"left", "A", "F1"}));
}

TEST_F(EventReceiverTest, RemovingActions) {
    TLog other;
    EXPECT_EQ(event->AddAction(0, &LogF1, &log), 0);
    event->AddAction(112, &LogF1, &log);
    event->AddAction(112, &LogA, &log);
    event->AddAction(112, &LogF1, &log);
    event->AddAction(112, &LogF1, &other);
    EXPECT_EQ(event->RemoveAction(112, &LogF1, &log), 2);
    EXPECT_EQ(event->RemoveAction(112, &LogF1, &log), 0);
    EXPECT_EQ(event->RemoveAction(0, &LogA, &log), 0);
    TInput::PostSystemEvent(EVENT_KEYDOWN, 112);
    event->Update();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"A"}));
    EXPECT_EQ(other.calls.size(), 1u);

    event->RemoveAllActions();
    TInput::PostSystemEvent(EVENT_KEYDOWN, 112);
    event->Update();
    EXPECT_EQ(log.calls.size(), 1u);
}

TEST_F(EventReceiverTest, FlushKeysClearsOnlyTheSnapshot) {
    TInput::PostSystemEvent(EVENT_KEYDOWN, 40);
    event->Update();
    event->FlushKeys();
    EXPECT_EQ(event->KeyDown(40), 0);
    EXPECT_EQ(event->KeyHit(40), 0);
    EXPECT_EQ(TInput::KeyDown(40), 1);
    TInput::PostSystemEvent(EVENT_KEYUP, 66);
    event->Update();
    EXPECT_EQ(event->KeyDown(40), 1);
}

TEST_F(EventReceiverTest, TouchPointsComeFromMultitouchOnceStarted) {
    TInput::PostSystemEvent(EVENT_MOUSEDOWN, 1, 10, 10);
    event->Update();
    EXPECT_TRUE(event->TouchPoints().empty());
    TGraphics::HeadlessGraphics(640, 480);
    vesko::TMultiTouch::Init(1, 1, 0);
    TInput::PostSystemEvent(EVENT_MOUSEDOWN, 1, 10, 10);
    event->Update();
    ASSERT_EQ(event->TouchPoints().size(), 1u);
    EXPECT_EQ(event->TouchPoints()[0]->getID(), -10);
    const auto snapshot = event->TouchPoints();
    TInput::PostSystemEvent(EVENT_MOUSEUP, 1, 10, 10);
    EXPECT_EQ(snapshot.size(), 1u) << "the frame's snapshot does not change until the next update";
    event->Update();
    EXPECT_TRUE(event->TouchPoints().empty());
    TGraphics::EndGraphics();
}

}  // namespace
