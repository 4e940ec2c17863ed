#include "framework/TCRGBA.h"

#include "platform/TDrawState.h"

namespace vesko {

std::shared_ptr<TCRGBA> TCRGBA::Create(double r, double g, double b, double alpha) {
    auto c = std::make_shared<TCRGBA>();
    c->Set(r, g, b, alpha);
    return c;
}

void TCRGBA::Set(double r, double g, double b, double alpha) { vec = {r, g, b, alpha}; }

void TCRGBA::SetColor(double r, double g, double b) {
    vec[0] = r;
    vec[1] = g;
    vec[2] = b;
}

std::shared_ptr<TCRGBA> TCRGBA::Copy() const { return std::make_shared<TCRGBA>(*this); }

void TCRGBA::Use(int useColor, int useAlpha) const {
    if (useColor) {
        ::SetColor(static_cast<int32_t>(vec[0]), static_cast<int32_t>(vec[1]), static_cast<int32_t>(vec[2]));
    }
    if (useAlpha) ::SetAlpha(static_cast<float>(vec[3]));
}

}  // namespace vesko
