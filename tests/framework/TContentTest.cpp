// Contents drawn through the recording back end (formation, handle under scale and rotation,
// each kind's drawing), colour arithmetic and packing, animations on the manual clock.
#include <gtest/gtest.h>

#include "framework/TC2DObject.h"
#include "framework/TCAnimation.h"
#include "framework/TCFunc.h"
#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TCText.h"
#include "platform/TClock.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"

using namespace vesko;
using Vec4 = std::array<double, 4>;

namespace {

class ContentTest : public testing::Test {
protected:
    void SetUp() override {
        TClock::SetSource(clock);
        backend = TGraphics::HeadlessGraphics(320, 200);
    }
    void TearDown() override {
        TCPicture::setUseIntPosition(false);
        TGraphics::EndGraphics();
        TClock::SetSource(nullptr);
    }
    std::vector<TDrawCall> Calls(TDrawCall::Kind kind) const {
        std::vector<TDrawCall> out;
        for (const auto& c : backend->calls) {
            if (c.kind == kind) out.push_back(c);
        }
        return out;
    }
    std::shared_ptr<TManualClock> clock = std::make_shared<TManualClock>(5000);
    std::shared_ptr<TRecordingBackend> backend;
};

TEST(TCRGBATest, PacksPixelsInEveryByteOrder) {
    using Packed = std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, uint8_t, uint8_t>;
    const std::pair<Vec4, Packed> rows[] = {
        {{255, 128, 0, 1.0}, {0xFF8000FFu, 0x0080FFFFu, 0xFF8000u, 0x0080FFu, 127, 255}},
        {{1.9, 2, 3, 0.5}, {0x0102037Fu, 0x0302017Fu, 0x010203u, 0x030201u, 2, 127}},  // truncated
        {{256, 0, 0, 0.0}, {0, 0, 0, 0, 85, 0}},                                       // low byte of 256
    };
    for (const auto& [v, want] : rows) {
        const auto c = TCRGBA::Create(v[0], v[1], v[2], v[3]);
        EXPECT_EQ(Packed(c->ConvertToRGBA8888(), c->ConvertToBGRA8888(), c->ConvertToRGB888(), c->ConvertToBGR888(),
                         c->ConvertToI8(), c->ConvertToA8()),
                  want);
    }
}

TEST(TCRGBATest, ReadsPixelsAndTheShortFormsKeepAlpha) {
    const uint8_t bytes[4] = {10, 20, 30, 51};
    const std::pair<void (TCRGBA::*)(const uint8_t*), Vec4> rows[] = {{&TCRGBA::ConvertFromRGBA8888, {10, 20, 30, 0.2}},
                                                                      {&TCRGBA::ConvertFromBGRA8888, {30, 20, 10, 0.2}},
                                                                      {&TCRGBA::ConvertFromRGB888, {10, 20, 30, 0.75}},
                                                                      {&TCRGBA::ConvertFromBGR888, {30, 20, 10, 0.75}}};
    for (const auto& [read, want] : rows) {
        auto c = TCRGBA::Create(1, 1, 1, 0.75);
        ((*c).*read)(bytes);
        EXPECT_EQ(c->vec, want);
    }
    auto c = TCRGBA::Create(1, 2, 3, 0.75);
    c->ConvertFromI8(77);
    c->ConvertFromA8(255);
    EXPECT_EQ(c->vec, (Vec4{77, 77, 77, 1.0}));
}

TEST(TCRGBATest, ArithmeticWrapsColoursToBytesButNotAlpha) {
    const auto a = TCRGBA::Create(200, 16, 5, 0.5), b = TCRGBA::Create(100, 16, 10, 0.25);
    EXPECT_EQ(a->add(*b)->vec, (Vec4{44, 32, 15, 0.75}));
    EXPECT_EQ(a->sub(*b)->vec, (Vec4{100, 0, 251, 0.25}));
    EXPECT_EQ(a->multiple(*b)->vec, (Vec4{32, 0, 50, 0.125}));  // 20000 & 255, 256 & 255
    EXPECT_EQ(a->vec, (Vec4{200, 16, 5, 0.5}));                 // operands unchanged
}

TEST_F(ContentTest, ColourUseAndTheFormationGoIntoTheDrawingState) {
    TCRGBA::Create(10.9, 20.5, 30.1, 0.4)->Use(0, 1);
    EXPECT_EQ(std::make_pair(DrawState().color_red, GetAlpha()), std::make_pair(255, 0.4f));
    auto pic = TCPicture::Create(4, 4);
    EXPECT_EQ(pic->formation.rgba.vec, (Vec4{255, 255, 255, 1}));
    pic->formation.SetColor(12.9, 34, 56);
    pic->formation.SetRotation(30);
    pic->formation.Turn(15);
    pic->Draw(0, 0);
    const auto c = Calls(TDrawCall::Image).at(0);
    EXPECT_EQ(std::make_tuple(c.r, c.g, c.b, c.alpha, c.rotation), std::make_tuple(12, 34, 56, 1.0f, 45.0f));
}

TEST_F(ContentTest, DrawMovesThePositionBackByTheScaledAndTurnedHandle) {
    const std::array<float, 7> rows[] = {// handle x, y, scale x, y, angle, drawn x, y
                                         {0, 0, 1, 1, 0, 100, 50},
                                         {10, 0, 1, 1, 90, 100, 40},
                                         {10, 5, 2, 2, 0, 80, 40},
                                         {10, 5, 2, 1, 180, 120, 55},
                                         {0, 10, 1, 3, -90, 70, 50}};
    for (const auto& [hx, hy, sx, sy, angle, wantX, wantY] : rows) {
        auto pic = TCPicture::Create(20, 10);
        pic->SetHandle(hx, hy);
        pic->formation.SetScale(sx, sy);
        pic->formation.SetRotation(angle);
        backend->ClearLog();
        pic->Draw(100, 50);
        const auto c = Calls(TDrawCall::Image).at(0);
        EXPECT_NEAR(c.x, wantX, 1e-4) << angle;
        EXPECT_NEAR(c.y, wantY, 1e-4) << angle;
        EXPECT_EQ(std::make_tuple(c.rotation, c.scaleX, c.source),
                  std::make_tuple(angle, sx, (const void*)pic->img.get()));
    }
}

TEST_F(ContentTest, FitInAndMidHandles) {
    const std::array<float, 5> rows[] = {{100, 50, 1, 0.25f, 0.25f}, {100, 50, 0, 0.5f, 0.25f}, {400, 600, 1, 2, 2}};
    auto pic = TCPicture::Create(200, 200);
    for (const auto& [w, h, keep, sx, sy] : rows) {
        pic->FitIn(w, h, int32_t(keep));
        EXPECT_EQ(pic->formation.Scale.vec, (std::array<float, 2>{sx, sy}));
    }
    auto odd = TCPicture::Create(21, 11);
    odd->MidHandle();
    EXPECT_EQ(std::make_pair(odd->handle_x, odd->handle_y), std::make_pair(10.5f, 5.5f));
    odd->MidIntHandle();
    EXPECT_EQ(std::make_pair(odd->handle_x, odd->handle_y), std::make_pair(10.0f, 5.0f));
}

TEST_F(ContentTest, IntegerPositionsFollowUseIntAndTheClassSetting) {
    const std::tuple<int32_t, bool, float, float> rows[] = {
        {1, false, 10, -5}, {0, true, 10.75f, -5.5f}, {-1, true, 10, -5}, {-1, false, 10.75f, -5.5f}};
    for (const auto& [useInt, classWide, x, y] : rows) {
        TCPicture::setUseIntPosition(classWide);
        backend->ClearLog();
        TCPicture::Create(4, 4, -1, useInt)->Draw(10.75f, -5.5f);
        const auto c = Calls(TDrawCall::Image).at(0);
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(x, y)) << useInt << classWide;
    }
}

TEST_F(ContentTest, PictureFromAFrameTakesThatFramesPixelsAndFailuresGiveNone) {
    auto strip = TImage::Create(2, 2, 3);
    strip->Lock(1)->WritePixel(1, 1, 0xFF112233u);
    strip->Unlock(1);
    auto pic = TCPicture::FromImageFrame(strip, 1);
    ASSERT_TRUE(pic);
    EXPECT_EQ(std::make_pair(pic->img->FrameCount(), pic->img->pixmaps[0]->ReadPixel(1, 1)),
              std::make_pair(1, 0xFF112233u));
    EXPECT_FALSE(TCPicture::FromImageFrame(strip, 3) || TCPicture::FromImageFrame(nullptr, 0) ||
                 TCPicture::Load("no/such/picture.png") || TCAnimation::Load("no/such.png", 4, 4, 2, 10, 1) ||
                 TCAnimation::Create(4, 4, 0, 10, 1));
}

TEST_F(ContentTest, AnimationKindsStepThroughTheirFramesOnTheClock) {
    const std::pair<int32_t, std::vector<int32_t>> rows[] = {
        // one draw per 100 ms at 10 per second
        {TCAnimation::kindOnce, {0, 1, 2, 3, 3, 3}},
        {TCAnimation::kindLoop, {0, 1, 2, 3, 0, 1}},
        {TCAnimation::kindForthAndBack, {0, 1, 2, 3, 2, 1, 0, 0, 1}},  // rests on frame 0 for two ticks
        {TCAnimation::kindManual, {0, 0, 0}}};
    for (const auto& [kind, shown] : rows) {
        auto anim = TCAnimation::Create(8, 8, 4, 10, kind);
        for (size_t i = 0; i < shown.size(); ++i, clock->Advance(100)) {
            backend->ClearLog();
            anim->Draw(0, 0);
            EXPECT_EQ(Calls(TDrawCall::Image).at(0).frame, shown[i]) << kind << " draw " << i;
        }
    }
}

TEST_F(ContentTest, AnimationSkipsFramesAfterGapsManualConsumesTicksAndHandleGoesOnTheImage) {
    auto anim = TCAnimation::Create(8, 8, 5, 20, TCAnimation::kindLoop);
    clock->Advance(350);  // 7 ticks: 7 mod 5
    anim->Draw(0, 0);
    EXPECT_EQ(anim->getFrame(), 2);
    anim->kind = TCAnimation::kindManual;
    anim->setFrame(4);
    clock->Advance(100);
    anim->Draw(0, 0);
    anim->kind = TCAnimation::kindLoop;
    auto copy = std::static_pointer_cast<TCAnimation>(anim->Copy());
    clock->Advance(50);
    anim->SetHandle(3, 4);
    backend->ClearLog();
    anim->Draw(50, 60);  // the manual draw took its two ticks: one more moves 4 to 0
    copy->Draw(0, 0);    // with a shared emitter the copy would find no tick left
    const auto c = Calls(TDrawCall::Image).at(0);
    EXPECT_EQ(std::make_tuple(c.frame, c.x, c.y, c.handleX, c.handleY), std::make_tuple(0, 47.0f, 56.0f, 3.0f, 4.0f));
    EXPECT_EQ(copy->getFrame(), 0);
}

TEST_F(ContentTest, TimeEmitterCountsWholeAndFractionalTicksAcrossTheClockWrap) {
    clock->now = 0xFFFFFFF0u;
    auto t = TCTimeEmitter::Create(60);
    clock->Advance(49);  // 2.94 ticks
    EXPECT_EQ(t->Get(), 2);
    EXPECT_EQ(t->Get(), 0);
    clock->Advance(26);  // 4.5 ticks, 2 of them counted
    EXPECT_NEAR(t->GetF(), 2.5f, 1e-4);
    t->Reset();
    clock->Advance(1000);
    EXPECT_EQ(t->Copy()->Get(), 60);
    EXPECT_EQ(t->Get(), 60);  // the copy counted its own ticks
    EXPECT_EQ(TCTimeEmitter::Create(0)->Get(), 0);
}

TEST_F(ContentTest, GroupDrawsChildrenInOrderWithTheirOwnFormations) {
    auto a = TCPicture::Create(10, 30), b = TCPicture::Create(40, 20);
    b->SetHandle(5, 5);
    b->formation.SetColor(255, 0, 0);
    auto group = a->SumToGroup(b);
    EXPECT_EQ(std::make_pair(group->getWidth(), group->getHeight()), std::make_pair(40.0f, 30.0f));
    group->Draw(100, 100);
    std::vector<std::tuple<const void*, float, int32_t>> got;
    for (const auto& c : Calls(TDrawCall::Image)) got.emplace_back(c.source, c.x, c.g);
    EXPECT_EQ(got, (decltype(got){{a->img.get(), 100.0f, 255}, {b->img.get(), 95.0f, 0}}));
    auto copy = std::static_pointer_cast<TCGroup>(group->Copy());
    copy->getContent(0)->formation.SetAlpha(0.1);
    EXPECT_EQ(a->formation.GetAlpha(), 1.0);  // children are copied, not shared
    group->removeContent(TCPicture::Create(1, 1));
    group->removeContent(b);
    EXPECT_EQ(std::make_pair(group->getContents(), group->getWidth()),
              std::make_pair(std::vector<std::shared_ptr<TContent>>{a}, 10.0f));
    EXPECT_EQ(a->SumContentsToGroup({b, a})->countContents(), 3);
}

std::shared_ptr<void> KeepPosition(TCFunc&, float x, float y) {
    return std::make_shared<std::pair<float, float>>(x, y);
}

TEST_F(ContentTest, FunctionContentGetsTheHandledPositionAndKeepsItsResult) {
    auto fn = TCFunc::Create();
    fn->Draw(1, 1);  // no function: nothing happens
    fn->setFunc(&KeepPosition);
    fn->SetHandle(2, 3);
    fn->Draw(10, 10);
    using Pos = std::pair<float, float>;
    EXPECT_EQ(*std::static_pointer_cast<Pos>(fn->lastResult), Pos(8, 7));
}

TEST_F(ContentTest, GeometryObjectDrawsItsPixmapsAtTheMovedOrigin) {
    auto obj = T2DObject::Create();
    obj->addPixmap(TPixmap::Create(3, 3));
    obj->addPixmap(TPixmap::Create(5, 2));
    SetOrigin(7, 8);
    TC2DObject::Load(obj)->Draw(30, 40);
    std::vector<std::tuple<const void*, float, float, float>> got;
    for (const auto& c : Calls(TDrawCall::Pixmap)) got.emplace_back(c.source, c.x, c.originX, c.originY);
    EXPECT_EQ(got, (decltype(got){{obj->pixmaps[0].get(), 0, 30, 40}, {obj->pixmaps[1].get(), 0, 30, 40}}));
    EXPECT_EQ(std::make_pair(DrawState().origin_x, DrawState().origin_y), std::make_pair(7.0f, 8.0f));
}

TEST_F(ContentTest, TextDrawsInItsFontAndMeasuresItself) {
    auto font = TImageFont::Load("data/gfx/gui/font.ttf", 12);
    ASSERT_TRUE(font);
    auto text = TCText::Create("Vallmora", font, 1);
    EXPECT_EQ(std::make_pair(text->getWidth(), text->getHeight()),
              std::make_pair(font->TextWidth("Vallmora"), float(font->Height())));
    text->Draw(12.6f, 7.9f);
    const auto c = Calls(TDrawCall::Text).at(0);
    EXPECT_EQ(std::make_tuple(c.source, c.text, c.x, c.y),
              std::make_tuple((const void*)font.get(), std::string("Vallmora"), 12.0f, 7.0f));
    EXPECT_EQ(TCText::Create("x", nullptr)->getWidth(), 0.0f);
}

}  // namespace
