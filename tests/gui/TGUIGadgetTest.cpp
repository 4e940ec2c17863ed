// Gadgets: press-and-hold repetition, key shortcuts, tooltips and hover colours, spiral
// animations, escaping copies, the button builders and keeping gadgets and panels on screen.
#include <cmath>

#include "GUIFixture.h"
#include "framework/TCGroup.h"
#include "gui/TGUIElement.h"
#include "gui/TGadgetAnimator.h"
#include "platform/TImageFont.h"

namespace {

using GadgetTest = GUITest;

// The times of a button's fires, in milliseconds after its first.
struct TFireLog {
    int32_t first = -1;
    std::vector<int32_t> at;
};
int32_t LogFire(void* context) {
    auto* log = static_cast<TFireLog*>(context);
    if (log->first < 0) log->first = Millisecs();
    log->at.push_back(Millisecs() - log->first);
    return 0;
}

TEST_F(GadgetTest, HeldRepeatingButtonFiresFasterAndFaster) {
    // Frame length and the fires of a 4 s hold: three repeats 800 ms apart, four 300 ms apart, then every
    // 100 ms, each on the first frame past its interval.
    const std::pair<int32_t, std::vector<int32_t>> rows[] = {
        {17, {0, 816, 1632, 2448, 2754, 3060, 3366, 3672, 3774, 3876, 3978}},
        {10, {0, 810, 1620, 2430, 2740, 3050, 3360, 3670, 3780, 3890}}};
    for (const auto& [frame, want] : rows) {
        auto b = gui->AddRoundButton(100, 100, 20);
        b->gadget->EventFunc = vesko::TTGUIGadget::DefaultEventAction;  // active while held
        b->setMultipleCallsState(1);
        TFireLog log;
        b->setGameFunc(LogFire, &log);
        auto p = Press(100, 100);
        for (int32_t t = 0; t <= 4000; t += frame) Frame(frame);
        EXPECT_EQ(log.at, want) << frame << " ms frames";
        p->Active = 0;
        Frame(frame);  // gadgets update before the touch GUI: this frame still sees the hold
        const size_t fires = log.at.size();
        for (int32_t i = 0; i < 3; ++i) Frame(500);
        EXPECT_EQ(log.at.size(), fires) << "letting go fires nothing";
        log = {};
        Press(100, 100);  // a new press starts at the slow rate again
        for (int32_t t = 0; t <= 790; t += frame) Frame(frame);
        EXPECT_EQ(log.at, std::vector<int32_t>{0}) << frame;
        points.clear();
        b->remove();
    }
}

TEST_F(GadgetTest, KeyShortcutsFireByCodeMinusOneAndHiddenOnlyWhenAllowed) {
    struct TRow {
        int32_t code, alsoHidden, shown, key, fires;  // key 0: an empty key-hit span
    };
    const TRow rows[] = {{50, 0, 1, 50, 1}, {50, 0, 0, 50, 0},  {50, 1, 0, 50, 1}, {50, 1, 1, 0, 0},
                         {50, 1, 1, 51, 0}, {50, 1, 1, 49, 0},  {1, 0, 1, 1, 1},   {256, 0, 1, 256, 1},
                         {0, 1, 1, 1, 0},   {257, 1, 1, 256, 0}};
    for (const TRow& r : rows) {
        auto b = gui->AddRoundButton(100, 100, 20);
        int32_t n = 0;
        b->setGameFunc(Count, &n);
        b->setKeyAction(r.code, r.alsoHidden);
        if (!r.shown) b->gadget->HIDE();
        TGUIGadget::updateAll(r.key ? Key(r.key) : std::vector<uint8_t>{});
        EXPECT_EQ(std::make_pair(n, int32_t(b->hit)), std::make_pair(r.fires, r.fires))
            << "code " << r.code << " key " << r.key << " shown " << r.shown << " also hidden " << r.alsoHidden;
        b->remove();
    }
    // A shortcut acts as a touch: the event function sees the hit and toggles a switch.
    auto toggle = gui->AddRoundButton(100, 100, 20);
    toggle->gadget->setMode(1);
    toggle->gadget->EventFunc = vesko::TTGUIGadget::DefaultEventAction;
    toggle->setKeyAction(80, 0);
    TGUIGadget::updateAll(Key(80));
    EXPECT_EQ(toggle->gadget->State, 1);
}

class TooltipTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        font = TImageFont::Load("data/gfx/gui/font.ttf", 12);
        ASSERT_TRUE(font);
        TGUIGadget::SetToolTipFont(font);
        TGUIGadget::SetToolTipBorderWidth(4);
    }
    // The texts drawn since the last call.
    std::vector<TDrawCall> Texts() {
        std::vector<TDrawCall> out;
        for (const auto& c : backend->calls) {
            if (c.kind == TDrawCall::Text) out.push_back(c);
        }
        backend->ClearLog();
        return out;
    }
    std::shared_ptr<TImageFont> font;
};

TEST_F(TooltipTest, WaitsItsTimeADifferentIdWaitsAgainImmediateShowsAtOnce) {
    std::vector<int32_t> shown;
    for (int32_t t = 0; t <= 1300; t += 10, clock->Advance(10)) {
        const std::string id = t < 300 ? "a" : t < 1200 ? "b" : "c";
        TGUIGadget::drawtooltip({"Tipp"}, 100, 100, id == "c", id);
        if (!Texts().empty()) shown.push_back(t);
    }
    // "b" from 300 ms shows at 1000 ms and stays; the immediate "c" follows without a gap.
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(std::make_pair(shown.front(), shown.size()), std::make_pair(1000, size_t(31)));

    // Through drawAll: a gadget's tooltip waits, the alternate lines away from gadgets do not.
    gui->AddRoundButton(100, 100, 20)->SetTooltip("Bauen");
    const std::tuple<int32_t, std::vector<int32_t>, std::vector<std::string>> frames[] = {
        {0, {100, 100}, {}}, {699, {100, 100}, {}}, {1, {100, 100}, {"Bauen"}}, {0, {300, 300}, {"Info"}}};
    for (const auto& [ms, pointer, want] : frames) {
        clock->Advance(ms);
        gui->drawAll(pointer, {"Info"}, "info");
        std::vector<std::string> said;
        for (const auto& c : Texts()) said.push_back(c.text);
        EXPECT_EQ(said, want) << ms;
    }
    TGUIGadget::SetToolTipEnable(0);
    TGUIGadget::drawtooltip({"Tipp"}, 100, 100, 1, "d");
    gui->drawAll({300, 300}, {"Info"}, "info");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(TooltipTest, BoxIsMovedLeftAndUpToStayOnScreen) {
    const float b = 4, lh = float(font->Height());
    // Requested point and the box's top left; -1 means flush with the right or bottom edge.
    const std::array<float, 4> rows[] = {
        {100, 100, 100, 120}, {630, 100, -1, 120}, {100, 470, 100, -1}, {635, 475, -1, -1}, {-10, -30, 0, 0}};
    int32_t i = 0;
    for (const auto& [x, y, left, top] : rows) {
        TGUIGadget::drawtooltip({"Erste Zeile", "Zwei"}, int32_t(x), int32_t(y), 1, "pos " + std::to_string(i++));
        const auto texts = Texts();
        ASSERT_EQ(texts.size(), 2u);
        const float W = std::max(texts[0].w, texts[1].w) + 2 * b, H = 2 * lh + 2 * b;
        const float boxX = texts[0].x - b, boxY = texts[0].y - b;
        EXPECT_EQ(boxX, left < 0 ? 640 - W : left) << x << "," << y;
        EXPECT_EQ(boxY, top < 0 ? 480 - H : top) << x << "," << y;
        EXPECT_EQ(std::make_pair(texts[1].x, texts[1].y), std::make_pair(texts[0].x, texts[0].y + lh));
        // Drawing is clipped to the box.
        EXPECT_EQ(std::make_pair(texts[0].viewportX, texts[0].viewportY), std::make_pair(int32_t(boxX), int32_t(boxY)));
    }
}

TEST(TooltipTextTest, SplitsAtBackslashN) {
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"", {}},           {"Bauen", {"Bauen"}},      {"a\\nb", {"a", "b"}},   {"a\\n", {"a", ""}},
        {"a\nb", {"a\nb"}}, {"a\\\\nb", {"a\\", "b"}}, {"\\n\\n", {"", "", ""}}};
    TGUIGadget g;
    for (const auto& [text, lines] : rows) {
        g.SetTooltip(text);
        EXPECT_EQ(g.tooltip, lines) << text;
    }
}

std::vector<double> FaceGreys(const TGUIGadget& g) {
    std::vector<double> out;
    for (const auto& state : {g.gadget->getState0Content(), g.gadget->getState1Content()}) {
        const auto& c = std::dynamic_pointer_cast<vesko::TCGroup>(state)->getContent(0)->formation.rgba;
        EXPECT_TRUE(c.getRed() == c.getGreen() && c.getGreen() == c.getBlue());
        out.push_back(c.getRed());
    }
    return out;
}

TEST_F(GadgetTest, HoverLightensTheFaceUnderThePointerOnlyWhenSwitchedOn) {
    auto b = gui->AddRoundButton(100, 100, 20), other = gui->AddRoundButton(300, 100, 20);
    const std::tuple<int32_t, std::vector<int32_t>, std::vector<double>> rows[] = {{1, {100, 100}, {255, 180}},
                                                                                   {1, {200, 300}, {225, 150}},
                                                                                   {1, {110, 95}, {255, 180}},
                                                                                   {1, {}, {225, 150}},
                                                                                   {0, {100, 100}, {225, 150}}};
    for (const auto& [hover, pointer, greys] : rows) {
        TGUIGadget::setShowHover(hover);
        gui->drawAll(pointer, {}, "");
        EXPECT_EQ(FaceGreys(*b), greys) << hover << " " << pointer.size();
        EXPECT_EQ(FaceGreys(*other), (std::vector<double>{225, 150}));
    }
}

TEST_F(GadgetTest, SpiralJumpsOutByItsStrengthAndEndsWhereItStarted) {
    // duration, turns, strength, x, y
    const std::array<float, 5> rows[] = {
        {500, 4, 4, 100, 100}, {500, 3, 1, 333, 77}, {300, 2.5f, 10, 17, 401}, {1, 1, 5, 50, 50}};
    for (const auto& [ms, turns, strength, x, y] : rows) {
        auto b = gui->AddRoundButton(x, y, 20);
        b->addAnimator(int32_t(ms), turns, strength);
        clock->Advance(1000);  // the run starts with its first step, not at creation
        std::vector<float> dist;
        while (!b->gadgetAnimatorList.empty() && dist.size() < 100) {
            Frame();
            dist.push_back(std::hypot(b->gadget->GetX(1) - x, b->gadget->GetY(1) - y));
        }
        ASSERT_FALSE(dist.empty());
        EXPECT_NEAR(dist.front(), strength, 2e-3) << ms << " " << turns;
        EXPECT_LE(*std::max_element(dist.begin(), dist.end()), strength + 2e-3);
        EXPECT_EQ(dist.size(), size_t(std::ceil(ms / 17.0f)) + 1);
        EXPECT_EQ(std::make_pair(b->gadget->GetX(1), b->gadget->GetY(1)), std::make_pair(x, y)) << ms << " " << turns;
        b->remove();
    }
}

TEST_F(GadgetTest, HiddenPanelLeavesACopyThatLeapsFallsFadesAndGoes) {
    TGUIElement panel;
    panel._mainGadget = gui->AddRoundButton(200, 300, 20);
    const auto Faces = [&] {  // the face's top and alpha, once per drawn copy
        backend->ClearLog();
        gui->drawAll({}, {}, "");
        std::vector<std::pair<float, float>> faces;
        for (const auto& c : backend->calls) {
            if (c.kind == TDrawCall::Image && c.source == gui->buttonImg.get()) faces.emplace_back(c.y, c.alpha);
        }
        return faces;
    };
    const float top = Faces().at(0).first;
    const size_t objects = vesko::TTouchObject::Registry().size();
    panel.HIDE();
    EXPECT_EQ(vesko::TTouchObject::Registry().size(), objects);  // the copy takes no touches
    // ms after hiding (in steps), rise (200 px/s up, 1500 px/s² down), alpha; gone after 500 ms
    const std::array<float, 3> rows[] = {{100, -12.5f, 0.8f}, {100, -10, 0.6f}, {200, 40, 0.2f}};
    for (const auto& [ms, dy, alpha] : rows) {
        clock->Advance(int32_t(ms));
        const auto faces = Faces();
        ASSERT_EQ(faces.size(), 1u) << ms;
        EXPECT_NEAR(faces[0].first, top + dy, 1e-3) << dy;
        EXPECT_NEAR(faces[0].second, alpha, 1e-3) << dy;
    }
    clock->Advance(101);
    TGUIGadget::updateAll({});
    EXPECT_TRUE(Faces().empty());
}

TEST_F(GadgetTest, BuildersMakeWholePixelButtonsOfTheirShape) {
    gui->circleImg = TImage::Create(60, 60);
    auto round = gui->AddRoundButton(50.7f, 60.2f, 15);
    auto drag = gui->AddMoveButton(200, 60, nullptr, nullptr, 0.5f);  // radius 60 × 0.5 × 0.5
    auto rect = gui->AddRectButton(300.9f, 50, 100, 40);
    EXPECT_EQ(std::make_pair(round->gadget->x, rect->gadget->x), std::make_pair(50.0f, 300.0f));
    EXPECT_EQ(FaceGreys(*round), (std::vector<double>{225, 150}));
    EXPECT_EQ(std::make_pair(drag->gadget->getCurrentTouchObject()->MoveActive(), drag->icon),
              std::make_pair(1, gui->moveImg));
    EXPECT_EQ(round->gadget->getCurrentTouchObject()->MoveActive(), 0);
    const std::pair<std::array<float, 2>, TGUIGadget*> rows[] = {
        {{64, 60}, round.get()}, {{66, 60}, nullptr},  {{214, 60}, drag.get()}, {{216, 60}, nullptr},
        {{399, 89}, rect.get()}, {{401, 60}, nullptr}, {{299, 60}, nullptr}};
    for (const auto& [p, want] : rows) {
        const auto object = vesko::TTouchObject::getTouchObjectAtPos(p[0], p[1]);
        EXPECT_EQ(TGUIGadget::FindByTouchObject(object.get()).get(), want) << p[0] << "," << p[1];
    }
}

TEST_F(GadgetTest, ShownGadgetsAreClampedToTheScreenUnlessSwitchedOff) {
    // x, y, correct position, shown → absolute position after an update
    const std::array<float, 6> rows[] = {{-30, 50, 1, 1, 0, 50},
                                         {700, 500, 1, 1, 640, 480},
                                         {-30, 50, 0, 1, -30, 50},
                                         {-30, 50, 1, 0, -30, 50},
                                         {320, 240, 1, 1, 320, 240}};
    for (const auto& [x, y, correct, shown, wx, wy] : rows) {
        auto b = gui->AddRoundButton(x, y, 20);
        b->SetAutoCorrectPositionEnable(int32_t(correct));
        if (!shown) b->gadget->HIDE();
        TGUIGadget::updateAll({});
        EXPECT_EQ(std::make_pair(b->gadget->GetX(1), b->gadget->GetY(1)), std::make_pair(wx, wy)) << x << "," << y;
        b->remove();
    }
    auto parent = gui->AddRoundButton(600, 10, 20);
    auto child = gui->AddRoundButton(100, 0, 10, parent.get());
    TGUIGadget::updateAll({});
    EXPECT_EQ(std::make_pair(child->gadget->x, child->gadget->GetX(1)), std::make_pair(40.0f, 640.0f));
}

TEST_F(GadgetTest, KeepOnScreenPullsThePanelInsideTopLeftWinning) {
    // A 100 × 50 panel with a knob of radius 10 reaching 30 px past its right edge.
    // screen w, h, panel x, y → panel x, y afterwards
    const std::array<float, 6> rows[] = {{640, 480, 600, 100, 510, 100},
                                         {640, 480, -40, -20, 0, 0},
                                         {640, 480, 300, 460, 300, 430},
                                         {640, 480, 100, 100, 100, 100},
                                         {100, 40, 50, 30, 0, 0}};
    for (const auto& [w, h, x, y, wx, wy] : rows) {
        TGUIElement panel;
        panel._mainGadget = gui->AddRectButton(0, 0, 100, 50);
        gui->AddRoundButton(120, 25, 10, panel._mainGadget.get());
        panel.SetPosition(x, y);
        panel.KeepOnScreen(w, h);
        EXPECT_EQ(std::make_pair(panel.GetX(), panel.GetY()), std::make_pair(wx, wy)) << x << "," << y;
        float l = 0, t = 0, r = 0, b = 0;
        ASSERT_TRUE(panel.GetBounds(l, t, r, b));
        EXPECT_EQ((std::array<float, 4>{l, t, r, b}), (std::array<float, 4>{wx, wy, wx + 130, wy + 50}));
        panel.Destroy();
    }
}

}  // namespace
