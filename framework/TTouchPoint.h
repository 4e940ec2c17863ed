#pragma once
#include <cstdint>
#include <memory>

namespace vesko {

// One contact: a finger, a held mouse button, a touch-screen tap or a virtual point. The same
// object is updated while the contact lasts, so others may hold on to it across frames.
class TTouchPoint {
public:
    // Windows touch event flags (also used for contacts from SDL).
    static constexpr int32_t flagMove = 0x1;
    static constexpr int32_t flagDown = 0x2;
    static constexpr int32_t flagUp = 0x4;
    static constexpr int32_t flagInRange = 0x8;
    static constexpr int32_t flagPrimary = 0x10;
    static constexpr int32_t flagNoCoalesce = 0x20;
    static constexpr int32_t flagPalm = 0x80;
    // The module's own flag values for mouse points and touch-screen hits.
    static constexpr int32_t flagsMousePressed = 354;
    static constexpr int32_t flagsMouseHeld = 352;
    static constexpr int32_t flagsMouseReleased = 356;
    static constexpr int32_t flagsHit = 800;
    // Mask bits.
    static constexpr int32_t maskTimeFromSystem = 0x1;
    static constexpr int32_t maskExtraInfo = 0x2;
    static constexpr int32_t maskContactArea = 0x4;

    static std::shared_ptr<TTouchPoint> Create(float x = 0, float y = 0, int32_t time = 0);

    int32_t getID() const { return id; }
    float GetX() const { return x; }
    float GetY() const { return y; }
    float GetLastX() const { return lastx; }
    float GeLastY() const { return lasty; }
    float GetFirstX() const { return FirstX; }
    float GetFirstY() const { return FirstY; }
    int32_t getTime() const { return Time; }
    int32_t getActive() const { return Active; }
    int32_t getSource() const { return Source; }
    int32_t GetFlags() const { return Flags; }
    int32_t GetMask() const { return Mask; }
    int32_t GetExtraInfo() const { return ExtraInfo; }
    float getWidth() const { return Width; }
    float getHeight() const { return Height; }

    // Non-zero for the first two updates of the contact.
    int32_t FlagNew() const { return _n; }
    float GetXSpeed() const { return x - lastx; }
    float GetYSpeed() const { return y - lasty; }
    int32_t FlagMove() const { return (GetXSpeed() != 0 || GetYSpeed() != 0) ? 1 : 0; }
    int32_t FlagInRange() const { return (Flags & flagInRange) ? 1 : 0; }
    int32_t FlagPrimary() const { return (Flags & flagPrimary) ? 1 : 0; }
    int32_t FlagNotCoalesce() const { return (Flags & flagNoCoalesce) ? 1 : 0; }
    int32_t FlagPalm() const { return (Flags & flagPalm) ? 1 : 0; }
    int32_t FlagMouse() const { return id < 0 ? 1 : 0; }
    int32_t FlagHit() const { return (Flags & flagsHit) ? 1 : 0; }
    int32_t MaskContactArea() const { return (Mask & maskContactArea) ? 1 : 0; }
    int32_t MaskExtraInfo() const { return (Mask & maskExtraInfo) ? 1 : 0; }
    int32_t MaskTimeFromSystem() const { return (Mask & maskTimeFromSystem) ? 1 : 0; }

    void setContent(std::shared_ptr<void> object) { content = std::move(object); }
    const std::shared_ptr<void>& getContent() const { return content; }

    // Once per read of the touch list: the shown position moves halfway to the raw one.
    void _Update();
    // A new point with the same contact data; raw position, newness and smoothing fresh.
    std::shared_ptr<TTouchPoint> _Copy() const;

    int32_t id = 0;
    int32_t _n = 2;
    float _x = 0, _y = 0;
    float x = 0, y = 0;
    float lastx = 0, lasty = 0;
    float FirstX = 0, FirstY = 0;
    int32_t Time = 0;
    int32_t Active = 0;
    std::shared_ptr<void> content;
    int32_t Source = 0;
    int32_t Flags = 0;
    int32_t Mask = 0;
    int32_t ExtraInfo = 0;
    float Width = 0, Height = 0;
    int32_t smoothing = 1;
};

}  // namespace vesko
