#include "framework/TVirtualTouchPoint.h"

#include "framework/TMultiTouch.h"
#include "platform/TClock.h"

namespace vesko {

namespace {
constexpr int32_t firstVirtualID = -100;

struct TVirtualState {
    bool enabled = false;
    int32_t nextID = firstVirtualID;
    TVirtualTouchPoint::TList points;
};

TVirtualState& State() {
    static TVirtualState state;
    return state;
}
}  // namespace

void TVirtualTouchPoint::Init() {
    Deinit();
    State().enabled = true;
    State().nextID = firstVirtualID;
}

void TVirtualTouchPoint::Deinit() {
    removeAll();
    State().enabled = false;
}

int32_t TVirtualTouchPoint::Initiated() { return State().enabled ? 1 : 0; }

int32_t TVirtualTouchPoint::count() { return static_cast<int32_t>(State().points.Count()); }

std::shared_ptr<TVirtualTouchPoint> TVirtualTouchPoint::Get(int32_t index) {
    const TList::Snapshot points = State().points.Items();
    if (index < 0 || static_cast<size_t>(index) >= points.size()) return nullptr;
    return points[static_cast<size_t>(index)];
}

TVirtualTouchPoint::TList::Snapshot TVirtualTouchPoint::getArray() { return State().points.Items(); }

std::shared_ptr<TVirtualTouchPoint> TVirtualTouchPoint::Create(float x, float y) {
    if (!State().enabled) return nullptr;
    auto vp = std::make_shared<TVirtualTouchPoint>();
    vp->tp = TTouchPoint::Create(x, y, Millisecs());
    vp->tp->id = _GetID();
    vp->tp->Active = 1;
    State().points.Append(vp);
    return vp;
}

void TVirtualTouchPoint::removeAll() {
    for (const auto& vp : State().points.Items()) vp->remove();
}

int32_t TVirtualTouchPoint::_GetID() { return State().nextID--; }

void TVirtualTouchPoint::_Update() {
    const int32_t now = Millisecs();
    for (const auto& vp : State().points.Items()) {
        if (!vp->tp->Active) continue;
        vp->tp->Time = now;
        if (!TMultiTouch::_ContainsTouchPoint(vp->tp)) TMultiTouch::_AddTouchPoint(vp->tp);
    }
}

void TVirtualTouchPoint::move(float x, float y) {
    tp->_x = x;
    tp->_y = y;
}

void TVirtualTouchPoint::SetPosition(float x, float y) {
    tp->_x = tp->x = tp->lastx = x;
    tp->_y = tp->y = tp->lasty = y;
}

void TVirtualTouchPoint::getPos(float& x, float& y) const {
    x = tp->x;
    y = tp->y;
}

int32_t TVirtualTouchPoint::Active() const { return tp->Active ? 1 : 0; }

void TVirtualTouchPoint::Enable() {
    if (tp->Active) return;
    tp->Active = 1;
    tp->_n = 2;
}

void TVirtualTouchPoint::Disable() {
    if (!tp->Active) return;
    tp->Active = 0;
    TMultiTouch::_RemoveInactiveTouchPoints();
}

void TVirtualTouchPoint::remove() {
    Disable();
    State().points.RemoveIf([this](const std::shared_ptr<TVirtualTouchPoint>& vp) { return vp.get() == this; });
}

}  // namespace vesko
