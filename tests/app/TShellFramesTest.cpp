// The shell's per-frame pieces: FPS meter, fade filters, and the order of the render steps,
// all through the manual clock and the recording back end.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/TApplication.h"
#include "app/TBlendInFilter.h"
#include "app/TBlendOutFilter.h"
#include "app/TEventReceiver.h"
#include "app/TFPSCounter.h"
#include "gui/TGUI.h"
#include "platform/TClock.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TRecordingBackend.h"
#include "settings/TSettings.h"

namespace {
class ShellTest : public testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<TManualClock>(100000);
        TClock::SetSource(clock);
        backend = TGraphics::HeadlessGraphics(640, 480);
    }
    void TearDown() override {
        TGraphics::EndGraphics();
        TClock::SetSource(nullptr);
        TSettings::ShowFPSAndVersion = 1;
        TSettings::ShowDebugInfo = 0;
        TSettings::Gamma = 0;
    }
    std::vector<TDrawCall> CallsOf(TDrawCall::Kind kind) const {
        std::vector<TDrawCall> out;
        for (const TDrawCall& c : backend->calls) {
            if (c.kind == kind) out.push_back(c);
        }
        return out;
    }
    std::shared_ptr<TManualClock> clock;
    std::shared_ptr<TRecordingBackend> backend;
};

// An application as the shell builds it, but without settings files, window or game.
std::shared_ptr<TApplication> HeadlessApp() {
    auto app = TApplication::Create();
    app->xmax = 640;
    app->ymax = 480;
    return app;
}
}  // namespace

TEST_F(ShellTest, FpsCounterStartsUnsmoothedThenSmoothsAndCountsZeroAsOneMs) {
    auto fps = TFPSCounter::Create();
    EXPECT_FLOAT_EQ(fps->getFPS(), -1.0f);
    clock->Advance(20);
    fps->Update();
    EXPECT_FLOAT_EQ(fps->getFPS(), 1000.0f / 20 + 0.5f);
    fps->Update();  // 0 ms counts as 1 ms: 1000.5 fps
    EXPECT_FLOAT_EQ(fps->getFPS(), 50.5f * 0.95f + 1000.5f * 0.05f);
    EXPECT_FLOAT_EQ(fps->getMaxFPS(), 1000.5f);
    EXPECT_FLOAT_EQ(fps->getMinFPS(), 50.5f);
}

TEST_F(ShellTest, BlendOutWaitsForItsStartThenFadesToTheColour) {
    auto f = TBlendOutFilter::Create(Millisecs() + 100, 1000, *vesko::TCRGBA::Create(10, 20, 30, 0.8));
    f->Draw();
    EXPECT_TRUE(CallsOf(TDrawCall::Rect).empty());
    clock->Advance(600);
    f->Draw();
    auto rects = CallsOf(TDrawCall::Rect);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_NEAR(rects[0].alpha, 0.8f * 0.5f, 1e-6);
    EXPECT_EQ(rects[0].r, 10);
    EXPECT_EQ(rects[0].w, 640);
    EXPECT_EQ(rects[0].h, 480);
    EXPECT_TRUE(f->IsValid());
    clock->Advance(500);
    EXPECT_FALSE(f->IsValid());
}

TEST_F(ShellTest, BlendInFadesFromTheColourAndHasNoStartCheck) {
    auto f = TBlendInFilter::Create(Millisecs() + 1000, 1000, *vesko::TCRGBA::Create(0, 0, 0, 1.0));
    f->Draw();
    clock->Advance(1500);
    f->Draw();
    auto rects = CallsOf(TDrawCall::Rect);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_GE(rects[0].alpha, 1.0f);  // before its start the colour covers everything
    EXPECT_NEAR(rects[1].alpha, 0.5f, 1e-6);
}

TEST_F(ShellTest, ExpiredFilterIsDrawnOnceThenRemovedAndCallsItsGameFunction) {
    auto app = HeadlessApp();
    static int called = 0;
    called = 0;
    auto f = TBlendInFilter::Create(Millisecs() - 5000, 1000, *vesko::TCRGBA::Create(255, 255, 255, 1.0));
    f->setGameFunc([](void*) -> int32_t { return ++called; }, nullptr);
    app->addFilter(f);
    app->_renderFilter();
    EXPECT_EQ(CallsOf(TDrawCall::Rect).size(), 1u);
    EXPECT_TRUE(app->currentFilterList.empty());
    EXPECT_EQ(called, 1);
    app->_renderFilter();
    EXPECT_EQ(CallsOf(TDrawCall::Rect).size(), 1u);
}

TEST_F(ShellTest, GammaLightensAdditivelyOrDarkensByMultiplication) {
    auto app = HeadlessApp();
    TSettings::Gamma = 0;
    app->_renderGamma();
    EXPECT_TRUE(CallsOf(TDrawCall::Rect).empty());
    TSettings::Gamma = 60;
    app->_renderGamma();
    TSettings::Gamma = -60;
    app->_renderGamma();
    auto rects = CallsOf(TDrawCall::Rect);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].blend, LIGHTBLEND);
    EXPECT_EQ(rects[0].r, 60);
    EXPECT_EQ(rects[1].blend, SHADEBLEND);
    EXPECT_EQ(rects[1].g, 195);
    EXPECT_EQ(GetBlend(), ALPHABLEND);
}

TEST_F(ShellTest, RenderRunsItsStepsInOrder) {
    auto app = HeadlessApp();
    TSettings::Gamma = 30;
    app->addFilter(TBlendInFilter::Create(Millisecs(), 1000, *vesko::TCRGBA::Create(0, 0, 0, 1.0)));
    backend->ClearLog();
    app->render(1, 1, 0, 1, 1, 1);
    std::vector<TDrawCall::Kind> kinds;
    for (const TDrawCall& c : backend->calls) kinds.push_back(c.kind);
    // Version line, five shadow copies and the pointer, the fade, the gamma overlay, the flip.
    const std::vector<TDrawCall::Kind> expected = {
        TDrawCall::Text,  TDrawCall::Image, TDrawCall::Image, TDrawCall::Image, TDrawCall::Image,
        TDrawCall::Image, TDrawCall::Image, TDrawCall::Rect,  TDrawCall::Rect,  TDrawCall::Flip};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(backend->calls[0].text.rfind("Unreleased Version, current FPS: ", 0), 0u);
    // The shadow is black at alpha 0.15 one pixel around (x+1, y+1); the pointer white on top.
    EXPECT_EQ(backend->calls[1].r, 0);
    EXPECT_NEAR(backend->calls[1].alpha, 0.15f, 1e-6);
    EXPECT_EQ(backend->calls[6].r, 255);
    EXPECT_EQ(backend->calls[7].alpha, 1.0f);
}

TEST_F(ShellTest, NoInfoLineWhenSwitchedOffAndDebugLinesShowOnce) {
    auto app = HeadlessApp();
    TSettings::ShowFPSAndVersion = 0;
    TSettings::ShowDebugInfo = 1;
    app->_showVersionAndFPS();
    EXPECT_TRUE(CallsOf(TDrawCall::Text).empty());
    app->writeToStdOut("eins");
    app->writeToStdOut("zwei");
    app->writeToStdOut("drei");
    app->_showVersionAndFPS();
    auto texts = CallsOf(TDrawCall::Text);
    ASSERT_EQ(texts.size(), 3u);
    const float h = texts[0].h;
    ASSERT_GT(h, 0);
    EXPECT_EQ(texts[0].text, "Stdout: eins");
    EXPECT_EQ(texts[0].x, 0);
    EXPECT_EQ(texts[0].y, h);
    EXPECT_EQ(texts[1].text, "zwei");
    EXPECT_GT(texts[1].x, 0);
    EXPECT_EQ(texts[1].y, 2 * h);
    EXPECT_EQ(texts[2].y, 3 * h);
    EXPECT_TRUE(app->stdOut.empty());
    app->_showVersionAndFPS();
    EXPECT_EQ(CallsOf(TDrawCall::Text).size(), 3u);
}

TEST_F(ShellTest, ConsoleLinesAreKeptButBoundedWhileTheDebugDisplayIsOff) {
    auto app = HeadlessApp();
    for (int i = 0; i < 1000; ++i) app->writeToStdOut("line " + std::to_string(i));
    EXPECT_EQ(app->stdOut.size(), TApplication::maxStdOutLines);
    EXPECT_EQ(app->stdOut.back(), "line 999");
}

TEST_F(ShellTest, CursorFrameShowsForOneFrameOnly) {
    auto app = HeadlessApp();
    app->setMouseFrame(TApplication::MouseFrame_Move);
    app->_drawMouse(10, 20);
    app->_drawMouse(10, 20);
    auto images = CallsOf(TDrawCall::Image);
    ASSERT_EQ(images.size(), 12u);
    EXPECT_EQ(images[5].frame, TApplication::MouseFrame_Move);
    EXPECT_EQ(images[5].x, 10);
    EXPECT_EQ(images[11].frame, TApplication::MouseFrame_Default);
    EXPECT_EQ(images[0].x, 11);
    EXPECT_EQ(images[0].y, 21);
}

TEST_F(ShellTest, BackEndNamesSelectTheirDriverAndEverythingElseDirect3D9) {
    EXPECT_EQ(TApplication::DriverFromName("dx7"), TGraphicsDriver::D3D7);
    EXPECT_EQ(TApplication::DriverFromName("DX7"), TGraphicsDriver::D3D7);
    EXPECT_EQ(TApplication::DriverFromName("ogl"), TGraphicsDriver::OpenGL);
    EXPECT_EQ(TApplication::DriverFromName("dx9"), TGraphicsDriver::D3D9);
    EXPECT_EQ(TApplication::DriverFromName(" ogl"), TGraphicsDriver::D3D9);
    EXPECT_EQ(TApplication::DriverFromName("vulkan"), TGraphicsDriver::D3D9);
}

TEST_F(ShellTest, GuiResourcesAreLoadedFromTheInterfaceFolder) {
    auto app = HeadlessApp();
    app->_prepareGUI();
    ASSERT_TRUE(app->gui);
    EXPECT_TRUE(app->gui->DefaultFont);
    EXPECT_TRUE(app->gui->largeFont);
    EXPECT_TRUE(app->gui->buttonOkImg);
    EXPECT_TRUE(app->gui->infNoiseImg);
    EXPECT_TRUE(app->gui->techlevelImg[5]);
    ASSERT_TRUE(app->gui->smileysImg);
    EXPECT_EQ(app->gui->smileysImg->FrameCount(), 5);
    EXPECT_EQ(app->gui->smileysImg->width, 15);
    EXPECT_EQ(app->gui->textCol_red.getRed(), 100);
    EXPECT_EQ(app->gui->textCol_light.GetAlpha(), 0.5);
    ASSERT_TRUE(app->mouseImg);
    EXPECT_EQ(app->mouseImg->FrameCount(), 3);
    EXPECT_EQ(app->mouseImg->handle_x, 16);
}

TEST(InterfaceFactorTest, ConfiguredOrTheQuarterStepNearestTheDisplayDensity) {
    // "UI scale", the display's dots per inch (0: unknown), the factor, whether a line says so.
    const std::tuple<float, float, float, bool> cases[] = {
        {2.0f, 96.0f, 2.0f, false}, {1.25f, 0.0f, 1.25f, false}, {0.0f, 96.0f, 1.0f, true},
        {0.0f, 144.0f, 1.5f, true}, {0.0f, 110.0f, 1.25f, true}, {0.0f, 0.0f, 1.0f, true},
        {0.0f, 600.0f, 3.0f, true}, {0.0f, 40.0f, 0.75f, true}};
    for (const auto& [configured, dpi, factor, said] : cases) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(TApplication::InterfaceFactor(configured, dpi), factor) << configured << " " << dpi;
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("UI scale from the display", 0) == 0, said) << out;
    }
}
