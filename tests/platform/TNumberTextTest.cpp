#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "platform/TNumberText.h"

TEST(TNumberText, IntegerPrefixesSignsAndJunk) {
    EXPECT_EQ(TNumberText::ToInt("$1E0"), 480);
    EXPECT_EQ(TNumberText::ToInt("%1011"), 11);
    EXPECT_EQ(TNumberText::ToInt("%102"), 2);  // binary digits stop at the first other character
    EXPECT_EQ(TNumberText::ToInt("-$10"), -16);
    EXPECT_EQ(TNumberText::ToInt("  \t+17"), 17);
    EXPECT_EQ(TNumberText::ToInt("-42 apples"), -42);
    EXPECT_EQ(TNumberText::ToInt("30.7"), 30);
    EXPECT_EQ(TNumberText::ToInt("60.0000000"), 60);
    EXPECT_EQ(TNumberText::ToInt(""), 0);
    EXPECT_EQ(TNumberText::ToInt("abc"), 0);
    EXPECT_EQ(TNumberText::ToInt("$"), 0);
    EXPECT_EQ(TNumberText::ToInt(" - 5"), 0);  // the sign must touch the digits
    EXPECT_EQ(TNumberText::ToInt("2147483647"), 2147483647);
    EXPECT_EQ(TNumberText::ToInt("-2147483648"), INT32_MIN);
}

TEST(TNumberText, OverlongIntegersWrapWithoutOverflow) {
    EXPECT_EQ(TNumberText::ToInt("4294967296"), 0);
    EXPECT_EQ(TNumberText::ToInt("$1FFFFFFFF"), -1);
}

TEST(TNumberText, ByteIsLowEightBits) {
    EXPECT_EQ(TNumberText::ToByte("300"), 44);
    EXPECT_EQ(TNumberText::ToByte("-1"), 255);
    EXPECT_EQ(TNumberText::ToByte("x"), 0);
}

TEST(TNumberText, FloatParsing) {
    EXPECT_FLOAT_EQ(TNumberText::ToFloat("0.25"), 0.25f);
    EXPECT_FLOAT_EQ(TNumberText::ToFloat("  -1.5e2xyz"), -150.0f);
    EXPECT_FLOAT_EQ(TNumberText::ToFloat("+.5"), 0.5f);
    EXPECT_FLOAT_EQ(TNumberText::ToFloat("2e"), 2.0f);
    EXPECT_FLOAT_EQ(TNumberText::ToFloat("2e+"), 2.0f);
    EXPECT_EQ(TNumberText::ToFloat(""), 0.0f);
    EXPECT_EQ(TNumberText::ToFloat("nan"), 0.0f);
    EXPECT_EQ(TNumberText::ToFloat("$10"), 0.0f);
    EXPECT_EQ(TNumberText::ToFloat("1e999"), FLT_MAX);
    EXPECT_EQ(TNumberText::ToFloat("-1e999"), -FLT_MAX);
    EXPECT_EQ(TNumberText::ToFloat("1e-999"), 0.0f);
}

TEST(TNumberText, FloatTextHasNineSignificantDigits) {
    EXPECT_EQ(TNumberText::FromFloat(0.15f), "0.150000006");
    EXPECT_EQ(TNumberText::FromFloat(0.5f), "0.500000000");
    EXPECT_EQ(TNumberText::FromFloat(60.0f), "60.0000000");
    EXPECT_EQ(TNumberText::FromFloat(-0.05f), "-0.0500000007");
}

TEST(TNumberText, FloatTextRoundTripsExactly) {
    const float samples[] = {0.0f, 0.15f, -0.05f, 0.99f, 1.0f / 3.0f, 123456.789f, 1e-20f, 3.0e30f, FLT_MIN, FLT_MAX};
    for (const float value : samples) {
        EXPECT_EQ(TNumberText::ToFloat(TNumberText::FromFloat(value)), value) << TNumberText::FromFloat(value);
    }
    // Fractions of common screen sizes, as the panel positions store them.
    for (int x = 0; x <= 1920; x += 7) {
        const float value = static_cast<float>(x) / 1920.0f;
        EXPECT_EQ(TNumberText::ToFloat(TNumberText::FromFloat(value)), value);
    }
}

TEST(TNumberText, TruncationTowardZeroIsClamped) {
    EXPECT_EQ(TNumberText::TruncToInt(7.9f), 7);
    EXPECT_EQ(TNumberText::TruncToInt(-7.9f), -7);
    EXPECT_EQ(TNumberText::TruncToInt(1e30f), INT32_MAX);
    EXPECT_EQ(TNumberText::TruncToInt(-1e30f), INT32_MIN);
    EXPECT_EQ(TNumberText::TruncToInt(NAN), 0);
}
