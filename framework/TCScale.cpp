#include "framework/TCScale.h"

#include "platform/TDrawState.h"

namespace vesko {

std::shared_ptr<TCScale> TCScale::Create(float x, float y) {
    auto s = std::make_shared<TCScale>();
    s->Set(x, y);
    return s;
}

void TCScale::Use() const { ::SetScale(vec[0], vec[1]); }

}  // namespace vesko
