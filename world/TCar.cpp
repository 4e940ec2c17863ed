#include "world/TCar.h"

#include <algorithm>

#include "framework/TFastRandom.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "plugins/TCarVehicle.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TTicker.h"

namespace {
constexpr int32_t ticksPerSecond = 60;

bool InLane(int32_t v) { return v >= 0 && v < 4; }

struct TMoveEntry {
    int32_t dx, dy, g;
};
// [position][align]: the step to a neighbour tile (0, 0 = stay) and the position arrived at.
// Each lane move is half a tile: a car crosses a tile in two moves, the first arriving over
// the tile's edge, the second within the tile.
constexpr TMoveEntry moveTable[4][4] = {
    {{0, -1, 1}, {1, 0, 3}, {0, 0, 1}, {0, 0, 3}},
    {{0, 0, 0}, {1, 0, 2}, {0, 1, 0}, {0, 0, 2}},
    {{0, 0, 3}, {0, 0, 1}, {0, 1, 3}, {-1, 0, 1}},
    {{0, -1, 2}, {0, 0, 0}, {0, 0, 2}, {-1, 0, 0}},
};
}  // namespace

int32_t TCar::_Move(int32_t p, int32_t a, int32_t& dx, int32_t& dy, int32_t& g) {
    if (!InLane(p) || !InLane(a)) return 0;
    const TMoveEntry& m = moveTable[p][a];
    dx = m.dx;
    dy = m.dy;
    g = m.g;
    return 1;
}

std::shared_ptr<TCar> TCar::Create(const std::shared_ptr<TCarVehicle>& vehicle, const std::shared_ptr<TRoad>& road,
                                   const TRoadLayer& grid, const std::shared_ptr<TBuilding>& building, int32_t frame) {
    if (!road) return nullptr;
    auto car = std::make_shared<TCar>();
    car->b = building;
    car->c = vehicle;
    car->ticker = TTicker::Create(float(ticksPerSecond));
    car->SetPosition(road, grid);
    car->blendMode = blend_FadeIn;
    if (frame >= 0) {
        car->carFrame = frame;
    } else {
        const int32_t pictures = vehicle ? static_cast<int32_t>(vehicle->picture.size()) : 0;
        vesko::TFastRandom* random = car->_Random();
        car->carFrame = (pictures > 0 && random) ? random->GetIntIn(0, pictures - 1) : 0;
    }
    return car;
}

vesko::TFastRandom* TCar::_Random() const {
    if (!_r || !_r->roadLayer || !_r->roadLayer->layer) return nullptr;
    return _r->roadLayer->layer->random.get();
}

void TCar::SetPosition(const std::shared_ptr<TRoad>& road, const TRoadLayer& grid) {
    // A car placed again gives up what it held before.
    _ReleaseSlots();
    _r = road;
    if (!road) return;
    vesko::TFastRandom* random = grid.layer ? grid.layer->random.get() : _Random();
    _p = random ? random->GetIntIn(0, 3) : 0;
    _a = __a = GetAlign(road->GetAlign(_p));
    // Without an align (a frame without lanes) or on a tile with cars the car takes no slot
    // and stays inactive; its owner drops it.
    if (InLane(_a) && road->CarFree()) {
        road->car[size_t(_a)] = shared_from_this();
        road->carpos[size_t(_p)] = shared_from_this();
    }
}

int32_t TCar::GetAlign(const std::vector<int32_t>& candidates) {
    // Only real directions count, whatever a street table holds.
    std::vector<int32_t> valid;
    for (int32_t a : candidates) {
        if (!InLane(a)) continue;
        if (a == prfALign) return a;
        valid.push_back(a);
    }
    if (valid.empty()) return -1;
    vesko::TFastRandom* random = _Random();
    const int32_t last = static_cast<int32_t>(valid.size()) - 1;
    const int32_t i = random ? random->GetIntIn(0, last) : 0;
    return valid[size_t(std::clamp(i, 0, last))];
}

void TCar::_ReleaseSlots() {
    if (!_r) return;
    // The slots may hold the last reference to this car.
    const auto keep = weak_from_this().lock();
    for (auto& slot : _r->car) {
        if (slot.get() == this) slot.reset();
    }
    for (auto& slot : _r->carpos) {
        if (slot.get() == this) slot.reset();
    }
}

void TCar::_Occupy(const std::shared_ptr<TRoad>& t, int32_t p, int32_t a) {
    auto self = shared_from_this();
    _ReleaseSlots();
    t->car[size_t(a)] = self;
    t->carpos[size_t(p)] = self;
}

std::shared_ptr<TRoad> TCar::_Target(const TRoadLayer& grid, int32_t width, int32_t height, int32_t a,
                                     int32_t& g) const {
    int32_t dx = 0, dy = 0;
    if (!_Move(_p, a, dx, dy, g)) return nullptr;
    if (dx == 0 && dy == 0) return _r;
    const int32_t nx = _r->x + dx, ny = _r->y + dy;
    if (nx < 0 || nx >= width || ny < 0 || ny >= height) return nullptr;
    auto t = grid._GetTile(nx, ny);
    return t && t->IsValid() && t->AllowToDrive(dx, dy) ? t : nullptr;
}

void TCar::_MoveTo(const std::shared_ptr<TRoad>& t, int32_t g, int32_t used, int32_t idx) {
    _Occupy(t, g, idx);
    _r = t;
    _p = g;
    __a = used;
    _a = idx;
    _pr = 0;
    jam = 0;
    if (blendMode == blend_BeforeFadeOut) blendMode = blend_FadeOut;
}

bool TCar::_Detour(const TRoadLayer& grid, int32_t width, int32_t height) {
    struct TOpen {
        std::shared_ptr<TRoad> t;
        int32_t used, g, idx;
    };
    std::vector<TOpen> open;
    for (int32_t a : _r->GetAlign(_p)) {
        int32_t g = 0;
        const auto t = InLane(a) ? _Target(grid, width, height, a, g) : nullptr;
        if (!t || t->carpos[size_t(g)]) continue;
        for (int32_t idx : t->GetAlign(g)) {
            if (!InLane(idx)) continue;
            if (t->AlignAvailable(this, idx) || (t == _r && _r->JamPos())) open.push_back({t, a, g, idx});
        }
    }
    if (open.empty()) return false;
    vesko::TFastRandom* random = _Random();
    const int32_t last = static_cast<int32_t>(open.size()) - 1;
    const int32_t i = (last > 0 && random) ? std::clamp(random->GetIntIn(0, last), 0, last) : 0;
    const TOpen way = open[size_t(i)];
    _MoveTo(way.t, way.g, way.used, way.idx);
    return true;
}

void TCar::Update(const TRoadLayer& grid, int32_t width, int32_t height) {
    // A car without its slot (never placed, removed, or on a destroyed road) stands still: moving
    // it would put a car into slots that no one else can see it leave.
    if (!IsActive()) return;
    const float speed = c ? c->speed : 1.0f;
    const float ticks = ticker ? ticker->GetF() : 0.0f;
    // Not capped at 1: while the car stands, the progress it would have made measures its wait.
    _pr += ticks * _r->Speed() * speed;
    if (_pr < 1.0f) return;

    if (blendMode == blend_FadeIn) {
        blendMode = blend_Solid;
    } else if (blendMode == blend_FadeOut) {
        mustDeleted = 1;
        blendMode = blend_InVisible;
    }

    const int32_t kept = _a;
    const int32_t wasJammed = jam;
    // A jammed car tries another of its position's aligns: the way it wanted may stay blocked.
    if (jam) _a = GetAlign(_r->GetAlign(_p));
    jam = 1;

    int32_t g = 0;
    const int32_t used = _a;
    if (const auto t = InLane(_a) ? _Target(grid, width, height, _a, g) : nullptr) {
        const int32_t idx = GetAlign(t->GetAlign(g));
        // On crossings, curves and junctions a jammed car may share an align within the tile.
        const bool alignFree = InLane(idx) && (t->AlignAvailable(this, idx) || (t == _r && wasJammed && _r->JamPos()));
        if (alignFree && !t->carpos[size_t(g)]) {
            _MoveTo(t, g, used, idx);
            return;
        }
    }
    _a = kept;
    // Its preferred way stays shut: after a long stand any open way will do, and after a longer
    // one the car leaves the road, which breaks any ring of cars waiting on each other.
    const float waited = Waited();
    if (waited >= detourAfter && _Detour(grid, width, height)) return;
    if (waited >= giveUpAfter) {
        remove();
        mustDeleted = 1;
        blendMode = blend_InVisible;
    }
}

void TCar::Draw(float sx, float sy, float scaleX, float scaleY) {
    if (!_r || !c || blendMode == blend_InVisible) return;
    if (carFrame < 0 || size_t(carFrame) >= c->picture.size()) return;
    const auto& img = c->picture[size_t(carFrame)];
    const int32_t align = _p >= 1 ? _a : __a;
    if (!img || !InLane(align)) return;
    const int32_t frame = _frame[size_t(align)];
    if (frame < 0 || frame >= img->FrameCount()) return;

    // A standing car has finished its move (its progress beyond 1 counts the wait).
    const float progress = std::min(_pr, 1.0f);
    float factor = 1.0f;
    if (blendMode == blend_FadeIn) {
        factor = progress;
    } else if (blendMode == blend_FadeOut) {
        factor = 1.0f - progress;
    }
    float ox = 0, oy = 0;
    _r->GetPosition(_p, __a, progress, ox, oy);
    const float before = GetAlpha();
    SetAlpha(before * factor);
    DrawImage(img, sx + ox * scaleX, sy + oy * scaleY, frame);
    SetAlpha(before);
}

void TCar::fadeOut() { blendMode = blend_BeforeFadeOut; }

void TCar::remove() { _ReleaseSlots(); }

float TCar::Waited() const {
    if (!_r || !(_pr > 1.0f)) return 0.0f;
    const float rate = _r->Speed() * (c ? c->speed : 1.0f) * float(ticksPerSecond);
    return rate > 0.0f ? (_pr - 1.0f) / rate : 0.0f;
}

int32_t TCar::IsActive() const {
    if (!_r || !_r->IsValid() || !InLane(_p)) return 0;
    return _r->carpos[size_t(_p)].get() == this ? 1 : 0;
}
