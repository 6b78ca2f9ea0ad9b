// Rounding of prices to 0 to 5 decimals (Okrug).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "kernels/Extended.h"
#include "quotes/Rounding.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

struct Case {
    double value;
    std::int32_t digits;
    double expected;
};

TEST(Rounding, WorkedExamples) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {0.125, 2, 0.13},        {-0.125, 2, -0.13},      {2.5, 0, 3.0},
        {-2.5, 0, -3.0},         {-1.7, 0, -2.0},         {1.7, 0, 2.0},
        {1.005, 2, 1.0},         {0.00001, 2, 0.0},       {150000000.0, 2, 0.0},
        {150000000.0, 7, 0.0},   {-150000000.0, 0, 0.0},  {1.23456, 7, 1.23456},
        {1.23456, -1, 1.23456},  {100000000.0, 2, 100000000.0}, {-100000000.0, 0, -100000000.0},
        {100000000.5, 0, 0.0},   {0.0, 3, 0.0},           {nan, 2, 0.0},
        {nan, 9, 0.0},           {90.874, 2, 90.87},      {90.875, 2, 90.88},
        {1.234565, 5, 1.23456},  {-1.234565, 5, -1.23456},  // the doubles lie below the half {1.23449, 3, 1.234},
        {0.5, 0, 1.0},           {-0.5, 0, -1.0},         {0.4999999999999999, 0, 0.0},
        {12.3456, 1, 12.3},      {12.35, 1, 12.4},         {0.00005, 4, 0.0001},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Okrug(c.value, c.digits), c.expected) << c.value << " to " << c.digits;
        EXPECT_EQ(RoundPrice(c.value, c.digits), c.expected) << c.value << " to " << c.digits;
    }
    EXPECT_TRUE(std::signbit(Okrug(-0.001, 2)));  // -(0.0): the sign is put back
}

TEST(Rounding, InfinitiesAreOutOfRange) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Okrug(inf, 2), 0.0);
    EXPECT_EQ(Okrug(-inf, 8), 0.0);
}

// The steps written out: value * f + 0.5 rounded once to double, floored,
// times the extended constant 10^-d, rounded to double.
double Reference(double value, int digits) {
    static const Extended inverse[] = {1.0L, 0.1L, 0.01L, 0.001L, 0.0001L, 0.00001L};
    const Extended factor = std::pow(10.0L, digits);
    const double magnitude = std::fabs(value);
    const double shifted = ToDouble(Extended(magnitude) * factor + 0.5L);
    const double rounded = digits == 0 ? std::floor(shifted) : ToDouble(Extended(std::floor(shifted)) * inverse[digits]);
    return value < 0 ? -rounded : rounded;
}

TEST(Rounding, FollowsTheExtendedStepsOnManyPrices) {
    std::uint64_t state = 88172645463325252ull;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const double value = (static_cast<double>(state % 400000000) - 200000000.0) / 1e6;
        for (int digits = 0; digits <= 5; ++digits) {
            ASSERT_EQ(Okrug(value, digits), Reference(value, digits)) << value << " " << digits;
        }
    }
}

#if defined(__x86_64__) || defined(__i386__)
TEST(Rounding, UsesExtendedPrecisionWhateverTheCallerSet) {
    std::uint16_t saved = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(saved));
    const std::uint16_t single = static_cast<std::uint16_t>(saved & ~0x0300u);  // 24-bit precision
    __asm__ __volatile__("fldcw %0" : : "m"(single));
    const double rounded = Okrug(90.874, 2);
    std::uint16_t after = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(after));
    __asm__ __volatile__("fldcw %0" : : "m"(saved));
    EXPECT_EQ(rounded, 90.87);
    EXPECT_EQ(after, single);  // the caller's control word is given back
}
#endif

}  // namespace
}  // namespace zentrik
