#pragma once
#include <cstdint>
#include <memory>

// A colour with alpha, one byte per channel, as the influence masks hand it to the ground drawing.
class BColor {
public:
    uint8_t RED = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t Alpha = 0;

    static std::shared_ptr<BColor> Create(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    // Makes this the drawing colour and alpha (Alpha / 255).
    void Use() const;
    // 0xAARRGGBB.
    int32_t toARGB() const;
    // Opaque white drawing colour.
    static void useDefault();
};
