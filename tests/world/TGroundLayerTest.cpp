// Ground and water: shore frames, water share, minimap colours, delete marks, water animation,
// and what the ground puts on screen and into the block cache.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "../support/TempDir.h"
#include "WorldTestSupport.h"
#include "platform/TDrawState.h"
#include "platform/TSpriteBatch.h"
#include "settings/TSettings.h"
#include "world/TGround.h"
#include "world/TISO.h"
#include "world/TMiniMap.h"
#include "world/TWaiter.h"

namespace {

class GroundTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        TSettings::SetDefaults();
        auto black = TPixmap::Create(TConfig::tilewidth, TConfig::tileheight);
        black->ClearPixels(0xFF000000u);
        TGroundLayer::blackImg = TImage::FromPixmap(black);
        TGroundLayer::blackImg->SetHandle(0, 0.5f * float(TConfig::tileheight));
    }
    void TearDown() override {
        TSettings::SetDefaults();
        WorldTest::TearDown();
    }
    // A world of land with water where the mask says 'w' (rows top to bottom = y 0, 1, ...).
    std::shared_ptr<TLayer> World(const std::vector<std::string>& rows) {
        const int32_t h = int32_t(rows.size()), w = int32_t(rows[0].size());
        auto l = TLayer::Create(w, h, random);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                const bool isWater = rows[size_t(y)][size_t(x)] == 'w';
                l->GroundLayer->_SetTile(x, y, isWater, isWater ? water : land);
            }
        }
        return l;
    }
    static int32_t Frame(const TLayer& l, int32_t x, int32_t y) { return l.GroundLayer->_GetTile(x, y)->waterframe; }
    std::vector<TDrawCall> ImageCalls(const void* source) const {
        std::vector<TDrawCall> out;
        for (const auto& c : backend->calls) {
            if (c.kind == TDrawCall::Image && c.source == source) out.push_back(c);
        }
        return out;
    }
};

TEST_F(GroundTest, ShoreFramesFollowTheWaterNeighbours) {
    auto l = World({"www", "wlw", "www"});
    EXPECT_TRUE(Frame(*l, 1, 1) == 4 || Frame(*l, 1, 1) == 19) << Frame(*l, 1, 1);
    // Water tiles never get a shore.
    EXPECT_EQ(Frame(*l, 0, 0), -1);
    EXPECT_EQ(l->GroundLayer->_GetCol(0, 0), int32_t(0xFF405779u));

    // Only (x, y + 1) is water.
    auto m = World({"lll", "lll", "lwl"});
    EXPECT_TRUE(Frame(*m, 1, 1) == 0 || Frame(*m, 1, 1) == 15) << Frame(*m, 1, 1);
    // N1 = (x + 1, y) alone; off the map counts as land.
    auto n1 = World({"lw"});
    EXPECT_TRUE(Frame(*n1, 0, 0) == 1 || Frame(*n1, 0, 0) == 16);
    // N0 + N3 at (1, 1), N1 + N2 at (0, 0).
    auto n = World({"lw", "wl"});
    EXPECT_TRUE(Frame(*n, 1, 1) == 6 || Frame(*n, 1, 1) == 21);
    EXPECT_TRUE(Frame(*n, 0, 0) == 5 || Frame(*n, 0, 0) == 20);
    EXPECT_EQ(n->GroundLayer->_GetCol(1, 1), int32_t(0xFFC2A890u));
    EXPECT_EQ(n->GroundLayer->_GetCol(5, 5), 0);
    // Land away from water has no shore.
    auto far = World({"wll"});
    EXPECT_EQ(Frame(*far, 2, 0), -1);
    EXPECT_EQ(far->GroundLayer->_GetCol(2, 0), int32_t(0xFF807D5Au));
}

TEST_F(GroundTest, PlacingWaterTurnsTheNeighboursIntoShoreAndRecolours) {
    auto l = World({"lll", "lll", "lll"});
    auto& g = *l->GroundLayer;
    EXPECT_EQ(g._GetCol(1, 0), int32_t(0xFF807D5Au));  // the colour is cached now
    g.arrRendered.assign(g.arrRendered.size(), TGroundLayer::rendered);
    ASSERT_EQ(g._SetTile(1, 1, 1, water), 1);
    EXPECT_TRUE(Frame(*l, 1, 0) == 0 || Frame(*l, 1, 0) == 15);
    EXPECT_EQ(g._GetCol(1, 0), int32_t(0xFFC2A890u));
    EXPECT_EQ(l->mm->Read(1, 0, TMiniMap::Layer_Map), 0xFFC2A890u);
    // The tile and its four neighbours must be cached again, the corners not.
    EXPECT_EQ(g.arrRendered[g.arrRendered.size() / 2], TGroundLayer::notRendered);
    EXPECT_EQ(g.arrRendered[0 * 3 + 1], TGroundLayer::notRendered);
    EXPECT_EQ(g.arrRendered[0], TGroundLayer::rendered);
    // Off the map nothing is placed.
    EXPECT_EQ(g._SetTile(3, 0, 0, land), 0);
    EXPECT_EQ(g._SetTile(-1, 0, 0, land), 0);
}

TEST_F(GroundTest, RandomPluginsComeFromTheRightListAndNoneMeansNoTile) {
    auto l = TLayer::Create(2, 1, random);
    EXPECT_EQ(l->GroundLayer->_SetTile(0, 0, 1, nullptr), 1);
    EXPECT_EQ(l->GroundLayer->_GetTile(0, 0)->p, water);
    l->GroundLayer->_Clear(0);
    EXPECT_EQ(l->GroundLayer->_GetTile(1, 0)->p, land);
    TGroundLayer::groundPlugins.clear();
    TGroundLayer::waterPlugins.clear();
    EXPECT_EQ(l->GroundLayer->_SetTile(1, 0, 0, nullptr), 0);
}

TEST_F(GroundTest, WaterShareCountsShoresHalfAndDividesByTheWholeRectangle) {
    auto l = World({"wl", "ll"});
    auto& g = *l->GroundLayer;
    // One water, one shore and two plain tiles: 1.5 / 4.
    g._GetTile(0, 1)->waterframe = -1;
    g._GetTile(1, 1)->waterframe = -1;
    EXPECT_FLOAT_EQ(g._WaterPercentage(0, 0, 2, 2), 0.375f);
    // Reaching past the map: the divisor is the full area.
    EXPECT_FLOAT_EQ(g._WaterPercentage(-1, -1, 2, 2), 0.25f);
    EXPECT_FLOAT_EQ(g._WaterPercentage(0, 0, 0, 3), 0.0f);
    auto p = MakePlugin("big", "residentalbuilding", 0xFFFFFFFFu);
    p->SizeX[0] = 2;
    p->SizeY[0] = 1;
    EXPECT_FLOAT_EQ(g._PicturePluginWaterPercentage(p, 0, 0), 0.75f);
}

TEST_F(GroundTest, DeleteMarksAreCountedOnceAndShownOnCachedTiles) {
    auto l = World({"ll", "ll"});
    auto& g = *l->GroundLayer;
    auto del = TPixmap::Create(32, 16);
    TGroundLayer::deleteImg = TImage::FromPixmap(del);
    EXPECT_EQ(g.markTileForDelete(1, 1), 1);
    EXPECT_EQ(g.markTileForDelete(1, 1), 0);
    EXPECT_EQ(g.delMark, 1);
    l->midPosition(0);
    g.arrRendered.assign(4, TGroundLayer::rendered);
    backend->ClearLog();
    g.Draw(1, 1, 1);
    auto calls = ImageCalls(TGroundLayer::deleteImg.get());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FLOAT_EQ(calls[0].alpha, 0.2f);
    EXPECT_TRUE(ImageCalls(land->picture[0].get()).empty());
    g.EndDraw();
    EXPECT_EQ(g.delMark, 0);
    EXPECT_EQ(g.markTileForDelete(1, 1), 1);
}

TEST_F(GroundTest, AnimatedWaterDrawsEveryFrameAndChangesPictureOnlyWhenAllowed) {
    auto water2 = MakePlugin("test_water2", "water", 0xFF1030A0u);
    TGroundLayer::_AddWater(water2);
    auto l = World({"w"});
    l->midPosition(0);
    auto& g = *l->GroundLayer;
    auto t = g._GetTile(0, 0);
    t->wateranim = 1;
    TSettings::ShowWaterImageChange = 0;
    for (int i = 0; i < 3; ++i) {
        backend->ClearLog();
        g.Draw(0, 0, 0);
        EXPECT_EQ(ImageCalls(t->p->picture[0].get()).size(), 1u);
        clock->Advance(20000);
    }
    EXPECT_EQ(t->p, water);
    // The animated picture never goes into the cache.
    g.cache.performRendering();
    EXPECT_EQ(g.cache.BlockCount(1), 0u);

    TSettings::ShowWaterImageChange = 1;
    bool changed = false;
    for (int i = 0; i < 20 && !changed; ++i) {
        clock->Advance(20000);
        g.Draw(0, 0, 0);
        changed = t->shown == water2;
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(t->p, water);  // the tile keeps its own plugin: only its picture changes
    EXPECT_LT(t->w_waiter->Get(), 0);  // a new wait began
}

TEST_F(GroundTest, CachedGroundLandsWhereADirectDrawPutsIt) {
    // A picture taller than its tile, anchored at its foot.
    auto tall = MakePlugin("tall", "ground", 0xFF30C030u);
    auto pix = TPixmap::Create(32, 24);
    pix->ClearPixels(0xFF30C030u);
    tall->picture[0] = TImage::FromPixmap(pix);
    tall->picture[0]->SetHandle(0, 16);
    auto l = TLayer::Create(6, 6, random);
    for (int32_t x = 0; x < 6; ++x) {
        for (int32_t y = 0; y < 6; ++y) l->GroundLayer->_SetTile(x, y, 0, tall);
    }
    l->SetMapScale(2, 2, 0);
    l->midPosition(0);
    l->Move(-37, 11);
    SetScale(2, 2);
    auto& g = *l->GroundLayer;
    backend->ClearLog();
    g.DrawBackground();  // draws the visible tiles directly this once
    auto direct = ImageCalls(tall->picture[0].get());
    ASSERT_EQ(direct.size(), 36u);
    // The next frame draws nothing directly.
    backend->ClearLog();
    for (int32_t x = 0; x < 6; ++x) {
        for (int32_t y = 0; y < 6; ++y) g.Draw(x, y, 0);
    }
    EXPECT_TRUE(ImageCalls(tall->picture[0].get()).empty());

    // The building layer's cache origin; the blocks on screen are drawn from the tiles.
    const float S = 2;
    const float ox = l->GetX() + 0.5f * float(l->viewWidth) * (1 - S);
    const float oy = l->GetY() + 0.5f * float(l->viewHeight) * (1 - S) - 0.5f * S * float(TConfig::tileheight);
    g.cache.keepPixelCopies = true;
    g.cache.Draw(ox, oy, 1);
    // Tile (2, 3): its top left on screen, directly and through the cache.
    float sx = 0, sy = 0;
    l->iso->ToIso(2, 3, sx, sy);
    const float left = sx - S * 0, top = sy - S * 16;
    const float planeX = (left - ox) / S, planeY = (top - oy) / S;
    const int32_t i = TOPPanel::BlockIndex(planeX), j = TOPPanel::BlockIndex(planeY);
    const auto* b = g.cache.GetBlock(i, j, 1);
    ASSERT_TRUE(b && b->image);
    const int32_t B = TOPPanel::blockSize;
    const int32_t bx = int32_t(std::lround(planeX)) - i * B, by = int32_t(std::lround(planeY)) - j * B;
    EXPECT_EQ(b->image->pixmaps[0]->ReadPixel(bx, by), 0xFF30C030u);
    // The pixel above the top row of the map's top tile stays empty.
    float tx = 0, ty = 0;
    l->iso->ToIso(0, 5, tx, ty);
    const float topX = (tx - ox) / S + 16, topY = (ty - S * 16 - oy) / S - 1;
    const auto* tb = g.cache.GetBlock(TOPPanel::BlockIndex(topX), TOPPanel::BlockIndex(topY), 1);
    if (tb && tb->image) {
        EXPECT_EQ(tb->image->pixmaps[0]->ReadPixel(int32_t(std::lround(topX)) - TOPPanel::BlockIndex(topX) * B,
                                                   int32_t(std::lround(topY)) - TOPPanel::BlockIndex(topY) * B),
                  0u);
    }
}

TEST_F(GroundTest, EdgeTilesDrawSideFacesAndShoreSides) {
    auto sidePix = TPixmap::Create(32, 16);
    sidePix->ClearPixels(0xFF101010u);
    land->picture[1] = TImage::FromPixmap(sidePix);
    land->picture[2] = TImage::FromPixmap(sidePix->Copy());
    TGroundLayer::shoreImg = TImage::Create(32, 16, 30);
    TGroundLayer::shoreSideImg = TImage::Create(16, 48, 60);
    // (1, 0) is land in row 0 and in the last column, with water to its left.
    auto l = World({"wl", "ww"});
    l->midPosition(0);
    SetScale(1, 1);
    auto& g = *l->GroundLayer;
    const int32_t frame = Frame(*l, 1, 0);
    ASSERT_GE(frame, 0);
    backend->ClearLog();
    g.Draw(1, 0, 0);
    EXPECT_EQ(ImageCalls(land->picture[1].get()).size(), 1u);
    EXPECT_EQ(ImageCalls(land->picture[2].get()).size(), 1u);
    auto shore = ImageCalls(TGroundLayer::shoreImg.get());
    ASSERT_EQ(shore.size(), 1u);
    EXPECT_EQ(shore[0].frame, frame);
    auto sides = ImageCalls(TGroundLayer::shoreSideImg.get());
    ASSERT_EQ(sides.size(), 2u);
    EXPECT_EQ(sides[0].frame, 2 * frame);
    EXPECT_EQ(sides[1].frame, 2 * frame + 1);
    EXPECT_FLOAT_EQ(sides[1].x - sides[0].x, 16.0f);
    // (0, 1) is water in the first column but not in row 0: no side face.
    backend->ClearLog();
    g.Draw(0, 1, 0);
    EXPECT_TRUE(ImageCalls(water->picture[1].get()).empty());
}

TEST_F(GroundTest, OuterRingIsCachedOnceAndItsInnerBlocksHoldNoPixels) {
    auto l = TLayer::Create(128, 128, random);
    l->midPosition(0);
    auto& g = *l->GroundLayer;
    g.DrawBackground();
    // So small that the whole ring is on screen: every block of it is drawn from its tiles.
    SetScale(1.0f / 16, 1.0f / 16);
    g.cache.Draw(250, 120, 0);
    // Every ring tile is cached once; the map itself holds no black tile.
    size_t cached = 0;
    for (uint8_t v : g.arrBlackTileRendered) cached += v;
    EXPECT_EQ(cached, 4u * 128 * 128 - 128 * 128);
    // Most blocks inside the ring are black throughout and hold no pixels.
    size_t black = 0;
    for (int32_t j = -40; j < 40; ++j) {
        for (int32_t i = -40; i < 40; ++i) {
            const auto* b = g.cache.GetBlock(i, j, 0);
            black += b && !b->image && b->colour == 0xFF000000u;
        }
    }
    EXPECT_GT(black, 8u) << g.cache.PixelBlockCount(0) << " with pixels";
    // Given its pixels back, such a block is black in every pixel.
    for (int32_t j = -20; j < 20; ++j) {
        for (int32_t i = -20; i < 20; ++i) {
            const auto* b = g.cache.GetBlock(i, j, 0);
            if (!b || b->image || b->colour != 0xFF000000u) continue;
            auto pix = g.cache.getPixmapForPos(float(i * TOPPanel::blockSize), float(j * TOPPanel::blockSize), 0);
            ASSERT_TRUE(pix);
            for (int32_t y = 0; y < TOPPanel::blockSize; y += 7) {
                for (int32_t x = 0; x < TOPPanel::blockSize; x += 7) ASSERT_EQ(pix->ReadPixel(x, y), 0xFF000000u);
            }
            return;
        }
    }
    FAIL() << "no one-colour block";
}

// The triangles drawn from the image's texture, in order.
std::vector<TVertex> Triangles(const TRecordingBackend& backend, TImage& image) {
    TSpriteBatch::Instance().Flush();
    std::vector<TVertex> out;
    size_t at = 0;
    for (const auto& b : backend.batches) {
        if (b.texture == image.Frame(0)->texture) {
            out.insert(out.end(), backend.vertices.begin() + long(at), backend.vertices.begin() + long(at + b.vertexCount));
        }
        at += b.vertexCount;
    }
    return out;
}

double Area(const std::vector<TVertex>& v) {
    double sum = 0;
    for (size_t i = 0; i + 2 < v.size(); i += 3) {
        sum += 0.5 * std::fabs(double(v[i + 1].x - v[i].x) * (v[i + 2].y - v[i].y) -
                               double(v[i + 2].x - v[i].x) * (v[i + 1].y - v[i].y));
    }
    return sum;
}

TEST_F(GroundTest, CausticsLieUnderTheWaterOnScreenOnlyAndDriftInOppositeDirections) {
    auto c = TPixmap::Create(64, 64);
    c->ClearPixels(0xFF203040u);
    TGroundLayer::causticsImg1 = TImage::FromPixmap(c);
    TGroundLayer::causticsImg2 = TImage::FromPixmap(c->Copy());
    int32_t vx = 0, vy = 0, vw = 0, vh = 0;
    GetViewport(vx, vy, vw, vh);
    TImage& img = *TGroundLayer::causticsImg1;
    const TImageFrame& f = *img.Frame(0);
    // Every corner shows the texel a whole-view tiling at scale 2 from the map's place would.
    const auto aligned = [&](const TLayer& l, const std::vector<TVertex>& v) {
        for (const auto& p : v) {
            const float along = float(std::remainder((p.x - l.GetX()) / 128.0f - (p.u - f.u0) / (f.u1 - f.u0), 1.0f));
            if (std::fabs(along) > 1e-3f) return false;
        }
        return true;
    };
    const struct {
        std::vector<std::string> rows;
        double least, most;  // share of the view covered
    } cases[] = {
        {std::vector<std::string>(60, std::string(60, 'w')), 0.45, 0.6},  // water over the map part of the view
        {{"w"}, 0.001, 0.01},                                            // a pond
        {{"ll", "ll"}, 0.0, 0.0},                                      // dry land: nothing below it
    };
    for (const auto& k : cases) {
        auto l = World(k.rows);
        l->Time = 2;
        SetScale(1, 1);
        TGroundLayer::causticsOffset1 = TGroundLayer::causticsOffset2 = 0;
        backend->ClearLog();
        l->GroundLayer->DrawBackground();
        const auto v = Triangles(*backend, img);
        const double share = Area(v) / (double(vw) * vh);
        EXPECT_GE(share, k.least - 1e-6) << k.rows.size();
        EXPECT_LE(share, k.most + 1e-6) << k.rows.size();
        EXPECT_TRUE(aligned(*l, v)) << k.rows.size();
        // Every water tile's diamond on screen (its corners, a pixel inside) lies on caustics.
        const auto covered = [&v](float x, float y) {
            for (size_t q = 0; q + 6 <= v.size(); q += 6) {
                float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
                for (size_t i = q; i < q + 6; ++i) {
                    x0 = std::min(x0, v[i].x), x1 = std::max(x1, v[i].x);
                    y0 = std::min(y0, v[i].y), y1 = std::max(y1, v[i].y);
                }
                if (x >= x0 && x <= x1 && y >= y0 && y <= y1) return true;
            }
            return false;
        };
        for (int32_t x = 0; x < l->Width; ++x) {
            for (int32_t y = 0; y < l->Height; ++y) {
                if (!l->GroundLayer->_IsFieldWater(x, y, 0)) continue;
                float sx = 0, sy = 0;
                l->iso->ToIso(float(x), float(y), sx, sy);
                const float w = float(TConfig::tilewidth), h = float(TConfig::tileheight);
                for (const auto& [px, py] : {std::pair{sx + 1, sy}, std::pair{sx + w / 2, sy - h / 2 + 1},
                                             std::pair{sx + w - 1, sy}, std::pair{sx + w / 2, sy + h / 2 - 1}}) {
                    if (px < float(vx) || py < float(vy) || px > float(vx + vw) || py > float(vy + vh)) continue;
                    ASSERT_TRUE(covered(px, py)) << x << "," << y << " at " << px << "," << py;
                }
            }
        }
        for (const auto& p : v) {
            ASSERT_TRUE(p.x >= float(vx) && p.x <= float(vx + vw) && p.y >= float(vy) && p.y <= float(vy + vh));
        }
        float sx = 0, sy = 0;
        GetScale(sx, sy);
        EXPECT_FLOAT_EQ(sx, 1.0f);
    }
    EXPECT_FLOAT_EQ(TGroundLayer::causticsOffset1, 0.4f * 2);
    EXPECT_FLOAT_EQ(TGroundLayer::causticsOffset2, -0.26f * 2);

    auto l = World({"w"});
    TSettings::ShowWaterAnimation = 0;
    backend->ClearLog();
    l->GroundLayer->DrawBackground();
    EXPECT_TRUE(Triangles(*backend, img).empty());
    TGroundLayer::causticsImg1.reset();
    TGroundLayer::causticsImg2.reset();
}

TEST_F(GroundTest, PrepareLoadsTheSharedPicturesAndSortsThePlugins) {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.path + "/data/gfx/natur");
    fs::create_directories(dir.path + "/data/gfx/felder");
    auto strip = TPixmap::Create(32 * 30, 16);
    strip->ClearPixels(0xFFFF00FFu);
    ASSERT_TRUE(SavePixmapPNG(*strip, dir.path + "/data/gfx/natur/flussufer.png"));
    auto del = TPixmap::Create(32, 20);
    del->ClearPixels(0xFFFF0000u);
    ASSERT_TRUE(SavePixmapPNG(*del, dir.path + "/data/gfx/felder/delete.png"));
    TPlugin::ClearRegistry();
    TPlugin::_add(land);
    TPlugin::_add(water);
    const auto old = fs::current_path();
    fs::current_path(dir.path);
    testing::internal::CaptureStdout();
    TGroundLayer::Prepare();
    const std::string out = testing::internal::GetCapturedStdout();
    fs::current_path(old);
    TPlugin::ClearRegistry();
    ASSERT_TRUE(TGroundLayer::shoreImg);
    EXPECT_EQ(TGroundLayer::shoreImg->FrameCount(), 30);
    EXPECT_FLOAT_EQ(TGroundLayer::shoreImg->handle_y, 8.0f);
    ASSERT_TRUE(TGroundLayer::deleteImg);
    EXPECT_FLOAT_EQ(TGroundLayer::deleteImg->handle_y, 10.0f);
    // Missing pictures are reported and stay empty.
    EXPECT_FALSE(TGroundLayer::shoreSideImg);
    EXPECT_NE(out.find("flussufer_earth.png"), std::string::npos);
    EXPECT_EQ(TGroundLayer::groundPlugins, (std::vector<std::shared_ptr<TPicturePlugin>>{land}));
    EXPECT_EQ(TGroundLayer::waterPlugins, (std::vector<std::shared_ptr<TPicturePlugin>>{water}));
    // A world without a black ring picture or shores still draws.
    auto l = World({"lw"});
    l->GroundLayer->DrawBackground();
}

}  // namespace
