#pragma once
#include <array>
#include <memory>

namespace vesko {

// The drawing rotation of a content, in degrees.
class TCRotation {
public:
    static std::shared_ptr<TCRotation> Create(float angle);
    // Sets the drawing rotation.
    void Use() const;
    void Set(float angle) { vec[0] = angle; }
    float Get() const { return vec[0]; }
    std::shared_ptr<TCRotation> Copy() const { return std::make_shared<TCRotation>(*this); }

    std::array<float, 1> vec{0.0f};
};

}  // namespace vesko
