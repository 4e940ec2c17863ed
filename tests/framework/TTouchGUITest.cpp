// Touch objects: hit tests under scale and rotation, front-most-first handing out of new
// points, one- and two-finger gestures, inertia; gadgets: events and modes, visibility,
// dragging, circle layouts, tree order and drawing through the recording back end.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/TCPicture.h"
#include "framework/TTouchGUI.h"
#include "platform/TClock.h"
#include "platform/TGraphics.h"
#include "platform/TRecordingBackend.h"

using namespace vesko;

namespace {

class TouchTest : public testing::Test {
protected:
    void SetUp() override { TTouchObject::ResetRegistry(); }
    void TearDown() override { TTouchObject::ResetRegistry(); }
    std::shared_ptr<TTouchPoint> Finger(float x, float y) {
        auto p = TTouchPoint::Create(x, y);
        p->x = p->lastx = x;
        p->y = p->lasty = y;
        p->Active = 1;
        return points.emplace_back(p);
    }
    static void MoveTo(const std::shared_ptr<TTouchPoint>& p, float x, float y) {
        p->lastx = std::exchange(p->x, x);
        p->lasty = std::exchange(p->y, y);
    }
    // One frame of the objects; afterwards the points are old and at rest, as the next read makes them.
    void Frame(float f = 1) {
        TTouchObject::Update(points, f);
        for (auto& p : points) {
            MoveTo(p, p->x, p->y);
            p->_n = 0;
        }
    }
    static std::shared_ptr<TTouchObject> Square(int32_t overlap, float x = 0, float y = 0) {
        auto o = TTouchObject::Create(1, 1, 1, overlap);
        o->AddPolygon({{-20, -20}, {20, -20}, {20, 20}, {-20, 20}});
        o->SetPosition(x, y);
        return o;
    }
    std::vector<std::shared_ptr<TTouchPoint>> points;
};

TEST_F(TouchTest, ShapesAreHitUnderScaleAndRotation) {
    const std::array<float, 9> rows[] = {
        // shape (0 rect 40 × 20, 1 circle r 10, 2 round rect 40 × 20 r 8, 3 triangle), x, y, sx, sy, angle, point,
        // inside
        {0, 100, 100, 1, 1, 0, 139, 119, 1},  {0, 100, 100, 1, 1, 0, 141, 110, 0}, {0, 100, 100, 1, 1, 90, 90, 130, 1},
        {0, 100, 100, 1, 1, 90, 110, 105, 0}, {0, 100, 100, 2, 2, 0, 170, 135, 1}, {0, 100, 100, 2, 2, 0, 185, 110, 0},
        {0, 0, 0, 1, 1, 180, -30, -15, 1},    {0, 0, 0, 1, 1, 180, 30, 15, 0},     {1, 0, 0, 2, 0.5f, 0, 18, 0, 1},
        {1, 0, 0, 2, 0.5f, 0, 0, 8, 0},       {1, 0, 0, 2, 0.5f, 90, 0, 18, 1},    {1, 0, 0, 2, 0.5f, 90, 18, 0, 0},
        {2, 0, 0, 1, 1, 0, 1, 1, 0},          {2, 0, 0, 1, 1, 0, 20, 1, 1},        {2, 0, 0, 1, 1, 0, 39, 10, 1},
        {3, 0, 0, 1, 1, 45, 7, 3, 1},         {3, 0, 0, 1, 1, 45, 7, -3, 0},  // inside the unturned triangle
        {0, 0, 0, 0, 1, 0, 0, 0, 0}};                                         // squashed flat
    for (const auto& [shape, x, y, sx, sy, angle, px, py, inside] : rows) {
        auto o = TTouchObject::Create(1, 1, 1, 1);
        if (shape == 0) o->addRect(40, 20);
        if (shape == 1) o->addCircle(10);
        if (shape == 2) o->addRoundRect(40, 20, 8);
        if (shape == 3) o->AddTriangle(0, 0, 10, 0, 10, -10);
        o->SetPosition(x, y);
        o->SetScale(sx, sy);
        o->SetRotation(angle);
        EXPECT_EQ(o->Object2D->Contains(px, py), inside != 0) << shape << " at " << angle << "° " << px << "," << py;
    }
}

TEST_F(TouchTest, NewPointsGoToTheFrontMostOverlappingObject) {
    auto a = Square(1), b = Square(1), plain = Square(0);
    EXPECT_EQ(TTouchObject::getTouchObjectAtPos(5, 5), b);
    Finger(5, 5);
    Frame();
    EXPECT_EQ(std::make_pair(b->CountTouchPoints(), TTouchObject::Registry().back()), std::make_pair(1, b));
    b->SetInBack();
    Finger(6, 6);
    Frame();
    EXPECT_EQ(points[1]->getContent(), a);  // b went to the back
    a->setActive(0);
    b->setActive(0);
    EXPECT_EQ(TTouchObject::getTouchObjectAtPos(5, 5), plain);
}

TEST_F(TouchTest, AFullObjectPassesTheFingerToTheOneBelowThenToTheFallback) {
    auto fallback = Square(0), below = Square(1), top = Square(1);
    top->maxtouchpoints = below->maxtouchpoints = 1;
    for (int i = 0; i < 3; ++i) Finger(float(i), 0);
    Frame();
    EXPECT_EQ(top->GetTouchPoints(), std::vector{points[0]});
    EXPECT_EQ(below->GetTouchPoints(), std::vector{points[1]});
    EXPECT_EQ(fallback->GetTouchPoints(), std::vector{points[2]});
    top->Stop();
    Frame();  // owned and old points are never handed out again
    EXPECT_EQ(top->CountTouchPoints(), 0);
}

TEST_F(TouchTest, OneFingerMovesAndEndedPointsAreDropped) {
    auto o = Square(1);
    auto p = Finger(10, 10);
    Frame();
    MoveTo(p, 15, 12);
    TTouchObject::Update(points, 1);
    EXPECT_EQ(std::make_tuple(o->GetX(), o->GetY(), o->GetXSpeed(), o->GetYSpeed()),
              std::make_tuple(5.f, 2.f, 5.f, 2.f));
    o->DeactivateMove();
    MoveTo(p, 20, 12);
    p->Active = 0;
    TTouchObject::Update(points, 1);
    // Move off: the speed is reported, the object stays; the ended point is gone.
    EXPECT_EQ(std::make_tuple(o->GetX(), o->GetXSpeed(), o->CountTouchPoints()), std::make_tuple(5.f, 5.f, 0));
}

TEST_F(TouchTest, AFingerThatMovedBeforeItWasSeenGoesWhereItWentDownAndKeepsTheDistance) {
    auto o = Square(1);
    auto other = Square(1, 100, 0);
    // Down at (10, 10), already at (90, 10) when the objects first see it (and one frame before
    // at (60, 10)): it belongs to the square it went down on, which catches up with the finger.
    auto p = Finger(10, 10);
    p->lastx = 60;
    p->x = 90;
    TTouchObject::Update(points, 1);
    EXPECT_EQ(std::make_tuple(o->CountTouchPoints(), other->CountTouchPoints()), std::make_tuple(1, 0));
    EXPECT_EQ(std::make_tuple(o->GetX(), o->GetXSpeed()), std::make_tuple(80.f, 80.f));
    MoveTo(p, 90, 10);
    p->_n = 0;
    TTouchObject::Update(points, 1);
    EXPECT_EQ(o->GetX(), 80.f);
}

TEST_F(TouchTest, TwoFingersScaleAndTurnAboutTheFirst) {
    const std::array<float, 6> rows[] = {
        // second finger from (120, 100) to qx, qy (the first stays at (100, 100)); object from (110, 100)
        {140, 100, 120, 100, 2, 0},     // twice as far: twice the distance from the first finger
        {100, 120, 100, 110, 1, 90},    // a quarter turn
        {90, 100, 95, 100, 0.5f, 180},  // half as far and the other way
        {105, 100, 110, 100, 1, 0},     // closer than 10 pixels: no scale
        {160, 100, 130, 100, 2, 0},     // three times: scale stops at MaxScale, the pivot does not
        {100, 80, 100, 90, 1, -90}};
    for (const auto& [qx, qy, x, y, scale, angle] : rows) {
        TTouchObject::ResetRegistry();
        points.clear();
        auto o = Square(1, 110, 100);
        auto p = Finger(100, 100), q = Finger(120, 100);
        Frame();
        MoveTo(q, qx, qy);
        TTouchObject::Update(points, 1);
        EXPECT_NEAR(o->GetX(), x, 1e-3) << qx << "," << qy;
        EXPECT_NEAR(o->GetY(), y, 1e-3) << qx << "," << qy;
        EXPECT_NEAR(o->GetXSpeed(), x - 110, 1e-3);
        EXPECT_EQ(o->Object2D->scalex, scale);
        EXPECT_NEAR(std::fabs(o->GetRotation()), std::fabs(angle), 1e-3);
    }
}

TEST_F(TouchTest, InertiaDecaysAfterReleaseAndZeroInertiaStops) {
    TTouchObject::SetDefaultInertia(0.9f);
    auto o = Square(1);
    auto p = Finger(10, 10);
    Frame();
    MoveTo(p, 20, 10);
    p->Active = 0;
    TTouchObject::Update(points, 1);
    float x = o->GetX(), speed = 10;
    for (int frame = 0; frame < 3; ++frame, x = o->GetX()) {
        speed *= 0.9f;
        TTouchObject::Update({}, 1);
        EXPECT_NEAR(o->GetXSpeed(), speed, 1e-4) << frame;
        EXPECT_NEAR(o->GetX() - x, speed, 1e-4) << frame;
    }
    TTouchObject::Update({}, 2);  // two sixtieths: 0.9²
    EXPECT_NEAR(o->GetXSpeed(), speed * 0.81f, 1e-4);
    o->SetInertia(0);
    TTouchObject::Update({}, 1);
    EXPECT_EQ(std::make_pair(o->GetXSpeed(), o->GetXScaleSpeed()), std::make_pair(0.0f, 1.0f));
}

class TouchGUITest : public TouchTest {
protected:
    void GuiFrame() {
        Frame();
        gui->Update();
    }
    std::shared_ptr<TTouchGUI> gui = TTouchGUI::Create();
};

TEST_F(TouchGUITest, ModesDecideTheStateWhilePressedAndAfter) {
    const std::vector<int> pressed = {1, 1, 1, 0, 1, 0};
    const std::pair<int32_t, std::vector<int32_t>> rows[] = {
        {0, {1, 1, 1, 0, 1, 0}}, {1, {1, 1, 1, 1, 0, 0}}, {2, {0, 0, 0, 0, 0, 0}}, {3, {1, 1, 1, 1, 1, 1}}};
    for (const auto& [mode, states] : rows) {
        auto g = gui->NewRect(10, 10, 50, 50);
        g->setMode(mode);
        g->EventFunc = &TTGUIGadget::DefaultEventAction;
        std::vector<int32_t> got;
        std::shared_ptr<TTouchPoint> p;
        for (int press : pressed) {
            if (press && !p) p = Finger(20, 20);
            if (!press && p) std::exchange(p, nullptr)->Active = 0;
            GuiFrame();
            got.push_back(g->State);
        }
        EXPECT_EQ(got, states) << "mode " << mode;
        g->remove();
    }
}

TEST_F(TouchGUITest, FlagsOfAPressReportEachChangeOnce) {
    auto g = gui->NewCircle(100, 100, 20);
    auto p = Finger(105, 100);
    std::vector<std::tuple<int, int, int, int>> got;
    for (int frame = 0; frame < 4; ++frame) {
        if (frame == 3) p->Active = 0;
        GuiFrame();
        got.emplace_back(g->down, g->hit, g->released, g->event);
    }
    EXPECT_EQ(got, (decltype(got){{1, 1, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 0}, {0, 0, 1, 1}}));
}

TEST_F(TouchGUITest, OnlyAShownGadgetsCurrentTouchObjectIsHit) {
    auto back = gui->NewRect(0, 0, 100, 100), front = gui->NewRect(0, 0, 100, 100);
    front->HIDE();
    EXPECT_EQ(TTouchObject::getTouchObjectAtPos(50, 50), back->getCurrentTouchObject());
    front->SHOW();
    EXPECT_EQ(TTouchObject::getTouchObjectAtPos(50, 50), front->getCurrentTouchObject());
    gui->root->hideChildren();
    EXPECT_FALSE(TTouchObject::getTouchObjectAtPos(50, 50));
    gui->root->showChildren();
    auto other = Square(1, 50, 50);
    front->SetTouchObject(other, 0, 1);
    front->State = 1;
    front->_RefreshTouchObjects();
    EXPECT_EQ(std::make_pair(front->getState0TouchObject()->IsActive(), other->IsActive()), std::make_pair(0, 1));
}

TEST_F(TouchGUITest, DraggingMovesTheGadgetAndItsChildren) {
    auto panel = gui->NewRect(100, 100, 50, 50);
    auto knob = gui->NewCircle(10, 10, 5, panel.get());
    auto p = Finger(120, 120);
    GuiFrame();
    MoveTo(p, 130, 125);
    TTouchObject::Update(points, 1);
    gui->Update();
    EXPECT_EQ(std::make_tuple(panel->moved, panel->GetX(), panel->GetY()), std::make_tuple(1, 110.f, 105.f));
    EXPECT_EQ(std::make_pair(knob->GetX(1), knob->getCurrentTouchObject()->GetY()), std::make_pair(120.f, 115.f));
    // Children update after their parent, so they lie in front of it.
    EXPECT_EQ(TTouchObject::Registry().back(), knob->getCurrentTouchObject());
    panel->Disable();
    MoveTo(p, 140, 125);
    gui->Update();
    EXPECT_EQ(panel->GetX(), 110.0f);
}

TEST_F(TouchGUITest, CircleLayoutsPlaceAndTurnTheChildren) {
    auto ring = gui->NewCircle(200, 200, 10);
    for (int i = 0; i < 4; ++i) gui->NewCircle(0, 0, 5, ring.get());
    auto& kids = *ring->children;
    kids.SortAsCircle(50, 0, 360);
    const float want[4][2] = {{50, 0}, {0, 50}, {-50, 0}, {0, -50}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(kids.getChildren(i)->x, want[i][0], 1e-4);
        EXPECT_NEAR(kids.getChildren(i)->y, want[i][1], 1e-4);
    }
    kids.MoveAsCircle(90, 0);
    EXPECT_NEAR(kids.getChildren(0)->y, 50, 1e-4);
    kids.MoveAsCircle(0, 20);
    EXPECT_NEAR(kids.getChildren(0)->GetY(1), 220, 1e-4);
}

TEST_F(TouchGUITest, TreeOrderRemovalAndCopies) {
    auto a = gui->NewRect(0, 0, 10, 10), b = gui->NewRect(0, 0, 10, 10);
    auto child = gui->NewRect(1, 1, 5, 5, a.get());
    child->SetInFront(1);
    EXPECT_EQ(gui->root->children->children, (std::vector{b, a}));
    b->setParent(a.get());
    EXPECT_EQ(a->children->children, (std::vector{child, b}));
    auto copy = a->Copy();
    EXPECT_EQ(std::make_pair(copy->children->CountChildren(), TTouchObject::Registry().size()), std::make_pair(2, 6ul));
    EXPECT_NE(copy->getCurrentTouchObject(), a->getCurrentTouchObject());
    a->remove();
    EXPECT_EQ(gui->root->children->children, std::vector{copy});
    EXPECT_EQ(TTouchObject::Registry().size(), 3u);
}

TEST_F(TouchGUITest, DrawsCurrentContentsAtAbsolutePositionsInTreeOrder) {
    TClock::SetSource(std::make_shared<TManualClock>(0));
    auto backend = TGraphics::HeadlessGraphics(320, 200);
    auto normal = TCPicture::Create(8, 8), active = TCPicture::Create(8, 8), knobPic = TCPicture::Create(4, 4);
    auto panel = gui->NewGadget(100, 50, nullptr, nullptr, normal);
    panel->setContent(active, 0, 1);
    gui->NewGadget(10, 5, panel.get(), nullptr, knobPic);
    gui->NewGadget(0, 0, nullptr, nullptr, knobPic)->HIDE();
    gui->Draw();
    panel->State = 1;
    gui->Draw();
    std::vector<std::tuple<const void*, float, float>> got;
    for (const auto& c : backend->calls) {
        if (c.kind == TDrawCall::Image) got.emplace_back(c.source, c.x, c.y);
    }
    EXPECT_EQ(got, (decltype(got){{normal->img.get(), 100, 50},
                                  {knobPic->img.get(), 110, 55},
                                  {active->img.get(), 100, 50},
                                  {knobPic->img.get(), 110, 55}}));
    TGraphics::EndGraphics();
    TClock::SetSource(nullptr);
}

}  // namespace
