#pragma once
// Shared set-up of the world tests: a headless drawing back end, the manual clock, and ground
// and water plugins made in memory (one picture each), so worlds can be built without content.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/TFastRandom.h"
#include "platform/TClock.h"
#include "platform/TEvent.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "plugins/TPicturePlugin.h"
#include "settings/TConfig.h"
#include "settings/TSettings.h"
#include "world/TBuildingLayer.h"
#include "world/TGroundLayer.h"
#include "world/TLayer.h"
#include "world/TOPPanel.h"

class WorldTest : public testing::Test {
protected:
    static constexpr int32_t viewW = 640;
    static constexpr int32_t viewH = 480;

    void SetUp() override {
        clock = std::make_shared<TManualClock>(50000);
        TClock::SetSource(clock);
        backend = TGraphics::HeadlessGraphics(viewW, viewH);
        TConfig::SetDefaults();
        TSettings::SetDefaults();
        TLayer::Init(viewW, viewH);
        TLayer::DePrepare();
        land = MakePlugin("test_land", "ground", 0xFF40A040u);
        water = MakePlugin("test_water", "water", 0xFF2040C0u);
        TGroundLayer::_AddGround(land);
        TGroundLayer::_AddWater(water);
        // A tree strip of 16 frames, as the building layer's Prepare would load it.
        TBuildingLayer::treeImg = TImage::Create(TConfig::tilewidth, 2 * TConfig::tileheight, 16);
        TBuildingLayer::treeImg->SetHandle(0, float(2 * TConfig::tileheight) - 0.5f * float(TConfig::tileheight));
        random = vesko::TFastRandom::Create(1234);
    }

    void TearDown() override {
        TLayer::DePrepare();
        TGraphics::EndGraphics();
        TEventHooks::RemoveAllHooks();
        TClock::SetSource(nullptr);
        TLayer::Init(0, 0);
    }

    static std::shared_ptr<TPicturePlugin> MakePlugin(const std::string& id, const std::string& type, uint32_t colour) {
        auto p = std::make_shared<TPicturePlugin>();
        p->id = id;
        p->plugintyp = "picture";
        p->SetStructure(type);
        auto pix = TPixmap::Create(TConfig::tilewidth, TConfig::tileheight);
        pix->ClearPixels(colour);
        p->picture[0] = TImage::FromPixmap(pix);
        p->picture[0]->SetHandle(0, 0.5f * float(TConfig::tileheight));
        p->SizeX[0] = 1;
        p->SizeY[0] = 1;
        return p;
    }

    // A map image from rows of 24-bit colours, top row first as in the picture.
    static std::shared_ptr<TPixmap> MapImage(int32_t w, int32_t h, uint32_t fill) {
        auto pix = TPixmap::Create(w, h);
        pix->ClearPixels(0xFF000000u | fill);
        return pix;
    }

    std::shared_ptr<TManualClock> clock;
    std::shared_ptr<TRecordingBackend> backend;
    std::shared_ptr<TPicturePlugin> land, water;
    std::shared_ptr<vesko::TFastRandom> random;
};
