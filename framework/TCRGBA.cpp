#include "framework/TCRGBA.h"

#include "platform/TDrawState.h"

namespace vesko {

std::shared_ptr<TCRGBA> TCRGBA::Create(double r, double g, double b, double alpha) {
    auto c = std::make_shared<TCRGBA>();
    c->Set(r, g, b, alpha);
    return c;
}

void TCRGBA::Set(double r, double g, double b, double alpha) { vec = {r, g, b, alpha}; }

void TCRGBA::Get(double& r, double& g, double& b, double& alpha) const {
    r = vec[0];
    g = vec[1];
    b = vec[2];
    alpha = vec[3];
}

void TCRGBA::SetColor(double r, double g, double b) {
    vec[0] = r;
    vec[1] = g;
    vec[2] = b;
}

std::shared_ptr<TCRGBA> TCRGBA::Copy() const { return std::make_shared<TCRGBA>(*this); }

std::shared_ptr<TCRGBA> TCRGBA::gen(const TCRGBA& other, double (*f)(double, double)) const {
    auto c = std::make_shared<TCRGBA>();
    c->vec[3] = f(vec[3], other.vec[3]);
    for (int i = 0; i < 3; ++i) {
        c->vec[i] = double(static_cast<uint8_t>(static_cast<int32_t>(f(vec[i], other.vec[i]))));
    }
    return c;
}

std::shared_ptr<TCRGBA> TCRGBA::add(const TCRGBA& other) const {
    return gen(other, [](double a, double b) { return a + b; });
}

std::shared_ptr<TCRGBA> TCRGBA::sub(const TCRGBA& other) const {
    return gen(other, [](double a, double b) { return a - b; });
}

std::shared_ptr<TCRGBA> TCRGBA::multiple(const TCRGBA& other) const {
    return gen(other, [](double a, double b) { return a * b; });
}

void TCRGBA::Use(int useColor, int useAlpha) const {
    if (useColor) {
        ::SetColor(static_cast<int32_t>(vec[0]), static_cast<int32_t>(vec[1]), static_cast<int32_t>(vec[2]));
    }
    if (useAlpha) ::SetAlpha(static_cast<float>(vec[3]));
}

uint32_t TCRGBA::_byte(int i) const { return static_cast<uint32_t>(static_cast<int32_t>(vec[i])) & 0xFFu; }

uint32_t TCRGBA::_alphaByte() const { return static_cast<uint32_t>(static_cast<int32_t>(vec[3] * 255.0)) & 0xFFu; }

uint32_t TCRGBA::ConvertToRGBA8888() const { return _byte(0) << 24 | _byte(1) << 16 | _byte(2) << 8 | _alphaByte(); }

uint32_t TCRGBA::ConvertToBGRA8888() const { return _byte(2) << 24 | _byte(1) << 16 | _byte(0) << 8 | _alphaByte(); }

uint32_t TCRGBA::ConvertToRGB888() const { return _byte(0) << 16 | _byte(1) << 8 | _byte(2); }

uint32_t TCRGBA::ConvertToBGR888() const { return _byte(2) << 16 | _byte(1) << 8 | _byte(0); }

uint8_t TCRGBA::ConvertToI8() const {
    return static_cast<uint8_t>(static_cast<int32_t>((vec[0] + vec[1] + vec[2]) / 3.0));
}

uint8_t TCRGBA::ConvertToA8() const { return static_cast<uint8_t>(_alphaByte()); }

void TCRGBA::ConvertFromRGBA8888(const uint8_t* bytes) { Set(bytes[0], bytes[1], bytes[2], bytes[3] / 255.0); }

void TCRGBA::ConvertFromBGRA8888(const uint8_t* bytes) { Set(bytes[2], bytes[1], bytes[0], bytes[3] / 255.0); }

void TCRGBA::ConvertFromRGB888(const uint8_t* bytes) { SetColor(bytes[0], bytes[1], bytes[2]); }

void TCRGBA::ConvertFromBGR888(const uint8_t* bytes) { SetColor(bytes[2], bytes[1], bytes[0]); }

void TCRGBA::ConvertFromI8(uint8_t value) { SetColor(value, value, value); }

void TCRGBA::ConvertFromA8(uint8_t value) { vec[3] = value / 255.0; }

}  // namespace vesko
