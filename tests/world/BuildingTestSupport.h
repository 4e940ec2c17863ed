#pragma once
// A road world with building plugins made in memory and the building layer's shared pictures
// made as blank images, so buildings can be placed, simulated and drawn without content files.
#include <memory>
#include <string>

#include "RoadTestSupport.h"
#include "world/TBuilding.h"
#include "world/TBuildingPlace.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"

class BuildingTest : public RoadTest {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        const int32_t tw = TConfig::tilewidth, th = TConfig::tileheight;
        for (auto& img : TBuildingLayer::groundImg) img = TImage::Create(tw, th);
        for (auto& img : TBuildingLayer::buildGroundImg) img = TImage::Create(tw, th);
        TBuildingLayer::noRoadImg = TImage::Create(8, 8);
        TBuildingLayer::unhappyImg = TImage::Create(8, 8);
        TBuildingLayer::noJobImg = TImage::Create(8, 8);
        TBuildingLayer::buildingProcessImg = {TImage::Create(tw, th + 8, 6)};
        TBuildingLayer::buildingTowerCraneImg = {TImage::Create(2 * tw, 40, 4)};
        bl = world->BuildingLayer.get();
        pool = world->habitantPool.get();
    }

    // A building kind; construction takes one day after the first daily update.
    static std::shared_ptr<TPicturePlugin> Kind(const std::string& type, int32_t sx, int32_t sy, int32_t population,
                                                int32_t level = 1) {
        auto p = MakePlugin("b_" + type, type, 0xFF806040u);
        p->SizeX[0] = sx;
        p->SizeY[0] = sy;
        p->population = population;
        p->techlevel = level;
        p->Height = 2;
        p->constructionTime = 1.0f;
        return p;
    }

    // Placed and through its first two daily updates (started, then finished).
    std::shared_ptr<TBuilding> Built(const std::shared_ptr<TPicturePlugin>& kind, int32_t x, int32_t y) {
        auto b = bl->_SetTile(x, y, kind);
        bl->_UpdateBuild(b, 1);
        bl->_UpdateBuild(b, 2);
        return b;
    }

    // The world pays from its own balance, as the game's money callbacks do.
    void PayFromWorld() {
        world->setEnoughMoneyToBuyFunc(&Enough, world.get());
        world->setExpendMoneyFunc(&Expend, world.get());
    }
    static int32_t Enough(void* w, float amount) {
        return (static_cast<TLayer*>(w)->getMoney() - amount >= 0 || amount <= 0) ? 1 : 0;
    }
    static int32_t Expend(void* w, float amount) {
        if (!Enough(w, amount)) return 0;
        auto* world = static_cast<TLayer*>(w);
        world->setMoney(world->getMoney() - amount);
        return 1;
    }

    std::shared_ptr<THabitant> Newcomer() {
        auto h = pool->_createNewHabitant();
        pool->_addPoolHabitant(h);
        return h;
    }

    std::vector<TDrawCall> CallsOf(const std::shared_ptr<TImage>& img) const {
        std::vector<TDrawCall> out;
        for (const auto& c : backend->calls) {
            if (c.kind == TDrawCall::Image && c.source == img.get()) out.push_back(c);
        }
        return out;
    }

    TBuildingLayer* bl = nullptr;
    THabitantPool* pool = nullptr;
};
