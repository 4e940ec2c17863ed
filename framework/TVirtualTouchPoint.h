#pragma once
#include <cstdint>
#include <memory>

#include "framework/TTouchPoint.h"
#include "platform/TCowList.h"

namespace vesko {

// A touch point that code places and moves itself; while active it is listed with the real
// contacts on every read of the touch list. Virtual points are enabled while multitouch runs.
class TVirtualTouchPoint {
public:
    using TList = TCowList<std::shared_ptr<TVirtualTouchPoint>>;

    static void Init();
    // Removes every virtual point and disables them.
    static void Deinit();
    static int32_t Initiated();
    static int32_t count();
    // Null for an index out of range.
    static std::shared_ptr<TVirtualTouchPoint> Get(int32_t index);
    static TList::Snapshot getArray();
    // A new active point at (x, y); null while virtual points are disabled.
    static std::shared_ptr<TVirtualTouchPoint> Create(float x, float y);
    static void removeAll();
    // The next free id (−100, −101, …).
    static int32_t _GetID();
    // Puts every active virtual point into the touch list.
    static void _Update();

    // A new target; the shown position follows it smoothly.
    void move(float x, float y);
    // Target and shown position jump to (x, y).
    void SetPosition(float x, float y);
    void getPos(float& x, float& y) const;
    int32_t Active() const;
    void Enable();
    // Ends the contact: inactive and dropped from the touch list.
    void Disable();
    void remove();
    void setContent(std::shared_ptr<void> object) { content = std::move(object); }
    const std::shared_ptr<void>& getContent() const { return content; }

    std::shared_ptr<TTouchPoint> tp;
    std::shared_ptr<void> content;
};

}  // namespace vesko
