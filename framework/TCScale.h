#pragma once
#include <array>
#include <memory>

namespace vesko {

// The drawing scale of a content (x, y).
class TCScale {
public:
    static std::shared_ptr<TCScale> Create(float x, float y);
    // Sets the drawing scale.
    void Use() const;
    void Set(float x, float y) { vec = {x, y}; }
    void Get(float& x, float& y) const {
        x = vec[0];
        y = vec[1];
    }
    void SetScaleX(float x) { vec[0] = x; }
    void SetScaleY(float y) { vec[1] = y; }
    float getScaleX() const { return vec[0]; }
    float getScaleY() const { return vec[1]; }
    std::shared_ptr<TCScale> Copy() const { return std::make_shared<TCScale>(*this); }

    std::array<float, 2> vec{1.0f, 1.0f};
};

}  // namespace vesko
