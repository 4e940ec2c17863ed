#include <gtest/gtest.h>

#include <cstdint>

#include "platform/TParkMiller.h"

namespace {

// The same step done the slow, obviously right way.
int32_t Reference(int32_t s) { return static_cast<int32_t>((int64_t(s) * 48271) % 2147483647); }

TEST(ParkMiller, MinimumStandardSequenceFromSeedOne) {
    TParkMiller r;
    r.Seed(1);
    EXPECT_EQ(r.Next(), 48271);
    EXPECT_EQ(r.Next(), 182605794);
    EXPECT_EQ(r.Next(), 1291394886);
}

TEST(ParkMiller, SchrageStepMatchesWideArithmetic) {
    TParkMiller r;
    // Seeds near every boundary of the decomposition.
    for (int32_t seed : {1, 2, 44487, 44488, 44489, 3399, 1000000, 2147483646, 2147483645, 1073741823}) {
        r.Seed(seed);
        int32_t s = seed;
        for (int i = 0; i < 1000; ++i) {
            s = Reference(s);
            ASSERT_EQ(r.Next(), s) << "seed " << seed << " step " << i;
            ASSERT_GT(s, 0);
        }
    }
}

TEST(ParkMiller, SeedingKeepsLow31BitsAndAvoidsTheFixedPoints) {
    TParkMiller r;
    r.Seed(0);
    EXPECT_EQ(r.GetSeed(), 4660);
    r.Seed(0x7FFFFFFF);
    EXPECT_EQ(r.GetSeed(), 4660);
    r.Seed(-1);  // low 31 bits are 2^31 - 1
    EXPECT_EQ(r.GetSeed(), 4660);
    r.Seed(INT32_MIN);  // low 31 bits are 0
    EXPECT_EQ(r.GetSeed(), 4660);
    r.Seed(-2);
    EXPECT_EQ(r.GetSeed(), 0x7FFFFFFE);
    r.Seed(-123456);
    EXPECT_EQ(r.GetSeed(), -123456 & 0x7FFFFFFF);
    r.Seed(77);
    EXPECT_EQ(r.GetSeed(), 77);
    SeedRnd(99);
    EXPECT_EQ(RndSeed(), 99);
}

TEST(ParkMiller, UniformStaysInHalfOpenUnitInterval) {
    TParkMiller r;
    r.Seed(12345);
    double lowest = 1, highest = 0, sum = 0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const double u = r.Uniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        lowest = std::min(lowest, u);
        highest = std::max(highest, u);
        sum += u;
    }
    EXPECT_LT(lowest, 0.001);
    EXPECT_GT(highest, 0.999);
    EXPECT_NEAR(sum / n, 0.5, 0.02);
    // The largest state gives the largest fraction, still below one.
    r.Seed(2147483646);
    EXPECT_LT(r.Uniform(), 1.0);
}

TEST(ParkMiller, RangeIncludesBothEndsInEitherOrder) {
    TParkMiller r;
    r.Seed(2024);
    for (auto [a, b] : {std::pair{3, 7}, {7, 3}, {-5, 5}, {5, -5}, {0, 0}, {10, 11}}) {
        bool sawLo = false, sawHi = false;
        const int32_t lo = std::min(a, b), hi = std::max(a, b);
        for (int i = 0; i < 2000; ++i) {
            const int32_t v = r.Range(a, b);
            ASSERT_GE(v, lo) << a << ".." << b;
            ASSERT_LE(v, hi) << a << ".." << b;
            sawLo = sawLo || v == lo;
            sawHi = sawHi || v == hi;
        }
        EXPECT_TRUE(sawLo) << a << ".." << b;
        EXPECT_TRUE(sawHi) << a << ".." << b;
    }
    // The widest range does not overflow.
    for (int i = 0; i < 1000; ++i) {
        const int32_t v = r.Range(INT32_MAX, INT32_MIN);
        (void)v;
    }
    SeedRnd(5);
    for (int i = 0; i < 1000; ++i) {
        const int32_t v = Rand(9, 1);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 9);
        const double d = Rnd(2.0, -2.0);
        ASSERT_GE(d, -2.0);
        ASSERT_LT(d, 2.0);
    }
}

TEST(ParkMiller, SameSeedSameSequence) {
    TParkMiller a, b;
    a.Seed(31337);
    b.Seed(31337);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.Range(0, 1000), b.Range(0, 1000));
    b.Seed(31338);
    int same = 0;
    for (int i = 0; i < 100; ++i) same += a.Next() == b.Next();
    EXPECT_LT(same, 5);
}

}  // namespace
