#pragma once
#include <memory>
#include <span>
#include <vector>

#include "framework/T2DObject.h"
#include "framework/TTouchPoint.h"

namespace vesko {

// A shape on the screen that touch points grab: one finger moves it, two also scale and turn
// it about the first, and after release it may glide on with inertia. All objects live in one
// registry whose order is the stacking order (last = front).
class TTouchObject : public std::enable_shared_from_this<TTouchObject> {
public:
    using TPointList = std::vector<std::shared_ptr<TTouchPoint>>;

    // A new object with an empty shape, appended to the registry (front).
    static std::shared_ptr<TTouchObject> Create(int32_t move, int32_t scale, int32_t rotation, int32_t overlap);
    static void SetDefaultInertia(float f) { defaultInertia = f; }
    static float GetDefaultInertia() { return defaultInertia; }
    static void StopAllMovements();
    // Once per frame: moves every object, then hands new unowned points to the objects they hit.
    static void Update(std::span<const std::shared_ptr<TTouchPoint>> touchPoints, float frameFactor);
    // The object a new touch at (x, y) would go to first; null when none.
    static std::shared_ptr<TTouchObject> getTouchObjectAtPos(float x, float y);
    static const std::vector<std::shared_ptr<TTouchObject>>& Registry() { return registry; }
    // Empties the registry and restores the default inertia (between tests and games).
    static void ResetRegistry();

    const T2DObject::TPolygon& addRect(float w, float h);
    // A circle about the position, as a polygon of 32 corners.
    const T2DObject::TPolygon& addCircle(float radius);
    // A rectangle with corners rounded by radius r, each corner a quarter circle of 8 steps.
    const T2DObject::TPolygon& addRoundRect(float w, float h, float r);
    const T2DObject::TPolygon& AddTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
    const T2DObject::TPolygon& AddPolygon(T2DObject::TPolygon points);
    const std::vector<T2DObject::TPolygon>& GetPolygons() const { return Object2D->polygons; }
    const T2DObject::TPolygon& GetPolygon(int32_t i) const { return Object2D->polygons.at(static_cast<size_t>(i)); }

    void SetPosition(float x, float y);
    void Translate(float dx, float dy);
    void GetPosition(float& x, float& y) const;
    float GetX() const { return Object2D->x; }
    float GetY() const { return Object2D->y; }
    void SetScale(float sx, float sy);
    void GetScale(float& sx, float& sy) const;
    void SetRotation(float deg) { Object2D->rotation = deg; }
    void Turn(float deg) { Object2D->rotation += deg; }
    float GetRotation() const { return Object2D->rotation; }

    void setActive(int32_t active) { bActive = active; }
    int32_t IsActive() const { return bActive; }
    void ActivateMove() { move = 1; }
    void DeactivateMove() { move = 0; }
    int32_t MoveActive() const { return move; }
    void ActivateScale() { Scale = 1; }
    void DeactivateScale() { Scale = 0; }
    int32_t ScaleActive() const { return Scale; }
    void ActivateRotation() { rotation = 1; }
    void DeactivateRotation() { rotation = 0; }
    int32_t RotationActive() const { return rotation; }
    void SetMinScale(float s) { MinScale = s; }
    float GetMinScale() const { return MinScale; }
    void SetMaxScale(float s) { MaxScale = s; }
    float GetMaxScale() const { return MaxScale; }
    void SetInertia(float f) { inertia = f; }
    float GetInertia() const { return inertia; }

    // The last update's changes; every index reports the same values.
    float GetXSpeed(int32_t = 0) const { return xchange; }
    float GetYSpeed(int32_t = 0) const { return ychange; }
    float GetRotationSpeed(int32_t = 0) const { return rotationchange; }
    float GetXScaleSpeed(int32_t = 0) const { return xscalechange; }
    float GetYScaleSpeed(int32_t = 0) const { return yscalechange; }
    int32_t OnMove(int32_t = 0) const { return (xchange != 0 || ychange != 0) ? 1 : 0; }

    void SetInFront();
    void SetInBack();
    // Leaves the registry and lets go of its points.
    void remove();

    const TPointList& GetTouchPoints() const { return TouchPoint; }
    int32_t CountTouchPoints() const { return static_cast<int32_t>(TouchPoint.size()); }
    void Stop() { TouchPoint.clear(); }
    void StopInertia();
    int32_t _RegTouchPoint(const std::shared_ptr<TTouchPoint>& point);
    void _RemoveTouchPoint(const std::shared_ptr<TTouchPoint>& point);

    // A new registered object with the same shape, place, gestures and limits, holding no points.
    std::shared_ptr<TTouchObject> Copy() const;
    void setContent(std::shared_ptr<void> c) { content = std::move(c); }
    const std::shared_ptr<void>& getContent() const { return content; }

    void _Update(float f);
    void _Scale(float sx, float sy);

    float xchange = 0, ychange = 0;
    float rotationchange = 0;
    float xscalechange = 1, yscalechange = 1;
    std::shared_ptr<T2DObject> Object2D;
    TPointList TouchPoint;
    std::shared_ptr<void> content;
    int32_t move = 0, Scale = 0, rotation = 0;
    float MinScale = 0.5f, MaxScale = 2.0f;
    int32_t overlap = 0;
    float inertia = 0;
    int32_t maxtouchpoints = -1;
    int32_t bActive = 1;

private:
    void _Gesture();
    void _Inertia(float f);
    static inline std::vector<std::shared_ptr<TTouchObject>> registry;
    static inline float defaultInertia = 0;
};

}  // namespace vesko
