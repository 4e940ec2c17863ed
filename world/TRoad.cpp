#include "world/TRoad.h"

#include <algorithm>
#include <cstdlib>

#include "framework/TFastRandom.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "world/TAlign.h"
#include "world/TBridgeAlign.h"
#include "world/TGroundLayer.h"
#include "world/TLayer.h"
#include "world/TOPPanel.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"
#include "world/TStreetAlign.h"
#include "world/TStreetFrame.h"
#include "world/TTicker.h"

namespace {
constexpr int32_t crossingFrame = 12;
constexpr int32_t lightCycle = 10;

// Column of the k-th bridge tile counted from its end: ramp, 1, then 2 and 3 alternating.
int32_t BridgeColumn(int32_t k) { return k < 2 ? k : (k - 2) % 2 + 2; }
// The ground cache of the world a road layer belongs to.
TOPPanel* CacheOf(const TRoadLayer* roads) {
    return roads && roads->layer && roads->layer->GroundLayer ? &roads->layer->GroundLayer->cache : nullptr;
}
}  // namespace

std::shared_ptr<TRoad> TRoad::Create(const std::shared_ptr<TStreet>& street, int32_t x, int32_t y, const TIgn& ign,
                                     TRoadLayer* roadLayer) {
    auto r = std::make_shared<TRoad>();
    r->s = street;
    r->x = x;
    r->y = y;
    r->roadLayer = roadLayer;
    r->setIgn(ign);
    r->Frame = r->getFrame(0, 0, 0, 0, street ? street->typ : 0);
    r->maskframe = r->GetMaskFrame();
    return r;
}

std::shared_ptr<TRoad> TRoad::CreateBridge(const std::shared_ptr<TStreet>& street, const std::vector<int32_t>& points,
                                           int32_t bridgeKind, TRoadLayer* roadLayer) {
    const int32_t n = static_cast<int32_t>(points.size() / 2);
    if (!street || n < 2 || street->bridgeImages.empty() || !street->sf || !street->bridgealign) return nullptr;
    auto px = [&points](int32_t k) { return points[size_t(2 * k)]; };
    auto py = [&points](int32_t k) { return points[size_t(2 * k + 1)]; };
    for (int32_t k = 1; k < n; ++k) {
        if (std::abs(px(k) - px(k - 1)) + std::abs(py(k) - py(k - 1)) != 1) return nullptr;
    }
    auto dir = [&](int32_t k) { return TAlign::GetAlign(px(k) - px(k - 1), py(k) - py(k - 1)); };
    bridgeKind = std::clamp(bridgeKind, 0, static_cast<int32_t>(street->bridgeImages.size()) - 1);
    const TStreetFrame& sf = *street->sf;
    const TBridgeAlign& ba = *street->bridgealign;

    auto head = Create(street, px(0), py(0), {}, roadLayer);
    head->bridge = 1;
    head->bridgeKind = bridgeKind;
    const int32_t d0 = dir(1);
    head->Frame = sf.GetFromAlign(d0, street->typ, 1, 0);
    const auto f0 = ba.getFrame(d0, 0);
    head->b_frame = f0[0];
    head->b_sframe = f0[1];
    // Until the ends are known every span tile takes the mask of a full crossing.
    const int32_t spanMask = TStreet::maskTable[crossingFrame];

    auto child = [&](int32_t k, int32_t d, int32_t column) {
        auto c = Create(street, px(k), py(k), {}, roadLayer);
        c->bridge = 1;
        c->bridgeKind = bridgeKind;
        c->Frame = sf.GetFromAlign(d, street->typ, 1, 0);
        const auto f = ba.getFrame(d, column);
        c->b_frame = f[0];
        c->b_sframe = f[1];
        c->maskframe = spanMask;
        head->_AddBridgeChild(c);
        return c;
    };
    for (int32_t k = 1; k <= (n - 1) / 2; ++k) child(k, dir(k), BridgeColumn(k));
    std::shared_ptr<TRoad> last;
    int32_t lastR = 0;
    for (int32_t k = n - 1; k >= (n + 1) / 2; --k) {
        const int32_t r = TAlign::Rotate(dir(k));
        auto c = child(k, r, BridgeColumn(n - k - 1));
        if (k == n - 1) {
            last = c;
            lastR = r;
        }
    }
    if (last) last->maskframe = TStreet::maskTable[size_t(sf.GetFromAlign(TAlign::Rotate(lastR), street->typ, 0, 1))];
    head->maskframe = TStreet::maskTable[size_t(sf.GetFromAlign(TAlign::Rotate(d0), street->typ, 0, 1))];
    return head;
}

void TRoad::_AddBridgeChild(const std::shared_ptr<TRoad>& road) {
    if (!road) return;
    road->b_parent = shared_from_this();
    b_childs.push_back(road);
}

std::shared_ptr<TRoad> TRoad::BridgeHead() {
    if (auto p = b_parent.lock()) return p;
    return shared_from_this();
}

void TRoad::setIgn(const TIgn& list) {
    ign.assign(4, 0);
    for (size_t i = 0; i < 4 && i < list.size(); ++i) ign[i] = list[i] ? 1 : 0;
}

void TRoad::addIgn(const TIgn& list) {
    if (ign.size() < 4) ign.resize(4, 0);
    for (size_t i = 0; i < 4 && i < list.size(); ++i) ign[i] = std::min(ign[i], list[i] ? 1 : 0);
}

int32_t TRoad::getFrame(int32_t c0, int32_t c1, int32_t c2, int32_t c3, int32_t typ) const {
    return s && s->sf ? s->sf->Get(c0, c1, c2, c3, typ) : 0;
}

int32_t TRoad::GetMaskFrame() const {
    return (Frame >= 0 && Frame < TStreet::maskFrameCount) ? TStreet::maskTable[size_t(Frame)] : 0;
}

const std::vector<int32_t>& TRoad::GetAlign(int32_t position) const {
    static const std::vector<int32_t> none;
    return s && s->sa ? s->sa->GetAlign(Frame, position) : none;
}

float TRoad::Speed() const { return s ? s->speed : 0.0f; }

// --- traffic lights ------------------------------------------------------------------------

bool TRoad::HasTrafficLights() const { return Frame == crossingFrame && s && s->trafficlights; }

void TRoad::InitTrafficLights() {
    if (_tfticker) return;
    _tfticker = TTicker::Create(1.0f);
    _tfframe = 0;
    vesko::TFastRandom* random = roadLayer && roadLayer->layer ? roadLayer->layer->random.get() : nullptr;
    _tfcounter = random ? random->GetIntIn(0, lightCycle - 1) : 0;
}

void TRoad::UpdateTrafficLights() {
    InitTrafficLights();
    const int32_t ticks = _tfticker->Get();
    _tfcounter = static_cast<int32_t>((int64_t(_tfcounter) + std::max(ticks, 0)) % lightCycle);
    // 4 s green along x, 1 s all red, 4 s green along y, 1 s all red.
    if (_tfcounter <= 3) {
        _tfframe = 0;
    } else if (_tfcounter == 4) {
        _tfframe = 1;
    } else if (_tfcounter <= 8) {
        _tfframe = 2;
    } else {
        _tfframe = 3;
    }
}

int32_t TRoad::AllowToDrive(int32_t dx, int32_t dy) const {
    if (!HasTrafficLights()) return 1;
    if (_tfframe == 0) return std::abs(dx) == 1 ? 1 : 0;
    if (_tfframe == 2) return std::abs(dy) == 1 ? 1 : 0;
    return 0;
}

// --- drawing -------------------------------------------------------------------------------

bool TRoad::_HasFrame(const std::shared_ptr<TImage>& img, int32_t frame) {
    return img && frame >= 0 && frame < img->FrameCount();
}

void TRoad::useTraffiLightColor() const {
    SetColor(static_cast<int32_t>(traffic * 255.0f), static_cast<int32_t>(255.0f - traffic * 255.0f), 10);
}

void TRoad::Draw(float sx, float sy, int32_t tint, int32_t direct, float planeX, float planeY, int32_t onScreen) {
    if (!s) return;
    if (tint) useTraffiLightColor();
    if (bridge) {
        const auto& img = size_t(bridgeKind) < s->bridgeImages.size() ? s->bridgeImages[size_t(bridgeKind)] : nullptr;
        if (_HasFrame(img, b_frame)) DrawImage(img, sx, sy, b_frame);
    } else if (_HasFrame(s->image, Frame)) {
        if (onScreen || tint) DrawImage(s->image, sx, sy, Frame);
        // A tinted road is drawn over the cache and never cached.
        if (!direct && !tint) {
            if (TOPPanel* cache = CacheOf(roadLayer)) cache->addImage(s->image, planeX, planeY, Frame, sx, sy, 1);
        }
    }
    if (tint) SetColor(255, 255, 255);
}

void TRoad::DrawBridge(float sx, float sy, int32_t tint) {
    if (!s || !bridge || b_sframe < 0) return;
    const auto& img = size_t(bridgeKind) < s->bridgeImages.size() ? s->bridgeImages[size_t(bridgeKind)] : nullptr;
    if (!_HasFrame(img, b_sframe)) return;
    if (tint) useTraffiLightColor();
    DrawImage(img, sx, sy, b_sframe);
    if (tint) SetColor(255, 255, 255);
}

void TRoad::DrawTrafficLights(float sx, float sy) {
    if (!HasTrafficLights()) return;
    if (_HasFrame(s->trafficlights, _tfframe)) DrawImage(s->trafficlights, sx, sy, _tfframe);
}

void TRoad::DrawMask(float sx, float sy) {
    if (bridge || !s) return;
    if (_HasFrame(s->maskimg, maskframe)) DrawImage(s->maskimg, sx, sy, maskframe);
}

void TRoad::drawPath(float sx, float sy) {
    const auto& img = TRoadLayer::wayPathImg;
    for (size_t i = 0; i < way_path_frame.size() && i < way_path_col.size(); ++i) {
        if (!_HasFrame(img, way_path_frame[i])) continue;
        const int32_t c = way_path_col[i];
        SetColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
        DrawImage(img, sx, sy, way_path_frame[i]);
    }
    if (!way_path_frame.empty()) SetColor(255, 255, 255);
    way_path_frame.clear();
    way_path_col.clear();
}

int32_t TRoad::getCol() {
    if (_col == 0 && s) {
        // Opaque, like the other minimap colours.
        if (s->level == 0) {
            _col = static_cast<int32_t>(0xFFA09E8Cu);
        } else if (s->level == 1) {
            _col = static_cast<int32_t>(0xFFBEBFBEu);
        }
    }
    return _col;
}
