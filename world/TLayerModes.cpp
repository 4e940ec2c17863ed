// The world's editing modes: road mode (plan a straight road, with bridges over water), build
// mode (place one building) and destroy mode (clear a square of tiles). Each runs once per frame
// from Update, asks its editing command whether it can act where the pointer is (modeReason
// says why not), previews the plan, and runs the command once the game confirms; a refused
// press reaches the refused callback with its reason.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/TCatalogue.h"
#include "plugins/TInfluenceMask.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuildCommand.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TDestroyCommand.h"
#include "world/TGroundLayer.h"
#include "world/TISO.h"
#include "world/TInfluenceLayer.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadCommand.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"
#include "world/TTree.h"

namespace {
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

void TLayer::_UpdateRoadMode(int32_t x, int32_t y, int32_t hit) {
    if (!RoadLayer || !rm_s) return;
    float fx = 0, fy = 0;
    _ModeStart(x, y, fx, fy);
    TRoadLayer& rl = *RoadLayer;
    rl.mask = 1;
    const int32_t tx = Trunc(fx), ty = Trunc(fy);
    switch (rm_mode) {
        case 0: {
            modeReason = Tr(TRoadCommand::StartReason(*this, rm_s.get(), tx, ty));
            if (_InField(tx, ty)) rl._AddPreview(tx, ty, modeReason.empty() ? 1 : 0);
            rm_cost = 0;
            if (hit && modeReason.empty()) {
                rm_mode = 1;
                rm_sx = tx;
                rm_sy = ty;
            } else if (hit) {
                refusedFunc(modeReason);
            }
            break;
        }
        case 1: {
            const TRoadCommand road(rm_s, rm_sx, rm_sy, tx, ty);
            const TRoadCommand::TPlan plan = road.Plan(*this);
            rm_x = road.EndX();
            rm_y = road.EndY();
            rm_xy = plan.xy;
            rm_cost = plan.cost;
            modeReason = Tr(plan.reason);
            const size_t count = plan.possible.size();
            for (size_t i = 0; i < count; ++i) {
                const int32_t kind = (i == 0 || i + 1 == count) ? 2 : (modeReason.empty() ? plan.possible[i] : 0);
                rl._AddPreview(rm_xy[2 * i], rm_xy[2 * i + 1], kind);
            }
            if (hit) {
                rm_mode = modeReason.empty() ? 2 : 0;
                if (!modeReason.empty()) refusedFunc(modeReason);
            }
            break;
        }
        case 2: {
            // The plan stays on show while the game decides.
            const size_t count = rm_xy.size() / 2;
            for (size_t i = 0; i < count; ++i) {
                rl._AddPreview(rm_xy[2 * i], rm_xy[2 * i + 1], (i == 0 || i + 1 == count) ? 2 : 1);
            }
            if (rm_func.IsSet() && !rm_func()) break;
            auto command = std::make_unique<TRoadCommand>(rm_s, rm_sx, rm_sy, rm_x, rm_y);
            const TRoadCommand& road = *command;
            // A plan the map or the money no longer allows is refused with its reason.
            rm_mode = 0;
            if (RunCommand(std::move(command)).Ok() && chooseBridgeFunc.IsSet()) chooseBridgeFunc(road.Built());
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
        // The square is centred on the pointer (beyond the map's edge too, where its tiles are left out).
        const int32_t cx = Trunc(std::floor(fx - float(size / 2))), cy = Trunc(std::floor(fy - float(size / 2)));
        const TDestroyCommand clearing(cx, cy, size);
        dm_obj = clearing.Things(*this);
        dm_x.assign(size_t(size), 0);
        dm_y.assign(size_t(size), 0);
        dm_cost = 0;
        for (int32_t i = 0; i < size; ++i) {
            for (int32_t j = 0; j < size; ++j) {
                const int32_t X = cx + i, Y = cy + j;
                dm_x[size_t(i)] = X;
                dm_y[size_t(j)] = Y;
                if (!_InField(X, Y)) continue;
                if (GroundLayer) GroundLayer->markTileForDelete(X, Y);
                const TThing& thing = dm_obj[size_t(i) * size_t(size) + size_t(j)];
                if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&thing)) {
                    BuildingLayer->_addbmthing((*b)->x, (*b)->y, (*b)->p, TBuildingLayer::previewRefused, 0, 0,
                                               (*b)->animFrame);
                } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&thing)) {
                    BuildingLayer->_addbmthing(X, Y, nullptr, (*t)->Frame, 1, 0, 0);
                } else if (std::holds_alternative<std::shared_ptr<TRoad>>(thing)) {
                    RoadLayer->_MarkTile(X, Y, -2);
                }
            }
        }
        const TEditCheck check = clearing.Check(*this);
        modeReason = Tr(check.reason);
        if (hit && check.Ok()) {
            dm_mode = 1;
        } else if (hit) {
            refusedFunc(modeReason);
        }
        return;
    }
    // Waiting for the game: the marks stay on the things that will go.
    for (const TThing& thing : dm_obj) {
        if (const auto* r = std::get_if<std::shared_ptr<TRoad>>(&thing)) {
            if (RoadLayer && (*r)->IsValid()) RoadLayer->_MarkTile((*r)->x, (*r)->y, -2);
        }
    }
    if (dm_func.IsSet() && !dm_func()) return;
    dm_mode = 0;
    if (!dm_x.empty() && !dm_y.empty()) RunCommand(std::make_unique<TDestroyCommand>(dm_x[0], dm_y[0], dm_size));
}

// --- build mode ----------------------------------------------------------------------------

int32_t TLayer::_CanBuild(const std::shared_ptr<TPicturePlugin>& plugin, float x, float y) const {
    return TBuildCommand::PlaceReason(*this, plugin, Trunc(x), Trunc(y)).empty() ? 1 : 0;
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
    // Only the nuisances forbid a place: a missing service leaves a house empty, not unbuilt.
    auto mask = plugin->influenceMask->Copy(1);
    for (int32_t k = 0; k < TInfluenceLayer::infAirPollution; ++k) mask->ignoredValue[size_t(k)] = 1;
    for (int32_t i = x; i < x + plugin->SizeX[0]; ++i) {
        for (int32_t j = y; j < y + plugin->SizeY[0]; ++j) {
            if (InfluenceLayer->GetInfluenceMaskState(i, j, mask) < 1.0f) return 0;
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
        const TEditCheck check = TBuildCommand(bm_p, bm_x, bm_y).Check(*this);
        bm_cost = int32_t(check.cost);
        modeReason = Tr(check.reason);
        BuildingLayer->_addbmthing(
            bm_x, bm_y, bm_p, check.Ok() ? TBuildingLayer::previewPlaceable : TBuildingLayer::previewRefused, 0, 0, 0);
        if (hit && check.Ok()) {
            bm_mode = 1;
        } else if (hit) {
            refusedFunc(modeReason);
        }
        return;
    }
    // Waiting for the game: the plan stays on show.
    BuildingLayer->_addbmthing(bm_x, bm_y, bm_p, TBuildingLayer::previewPlaceable, 0, 0, 0);
    if (bm_func.IsSet() && !bm_func()) return;
    // The map or the money may have changed while the game decided: then it says why.
    bm_mode = 0;
    RunCommand(std::make_unique<TBuildCommand>(bm_p, bm_x, bm_y));
}
