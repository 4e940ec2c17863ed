#pragma once
#include <cstdint>
#include <memory>

namespace vesko {

// Seeded generator of two 16-bit multiply-with-carry streams. The sequence depends on the
// seed alone, so equal seeds give equal numbers.
class TFastRandom {
public:
    static constexpr int32_t a_fac = 36969;
    static constexpr int32_t b_fac = 18000;
    static constexpr int32_t def_a_seed = 406563;
    static constexpr int32_t def_b_seed = 292487;

    static std::shared_ptr<TFastRandom> Create(int32_t seed);

    int32_t setSeed(int32_t seed);
    int32_t getSeed() const { return static_cast<int32_t>(a_seed); }
    int32_t GetInt();
    int64_t GetLong();
    double GetDouble();
    float GetFloat();
    int32_t GetIntIn(int32_t a, int32_t b);
    double GetDoubleIn(double a, double b);
    float GetFloatIn(float a, float b);

    uint32_t a_seed = def_a_seed;
    uint32_t b_seed = def_b_seed;

private:
    void Step() {
        a_seed = (a_seed & 0xFFFFu) * uint32_t(a_fac) + (a_seed >> 16);
        b_seed = (b_seed & 0xFFFFu) * uint32_t(b_fac) + (b_seed >> 16);
    }
    int32_t Raw() const { return static_cast<int32_t>(((a_seed << 16) + b_seed) & 0x7FFFFFFFu); }
    int32_t RawF() const { return static_cast<int32_t>(((a_seed << 16) + b_seed - 65537u) & 0x7FFFFFFFu); }
};

}  // namespace vesko
