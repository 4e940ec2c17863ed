#include "plugins/BColor.h"

#include "platform/TDrawState.h"

std::shared_ptr<BColor> BColor::Create(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::shared_ptr<BColor> color = std::make_shared<BColor>();
    color->RED = r;
    color->green = g;
    color->blue = b;
    color->Alpha = a;
    return color;
}

void BColor::Use() const {
    SetAlpha(static_cast<float>(Alpha) / 255.0f);
    SetColor(RED, green, blue);
}

int32_t BColor::toARGB() const {
    const uint32_t argb = (uint32_t(Alpha) << 24) | (uint32_t(RED) << 16) | (uint32_t(green) << 8) | uint32_t(blue);
    return static_cast<int32_t>(argb);
}

void BColor::useDefault() {
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
}
