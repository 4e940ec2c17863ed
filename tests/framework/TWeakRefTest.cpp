#include "framework/TWeakRef.h"

#include <gtest/gtest.h>

namespace {

struct TThing {
    int value = 0;
};

TEST(WeakRefTest, ReadsTheObjectWhileItsOwnerKeepsItAndNothingAfter) {
    auto owner = std::make_shared<TThing>(TThing{7});
    TWeakRef<TThing> ref = owner;
    EXPECT_TRUE(ref && ref == owner && ref->value == 7 && ref.lock() == owner);
    EXPECT_EQ(owner.use_count(), 1);  // the reference does not keep the object

    // Pointed elsewhere, it reads the new object; the old owner's end does not touch it.
    auto other = std::make_shared<TThing>(TThing{9});
    ref = other;
    owner.reset();
    EXPECT_TRUE(ref && ref->value == 9);

    other.reset();
    EXPECT_FALSE(ref);
    EXPECT_EQ(ref.get(), nullptr);
    EXPECT_EQ(ref.lock(), nullptr);
    EXPECT_TRUE(ref == nullptr);

    auto again = std::make_shared<TThing>();
    ref = again;
    ref.reset();
    EXPECT_TRUE(!ref && ref != again && again.use_count() == 1);
}

}  // namespace
