#include "world/TGroundLayer.h"

#include <unordered_map>

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "framework/TFastRandom.h"
#include "persistence/TDataFile.h"
#include "platform/TCatalogue.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TPaths.h"
#include "platform/TStream.h"
#include "plugins/TPicturePlugin.h"
#include "settings/TConfig.h"
#include "settings/TSettings.h"
#include "world/TGround.h"
#include "world/TISO.h"
#include "world/TInfluenceLayer.h"
#include "world/TLayer.h"
#include "world/TOPPanel.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"
#include "world/TWorldFile.h"

namespace {
// Shore frame by which neighbours are water: index N0 * 8 + N1 * 4 + N2 * 2 + N3 with N0 = (x, y - 1),
// N1 = (x + 1, y), N2 = (x, y + 1), N3 = (x - 1, y).
constexpr int32_t shoreFrames[16] = {-1, 3, 0, 7, 1, 14, 5, 11, 2, 6, 13, 9, 8, 12, 10, 4};

// The rectangle, relative to a tile's plane position, that the images it queues for the cache
// may cover.
struct TReachRect {
    float left = 0, top = 0, right = 0, bottom = 0;
    void Add(const std::shared_ptr<TImage>& img, float dx) {
        if (!img) return;
        const float l = dx - img->handle_x, t = 0.5f * float(TConfig::tileheight) - img->handle_y;
        left = std::min(left, l);
        top = std::min(top, t);
        right = std::max(right, l + float(img->width));
        bottom = std::max(bottom, t + float(img->height));
    }
};

// How far the images of a tile on a cache layer reach from its plane position, with a tile's
// margin for pictures not listed here.
TReachRect TileReach(int32_t cacheLayer) {
    const float tw = float(TConfig::tilewidth), th = float(TConfig::tileheight);
    TReachRect reach{0, 0, tw, th};
    if (cacheLayer == 0) {
        reach.Add(TGroundLayer::blackImg, 0);
    } else {
        for (const auto* list : {&TGroundLayer::groundPlugins, &TGroundLayer::waterPlugins}) {
            for (const auto& p : *list) {
                for (const auto& picture : p->picture) reach.Add(picture, 0);
            }
        }
        reach.Add(TGroundLayer::shoreImg, 0);
        reach.Add(TGroundLayer::shoreSideImg, 0);
        reach.Add(TGroundLayer::shoreSideImg, 0.5f * tw);
        for (const auto& street : TStreet::streets) {
            if (street) reach.Add(street->image, 0);
        }
    }
    reach.left -= tw;
    reach.right += tw;
    reach.top -= th;
    reach.bottom += th;
    return reach;
}

std::shared_ptr<TImage> LoadReported(const std::string& path, int32_t cellW, int32_t cellH, int32_t frames) {
    auto img = frames > 0 ? TImage::LoadAnim(TPaths::Resolve(path), cellW, cellH, 0, frames)
                          : TImage::Load(TPaths::Resolve(path));
    if (!img) Print("Image could not be loaded: " + path);
    return img;
}
}  // namespace

void TGroundLayer::Prepare() {
    const int32_t tw = TConfig::tilewidth, th = TConfig::tileheight;
    SetMaskColor(255, 0, 255);
    shoreImg = LoadReported("data/gfx/natur/flussufer.png", tw, th, 30);
    if (shoreImg) shoreImg->SetHandle(0, 0.5f * float(th));
    shoreSideImg = LoadReported("data/gfx/natur/flussufer_earth.png", tw / 2, 3 * th, 60);
    if (shoreSideImg) shoreSideImg->SetHandle(0, 0.5f * float(th));

    waterPlugins.clear();
    groundPlugins.clear();
    for (const auto& plugin : TPlugin::PluginList()) {
        auto pp = std::dynamic_pointer_cast<TPicturePlugin>(plugin);
        if (!pp) continue;
        if (pp->structure == TPicturePlugin::TStructure::Water) _AddWater(pp);
        if (pp->structure == TPicturePlugin::TStructure::Ground) _AddGround(pp);
    }

    SetMaskColor(0, 0, 0);
    causticsImg1 = LoadReported("data/gfx/natur/tex_caustics_001.png", 0, 0, 0);
    causticsImg2 = LoadReported("data/gfx/natur/tex_caustics_002.png", 0, 0, 0);
    for (auto* img : {&causticsImg1, &causticsImg2}) {
        if (*img) (*img)->SetHandle(0, 0);
    }
    SetMaskColor(255, 0, 255);
    blackImg = LoadReported("data/gfx/felder/black.png", 0, 0, 0);
    if (blackImg) blackImg->SetHandle(0, 0.5f * float(th));
    deleteImg = LoadReported("data/gfx/felder/delete.png", 0, 0, 0);
    if (deleteImg) deleteImg->SetHandle(0, 0.5f * float(deleteImg->height));
}

void TGroundLayer::_AddWater(const std::shared_ptr<TPicturePlugin>& plugin) {
    if (plugin) waterPlugins.push_back(plugin);
}

void TGroundLayer::_AddGround(const std::shared_ptr<TPicturePlugin>& plugin) {
    if (plugin) groundPlugins.push_back(plugin);
}

std::shared_ptr<TGroundLayer> TGroundLayer::_create(TLayer* layer) {
    auto g = std::make_shared<TGroundLayer>();
    g->layer = layer;
    g->Width = layer ? std::max(0, layer->Width) : 0;
    g->Height = layer ? std::max(0, layer->Height) : 0;
    const size_t cells = size_t(g->Width) * size_t(g->Height);
    g->arr.assign(cells, nullptr);
    g->arrRendered.assign(cells, notRendered);
    g->arrBlackTileRendered.assign(cells * 4, 0);
    return g;
}

void TGroundLayer::TileImage(const std::shared_ptr<TImage>& image, float offsetX, float offsetY, TRect area) {
    if (!image) return;
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    const float w = float(image->width) * sx, h = float(image->height) * sy;
    if (!(w >= 1.0f) || !(h >= 1.0f)) return;
    int32_t vx = 0, vy = 0, vw = 0, vh = 0;
    GetViewport(vx, vy, vw, vh);
    area = {std::max(area.x0, float(vx)), std::max(area.y0, float(vy)), std::min(area.x1, float(vx + vw)),
            std::min(area.y1, float(vy + vh))};
    if (!(area.x1 > area.x0) || !(area.y1 > area.y0)) return;
    float ox = std::fmod(offsetX - area.x0, w), oy = std::fmod(offsetY - area.y0, h);
    if (!std::isfinite(ox) || !std::isfinite(oy)) return;
    if (ox > 0) ox -= w;
    if (oy > 0) oy -= h;
    for (float y = area.y0 + oy; y < area.y1; y += h) {
        for (float x = area.x0 + ox; x < area.x1; x += w) {
            // The part of the tile inside the area, in the image's own pixels.
            const float l = std::max(0.0f, (area.x0 - x) / sx), t = std::max(0.0f, (area.y0 - y) / sy);
            const float r = std::min(float(image->width), (area.x1 - x) / sx);
            const float b = std::min(float(image->height), (area.y1 - y) / sy);
            if (l == 0 && t == 0 && r == float(image->width) && b == float(image->height)) {
                DrawImage(image, x, y, 0);
            } else if (r > l && b > t) {
                DrawImageArea(*image, 0, l, t, r - l, b - t, x, y, l, t);
            }
        }
    }
}

int32_t TGroundLayer::_SetTile(int32_t x, int32_t y, int32_t water, const std::shared_ptr<TPicturePlugin>& plugin) {
    if (!_InField(x, y)) return 0;
    std::shared_ptr<TPicturePlugin> p = plugin;
    vesko::TFastRandom* random = layer ? layer->random.get() : nullptr;
    auto pick = [random](const std::vector<std::shared_ptr<TPicturePlugin>>& list) {
        const int32_t n = static_cast<int32_t>(list.size());
        const int32_t i = random ? random->GetIntIn(0, n - 1) : 0;
        return list[size_t(std::clamp(i, 0, n - 1))];
    };
    if (!p) {
        if (water && !waterPlugins.empty()) {
            p = pick(waterPlugins);
        } else if (!groundPlugins.empty()) {
            p = pick(groundPlugins);
        }
    }
    if (!p) return 0;
    arr[_Index(x, y)] = TGround::Create(p, x, y, this);
    _UpdateTile(x, y - 1);
    _UpdateTile(x - 1, y);
    _UpdateTile(x, y);
    _UpdateTile(x + 1, y);
    _UpdateTile(x, y + 1);
    return 1;
}

std::shared_ptr<TGround> TGroundLayer::_GetTile(int32_t x, int32_t y) const {
    return _InField(x, y) ? arr[_Index(x, y)] : nullptr;
}

void TGroundLayer::_Clear(int32_t water) {
    for (int32_t y = 0; y < Height; ++y) {
        for (int32_t x = 0; x < Width; ++x) _SetTile(x, y, water, nullptr);
    }
}

int32_t TGroundLayer::_IsFieldWater(int32_t x, int32_t y, int32_t def) const {
    const auto t = _GetTile(x, y);
    return t ? t->water : def;
}

void TGroundLayer::_UpdateTile(int32_t x, int32_t y) {
    if (!_InField(x, y)) return;
    arrRendered[_Index(x, y)] = notRendered;
    const auto t = arr[_Index(x, y)];
    if (t && !t->water) {
        const int32_t index = _IsFieldWater(x, y - 1, 0) * 8 + _IsFieldWater(x + 1, y, 0) * 4 +
                              _IsFieldWater(x, y + 1, 0) * 2 + _IsFieldWater(x - 1, y, 0);
        int32_t frame = shoreFrames[index];
        if (frame >= 0 && layer && layer->random) frame += 15 * layer->random->GetIntIn(0, 1);
        // The minimap colour depends on being a shore; it is computed again when that changes.
        if ((frame >= 0) != (t->waterframe >= 0)) t->_col = 0;
        t->waterframe = frame;
    }
    if (layer) layer->_RedrawMM(x, y);
}

float TGroundLayer::_WaterPercentage(int32_t x, int32_t y, int32_t w, int32_t h) const {
    if (w <= 0 || h <= 0) return 0.0f;
    float sum = 0;
    for (int32_t i = 0; i < w; ++i) {
        for (int32_t j = 0; j < h; ++j) {
            const auto t = _GetTile(x + i, y + j);
            if (!t) continue;
            if (t->water) {
                sum += 1.0f;
            } else if (t->waterframe >= 0) {
                sum += 0.5f;
            }
        }
    }
    return sum / (float(w) * float(h));
}

float TGroundLayer::_PicturePluginWaterPercentage(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x,
                                                  int32_t y) const {
    if (!plugin) return 0.0f;
    return _WaterPercentage(x, y, plugin->SizeX[0], plugin->SizeY[0]);
}

int32_t TGroundLayer::_GetCol(int32_t x, int32_t y) const {
    const auto t = _GetTile(x, y);
    return t ? t->GetCol() : 0;
}

bool TGroundLayer::_IsMarkedForDelete(int32_t x, int32_t y) const {
    for (size_t i = 0; i < delX.size(); ++i) {
        if (delX[i] == x && delY[i] == y) return true;
    }
    return false;
}

int32_t TGroundLayer::markTileForDelete(int32_t x, int32_t y) {
    delMark = 1;
    if (_IsMarkedForDelete(x, y)) return 0;
    delX.push_back(x);
    delY.push_back(y);
    return 1;
}

void TGroundLayer::_ScreenPos(float x, float y, float& sx, float& sy) const {
    sx = sy = 0;
    if (layer && layer->iso) layer->iso->ToIso(x, y, sx, sy);
}

void TGroundLayer::_PlanePos(float x, float y, float& px, float& py) const {
    const float tw = float(TConfig::tilewidth), th = float(TConfig::tileheight);
    const float mapWidth = 0.5f * tw * float(Width + Height);
    px = 0.5f * (x + y) * tw - 0.5f * mapWidth + 0.5f * float(layer->viewWidth);
    py = 0.5f * (x - y) * th + 0.5f * float(layer->viewHeight);
}

void TGroundLayer::Draw(int32_t x, int32_t y, int32_t dim) {
    if (!_InField(x, y) || !layer) return;
    // Called for every cell on screen each frame: a plain pointer (the grid keeps the tile)
    // spares the shared count, whose cache miss grows with the map.
    TGround* const t = arr[_Index(x, y)].get();
    if (!t) return;
    float sx = 0, sy = 0, px = 0, py = 0;
    _ScreenPos(float(x), float(y), sx, sy);
    _PlanePos(float(x), float(y), px, py);
    const bool visible = layer->_InView(sx, sy, 0) != 0;
    uint8_t& state = arrRendered[_Index(x, y)];
    TRoadLayer* roads = layer->RoadLayer.get();
    const int32_t leftEdge = y == 0 ? 1 : 0;
    const int32_t rightEdge = x == Width - 1 ? 1 : 0;
    if (state != rendered) {
        SetAlpha(1.0f);
        // On screen as in the cache: multiplied by the tile's influence colour.
        const uint32_t texel = tint.At(x, y);
        if (texel != TGroundTint::white) {
            SetColor(int32_t(texel >> 16 & 0xFFu), int32_t(texel >> 8 & 0xFFu), int32_t(texel & 0xFFu));
        }
        t->Draw(sx, sy, leftEdge, rightEdge, 0, px, py, visible ? 1 : 0, state == renderedButAnimated ? 1 : 0);
        if (texel != TGroundTint::white) SetColor(255, 255, 255);
        state = t->wateranim ? renderedButAnimated : rendered;
        // The flat road goes into the cache with its ground. The traffic view tints it on
        // screen only: the cache keeps it plain for the frames after.
        if (roads && roads->showtrafficcolors) {
            if (visible) roads->Draw(x, y, sx, sy, 1, px, py, 1);
            _CacheRoad(x, y, px, py, TOPPanel::everyBlock);
        } else if (roads) {
            roads->Draw(x, y, sx, sy, 0, px, py, visible ? 1 : 0);
        }
    } else if (roads && visible && roads->showtrafficcolors) {
        // The traffic view tints the cached road directly over the cache.
        roads->Draw(x, y, sx, sy, 1, px, py, 1);
    }
    // The mark shows on cached tiles too, so that the whole destroy square is marked.
    if (delMark && visible && deleteImg && _IsMarkedForDelete(x, y)) {
        SetAlpha(dim ? 0.2f : 1.0f);
        DrawImage(deleteImg, sx, sy, 0);
        SetAlpha(1.0f);
    }
    if (visible && roads) roads->DrawMask(x, y, sx, sy, dim);
}

void TGroundLayer::UpdateTint() {
    if (!layer) return;
    // The blocks holding a tile whose colour changed are dropped: those on screen are drawn again
    // from their tiles in this frame, the others when they come into view.
    std::optional<TReachRect> reach;  // worked out only when a colour changed
    std::set<std::pair<int32_t, int32_t>> stale;
    tint.Update(layer->InfluenceLayer.get(), infMask, [&](int32_t x, int32_t y) {
        if (!reach) reach = TileReach(1);
        float px = 0, py = 0;
        _PlanePos(float(x), float(y), px, py);
        const int32_t i1 = TOPPanel::BlockIndex(px + reach->right), j1 = TOPPanel::BlockIndex(py + reach->bottom);
        for (int32_t i = TOPPanel::BlockIndex(px + reach->left); i <= i1; ++i) {
            for (int32_t j = TOPPanel::BlockIndex(py + reach->top); j <= j1; ++j) stale.emplace(i, j);
        }
    });
    for (const auto& [i, j] : stale) cache.DropBlock(i, j, 1);
}

void TGroundLayer::drawBlackTile(int32_t x, int32_t y, int32_t force) {
    if (_InField(x, y) || !layer) return;
    float sx = 0, sy = 0;
    _ScreenPos(float(x), float(y), sx, sy);
    const bool visible = layer->_InView(sx, sy, 0) != 0;
    if (!visible && !force) return;
    const int32_t i = x + Width / 2, j = y + Height / 2;
    if (i < 0 || j < 0 || i >= 2 * Width || j >= 2 * Height) {
        if (visible) DrawImage(blackImg, sx, sy, 0);
        return;
    }
    uint8_t& cached = arrBlackTileRendered[size_t(i) * size_t(2 * Height) + size_t(j)];
    if (cached) return;
    if (visible) DrawImage(blackImg, sx, sy, 0);
    float px = 0, py = 0;
    _PlanePos(float(x), float(y), px, py);
    cache.addImage(blackImg, px, py, 0, sx, sy, 0);
    cached = 1;
}

void TGroundLayer::preRender() {
    if (preRendered) return;
    preRendered = 1;
    if (!layer) return;
    for (int32_t x = 0; x < Width; ++x) {
        for (int32_t y = 0; y < Height; ++y) {
            float sx = 0, sy = 0;
            _ScreenPos(float(x), float(y), sx, sy);
            if (layer->_InView(sx, sy, 0)) {
                // On screen this once, with its marks; the blocks drawn over it hold the same.
                Draw(x, y, 0);
                continue;
            }
            TGround* const t = arr[_Index(x, y)].get();
            if (t && t->p && t->water && t->wateranim && arrRendered[_Index(x, y)] != rendered) t->_UpdateWater();
        }
    }
}

void TGroundLayer::_CacheRoad(int32_t x, int32_t y, float px, float py, uint8_t reach) const {
    TRoadLayer* roads = layer ? layer->RoadLayer.get() : nullptr;
    if (!roads) return;
    const auto road = roads->_GetTile(x, y);
    if (!road || road->bridge || !road->s) return;
    cache.addImage(road->s->image, px, py, road->Frame, 0, 0, 1, TOPPanel::TReach(reach));
}

void TGroundLayer::_onFillBlock(void* context, int32_t i, int32_t j, int32_t cacheLayer) {
    if (context) static_cast<TGroundLayer*>(context)->FillBlock(i, j, cacheLayer);
}

void TGroundLayer::FillBlock(int32_t i, int32_t j, int32_t cacheLayer) {
    const float tw = float(TConfig::tilewidth), th = float(TConfig::tileheight);
    if (Width <= 0 || Height <= 0 || !(tw > 0) || !(th > 0)) return;
    const TReachRect reach = TileReach(cacheLayer);

    // A tile (x, y) lies at plane (origin + (x + y) * tw / 2, origin + (x - y) * th / 2): the block
    // gives a range of x + y and of x - y, and so the tiles to look at.
    float ox = 0, oy = 0;
    _PlanePos(0, 0, ox, oy);
    const double bx0 = double(i) * TOPPanel::blockSize, by0 = double(j) * TOPPanel::blockSize;
    const double bx1 = bx0 + TOPPanel::blockSize, by1 = by0 + TOPPanel::blockSize;
    const double uLo = std::floor((bx0 - reach.right - ox) / (0.5 * tw));
    const double uHi = std::ceil((bx1 - reach.left - ox) / (0.5 * tw));
    const double vLo = std::floor((by0 - reach.bottom - oy) / (0.5 * th));
    const double vHi = std::ceil((by1 - reach.top - oy) / (0.5 * th));
    // The ring is the area cached around the map: twice its size, the map in the middle.
    const bool ring = cacheLayer == 0;
    const int64_t xMin = ring ? -(Width / 2) : 0, xMax = ring ? 2 * int64_t(Width) - Width / 2 - 1 : Width - 1;
    const int64_t yMin = ring ? -(Height / 2) : 0, yMax = ring ? 2 * int64_t(Height) - Height / 2 - 1 : Height - 1;
    const int64_t x0 = int64_t(std::max(double(xMin), std::floor(0.5 * (uLo + vLo))));
    const int64_t x1 = int64_t(std::min(double(xMax), std::ceil(0.5 * (uHi + vHi))));
    for (int64_t x = x0; x <= x1; ++x) {
        const int64_t y0 = int64_t(std::max({double(yMin), uLo - double(x), double(x) - vHi}));
        const int64_t y1 = int64_t(std::min({double(yMax), uHi - double(x), double(x) - vLo}));
        for (int64_t y = y0; y <= y1; ++y) {
            const int32_t tx = int32_t(x), ty = int32_t(y);
            float px = 0, py = 0;
            if (ring) {
                if (_InField(tx, ty)) continue;
                uint8_t& cached =
                    arrBlackTileRendered[size_t(x + Width / 2) * size_t(2 * Height) + size_t(y + Height / 2)];
                _PlanePos(float(tx), float(ty), px, py);
                // A tile not yet in every block the cache holds goes into all of them.
                cache.addImage(blackImg, px, py, 0, 0, 0, 0, cached ? TOPPanel::filledBlock : TOPPanel::everyBlock);
                cached = 1;
                continue;
            }
            TGround* const t = arr[_Index(tx, ty)].get();
            if (!t) continue;
            uint8_t& state = arrRendered[_Index(tx, ty)];
            const uint8_t to = state == notRendered ? TOPPanel::everyBlock : TOPPanel::filledBlock;
            _PlanePos(float(tx), float(ty), px, py);
            t->Cache(px, py, ty == 0 ? 1 : 0, tx == Width - 1 ? 1 : 0, to);
            _CacheRoad(tx, ty, px, py, to);
            state = t->wateranim ? renderedButAnimated : rendered;
        }
    }
}

std::vector<TGroundLayer::TRect> TGroundLayer::_WaterOnScreen() const {
    int32_t vx = 0, vy = 0, vw = 0, vh = 0;
    GetViewport(vx, vy, vw, vh);
    if (!layer || !layer->iso || vw <= 0 || vh <= 0 || Width <= 0 || Height <= 0) return {};
    const TISO& iso = *layer->iso;
    // The map rectangle that holds every tile on screen: the screen's corners on the map.
    float mx0 = 1e9f, my0 = 1e9f, mx1 = -1e9f, my1 = -1e9f;
    for (const auto& [cx, cy] :
         {std::pair{vx, vy}, std::pair{vx + vw, vy}, std::pair{vx, vy + vh}, std::pair{vx + vw, vy + vh}}) {
        float mx = 0, my = 0;
        iso.FromIso(float(cx), float(cy), mx, my);
        mx0 = std::min(mx0, mx);
        my0 = std::min(my0, my);
        mx1 = std::max(mx1, mx);
        my1 = std::max(my1, my);
    }
    if (!std::isfinite(mx0) || !std::isfinite(my0) || !std::isfinite(mx1) || !std::isfinite(my1)) return {};
    constexpr float margin = 3;
    const int32_t tx0 = int32_t(std::clamp(std::floor(mx0 - margin), 0.0f, float(Width - 1)));
    const int32_t ty0 = int32_t(std::clamp(std::floor(my0 - margin), 0.0f, float(Height - 1)));
    const int32_t tx1 = int32_t(std::clamp(std::ceil(mx1 + margin), 0.0f, float(Width - 1)));
    const int32_t ty1 = int32_t(std::clamp(std::ceil(my1 + margin), 0.0f, float(Height - 1)));
    // Below the ground blocks only the water tiles' own diamonds are transparent (moving water is
    // never cached, and the land pictures beside it cover their own tiles); at the map's lower
    // edges the side faces hang below them. A pixel of margin against rounding.
    const float tw = float(TConfig::tilewidth) * iso.ScaleX, th = float(TConfig::tileheight) * iso.ScaleY;
    const int32_t bands = (vh + waterBand - 1) / waterBand;
    std::vector<std::vector<std::pair<float, float>>> spans(static_cast<size_t>(bands));
    for (int32_t tx = tx0; tx <= tx1; ++tx) {
        for (int32_t ty = ty0; ty <= ty1; ++ty) {
            const TGround* t = arr[_Index(tx, ty)].get();
            if (!t || !t->water) continue;
            float sx = 0, sy = 0;
            _ScreenPos(float(tx), float(ty), sx, sy);
            const bool edge = ty == 0 || tx == Width - 1;
            const float top = (sy - 0.5f * th - 1 - float(vy)) / float(waterBand);
            const float bottom = (sy + (edge ? 3.5f : 0.5f) * th + 1 - float(vy)) / float(waterBand);
            if (!(bottom >= 0) || !(top < float(bands))) continue;
            for (int32_t b = int32_t(std::max(0.0f, top)); b < bands && float(b) <= bottom; ++b) {
                spans[size_t(b)].emplace_back(sx - 1, sx + tw + 1);
            }
        }
    }
    std::vector<TRect> out;
    for (int32_t b = 0; b < bands; ++b) {
        auto& list = spans[size_t(b)];
        std::sort(list.begin(), list.end());
        const float y0 = float(vy + b * waterBand), y1 = float(std::min(vy + vh, vy + (b + 1) * waterBand));
        for (size_t i = 0; i < list.size();) {
            // Spans closer than a band's height are joined: a few more pixels cost less than
            // another quad.
            float x0 = list[i].first, x1 = list[i].second;
            for (++i; i < list.size() && list[i].first <= x1 + float(waterBand); ++i) x1 = std::max(x1, list[i].second);
            // Whole pixels, so that neighbouring bands meet without a gap or an overlap.
            const TRect r{std::max(float(vx), std::floor(x0)), y0, std::min(float(vx + vw), std::ceil(x1)), y1};
            if (r.x1 > r.x0) out.push_back(r);
        }
    }
    return out;
}

void TGroundLayer::DrawBackground() {
    cache.SetSource(TOPPanel::TFill(&TGroundLayer::_onFillBlock, this));
    preRender();
    if (!layer) return;
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    const float vw = float(layer->viewWidth), vh = float(layer->viewHeight);
    if (TSettings::ShowWaterAnimation) {
        const std::vector<TRect> water = _WaterOnScreen();
        SetScale(2 * sx, 2 * sy);
        const float baseX = layer->GetX() + 0.5f * (vw - sx * vw);
        const float baseY = layer->GetY() + 0.5f * (vh - sy * vh);
        for (const auto& [image, offset] :
             {std::pair{causticsImg2, causticsOffset2 * sx}, std::pair{causticsImg1, causticsOffset1 * sy}}) {
            for (const TRect& r : water) TileImage(image, baseX + offset, baseY, r);
        }
    }
    SetScale(sx, sy);
    causticsOffset1 += TConfig::waterTexture01Speed * layer->Time * sx;
    causticsOffset2 -= TConfig::waterTexture02Speed * layer->Time * sy;
    // The offsets only matter modulo the texture size; keeping them small keeps them exact.
    for (auto [offset, img] : {std::pair{&causticsOffset1, causticsImg1}, std::pair{&causticsOffset2, causticsImg2}}) {
        const float period = img ? float(img->width) * 2 * sx : 0.0f;
        if (period >= 1.0f && std::fabs(*offset) > 1e6f) *offset = std::fmod(*offset, period);
    }
}

void TGroundLayer::EndDraw() {
    delMark = 0;
    delX.clear();
    delY.clear();
    infMask.reset();
}

void TGroundLayer::_onSave(TWorldFile& wf) {
    wf.file.addHeader("ground");
    // A palette of the plugins in use, then one record per map column: per tile its palette
    // entry times two, plus one when its water is animated.
    std::unordered_map<const TPicturePlugin*, int32_t> palette;
    TRecord ids, kinds;
    std::vector<TRecord> columns(static_cast<size_t>(Width));
    for (int32_t x = 0; x < Width; ++x) {
        for (int32_t y = 0; y < Height; ++y) {
            const auto& t = arr[_Index(x, y)];
            const TPicturePlugin* p = t ? t->p.get() : nullptr;
            auto it = palette.find(p);
            if (it == palette.end()) {
                it = palette.emplace(p, int32_t(palette.size())).first;
                ids.AddWord(p ? p->id : std::string());
                kinds.AddInt(t ? t->water : 0);
            }
            columns[size_t(x)].AddInt(int64_t(it->second) * 2 + (t && t->wateranim ? 1 : 0));
        }
    }
    wf.AddRecord("plugins", ids);
    wf.AddRecord("water", kinds);
    for (const auto& c : columns) wf.AddRecord("column", c);
}

void TGroundLayer::_onLoad(TWorldFile& wf) {
    const auto section = wf.Section("ground");
    if (!section) return;
    std::vector<std::shared_ptr<TPicturePlugin>> plugins;
    std::vector<int32_t> water;
    int32_t x = 0;
    wf.EachFlag(section, [&](const std::string& name, TRecord& r) {
        if (name == "plugins") {
            for (std::string id; !r.AtEnd() && r.Word(id);) {
                auto p = std::dynamic_pointer_cast<TPicturePlugin>(TPlugin::Get(id));
                if (!p && !id.empty()) wf.Missing(id);
                plugins.push_back(p);
            }
        } else if (name == "water") {
            for (int32_t w = 0; !r.AtEnd() && r.Int(w, 0, 1);) water.push_back(w);
        } else if (name == "column") {
            if (x >= Width || water.size() != plugins.size()) return wf.Broken("ground");
            const int32_t entries = int32_t(plugins.size()) * 2 - 1;
            for (int32_t y = 0; y < Height; ++y) {
                int32_t v = 0;
                if (!r.Int(v, 0, entries)) return wf.Broken("ground");
                // A tile whose plugin is gone takes one of its kind.
                const size_t k = size_t(v / 2);
                if (!_SetTile(x, y, water[k], plugins[k])) return wf.Fail(Tr("Kein Bodenbild geladen"));
                arr[_Index(x, y)]->wateranim = arr[_Index(x, y)]->water ? v % 2 : 0;
            }
            if (!r.Ok() || !r.AtEnd()) return wf.Broken("ground");
            ++x;
        }
    });
    if (x != Width) wf.Broken("ground");
}

void TGroundLayer::Destroy() {
    cache.DePrepare();
    tint.Forget();
}

void TGroundLayer::ForgetCache() {
    cache.DePrepare();
    std::fill(arrRendered.begin(), arrRendered.end(), notRendered);
    std::fill(arrBlackTileRendered.begin(), arrBlackTileRendered.end(), 0);
    preRendered = 0;
}

void TGroundLayer::DePrepare() {
    waterPlugins.clear();
    groundPlugins.clear();
    shoreImg.reset();
    shoreSideImg.reset();
    causticsImg1.reset();
    causticsImg2.reset();
    blackImg.reset();
    deleteImg.reset();
    causticsOffset1 = causticsOffset2 = 0;
}
