// The ground as the source of the block cache on a map larger than the view: blocks follow the
// view within the budget, a dropped block comes back from its tiles with what changed while it
// was away, and drawing blocks never draws from the world's random numbers.
#include <map>
#include <tuple>
#include <vector>

#include "RoadTestSupport.h"
#include "world/TGround.h"

namespace {

class GroundCacheTest : public RoadTest {
protected:
    static constexpr int32_t size = 96;

    void SetUp() override {
        RoadTest::SetUp();
        // A patterned land picture taller than its tile: blocks keep pixels and tiles overlap, so
        // the order the tiles are copied in shows.
        auto pix = TPixmap::Create(TConfig::tilewidth, TConfig::tileheight + 4);
        for (int32_t y = 0; y < pix->height; ++y) {
            for (int32_t x = 0; x < pix->width; ++x) pix->WritePixel(x, y, 0xFF000000u | uint32_t(x * 8 << 8 | y * 12));
        }
        land->picture[0] = TImage::FromPixmap(pix);
        land->picture[0]->SetHandle(0, 0.5f * float(TConfig::tileheight) + 4);
        for (auto& frame : town->image->pixmaps) frame->ClearPixels(0xFF505050u);
        world->Destroy();
        world = Big(5);
        rl = world->RoadLayer.get();
    }
    // Land with a river across it.
    std::shared_ptr<TLayer> Big(uint32_t seed) {
        auto l = TLayer::Create(size, size, vesko::TFastRandom::Create(seed));
        for (int32_t x = 0; x < size; ++x) {
            for (int32_t y = 0; y < size; ++y) l->_SetGround(x, y, x / 2 == 20, x / 2 == 20 ? water : land);
        }
        return l;
    }
    static void FrameAt(TLayer& l, float mx, float my) {
        float px = 0, py = 0;
        l.iso->ToIso(mx, my, px, py, 1);
        l.SetPosition(0.5f * l.getWidth(1) - px, -py, 1, 0);
        l._Draw(0);
    }
    // The pixels of the ground blocks held that have pixels of their own, by block index.
    static std::map<std::pair<int32_t, int32_t>, std::vector<uint32_t>> Held(const TLayer& l) {
        std::map<std::pair<int32_t, int32_t>, std::vector<uint32_t>> out;
        for (int32_t j = -40; j < 40; ++j) {
            for (int32_t i = -40; i < 40; ++i) {
                const auto* b = l.GroundLayer->cache.GetBlock(i, j, 1);
                if (!b || !b->image) continue;
                const uint32_t* p = b->image->pixmaps[0]->Row(0);
                out[{i, j}].assign(p, p + TOPPanel::blockSize * TOPPanel::blockSize);
            }
        }
        return out;
    }
};

TEST_F(GroundCacheTest, ADroppedBlockIsDrawnAgainFromItsTilesWithWhatChangedWhileItWasAway) {
    // Only the blocks on screen stay.
    world->GroundLayer->cache.keepPixelCopies = true;
    world->GroundLayer->cache.pixelBudget = 1;
    FrameAt(*world, 20, 20);
    const auto start = Held(*world);
    // Over the whole map: no more blocks than the screen shows.
    const size_t onScreenMax = 2 * (viewW / TOPPanel::blockSize + 2) * (viewH / TOPPanel::blockSize + 2);
    for (int32_t my = 0; my <= size; my += 12) {
        for (int32_t mx = 0; mx <= size; mx += 12) {
            FrameAt(*world, float(mx), float(my));
            EXPECT_LE(world->GroundLayer->cache.PixelBlockCount(0) + world->GroundLayer->cache.PixelBlockCount(1),
                      onScreenMax)
                << mx << " " << my;
        }
    }
    // The blocks under (20, 20) went while the view was away; a road is built there meanwhile.
    for (const auto& [key, pixels] : start) EXPECT_FALSE(world->GroundLayer->cache.GetBlock(key.first, key.second, 1));
    rl->BuildRoad(town, Line(16, 20, 24, 20), 0, 0);
    FrameAt(*world, 20, 20);
    const auto back = Held(*world);
    EXPECT_NE(back, start);

    // The same as in a world whose cache never dropped a block...
    auto fresh = Big(5);
    fresh->GroundLayer->cache.keepPixelCopies = true;
    fresh->RoadLayer->BuildRoad(town, Line(16, 20, 24, 20), 0, 0);
    FrameAt(*fresh, 20, 20);
    EXPECT_EQ(Held(*fresh), back);
    fresh->Destroy();

    // ... untouched by another world drawn meanwhile (a city loaded beside this one) ...
    auto other = TLayer::Create(8, 8, random);
    FrameAt(*other, 4, 4);
    EXPECT_EQ(Held(*world), back);
    other->Destroy();

    // ... and drawn again the same after the cache was emptied (the view changed size).
    world->GroundLayer->ForgetCache();
    world->GroundLayer->cache.keepPixelCopies = true;
    EXPECT_TRUE(Held(*world).empty());
    FrameAt(*world, 20, 20);
    EXPECT_EQ(Held(*world), back);
}

TEST_F(GroundCacheTest, DrawingBlocksFromTilesDrawsNoRandomNumbers) {
    // Animated water steps on the drawing generator as it is drawn; the blocks must not, however
    // often they are dropped and drawn again.
    TSettings::ShowWaterImageChange = 1;
    std::vector<std::pair<uint32_t, uint32_t>> states;
    for (const size_t budget : {size_t(1000), size_t(1)}) {
        world->Destroy();
        world = Big(9);
        for (int32_t y = 0; y < size; ++y) world->GroundLayer->_GetTile(40, y)->wateranim = 1;
        const std::pair<uint32_t, uint32_t> initial{world->drawRandom->a_seed, world->drawRandom->b_seed};
        world->GroundLayer->cache.pixelBudget = budget;
        for (int32_t step = 0; step < 40; ++step, clock->Advance(700)) FrameAt(*world, 40, float((step * 7) % size));
        states.push_back({world->drawRandom->a_seed, world->drawRandom->b_seed});
        EXPECT_NE(states.back(), initial);
    }
    EXPECT_EQ(states[0], states[1]);
}

}  // namespace
