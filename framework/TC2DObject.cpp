#include "framework/TC2DObject.h"

#include "platform/TDraw.h"
#include "platform/TDrawState.h"

namespace vesko {

std::shared_ptr<TC2DObject> TC2DObject::Load(std::shared_ptr<T2DObject> object) {
    auto c = Create();
    c->setObject2D(std::move(object));
    return c;
}

void TC2DObject::_Draw(float x, float y) {
    if (!object2d) return;
    float ox = 0, oy = 0;
    GetOrigin(ox, oy);
    SetOrigin(x, y);
    for (const auto& pm : object2d->pixmaps) DrawPixmap(pm, 0, 0);
    SetOrigin(ox, oy);
}

}  // namespace vesko
