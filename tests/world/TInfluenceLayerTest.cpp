// The influence layer: spreading, combining by maximum, the timed rebuild, colours and minimap.
#include <limits>
#include <tuple>
#include <utility>

#include "WorldTestSupport.h"
#include "plugins/BColor.h"
#include "plugins/TInfluenceMask.h"
#include "world/TBuilding.h"
#include "world/TInfluenceLayer.h"
#include "world/TMiniMap.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"

namespace {
using IL = TInfluenceLayer;

struct InfluenceTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        world = TLayer::Create(20, 20, random);
        if (!world->InfluenceLayer) world->InfluenceLayer = IL::_create(world.get());
        inf = world->InfluenceLayer.get();
    }
    void TearDown() override {  // bare records: keep them away from the layers' clean-up
        world->BuildingLayer->arrBuilding.Clear();
        world->RoadLayer->arrRoad.clear();
        world->Destroy();
        WorldTest::TearDown();
    }
    // A building of size sx x sy at (x, y) spreading one kind.
    static std::shared_ptr<TBuilding> House(int sx, int sy, int x, int y, int kind, int v, int r, int work = 1) {
        auto b = std::make_shared<TBuilding>();
        b->p = std::make_shared<TPicturePlugin>();
        b->p->SizeX[0] = sx, b->p->SizeY[0] = sy, b->x = x, b->y = y, b->work = work;
        b->p->influences = std::make_shared<TInfluenceContainer>();
        b->p->influences->influenceValue[kind] = uint8_t(v), b->p->influences->influenceRadius[kind] = uint8_t(r);
        return b;
    }
    int Touched() const {
        int n = 0;
        for (const auto& c : inf->arr) n += c[15];
        return n;
    }
    std::shared_ptr<TLayer> world;
    IL* inf = nullptr;
};

TEST_F(InfluenceTest, BuildingsSpreadFullValueWithinRadiusOfFootprintCentre) {
    struct Case {
        int sx, sy, x, y, r, work, touched, px, py, want;
    };
    for (const Case c : {Case{1, 1, 10, 10, 2, 1, 13, 11, 11, 200},
                         {1, 1, 10, 10, 2, 1, 13, 9, 8, 0},
                         {2, 2, 10, 10, 1, 1, 4, 11, 11, 200},
                         {2, 2, 10, 10, 0, 1, 0, 10, 10, 0},
                         {1, 1, 0, 0, 3, 1, 11, 3, 0, 200},
                         {1, 1, 19, 19, 3, 1, 11, 17, 17, 200},
                         {1, 1, 10, 10, 2, 2, 0, 10, 10, 0}}) {
        inf->Clear();
        inf->useBuilding(*House(c.sx, c.sy, c.x, c.y, IL::infFireDepartment, 200, c.r, c.work));
        EXPECT_EQ(Touched(), c.touched) << c.sx << "x" << c.sy << " at " << c.x << " r" << c.r << " w" << c.work;
        EXPECT_EQ(inf->getValue(c.px, c.py, IL::infFireDepartment), c.want) << c.px << "," << c.py;
    }
}

TEST_F(InfluenceTest, OverlapsKeepTheMaximumAndOddQueriesGiveMinusOne) {
    for (const auto& [a, b] : {std::pair{120, 80}, {80, 120}}) {
        inf->Clear();
        inf->useBuilding(*House(1, 1, 5, 5, IL::infCulture, a, 3));
        inf->useBuilding(*House(1, 1, 6, 5, IL::infCulture, b, 3));
        EXPECT_EQ(inf->getValue(5, 5, IL::infCulture), 120);
    }
    for (const auto& [x, y, k] : {std::tuple{-1, 0, 0}, {0, 20, 0}, {20, 0, 0}, {0, 0, -1}, {0, 0, 15}})
        EXPECT_EQ(inf->getValue(x, y, k), -1) << x << "," << y << " kind " << k;
}

TEST_F(InfluenceTest, CentresFarOffTheMapOrNotANumberReachNothing) {
    // Positions as a damaged save may carry them: beyond what an int holds, infinite, NaN.
    const float inf32 = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    for (const auto& [x, y, r] : {std::tuple{8.2e9f, 5.0f, 3.0f}, {5.0f, -8.2e9f, 3.0f}, {inf32, 5.0f, 3.0f},
                                  {nan, 5.0f, 3.0f}, {5.0f, 5.0f, inf32}, {-3.0f, -3.0f, 1.0f}}) {
        inf->Clear();
        inf->addValue(x, y, IL::infCulture, 90, r);
        EXPECT_EQ(Touched(), r == inf32 ? 400 : 0) << x << "," << y << " r" << r;
    }
}

TEST_F(InfluenceTest, RoadsSpreadTrafficTimesStreetValueCappedAtAByte) {
    struct Case {
        float t;
        uint8_t air, airR, noise, noiseR;
        int wantAir, wantNoise;
    };
    for (const Case c : {Case{0.5f, 40, 3, 10, 1, 20, 5},
                         {0, 40, 3, 40, 3, 0, 0},
                         {0.99f, 10, 0, 5, 0, 9, 4},
                         {4, 100, 1, 80, 1, 255, 255}}) {
        auto r = std::make_shared<TRoad>();
        r->s = std::make_shared<TStreet>(), r->x = 7, r->y = 7, r->traffic = c.t;
        r->s->airPollutionValue = c.air, r->s->airPollutionRadius = c.airR;
        r->s->noiseValue = c.noise, r->s->noiseRadius = c.noiseR;
        inf->Clear();
        inf->useRoad(*r);
        EXPECT_EQ(inf->getValue(7, 7 + c.airR, IL::infAirPollution), c.wantAir) << c.t;
        EXPECT_EQ(inf->getValue(7, 8 + c.airR, IL::infAirPollution), 0) << c.t;
        EXPECT_EQ(inf->getValue(7, 7 + c.noiseR, IL::infNoise), c.wantNoise) << c.t;
    }
}

TEST_F(InfluenceTest, RebuildsFromTheLayersOncePerSecondAcrossTheClockWrap) {
    auto& list = world->BuildingLayer->arrBuilding;
    struct Case {
        uint32_t start;
        int gap, want;
    };
    for (const Case c : {Case{50000, 999, 0}, {50000, 1000, 90}, {0x7FFFFE00u, 1000, 90}}) {
        list.Clear();
        clock->now = c.start;
        inf->lastCheck = Millisecs() - IL::waitTime;
        inf->reCalc();  // due: empty
        list.Append(House(1, 1, 4, 4, IL::infEnergy, 90, 1));
        auto road = std::make_shared<TRoad>();
        road->s = std::make_shared<TStreet>(), road->x = 15, road->y = 15, road->traffic = 1;
        road->s->airPollutionValue = uint8_t(c.want / 3);
        world->RoadLayer->arrRoad = {road};
        inf->bRendered = 1;
        clock->Advance(c.gap);
        inf->reCalc();
        EXPECT_EQ(inf->getValue(4, 4, IL::infEnergy), c.want) << c.start << " +" << c.gap;
        EXPECT_EQ(inf->getValue(15, 15, IL::infAirPollution), c.want / 3);
        EXPECT_EQ(inf->bRendered, c.want ? 0 : 1);
    }
}

TEST_F(InfluenceTest, GroundColoursAndMiniMapOverlay) {
    auto mask = TInfluenceMask::CreateFromValues(0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0, 100, 100, 100, 0);
    world->BuildingLayer->arrBuilding.Append(House(1, 1, 6, 6, IL::infFireDepartment, 50, 0));
    inf->reCalc();
    EXPECT_FLOAT_EQ(inf->GetInfluenceMaskState(6, 6, mask), 0.5f);
    EXPECT_FALSE(inf->GetGroundColor(6, 6, nullptr) || inf->GetGroundColor(20, 6, mask));
    EXPECT_EQ(uint32_t(inf->GetGroundColor(6, 6, mask)->toARGB()), 0xFF7F7F00u);
    auto plain = inf->GetGroundColor(1, 1, mask);  // untouched tiles share one colour per frame
    EXPECT_EQ(inf->GetGroundColor(2, 2, mask), plain);
    inf->startNewGroundDrawing();
    EXPECT_NE(inf->GetGroundColor(2, 2, mask), plain);
    EXPECT_EQ(uint32_t(inf->GetGroundColor(3, 3, TInfluenceMask::Create({}, 0))->toARGB()), 0xFF00FF00u);
    auto mm = TMiniMap::Create(20, 20, 2);
    // Repainted after a rebuild or for another mask only.
    for (const auto& [m, rebuild, paints] :
         {std::tuple{mask, 0, 1}, {mask, 0, 0}, {mask, IL::waitTime, 1}, {mask->Copy(1), 0, 1}}) {
        clock->Advance(rebuild);
        inf->reCalc();
        mm->Write(6, 6, 1, 1);
        inf->renderMiniMap(*mm, m, 1);
        mm->EndWrite(1);
        EXPECT_EQ(mm->Read(6, 6, 1), paints ? uint32_t(m->GetColorOfState(0.5f)->toARGB()) : 1u);
        EXPECT_EQ(mm->Read(0, 0, 1), 0xFFFF0000u);
    }
}
}  // namespace
