#include "framework/TCFunc.h"

namespace vesko {

std::shared_ptr<TCFunc> TCFunc::Load(TFunc function) {
    auto c = Create();
    c->setFunc(function);
    return c;
}

void TCFunc::_Draw(float x, float y) {
    if (useFunc) lastResult = useFunc(*this, x, y);
}

}  // namespace vesko
