#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "framework/TFastRandom.h"
#include "persistence/TDataFile.h"

using vesko::TDataFile;

namespace {

std::shared_ptr<TDataFile> FileOfSize(size_t size, uint32_t fill) {
    auto d = TDataFile::Create("x.dat");
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>((i * 37 + fill) * 2654435761u >> 24);
    d->File->setByteArray(bytes);
    return d;
}

bool IsPermutation(std::vector<int32_t> p) {
    std::sort(p.begin(), p.end());
    for (size_t i = 0; i < p.size(); ++i)
        if (p[i] != static_cast<int32_t>(i)) return false;
    return true;
}

}  // namespace

TEST(TDataFileCrypt, RotationOfOneByte) {
    auto d = TDataFile::Create("x.dat");
    d->File->setByteArray({1});
    const auto p = d->generateMovementAllocation(3);
    EXPECT_EQ(p, (std::vector<int32_t>{3, 4, 5, 6, 7, 0, 1, 2}));
    ASSERT_EQ(d->crypt(p), 1);
    EXPECT_EQ(d->File->data[0], 8);  // bit 0 moved to bit 3
    ASSERT_EQ(d->decrypt(p), 1);
    EXPECT_EQ(d->File->data[0], 1);
    EXPECT_EQ(d->generateMovementAllocation(-1)[0], 7);  // negative shifts rotate the other way
}

TEST(TDataFileCrypt, KeyAllocationIsASeededPermutation) {
    auto d = FileOfSize(64, 1);
    const auto a = d->generateKeyAllocation(42);
    EXPECT_TRUE(IsPermutation(a));
    EXPECT_EQ(a, d->generateKeyAllocation(42));
    EXPECT_NE(a, d->generateKeyAllocation(43));
    std::vector<int32_t> identity(a.size());
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_NE(a, identity);
}

// The allocation walks the still free entries: draw k, give the k-th free entry the next number.
TEST(TDataFileCrypt, KeyAllocationMatchesTheFreeEntryWalk) {
    for (size_t size : {1u, 9u, 130u}) {
        auto d = FileOfSize(size, 3);
        const auto N = static_cast<int32_t>(size * 8);
        auto rng = vesko::TFastRandom::Create(77);
        std::vector<int32_t> expected(size_t(N), -1);
        for (int32_t j = 0; j < N; ++j) {
            int32_t k = rng->GetIntIn(0, N - j - 1);
            for (auto& entry : expected)
                if (entry == -1 && k-- == 0) {
                    entry = j;
                    break;
                }
        }
        EXPECT_EQ(d->generateKeyAllocation(77), expected) << size;
    }
}

TEST(TDataFileCrypt, CryptThenDecryptRestoresTheFile) {
    for (size_t size : {1u, 2u, 7u, 100u, 1000u}) {
        for (int32_t seed : {0, 1, 12345, -99}) {
            auto d = FileOfSize(size, uint32_t(seed));
            const auto original = d->File->getByteArray();
            const auto p = d->generateKeyAllocation(seed);
            ASSERT_EQ(d->crypt(p), 1);
            if (size >= 7) {
                EXPECT_NE(d->File->getByteArray(), original) << size << " " << seed;
            }
            // Scrambling moves bits, so the number of set bits stays the same.
            const auto ones = [](const std::vector<uint8_t>& v) {
                int n = 0;
                for (uint8_t b : v) n += __builtin_popcount(b);
                return n;
            };
            EXPECT_EQ(ones(d->File->getByteArray()), ones(original));
            ASSERT_EQ(d->decrypt(p), 1);
            EXPECT_EQ(d->File->getByteArray(), original) << size << " " << seed;
        }
    }
}

TEST(TDataFileCrypt, BlockKeyPermutesEachBlock) {
    auto d = FileOfSize(3, 5);  // 24 bits, blocks of 4
    const auto p = d->generateMovementKeyAllocation({3, 1, 0, 2});
    EXPECT_EQ(std::vector<int32_t>(p.begin(), p.begin() + 8), (std::vector<int32_t>{3, 1, 0, 2, 7, 5, 4, 6}));
    const auto original = d->File->getByteArray();
    ASSERT_EQ(d->crypt(p), 1);
    ASSERT_EQ(d->decrypt(p), 1);
    EXPECT_EQ(d->File->getByteArray(), original);
    EXPECT_TRUE(d->generateMovementKeyAllocation({}).empty());
}

TEST(TDataFileCrypt, InvalidPermutationsChangeNothing) {
    auto d = FileOfSize(2, 9);
    const auto original = d->File->getByteArray();
    std::vector<int32_t> p = d->generateMovementAllocation(0);
    p.pop_back();
    EXPECT_EQ(d->crypt(p), 0);  // wrong length
    p = d->generateMovementAllocation(0);
    p[3] = 16;
    EXPECT_EQ(d->crypt(p), 0);  // out of range
    p[3] = -1;
    EXPECT_EQ(d->decrypt(p), 0);
    p[3] = 4;
    EXPECT_EQ(d->crypt(p), 0);  // 4 twice: bits would be lost
    // Blocks of 5 do not tile 16 bits: the wrapped last block repeats targets.
    EXPECT_EQ(d->crypt(d->generateMovementKeyAllocation({4, 3, 2, 1, 0})), 0);
    EXPECT_EQ(d->File->getByteArray(), original);
}
