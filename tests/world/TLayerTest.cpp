// The world layer: building a world from a map image, the camera (position, bounds, glide,
// animated zoom) and the calendar steps of the first updates.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../support/TempDir.h"
#include "WorldTestSupport.h"
#include "platform/TStream.h"
#include "world/TBuilding.h"
#include "world/TGround.h"
#include "world/TISO.h"
#include "world/TMiniMap.h"
#include "world/TTimeSystem.h"
#include "world/TTree.h"
#include "world/TWeatherLayer.h"

namespace {

class LayerTest : public WorldTest {
protected:
    std::shared_ptr<TLayer> Load(const std::shared_ptr<TPixmap>& pix) {
        const std::string path = dir.File("map.png");
        EXPECT_TRUE(SavePixmapPNG(*pix, path));
        return TLayer::LoadFromImage(path, random);
    }
    static bool IsWater(const TLayer& l, int32_t x, int32_t y) {
        auto g = l.GroundLayer->_GetTile(x, y);
        return g && g->water == 1;
    }
    // The map point under the screen centre.
    static void Centre(const TLayer& l, float& x, float& y) {
        l.iso->FromIso(0.5f * float(l.viewWidth), 0.5f * float(l.viewHeight), x, y);
    }
    TempDir dir;
};

struct TMoneyLog {
    std::vector<float> spends;
    float balance = 0;
};

int32_t LogSpend(void* context, float amount) {
    auto* log = static_cast<TMoneyLog*>(context);
    log->spends.push_back(amount);
    if (log->balance - amount < 0 && amount > 0) return 0;
    log->balance -= amount;
    return 1;
}

std::string FormatDate(void*, int32_t w, int32_t d, int32_t m, int32_t y) {
    return std::to_string(w) + "/" + std::to_string(d) + "/" + std::to_string(m) + "/" + std::to_string(y);
}

}  // namespace

TEST_F(LayerTest, MapColoursGiveWaterLandAndTreesIgnoringAlpha) {
    auto pix = MapImage(8, 1, 0x808080);
    pix->WritePixel(0, 0, 0xFF008080u);  // water
    pix->WritePixel(1, 0, 0x00000080u);  // water, alpha ignored
    pix->WritePixel(2, 0, 0xFF008081u);  // one bit off: land
    pix->WritePixel(3, 0, 0xFF004000u);  // trees 0 … 8
    pix->WritePixel(4, 0, 0xFF005000u);  // trees 9 … 11
    pix->WritePixel(5, 0, 0xFF006000u);  // trees 12 … 13
    pix->WritePixel(6, 0, 0xFF007000u);  // trees 14 … 15
    pix->WritePixel(7, 0, 0xFF282828u);  // road colour: land, no tree
    auto l = Load(pix);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->Width, 8);
    EXPECT_EQ(l->Height, 1);
    EXPECT_TRUE(IsWater(*l, 0, 0));
    EXPECT_TRUE(IsWater(*l, 1, 0));
    for (int32_t x = 2; x < 8; ++x) {
        ASSERT_TRUE(l->GroundLayer->_GetTile(x, 0)) << x;
        EXPECT_FALSE(IsWater(*l, x, 0)) << x;
    }
    EXPECT_FALSE(l->BuildingLayer->_GetTree(2, 0));
    EXPECT_FALSE(l->BuildingLayer->_GetTree(7, 0));
    const std::pair<int32_t, int32_t> ranges[] = {{0, 8}, {9, 11}, {12, 13}, {14, 15}};
    for (int32_t i = 0; i < 4; ++i) {
        auto t = l->BuildingLayer->_GetTree(3 + i, 0);
        ASSERT_TRUE(t) << i;
        EXPECT_GE(t->Frame, ranges[i].first);
        EXPECT_LE(t->Frame, ranges[i].second);
    }
}

TEST_F(LayerTest, BottomImageRowIsMapRowZero) {
    auto pix = MapImage(3, 4, 0x808080);
    pix->WritePixel(0, 0, 0xFF000080u);  // top left of the picture
    pix->WritePixel(2, 3, 0xFF008080u);  // bottom right
    auto l = Load(pix);
    ASSERT_TRUE(l);
    EXPECT_TRUE(IsWater(*l, 0, 3));
    EXPECT_TRUE(IsWater(*l, 2, 0));
    EXPECT_FALSE(IsWater(*l, 0, 0));
    EXPECT_FALSE(IsWater(*l, 2, 3));
}

TEST_F(LayerTest, OneByOneMapsLoadAsTheirSingleTile) {
    auto w = Load(MapImage(1, 1, 0x000080));
    ASSERT_TRUE(w);
    EXPECT_TRUE(IsWater(*w, 0, 0));
    auto l = Load(MapImage(1, 1, 0x008081));
    ASSERT_TRUE(l);
    EXPECT_FALSE(IsWater(*l, 0, 0));
    // The camera centres the only tile (a truncated middle tile would centre its far corner,
    // off the map, and the move would be refused).
    l->midPosition(0);
    float x = 0, y = 0;
    Centre(*l, x, y);
    EXPECT_NEAR(x, 0.5f, 1e-4f);
    EXPECT_NEAR(y, 0.5f, 1e-4f);
    // An odd-sized map is centred on its middle too.
    auto odd = TLayer::Create(5, 3, random);
    odd->midPosition(0);
    Centre(*odd, x, y);
    EXPECT_NEAR(x, 2.5f, 1e-4f);
    EXPECT_NEAR(y, 1.5f, 1e-4f);
}

TEST_F(LayerTest, NarrowMapLoadsAndDraws) {
    auto l = Load(MapImage(1, 500, 0x808080));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->Height, 500);
    l->Update(0, 0, 0, 0);
    EXPECT_FALSE(backend->calls.empty());
}

TEST_F(LayerTest, UnreadableMapImagesGiveNoWorld) {
    EXPECT_FALSE(TLayer::LoadFromImage(dir.File("missing.png"), random));
    TStream::WriteFile(dir.File("empty.png"))->Close();
    EXPECT_FALSE(TLayer::LoadFromImage(dir.File("empty.png"), random));
    auto text = TStream::WriteFile(dir.File("text.png"));
    text->WriteLine("this is not a picture");
    text->Close();
    EXPECT_FALSE(TLayer::LoadFromImage(dir.File("text.png"), random));
    // A PNG cut off in the middle.
    std::string bytes;
    ASSERT_TRUE(SavePixmapPNG(*MapImage(16, 16, 0x808080), dir.File("whole.png")));
    ASSERT_TRUE(LoadBytes(dir.File("whole.png"), bytes));
    auto cut = TStream::WriteFile(dir.File("cut.png"));
    cut->Write(bytes.data(), int32_t(bytes.size() / 2));
    cut->Close();
    EXPECT_FALSE(TLayer::LoadFromImage(dir.File("cut.png"), random));
}

TEST_F(LayerTest, SizesTheWorldCannotHoldAreRefused) {
    EXPECT_FALSE(TLayer::Create(0, 10, random));
    EXPECT_FALSE(TLayer::Create(4096, 4096, random));
    auto big = TLayer::Create(512, 512, random);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->GroundLayer->Width, 512);
}

TEST_F(LayerTest, CameraStartsAtTheMapCentreAndCannotLeaveTheMap) {
    auto l = TLayer::Create(64, 32, random);
    ASSERT_TRUE(l);
    l->midPosition(0);
    float x = 0, y = 0;
    Centre(*l, x, y);
    EXPECT_NEAR(x, 32.0f, 0.01f);
    EXPECT_NEAR(y, 16.0f, 0.01f);
    EXPECT_NEAR(l->GetX(), l->iso->moveX + 0.5f * l->getWidth(1) - 0.5f * viewW, 1e-3f);

    // A position whose centre lies off the map is refused with the check, taken without it.
    const float px = l->iso->moveX, py = l->iso->moveY;
    l->SetPosition(100000, 0, 1, 0);
    EXPECT_EQ(l->iso->moveX, px);
    EXPECT_EQ(l->iso->moveY, py);
    l->SetPosition(100000, 0, 0, 0);
    EXPECT_NE(l->iso->moveX, px);

    // Moving step by step stops at the edge: the centre stays on a map tile.
    l->midPosition(0);
    for (int32_t i = 0; i < 400; ++i) l->Move(0, 25);
    Centre(*l, x, y);
    EXPECT_TRUE(l->_InField(static_cast<int32_t>(x), static_cast<int32_t>(y)));
    EXPECT_FALSE(l->_MoveInView(l->iso->moveX, l->iso->moveY + 25));
    EXPECT_TRUE(l->_MoveInView(l->iso->moveX, l->iso->moveY - 25));
}

TEST_F(LayerTest, GlideReachesItsTargetAfter200Ms) {
    auto l = TLayer::Create(64, 64, random);
    l->midPosition(0);
    const float startX = l->iso->moveX;
    const float goalX = l->GetX() + 100;
    l->SetPosition(goalX, l->GetY(), 1, 1);
    EXPECT_EQ(l->iso->moveX, startX);
    clock->Advance(100);
    l->_updateMovement();
    EXPECT_NEAR(l->iso->moveX, startX + 50, 0.01f);  // half way, smooth(0.5) = 0.5
    clock->Advance(150);
    l->_updateMovement();
    EXPECT_NEAR(l->GetX(), goalX, 0.01f);
    EXPECT_EQ(l->movementStartMS, -1);
}

TEST_F(LayerTest, ZoomTargetsStepBySqrtTwoAndClamp) {
    auto l = TLayer::Create(64, 64, random);
    l->midPosition(0);
    l->zoomIn(1);
    EXPECT_NEAR(l->tsx, std::sqrt(2.0f), 1e-5f);
    l->zoomIn(1);  // multiplies the running target
    EXPECT_NEAR(l->tsx, 2.0f, 1e-5f);
    EXPECT_FLOAT_EQ(l->asx, 1.0f);
    l->Scale(100, 100);
    EXPECT_FLOAT_EQ(l->tsx, 4.0f);
    EXPECT_FLOAT_EQ(l->tsy, 4.0f);
    l->scaleTicker.reset();
    for (int32_t i = 0; i < 10; ++i) l->zoomOut(1);
    EXPECT_FLOAT_EQ(l->tsx, 0.5f);
    l->SetMapScale(9, 0.1f, 0);
    EXPECT_FLOAT_EQ(l->iso->ScaleX, 4.0f);
    EXPECT_FLOAT_EQ(l->iso->ScaleY, 0.5f);
}

TEST_F(LayerTest, AnimatedZoomEasesToItsTargetAndKeepsTheCentre) {
    auto l = TLayer::Create(64, 64, random);
    l->midPosition(0);
    l->Move(40, -30);
    float cx0 = 0, cy0 = 0;
    Centre(*l, cx0, cy0);
    l->zoomIn(1);
    // Half of a single step's 500 ms: smooth(0.5)^2 = 0.25 of the way.
    clock->Advance(250);
    l->_updateScale();
    EXPECT_NEAR(l->iso->ScaleX, 1.0f + 0.25f * (std::sqrt(2.0f) - 1.0f), 1e-4f);
    ASSERT_TRUE(l->scaleTicker);
    clock->Advance(250);
    l->_updateScale();
    EXPECT_NEAR(l->iso->ScaleX, std::sqrt(2.0f), 1e-4f);
    EXPECT_FALSE(l->scaleTicker);
    float cx = 0, cy = 0;
    Centre(*l, cx, cy);
    EXPECT_NEAR(cx, cx0, 0.05f);
    EXPECT_NEAR(cy, cy0, 0.05f);

    // A ratio of four steps (0.5 -> 2) runs four times as fast per tick: done after 500 ms too,
    // because the rate grows with the ratio.
    l->SetMapScale(0.5f, 0.5f, 1);
    l->Scale(4, 4);
    clock->Advance(500);
    l->_updateScale();
    EXPECT_NEAR(l->iso->ScaleX, 2.0f, 1e-4f);
}

TEST_F(LayerTest, FirstStepRunsNewDayAndNewMonthThenOnlyOnChanges) {
    auto l = TLayer::Create(16, 16, random);
    TMoneyLog money;
    money.balance = 0;
    l->setExpendMoneyFunc(LogSpend, &money);
    EXPECT_EQ(l->currentDay, -1);
    EXPECT_FLOAT_EQ(l->timeSystem->getSpeedPerSecond(), 4.8f);

    l->Simulate();
    EXPECT_EQ(l->currentDay, 0);
    EXPECT_EQ(l->dateDay, 1);
    EXPECT_EQ(l->dateMonth, 1);
    EXPECT_EQ(l->dateYear, 1);
    EXPECT_EQ(l->dateWeekDay, 1);
    // The month step spent the upkeep, then credited the taxes (both 0 without buildings).
    ASSERT_EQ(money.spends.size(), 2u);
    // The day step moved the weather on: a change from value 3 begins on day 0.
    EXPECT_EQ(l->WeatherLayer->lastDay, 0);
    EXPECT_GT(l->WeatherLayer->nextUpdateDay, 0);

    l->Simulate();
    EXPECT_EQ(money.spends.size(), 2u);

    l->timeSystem->SetHour(24.0f * 5 + 12);  // day 5, half past
    l->Simulate();
    EXPECT_EQ(l->currentDay, 5);
    EXPECT_NEAR(l->currentDayPart, 0.5f, 1e-5f);
    EXPECT_EQ(l->dateDay, 6);
    EXPECT_EQ(money.spends.size(), 2u);  // same month

    l->timeSystem->SetHour(24.0f * 31);  // 1 February
    l->Simulate();
    EXPECT_EQ(l->dateMonth, 2);
    EXPECT_EQ(l->dateDay, 1);
    EXPECT_EQ(money.spends.size(), 4u);
}

TEST_F(LayerTest, CalendarRunsAtTheGameSpeed) {
    auto l = TLayer::Create(16, 16, random);
    l->setGameSpeed(2.0f);
    EXPECT_FLOAT_EQ(l->getGameSpeed(), 2.0f);
    EXPECT_FLOAT_EQ(l->timeSystem->getSpeedPerSecond(), 9.6f);
    l->setGetRealDateFunc(FormatDate, nullptr);
    // Day 31 is Saturday 1 February (weekday 3 of the walk), year 1; each counted from 1.
    EXPECT_EQ(l->getRealDateOfDay(31), "4/1/2/1");
}

TEST_F(LayerTest, FrameTimeFactorFollowsTheClock) {
    auto l = TLayer::Create(16, 16, random);
    l->Update(0, 0, 0, 0);
    clock->Advance(50);  // three sixtieths of a second
    l->Update(0, 0, 0, 0);
    EXPECT_NEAR(l->getTimeSpeed(), 3.0f, 1e-3f);
    EXPECT_EQ(l->optRender, 0);
}

TEST_F(LayerTest, MinimapShowsGroundAndTrees) {
    auto pix = MapImage(4, 4, 0x808080);
    pix->WritePixel(0, 3, 0xFF000080u);  // map (0, 0): water
    pix->WritePixel(3, 3, 0xFF004000u);  // map (3, 0): tree
    auto l = Load(pix);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->mm->Read(0, 0, TMiniMap::Layer_Map), 0xFF405779u);
    EXPECT_EQ(l->mm->Read(3, 0, TMiniMap::Layer_Map), 0xFF706F4Du);
    EXPECT_EQ(l->mm->Read(2, 2, TMiniMap::Layer_Map), 0xFF807D5Au);
    // Clearing the tree shows the ground again.
    l->BuildingLayer->_Clear(3, 0);
    EXPECT_EQ(l->mm->Read(3, 0, TMiniMap::Layer_Map), 0xFF807D5Au);
    const auto outline = l->_GetMiniMapOutline();
    EXPECT_FLOAT_EQ(outline[0], 0.0f);
    EXPECT_FLOAT_EQ(outline[1], 2.0f);  // left corner at half the map height
}

TEST_F(LayerTest, ThingUnderThePointerIsTheTreeOnThatTile) {
    auto l = TLayer::Create(16, 16, random);
    l->midPosition(0);
    l->_PlantTree(8, 8, 3);
    float sx = 0, sy = 0;
    l->iso->ToIso(8.5f, 8.5f, sx, sy);
    auto thing = l->getThingAtPos(sx, sy);
    auto* t = std::get_if<std::shared_ptr<TTree>>(&thing);
    ASSERT_TRUE(t);
    EXPECT_EQ((*t)->Frame, 3);
    EXPECT_EQ(l->IsFree(8, 8), 1);  // a tree does not occupy the tile
    l->iso->ToIso(2.5f, 2.5f, sx, sy);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(l->getThingAtPos(sx, sy)));
    // Centring on the tree puts its tile under the screen centre.
    l->midPosition(0);
    EXPECT_EQ(l->focusOnThis(thing, 0), 1);
    float cx = 0, cy = 0;
    Centre(*l, cx, cy);
    EXPECT_NEAR(cx, 8.0f, 0.01f);
    EXPECT_NEAR(cy, 8.0f, 0.01f);
    EXPECT_EQ(l->focusOnThis(TLayer::TThing{}, 0), 0);
}

TEST_F(LayerTest, ThePointerFindsWhatItsPixelShowsFrontMostFirstAndLooksThroughSeeThroughPixels) {
    auto l = TLayer::Create(16, 16, random);
    l->midPosition(0);
    // A tower one tile wide and four tiles tall: opaque but for a see-through 16 x 16 notch at
    // its top left, standing on its tile as the plugin loader places building pictures.
    const auto tower = [](const std::string& kind) {
        auto p = MakePlugin("tower_" + kind, kind, 0xFF806040u);
        auto pix = TPixmap::Create(32, 64);
        pix->ClearPixels(0xFF806040u);
        for (int32_t y = 0; y < 16; ++y) {
            for (int32_t x = 0; x < 16; ++x) pix->WritePixel(x, y, 0x00FF00FFu);
        }
        p->picture[0] = TImage::FromPixmap(pix);
        p->picture[0]->SetHandle(0, 56);
        return p;
    };
    auto back = l->BuildingLayer->_SetTile(8, 8, tower("residentalbuilding"));
    // One row further down the screen: drawn after, in front.
    auto front = l->BuildingLayer->_SetTile(9, 8, tower("industrialbuilding"));
    ASSERT_TRUE(back && front);
    // Opaque trees: one behind the back tower's notch, one before the foot of its wall.
    TBuildingLayer::treeImg->pixmaps[2]->ClearPixels(0xFF208020u);
    l->_PlantTree(5, 11, 2);
    l->_PlantTree(9, 7, 2);
    const TLayer::TThing behind = l->BuildingLayer->_GetTree(5, 11), before = l->BuildingLayer->_GetTree(9, 7), none;
    // Offsets from the back tower's place on screen in picture pixels (scaled by the zoom), the
    // building kind the hide tool hides, and what the pointer finds there.
    const struct {
        float zoom, dx, dy;
        const char* hidden;
        TLayer::TThing expected;
    } cases[] = {
        {1, 24, -50, "", back},   // its roof, three tiles above its own and over the tree
        {1, 8, -50, "", behind},  // its see-through notch shows the tree behind
        {1, 24, -30, "", front},  // both towers' walls: the front one
        {1, 20, -45, "", back},   // the front tower's notch shows the back one
        {1, 4, 0, "", before},    // a tree before the wall hides it
        {2, 24, -50, "", back},   // zoomed in, the same pixels
        {2, 24, -30, "", front},
        {1, 24, -30, "industrialbuilding", back},  // a hidden kind is looked through
        {1, 24, -50, "residentalbuilding", behind},
        {1, 40, -58, "", none},  // beside everything: bare ground
    };
    for (const auto& c : cases) {
        l->iso->ScaleX = l->iso->ScaleY = c.zoom;
        l->BuildingLayer->hideStructureTyp.clear();
        if (*c.hidden) l->BuildingLayer->hideStructureTyp.push_back(TPicturePlugin::StructureOf(c.hidden));
        float sx = 0, sy = 0;
        l->iso->ToIso(8, 8, sx, sy);
        EXPECT_TRUE(l->getThingAtPos(sx + c.zoom * c.dx, sy + c.zoom * c.dy) == c.expected)
            << c.zoom << " " << c.dx << "," << c.dy << " " << c.hidden;
    }
}

TEST_F(LayerTest, DestroyReleasesTheLayersAndTheCurrentWorld) {
    auto l = TLayer::Create(16, 16, random);
    EXPECT_EQ(TLayer::Current(), l.get());
    l->Destroy();
    EXPECT_FALSE(l->GroundLayer);
    EXPECT_FALSE(l->BuildingLayer);
    EXPECT_FALSE(l->iso);
    EXPECT_EQ(TLayer::Current(), nullptr);
    // A destroyed world ignores further frames instead of crashing.
    l->Update(0, 0, 0, 0);
}
