#include "world/TISO.h"

std::shared_ptr<TISO> TISO::Create(float width, float height) {
    auto iso = std::make_shared<TISO>();
    iso->width = width;
    iso->Height = height;
    iso->ScaleX = 1;
    iso->ScaleY = 1;
    iso->moveX = 0;
    iso->moveY = 0;
    return iso;
}

int32_t TISO::ToIso(float x, float y, float& sx, float& sy, uint8_t noMove) const {
    sx = 0.5f * (x + y) * width * ScaleX;
    sy = 0.5f * (x - y) * Height * ScaleY;
    if (noMove == 0) {
        sx += moveX;
        sy += moveY;
    }
    return 0;
}

void TISO::ToIsoMin(float x, float y, float& sx, float& sy) const {
    sx = 0.5f * (x + y) * width;
    sy = 0.5f * (x - y) * Height;
}

void TISO::FromIso(float sx, float sy, float& x, float& y) const {
    // A projection without size (zero tile size or scale) would divide by zero and hand out
    // NaN positions that poison every later comparison; it sends every point to the origin axis instead.
    const float w = width * ScaleX;
    const float h = Height * ScaleY;
    const float u = w != 0.0f ? (sx - moveX) / w : 0.0f;
    const float v = h != 0.0f ? (sy - moveY) / h : 0.0f;
    x = u + v;
    y = u - v;
}

std::shared_ptr<TISO> TISO::Copy() const {
    auto iso = Create(width, Height);
    iso->ScaleX = ScaleX;
    iso->ScaleY = ScaleY;
    iso->moveX = moveX;
    iso->moveY = moveY;
    return iso;
}
