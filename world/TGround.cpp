#include "world/TGround.h"

#include <algorithm>

#include "framework/TFastRandom.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "plugins/TPicturePlugin.h"
#include "settings/TConfig.h"
#include "settings/TSettings.h"
#include "world/TGroundLayer.h"
#include "world/TLayer.h"
#include "world/TOPPanel.h"
#include "world/TWaiter.h"

namespace {
// The world's generator decides a new tile; the drawing generator its changing pictures.
vesko::TFastRandom* WorldRandom(const TGroundLayer* gl) { return gl && gl->layer ? gl->layer->random.get() : nullptr; }
vesko::TFastRandom* DrawRandom(const TGroundLayer* gl) {
    return gl && gl->layer ? gl->layer->drawRandom.get() : nullptr;
}
}  // namespace

std::shared_ptr<TGround> TGround::Create(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y,
                                         TGroundLayer* groundLayer) {
    auto t = std::make_shared<TGround>();
    t->p = plugin;
    t->x = x;
    t->y = y;
    t->groundLayer = groundLayer;
    t->water = plugin && plugin->structure == TPicturePlugin::TStructure::Water ? 1 : 0;
    if (t->water) {
        vesko::TFastRandom* random = WorldRandom(groundLayer);
        t->_PrepareWater(random);
        t->wateranim = random && random->GetIntIn(0, 4) == 0 ? 1 : 0;
    }
    t->waterframe = -1;
    return t;
}

void TGround::_DrawAndCache(const std::shared_ptr<TImage>& img, int32_t frame, float sx, float sy, float planeX,
                            float planeY, bool onlyDirect, bool onScreen, uint8_t reach) {
    if (!img) return;
    if (onScreen) DrawImage(img, sx, sy, frame);
    if (!onlyDirect && groundLayer) {
        groundLayer->cache.addImage(img, planeX, planeY, frame, sx, sy, 1, TOPPanel::TReach(reach),
                                    groundLayer->tint.At(x, y));
    }
}

void TGround::Draw(float sx, float sy, int32_t leftEdge, int32_t rightEdge, int32_t direct, float planeX, float planeY,
                   int32_t onScreen, int32_t staticCached) {
    if (!p) return;
    _DrawPictures(sx, sy, leftEdge, rightEdge, direct, planeX, planeY, onScreen, staticCached, TOPPanel::everyBlock);
    if (water && wateranim) _UpdateWater();
}

void TGround::Cache(float planeX, float planeY, int32_t leftEdge, int32_t rightEdge, uint8_t reach) {
    if (!p) return;
    _DrawPictures(0, 0, leftEdge, rightEdge, 0, planeX, planeY, 0, 0, reach);
}

void TGround::_DrawPictures(float sx, float sy, int32_t leftEdge, int32_t rightEdge, int32_t direct, float planeX,
                            float planeY, int32_t onScreen, int32_t staticCached, uint8_t reach) {
    const bool animated = water && wateranim;
    const TPicturePlugin& pic = shown ? *shown : *p;
    // Once cached, the still parts of an animated tile are left to the cache.
    const bool drawStill = !staticCached || direct;
    const bool stillDirect = direct != 0;
    const bool show = onScreen != 0;
    if (drawStill) {
        if (leftEdge) _DrawAndCache(pic.picture[1], 0, sx, sy, planeX, planeY, stillDirect, show, reach);
        if (rightEdge) _DrawAndCache(pic.picture[2], 0, sx, sy, planeX, planeY, stillDirect, show, reach);
    }
    if (drawStill || animated) _DrawAndCache(pic.picture[0], 0, sx, sy, planeX, planeY, direct || animated, show, reach);
    if (waterframe >= 0 && drawStill) {
        _DrawAndCache(TGroundLayer::shoreImg, waterframe, sx, sy, planeX, planeY, stillDirect, show, reach);
        if (leftEdge) {
            _DrawAndCache(TGroundLayer::shoreSideImg, 2 * waterframe, sx, sy, planeX, planeY, stillDirect, show, reach);
        }
        if (rightEdge) {
            float scaleX = 1, scaleY = 1;
            GetScale(scaleX, scaleY);
            const float half = 0.5f * float(TConfig::tilewidth);
            _DrawAndCache(TGroundLayer::shoreSideImg, 2 * waterframe + 1, sx + half * scaleX, sy, planeX + half, planeY,
                          stillDirect, show, reach);
        }
    }
}

void TGround::_PrepareWater(vesko::TFastRandom* random) {
    const int32_t lo = TConfig::waterTileTimerImageChangeMin, hi = TConfig::waterTileTimerImageChangeMax;
    const int32_t ms = random ? random->GetIntIn(lo, hi) : lo;
    if (!w_waiter) w_waiter = TWaiter::Create(ms);
    w_waiter->Reset(ms);
}

void TGround::_UpdateWater() {
    if (!w_waiter || w_waiter->Get() < 0 || !TSettings::ShowWaterImageChange) return;
    vesko::TFastRandom* random = DrawRandom(groundLayer);
    _ChangeWaterTile(random);
    _PrepareWater(random);
}

void TGround::_ChangeWaterTile(vesko::TFastRandom* random) {
    const auto& list = TGroundLayer::waterPlugins;
    if (list.empty()) return;
    const int32_t n = static_cast<int32_t>(list.size());
    const int32_t i = random ? random->GetIntIn(0, n - 1) : 0;
    shown = list[size_t(std::clamp(i, 0, n - 1))];
}

int32_t TGround::GetCol() {
    if (_col == 0) _col = water ? colWater : (waterframe >= 0 ? colShore : colLand);
    return _col;
}
