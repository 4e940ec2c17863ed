#include "platform/TParkMiller.h"

#include <algorithm>

void TParkMiller::Seed(int32_t seed) {
    int32_t s = seed & 0x7FFFFFFF;
    if (s == 0 || s == Modulus) s = DefaultSeed;
    state = s;
}

int32_t TParkMiller::Next() {
    constexpr int32_t a = 48271, q = 44488, r = 3399;
    const int32_t hi = state / q;
    const int32_t lo = state % q;
    int32_t t = a * lo - r * hi;
    if (t <= 0) t += Modulus;
    state = t;
    return state;
}

double TParkMiller::Uniform() {
    // 27 high bits of the first step and 26 of the second make one 53-bit fraction.
    const double hi = double(Next() >> 4);
    const double lo = double(Next() >> 5);
    return (hi * 67108864.0 + lo) / 9007199254740992.0;
}

int32_t TParkMiller::Range(int32_t a, int32_t b) {
    const int64_t lo = std::min(a, b), hi = std::max(a, b);
    const double u = Uniform();
    return static_cast<int32_t>(lo + static_cast<int64_t>(u * double(hi - lo + 1)));
}

double TParkMiller::RangeDouble(double a, double b) {
    const double lo = std::min(a, b), hi = std::max(a, b);
    return lo + Uniform() * (hi - lo);
}

TParkMiller& GlobalRandom() {
    static TParkMiller generator;
    return generator;
}

void SeedRnd(int32_t seed) { GlobalRandom().Seed(seed); }
int32_t RndSeed() { return GlobalRandom().GetSeed(); }
double Rnd(double a, double b) { return GlobalRandom().RangeDouble(a, b); }
int32_t Rand(int32_t a, int32_t b) { return GlobalRandom().Range(a, b); }
