#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/TTouchObject.h"
#include "framework/TTouchPoint.h"
#include "gui/TGUI.h"
#include "gui/TGUIGadget.h"
#include "platform/TClock.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TRecordingBackend.h"

// A GUI on the recording back end and a manual clock, with 40 × 40 pictures for the buttons,
// and fingers fed frame by frame in the game's order.
class GUITest : public testing::Test {
protected:
    void SetUp() override {
        TClock::SetSource(clock);
        backend = TGraphics::HeadlessGraphics(640, 480);
        TGUIGadget::SetToolTipEnable(1);
        TGUIGadget::SetToolTipAnimEnable(0);
        TGUIGadget::SetToolTipWaitTime(700);
        TGUIGadget::setShowHover(0);
        Open(640, 480);
    }
    void TearDown() override {
        TGUIGadget::Clear();
        TGUIGadget::SetToolTipFont(nullptr);
        vesko::TTouchObject::ResetRegistry();
        TGraphics::EndGraphics();
        TClock::SetSource(nullptr);
    }
    // A fresh GUI of w × h; the gadgets and touch objects of the previous one are forgotten.
    void Open(int32_t w, int32_t h) {
        TGUIGadget::Clear();
        vesko::TTouchObject::ResetRegistry();
        points.clear();
        gui = TGUI::Create(w, h);
        for (auto field : {&TGUI::buttonImg, &TGUI::circleImg, &TGUI::moveImg, &TGUI::sidebarButtonImg})
            (*gui).*field = TImage::Create(40, 40);
        TGUIGadget::Init(gui);
    }
    std::shared_ptr<vesko::TTouchPoint> Press(float x, float y) {
        auto p = vesko::TTouchPoint::Create(x, y);
        p->Active = 1;
        return points.emplace_back(p);
    }
    // What runs in one frame after the clock moved on.
    virtual void Step() {
        vesko::TTouchObject::Update(points, 1.0f);
        gui->updateAll(keys);
    }
    // One frame; afterwards the fingers are old and at rest, ended ones gone, no key is hit.
    void Frame(int32_t ms = 17) {
        clock->Advance(ms);
        Step();
        for (auto& p : points) {
            p->lastx = p->x;
            p->lasty = p->y;
            p->_n = 0;
        }
        std::erase_if(points, [](const auto& p) { return !p->Active; });
        keys.clear();
    }
    // Pressed in one frame and let go in the next; the gadget fires in the frame after.
    void Tap(float x, float y) {
        auto p = Press(x, y);
        Frame();
        p->Active = 0;
        Frame();
    }
    static std::vector<uint8_t> Key(int32_t code) {
        std::vector<uint8_t> k(256);
        k[size_t(code - 1)] = 1;
        return k;
    }

    std::shared_ptr<TManualClock> clock = std::make_shared<TManualClock>(10000);
    std::shared_ptr<TRecordingBackend> backend;
    std::shared_ptr<TGUI> gui;
    std::vector<std::shared_ptr<vesko::TTouchPoint>> points;
    std::vector<uint8_t> keys;
};

// A game function counting its calls in the int its context points to.
inline int32_t Count(void* context) {
    ++*static_cast<int32_t*>(context);
    return 0;
}
