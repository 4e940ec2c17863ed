#include "framework/TTouchObject.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vesko {

namespace {
constexpr double degPerRad = 180.0 / std::numbers::pi;
constexpr int32_t circleCorners = 32;
constexpr int32_t cornerSteps = 8;
}  // namespace

std::shared_ptr<TTouchObject> TTouchObject::Create(int32_t move, int32_t scale, int32_t rotation, int32_t overlap) {
    auto o = std::make_shared<TTouchObject>();
    o->Object2D = T2DObject::Create();
    o->move = move;
    o->Scale = scale;
    o->rotation = rotation;
    o->overlap = overlap;
    o->inertia = defaultInertia;
    registry.push_back(o);
    return o;
}

void TTouchObject::ResetRegistry() {
    for (const auto& o : registry) o->Stop();
    registry.clear();
    defaultInertia = 0;
}

void TTouchObject::StopAllMovements() {
    for (const auto& o : registry) o->Stop();
}

void TTouchObject::Update(std::span<const std::shared_ptr<TTouchPoint>> touchPoints, float frameFactor) {
    const auto objects = registry;  // an update may reorder the registry
    for (const auto& o : objects) o->_Update(frameFactor);
    for (const auto& p : touchPoints) {
        if (!p || !p->getActive() || !p->FlagNew() || p->getContent()) continue;
        // A point goes to what lay where it went down, even if it moved before this frame.
        std::vector<std::shared_ptr<TTouchObject>> candidates;
        std::shared_ptr<TTouchObject> fallback;
        for (const auto& o : registry) {
            if (!o->bActive || !o->Object2D->Contains(p->GetFirstX(), p->GetFirstY())) continue;
            if (o->overlap) {
                candidates.push_back(o);
            } else {
                fallback = o;
            }
        }
        bool taken = false;
        for (auto it = candidates.rbegin(); it != candidates.rend() && !taken; ++it) taken = (*it)->_RegTouchPoint(p);
        if (!taken && fallback) fallback->_RegTouchPoint(p);
    }
}

std::shared_ptr<TTouchObject> TTouchObject::getTouchObjectAtPos(float x, float y) {
    std::shared_ptr<TTouchObject> front, fallback;
    for (const auto& o : registry) {
        if (!o->bActive || !o->Object2D->Contains(x, y)) continue;
        (o->overlap ? front : fallback) = o;
    }
    return front ? front : fallback;
}

const T2DObject::TPolygon& TTouchObject::addRect(float w, float h) {
    return AddPolygon({{0, 0}, {w, 0}, {w, h}, {0, h}});
}

const T2DObject::TPolygon& TTouchObject::addCircle(float radius) {
    T2DObject::TPolygon poly;
    for (int32_t i = 0; i < circleCorners; ++i) {
        const double a = 2.0 * std::numbers::pi * i / circleCorners;
        poly.push_back({float(radius * std::cos(a)), float(radius * std::sin(a))});
    }
    return AddPolygon(std::move(poly));
}

const T2DObject::TPolygon& TTouchObject::addRoundRect(float w, float h, float r) {
    r = std::clamp(r, 0.0f, std::min(w, h) * 0.5f);
    // Corner centres clockwise from the top left, each with the quarter it turns through.
    const std::array<std::array<float, 3>, 4> corners = {
        {{r, r, 180.0f}, {w - r, r, 270.0f}, {w - r, h - r, 0.0f}, {r, h - r, 90.0f}}};
    T2DObject::TPolygon poly;
    for (const auto& c : corners) {
        for (int32_t i = 0; i <= cornerSteps; ++i) {
            const double a = (c[2] + 90.0 * i / cornerSteps) / degPerRad;
            poly.push_back({float(c[0] + r * std::cos(a)), float(c[1] + r * std::sin(a))});
        }
    }
    return AddPolygon(std::move(poly));
}

const T2DObject::TPolygon& TTouchObject::AddTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
    return AddPolygon({{x1, y1}, {x2, y2}, {x3, y3}});
}

const T2DObject::TPolygon& TTouchObject::AddPolygon(T2DObject::TPolygon points) {
    return Object2D->AddPolygon(std::move(points));
}

void TTouchObject::SetPosition(float x, float y) {
    Object2D->x = x;
    Object2D->y = y;
}

void TTouchObject::Translate(float dx, float dy) {
    Object2D->x += dx;
    Object2D->y += dy;
}

void TTouchObject::GetPosition(float& x, float& y) const {
    x = Object2D->x;
    y = Object2D->y;
}

void TTouchObject::SetScale(float sx, float sy) {
    Object2D->scalex = sx;
    Object2D->scaley = sy;
}

void TTouchObject::GetScale(float& sx, float& sy) const {
    sx = Object2D->scalex;
    sy = Object2D->scaley;
}

void TTouchObject::SetInFront() {
    auto self = shared_from_this();
    auto it = std::find(registry.begin(), registry.end(), self);
    if (it == registry.end()) return;
    registry.erase(it);
    registry.push_back(self);
}

void TTouchObject::SetInBack() {
    auto self = shared_from_this();
    auto it = std::find(registry.begin(), registry.end(), self);
    if (it == registry.end()) return;
    registry.erase(it);
    registry.insert(registry.begin(), self);
}

void TTouchObject::remove() {
    Stop();
    auto self = shared_from_this();
    registry.erase(std::remove(registry.begin(), registry.end(), self), registry.end());
}

void TTouchObject::StopInertia() {
    xchange = ychange = rotationchange = 0;
    xscalechange = yscalechange = 1;
}

int32_t TTouchObject::_RegTouchPoint(const std::shared_ptr<TTouchPoint>& point) {
    if (maxtouchpoints >= 0 && CountTouchPoints() >= maxtouchpoints) return 0;
    SetInFront();
    TouchPoint.push_back(point);
    point->setContent(shared_from_this());
    // A drag that began before this frame catches up, so a quick flick loses no distance.
    // It counts as this frame's move, so whatever follows the object (a gadget) follows it too.
    if (move && TouchPoint.size() == 1) {
        xchange = point->x - point->FirstX;
        ychange = point->y - point->FirstY;
        Translate(xchange, ychange);
    }
    return 1;
}

void TTouchObject::_RemoveTouchPoint(const std::shared_ptr<TTouchPoint>& point) {
    if (point) point->Active = 0;
    std::erase_if(TouchPoint, [](const auto& p) { return !p->getActive(); });
}

std::shared_ptr<TTouchObject> TTouchObject::Copy() const {
    auto o = Create(move, Scale, rotation, overlap);
    *o->Object2D = *Object2D;
    o->content = content;
    o->MinScale = MinScale;
    o->MaxScale = MaxScale;
    o->inertia = inertia;
    o->maxtouchpoints = maxtouchpoints;
    o->bActive = bActive;
    return o;
}

void TTouchObject::_Scale(float sx, float sy) {
    Object2D->scalex = std::clamp(Object2D->scalex * sx, MinScale, MaxScale);
    Object2D->scaley = std::clamp(Object2D->scaley * sy, MinScale, MaxScale);
}

void TTouchObject::_Inertia(float f) {
    const float k = std::pow(inertia, f);
    xchange *= k;
    ychange *= k;
    if (move) Translate(xchange, ychange);
    rotationchange *= k;
    if (rotation) Turn(rotationchange);
    xscalechange = k * (xscalechange - 1) + 1;
    yscalechange = k * (yscalechange - 1) + 1;
    if (Scale) _Scale(xscalechange, yscalechange);
}

void TTouchObject::_Gesture() {
    const TTouchPoint& p = *TouchPoint[0];
    // The object's place relative to the first finger before this frame's move.
    const double cx = double(GetX()) - p.lastx, cy = double(GetY()) - p.lasty;
    xchange = p.x - p.lastx;
    ychange = p.y - p.lasty;
    if (move) Translate(xchange, ychange);
    if (TouchPoint.size() < 2) return;
    const TTouchPoint& q = *TouchPoint[1];
    const double ax = double(q.lastx) - p.lastx, ay = double(q.lasty) - p.lasty;
    const double bx = double(q.x) - p.x, by = double(q.y) - p.y;
    const double lenB = std::hypot(bx, by);
    double h = lenB / std::hypot(ax, ay);
    if (!std::isfinite(h) || lenB < 10.0) h = 1.0;
    double d = (std::atan2(by, bx) - std::atan2(ay, ax)) * degPerRad;
    // The shorter way round, so a pair crossing the ±180° line does not spin the object.
    if (d > 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    const double r = d / degPerRad;
    const double nx = h * (cx * std::cos(r) - cy * std::sin(r));
    const double ny = h * (cx * std::sin(r) + cy * std::cos(r));
    const float pivotX = float(nx - cx), pivotY = float(ny - cy);
    if (Scale) _Scale(float(h), float(h));
    if (rotation) Turn(float(d));
    if (move) Translate(pivotX, pivotY);
    xscalechange = yscalechange = float(h);
    rotationchange = float(d);
    xchange += pivotX;
    ychange += pivotY;
}

void TTouchObject::_Update(float f) {
    if (TouchPoint.empty()) {
        if (inertia != 0) {
            _Inertia(f);
        } else {
            StopInertia();
        }
        return;
    }
    rotationchange = 0;
    xscalechange = yscalechange = 1;
    _Gesture();
    _RemoveTouchPoint(nullptr);
}

}  // namespace vesko
