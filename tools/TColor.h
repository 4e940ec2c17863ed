#pragma once
#include <algorithm>
#include <cstdint>

// A straight (not premultiplied) RGBA colour with channels 0..1.
struct TColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    static constexpr TColor Rgb(int red, int green, int blue, float alpha = 1.0f) {
        return TColor{red / 255.0f, green / 255.0f, blue / 255.0f, alpha};
    }
    static constexpr TColor Hex(uint32_t rgb, float alpha = 1.0f) {
        return Rgb(static_cast<int>((rgb >> 16) & 255), static_cast<int>((rgb >> 8) & 255), static_cast<int>(rgb & 255),
                   alpha);
    }
    constexpr TColor WithAlpha(float alpha) const { return TColor{r, g, b, alpha}; }
    // Linear blend towards other; t = 0 gives this colour, 1 gives other.
    constexpr TColor Mix(const TColor& other, float t) const {
        return TColor{r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t, a + (other.a - a) * t};
    }
    constexpr TColor Lighter(float t) const { return Mix(TColor{1.0f, 1.0f, 1.0f, a}, t); }
    constexpr TColor Darker(float t) const { return Mix(TColor{0.0f, 0.0f, 0.0f, a}, t); }
};
