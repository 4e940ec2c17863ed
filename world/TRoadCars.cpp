// The car side of a road tile: its lane slots, the drawing order of its cars and where on the
// tile (and how high on a bridge) a car is drawn.
#include <algorithm>

#include "settings/TConfig.h"
#include "world/TBridgeAlign.h"
#include "world/TCar.h"
#include "world/TRoad.h"
#include "world/TStreet.h"
#include "world/TStreetFrame.h"

namespace {
bool InLane(int32_t v) { return v >= 0 && v < 4; }

// Base point of a car by [position][align of its move], in tile widths and heights.
constexpr float baseX[4][4] = {
    {0.25f, 0.0f, -0.25f, 0.5f}, {0.5f, 0.25f, 0.0f, 0.25f}, {0.25f, 0.0f, 0.25f, 0.0f}, {0.0f, -0.25f, 0.0f, 0.25f}};
constexpr float baseY[4][4] = {{-0.25f, 0.0f, 0.25f, 0.5f},
                               {-0.5f, 0.25f, 0.0f, 0.25f},
                               {-0.25f, 0.0f, -0.25f, 0.0f},
                               {0.0f, -0.25f, 0.0f, 0.25f}};
// Half a tile step on screen per align.
constexpr float moveX[4] = {-0.25f, 0.25f, 0.25f, -0.25f};
constexpr float moveY[4] = {0.25f, 0.25f, -0.25f, -0.25f};

// Whether the move with align a that arrived at position g came over the tile's edge (the
// first half of the tile) rather than within the tile.
bool ArrivedByStep(int32_t g, int32_t a) {
    for (int32_t p = 0; p < 4; ++p) {
        int32_t dx = 0, dy = 0, to = 0;
        if (TCar::_Move(p, a, dx, dy, to) && to == g) return dx != 0 || dy != 0;
    }
    return false;
}

// Share of the bridge height on a ramp toward span direction d: the half-tile move nearer the
// land covers the first half of the climb, the move nearer the span the second.
float RampLift(int32_t position, int32_t align, float t, int32_t d) {
    t = std::clamp(t, 0.0f, 1.0f);
    const bool first = ArrivedByStep(position, align);
    if (align == d) return first ? 0.5f * t : 0.5f + 0.5f * t;
    if (align == (d + 2) % 4) return first ? 1.0f - 0.5f * t : 0.5f - 0.5f * t;
    return 0.5f;
}
}  // namespace

int32_t TRoad::AlignAvailable(const TCar* c, int32_t align) const {
    if (!InLane(align)) return 0;
    // Counted from the cars standing here, so an align slot taken over by a car leaving a jam
    // still counts for the car that held it first.
    int32_t others = 0;
    bool slotCounted = false;
    for (const auto& other : carpos) {
        if (!other || other.get() == c || other->_a != align) continue;
        ++others;
        if (other == car[size_t(align)]) slotCounted = true;
    }
    const auto& holder = car[size_t(align)];
    if (holder && holder.get() != c && !slotCounted) ++others;
    const int32_t capacity = s && s->sf ? s->sf->GetAligns(Frame) : 1;
    return others < std::max(capacity, 1) ? 1 : 0;
}

int32_t TRoad::CarFree() const { return CountCars() == 0 ? 1 : 0; }

int32_t TRoad::CountCars() const {
    return static_cast<int32_t>(
        std::count_if(carpos.begin(), carpos.end(), [](const auto& c) { return c != nullptr; }));
}

void TRoad::DrawCars(float sx, float sy, float scaleX, float scaleY) {
    // Back to front: the far corner, the near-side car of position 1 when it drives across the
    // view, the side corner, position 1 when it drives along the view, the near corner.
    auto draw = [&](int32_t p, bool acrossOnly, bool alongOnly) {
        const auto c = carpos[size_t(p)];  // a copy: drawing must not free the car
        if (!c) return;
        const bool across = c->_a == 1 || c->_a == 3;
        const bool along = c->_a == 0 || c->_a == 2;
        if ((acrossOnly && !across) || (alongOnly && !along)) return;
        c->Draw(sx, sy, scaleX, scaleY);
    };
    draw(2, false, false);
    draw(1, true, false);
    draw(3, false, false);
    draw(1, false, true);
    draw(0, false, false);
}

int32_t TRoad::RampDirection() const {
    if (!bridge || b_sframe >= 0 || !s || !s->bridgealign) return -1;
    for (int32_t d = 0; d < 4; ++d) {
        if (s->bridgealign->getFrame(d, 0)[0] == b_frame) return d;
    }
    return -1;
}

void TRoad::GetPosition(int32_t position, int32_t previousAlign, float progress, float& ox, float& oy) const {
    ox = oy = 0;
    if (!InLane(position) || !InLane(previousAlign)) return;
    const float w = float(TConfig::tilewidth), h = float(TConfig::tileheight);
    const float t = progress - 0.5f;
    ox = (baseX[position][previousAlign] + t * moveX[previousAlign]) * w;
    oy = (baseY[position][previousAlign] + t * moveY[previousAlign]) * h;
    if (!bridge || !s || bridgeKind < 0 || size_t(bridgeKind) >= s->bridgeHeights.size()) return;
    const float height = float(s->bridgeHeights[size_t(bridgeKind)]);
    if (b_sframe >= 0) {
        oy -= height;
        return;
    }
    const int32_t d = RampDirection();
    if (d >= 0) oy -= RampLift(position, previousAlign, progress, d) * height;
}
