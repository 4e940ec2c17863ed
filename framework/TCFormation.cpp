#include "framework/TCFormation.h"

#include <cmath>
#include <numbers>

namespace vesko {

std::shared_ptr<TCFormation> TCFormation::Create(double r, double g, double b, double alpha, float scaleX, float scaleY,
                                                 float angle) {
    auto f = std::make_shared<TCFormation>();
    f->rgba.Set(r, g, b, alpha);
    f->Scale.Set(scaleX, scaleY);
    f->rotation.Set(angle);
    return f;
}

void TCFormation::Use() const {
    rgba.Use(1, 1);
    Scale.Use();
    rotation.Use();
}

void TCFormation::RecalcHandle(float& x, float& y, float hx, float hy) const {
    const double sx = double(hx) * Scale.getScaleX();
    const double sy = double(hy) * Scale.getScaleY();
    const double a = double(rotation.Get()) * std::numbers::pi / 180.0;
    x = float(double(x) - (sx * std::cos(a) - sy * std::sin(a)));
    y = float(double(y) - (sx * std::sin(a) + sy * std::cos(a)));
}

}  // namespace vesko
