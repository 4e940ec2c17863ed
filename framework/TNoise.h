#pragma once
#include <cstdint>

namespace vesko {

// Deterministic value noise: the same arguments give the same value on every run, so pictures
// and maps made from it are reproduced from their seeds alone.
class TNoise {
public:
    // Hash noise in 0 .. 1, independent for each lattice point and seed.
    static float Hash(int32_t x, int32_t y, int32_t seed);
    // Smooth value noise in 0 .. 1 (bilinear between hashed lattice points, smoothstep weights);
    // tiling with the given period (in lattice cells) when period > 0.
    static float Noise(float x, float y, int32_t seed, int32_t period = 0);
    // Sum of octaves of Noise (each twice the frequency and half the weight of the one before),
    // normalised to 0 .. 1.
    static float Fbm(float x, float y, int32_t seed, int32_t octaves, int32_t period = 0);
};

}  // namespace vesko
