#include "framework/TNoise.h"

#include <cmath>

namespace vesko {

float TNoise::Hash(int32_t x, int32_t y, int32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFFu) / 16777216.0f;
}

float TNoise::Noise(float x, float y, int32_t seed, int32_t period) {
    const float fx = std::floor(x), fy = std::floor(y);
    int32_t x0 = static_cast<int32_t>(fx), y0 = static_cast<int32_t>(fy);
    int32_t x1 = x0 + 1, y1 = y0 + 1;
    if (period > 0) {
        auto wrap = [period](int32_t v) { return ((v % period) + period) % period; };
        x0 = wrap(x0), x1 = wrap(x1), y0 = wrap(y0), y1 = wrap(y1);
    }
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    const float top = Hash(x0, y0, seed) + (Hash(x1, y0, seed) - Hash(x0, y0, seed)) * tx;
    const float bottom = Hash(x0, y1, seed) + (Hash(x1, y1, seed) - Hash(x0, y1, seed)) * tx;
    return top + (bottom - top) * ty;
}

float TNoise::Fbm(float x, float y, int32_t seed, int32_t octaves, int32_t period) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int32_t i = 0; i < octaves; ++i) {
        // Each octave its own lattice; the seed wraps instead of overflowing.
        const int32_t octaveSeed = static_cast<int32_t>(static_cast<uint32_t>(seed) + static_cast<uint32_t>(i) * 101u);
        sum += Noise(x, y, octaveSeed, period) * weight;
        total += weight;
        weight *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
        if (period > 0) period *= 2;
    }
    return sum / total;
}

}  // namespace vesko
