#include <SDL.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/TMultiTouch.h"
#include "framework/TVirtualTouchPoint.h"
#include "framework/TWndProcCallback.h"
#include "platform/TClock.h"
#include "platform/TEvent.h"
#include "platform/TGraphics.h"
#include "platform/TInput.h"
#include "platform/TInterfaceSpace.h"

using vesko::TMultiTouch;
using vesko::TTouchPoint;
using vesko::TVirtualTouchPoint;
using vesko::TWndProcCallback;

namespace {

void PostMouse(int32_t id, int32_t button, int32_t x, int32_t y) {
    TEvent e;
    e.id = id;
    e.data = button;
    e.x = x;
    e.y = y;
    TInput::PostSystemEvent(e);
}

void Finger(uint32_t type, SDL_FingerID finger, float x, float y, SDL_TouchID touch = 7) {
    SDL_Event ev{};
    ev.type = type;
    ev.tfinger.touchId = touch;
    ev.tfinger.fingerId = finger;
    ev.tfinger.x = x;
    ev.tfinger.y = y;
    TEventHooks::RunRawHooks(ev);
}

std::shared_ptr<TTouchPoint> FindID(const TMultiTouch::TTouchPointList& list, int32_t id) {
    for (const auto& tp : list) {
        if (tp->id == id) return tp;
    }
    return nullptr;
}

class MultiTouchTest : public ::testing::Test {
protected:
    void SetUp() override {
        TEventHooks::RemoveAllHooks();
        TInput::Reset();
        previousClock = TClock::SetSource(clock);
        TGraphics::HeadlessGraphics(800, 600);
        ASSERT_EQ(TMultiTouch::Init(1, 1, 0), 2);
    }
    void TearDown() override {
        TMultiTouch::Deinit();
        TWndProcCallback::Deinit();
        TGraphics::EndGraphics();
        TEventHooks::RemoveAllHooks();
        TClock::SetSource(previousClock);
    }
    std::shared_ptr<TManualClock> clock = std::make_shared<TManualClock>(1000);
    std::shared_ptr<TClockSource> previousClock;
};

TEST(MultiTouchLifecycle, GetOutsideInitRaisesTheRunTimeError) {
    TMultiTouch::Deinit();
    EXPECT_EQ(TMultiTouch::Initiated(), 0);
    try {
        TMultiTouch::Get();
        FAIL() << "Get() before Init must throw";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Multitouch is not initiated!");
    }
    EXPECT_EQ(TMultiTouch::Deinit(), 0);
}

TEST_F(MultiTouchTest, DeinitStopsAndUnhooks) {
    EXPECT_EQ(TMultiTouch::Initiated(), 1);
    PostMouse(EVENT_MOUSEDOWN, 1, 5, 5);
    EXPECT_EQ(TMultiTouch::Deinit(), 1);
    EXPECT_THROW(TMultiTouch::Get(), std::runtime_error);
    EXPECT_EQ(TVirtualTouchPoint::Create(1, 1), nullptr);
    // Restarted, the old mouse point is gone and events no longer reach the old hook twice.
    TMultiTouch::Init(1, 1, 0);
    EXPECT_TRUE(TMultiTouch::Get().empty());
    PostMouse(EVENT_MOUSEDOWN, 2, 5, 5);
    EXPECT_EQ(TMultiTouch::Get().size(), 1u);
}

TEST_F(MultiTouchTest, MousePointFlagsSmoothingAndRelease) {
    PostMouse(EVENT_MOUSEDOWN, 1, 100, 50);
    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    const auto tp = list[0];
    EXPECT_EQ(tp->getID(), -10);
    EXPECT_EQ(tp->GetFlags(), 354);
    EXPECT_EQ(tp->GetExtraInfo(), 1);
    EXPECT_EQ(tp->FlagMouse(), 1);
    EXPECT_EQ(tp->FlagNew(), 1);
    EXPECT_EQ(tp->getTime(), 1000);
    EXPECT_FLOAT_EQ(tp->GetX(), 100);

    // Move events name no button; the held point follows the pointer halfway per read.
    clock->Advance(16);
    PostMouse(EVENT_MOUSEMOVE, 0, 200, 50);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], tp) << "the same contact object is updated";
    EXPECT_EQ(tp->GetFlags(), 352);
    EXPECT_EQ(tp->getTime(), 1016);
    EXPECT_FLOAT_EQ(tp->GetX(), 150);
    EXPECT_FLOAT_EQ(tp->GetXSpeed(), 50);
    EXPECT_EQ(tp->FlagMove(), 1);
    EXPECT_EQ(tp->FlagNew(), 0);
    TMultiTouch::Get();
    EXPECT_FLOAT_EQ(tp->GetX(), 175);
    TMultiTouch::Get();
    EXPECT_FLOAT_EQ(tp->GetX(), 187.5f);
    EXPECT_FLOAT_EQ(tp->GetFirstX(), 100);

    PostMouse(EVENT_MOUSEUP, 1, 200, 50);
    EXPECT_EQ(tp->GetFlags(), 356);
    EXPECT_EQ(tp->getActive(), 0);
    EXPECT_TRUE(TMultiTouch::Get().empty());
}

TEST_F(MultiTouchTest, ClickWithinOneFrameIsListedOnce) {
    PostMouse(EVENT_MOUSEDOWN, 1, 10, 20);
    PostMouse(EVENT_MOUSEUP, 1, 10, 20);
    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->getActive(), 1);
    EXPECT_EQ(list[0]->GetFlags(), 356);
    // A move after the release does not bring the button back.
    PostMouse(EVENT_MOUSEMOVE, 0, 30, 20);
    EXPECT_EQ(list[0]->GetFlags(), 356);
    EXPECT_TRUE(TMultiTouch::Get().empty());
    EXPECT_EQ(list[0]->getActive(), 0);
}

TEST_F(MultiTouchTest, ButtonFourCountsAsMiddleAndOthersAreIgnored) {
    PostMouse(EVENT_MOUSEDOWN, 4, 1, 1);
    PostMouse(EVENT_MOUSEDOWN, 5, 1, 1);
    PostMouse(EVENT_MOUSEDOWN, 2, 1, 1);
    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->getID(), -30);
    EXPECT_EQ(list[1]->getID(), -20);
    // Pressing the middle button now continues the same point.
    PostMouse(EVENT_MOUSEDOWN, 3, 2, 2);
    EXPECT_EQ(list[0]->GetFlags(), 352);
    EXPECT_EQ(TMultiTouch::Get().size(), 2u);
    PostMouse(EVENT_MOUSEUP, 3, 2, 2);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->getID(), -20);
}

TEST_F(MultiTouchTest, MouseEmulationOffGivesNoMousePoints) {
    TMultiTouch::Init(1, 0, 0);
    PostMouse(EVENT_MOUSEDOWN, 1, 1, 1);
    EXPECT_TRUE(TMultiTouch::Get().empty());
}

TEST_F(MultiTouchTest, FingersAreConvertedToWindowPixels) {
    Finger(SDL_FINGERDOWN, 501, 0.5f, 0.25f);
    Finger(SDL_FINGERDOWN, 502, 0.1f, 0.1f);
    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 2u);
    const auto a = list[0];
    const auto b = list[1];
    EXPECT_GE(a->getID(), 1);
    EXPECT_NE(a->getID(), b->getID());
    EXPECT_FLOAT_EQ(a->GetX(), 400);
    EXPECT_FLOAT_EQ(a->GetY(), 150);
    EXPECT_FLOAT_EQ(b->GetX(), 80);
    EXPECT_EQ(a->FlagMouse(), 0);
    EXPECT_EQ(a->FlagPrimary(), 1);
    EXPECT_EQ(b->FlagPrimary(), 0);
    EXPECT_EQ(b->GetFlags() & TTouchPoint::flagDown, TTouchPoint::flagDown);

    Finger(SDL_FINGERMOTION, 502, 0.2f, 0.1f);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1], b);
    EXPECT_FLOAT_EQ(b->GetX(), 120);  // halfway from 80 to 160
    EXPECT_EQ(b->GetFlags() & TTouchPoint::flagMove, TTouchPoint::flagMove);

    Finger(SDL_FINGERUP, 501, 0.5f, 0.25f);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], b);
    // The remaining finger becomes the primary contact.
    EXPECT_EQ(b->FlagPrimary(), 1);
}

TEST_F(MultiTouchTest, PointsAreInInterfaceUnits) {
    // At interface factor 2 a window pixel is half a unit: the mouse, a finger and a tap agree.
    TInterfaceSpace::SetFactor(2.0f);
    PostMouse(EVENT_MOUSEDOWN, 1, 300, 200);
    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(std::make_pair(list[0]->GetX(), list[0]->GetY()), std::make_pair(150.0f, 100.0f));
    PostMouse(EVENT_MOUSEUP, 1, 300, 200);
    Finger(SDL_FINGERDOWN, 601, 0.5f, 0.25f);  // window pixel (400, 150)
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(std::make_pair(list[0]->GetX(), list[0]->GetY()), std::make_pair(200.0f, 75.0f));
    Finger(SDL_FINGERUP, 601, 0.5f, 0.25f);
    TMultiTouch::_RegTouchscreenHit(80, 60);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(std::make_pair(list[0]->GetX(), list[0]->GetY()), std::make_pair(40.0f, 30.0f));
    TInterfaceSpace::SetFactor(1.0f);
}

TEST_F(MultiTouchTest, RealTouchesTakePrecedenceOverTheMouse) {
    PostMouse(EVENT_MOUSEDOWN, 1, 10, 10);
    EXPECT_EQ(TMultiTouch::Get().size(), 1u);
    Finger(SDL_FINGERDOWN, 1, 0.5f, 0.5f);
    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_GE(list[0]->getID(), 0);
    // While the finger is down, mouse events neither create nor keep mouse points.
    PostMouse(EVENT_MOUSEDOWN, 2, 10, 10);
    PostMouse(EVENT_MOUSEMOVE, 0, 20, 10);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->FlagMouse(), 0);
    Finger(SDL_FINGERUP, 1, 0.5f, 0.5f);
    TMultiTouch::Get();
    PostMouse(EVENT_MOUSEDOWN, 2, 10, 10);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->getID(), -20);
}

TEST_F(MultiTouchTest, MouseTouchesMadeUpBySDLAreNotFingers) {
    Finger(SDL_FINGERDOWN, 1, 0.5f, 0.5f, SDL_MOUSE_TOUCHID);
    EXPECT_TRUE(TMultiTouch::Get().empty());
}

TEST_F(MultiTouchTest, ContactMissingFromAMessageEnds) {
    using In = TMultiTouch::TTouchInput;
    TMultiTouch::_RegTouchInputs(
        {In{1000, 2000, 0, 3, 0x2, 0, 5, 0, 100, 200}, In{5000, 5000, 0, 4, 0x2, 0, 5, 0, 0, 0}});
    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 2u);
    const auto kept = FindID(list, 4);
    ASSERT_NE(FindID(list, 3), nullptr);
    EXPECT_FLOAT_EQ(FindID(list, 3)->GetX(), 10);
    EXPECT_FLOAT_EQ(FindID(list, 3)->getHeight(), 2);
    TMultiTouch::_RegTouchInputs({In{6000, 5000, 0, 4, 0x1, 0, 6, 0, 0, 0}});
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], kept);
    // An up for a contact that is not known creates nothing.
    TMultiTouch::_RegTouchInputs({In{6000, 5000, 0, 9, 0x4, 0, 6, 0, 0, 0}});
    EXPECT_TRUE(TMultiTouch::Get().empty());
}

TEST_F(MultiTouchTest, LosingFocusEndsEveryFinger) {
    Finger(SDL_FINGERDOWN, 1, 0.5f, 0.5f);
    Finger(SDL_FINGERDOWN, 2, 0.6f, 0.5f);
    EXPECT_EQ(TMultiTouch::Get().size(), 2u);
    SDL_Event ev{};
    ev.type = SDL_WINDOWEVENT;
    ev.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    EXPECT_FALSE(TEventHooks::RunRawHooks(ev)) << "window events pass on to the platform";
    EXPECT_TRUE(TMultiTouch::Get().empty());
    // The late up of a forgotten finger changes nothing.
    Finger(SDL_FINGERUP, 1, 0.5f, 0.5f);
    EXPECT_TRUE(TMultiTouch::Get().empty());
}

TEST_F(MultiTouchTest, QuickTapIsListedInExactlyOneGet) {
    Finger(SDL_FINGERDOWN, 1, 0.25f, 0.5f);
    Finger(SDL_FINGERUP, 1, 0.25f, 0.5f);
    // Another finger's message in between must not swallow the tap.
    Finger(SDL_FINGERDOWN, 2, 0.9f, 0.9f);
    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 2u);
    const auto hit = FindID(list, 0);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->GetFlags(), 800);
    EXPECT_EQ(hit->FlagHit(), 1);
    EXPECT_EQ(hit->getActive(), 1);
    EXPECT_FLOAT_EQ(hit->GetX(), 200);
    EXPECT_FLOAT_EQ(hit->GetY(), 300);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_NE(list[0]->getID(), 0);
}

TEST_F(MultiTouchTest, TapSeenByAGetGivesNoHit) {
    Finger(SDL_FINGERDOWN, 1, 0.25f, 0.5f);
    EXPECT_EQ(TMultiTouch::Get().size(), 1u);
    Finger(SDL_FINGERUP, 1, 0.25f, 0.5f);
    EXPECT_TRUE(TMultiTouch::Get().empty());
}

TEST_F(MultiTouchTest, TouchscreenHitsCanBeSwitchedOff) {
    TMultiTouch::Init(0, 1, 0);
    Finger(SDL_FINGERDOWN, 1, 0.25f, 0.5f);
    Finger(SDL_FINGERUP, 1, 0.25f, 0.5f);
    EXPECT_TRUE(TMultiTouch::Get().empty());
}

TEST_F(MultiTouchTest, VirtualPoints) {
    auto a = TVirtualTouchPoint::Create(10, 20);
    auto b = TVirtualTouchPoint::Create(30, 40);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->tp->getID(), -100);
    EXPECT_EQ(b->tp->getID(), -101);
    EXPECT_EQ(TVirtualTouchPoint::count(), 2);
    EXPECT_EQ(TVirtualTouchPoint::Get(1), b);
    EXPECT_EQ(TVirtualTouchPoint::Get(2), nullptr);

    auto list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], a->tp);
    EXPECT_FLOAT_EQ(a->tp->GetX(), 10);
    EXPECT_EQ(a->tp->FlagNew(), 1);

    a->move(20, 20);
    TMultiTouch::Get();
    float x = 0, y = 0;
    a->getPos(x, y);
    EXPECT_FLOAT_EQ(x, 15);
    a->SetPosition(50, 60);
    a->getPos(x, y);
    EXPECT_FLOAT_EQ(x, 50);
    EXPECT_FLOAT_EQ(y, 60);

    // A real touch ends mouse points, not virtual ones.
    Finger(SDL_FINGERDOWN, 1, 0.5f, 0.5f);
    EXPECT_EQ(TMultiTouch::Get().size(), 3u);
    Finger(SDL_FINGERUP, 1, 0.5f, 0.5f);

    a->Disable();
    EXPECT_EQ(a->Active(), 0);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], b->tp);
    a->Enable();
    list = TMultiTouch::Get();
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(a->tp->FlagNew(), 1);

    b->remove();
    EXPECT_EQ(TVirtualTouchPoint::count(), 1);
    list = TMultiTouch::Get();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], a->tp);

    // Restarting the module starts the ids again and drops the old points.
    TMultiTouch::Init(1, 1, 0);
    EXPECT_EQ(TVirtualTouchPoint::count(), 0);
    EXPECT_EQ(TVirtualTouchPoint::Create(0, 0)->tp->getID(), -100);
}

TEST(TouchPoint, CopyKeepsContactDataAndStaysInPlace) {
    auto tp = TTouchPoint::Create(10, 10, 5);
    tp->_x = 30;
    tp->_Update();
    tp->Flags = 0x12;
    tp->content = std::make_shared<int>(7);
    auto copy = tp->_Copy();
    EXPECT_FLOAT_EQ(copy->GetX(), 20);
    EXPECT_FLOAT_EQ(copy->GetLastX(), 10);
    EXPECT_EQ(copy->GetFlags(), 0x12);
    EXPECT_EQ(copy->getContent(), tp->getContent());
    EXPECT_EQ(copy->FlagNew(), 2);
    copy->_Update();
    EXPECT_FLOAT_EQ(copy->GetX(), 20);
}

}  // namespace
