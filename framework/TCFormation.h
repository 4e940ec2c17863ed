#pragma once
#include <memory>

#include "framework/TCRGBA.h"
#include "framework/TCRotation.h"
#include "framework/TCScale.h"

namespace vesko {

// How a content is drawn: colour with alpha, scale and rotation.
class TCFormation {
public:
    static std::shared_ptr<TCFormation> Create(double r, double g, double b, double alpha, float scaleX, float scaleY,
                                               float angle);
    // Colour and alpha, then scale, then rotation go into the drawing state.
    void Use() const;
    // Moves (x, y) back by the handle (hx, hy) scaled and rotated as this formation draws.
    void RecalcHandle(float& x, float& y, float hx, float hy) const;

    void SetColor(double r, double g, double b) { rgba.SetColor(r, g, b); }
    void SetAlpha(double alpha) { rgba.SetAlpha(alpha); }
    void SetScale(float x, float y) { Scale.Set(x, y); }
    void SetRotation(float angle) { rotation.Set(angle); }
    void Turn(float angle) { rotation.Set(rotation.Get() + angle); }
    void GetColor(double& r, double& g, double& b) const {
        double a = 0;
        rgba.Get(r, g, b, a);
    }
    double GetAlpha() const { return rgba.GetAlpha(); }
    void GetScale(float& x, float& y) const { Scale.Get(x, y); }
    float GetRotation() const { return rotation.Get(); }
    std::shared_ptr<TCFormation> Copy() const { return std::make_shared<TCFormation>(*this); }

    TCRGBA rgba;
    TCScale Scale;
    TCRotation rotation;
};

}  // namespace vesko
