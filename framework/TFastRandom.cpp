#include "framework/TFastRandom.h"

namespace vesko {

namespace {
constexpr double DoubleFactor = 1.0 / 2147418111.0;
constexpr float FloatFactor = 4.6567550e-10f;
}  // namespace

std::shared_ptr<TFastRandom> TFastRandom::Create(int32_t seed) {
    auto r = std::make_shared<TFastRandom>();
    r->setSeed(seed);
    return r;
}

int32_t TFastRandom::setSeed(int32_t seed) {
    a_seed = seed == 0 ? uint32_t(def_a_seed) : static_cast<uint32_t>(seed);
    b_seed = def_b_seed;
    return 0;
}

int32_t TFastRandom::GetInt() {
    Step();
    return Raw();
}

int64_t TFastRandom::GetLong() {
    Step();
    const uint64_t v = (uint64_t(a_seed) << 32) + uint64_t(b_seed);
    return static_cast<int64_t>(v & 0x7FFFFFFFFFFFFFFFull);
}

double TFastRandom::GetDouble() {
    Step();
    return double(RawF()) * DoubleFactor;
}

float TFastRandom::GetFloat() {
    Step();
    return float(RawF()) * FloatFactor;
}

int32_t TFastRandom::GetIntIn(int32_t a, int32_t b) {
    if (a == b) return b;
    Step();
    const int64_t raw = Raw();
    // Spans wider than 32 bits are computed in 64 bits so that the result stays within the bounds.
    const int64_t d = int64_t(b) - int64_t(a);
    if (d > 0) return static_cast<int32_t>(a + raw % (d + 1));
    return static_cast<int32_t>(b + raw % (int64_t(a) - int64_t(b) + 1));
}

double TFastRandom::GetDoubleIn(double a, double b) {
    if (a == b) return b;
    Step();
    const double u = double(RawF()) * DoubleFactor;
    if (b - a > 0) return a + (b - a) * u;
    return b + (a - b) * u;
}

float TFastRandom::GetFloatIn(float a, float b) {
    if (a == b) return b;
    Step();
    const float u = float(RawF()) * FloatFactor;
    if (b - a > 0) return a + (b - a) * u;
    return b + (a - b) * u;
}

}  // namespace vesko
