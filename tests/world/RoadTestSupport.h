#pragma once
// A small world of land with street types made in memory (no content files): a level-0 street
// with one bridge kind and a level-1 street with traffic lights and no bridges.
#include <cmath>
#include <memory>
#include <vector>

#include "WorldTestSupport.h"
#include "plugins/TStreetPlugin.h"
#include "world/TISO.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"

class RoadTest : public WorldTest {
protected:
    static constexpr int32_t mapSize = 20;
    static inline std::vector<std::shared_ptr<TStreetPlugin>> streetPlugins;

    void SetUp() override {
        WorldTest::SetUp();
        TStreet::_BuildTables();
        TStreet::directionImg = TImage::Create(TConfig::tilewidth, TConfig::tileheight, TStreet::maskFrameCount);
        TStreet::directionImg->SetHandle(0, 0.5f * float(TConfig::tileheight));
        town = MakeStreet(0, 10.0f, 1, 0, 2);
        avenue = MakeStreet(1, 25.0f, 0, 1, 0);
        world = TLayer::Create(mapSize, mapSize, random);
        for (int32_t x = 0; x < mapSize; ++x) {
            for (int32_t y = 0; y < mapSize; ++y) world->_SetGround(x, y, 0, land);
        }
        if (!world->RoadLayer) world->RoadLayer = TRoadLayer::_create(world.get());
        rl = world->RoadLayer.get();
        world->midPosition(0);
    }

    void TearDown() override {
        if (world) world->Destroy();
        world.reset();
        town.reset();
        avenue.reset();
        streetPlugins.clear();
        WorldTest::TearDown();
    }

    // A street type of a level; frames = number of frames of its road picture.
    static std::shared_ptr<TStreet> MakeStreet(int32_t level, float price, int32_t bridges, int32_t lights,
                                               int32_t maxBridge, int32_t frames = TStreetPlugin::streetFrames,
                                               int32_t bridgeFrames = TStreetPlugin::bridgeFrames) {
        // As in the game's registry, the plugin outlives its street, which refers to it plainly.
        auto p = streetPlugins.emplace_back(std::make_shared<TStreetPlugin>());
        p->id = "street_" + std::to_string(level);
        p->level = uint8_t(level);
        p->price = price;
        p->bridgePrice = 100.0f;
        p->maxBridgeLength = maxBridge;
        p->carSpeed = 0.8f;
        p->image = TImage::Create(TConfig::tilewidth, TConfig::tileheight, frames);
        for (int32_t i = 0; i < bridges; ++i) {
            p->bridgeImages.push_back(TImage::Create(TConfig::tilewidth, 2 * TConfig::tileheight, bridgeFrames));
            p->bridgeNames.push_back("bridge");
            p->bridgeHeights.push_back(6);
        }
        if (lights) p->trafficLightsImg = TImage::Create(TConfig::tilewidth, 2 * TConfig::tileheight, 4);
        p->nearWater = bridges ? 1 : 0;
        return TStreet::CreateFromPlugin(p);
    }

    void Water(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        for (int32_t x = x0; x <= x1; ++x) {
            for (int32_t y = y0; y <= y1; ++y) world->_SetGround(x, y, 1, water);
        }
    }

    // Flat point list of a straight line of tiles from (x0, y0) to (x1, y1).
    static std::vector<int32_t> Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        std::vector<int32_t> pts;
        const int32_t n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        const int32_t sx = (x1 > x0) - (x1 < x0), sy = (y1 > y0) - (y1 < y0);
        for (int32_t i = 0; i <= n; ++i) {
            pts.push_back(x0 + sx * i);
            pts.push_back(y0 + sy * i);
        }
        return pts;
    }

    int32_t FrameAt(int32_t x, int32_t y) const {
        auto r = rl->_GetTile(x, y);
        return r ? r->Frame : -1;
    }

    // The screen pixel over the middle of a map point.
    void Pixel(float fx, float fy, int32_t& sx, int32_t& sy) const {
        float px = 0, py = 0;
        world->iso->ToIso(fx, fy, px, py);
        sx = static_cast<int32_t>(std::lround(px));
        sy = static_cast<int32_t>(std::lround(py));
    }

    std::shared_ptr<TStreet> town, avenue;
    std::shared_ptr<TLayer> world;
    TRoadLayer* rl = nullptr;
};
