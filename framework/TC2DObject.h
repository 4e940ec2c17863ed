#pragma once
#include <memory>

#include "framework/T2DObject.h"
#include "framework/TContent.h"

namespace vesko {

// The pixel buffers of a 2-D geometry object, drawn with the drawing origin at the position.
class TC2DObject : public TContent {
public:
    static std::shared_ptr<TC2DObject> Create() { return std::make_shared<TC2DObject>(); }
    static std::shared_ptr<TC2DObject> Load(std::shared_ptr<T2DObject> object);
    void setObject2D(std::shared_ptr<T2DObject> object) { object2d = std::move(object); }

    void _Draw(float x, float y) override;
    std::shared_ptr<TContent> _Copy() const override { return std::make_shared<TC2DObject>(*this); }

    std::shared_ptr<T2DObject> object2d;
};

}  // namespace vesko
