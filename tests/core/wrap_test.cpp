#include "wrap.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

// The plain rule: add n while negative, then take the remainder.
double WrapOffsetByAddition(double x, int n) {
    while (x < 0.0)
        x += n;
    return std::fmod(x, n);
}

TEST(WrapIndex, BringsAnyValueIntoRange) {
    struct Case {
        std::int64_t a;
        int n;
        int expected;
    };
    const Case cases[] = {
        {0, 1440, 0},      {1439, 1440, 1439},  {1440, 1440, 0},   {-1, 1440, 1439},
        {-1440, 1440, 0},  {-1441, 1440, 1439}, {3000, 1440, 120}, {-3000, 600, 0},
        {-3001, 600, 599}, {7, 1, 0},           {-7, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapIndex(c.a, c.n), c.expected) << c.a << " mod " << c.n;
}

TEST(WrapIndex, HugeNegativeValuesEndAtOnce) {
    // 2^63 leaves 1088 over whole days of 1440 minutes, so -2^63 wraps to 1440 - 1088.
    EXPECT_EQ(WrapIndex(std::numeric_limits<std::int64_t>::min(), 1440), 352);
    EXPECT_EQ(WrapIndex(std::numeric_limits<std::int64_t>::max(), 1440), 1087);
}

TEST(WrapOffset, MatchesRepeatedAdditionBitForBit) {
    const double values[] = {0.0,     0.25,    1439.75,  1440.0,   1500.3,  -0.5, -1.0e-20,
                             -1440.0, -1500.3, -4321.77, -1e6 / 3, -2880.0, -0.1, -14400.123};
    for (const int n : {1440, 1680, 1488, 1460, 7}) {
        for (const double x : values) {
            const double wrapped = WrapOffset(x, n);
            EXPECT_EQ(wrapped, WrapOffsetByAddition(x, n)) << x << " into " << n;
            EXPECT_GE(wrapped, 0.0);
            EXPECT_LT(wrapped, n);
        }
    }
}

TEST(WrapOffset, FarNegativeValuesNeedNoLoop) {
    // 10^12 = 1440 * 694444444 + 640, so -10^12 wraps to 1440 - 640.
    EXPECT_EQ(WrapOffset(-1e12, 1440), 800.0);
    const double far = WrapOffset(-1e15 - 0.5, 1680);
    EXPECT_GE(far, 0.0);
    EXPECT_LT(far, 1680.0);
}

TEST(PixelShift, TruncatesTheProductOverTheBins) {
    EXPECT_EQ(PixelShift(600, 360.0, 1440), 150);
    EXPECT_EQ(PixelShift(600, 1500.0, 1440), 625); // an offset left over from the week view
    EXPECT_EQ(PixelShift(600, 2.39, 1440), 0);     // 0.9958 truncates to 0
    EXPECT_EQ(PixelShift(600, 2.4, 1440), 1);
    EXPECT_EQ(PixelShift(0, 700.0, 1440), 0);
    EXPECT_EQ(PixelShift(-600, 360.0, 1440), -150); // toward zero
    EXPECT_EQ(PixelShift(600, 360.0, 0), 0);
}

TEST(PixelShift, OffsetsNoIntegerHoldsStillGiveAColumn) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(PixelShift(600, kInfinity, 1440), 0);
    EXPECT_EQ(PixelShift(600, -kInfinity, 1440), 0);
    EXPECT_EQ(PixelShift(600, std::numeric_limits<double>::quiet_NaN(), 1440), 0);
    // 12 * 2^80 bins turn 600 columns by 5 * 2^80, far past int64; only its remainder by the
    // width counts: 80, as 2^80 leaves 16 over 120.
    const double far = std::ldexp(12.0, 80);
    EXPECT_EQ(PixelShift(600, far, 1440), 80);
    EXPECT_EQ(PixelShift(600, -far, 1440), -80);
}

} // namespace
