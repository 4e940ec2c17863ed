// The world's editing modes: road mode (plan a straight road, with bridges over water), build
// mode (place one building) and destroy mode (clear a square of tiles). Each runs once per frame from Update, previews
// its plan through the road, building and ground layers and asks the game before it changes the map.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TGroundLayer.h"
#include "world/TISO.h"
#include "world/TInfluenceLayer.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"
#include "world/TTree.h"

namespace {
int32_t Sign(int32_t v) { return (v > 0) - (v < 0); }

// Colour codes of build previews: green where the building may stand, red where not.
constexpr int32_t previewPlaceable = 0, previewRefused = 1;

// Truncation toward zero of a pointer position that may be far off the map.
int32_t Trunc(float v) {
    if (!(std::fabs(v) < 1e9f)) return v < 0 ? -1000000000 : 1000000000;
    return static_cast<int32_t>(v);
}
}  // namespace

void TLayer::BeginRoadMode(const std::shared_ptr<TStreet>& street, TConfirmFunc::Function func, void* context) {
    if (roadmode && rm_s == street) return;
    EndMode();
    roadmode = 1;
    rm_sx = rm_sy = rm_x = rm_y = -1;
    rm_s = street;
    rm_mode = 0;
    rm_func = TConfirmFunc(func, context);
}

void TLayer::BeginBuildMode(const std::shared_ptr<TPicturePlugin>& plugin, TConfirmFunc::Function func, void* context) {
    if (buildmode && bm_p == plugin) return;
    EndMode();
    buildmode = 1;
    bm_mode = 0;
    bm_p = plugin;
    bm_func = TConfirmFunc(func, context);
}

void TLayer::BeginDestroyMode(TConfirmFunc::Function func, void* context) {
    if (destroymode) return;
    EndMode();
    destroymode = 1;
    dm_mode = 0;
    dm_func = TConfirmFunc(func, context);
}

void TLayer::EndMode() {
    roadmode = 0;
    buildmode = 0;
    destroymode = 0;
}

int32_t TLayer::biggerDestroySize() {
    setDestroySize(dm_size + 1);
    return dm_size;
}

int32_t TLayer::smallerDestroySize() {
    setDestroySize(dm_size - 1);
    return dm_size;
}

void TLayer::ShowRoadMask() {
    if (RoadLayer) RoadLayer->mask = 1;
}

float TLayer::_WaterPercentage(int32_t x, int32_t y, int32_t w, int32_t h) const {
    return GroundLayer ? GroundLayer->_WaterPercentage(x, y, w, h) : 0.0f;
}

void TLayer::_BuildRoad(int32_t x, int32_t y, int32_t kind, int32_t variant) {
    auto street = TStreet::GetByLevel(kind, variant);
    if (!street || !RoadLayer) return;
    RoadLayer->_SetTile(street, x, y, {});
}

void TLayer::ClearTile(int32_t x, int32_t y) { ClearField(x, y, 1, 1); }

void TLayer::ClearField(int32_t x, int32_t y, int32_t w, int32_t h) {
    std::vector<TThing> things;
    for (int32_t i = x; i < x + w; ++i) {
        for (int32_t j = y; j < y + h; ++j) {
            if (RoadLayer) {
                if (auto r = RoadLayer->_GetTile(i, j)) things.emplace_back(r);
            }
            if (BuildingLayer) {
                const TBuildingLayer::TObject o = BuildingLayer->_GetTile(i, j, 1);
                if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o)) things.emplace_back(*b);
                if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o)) things.emplace_back(*t);
            }
        }
    }
    _Demolish(things);
}

void TLayer::_Demolish(const std::vector<TThing>& things) {
    for (const TThing& thing : things) {
        if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&thing)) {
            // A building found on several tiles of the square goes once.
            if (BuildingLayer && (*b)->IsValid()) BuildingLayer->_delBuild(*b);
        } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&thing)) {
            if (BuildingLayer && BuildingLayer->_GetTree((*t)->x, (*t)->y) == *t) BuildingLayer->_delTree(*t);
        } else if (const auto* r = std::get_if<std::shared_ptr<TRoad>>(&thing)) {
            // A bridge goes whole with any of its tiles; its other tiles are then already gone.
            if (RoadLayer && (*r)->IsValid()) RoadLayer->_delTile(*r);
        }
    }
    if (RoadLayer) {
        const TRoadList destroyed = RoadLayer->destroyedRoad;
        RoadLayer->destroyedRoad.clear();
        _callOnRoadDestroyed(destroyed);
    }
}

void TLayer::_ModeStart(int32_t x, int32_t y, float& fx, float& fy) {
    fx = fy = 0;
    if (iso) iso->FromIso(float(x), float(y), fx, fy);
    if (BuildingLayer) {
        BuildingLayer->transparency = 1;
        BuildingLayer->tx = fx;
        BuildingLayer->ty = fy;
    }
}

// --- road mode -----------------------------------------------------------------------------

void TLayer::_PlanRoad(int32_t tx, int32_t ty, int32_t& ok) {
    TRoadLayer& rl = *RoadLayer;
    const TStreet& street = *rm_s;
    int32_t dx = tx - rm_sx, dy = ty - rm_sy;
    // The road runs along the longer axis; a tie goes along x.
    if (std::abs(dx) < std::abs(dy)) {
        dx = 0;
    } else {
        dy = 0;
    }
    rm_x = rm_sx + dx;
    rm_y = rm_sy + dy;
    const int32_t n = std::abs(dx) + std::abs(dy);
    const int32_t sx = Sign(dx), sy = Sign(dy);
    rm_xy.clear();
    rm_cost = 0;
    std::vector<int32_t> possible, land, water;
    for (int32_t i = 0; i <= n; ++i) {
        const int32_t xi = rm_sx + sx * i, yi = rm_sy + sy * i;
        const int32_t p = rl._RoadPossible(xi, yi, street.bridgeAble, street.nearwater);
        possible.push_back(p);
        land.push_back(rl._RoadPossible(xi, yi, 0, street.nearwater));
        rm_cost += rl._Cost(rm_s, xi, yi);
        rm_xy.push_back(xi);
        rm_xy.push_back(yi);
        water.push_back(GroundLayer ? (GroundLayer->_IsFieldWater(xi, yi, -1) != 0) : 0);
    }
    const int32_t count = n + 1;
    ok = (count >= 2 && enoughMoneyToBuy(float(rm_cost))) ? 1 : 0;
    for (int32_t p : possible) {
        if (!p) ok = 0;
    }
    if (street.bridgeAble) {
        if (!land.front() || !land.back()) ok = 0;
        // Runs of water: a run of k tiles needs k - 1 <= bridgeMaxLength.
        int32_t counter = -1;
        for (int32_t i = 0; i < count; ++i) {
            if (land[size_t(i)]) {
                if (counter > street.bridgeMaxLength) ok = 0;
                counter = -1;
            } else {
                ++counter;
            }
        }
        if (counter > street.bridgeMaxLength) ok = 0;
    }
    // A bridge starting or ending next to the path's end needs land beyond that end.
    auto landAt = [this](int32_t x, int32_t y) {
        return _InField(x, y) && GroundLayer && GroundLayer->_IsFieldWater(x, y, -1) == 0;
    };
    if (count >= 2 && water[1] && !landAt(rm_sx - sx, rm_sy - sy)) ok = 0;
    if (count >= 2 && water[size_t(count - 2)] && !landAt(rm_sx + (n + 1) * sx, rm_sy + (n + 1) * sy)) ok = 0;
    for (int32_t i = 0; i < count; ++i) {
        int32_t kind = ok ? possible[size_t(i)] : 0;
        if (i == 0 || i == count - 1) kind = 2;
        rl._AddPreview(rm_xy[size_t(2 * i)], rm_xy[size_t(2 * i + 1)], kind);
    }
}

void TLayer::_UpdateRoadMode(int32_t x, int32_t y, int32_t hit) {
    if (!RoadLayer || !rm_s) return;
    float fx = 0, fy = 0;
    _ModeStart(x, y, fx, fy);
    TRoadLayer& rl = *RoadLayer;
    rl.mask = 1;
    const int32_t tx = Trunc(fx), ty = Trunc(fy);
    switch (rm_mode) {
        case 0: {
            const int32_t p = rl._RoadPossible(tx, ty, 0, rm_s->nearwater);
            if (_InField(tx, ty)) rl._AddPreview(tx, ty, p);
            rm_cost = 0;
            if (hit && p) {
                rm_mode = 1;
                rm_sx = tx;
                rm_sy = ty;
            }
            break;
        }
        case 1: {
            int32_t ok = 0;
            _PlanRoad(tx, ty, ok);
            if (hit) rm_mode = ok ? 2 : 0;
            break;
        }
        case 2: {
            // The plan stays on show while the game decides.
            const size_t count = rm_xy.size() / 2;
            for (size_t i = 0; i < count; ++i) {
                rl._AddPreview(rm_xy[2 * i], rm_xy[2 * i + 1], (i == 0 || i + 1 == count) ? 2 : 1);
            }
            if (rm_func.IsSet() && !rm_func()) break;
            if (!expendMoney(float(rm_cost))) break;
            const TRoadList roads = rl.BuildRoad(rm_s, rm_xy, 1, 0);
            if (chooseBridgeFunc.IsSet()) chooseBridgeFunc(roads);
            rm_mode = 0;
            TThing endRoad;
            if (auto r = rl._GetTile(rm_x, rm_y)) endRoad = r;
            _callShowMoneyFunc(endRoad, -float(rm_cost));
            break;
        }
        default: rm_mode = 0; break;
    }
}

// --- destroy mode --------------------------------------------------------------------------

void TLayer::_UpdateDestroyMode(int32_t x, int32_t y, int32_t hit) {
    float fx = 0, fy = 0;
    _ModeStart(x, y, fx, fy);
    if (dm_mode == 0) {
        const int32_t size = dm_size;
        if (size % 2 == 0) {
            fx = float(Trunc(fx + 0.5f));
            fy = float(Trunc(fy + 0.5f));
        }
        fx -= float(size / 2);
        fy -= float(size / 2);
        dm_obj.assign(size_t(size) * size_t(size), TThing{});
        dm_x.assign(size_t(size), 0);
        dm_y.assign(size_t(size), 0);
        dm_cost = 0;
        bool found = false;
        for (int32_t i = 0; i < size; ++i) {
            for (int32_t j = 0; j < size; ++j) {
                const int32_t X = Trunc(fx + float(i)), Y = Trunc(fy + float(j));
                dm_x[size_t(i)] = X;
                dm_y[size_t(j)] = Y;
                if (!_InField(X, Y)) continue;
                if (GroundLayer) GroundLayer->markTileForDelete(X, Y);
                TThing thing;
                if (BuildingLayer) {
                    const TBuildingLayer::TObject o = BuildingLayer->_GetTile(X, Y, 1);
                    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o)) {
                        BuildingLayer->_addbmthing((*b)->x, (*b)->y, (*b)->p, previewRefused, 0, 0, (*b)->animFrame);
                        thing = *b;
                    } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o)) {
                        BuildingLayer->_addbmthing(X, Y, nullptr, (*t)->Frame, 1, 0, 0);
                        thing = *t;
                    }
                }
                if (std::holds_alternative<std::monostate>(thing) && RoadLayer) {
                    if (auto r = RoadLayer->_GetTile(X, Y)) {
                        RoadLayer->_MarkTile(X, Y, -2);
                        thing = r;
                    }
                }
                if (!std::holds_alternative<std::monostate>(thing)) found = true;
                dm_obj[size_t(i) * size_t(size) + size_t(j)] = thing;
            }
        }
        if (hit && found && enoughMoneyToBuy(float(dm_cost))) dm_mode = 1;
        return;
    }
    // Waiting for the game: the marks stay on the things that will go.
    for (const TThing& thing : dm_obj) {
        if (const auto* r = std::get_if<std::shared_ptr<TRoad>>(&thing)) {
            if (RoadLayer && (*r)->IsValid()) RoadLayer->_MarkTile((*r)->x, (*r)->y, -2);
        }
    }
    if (dm_func.IsSet() && !dm_func()) return;
    if (!expendMoney(float(dm_cost))) return;
    _Demolish(dm_obj);
    dm_mode = 0;
}

// --- build mode ----------------------------------------------------------------------------

int32_t TLayer::_CanBuild(const std::shared_ptr<TPicturePlugin>& plugin, float x, float y) const {
    if (!plugin) return 0;
    const int32_t X = Trunc(x), Y = Trunc(y);
    const int32_t w = plugin->SizeX[0], h = plugin->SizeY[0];
    if (!_InField(X, Y) || w <= 0 || h <= 0) return 0;
    // The whole footprint must lie on the map (the free test below asks every tile).
    if (int64_t(X) + w > Width || int64_t(Y) + h > Height) return 0;
    const float water = _WaterPercentage(X, Y, w, h);
    if (water < plugin->minwater || water > plugin->maxwater) return 0;
    if (!plugin->noroadneeded && (!RoadLayer || RoadLayer->_RoadEnclosed(X, Y, w, h, 0).empty())) return 0;
    for (int32_t i = X; i < X + w; ++i) {
        for (int32_t j = Y; j < Y + h; ++j) {
            if (!IsFree(i, j)) return 0;
        }
    }
    return 1;
}

void TLayer::_Build(const std::shared_ptr<TPicturePlugin>& plugin, float x, float y) {
    if (!plugin || !BuildingLayer) return;
    const float sx = float(plugin->SizeX[0]), sy = float(plugin->SizeY[0]);
    const int32_t X = Trunc(x - 0.25f * (sx + sy)), Y = Trunc(y - 0.25f * (sx - sy));
    // The footprint is checked where it is placed, so nothing is built over other things.
    if (_CanBuild(plugin, float(X), float(Y))) BuildingLayer->_SetTile(X, Y, plugin);
}

int32_t TLayer::_isInfMaskAllowingToBuild(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y) const {
    // No mask asks for nothing.
    if (!plugin || !plugin->influenceMask || !InfluenceLayer) return 1;
    for (int32_t i = x; i < x + plugin->SizeX[0]; ++i) {
        for (int32_t j = y; j < y + plugin->SizeY[0]; ++j) {
            if (InfluenceLayer->GetInfluenceMaskState(i, j, plugin->influenceMask) < 1.0f) return 0;
        }
    }
    return 1;
}

void TLayer::_UpdateBuildMode(int32_t x, int32_t y, int32_t hit) {
    if (!bm_p || !BuildingLayer) return;
    float fx = 0, fy = 0;
    _ModeStart(x, y, fx, fy);
    if (GroundLayer) GroundLayer->setInfluenceMask(bm_p->influenceMask);
    if (bm_mode == 0) {
        const int32_t sizeX = bm_p->SizeX[0];
        if (sizeX % 2 == 0) {
            fx = float(Trunc(fx + 0.5f));
            fy = float(Trunc(fy + 0.5f));
        }
        bm_x = Trunc(fx - float(Trunc(bm_p->mxpos[0])));
        bm_y = Trunc(fy - float(Trunc(bm_p->mypos[0])));
        bm_cost = bm_p->price;
        const int32_t ok =
            (_CanBuild(bm_p, float(bm_x), float(bm_y)) && enoughMoneyToBuy(float(bm_cost)) && _allowedToBuild(bm_p))
                ? 1
                : 0;
        BuildingLayer->_addbmthing(bm_x, bm_y, bm_p, ok ? previewPlaceable : previewRefused, 0, 0, 0);
        if (hit && ok) bm_mode = 1;
        return;
    }
    // Waiting for the game: the plan stays on show.
    BuildingLayer->_addbmthing(bm_x, bm_y, bm_p, previewPlaceable, 0, 0, 0);
    if (bm_func.IsSet() && !bm_func()) return;
    // The map may have changed while the game decided.
    if (!_CanBuild(bm_p, float(bm_x), float(bm_y))) {
        bm_mode = 0;
        return;
    }
    if (!expendMoney(float(bm_cost))) return;
    BuildingLayer->_SetTile(bm_x, bm_y, bm_p);
    bm_mode = 0;
    const TBuildingLayer::TObject o = BuildingLayer->_GetTile(bm_x, bm_y, 1);
    TThing built;
    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o)) built = *b;
    _callShowMoneyFunc(built, -float(bm_cost));
}
