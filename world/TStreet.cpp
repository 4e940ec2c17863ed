#include "world/TStreet.h"

#include "platform/TImage.h"
#include "platform/TStream.h"
#include "plugins/TStreetPlugin.h"
#include "world/TBridgeAlign.h"
#include "world/TStreetAlign.h"
#include "world/TStreetFrame.h"

void TStreet::_BuildTables() {
    using L = std::vector<int32_t>;
    auto sa = TStreetAlign::Create();
    sa->AddAlign(0, L{2}, L{2}, L{0}, L{0});
    sa->AddAlign(1, L{1}, L{3}, L{3}, L{1});
    sa->AddAlign(4, L{2}, L{3}, L{0}, L{0});
    sa->AddAlign(5, L{2}, L{2}, L{0}, L{1});
    sa->AddAlign(6, L{1}, L{3}, L{0}, L{1});
    sa->AddAlign(7, L{2}, L{3}, L{3}, L{1});
    sa->AddAlign(8, L{2}, L{3}, L{3}, L{0});
    sa->AddAlign(9, L{1}, L{3}, L{0}, L{0});
    sa->AddAlign(10, L{1}, L{2}, L{0}, L{1});
    sa->AddAlign(11, L{2}, L{2}, L{3}, L{1});
    sa->AddAlign(12, L{2, 1}, L{3, 2}, L{3, 0}, L{0, 1});
    sa->AddAlign(16, L{2}, L{3, 2}, L{3, 0}, L{1, 0});
    sa->AddAlign(17, L{1, 2}, L{3}, L{3, 0}, L{0, 1});
    sa->AddAlign(18, L{1}, L{2, 3}, L{3, 0}, L{1});
    sa->AddAlign(19, L{1, 2}, L{2, 3}, L{0}, L{0});
    sa->AddAlign(20, L{2}, L{3}, L{0}, L{1});
    sa->AddAlign(23, L{1}, L{2}, L{3}, L{0});
    sharedAlign = sa;
    // Type index 1 has its own copy; no street uses it.
    sharedAlign1 = std::make_shared<TStreetAlign>(*sa);

    auto sf = TStreetFrame::Create();
    const int32_t rows[16][5] = {{0, 0, 0, 0, 20}, {1, 0, 0, 0, 4},  {0, 1, 0, 0, 6},  {0, 0, 1, 0, 5},
                                 {0, 0, 0, 1, 7},  {1, 1, 0, 0, 9},  {0, 1, 1, 0, 10}, {0, 0, 1, 1, 11},
                                 {1, 1, 1, 0, 19}, {0, 1, 1, 1, 18}, {1, 0, 1, 1, 16}, {1, 1, 0, 1, 17},
                                 {1, 0, 1, 0, 0},  {0, 1, 0, 1, 1},  {1, 1, 1, 1, 12}, {1, 0, 0, 1, 8}};
    for (const auto& r : rows) sf->add(r[0], r[1], r[2], r[3], -1, r[4], 1);
    sharedFrame = sf;
    sharedFrame1 = std::make_shared<TStreetFrame>(*sf);

    maskTable.fill(0);
    const int32_t masks[15][2] = {{0, 5},   {1, 0},   {4, 3},   {5, 4},  {6, 2},  {7, 1},  {8, 10}, {9, 13},
                                  {10, 12}, {11, 11}, {12, 14}, {16, 7}, {17, 6}, {18, 8}, {19, 9}};
    for (const auto& m : masks) maskTable[size_t(m[0])] = m[1];

    auto ba = TBridgeAlign::Create();
    const int32_t bridge[4][4][2] = {{{1, -1}, {6, 10}, {5, 9}, {4, 8}},
                                     {{3, -1}, {14, 18}, {13, 17}, {12, 16}},
                                     {{0, -1}, {6, 10}, {5, 9}, {4, 8}},
                                     {{2, -1}, {14, 18}, {13, 17}, {12, 16}}};
    for (int32_t d = 0; d < 4; ++d) {
        for (int32_t k = 0; k < 4; ++k) ba->AddFrame(d, k, bridge[d][k][0], bridge[d][k][1]);
    }
    sharedBridgeAlign = ba;
}

void TStreet::Init(const std::string& folder, int32_t tileW, int32_t tileH) {
    SetMaskColor(255, 0, 255);
    const std::string path = folder + "/direction_possible.png";
    directionImg = TImage::LoadAnim(path, tileW, tileH, 0, maskFrameCount);
    if (directionImg) {
        directionImg->SetHandle(0, 0.5f * float(tileH));
    } else {
        Print("Image could not be loaded: " + path);
    }
    _BuildTables();
    TStreetPlugin::SetStreetFactory(&TStreet::CreateFromPlugin);
}

void TStreet::DeInit() {
    ClearRegistry();
    directionImg.reset();
    sharedAlign.reset();
    sharedAlign1.reset();
    sharedFrame.reset();
    sharedFrame1.reset();
    sharedBridgeAlign.reset();
    if (TStreetPlugin::GetStreetFactory() == &TStreet::CreateFromPlugin) TStreetPlugin::SetStreetFactory(nullptr);
}

void TStreet::ClearRegistry() {
    streets.clear();
    for (auto& list : streetsByLevel) list.clear();
}

std::shared_ptr<TStreet> TStreet::CreateFromPlugin(const std::shared_ptr<TStreetPlugin>& plugin) {
    if (!plugin) return nullptr;
    if (!sharedFrame) _BuildTables();
    auto s = std::make_shared<TStreet>();
    s->generateFromPlugin(plugin);
    _add(s);
    return s;
}

void TStreet::_add(const std::shared_ptr<TStreet>& street) {
    if (!street) return;
    streets.push_back(street);
    if (street->level < levelCount) streetsByLevel[street->level].push_back(street);
}

std::shared_ptr<TStreet> TStreet::GetByLevel(int32_t level, int32_t index) {
    if (level < 0 || level >= levelCount) return nullptr;
    const auto& list = streetsByLevel[size_t(level)];
    if (index < 0 || size_t(index) >= list.size()) return nullptr;
    return list[size_t(index)];
}

void TStreet::generateFromPlugin(const std::shared_ptr<TStreetPlugin>& p) {
    plugin = p.get();
    level = p->level;
    Name = p->Name;
    image = p->image;
    price = p->price;
    bridgePrice = p->bridgePrice;
    trafficlights = p->trafficLightsImg;
    bridgeImages = p->bridgeImages;
    bridgeNames = p->bridgeNames;
    bridgeHeights = p->bridgeHeights;
    bridgeMaxLength = p->maxBridgeLength;
    nearwater = p->nearWater;
    speed = p->carSpeed;
    airPollutionValue = p->airPollutionValue;
    airPollutionRadius = p->airPollutionRadius;
    noiseValue = p->noiseValue;
    noiseRadius = p->noiseRadius;
    SizeX = SizeY = 1;
    typ = 0;
    sa = sharedAlign;
    sf = sharedFrame;
    bridgealign = sharedBridgeAlign;
    maskimg = directionImg;
    maskframe = maskTable;
    bridgeAble = bridgeImages.empty() ? 0 : 1;
}
