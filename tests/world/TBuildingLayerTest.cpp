// The building layer's object grid (trees) and its drawing walk, checked through the
// recording back end: back-to-front order, the block cache before the cells, the influence
// colours baked into the cache, see-through mode and per-frame switches; scaffolds, cranes and
// previews of buildings, and the plugin lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <variant>

#include "BuildingTestSupport.h"
#include "WorldTestSupport.h"
#include "platform/TDrawState.h"
#include "plugins/TInfluenceMask.h"
#include "world/TGroundTint.h"
#include "world/TISO.h"
#include "world/TInfluenceLayer.h"
#include "world/TMiniMap.h"
#include "world/TTree.h"

namespace {

class BuildingLayerTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        // A land picture with a pattern, so that cache blocks keep their own pixels.
        auto pix = TPixmap::Create(TConfig::tilewidth, TConfig::tileheight);
        for (int32_t y = 0; y < pix->height; ++y) {
            for (int32_t x = 0; x < pix->width; ++x) pix->WritePixel(x, y, 0xFF000000u | uint32_t(x * 8) << 8);
        }
        land->picture[0]->SetPixmap(0, pix);
        TGroundLayer::blackImg = TImage::Create(TConfig::tilewidth, TConfig::tileheight);
        TGroundLayer::blackImg->SetHandle(0, 0.5f * float(TConfig::tileheight));
        world = TLayer::Create(16, 16, random);
        for (int32_t x = 0; x < 16; ++x) {
            for (int32_t y = 0; y < 16; ++y) world->_SetGround(x, y, 0, land);
        }
        world->midPosition(0);
        bl = world->BuildingLayer.get();
    }
    void TearDown() override {
        world.reset();
        WorldTest::TearDown();
    }
    std::vector<TDrawCall> TreeCalls() const {
        std::vector<TDrawCall> out;
        for (const auto& c : backend->calls) {
            if (c.source == TBuildingLayer::treeImg.get()) out.push_back(c);
        }
        return out;
    }
    void Frame() {
        backend->ClearLog();
        world->_Draw(0);
    }
    std::shared_ptr<TLayer> world;
    TBuildingLayer* bl = nullptr;
};

}  // namespace

TEST_F(BuildingLayerTest, TreesLiveInTheGridOnlyOnTheMap) {
    bl->_PlantTree(3, 4, 7);
    auto t = bl->_GetTree(3, 4);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Frame, 7);
    EXPECT_EQ(t->x, 3);
    EXPECT_EQ(t->GetCol(), int32_t(0xFF706F4Du));
    EXPECT_TRUE(std::holds_alternative<std::shared_ptr<TTree>>(bl->_GetTile(3, 4, 0)));
    // Off the map nothing is stored and nothing is found.
    bl->_PlantTree(-1, 0, 1);
    bl->_PlantTree(16, 0, 1);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(bl->_GetTile(-1, 0, 1)));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(bl->_GetTile(16, 0, 1)));
    // A random frame stays among the first 15.
    for (int32_t i = 0; i < 50; ++i) {
        bl->_PlantTree(5, 5, -1);
        EXPECT_LE(bl->_GetTree(5, 5)->Frame, 14);
    }
    // Trees block a footprint only when asked to.
    EXPECT_EQ(bl->_IsFree(2, 3, 3, 3, 0), 1);
    EXPECT_EQ(bl->_IsFree(2, 3, 3, 3, 1), 0);
    EXPECT_EQ(bl->_IsFree(14, 14, 3, 1, 0), 0);  // leaves the map
    EXPECT_EQ(bl->_OnMap(13, 15, 3, 1), 1);
    bl->_Clear(3, 4);
    EXPECT_FALSE(bl->_GetTree(3, 4));
    bl->_delTree(bl->_GetTree(5, 5));
    EXPECT_FALSE(bl->_GetTree(5, 5));
    EXPECT_EQ(bl->_GetCol(5, 5), 0);
    EXPECT_EQ(TTree::Create(0, 0, 16, nullptr)->GetCol(), 0xFF);
}

TEST_F(BuildingLayerTest, WalkDrawsEveryVisibleTreeOnceBackToFront) {
    for (int32_t x = 0; x < 16; ++x) {
        for (int32_t y = 0; y < 16; ++y) bl->_PlantTree(x, y, (x + y) % 16);
    }
    Frame();
    const auto calls = TreeCalls();
    ASSERT_FALSE(calls.empty());
    for (size_t i = 1; i < calls.size(); ++i) {
        ASSERT_LE(calls[i - 1].y, calls[i].y) << "tree " << i << " is drawn behind an earlier one";
        if (calls[i - 1].y == calls[i].y) {
            EXPECT_LT(calls[i - 1].x, calls[i].x);
        }
    }
    std::set<std::pair<float, float>> seen;
    for (const auto& c : calls) EXPECT_TRUE(seen.insert({c.x, c.y}).second) << "drawn twice";
    // The whole 16 x 16 map fits in the view: every tree is drawn.
    EXPECT_EQ(calls.size(), 256u);
    float sx = 0, sy = 0;
    world->iso->ToIso(0, 15, sx, sy);
    EXPECT_FLOAT_EQ(calls.front().x, sx);
    EXPECT_FLOAT_EQ(calls.front().y, sy);
}

TEST_F(BuildingLayerTest, CacheBlocksComeBeforeTheCellsAndCachedGroundIsNotRedrawn) {
    bl->_PlantTree(8, 8, 2);
    Frame();  // fills the cache
    Frame();
    std::set<const void*> blocks;
    for (int32_t layer = 0; layer < 2; ++layer) {
        for (int32_t i = -8; i <= 8; ++i) {
            for (int32_t j = -8; j <= 8; ++j) {
                if (auto* b = world->GroundLayer->cache.GetBlock(i, j, layer); b && b->image)
                    blocks.insert(b->image.get());
            }
        }
    }
    ASSERT_FALSE(blocks.empty());
    size_t lastBlock = 0, firstTree = backend->calls.size(), groundDraws = 0;
    for (size_t i = 0; i < backend->calls.size(); ++i) {
        const auto& c = backend->calls[i];
        if (blocks.count(c.source)) lastBlock = i;
        if (c.source == TBuildingLayer::treeImg.get()) firstTree = std::min(firstTree, i);
        if (c.source == land->picture[0].get()) ++groundDraws;
    }
    ASSERT_LT(firstTree, backend->calls.size());
    EXPECT_LT(lastBlock, firstTree);
    EXPECT_EQ(groundDraws, 0u);
    // The cache is drawn scaled with the view.
    world->SetMapScale(2, 2, 1);
    Frame();
    bool scaledBlock = false;
    for (const auto& c : backend->calls) {
        if (blocks.count(c.source)) scaledBlock = scaledBlock || (c.scaleX == 2.0f && c.scaleY == 2.0f);
    }
    EXPECT_TRUE(scaledBlock);
}

TEST_F(BuildingLayerTest, InfluenceColoursAreBakedIntoTheCachedGround) {
    world->GroundLayer->cache.keepPixelCopies = true;
    // The land picture cut to its diamond, so that each tile's centre holds its own pixel.
    auto pix = land->picture[0]->pixmaps[0];
    for (int32_t y = 0; y < pix->height; ++y) {
        for (int32_t x = 0; x < pix->width; ++x) {
            if (std::abs(2 * x + 1 - pix->width) * pix->height + std::abs(2 * y + 1 - pix->height) * pix->width >
                pix->width * pix->height)
                pix->WritePixel(x, y, 0);
        }
    }
    auto mask = TInfluenceMask::CreateFromValues(0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0, 100, 100, 100, 0);
    world->InfluenceLayer->_setValue(8, 8, TInfluenceLayer::infFireDepartment, 50);
    Frame();
    Frame();
    const size_t plainCalls = backend->calls.size();
    // The cached pixel at the centre of tile (x, y); the land picture's centre is 0xFF008000.
    auto cached = [&](int32_t x, int32_t y) {
        float px = 0, py = 0;
        world->GroundLayer->_PlanePos(float(x), float(y), px, py);
        px += 0.5f * float(TConfig::tilewidth);
        py += 0.5f * float(TConfig::tileheight);
        const int32_t i = TOPPanel::BlockIndex(px), j = TOPPanel::BlockIndex(py);
        const auto* block = world->GroundLayer->cache.GetBlock(i, j, 1);
        if (!block || !block->image) return 0u;
        return block->image->pixmaps[0]->ReadPixel(int32_t(px) - i * TOPPanel::blockSize,
                                                   int32_t(py) - j * TOPPanel::blockSize);
    };
    // The tiles drawn on their own in a frame, by their colour.
    auto frame = [&](const std::shared_ptr<TInfluenceMask>& shown) {
        world->GroundLayer->setInfluenceMask(shown);  // set by the build tool before every frame
        Frame();
        std::map<std::tuple<int32_t, int32_t, int32_t>, int32_t> drawn;
        for (const auto& c : backend->calls) {
            if (c.source == land->picture[0].get()) ++drawn[{c.r, c.g, c.b}];
        }
        return drawn;
    };
    using TDrawn = std::map<std::tuple<int32_t, int32_t, int32_t>, int32_t>;
    ASSERT_EQ(cached(8, 8), 0xFF008000u);
    // Shown: the blocks are drawn again from their tiles in their colours in the same frame; no
    // tile is drawn on its own, and the frame is the plain one.
    EXPECT_EQ(frame(mask), TDrawn{});
    EXPECT_EQ(backend->calls.size(), plainCalls);
    EXPECT_EQ(cached(8, 8), 0xFF004000u);
    EXPECT_EQ(cached(1, 1), 0xFF000000u);
    // New values show at once; a changed tile is drawn in its own colour.
    world->InfluenceLayer->_setValue(1, 1, TInfluenceLayer::infFireDepartment, 100);
    EXPECT_EQ(frame(mask), TDrawn{});
    EXPECT_EQ(cached(1, 1), 0xFF008000u);
    world->GroundLayer->_UpdateTile(4, 4);
    EXPECT_EQ(frame(mask), (TDrawn{{{255, 0, 0}, 1}}));
    int32_t r = 0, g = 0, b = 0;
    GetColor(r, g, b);
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(255, 255, 255));
    EXPECT_EQ(frame(mask), TDrawn{});
    // Taken away: the ground is plain again.
    EXPECT_EQ(frame(nullptr), TDrawn{});
    EXPECT_EQ(cached(8, 8), 0xFF008000u);
    EXPECT_EQ(cached(1, 1), 0xFF008000u);
}

TEST(GroundTint, TexelMultipliesAsTheColourAtItsAlpha) {
    const struct {
        uint32_t colour, texel;
    } cases[] = {
        {0xFF7F7F00u, 0xFF7F7F00u}, {0x00123456u, 0xFFFFFFFFu}, {0x80FF0000u, 0xFFFF7F7Fu}, {0x80000000u, 0xFF7F7F7Fu}};
    for (const auto& c : cases) EXPECT_EQ(TGroundTint::Texel(c.colour), c.texel) << std::hex << c.colour;
    // A pixel times its multiplier keeps its alpha; white keeps the pixel.
    const struct {
        uint32_t pixel, texel, out;
    } products[] = {{0x80FF8040u, 0xFFFFFFFFu, 0x80FF8040u},
                    {0xFF008000u, 0xFF7F7F00u, 0xFF004000u},
                    {0xFFFFFFFFu, 0xFF7F7F7Fu, 0xFF7F7F7Fu},
                    {0xC0FF80FFu, 0xFF000000u, 0xC0000000u}};
    for (const auto& c : products) EXPECT_EQ(TGroundTint::Multiply(c.pixel, c.texel), c.out) << std::hex << c.pixel;
}

TEST_F(BuildingLayerTest, SeeThroughModeFadesByDistanceForOneFrame) {
    bl->_PlantTree(8, 8, 0);
    bl->_PlantTree(8, 9, 0);
    bl->_PlantTree(8, 11, 0);
    bl->_PlantTree(8, 15, 0);
    bl->transparency = 1;
    bl->tx = 8;
    bl->ty = 8;
    Frame();
    std::map<float, float> alphaByY;
    for (const auto& c : TreeCalls()) alphaByY[c.y] = c.alpha;
    const std::pair<int32_t, float> expected[] = {{8, 0.25f}, {9, 0.25f}, {11, 0.5f}, {15, 0.75f}};
    for (const auto& [y, alpha] : expected) {
        float sx = 0, sy = 0;
        world->iso->ToIso(8, float(y), sx, sy);
        ASSERT_TRUE(alphaByY.count(sy)) << y;
        EXPECT_NEAR(alphaByY[sy], alpha, 1e-6f) << y;
    }
    EXPECT_EQ(bl->transparency, 0);
    Frame();
    for (const auto& c : TreeCalls()) EXPECT_FLOAT_EQ(c.alpha, 1.0f);
}

TEST_F(BuildingLayerTest, HiddenTreesAndPreviewsLastOneFrame) {
    bl->_PlantTree(4, 4, 1);
    world->hideBuildings(1, 0, 0, 0, 0, 1, 1);
    EXPECT_EQ(bl->hideStructureTyp, (std::vector<TPicturePlugin::TStructure>{TPicturePlugin::TStructure::Award,
                                                                             TPicturePlugin::TStructure::Residential}));
    Frame();
    EXPECT_TRUE(TreeCalls().empty());
    EXPECT_TRUE(bl->hideStructureTyp.empty());
    Frame();
    EXPECT_EQ(TreeCalls().size(), 1u);

    // A tree preview is drawn once at its tile; a second one for the same tile is refused.
    EXPECT_EQ(bl->_addbmthing(10, 3, nullptr, 9, 1, 0, 0), 1);
    EXPECT_EQ(bl->_addbmthing(10, 3, nullptr, 4, 1, 0, 0), 0);
    Frame();
    float sx = 0, sy = 0;
    world->iso->ToIso(10, 3, sx, sy);
    int32_t previews = 0;
    for (const auto& c : TreeCalls()) {
        if (c.frame == 9 && c.x == sx && c.y == sy) ++previews;
    }
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(bl->_bm_a, 0);
    Frame();
    for (const auto& c : TreeCalls()) EXPECT_NE(c.frame, 9);
}

TEST_F(BuildingLayerTest, OverTheInfluenceColoursABuildPreviewKeepsADarkOutline) {
    auto house = MakePlugin("outlined_house", "residentalbuilding", 0xFF806040u);
    // Whether the ground shows a building's influence mask, whether the preview is a mark (as
    // the building info tool sets) rather than a building being placed, whether the pointer is
    // over a panel (previews fade), the zoom, and the outline expected: its offset in pixels and
    // alpha (0: none).
    const struct {
        bool tinted, mark, overPanel;
        float zoom, offset, alpha;
    } cases[] = {
        {true, false, false, 1, 1, 1.0f}, {false, false, false, 1, 0, 0},  {true, true, false, 1, 0, 0},
        {true, false, false, 2, 2, 1.0f}, {true, false, true, 1, 1, 0.2f},
    };
    for (const auto& c : cases) {
        world->iso->ScaleX = world->iso->ScaleY = c.zoom;
        if (c.tinted) world->GroundLayer->setInfluenceMask(TInfluenceMask::Create({}, 1));
        bl->_addbmthing(6, 6, house, 0, 0, c.mark ? 1 : 0, 0);
        backend->ClearLog();
        world->_Draw(c.overPanel ? 1 : 0);
        float sx = 0, sy = 0;
        world->iso->ToIso(6, 6, sx, sy);
        std::vector<TDrawCall> calls;
        for (const auto& call : backend->calls) {
            if (call.source == house->picture[0].get()) calls.push_back(call);
        }
        // The outline first, four black copies around the place, then the tinted preview.
        const size_t outline = c.alpha > 0 ? 4 : 0;
        ASSERT_GT(calls.size(), outline) << c.zoom;
        std::set<std::pair<float, float>> offsets;
        for (size_t i = 0; i < outline; ++i) {
            EXPECT_EQ(std::make_tuple(calls[i].r, calls[i].g, calls[i].b), std::make_tuple(0, 0, 0));
            EXPECT_FLOAT_EQ(calls[i].alpha, c.alpha);
            offsets.insert({calls[i].x - sx, calls[i].y - sy});
        }
        if (outline) {
            EXPECT_EQ(offsets, (std::set<std::pair<float, float>>{
                                   {-c.offset, 0}, {c.offset, 0}, {0, -c.offset}, {0, c.offset}}));
        }
        EXPECT_EQ(std::make_pair(calls[outline].x, calls[outline].y), std::make_pair(sx, sy));
        EXPECT_NE(std::make_tuple(calls.back().r, calls.back().g, calls.back().b), std::make_tuple(0, 0, 0));
    }
}

TEST_F(BuildingLayerTest, BlackRingCoversTheViewAroundTheMap) {
    // Far off the map's corner only the black ring is in view, and it is drawn.
    world->SetPosition(world->GetX(), world->GetY(), 0, 0);
    world->iso->moveX += 700;
    Frame();
    bool black = false;
    for (const auto& c : backend->calls) black = black || c.source == TGroundLayer::blackImg.get();
    EXPECT_TRUE(black);
}

TEST_F(BuildingLayerTest, FootprintCellOffsetsFollowTheViewScale) {
    world->SetMapScale(2, 2, 0);
    float x = 100, y = 50;
    bl->_getDrawPos(x, y, 1, 2);
    EXPECT_FLOAT_EQ(x, 100 + 3 * 16 * 2);
    EXPECT_FLOAT_EQ(y, 50 + 1 * 8 * 2);
}

// --- buildings on the layer ---------------------------------------------------------------

namespace {

class BuildingLayerDrawTest : public BuildingTest {
protected:
    void Frame(int32_t previewFlag = 0) {
        backend->ClearLog();
        world->_Draw(previewFlag);
    }
    float AlphaAt(const std::shared_ptr<TImage>& img, int32_t x, int32_t y) const {
        float sx = 0, sy = 0;
        world->iso->ToIso(float(x), float(y), sx, sy);
        for (const auto& c : CallsOf(img)) {
            if (c.x == sx && c.y == sy) return c.alpha;
        }
        return -1;
    }
};

}  // namespace

TEST_F(BuildingLayerDrawTest, ScaffoldSegmentsAndTowerCraneFromTheBottomUp) {
    const struct {
        float height, scale;
        std::vector<int32_t> frames;
    } cases[] = {{2.5f, 1, {5, 5, 2}}, {1.0f, 2, {5}}, {0.1f, 1, {0}}, {0.0f, 1, {}}, {-1.0f, 1, {}}};
    for (const auto& c : cases) {
        world->SetMapScale(c.scale, c.scale, 0);
        backend->ClearLog();
        bl->_drawBuildingStage(100, 200, c.height, 0);
        bl->_drawBuildingStage(100, 200, c.height, 7);  // a set that did not load draws nothing
        ASSERT_EQ(backend->calls.size(), c.frames.size()) << c.height;
        for (size_t i = 0; i < c.frames.size(); ++i) {
            EXPECT_EQ(backend->calls[i].frame, c.frames[i]);
            EXPECT_FLOAT_EQ(backend->calls[i].y, 200 - 8 * c.scale * float(i));
        }
    }
    world->SetMapScale(1, 1, 0);
    backend->ClearLog();
    bl->_DrawTowerCrane(100, 200, 1, 3.2f, 0);
    ASSERT_EQ(backend->calls.size(), 5u);  // four tower segments, then the jib
    for (size_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(backend->calls[i].y, 200 - 8 * float(i));
    EXPECT_EQ(backend->calls[4].frame, 3);
    EXPECT_FLOAT_EQ(backend->calls[4].y, 200 - 3.2f * 8);
}

TEST_F(BuildingLayerDrawTest, PreviewsArePlainThenTintedThenBrightened) {
    const struct {
        int32_t code, previewFlag, ignVirtual, r, g, b;
        float alpha;
    } cases[] = {{0, 0, 0, 0, 255, 0, 1},
                 {1, 0, 0, 255, 0, 0, 1},
                 {2, 0, 0, 0, 0, 255, 1},
                 {3, 0, 0, 255, 255, 255, 1},
                 {0x12FF8000, 0, 0, 255, 128, 0, 1},
                 {0, 1, 0, 0, 255, 0, 0.2f},
                 {0, 1, 1, 0, 255, 0, 1}};
    auto kind = Kind("commercialbuilding", 2, 2, 4);
    for (const auto& c : cases) {
        EXPECT_EQ(bl->_addbmthing(6, 6, kind, c.code, 0, c.ignVirtual, 0), 1);
        Frame(c.previewFlag);
        const auto calls = CallsOf(kind->picture[0]);
        ASSERT_EQ(calls.size(), 3u) << c.code;
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(calls[i].blend, i < 2 ? ALPHABLEND : LIGHTBLEND) << c.code;
            EXPECT_NEAR(calls[i].alpha, i == 1 ? 0.5f * c.alpha : c.alpha, 1e-6f) << c.code;
            const std::array<int32_t, 3> tint = i ? std::array{c.r, c.g, c.b} : std::array{255, 255, 255};
            EXPECT_EQ((std::array{calls[i].r, calls[i].g, calls[i].b}), tint) << c.code;
        }
        EXPECT_NEAR(AlphaAt(kind->picture[0], 6, 6), c.alpha, 1e-6f);  // drawn at its own tile
    }
}

TEST_F(BuildingLayerDrawTest, SeeThroughAndHiddenKindsFadeBuildingsForOneFrame) {
    auto kind = Kind("residentalbuilding", 1, 1, 4);
    for (int32_t y : {8, 9, 11, 15}) Built(kind, 8, y);
    bl->transparency = 1;
    bl->tx = bl->ty = 8;
    Frame();
    for (const auto& [y, alpha] :
         {std::pair{8, 0.25f}, std::pair{9, 0.25f}, std::pair{11, 0.5f}, std::pair{15, 0.75f}}) {
        EXPECT_NEAR(AlphaAt(kind->picture[0], 8, y), alpha, 1e-6f) << y;
    }
    EXPECT_EQ(CallsOf(TBuildingLayer::groundImg[0]).size(), 4u);  // opaque zone ground under each
    world->hideBuildings(0, 0, 0, 0, 0, 1, 0);
    Frame();
    EXPECT_NEAR(AlphaAt(kind->picture[0], 8, 11), 0.1f, 1e-6f);
    EXPECT_EQ(CallsOf(TBuildingLayer::groundImg[0]).size(), 4u);
    Frame();
    EXPECT_NEAR(AlphaAt(kind->picture[0], 8, 11), 1.0f, 1e-6f);
    EXPECT_TRUE(CallsOf(TBuildingLayer::groundImg[0]).empty());
}

TEST_F(BuildingLayerDrawTest, PrepareSortsBuildingPluginsByStructureType) {
    TPlugin::ClearRegistry();
    std::vector<std::shared_ptr<TPicturePlugin>> made;
    for (const char* t : {"award", "residentalbuilding", "publicpark", "commercialbuilding", "ground",
                          "industrialbuilding", "publicbuilding", "residentalbuilding", "award"}) {
        made.push_back(MakePlugin("p" + std::to_string(made.size()), t, 0xFF102030u));
        TPlugin::_add(made.back());
    }
    made.back()->picture[0].reset();  // without a picture it is offered nowhere
    TBuildingLayer::Prepare();
    using L = std::vector<std::shared_ptr<TPicturePlugin>>;
    const std::pair<const L&, L> lists[] = {{TBuildingLayer::arrAward, {made[0]}},
                                            {TBuildingLayer::arrResidentalBuilding, {made[1], made[7]}},
                                            {TBuildingLayer::arrPublicPark, {made[2]}},
                                            {TBuildingLayer::arrComercialBuilding, {made[3]}},
                                            {TBuildingLayer::arrIndustrialBuilding, {made[5]}},
                                            {TBuildingLayer::arrPublicBuilding, {made[6]}}};
    for (const auto& [list, want] : lists) EXPECT_EQ(list, want);
    TBuildingLayer::DePrepare();
    EXPECT_TRUE(TBuildingLayer::arrResidentalBuilding.empty());
    TPlugin::ClearRegistry();
}
