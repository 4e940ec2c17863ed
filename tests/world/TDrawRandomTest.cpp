// Drawing animates from the world's drawing generator alone: however many frames are drawn,
// the generator the simulation draws from stays where it was.
#include <gtest/gtest.h>

#include <utility>

#include "BuildingTestSupport.h"
#include "platform/TDrawState.h"
#include "world/TGround.h"
#include "world/TSmoke.h"
#include "world/TSmokeCloud.h"
#include "world/TWeatherLayer.h"

namespace {

class DrawRandomTest : public BuildingTest {
protected:
    void SetUp() override {
        BuildingTest::SetUp();
        TSmoke::images[0] = TImage::Create(32, 32, TConfig::smokeMaxFrames);
        TWeatherLayer::rainImg = TImage::Create(64, 64);
    }
    void TearDown() override {
        TSmoke::images = {};
        TWeatherLayer::rainImg.reset();
        BuildingTest::TearDown();
    }
    static std::pair<uint32_t, uint32_t> State(const vesko::TFastRandom& r) { return {r.a_seed, r.b_seed}; }
};

TEST_F(DrawRandomTest, SmokeLightningAndWaterDrawNothingFromTheWorldsGenerator) {
    auto water2 = MakePlugin("test_water2", "water", 0xFF1030A0u);
    TGroundLayer::_AddWater(water2);
    TSettings::ShowWaterImageChange = 1;
    Water(8, 8, 9, 12);
    auto pond = world->GroundLayer->_GetTile(8, 10);
    pond->wateranim = 1;
    const auto firstPicture = pond->shown;
    auto chimney = Kind("industrialbuilding", 1, 1, 0);
    chimney->smokehandlerid = {0};
    chimney->smokehandlerx = {0};
    chimney->smokehandlery = {10};
    chimney->smokehandlergeschw = {1000};
    // Finished and counted as reached by road, but not through a working day yet.
    auto b = Built(chimney, 11, 10);
    b->noneededroad = 0;
    ASSERT_EQ(b->smoke.size(), 1u);
    world->WeatherLayer->currentMode = world->WeatherLayer->lastMode = 6;  // a storm

    const auto before = State(*world->random);
    const auto drawBefore = State(*world->drawRandom);
    bool flashed = false, pictureChanged = false;
    for (int32_t frame = 0; frame < 200; ++frame) {
        clock->Advance(100);
        backend->ClearLog();
        world->_Draw(0);
        for (const auto& c : backend->calls)
            flashed |= c.kind == TDrawCall::Rect && c.blend == LIGHTBLEND && c.r == 100;
        pictureChanged |= pond->shown != firstPicture;
    }
    // Each animation ran ...
    EXPECT_TRUE(flashed);
    EXPECT_TRUE(pictureChanged);
    EXPECT_FALSE(b->smoke[0]->sm.empty());
    EXPECT_NE(State(*world->drawRandom), drawBefore);
    // ... and the simulation's generator and the building's working state are as they were:
    // only the daily update decides whether a building works.
    EXPECT_EQ(State(*world->random), before);
    EXPECT_EQ(b->work, 0);
}

}  // namespace
