#include "world/TRoadLayer.h"

#include <algorithm>
#include <cmath>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TPaths.h"
#include "platform/TStream.h"
#include "settings/TConfig.h"
#include "world/TAlign.h"
#include "world/TBridgeAlign.h"
#include "world/TBuildingLayer.h"
#include "world/TGroundLayer.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TStreet.h"
#include "world/TStreetFrame.h"

namespace {
constexpr int32_t removalMarkBase = 17;
constexpr float dimAlpha = 0.35f;
}  // namespace

std::shared_ptr<TRoadLayer> TRoadLayer::_create(TLayer* layer) {
    auto r = std::make_shared<TRoadLayer>();
    r->layer = layer;
    r->Width = layer ? std::max(0, layer->Width) : 0;
    r->Height = layer ? std::max(0, layer->Height) : 0;
    r->arr.assign(size_t(r->Width) * size_t(r->Height), nullptr);
    return r;
}

void TRoadLayer::Prepare() {
    const int32_t tw = TConfig::tilewidth, th = TConfig::tileheight;
    SetMaskColor(255, 0, 255);
    const std::string path = TPaths::Resolve("data/gfx/felder/way_path.png");
    wayPathImg = TImage::LoadAnim(path, tw, th, 0, wayPathFrames);
    if (wayPathImg) {
        wayPathImg->SetHandle(0, 0.5f * float(th));
    } else {
        Print("Image could not be loaded: " + path);
    }
}

void TRoadLayer::DePrepare() { wayPathImg.reset(); }

namespace {
// A road holds its cars and each car holds its road: emptying the slots breaks that cycle.
void DropCars(TRoad& r) {
    r.car = {};
    r.carpos = {};
}
}  // namespace

void TRoadLayer::Destroy() {
    // Bridge heads hold their children and cars may hold roads: drop every link so nothing
    // keeps the roads of a destroyed world alive.
    for (auto& r : arrRoad) {
        r->Destroy();
        r->b_childs.clear();
        DropCars(*r);
    }
    for (auto& r : destroyedRoad) {
        r->b_childs.clear();
        DropCars(*r);
    }
    arr.clear();
    arrRoad.clear();
    destroyedRoad.clear();
    _marks.clear();
    _wayPathRoads.clear();
}

// --- grid ----------------------------------------------------------------------------------

std::shared_ptr<TRoad> TRoadLayer::_GetTile(int32_t x, int32_t y) const {
    return _InField(x, y) ? arr[_Index(x, y)] : nullptr;
}

void TRoadLayer::_AddRoad_(const std::shared_ptr<TRoad>& road) {
    if (!road || !_InField(road->x, road->y)) return;
    arr[_Index(road->x, road->y)] = road;
    arrRoad.push_back(road);
}

void TRoadLayer::_DelRoad_(const std::shared_ptr<TRoad>& road) {
    if (!road) return;
    auto it = std::find(arrRoad.begin(), arrRoad.end(), road);
    if (it == arrRoad.end()) return;
    arrRoad.erase(it);
    // Inhabitants whose way to work used the road lose that job.
    if (layer && layer->BuildingLayer) layer->BuildingLayer->_callRoadDeleted(road);
}

void TRoadLayer::_MarkGround(int32_t x, int32_t y) const {
    if (!layer || !layer->GroundLayer) return;
    TGroundLayer& g = *layer->GroundLayer;
    if (!g._InField(x, y) || g.arrRendered.size() != size_t(g.Width) * size_t(g.Height)) return;
    g.arrRendered[size_t(x) * size_t(g.Height) + size_t(y)] = TGroundLayer::notRendered;
}

float TRoadLayer::_Water(int32_t x, int32_t y) const {
    return layer && layer->GroundLayer ? layer->GroundLayer->_WaterPercentage(x, y, 1, 1) : 0.0f;
}

std::shared_ptr<TRoad> TRoadLayer::_SetTile(const std::shared_ptr<TStreet>& street, int32_t x, int32_t y,
                                            const TIgn& ignIn) {
    if (!street || !_InField(x, y)) return nullptr;
    // A bridge goes only as a whole (_delTile); replacing one of its tiles would break it.
    if (auto old = _GetTile(x, y); old && old->bridge) return nullptr;
    _MarkGround(x, y);
    const TIgn ign = ignIn.empty() ? TIgn{0, 0, 0, 0} : ignIn;
    if (layer && layer->BuildingLayer) layer->BuildingLayer->_Clear(x, y);
    TIgn start{1, 1, 1, 1};
    if (auto old = _GetTile(x, y)) {
        if (old->s && street->level < old->s->level) {
            // A lower street never replaces a higher one; it only opens its sides.
            old->addIgn(ign);
            _UpdateTile(x, y);
            return old;
        }
        start = old->getIgn();
        _Clear(x, y, 0);
    }
    auto road = TRoad::Create(street, x, y, start, this);
    road->addIgn(ign);
    _AddRoad_(road);
    _UpdateTile(x, y);
    return road;
}

TRoadLayer::TRoadList TRoadLayer::BuildRoad(const std::shared_ptr<TStreet>& street, const std::vector<int32_t>& points,
                                            int32_t straight, int32_t bridgeKind) {
    const int32_t n = static_cast<int32_t>(points.size() / 2);
    TRoadList result(size_t(n), nullptr);
    if (!street || n == 0) return result;
    auto px = [&points](int32_t k) { return points[size_t(2 * k)]; };
    auto py = [&points](int32_t k) { return points[size_t(2 * k + 1)]; };
    // Direction of the first step, when it is one tile: straight-drawn roads connect only along it.
    int32_t d = -1;
    if (n >= 2 && std::abs(px(1) - px(0)) + std::abs(py(1) - py(0)) == 1)
        d = TAlign::GetAlign(px(1) - px(0), py(1) - py(0));
    auto isLand = [&](int32_t k) { return k >= n || _Water(px(k), py(k)) < 1.0f; };

    for (int32_t i = 0; i < n; ++i) {
        const int32_t x = px(i), y = py(i);
        const float w = _Water(x, y);
        if (w == 0.0f || (street->nearwater && w == 0.5f)) {
            TIgn ign;
            if (straight) {
                ign = {1, 1, 1, 1};
                if (d >= 0) {
                    if (i > 0) ign[size_t(TAlign::Rotate(d))] = 0;
                    if (i < n - 1) ign[size_t(d)] = 0;
                }
            }
            result[size_t(i)] = _SetTile(street, x, y, ign);
            continue;
        }
        // A bridge needs the land point before the water as its head; a path starting in the
        // water has none and its water points are skipped.
        if (w < 1.0f || street->bridgeImages.empty() || i == 0 || !isLand(i - 1)) continue;
        std::vector<int32_t> bridgePoints{px(i - 1), py(i - 1)};
        int32_t j = i;
        for (; j < n; ++j) {
            bridgePoints.push_back(px(j));
            bridgePoints.push_back(py(j));
            if (isLand(j) && isLand(j + 1)) break;
        }
        const int32_t last = std::min(j, n - 1);
        auto head = TRoad::CreateBridge(street, bridgePoints, bridgeKind, this);
        if (!head) continue;
        // The bridge takes over its tiles: whatever stood or lay there goes.
        for (size_t k = 0; k + 1 < bridgePoints.size(); k += 2) {
            const int32_t bx = bridgePoints[k], by = bridgePoints[k + 1];
            if (layer && layer->BuildingLayer) layer->BuildingLayer->_Clear(bx, by);
            auto old = _GetTile(bx, by);
            if (old && old->bridge) {
                _delTile(old);
            } else {
                _Clear(bx, by, 0);
            }
        }
        _AddRoad_(head);
        _UpdateTile(head->x, head->y);
        result[size_t(i - 1)] = head;
        for (const auto& c : head->b_childs) {
            _AddRoad_(c);
            _UpdateTile(c->x, c->y);
        }
        // Each child goes to the entry of its own point (the second half is made from the end).
        for (int32_t k = i; k <= last; ++k) {
            for (const auto& c : head->b_childs) {
                if (c->x == px(k) && c->y == py(k)) result[size_t(k)] = c;
            }
        }
        i = last;
    }
    return result;
}

// --- framing -------------------------------------------------------------------------------

void TRoadLayer::_UpdateFrame(int32_t x, int32_t y, const TIgn& ignIn) {
    if (layer) layer->_RedrawMM(x, y);
    auto road = _GetTile(x, y);
    if (!road) return;
    _MarkGround(x, y);
    if (road->bridge) return;
    std::shared_ptr<TRoad> N[4];
    for (int32_t dd = 0; dd < 4; ++dd) N[dd] = _GetTile(x + TAlign::StepX(dd), y + TAlign::StepY(dd));
    const TIgn& ign = ignIn.empty() ? road->getIgn() : ignIn;
    const std::shared_ptr<TBridgeAlign>& ba = road->s ? road->s->bridgealign : nullptr;
    for (int32_t dd = 0; dd < 4; ++dd) {
        if (!N[dd]) continue;
        if (!N[dd]->bridge) {
            if (size_t(dd) < ign.size() && ign[size_t(dd)] == 1) N[dd] = nullptr;
            continue;
        }
        // A bridge connects only through its ramp, and only the ramp facing this tile.
        const auto ramp = ba ? ba->getFrame(dd, 0) : std::array<int32_t, 2>{-1, -1};
        if (N[dd]->b_frame != ramp[0] || N[dd]->b_sframe != -1) N[dd] = nullptr;
    }
    road->Frame =
        road->getFrame(N[0] != nullptr, N[1] != nullptr, N[2] != nullptr, N[3] != nullptr, road->s ? road->s->typ : 0);
    road->maskframe = road->GetMaskFrame();
}

void TRoadLayer::_UpdateTile(int32_t x, int32_t y) {
    static const int32_t offsets[13][2] = {{0, 0}, {0, -1}, {1, 0},  {0, 1}, {-1, 0}, {-1, -1}, {1, -1},
                                           {1, 1}, {-1, 1}, {-2, 0}, {2, 0}, {0, -2}, {0, 2}};
    for (const auto& o : offsets) _UpdateFrame(x + o[0], y + o[1], {});
}

// --- possible and cost ---------------------------------------------------------------------

int32_t TRoadLayer::_RoadPossible(int32_t x, int32_t y, int32_t bridgeAble, int32_t nearWater) const {
    if (auto r = _GetTile(x, y)) return r->bridge ? 0 : 1;
    if (!_InField(x, y)) return 0;
    if (layer && !layer->IsFree(x, y)) return 0;
    return _Water(x, y) <= 0.5f * float(nearWater) ? 1 : (bridgeAble ? 1 : 0);
}

int32_t TRoadLayer::_Cost(const std::shared_ptr<TStreet>& street, int32_t x, int32_t y) const {
    if (!street || !_RoadPossible(x, y, street->bridgeAble, street->nearwater)) return 0;
    if (auto r = _GetTile(x, y); r && r->s && r->s->level >= street->level) return 0;
    const bool water = layer && layer->GroundLayer && layer->GroundLayer->_IsFieldWater(x, y, -1) != 0;
    return static_cast<int32_t>(water && street->bridgeAble ? street->bridgePrice : street->price);
}

TRoadLayer::TRoadList TRoadLayer::_RoadEnclosed(int32_t x, int32_t y, int32_t w, int32_t h, int32_t corners) const {
    TRoadList out;
    for (int32_t i = x - 1; i <= x + w; ++i) {
        for (int32_t j = y - 1; j <= y + h; ++j) {
            const bool ringX = i == x - 1 || i == x + w, ringY = j == y - 1 || j == y + h;
            if (!ringX && !ringY) continue;
            if (ringX && ringY && !corners) continue;
            if (auto r = _GetTile(i, j)) out.push_back(r);
        }
    }
    return out;
}

// --- removal -------------------------------------------------------------------------------

int32_t TRoadLayer::_Clear(int32_t x, int32_t y, int32_t clearIgn) {
    auto road = _GetTile(x, y);
    if (!road) return 0;
    _MarkGround(x, y);
    road->Destroy();
    _DelRoad_(road);
    destroyedRoad.push_back(road);
    arr[_Index(x, y)] = nullptr;
    if (clearIgn) _delIgnTo(x, y);
    _UpdateTile(x, y);
    return 1;
}

void TRoadLayer::_delIgnTo(int32_t x, int32_t y) {
    for (int32_t i = 0; i < 4; ++i) {
        auto r = _GetTile(x + TAlign::StepX(i), y + TAlign::StepY(i));
        if (!r || r->ign.size() < 4) continue;
        r->ign[size_t(TAlign::Rotate(i))] = 1;
    }
    _MarkGround(x, y);
}

void TRoadLayer::_delTile(const std::shared_ptr<TRoad>& road) {
    if (!road || !road->IsValid()) return;
    if (!road->bridge) {
        if (_GetTile(road->x, road->y) == road) _Clear(road->x, road->y, 1);
        return;
    }
    auto head = road->BridgeHead();
    const auto children = head->b_childs;
    if (_GetTile(head->x, head->y) == head) _Clear(head->x, head->y, 1);
    for (const auto& c : children) {
        if (_GetTile(c->x, c->y) == c) _Clear(c->x, c->y, 1);
    }
}

void TRoadLayer::_Revive(const std::shared_ptr<TRoad>& road, size_t index) {
    if (!road || road->IsValid() || !_InField(road->x, road->y) || _GetTile(road->x, road->y)) return;
    road->destroyed = 0;
    arr[_Index(road->x, road->y)] = road;
    arrRoad.insert(arrRoad.begin() + std::ptrdiff_t(std::min(index, arrRoad.size())), road);
    _MarkGround(road->x, road->y);
    _UpdateTile(road->x, road->y);
}

void TRoadLayer::_AddMark(int32_t x, int32_t y, int32_t kind) {
    _rm_u = 1;
    _rm_x.push_back(x);
    _rm_y.push_back(y);
    _rm_a.push_back(kind);
    _marks.emplace(_Key(x, y), kind);
}

bool TRoadLayer::_GetMark(int32_t x, int32_t y, int32_t& kind) const {
    if (!_rm_u) return false;
    auto it = _marks.find(_Key(x, y));
    if (it == _marks.end()) return false;
    kind = it->second;
    return true;
}

int32_t TRoadLayer::_MarkTile(int32_t x, int32_t y, int32_t markKind) {
    auto road = _GetTile(x, y);
    int32_t dummy = 0;
    if (!road || _GetMark(x, y, dummy)) return 0;
    if (!road->bridge) {
        _AddMark(x, y, markKind);
        return 1;
    }
    auto head = road->BridgeHead();
    if (!_GetMark(head->x, head->y, dummy)) _AddMark(head->x, head->y, markKind);
    for (const auto& c : head->b_childs) {
        if (!_GetMark(c->x, c->y, dummy)) _AddMark(c->x, c->y, markKind);
    }
    return 1;
}

void TRoadLayer::_AddPreview(int32_t x, int32_t y, int32_t kind) {
    auto it = _marks.find(_Key(x, y));
    if (it != _marks.end()) {
        // The same tile twice in one plan keeps one mark, the latest kind.
        it->second = kind;
        for (size_t i = 0; i < _rm_x.size(); ++i) {
            if (_rm_x[i] == x && _rm_y[i] == y) _rm_a[i] = kind;
        }
        return;
    }
    _AddMark(x, y, kind);
}

void TRoadLayer::_garbageCollector() {
    for (const auto& r : arrRoad) {
        if (r->ign.size() < 4) r->ign.resize(4, 0);
        for (int32_t d = 0; d < 4; ++d) {
            if (r->ign[size_t(d)] == 0 && !_GetTile(r->x + TAlign::StepX(d), r->y + TAlign::StepY(d))) {
                r->ign[size_t(d)] = 1;
            }
        }
    }
}

// --- traffic lights and drawing ------------------------------------------------------------

void TRoadLayer::UpdateTrafficLights() {
    for (const auto& r : arrRoad) {
        if (r->HasTrafficLights()) r->UpdateTrafficLights();
    }
}

void TRoadLayer::Draw(int32_t x, int32_t y, float sx, float sy, int32_t direct, float planeX, float planeY,
                      int32_t onScreen) {
    auto road = _GetTile(x, y);
    if (!road || road->bridge) return;
    road->Draw(sx, sy, showtrafficcolors, direct, planeX, planeY, onScreen);
}

void TRoadLayer::DrawMask(int32_t x, int32_t y, float sx, float sy, int32_t dim) {
    auto road = _GetTile(x, y);
    if (road) {
        road->drawPath(sx, sy);
        if (mask) road->DrawMask(sx, sy);
    }
    int32_t kind = 0;
    if (!_GetMark(x, y, kind)) return;
    const auto& img = TStreet::directionImg;
    const int32_t frame = removalMarkBase - kind;
    if (!img || frame < 0 || frame >= img->FrameCount()) return;
    const float a = GetAlpha();
    if (dim) SetAlpha(dimAlpha);
    DrawImage(img, sx, sy, frame);
    SetAlpha(a);
}

void TRoadLayer::EndDraw() {
    _rm_u = 0;
    _rm_x.clear();
    _rm_y.clear();
    _rm_a.clear();
    _marks.clear();
    mask = 0;
    showtrafficcolors = 0;
    // The route overlay shows only in the frame after it was set, like the mask and marks.
    _clearWayPaths();
}

int32_t TRoadLayer::_GetCol(int32_t x, int32_t y) const {
    auto r = _GetTile(x, y);
    return r ? r->getCol() : 0;
}

