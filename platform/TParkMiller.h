#pragma once
#include <cstdint>

// The Park-Miller minimal standard generator (multiplier 48271), used where the game
// does not draw from its own seeded generator.
class TParkMiller {
public:
    static constexpr int32_t Modulus = 2147483647;
    static constexpr int32_t DefaultSeed = 4660;

    // Stores the seed's low 31 bits; 0 and 2^31 - 1 become 4660.
    void Seed(int32_t seed);
    int32_t GetSeed() const { return state; }
    // One step of s = 48271 * s mod (2^31 - 1), by Schrage's decomposition.
    int32_t Next();
    // Uniform in [0, 1): two steps, their high bits combined into 53 bits.
    double Uniform();
    // lo + Int(u * (hi - lo + 1)) with lo, hi the smaller and larger bound.
    int32_t Range(int32_t a, int32_t b);
    double RangeDouble(double a, double b);

private:
    int32_t state = DefaultSeed;
};

// The layer's shared generator.
TParkMiller& GlobalRandom();
void SeedRnd(int32_t seed);
int32_t RndSeed();
// Uniform in [min(a,b), max(a,b)).
double Rnd(double a = 1.0, double b = 0.0);
// Integer between the bounds, both included.
int32_t Rand(int32_t a, int32_t b);
