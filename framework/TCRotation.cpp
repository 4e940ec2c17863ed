#include "framework/TCRotation.h"

#include "platform/TDrawState.h"

namespace vesko {

std::shared_ptr<TCRotation> TCRotation::Create(float angle) {
    auto r = std::make_shared<TCRotation>();
    r->Set(angle);
    return r;
}

void TCRotation::Use() const { ::SetRotation(vec[0]); }

}  // namespace vesko
