#pragma once
#include <cstdint>
#include <memory>

// Projection between map coordinates (tile units, fractional) and screen pixels, with a zoom
// scale and a pan offset. Map x grows toward the lower right of the screen, map y toward the
// upper right; tile (0, 0) lies at (moveX, moveY).
class TISO {
public:
    static std::shared_ptr<TISO> Create(float width, float height);

    // Map to screen. With noMove != 0 the pan is left out, which turns a map distance into a
    // screen distance rather than a position. Returns 0.
    int32_t ToIso(float x, float y, float& sx, float& sy, uint8_t noMove = 0) const;
    // Map to screen at scale 1 and without pan.
    void ToIsoMin(float x, float y, float& sx, float& sy) const;
    // Screen to map: the inverse of ToIso with pan.
    void FromIso(float sx, float sy, float& x, float& y) const;
    // A new projection of the same tile size with this one's scale and pan.
    std::shared_ptr<TISO> Copy() const;

    float width = 0;
    float Height = 0;
    float ScaleX = 1;
    float ScaleY = 1;
    float moveX = 0;
    float moveY = 0;
};
