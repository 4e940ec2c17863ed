// Roads drawn through the map walk and the mask pass, checked on the recording back end; the
// start map's road pixels; short plugin pictures.
#include <gtest/gtest.h>

#include <unistd.h>

#include "RoadTestSupport.h"
#include "world/TMiniMap.h"
#include "world/TTree.h"

namespace {

class RoadDrawTest : public RoadTest {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        TGroundLayer::blackImg = TImage::Create(TConfig::tilewidth, TConfig::tileheight);
        TGroundLayer::blackImg->SetHandle(0, 0.5f * float(TConfig::tileheight));
    }
    void Frame(int32_t previewFlag = 0) {
        backend->ClearLog();
        world->_Draw(previewFlag);
    }
    // The calls drawing one image, in order.
    std::vector<TDrawCall> CallsOf(const std::shared_ptr<TImage>& img) const {
        std::vector<TDrawCall> out;
        for (const auto& c : backend->calls) {
            if (c.kind == TDrawCall::Image && c.source == img.get()) out.push_back(c);
        }
        return out;
    }
    // Index in the call log of the first image call of img at the screen point of tile (x, y).
    long IndexAt(const std::shared_ptr<TImage>& img, int32_t x, int32_t y, int32_t frame) const {
        float sx = 0, sy = 0;
        world->iso->ToIso(float(x), float(y), sx, sy);
        for (size_t i = 0; i < backend->calls.size(); ++i) {
            const auto& c = backend->calls[i];
            if (c.kind == TDrawCall::Image && c.source == img.get() && c.frame == frame &&
                std::fabs(c.x - sx) < 0.01f && std::fabs(c.y - sy) < 0.01f) {
                return long(i);
            }
        }
        return -1;
    }
};

TEST_F(RoadDrawTest, FlatRoadsGoIntoTheGroundCacheOnce) {
    rl->BuildRoad(town, {9, 9, 10, 9, 11, 9, 12, 9, 13, 9}, 0, 0);
    Frame();
    EXPECT_GE(IndexAt(town->image, 10, 9, 1), 0);
    EXPECT_GE(IndexAt(town->image, 9, 9, 6), 0);
    // Cached: the next frame draws the ground blocks, not the road tiles.
    Frame();
    EXPECT_TRUE(CallsOf(town->image).empty());
    // A change re-frames and redraws the tile and its neighbours.
    rl->_SetTile(town, 10, 10, {});
    Frame();
    EXPECT_GE(IndexAt(town->image, 10, 9, 18), 0);
    EXPECT_GE(IndexAt(town->image, 10, 10, 4), 0);
    EXPECT_LT(IndexAt(town->image, 13, 9, 7), 0);  // outside the neighbourhood
    EXPECT_LT(IndexAt(town->image, 12, 9, 1), 0);
}

TEST_F(RoadDrawTest, TrafficColoursTintCachedRoadsForOneFrame) {
    rl->BuildRoad(town, {9, 9, 10, 9, 11, 9}, 0, 0);
    Frame();
    Frame();
    ASSERT_TRUE(CallsOf(town->image).empty());  // cached
    world->ShowTrafficColors();
    Frame();
    const auto tinted = CallsOf(town->image);
    ASSERT_EQ(tinted.size(), 3u);
    for (const auto& c : tinted) {
        // No traffic yet: traffic value 0 gives the green end of the scale.
        EXPECT_EQ(c.r, 0);
        EXPECT_EQ(c.g, 255);
        EXPECT_EQ(c.b, 10);
    }
    Frame();
    EXPECT_TRUE(CallsOf(town->image).empty());
}

TEST_F(RoadDrawTest, RoadCellDrawsBridgeThenLightsThenTheFrontPart) {
    Water(8, 0, 10, mapSize - 1);
    rl->BuildRoad(town, {5, 9, 6, 9, 7, 9, 8, 9, 9, 9, 10, 9, 11, 9, 12, 9}, 1, 0);
    rl->BuildRoad(avenue, {13, 6, 13, 7, 13, 8}, 0, 0);
    rl->BuildRoad(avenue, {12, 7, 13, 7, 14, 7}, 0, 0);
    rl->UpdateTrafficLights();
    const int32_t phase = rl->_GetTile(13, 7)->_tfframe;
    Frame();
    const auto& bridgeImg = town->bridgeImages[0];
    const auto span = rl->_GetTile(9, 9);
    const long back = IndexAt(bridgeImg, 9, 9, span->b_frame);
    const long front = IndexAt(bridgeImg, 9, 9, span->b_sframe);
    ASSERT_GE(back, 0);
    EXPECT_GT(front, back);
    // The ramp has no front part; bridges are never put into the cache as flat roads.
    EXPECT_EQ(CallsOf(bridgeImg).size(), 2u * 3u + 2u);
    EXPECT_LT(IndexAt(town->image, 9, 9, span->Frame), 0);
    // The crossing shows its light phase, after the ground of the cells before it.
    const auto crossing = rl->_GetTile(13, 7);
    ASSERT_EQ(crossing->Frame, 12);
    EXPECT_GE(IndexAt(avenue->trafficlights, 13, 7, phase), 0);
    EXPECT_EQ(CallsOf(avenue->trafficlights).size(), 1u);
    // The frame's end advanced the lights.
    EXPECT_TRUE(crossing->_tfticker);
}

TEST_F(RoadDrawTest, MaskPassShowsMaskFramesAndMarks) {
    rl->BuildRoad(town, {9, 9, 10, 9, 11, 9}, 0, 0);
    Frame();
    world->ShowRoadMask();
    rl->_MarkTile(10, 9, -2);
    rl->_AddPreview(12, 12, 0);  // a plan tile without a road
    Frame(1);
    const auto& img = TStreet::directionImg;
    const long mask = IndexAt(img, 10, 9, TStreet::maskTable[1]);
    const long mark = IndexAt(img, 10, 9, 19);
    ASSERT_GE(mask, 0);
    EXPECT_GT(mark, mask);
    EXPECT_NEAR(backend->calls[size_t(mark)].alpha, 0.35f, 1e-6f);  // dimmed
    EXPECT_NEAR(backend->calls[size_t(mask)].alpha, 1.0f, 1e-6f);
    EXPECT_GE(IndexAt(img, 12, 12, 17), 0);
    EXPECT_GE(IndexAt(img, 9, 9, TStreet::maskTable[6]), 0);
    // Mask and marks last one frame.
    Frame();
    EXPECT_TRUE(CallsOf(img).empty());
    EXPECT_EQ(rl->mask, 0);
}

TEST_F(RoadDrawTest, ShortPicturesAreNeverReadPastTheirLastFrame) {
    auto shortStreet = MakeStreet(2, 5.0f, 1, 1, 4, 5, 3);
    Water(8, 0, 10, mapSize - 1);
    rl->BuildRoad(shortStreet, {5, 9, 6, 9, 7, 9, 8, 9, 9, 9, 10, 9, 11, 9, 12, 9}, 1, 0);
    rl->BuildRoad(shortStreet, {13, 6, 13, 7, 13, 8}, 0, 0);
    rl->BuildRoad(shortStreet, {12, 7, 13, 7, 14, 7}, 0, 0);
    world->ShowRoadMask();
    Frame();
    world->ShowRoadMask();
    Frame();
    int32_t drawn = 0;
    for (const auto& c : backend->calls) {
        if (c.kind != TDrawCall::Image) continue;
        for (const auto* img : {shortStreet->image.get(), shortStreet->bridgeImages[0].get()}) {
            if (c.source == img) {
                EXPECT_LT(c.frame, img->FrameCount());
                ++drawn;
            }
        }
    }
    EXPECT_GT(drawn, 0);  // frames that exist are still drawn
}

TEST_F(RoadDrawTest, MapImageRoadsBecomeStreetsOfBothLevels) {
    // Rows top first: row 0 of the picture is map row 3.
    auto pix = MapImage(6, 4, 0x30A030);
    for (int32_t x = 0; x < 5; ++x) pix->WritePixel(x, 2, 0xFF282828u);  // map row 1
    pix->WritePixel(2, 1, 0xFF636363u);                                  // map (2, 2)
    pix->WritePixel(2, 3, 0xFF636363u);                                  // map (2, 0)
    const std::string path = "/tmp/roads-map-" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(SavePixmapPNG(*pix, path));
    auto w = TLayer::LoadFromImage(path, random);
    std::remove(path.c_str());
    ASSERT_TRUE(w && w->RoadLayer);
    TRoadLayer& roads = *w->RoadLayer;
    EXPECT_EQ(roads.arrRoad.size(), 7u);
    EXPECT_EQ(roads._GetTile(0, 1)->s, town);
    EXPECT_EQ(roads._GetTile(2, 2)->s, avenue);
    EXPECT_EQ(roads._GetTile(2, 1)->s, town);
    EXPECT_EQ(roads._GetTile(2, 1)->Frame, 12);
    EXPECT_EQ(roads._GetTile(0, 1)->Frame, 6);
    EXPECT_EQ(roads._GetTile(2, 2)->Frame, 4);
    // Cleaned: sides toward empty tiles are closed, so a later neighbour stays apart.
    EXPECT_EQ(roads._GetTile(0, 1)->ign, (std::vector<int32_t>{1, 0, 1, 1}));
    EXPECT_EQ(w->IsFree(1, 1), 0);
    EXPECT_EQ(uint32_t(w->mm->Read(1, 1, TMiniMap::Layer_Map)), 0xFFA09E8Cu);
    float fx = 0, fy = 0;
    EXPECT_EQ(w->getPosOfThis(roads._GetTile(4, 1), fx, fy), 1);
    EXPECT_FLOAT_EQ(fx, 4.0f);
    w->Destroy();
}

}  // namespace
